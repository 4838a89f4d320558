// Qt's own texts (the Yes/No/OK/Cancel buttons, the file dialogs) in the
// user's language, from the translations Qt ships (qtbase_*.qm).
#pragma once

#include <QLocale>
#include <QTranslator>

class CQtTranslations {
public:
    // Loads and installs Qt's translation for the locale; false when Qt has
    // none for it (English texts stay). Installed until the object goes.
    bool Install(const QLocale& locale);

private:
    QTranslator m_translator;
};
