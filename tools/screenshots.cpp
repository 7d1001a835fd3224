// Writes pictures of the board into a folder, to look at what a player sees:
//   karvena-screenshots OUTDIR
#include <QApplication>
#include <QHelpEvent>
#include <QToolTip>
#include <QMenu>
#include <QMessageBox>
#include <QProgressDialog>
#include <filesystem>
#include <QDir>
#include <QPainter>
#include <QPixmap>
#include <algorithm>
#include <cstdio>
#include <optional>

#include "shell/ToolIcons.h"
#include "board/GoGame.h"
#include "index/GoIndex.h"
#include "index/IndexLine.h"
#include "collection/Archive.h"
#include "collection/ProblemStore.h"
#include "collection/Sgf.h"
#include "collection/SgfImport.h"
#include "collection/SolutionBlob.h"
#include "shell/Main.h"
#include "shell/QtSettingsStore.h"
#include "shell/QtTranslations.h"
#include "shell/Settings.h"
#include "solving/MoveJudge.h"
#include "solving/Progress.h"
#include "solving/Study.h"
#include "text/Texts.h"

#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QElapsedTimer>
#include <QThread>

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

// An archive of the one problem of `sgf`: key 1, group 2, level 30.
void WriteOneProblemArchive(const QString& path, const std::string& sgf) {
    TImportedProblem imported = std::move(ImportSgf(*ReadSgf(sgf, "one").File, "one").Problems.at(0));
    TProblemRow row = imported.Row;
    row.Auto1 = row.Num = 1;
    row.Group1 = 2;
    row.Level1 = 30;
    row.Solution = SaveSolution(imported.Tree);
    TProblemTableWriter writer;
    writer.Add(row);
    WriteArchive(path.toStdString(), writer.Image());
}

// The archive of one problem row as it stands (its stored goal kept).
void WriteRowArchive(const QString& path, TProblemRow row) {
    row.Auto1 = row.Num = 1;
    row.Group1 = 2;
    TProblemTableWriter writer;
    writer.Add(row);
    WriteArchive(path.toStdString(), writer.Image());
}

// A bundled problem of the first group with a first move cut from its tree that the trainer
// judges as `wanted` (a correct one that works, or a wrong one refuted) with its own budget:
// the row without it and the move; none when no problem of the group has one.
std::optional<std::pair<TProblemRow, std::string>> ACutFirstMove(const QString& archive, bool correctOne) {
    TProblemStore store;
    const TArchiveRead read = ReadArchiveMember(archive.toStdString());
    if (read.Error != TArchiveError::None || !store.Open(read.Bytes)) return std::nullopt;
    TSolverBudget budget;
    budget.Milliseconds = 2000;
    for (const TProblemRow& listed : store.GroupWithNext(1)) {
        if (listed.Group1 != 1) break;
        const std::optional<TProblemRow> row = store.Find(listed.Auto1);
        if (!row) continue;
        TSolutionTree tree;
        LoadSolution(tree, row->Solution);
        const std::vector<TNodeId> firsts = tree.Children(tree.Root());
        const std::vector<TNodeId> corrects = CorrectFirstMoves(tree);
        const auto correct = [&](TNodeId n) { return std::count(corrects.begin(), corrects.end(), n) > 0; };
        if (correctOne && corrects.size() < 2) continue;
        for (const TNodeId first : firsts) {
            if (correct(first) != correctOne) continue;
            TProblemRow cut = *row;
            cut.Solution = SaveSolution(WithoutFirstMove(tree, first));
            TMoveJudge judge(cut);
            const TJudgement judged = judge.Judge({tree.MoveOf(first)}, budget);
            const bool wanted = correctOne ? judged.Verdict == TSolverVerdict::Win
                                           : judged.Verdict == TSolverVerdict::Loss && !judged.Line.empty();
            if (wanted) return std::make_pair(cut, tree.MoveOf(first));
        }
    }
    return std::nullopt;
}

// Lets the solver judge the last move (on its thread) and the window show the verdict.
void Settle(TGoGameMainForm& window) {
    for (int waited = 0; window.Loop().Thinking() && waited < 30000; waited += 10) {
        QApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(10);
    }
    QApplication::processEvents();
}

// Saves a picture and says so.
bool Written(const QPixmap& picture, const QString& path) {
    const bool ok = picture.save(path);
    std::printf("%s %s\n", ok ? "wrote" : "could not write", qPrintable(path));
    return ok;
}

// The main window on the archive in `folder`, its first problem open on its page.
std::unique_ptr<TGoGameMainForm> FirstProblemWindow(const QTemporaryDir& folder) {
    auto window = std::make_unique<TGoGameMainForm>(folder.path(), std::make_unique<TQtSettingsStore>());
    window->MessageHook = [](const QString&, const QString&, const QString&) { return false; };
    window->FirstActivation();
    window->resize(1100, 760);
    window->GoIndex1->ClickLine(0);
    window->SplashForm2()->SetDisplayFlag(false);
    return window;
}

// The main window on an archive of one problem in `folder`, the problem open on its page.
std::unique_ptr<TGoGameMainForm> OneProblemWindow(const QTemporaryDir& folder, const std::string& sgf) {
    WriteOneProblemArchive(folder.filePath("Karvena.dgo"), sgf);
    return FirstProblemWindow(folder);
}

bool Save(QWidget& board, const QString& path) {
    board.show();
    QApplication::processEvents();
    return Written(board.grab(), path);
}

// The window with its caption drawn above it (an offscreen window has no title bar).
bool SaveWithCaption(QWidget& window, const QString& path) {
    window.show();
    QApplication::processEvents();
    const QPixmap shot = window.grab();
    const int bar = 28;
    QPixmap framed(shot.width(), shot.height() + bar);
    framed.fill(QColor(60, 60, 70));
    QPainter painter(&framed);
    painter.setPen(Qt::white);
    QFont font = painter.font();
    font.setBold(true);
    painter.setFont(font);
    painter.drawText(QRect(0, 0, shot.width(), bar), Qt::AlignCenter, window.windowTitle());
    painter.drawPixmap(0, bar, shot);
    painter.end();
    return Written(framed, path);
}

// The window with the tool-tip of the index at `at` (the tip is a window of its own).
bool SaveWithToolTip(TGoGameMainForm& window, QPoint at, const QString& path) {
    QHelpEvent help(QEvent::ToolTip, at, window.GoIndex1->mapToGlobal(at));
    QApplication::sendEvent(window.GoIndex1, &help);
    QApplication::processEvents();
    QPixmap both = window.grab();
    QPainter painter(&both);
    for (QWidget* top : QApplication::topLevelWidgets())
        if (top->inherits("QTipLabel") && top->isVisible())
            painter.drawPixmap(top->geometry().topLeft() - window.geometry().topLeft(), top->grab());
    painter.end();
    QToolTip::hideText();
    return Written(both, path);
}

// The statistics page after five weeks of practice (a log written for the picture: a few
// problems of each group a day, most solved), then a timed set: its countdown, and its summary
// once two problems ran out of time and the set was left.
bool ShootProgress(TGoGameMainForm& window, const QString& out, const char* language) {
    bool ok = true;
    const int today = window.Statistics().TodayNumber();
    int serial = 0;
    for (int group = 1; group <= 3; ++group) {
        const std::vector<int32_t> keys = window.Collections().Bundled().KeysOfGroup(group);
        for (int back = 34; back >= 0; --back) {
            if (back % 6 == 5) continue; // a day off now and then
            for (int n = 0; n < 4 - group && !keys.empty(); ++n) {
                TAttemptRow row;
                row.Auto1 = keys[static_cast<size_t>(serial++) % keys.size()];
                const std::string day = DayText(today - back);
                row.Began = day + "T09:00:00";
                row.Ended = day + "T09:01:00";
                const int roll = (serial * 7 + group * 3) % 10;
                row.Result = roll < 10 - 3 * group ? TAttemptResult::Clean
                             : roll < 9 ? TAttemptResult::Failure : TAttemptResult::WithHelp;
                row.Seconds = 20 + group * 15 + serial % 25;
                window.History().PostAttempt(row);
            }
        }
    }
    window.ShowRating();
    window.Item(TCommand::miStatistics1)->trigger();
    ok &= Save(window, QString("%1/statistics-page-%2.png").arg(out, language));

    TTimedSetDialog dialog(window.TimedSetGroups(), 2, &window);
    ok &= Save(dialog, QString("%1/timed-set-dialog-%2.png").arg(out, language));
    dialog.hide();
    int64_t clock = 0;
    window.TimedSetClock = [&clock] { return clock; };
    TTimedSetOptions options;
    options.Group = 2;
    options.Size = 5;
    window.StartTimedSet(options);
    clock = 18;
    window.TimedSetTick();
    ok &= Save(window, QString("%1/timed-set-countdown-%2.png").arg(out, language));
    for (int timedOut = 0; timedOut < 2; ++timedOut) {
        clock += 60;
        window.TimedSetTick();
    }
    clock += 25;
    window.LeaveTimedSet();
    ok &= Save(window, QString("%1/timed-set-summary-%2.png").arg(out, language));
    window.TimedSetClock = nullptr;
    window.ShowIndexView();
    return ok;
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    // The trainer's own style, as its main sets it.
    QApplication::setStyle(new karvena::TTrainerStyle());
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
    for (const char* language : {"zh_CN", "en", "zh_TW"}) {
        if (archive.isEmpty()) break;
        QTemporaryDir folder;
        QFile::copy(archive, folder.filePath("Karvena.dgo"));
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, folder.filePath("config"));
        SetLanguageFlags(LanguageFromSetting(language, nullptr));
        InstallQtTranslations(CurrentLanguage());
        TGoGameMainForm window(folder.path(), std::make_unique<TQtSettingsStore>());
        window.MessageHook = [](const QString&, const QString&, const QString&) { return false; };
        window.FirstActivation();
        if (QString(language) != "zh_TW") {
            window.resize(1100, 760);
            window.Item(TCommand::miStatistics1)->trigger();
            ok &= Save(window, QString("%1/statistics-empty-%2.png").arg(out, language));
            window.ShowIndexView();
        }
        // Off-tree moves of the pictures below are judged quickly: none of them is the point.
        window.Loop().Options().SolverBudgetMs = 300;
        // The default window of a 1920 x 1080 screen: the whole board with its letters, then
        // zoomed in from a smaller window, with the panel beside the zoomed board.
        window.resize(DefaultWidth(1920), DefaultHeight(1080) - 40);
        window.GoIndex1->ClickLine(0);
        ok &= Save(window, QString("%1/main-default-1920-%2.png").arg(out, language));
        window.resize(1100, 760);
        QApplication::processEvents();
        window.ZoomIn();
        ok &= Save(window, QString("%1/main-zoomed-%2.png").arg(out, language));
        window.ZoomOut();
        window.ZoomOut();
        // A small window: the panel gives way, the board stays playable.
        window.resize(420, 380);
        ok &= Save(window, QString("%1/main-small-%2.png").arg(out, language));
        window.resize(1100, 760);
        window.ShowIndexView();
        ok &= Save(window, QString("%1/index-first-page-%2.png").arg(out, language));
        ok &= SaveWithCaption(window, QString("%1/index-caption-page-%2.png").arg(out, language));
        ok &= Save(window, QString("%1/main-index-%2.png").arg(out, language));
        window.GoIndex1->ClickLine(2);
        window.GoGame1->Click(2, 1, TMouseButton::Left, 2, 1);
        QApplication::processEvents();
        ok &= Save(window, QString("%1/main-problem-%2.png").arg(out, language));
        // A wrong first move: the retry hint opens beside the board. The window and the hint,
        // each a window of its own, are put together in one picture.
        window.Loop().SolveAgain();
        window.GoGame1->Click(19, 19, TMouseButton::Left, 19, 19);
        Settle(window);
        if (window.SplashForm2()->isVisible()) {
            QPixmap both = window.grab();
            QPainter painter(&both);
            painter.drawPixmap(window.SplashForm2()->geometry().topLeft() - window.geometry().topLeft(),
                               window.SplashForm2()->grab());
            painter.end();
            ok &= Written(both, QString("%1/main-hint-window-%2.png").arg(out, language));
        }
        window.SplashForm2()->hide();
        window.Loop().SolveAgain();
        // A good move (found by a hint), a hint after the reply, then Back: the dots go with
        // the moves.
        window.Loop().SolveAgain();
        window.Loop().Hint(true); // the area
        window.Loop().Hint(true); // the move
        for (int p = 1; p <= 19; ++p)
            for (int q = 1; q <= 19; ++q)
                if (window.GoGame1->LabelColor(p, q) == 0x8000 && window.GoGame1->Process().empty())
                    window.GoGame1->Click(p, q, TMouseButton::Left, p, q);
        window.Loop().Hint(true);
        ok &= Save(window, QString("%1/main-hint-after-reply-%2.png").arg(out, language));
        window.Loop().Back();
        ok &= Save(window, QString("%1/main-back-after-hint-%2.png").arg(out, language));
        // A hint on the problem, then trying moves on the wood board.
        window.Loop().SolveAgain();
        window.Loop().Hint(true);
        ok &= Save(window, QString("%1/main-hint-area-%2.png").arg(out, language));
        window.Loop().Hint(true);
        ok &= Save(window, QString("%1/main-hint-%2.png").arg(out, language));
        window.StartTry();
        window.GoGame1->Click(10, 10, TMouseButton::Left, 10, 10);
        ok &= Save(window, QString("%1/main-try-%2.png").arg(out, language));
        window.StopTry();
        window.SplashForm1()->hide();
        window.SplashForm2()->hide();

        // The same problem with random orientation and colours on, drawn as a quarter turn
        // clockwise with the colours swapped, then with its first right move played.
        window.Loop().Random = [](int) { return 1; };
        window.Item(TCommand::miRandomOrientation1)->trigger();
        window.Item(TCommand::miRandomColours1)->trigger();
        window.ShowIndexView();
        window.GoIndex1->ClickLine(2);
        ok &= Save(window, QString("%1/main-transformed-%2.png").arg(out, language));
        window.Loop().Hint(true);
        window.Loop().Hint(true);
        ok &= Save(window, QString("%1/main-transformed-hint-%2.png").arg(out, language));
        window.Item(TCommand::miRandomOrientation1)->trigger();
        window.Item(TCommand::miRandomColours1)->trigger();
        window.Loop().SolveAgain();

        // The hint-lock dialog as it opens.
        window.SetPasswordDlg()->Prepare(true);
        ok &= Save(*window.SetPasswordDlg(), QString("%1/hint-lock-%2.png").arg(out, language));
        window.SetPasswordDlg()->hide();

        // A White-to-play problem (the bundled ones are all Black's) in the study window,
        // opened twice.
        {
            QTemporaryDir white;
            WriteOneProblemArchive(white.filePath("Karvena.dgo"),
                                   "(;AB[pd][qd][rd][oc]AW[pc][qc][rc][od][pe][qe]PL[W]"
                                   "(;W[sc]C[Correct])(;W[rb];B[sc]))");
            TGoGameMainForm whiteWindow(white.path(), std::make_unique<TQtSettingsStore>());
            whiteWindow.MessageHook = [](const QString&, const QString&, const QString&) {
                return false;
            };
            whiteWindow.FirstActivation();
            whiteWindow.GoIndex1->ClickLine(0);
            whiteWindow.Item(TCommand::miStudyAtNewWindow1)->setChecked(true);
            for (int opening = 1; opening <= 2; ++opening) {
                whiteWindow.StartTry();
                TStudyForm& study = *whiteWindow.StudyForm();
                study.resize(520, 560);
                study.GoGame1->Click(10, 10, TMouseButton::Left, 10, 10);
                ok &= Save(study, QString("%1/study-white-opening%2-%3.png")
                                      .arg(out)
                                      .arg(opening)
                                      .arg(language));
                study.hide();
            }
        }

        // A problem whose answer is a ko: the success says so.
        {
            QTemporaryDir ko;
            const auto window = OneProblemWindow(
                ko, "(;AB[dd]AW[ee]C[Black to kill](;B[aa];W[ba];B[ca]C[Correct; advantageous ko.])"
                    "(;B[ab];W[ac]C[Wrong.]))");
            TGoGameMainForm& koWindow = *window;
            koWindow.GoGame1->Click(1, 1, TMouseButton::Left, 1, 1); // AA
            Settle(koWindow);
            koWindow.GoGame1->Click(3, 1, TMouseButton::Left, 3, 1); // CA
            Settle(koWindow);
            ok &= Save(koWindow, QString("%1/main-ko-answer-%2.png").arg(out, language));
        }

        // A move the problem's file does not list, judged by the solver: the other answer works
        // (the solver answers on the board), a wrong move is refuted.
        const QString solverData = argc > 5 ? argv[5] : "";
        if (!solverData.isEmpty() && QString(language) != "zh_TW") {
            QTemporaryDir twoAnswers;
            QFile fixture(solverData + "/two-answers.sgf");
            fixture.open(QIODevice::ReadOnly);
            const auto window = OneProblemWindow(twoAnswers, fixture.readAll().toStdString());
            TGoGameMainForm& solverWindow = *window;
            solverWindow.GoGame1->Click(4, 3, TMouseButton::Left, 4, 3); // DC
            Settle(solverWindow);
            ok &= Save(solverWindow, QString("%1/main-solver-refutes-%2.png").arg(out, language));
            solverWindow.Loop().SolveAgain();
            solverWindow.GoGame1->Click(3, 3, TMouseButton::Left, 3, 3); // CC
            Settle(solverWindow);
            ok &= Save(solverWindow, QString("%1/main-solver-also-works-%2.png").arg(out, language));
            // The line played on to its end: the attempt is logged, the rating shows.
            for (int move = 0; move < 10 && !solverWindow.Loop().LineEnded(); ++move) {
                solverWindow.Loop().Hint(true);
                bool played = false;
                for (int p = 1; p <= 19 && !played; ++p)
                    for (int q = 1; q <= 19 && !played; ++q)
                        if (solverWindow.GoGame1->LabelColor(p, q) == 0x8000)
                            played = solverWindow.GoGame1->Click(p, q, TMouseButton::Left, p, q) == TClickResult::Move;
                if (!played) break;
                Settle(solverWindow);
            }
            ok &= Save(solverWindow, QString("%1/main-solver-solved-%2.png").arg(out, language));
            // A move that only leads to a ko: the notice names who takes it first.
            solverWindow.Loop().SolveAgain();
            solverWindow.GoGame1->Click(1, 3, TMouseButton::Left, 1, 3); // AC
            Settle(solverWindow);
            ok &= Save(solverWindow, QString("%1/main-solver-ko-%2.png").arg(out, language));
        }

        // A bundled problem with a first move cut from its tree, as a player who finds another
        // answer meets it: the correct one "also works", the wrong one is refuted, each judged
        // on the solver's thread as the problem has just opened (the time is printed).
        for (const bool correctOne : {true, false}) {
            if (archive.isEmpty() || QString(language) == "zh_TW") break;
            // Looked for once, shown in each language.
            static std::optional<std::pair<TProblemRow, std::string>> cuts[2];
            static bool looked[2] = {false, false};
            if (!looked[correctOne]) cuts[correctOne] = ACutFirstMove(archive, correctOne);
            looked[correctOne] = true;
            const auto& found = cuts[correctOne];
            if (!found) {
                std::printf("no bundled problem of the first group has a cut %s first move judged so\n",
                            correctOne ? "correct" : "wrong");
                continue;
            }
            QTemporaryDir cutFolder;
            WriteRowArchive(cutFolder.filePath("Karvena.dgo"), found->first);
            const auto cutWindow = FirstProblemWindow(cutFolder);
            const std::string& move = found->second;
            const int p = move[0] - 'A' + 1, q = move[1] - 'A' + 1;
            QElapsedTimer clock;
            clock.start();
            cutWindow->GoGame1->Click(p, q, TMouseButton::Left, p, q);
            Settle(*cutWindow);
            std::printf("bundled problem %d, %s cut from the tree: judged in %lld ms\n",
                        static_cast<int>(found->first.Num), move.c_str(),
                        static_cast<long long>(clock.elapsed()));
            ok &= Save(*cutWindow, QString("%1/main-bundled-%2-%3.png")
                                       .arg(out, correctOne ? "also-works" : "refuted", language));
        }

        // Importing a folder of folders: the progress dialog, the summary, the level menu.
        const QString club = argc > 3 ? argv[3] : "";
        if (!club.isEmpty() && QString(language) != "zh_TW") {
            QTemporaryDir importFolder;
            std::filesystem::copy(club.toStdString(), importFolder.filePath("club").toStdString(),
                                  std::filesystem::copy_options::recursive);
            const QString copied = importFolder.filePath("club");
            window.ImportChooser = [copied] { return QStringList{copied}; };
            window.ImportProgressHook = [&](int done, int) {
                if (done != 3) return;
                if (auto* dialog = window.findChild<QProgressDialog*>()) {
                    dialog->setMaximum(6);
                    dialog->setValue(3);
                    ok &= Save(*dialog, QString("%1/import-progress-%2.png").arg(out, language));
                }
            };
            QStringList said;
            window.MessageHook = [&said](const QString&, const QString&, const QString& text) {
                said << text;
                return true;
            };
            window.ImportProblems();
            window.ImportProgressHook = nullptr;
            if (!said.isEmpty()) {
                QMessageBox summary(QMessageBox::Information, "Karvena", said.front());
                ok &= Save(summary, QString("%1/import-summary-%2.png").arg(out, language));
            }
            window.MessageHook = [](const QString&, const QString&, const QString&) {
                return false;
            };
            QMenu* file = window.findChild<QMenu*>("miFile1");
            file->popup(window.mapToGlobal(QPoint(0, 20)));
            QApplication::processEvents();
            ok &= Save(*file, QString("%1/import-menu-%2.png").arg(out, language));
            file->hide();
        }

        // The index page after narrowing the window, then after widening it on the last page.
        window.ShowIndexView();
        window.resize(560, 760);
        ok &= Save(window, QString("%1/index-narrow-%2.png").arg(out, language));
        window.LastPage();
        window.resize(1400, 760);
        ok &= Save(window, QString("%1/index-wide-last-page-%2.png").arg(out, language));

        // A failed problem in the review the next day: the level menu counts it as due, and the
        // review page lists it.
        if (QString(language) != "zh_TW") {
            int today = window.Statistics().TodayNumber();
            window.Statistics().Today = [&today] { return today; };
            window.resize(1100, 760);
            window.ShowIndexView();
            window.FirstPage();
            window.GoIndex1->ClickLine(0);
            window.GoGame1->Click(19, 19, TMouseButton::Left, 19, 19);
            Settle(window);
            window.ShowIndexView();
            window.GoIndex1->ClickLine(1);
            window.GoGame1->Click(10, 10, TMouseButton::Left, 10, 10);
            Settle(window);
            window.ShowIndexView();
            window.GoIndex1->ClickLine(3);
            window.GoGame1->Click(10, 10, TMouseButton::Left, 10, 10);
            Settle(window);
            // The index the same day: failed marks, who plays, and a thumbnail's tip; the review
            // item counts tomorrow's.
            window.ShowIndexView();
            window.RefreshGroupMenus();
            ok &= SaveWithToolTip(window, window.GoIndex1->CellRect({1, 2}).center(),
                                  QString("%1/index-failed-tip-%2.png").arg(out, language));
            {
                QMenu* file = window.findChild<QMenu*>("miFile1");
                file->popup(window.mapToGlobal(QPoint(0, 20)));
                QApplication::processEvents();
                ok &= Save(*file, QString("%1/level-menu-review-tomorrow-%2.png").arg(out, language));
                file->hide();
            }
            ++today;
            window.ShowIndexView();
            window.RefreshGroupMenus();
            QMenu* file = window.findChild<QMenu*>("miFile1");
            file->popup(window.mapToGlobal(QPoint(0, 20)));
            QApplication::processEvents();
            ok &= Save(*file, QString("%1/level-menu-review-%2.png").arg(out, language));
            file->hide();
            window.Item(TCommand::miReview1)->trigger();
            ok &= Save(window, QString("%1/review-page-%2.png").arg(out, language));
            ok &= ShootProgress(window, out, language);
        }

        // Problems of smaller boards: their index page, and each on its own board.
        const QString sizes = argc > 4 ? argv[4] : "";
        if (!sizes.isEmpty() && QString(language) != "zh_TW") {
            QTemporaryDir importFolder;
            std::filesystem::copy(sizes.toStdString(), importFolder.filePath("sizes").toStdString(),
                                  std::filesystem::copy_options::recursive);
            const QString copied = importFolder.filePath("sizes");
            window.ImportChooser = [copied] { return QStringList{copied}; };
            window.MessageHook = [](const QString&, const QString&, const QString&) { return true; };
            window.resize(1100, 760);
            window.ImportProblems();
            window.MessageHook = [](const QString&, const QString&, const QString&) {
                return false;
            };
            window.ShowIndexView();
            ok &= Save(window, QString("%1/index-small-boards-%2.png").arg(out, language));
            for (int line = 0; line < window.GoIndex1->Count(); ++line) {
                window.ShowIndexView();
                window.GoIndex1->ClickLine(line);
                ok &= Save(window, QString("%1/main-board-%3-lines-%2.png")
                                       .arg(out, language)
                                       .arg(window.GoGame1->Rows()));
            }
        }

    }
    return ok ? 0 : 1;
}
