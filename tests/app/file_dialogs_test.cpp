// The real file dialogs: which names Open takes and the folder they open in.
#include <QDir>
#include <QFileDialog>
#include <QHeaderView>
#include <QLineEdit>
#include <QMessageBox>
#include <QTreeView>
#include <cstring>
#include <filesystem>

#include "app/file_folder.h"
#include "model/settings_model.h"
#include "tests/app/app_fixture.h"
#include "tests/app/scoped_env.h"

namespace {

class FileDialogsTest : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        std::filesystem::create_directories(home);
        WriteProfile("com_port=0");
        MakeFrame();
    }

    // On the next file dialog: notes the folder it shows, types the path and
    // presses the accept button; a dialog that refuses the path is cancelled.
    void TypeIntoNextDialog(const std::string& path) {
        WhenModal([this, path](QDialog& dialog) {
            auto* files = qobject_cast<QFileDialog*>(&dialog);
            if (!files) return;
            shownFolders.push_back(files->directory().absolutePath().toStdString());
            files->selectFile(QString::fromStdString(path));
            // A dialog that refuses the name says so in a box of its own.
            QTimer::singleShot(0, [] {
                auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
                if (box) box->done(0);
            });
            dialog.accept();  // the dialog's own checks, as its Open or Save button
            if (files->isVisible()) files->reject();
        });
    }

    std::string home = dir.File("home");
    CScopedEnv homeEnv{"HOME", home};
    CScopedEnv configEnv{"XDG_CONFIG_HOME", dir.File("home/.config")};
    CQtFileDialogs qtDialogs;
    std::vector<std::string> shownFolders;
};

TEST_F(FileDialogsTest, OpenTakesATypedNameThatDoesNotExistAndTheReaderSaysSo) {
    const std::string missing = dir.File("missing.dat");
    TypeIntoNextDialog(missing);
    OnFileOpen(qtDialogs, frame.get(), frame->CommLog());
    EXPECT_EQ(shownFolders.size(), 1u);
    EXPECT_EQ(sink.boxes,
              (std::vector<RecordedBox>{{BoxKind::kWarning, "Can't file open\n" + missing + ": " +
                                                                std::strerror(ENOENT)}}));
    EXPECT_EQ(g_strFileName, missing);
}

TEST_F(FileDialogsTest, TheDialogsOpenInTheDocumentsFolderThenInTheOneLastUsed) {
    EXPECT_EQ(FileDialogFolder().toStdString(), home);  // no documents folder
    const std::string documents = home + "/Documents";
    std::filesystem::create_directories(documents);
    EXPECT_EQ(FileDialogFolder().toStdString(), documents);

    const std::string work = dir.File("work");
    std::filesystem::create_directories(work);
    TypeIntoNextDialog(work + "/a.dat");
    OnFileSaveAs(qtDialogs, frame.get(), frame->CommLog());
    ASSERT_EQ(g_strFileName, work + "/a.dat");
    EXPECT_NE(ReadFileText(profile).find("[Paths]"), std::string::npos);

    TypeIntoNextDialog(work + "/a.dat");  // Open starts where Save As ended
    OnFileOpen(qtDialogs, frame.get(), frame->CommLog());
    const std::string other = dir.File("other");
    std::filesystem::create_directories(other);
    TypeIntoNextDialog(other + "/b.dat");  // and Save As where Open ended
    OnFileSaveAs(qtDialogs, frame.get(), frame->CommLog());
    EXPECT_EQ(shownFolders, (std::vector<std::string>{documents, work, work}));
    EXPECT_EQ(FileDialogFolder().toStdString(), other);

    std::filesystem::remove_all(other);  // gone since: back to the documents folder
    EXPECT_EQ(FileDialogFolder().toStdString(), documents);
    EXPECT_TRUE(sink.boxes.empty());
}

// Both start with "*.dat" in the name field; taking a name with a wildcard
// filters the list instead of opening or writing a file of that name. The
// list's columns are as wide as their texts.
TEST_F(FileDialogsTest, BothStartWithTheDatPatternWhichFiltersTheListAndIsNeverTaken) {
    const std::string work = dir.File("work");
    std::filesystem::create_directories(work);
    WriteFileText(work + "/site-a.dat", "0\n");
    WriteFileText(work + "/notes.txt", "x\n");
    ASSERT_FALSE(RememberFileDialogFolder(work + "/site-a.dat"));
    for (bool bSave : {false, true}) {
        bool bSeen = false;
        WhenModal([&](QDialog& dialog) {
            auto* files = qobject_cast<QFileDialog*>(&dialog);
            ASSERT_NE(files, nullptr);
            bSeen = true;
            auto* name = files->findChild<QLineEdit*>("fileNameEdit");
            ASSERT_NE(name, nullptr);
            EXPECT_EQ(name->text(), "*.dat");
            EXPECT_EQ(files->selectedNameFilter(), "ﾃﾞｰﾀ(*.dat)");
            auto* view = files->findChild<QTreeView*>();
            ASSERT_NE(view, nullptr);
            ASSERT_TRUE(
                ProcessUntil([&] { return view->model()->rowCount(view->rootIndex()) > 0; }));
            QApplication::processEvents();
            QHeaderView* header = view->header();
            const QAbstractItemView* items = view;
            for (int i = 0; i < header->count(); ++i) {
                EXPECT_GE(header->sectionSize(i), items->sizeHintForColumn(i)) << i;
                EXPECT_GE(header->sectionSize(i), header->sectionSizeHint(i)) << i;
            }
            dialog.accept();  // its Open or Save button, with the pattern as the name
            EXPECT_TRUE(files->isVisible());
            name->setText("*.txt");
            dialog.accept();
            EXPECT_TRUE(files->isVisible());
            files->reject();
        });
        if (bSave) {
            OnFileSaveAs(qtDialogs, frame.get(), frame->CommLog());
        } else {
            OnFileOpen(qtDialogs, frame.get(), frame->CommLog());
        }
        EXPECT_TRUE(bSeen) << bSave;
    }
    EXPECT_EQ(g_strFileName, "");
    EXPECT_FALSE(std::filesystem::exists(work + "/*.dat"));
    EXPECT_TRUE(sink.boxes.empty());
}

}  // namespace
