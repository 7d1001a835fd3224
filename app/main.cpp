// Program entry: one trainer at a time, the language fixed before the window is built, then
// the main window with the collection beside the program.
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTimer>
#include <cstdio>

#include "shell/Main.h"
#include "shell/QtSettingsStore.h"
#include "shell/QtTranslations.h"
#include "shell/SingleInstance.h"
#include "text/Texts.h"

namespace {

// With KARVENA_STARTUP_TIMING set, prints the time from start to the first painted index page
// and quits: a measurement, nothing the player sees.
class TStartupTiming : public QObject {
public:
    explicit TStartupTiming(QElapsedTimer& clock) : m_Clock(clock) {}
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint && !m_Done) {
            m_Done = true;
            QTimer::singleShot(0, [this] {
                std::printf("first index page painted after %lld ms\n",
                            static_cast<long long>(m_Clock.elapsed()));
                QApplication::quit();
            });
        }
        return false;
    }

private:
    QElapsedTimer& m_Clock;
    bool m_Done = false;
};

} // namespace

int main(int argc, char* argv[]) {
    QElapsedTimer clock;
    clock.start();
    QApplication app(argc, argv);
    QApplication::setApplicationName("Karvena");
    QApplication::setOrganizationName("Tellurix");

    karvena::TSingleInstance instance;
    if (!instance.Acquire()) return 0; // another trainer runs: end quietly

    auto settings = std::make_unique<karvena::TQtSettingsStore>();
    const std::string stored = settings->Usable() ? settings->Get("Language").value_or("") : "";
    karvena::SetLanguageFlags(karvena::LanguageFromSetting(stored, std::getenv("KARVENA_LANG")));
    karvena::InstallQtTranslations(karvena::CurrentLanguage());

    karvena::TGoGameMainForm window(QApplication::applicationDirPath(), std::move(settings),
                                    std::make_unique<karvena::TQtSettingsStore>("Common"));
    TStartupTiming timing(clock);
    if (std::getenv("KARVENA_STARTUP_TIMING")) window.GoIndex1->installEventFilter(&timing);
    window.show();
    return app.exec();
}
