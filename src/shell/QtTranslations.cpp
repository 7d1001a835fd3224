#include "shell/QtTranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace karvena {

bool InstallQtTranslations(TLanguage language) {
    // One translator at a time, owned by the application: a new language replaces the last.
    static QTranslator* installed = nullptr;
    if (installed) {
        QCoreApplication::removeTranslator(installed);
        delete installed;
        installed = nullptr;
    }
    if (language == TLanguage::English) return true;
    const QString name =
        language == TLanguage::TraditionalChinese ? "qtbase_zh_TW" : "qtbase_zh_CN";
    auto* translator = new QTranslator(QCoreApplication::instance());
    if (!translator->load(name, QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    installed = translator;
    return QCoreApplication::installTranslator(translator);
}

} // namespace karvena
