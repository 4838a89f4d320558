#include "app/qt_translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>

bool CQtTranslations::Install(const QLocale& locale) {
    if (!m_translator.isEmpty()) return true;
    if (!m_translator.load(locale, "qtbase", "_",
                           QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        return false;
    }
    return QCoreApplication::installTranslator(&m_translator);
}
