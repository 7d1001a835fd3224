#include "shell/QtTranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace karvena {

bool InstallQtTranslations(TLanguage language) {
    if (language == TLanguage::English) return true;
    const QString name =
        language == TLanguage::TraditionalChinese ? "qtbase_zh_TW" : "qtbase_zh_CN";
    // One translator for the whole run, owned by the application.
    auto* translator = new QTranslator(QCoreApplication::instance());
    if (!translator->load(name, QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}

} // namespace karvena
