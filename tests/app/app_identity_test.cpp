// The program's icon and desktop identity, as every window inherits them.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QMessageBox>

#include "app/app_identity.h"
#include "app/instance_lock.h"
#include "app/qelvar_app.h"
#include "link/comm_settings.h"
#include "link/link_context.h"
#include "tests/support/recording_sink.h"
#include "tests/support/temp_dir.h"

namespace {

TEST(AppIdentityTest, TheCompiledInIconHasEverySizeADesktopAsksFor) {
    const QIcon icon = CompiledInIcon();
    ASSERT_FALSE(icon.isNull());
    for (int size : {16, 24, 32, 48, 64, 128, 256}) {
        const QImage image = icon.pixmap(QSize(size, size)).toImage();
        ASSERT_EQ(image.size(), QSize(size, size)) << size;
        // A drawing, not an empty square: the rounded corner is clear, the middle is not.
        EXPECT_LT(qAlpha(image.pixel(0, 0)), 32) << size;
        EXPECT_GT(qAlpha(image.pixel(size / 2, size / 2)), 200) << size;
    }
    EXPECT_TRUE(icon.availableSizes().contains(QSize(16, 16)));
    EXPECT_TRUE(icon.availableSizes().contains(QSize(256, 256)));
}

TEST(AppIdentityTest, StartUpGivesEveryWindowTheIconEvenTheSecondInstanceBox) {
    CTempDir runtime;
    ::setenv("XDG_RUNTIME_DIR", runtime.Path().c_str(), 1);
    CInstanceLock first;
    ASSERT_TRUE(first.Acquire());
    QApplication::setWindowIcon(QIcon());
    QGuiApplication::setDesktopFileName(QString());

    CRecordingSink sink;
    QImage iconWhileBoxOpen;
    sink.whileOpen = [&](const RecordedBox&) {
        iconWhileBoxOpen = QApplication::windowIcon().pixmap(32).toImage();
    };
    Link().SetProfilePath(runtime.File("never.ini"));
    CQelvarApp app;
    app.UseMessageSink(&sink);
    EXPECT_FALSE(app.InitInstance({}));
    ASSERT_EQ(sink.boxes.size(), 1u);

    const QIcon expected = ApplicationIcon();
    ASSERT_FALSE(expected.isNull());
    EXPECT_EQ(iconWhileBoxOpen, expected.pixmap(32).toImage());
    EXPECT_EQ(QApplication::windowIcon().pixmap(32).toImage(), expected.pixmap(32).toImage());
    QMessageBox box(QMessageBox::Critical, "Error", "No Connect");
    EXPECT_EQ(box.windowIcon().pixmap(32).toImage(), expected.pixmap(32).toImage());
    EXPECT_EQ(QGuiApplication::desktopFileName(), kAppId);
    Link().SetProfilePath("");
}

}  // namespace
