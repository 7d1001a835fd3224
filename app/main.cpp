// Program entry: one trainer at a time, the language fixed before the window is built, then
// the main window with the collection beside the program.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QIcon>
#include <QElapsedTimer>
#include <QTimer>
#include <cstdio>
#include <cstring>
#include <optional>

#include "shell/Main.h"
#include "shell/QtSettingsStore.h"
#include "shell/QtTranslations.h"
#include "shell/SingleInstance.h"
#include "shell/ToolIcons.h"
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
                std::printf("sound module: %s\n",
                            qPrintable(karvena::SoundModulePath()));
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
    // The two arguments a desktop program answers; every other start ignores its arguments.
    if (argc > 1 && std::strcmp(argv[1], "--version") == 0) {
        std::printf("karvena %s\n", KARVENA_VERSION);
        return 0;
    }
    if (argc > 1 && std::strcmp(argv[1], "--help") == 0) {
        std::printf("karvena: a trainer for Go life-and-death problems; start it without "
                    "arguments (--version prints the version)\n");
        return 0;
    }
    QApplication app(argc, argv);
    // Our own pictures for the bars' extension buttons: no image plugin loads at start-up.
    QApplication::setStyle(new karvena::TTrainerStyle());
    QApplication::setApplicationName("Karvena");
    QApplication::setOrganizationName("Tellurix");
    // The desktop entry and the icon an install puts in place; the icon is looked up once the
    // window is up, since the theme lookup loads every image-format plugin.
    QGuiApplication::setDesktopFileName("org.karvena.Karvena");

    karvena::TSingleInstance instance;
    if (!instance.Acquire()) {
        // Another trainer runs: bring it to the front, and end.
        karvena::TSingleInstance::AskToRaise();
        return 0;
    }
    instance.Listen();

    auto settings = std::make_unique<karvena::TQtSettingsStore>();
    const std::string stored = settings->Usable() ? settings->Get("Language").value_or("") : "";
    karvena::SetLanguageFlags(karvena::LanguageFromSetting(stored, std::getenv("KARVENA_LANG")));
    karvena::InstallQtTranslations(karvena::CurrentLanguage());

    // The collection beside the program (a build tree, a copied folder), else where an install
    // puts it: <prefix>/share/karvena, whose history then lives in the per-user data folder.
    QString programFolder = QApplication::applicationDirPath();
    std::optional<bool> programFolderWritable;
    auto hasCollection = [](const QString& folder) {
        return QFile::exists(folder + "/Karvena.dgo") || QFile::exists(folder + "/KarvenaFull.dgo");
    };
    const QString installed = QDir(programFolder).absoluteFilePath("../share/karvena");
    if (!hasCollection(programFolder) && hasCollection(installed)) {
        programFolder = QDir(installed).canonicalPath();
        programFolderWritable = false;
    }
    karvena::TGoGameMainForm window(programFolder, std::move(settings),
                                    std::make_unique<karvena::TQtSettingsStore>("Common"));
    window.ProgramFolderWritable = programFolderWritable;
    TStartupTiming timing(clock);
    if (std::getenv("KARVENA_STARTUP_TIMING")) window.GoIndex1->installEventFilter(&timing);
    instance.OnRaise = [&window] { window.BringToFront(); };
    window.show();
    QTimer::singleShot(0, [] { QApplication::setWindowIcon(QIcon::fromTheme("org.karvena.Karvena")); });
    return app.exec();
}
