// Program entry: one trainer at a time, the language fixed before the window is built, then
// the main window with the collection beside the program.
#include <QApplication>
#include <QDir>

#include "shell/Main.h"
#include "shell/QtSettingsStore.h"
#include "shell/SingleInstance.h"
#include "shell/Texts.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Karvena");
    QApplication::setOrganizationName("Tellurix");

    karvena::TSingleInstance instance;
    if (!instance.Acquire()) return 0; // another trainer runs: end quietly

    auto settings = std::make_unique<karvena::TQtSettingsStore>();
    const std::string stored = settings->Usable() ? settings->Get("Language").value_or("") : "";
    karvena::SetLanguageFlags(karvena::LanguageFromSetting(stored, std::getenv("KARVENA_LANG")));

    karvena::TGoGameMainForm window(QApplication::applicationDirPath(), std::move(settings));
    window.show();
    return app.exec();
}
