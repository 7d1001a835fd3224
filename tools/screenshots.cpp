// Writes pictures of the board into a folder, to look at what a player sees:
//   karvena-screenshots OUTDIR
#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <cstdio>

#include "board/GoGame.h"
#include "index/GoIndex.h"
#include "index/IndexLine.h"
#include "shell/Main.h"
#include "shell/QtSettingsStore.h"
#include "text/Texts.h"

#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

using namespace karvena;

namespace {

// A corner problem in play: stones, numbers, hint dots and the last move.
void SetUpScene(TGoGame& board) {
    board.SetArrangedSideP("CPDPEPFQFRBOCO");
    board.SetArrangedSideN("BPBQCQDQEQERDS");
    board.NewGame(false);
    board.SetProcess("CRBRDRAS");
    board.NumberPoints("CRBRDRAS", 1);
    board.SetNumberLabel(1, 19, 0);
    board.MarkPoints("BS", 0x8000);
    board.MarkPoints("ES", 0xFFFF);
    board.SetPlayerName(0, "Black");
    board.SetPlayerName(1, "White");
    board.SetPlayerRank(0, 30);
    board.SetPlayerRank(1, (33 << 8) | 31);
    board.SetEvent("Weekly problem");
    board.SetTimeLimit(600);
    board.SetClockSeconds(0, 400);
    board.SetClockSeconds(1, 25);
    board.SetByoYomiCount(3);
    board.SetByoYomiLimit(30);
    board.SetHint(4 * 256 + 4, "D16");
}

bool Save(QWidget& board, const QString& path) {
    board.show();
    QApplication::processEvents();
    const bool ok = board.grab().save(path);
    std::printf("%s %s\n", ok ? "wrote" : "could not write", qPrintable(path));
    return ok;
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    const QString out = argc > 1 ? argv[1] : "screenshots";
    QDir().mkpath(out);
    bool ok = true;
    for (int radius : {7, 18}) {
        TGoGame board;
        SetUpScene(board);
        board.SetRadius(static_cast<int16_t>(radius));
        ok &= Save(board, QString("%1/board-r%2.png").arg(out).arg(radius));
        board.SetWood(true);
        ok &= Save(board, QString("%1/board-wood-r%2.png").arg(out).arg(radius));
    }
    TGoGame form;
    form.ApplyMainFormPreset();
    SetUpScene(form);
    ok &= Save(form, out + "/board-mainform.png");

    // One index page: a selected, a hot and two solved thumbnails.
    TGoIndex index;
    index.resize(497, 329);
    std::vector<std::string> lines;
    const char* shapes[][3] = {
        {"BCCCDBEB", "BBCBDAEA", "BA"},       {"CCDCECFBGB", "BCCBDBEAFA", "AB"},
        {"ACBCCCDB", "ABBBCBDA", "EB"},       {"CDDDECFCGB", "BCCCDBEBFA", "CA"},
        {"BDCDDCEBFB", "BCCCDBDAEA", "BAFA"}, {"ADBDCCDCEB", "ACBCCBDB", "EAFB"},
    };
    for (int i = 0; i < 9; ++i) {
        const auto& s = shapes[i % 6];
        lines.push_back(
            BuildIndexLine(i + 1, i == 4, i == 0 || i == 2, "0", s[0], s[1], s[2], i % 2 == 1));
    }
    index.SetGames(lines);
    index.SetSelected(1);
    index.SetHot(3);
    ok &= Save(index, out + "/index-page.png");

    // The main window in both languages: the index page, then a problem with a reply on it.
    const QString archive = argc > 2 ? argv[2] : "";
    for (const char* language : {"zh_CN", "en"}) {
        if (archive.isEmpty()) break;
        QTemporaryDir folder;
        QFile::copy(archive, folder.filePath("Karvena.dgo"));
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, folder.filePath("config"));
        SetLanguageFlags(LanguageFromSetting(language, nullptr));
        TGoGameMainForm window(folder.path(), std::make_unique<TQtSettingsStore>());
        window.MessageHook = [](const QString&, const QString&, const QString&) { return false; };
        window.FirstActivation();
        window.resize(1100, 760);
        ok &= Save(window, QString("%1/main-index-%2.png").arg(out, language));
        window.GoIndex1->ClickLine(2);
        window.GoGame1->Click(2, 1, TMouseButton::Left, 2, 1);
        QApplication::processEvents();
        ok &= Save(window, QString("%1/main-problem-%2.png").arg(out, language));
        // A hint on the problem, then trying moves on the wood board.
        window.Loop().SolveAgain();
        window.Loop().Hint(true);
        ok &= Save(window, QString("%1/main-hint-%2.png").arg(out, language));
        window.StartTry();
        window.GoGame1->Click(10, 10, TMouseButton::Left, 10, 10);
        ok &= Save(window, QString("%1/main-try-%2.png").arg(out, language));
        window.StopTry();
        window.SplashForm1()->hide();
        window.SplashForm2()->hide();
    }
    return ok ? 0 : 1;
}
