// The trainer's keys on the real window, and what the player meets off the main road: commands
// run from the wrong page, the hint windows, the study window, the index after a resize.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QMenu>
#include <QMenuBar>
#include <QDir>
#include <QFile>
#include <QStatusBar>
#include <QToolButton>
#include <set>

#include "shell/TrainerFixture.h"

namespace karvena::test {
namespace {

// The small problems of the fixture, and problem 5 (group 3), White's to play.
class Keys : public TTrainerFixture {
protected:
    std::vector<TProblemRow> Problems() override {
        std::vector<TProblemRow> rows = SmallProblems();
        rows.push_back(ImportedRow("(;AB[dd]AW[ee]PL[W](;W[ab]C[Correct])(;W[ba];B[ab]))", 5, 3));
        return rows;
    }
    void OpenFirstProblem() {
        OpenWindow();
        ClickThumbnail(1, 1);
        ASSERT_EQ(window->Pages->currentWidget(), window->tsProblem);
    }
    TGoGame* Board() { return window->GoGame1; }
};

// Each key of the table, pressed on the window, after a move that gives it something to do.
TEST_F(Keys, HomeAndBackspaceTakeBackAPlayedMove) {
    for (Qt::Key key : {Qt::Key_Home, Qt::Key_Backspace, Qt::Key_Escape, Qt::Key_Left}) {
        SCOPED_TRACE(QKeySequence(key).toString().toStdString());
        window.reset();
        OpenFirstProblem();
        ClickPoint(1, 1); // AA, answered by BA
        ASSERT_EQ(Board()->Process(), "AABA");
        Key(key);
        EXPECT_EQ(Board()->Process(), "");
    }
}

TEST_F(Keys, PgUpAndF8RetryAfterAFailureAsPgDnDoes) {
    std::vector<std::string> after;
    for (Qt::Key key : {Qt::Key_PageDown, Qt::Key_PageUp, Qt::Key_F8}) {
        SCOPED_TRACE(QKeySequence(key).toString().toStdString());
        window.reset();
        OpenFirstProblem();
        ClickPoint(3, 3); // CC, refuted by CA
        ASSERT_EQ(Board()->Process(), "CCCA");
        ASSERT_EQ(window->LabelResult->text(), "Failure");
        Key(key);
        after.push_back(Board()->Process());
    }
    EXPECT_NE(after[0], "CCCA") << "PgDn retries";
    EXPECT_EQ(after[1], after[0]) << "PgUp";
    EXPECT_EQ(after[2], after[0]) << "F8";
}

TEST_F(Keys, UpAndDownOpenProblemsFromTheIndexPageToo) {
    OpenWindow();
    ASSERT_EQ(window->Pages->currentWidget(), window->tsIndex);
    ASSERT_EQ(window->GoIndex1->Selected(), -1);
    Key(Qt::Key_Down);
    EXPECT_EQ(window->GoIndex1->Selected(), 0);
    EXPECT_EQ(window->Pages->currentWidget(), window->tsProblem);
    EXPECT_TRUE(window->ToolBarSolveIt->isVisible()) << "the solve tool bar comes with the page";
    window->Item(TCommand::miProblemIndex1)->trigger();
    window->Item(TCommand::miNextproblem1)->trigger();
    EXPECT_TRUE(window->ToolBarSolveIt->isVisible()) << "View > Next problem";
    window->Item(TCommand::miProblemIndex1)->trigger();
    window->Item(TCommand::miPriorproblem1)->trigger();
    window->Item(TCommand::miProblemIndex1)->trigger();
    ASSERT_EQ(window->Pages->currentWidget(), window->tsIndex);
    Key(Qt::Key_Down);
    EXPECT_EQ(window->GoIndex1->Selected(), 1);
    EXPECT_EQ(window->Pages->currentWidget(), window->tsProblem);
    EXPECT_EQ(window->LabelStdResult->text(), "No. 2");
    window->Item(TCommand::miProblemIndex1)->trigger();
    Key(Qt::Key_Up);
    EXPECT_EQ(window->GoIndex1->Selected(), 0);
    EXPECT_EQ(window->Pages->currentWidget(), window->tsProblem);
}

// With the menu bar in hand (after Alt) the arrows are the menu bar's: Down opens its menu, not
// the next problem.
TEST_F(Keys, TheMenuBarKeepsItsKeys) {
    OpenWindow();
    QMenuBar* bar = window->menuBar();
    QTest::keyClick(window.get(), Qt::Key_Alt);
    QApplication::processEvents();
    ASSERT_TRUE(bar->hasFocus()) << "Alt hands the keys to the menu bar";
    QTest::keyClick(bar, Qt::Key_Down);
    QApplication::processEvents();
    EXPECT_EQ(window->GoIndex1->Selected(), -1);
    EXPECT_EQ(window->Pages->currentWidget(), window->tsIndex);
    for (QMenu* menu : bar->findChildren<QMenu*>()) menu->hide();
}

TEST_F(Keys, RightShowsTheHintAndF9F10StartAndStopATry) {
    OpenFirstProblem();
    Key(Qt::Key_Right);
    EXPECT_TRUE(Board()->Shaded(1, 1)) << "the first hint shades the area of the answer";
    EXPECT_EQ(Board()->LabelColor(1, 1), 0u);
    Key(Qt::Key_Right);
    EXPECT_EQ(Board()->LabelColor(1, 1), 0x8000u);
    Key(Qt::Key_F9);
    EXPECT_TRUE(window->Try().Active());
    Key(Qt::Key_F10);
    EXPECT_FALSE(window->Try().Active());
}

TEST_F(Keys, KeysWorkWhateverInsideTheWindowHasTheFocus) {
    OpenFirstProblem();
    ClickPoint(1, 1);
    window->TrackBar1->setFocusPolicy(Qt::StrongFocus);
    window->TrackBar1->setFocus();
    QTest::keyClick(window->TrackBar1, Qt::Key_Home);
    QApplication::processEvents();
    EXPECT_EQ(Board()->Process(), "");
    EXPECT_EQ(window->TrackBar1->value(), 10) << "the slider did not take Home";
}

TEST_F(Keys, ResultIsHiddenAndEndDoesNothingWhileTheSwitchIsOff) {
    OpenFirstProblem();
    QMenu* solve = window->findChild<QMenu*>("miSolve1");
    ASSERT_NE(solve, nullptr);
    EXPECT_FALSE(window->Item(TCommand::miResult1)->isVisible());
    for (QAction* item : solve->actions())
        EXPECT_FALSE(item->isVisible() && item == window->Item(TCommand::miResult1));
    const int hints = window->History().Find(2)->Hint0Count;
    Key(Qt::Key_End);
    EXPECT_EQ(window->History().Find(2)->Hint0Count, hints);
    EXPECT_EQ(window->LabelStdResult->text(), "No. 1");
}

TEST_F(Keys, DisplayNumbersFromTheIndexPageLeavesTheProblemAlone) {
    OpenFirstProblem();
    ClickPoint(1, 1);
    ASSERT_EQ(Board()->Process(), "AABA");
    window->Item(TCommand::miProblemIndex1)->trigger();
    const int takebacks = window->History().Find(2)->TakebackBeforeSolve;
    window->Item(TCommand::miDisplaynumbers1)->trigger();
    EXPECT_EQ(window->History().Find(2)->TakebackBeforeSolve, takebacks) << "no take-back counted";
    EXPECT_EQ(Board()->Process(), "AABA");
    // On the problem page it sets the problem up again at once.
    ClickThumbnail(1, 1);
    ClickPoint(1, 1);
    window->Item(TCommand::miDisplaynumbers1)->trigger();
    EXPECT_EQ(Board()->Process(), "");
}

TEST_F(Keys, ResetSolvedFlagWithNothingLoadedWritesNothing) {
    OpenWindow();
    window->Item(TCommand::Resetsolvedflag1)->trigger();
    EXPECT_FALSE(window->History().Find(0)) << "no row for key 0";
}

TEST_F(Keys, TheHintLockAsksForThePasswordWithAnEmptyEntry) {
    OpenWindow();
    std::vector<QString> shown;
    window->PasswordHook = [&](TSetPasswordDlg& dialog) {
        shown.push_back(dialog.Edit1->text());
        dialog.Edit1->setText("secret");
        return int(QDialog::Accepted);
    };
    window->Item(TCommand::miHintallowed1)->trigger(); // lock with "secret"
    ASSERT_FALSE(window->Item(TCommand::miHintallowed1)->isChecked());
    window->PasswordHook = [&](TSetPasswordDlg& dialog) {
        shown.push_back(dialog.Edit1->text());
        return int(QDialog::Accepted); // OK without typing
    };
    window->Item(TCommand::miHintallowed1)->trigger();
    EXPECT_FALSE(window->Item(TCommand::miHintallowed1)->isChecked()) << "still locked";
    EXPECT_EQ(shown, (std::vector<QString>{"", ""}));
}

TEST_F(Keys, TheStudyWindowShowsAWhiteToPlayProblemEveryTimeItOpens) {
    Store("Database", "3");
    OpenWindow();
    ClickThumbnail(1, 1);
    ASSERT_LT(Board()->Turn(), 0) << "White to play";
    window->Item(TCommand::miStudyAtNewWindow1)->setChecked(true);
    for (int opening = 1; opening <= 2; ++opening) {
        SCOPED_TRACE(opening);
        Key(Qt::Key_F9);
        TGoGame* study = window->StudyForm()->GoGame1;
        ASSERT_TRUE(window->StudyForm()->isVisible());
        EXPECT_EQ(study->GetCell(4, 4), kBlackStone);
        EXPECT_EQ(study->GetCell(5, 5), kWhiteStone);
        ClickPoint(study, 10, 10);
        EXPECT_EQ(study->GetCell(10, 10), kWhiteStone) << "White plays first";
        // The side-to-move swatches stand right of the board, inside its control: White's
        // (white with a black outline) at its place.
        const TBoardGeometry& g = study->Geometry();
        const int d = std::min(g.Radius, 7);
        ASSERT_LE(g.BoardWidth + 15 + 2 * d, study->width()) << "room for the swatches";
        const QImage image = study->grab().toImage();
        EXPECT_EQ(image.pixelColor(g.BoardWidth + 15 + d, 120 + d), QColor(Qt::white));
        EXPECT_EQ(image.pixelColor(g.BoardWidth + 15 + d, 200 + d), QColor(Qt::black));
        // With no place stored it opens over the main window, not in the screen's corner.
        EXPECT_TRUE(window->frameGeometry().contains(window->StudyForm()->frameGeometry().center()));
        QTest::mouseClick(window->StudyForm()->btnClose, Qt::LeftButton);
    }
}

// Help > Guide with no browser to start says so, with the guide's path.
TEST_F(Keys, TheGuideWithoutABrowserNamesItsPath) {
    QFile page(folder.filePath("program/index.html"));
    ASSERT_TRUE(page.open(QIODevice::WriteOnly));
    page.write("<html></html>");
    page.close();
    OpenWindow();
    std::vector<QUrl> opened;
    for (const bool started : {true, false}) {
        messages.clear();
        window->OpenUrlHook = [&](const QUrl& url) {
            opened.push_back(url);
            return started;
        };
        window->Item(TCommand::miGuide1)->trigger();
        ASSERT_FALSE(opened.empty());
        EXPECT_EQ(opened.back().toLocalFile(), page.fileName());
        if (started) {
            EXPECT_TRUE(messages.empty());
        } else {
            ASSERT_EQ(messages.size(), 1u);
            EXPECT_TRUE(messages[0].contains(QDir::toNativeSeparators(page.fileName())))
                << messages[0].toStdString();
        }
    }
}

// A study window that was never opened keeps no place: the next start does not put it at 0, 0.
TEST_F(Keys, AStudyWindowNeverOpenedStoresNoPlace) {
    OpenWindow();
    window->close();
    window.reset();
    EXPECT_FALSE(TQtSettingsStore("Common").Get("StudyFormLeft"));
    EXPECT_FALSE(TQtSettingsStore("Common").Get("StudyFormTop"));
}

TEST_F(Keys, BackAfterAHintRepaintsTheDots) {
    OpenFirstProblem();
    ClickPoint(1, 1);
    Key(Qt::Key_Right); // the hint after a reply: marks the next good move
    std::vector<QPoint> dots;
    for (int p = 1; p <= 19; ++p)
        for (int q = 1; q <= 19; ++q)
            if (Board()->LabelColor(p, q) != 0)
                dots.emplace_back(Board()->Geometry().X(p), Board()->Geometry().Y(q));
    ASSERT_FALSE(dots.empty());
    QApplication::processEvents();
    // Everything the board repaints from here on.
    struct TSpy : QObject {
        QRegion asked;
        bool eventFilter(QObject*, QEvent* e) override {
            if (e->type() == QEvent::Paint) asked += static_cast<QPaintEvent*>(e)->region();
            return false;
        }
    } spy;
    Board()->installEventFilter(&spy);
    Key(Qt::Key_Left);
    QApplication::processEvents();
    Board()->removeEventFilter(&spy);
    ASSERT_EQ(Board()->Process(), "");
    for (const QPoint& dot : dots) EXPECT_TRUE(spy.asked.contains(dot)) << dot.x() << "," << dot.y();
}

TEST_F(Keys, ClicksInsideTheRetryHintWindowNeverReachTheBoard) {
    OpenFirstProblem();
    ClickPoint(3, 3); // a failure shows "Press PgDn key to retry"
    TSplashForm* hint = window->SplashForm2();
    ASSERT_TRUE(hint->isVisible());
    Key(Qt::Key_PageDown);
    ASSERT_EQ(Board()->Process(), "");
    // The window still up over the board (shown again, as a slow close would leave it), and a
    // click on it that the window system hands to the board beneath.
    hint->show();
    const QPoint point(Board()->Geometry().X(10), Board()->Geometry().Y(10));
    hint->move(Board()->mapToGlobal(point) - QPoint(20, 20));
    QApplication::processEvents();
    ASSERT_TRUE(hint->frameGeometry().contains(Board()->mapToGlobal(point)));
    ClickPoint(10, 10);
    EXPECT_EQ(Board()->Process(), "") << "the click belonged to the hint window";
    hint->hide();
    ClickPoint(10, 10);
    EXPECT_EQ(Board()->Process().substr(0, 2), "JJ") << "without the window the click plays";
}

// Whether a library of that name is mapped into this process.
bool LibraryLoaded(const QString& name) {
    QFile maps("/proc/self/maps");
    return maps.open(QIODevice::ReadOnly) && maps.readAll().contains(name.toUtf8());
}

// The audio libraries are not loaded for the first page: the sound module comes once the window
// is up, and the first sound of a move plays through it.
TEST_F(Keys, TheSoundModuleLoadsAfterTheFirstPageAndPlaysTheFirstSound) {
    ASSERT_FALSE(LibraryLoaded("libQt6Multimedia")) << "the trainer does not link it";
    BeforeShow = [](TGoGameMainForm& w) {
        EXPECT_FALSE(w.Sounds().Loaded());
        EXPECT_FALSE(LibraryLoaded("libkarvena-sound"));
    };
    OpenFirstProblem();
    std::vector<std::pair<int, bool>> played;
    window->Sounds().SetSilent(false);
    window->Sounds().OnPlay = [&](int number) {
        played.emplace_back(number, window->Sounds().Loaded());
    };
    ClickPoint(1, 1); // AA, answered by BA
    ASSERT_EQ(Board()->Process(), "AABA");
    ASSERT_FALSE(played.empty()) << "the move made a sound";
    EXPECT_TRUE(played.front().second) << "through the loaded module";
    EXPECT_TRUE(LibraryLoaded("libkarvena-sound"));
    EXPECT_TRUE(LibraryLoaded("libQt6Multimedia"));
}

// "Do not display this window", ticked in an earlier run, keeps the hint window away; ticked
// now, it is stored for the next run.
TEST_F(Keys, AHintWindowSwitchedOffStaysOff) {
    Store("DisplaySpashForm2", "0");
    OpenFirstProblem();
    ClickPoint(3, 3); // a failure
    ASSERT_EQ(window->LabelResult->text(), "Failure");
    EXPECT_FALSE(window->SplashForm2()->isVisible());
    EXPECT_FALSE(window->SplashForm2()->DisplayFlag());
    auto* tick = window->SplashForm2()->findChild<QCheckBox*>();
    ASSERT_NE(tick, nullptr);
    EXPECT_TRUE(tick->isChecked()) << "the box shows the stored choice";
}

TEST_F(Keys, ThePageFollowsTheWindowWhenItIsNarrowedOrWidened) {
    OpenWindow();
    TGoIndex* index = window->GoIndex1;
    window->resize(1000, 720);
    QApplication::processEvents();
    const int wideRows = index->RowCount();
    window->resize(420, 720); // fewer columns: more rows
    QApplication::processEvents();
    ASSERT_GT(index->RowCount(), wideRows);
    EXPECT_EQ(window->ScrollBar1->maximum(), index->RowCount()) << "the whole list is reachable";
    EXPECT_EQ(window->ScrollBar1->pageStep(), index->Rows());
    window->LastPage();
    ASSERT_EQ(index->TopRow(), index->RowCount());
    window->resize(1000, 720);
    QApplication::processEvents();
    EXPECT_LE(index->TopRow(), index->RowCount()) << "never beyond the last row";
    EXPECT_GE(index->LineAt({1, 1}), 0) << "the first cell shows a problem";
    EXPECT_EQ(window->ScrollBar1->maximum(), std::max(1, index->RowCount()));
}

TEST_F(Keys, TheLanguageMenuAndTheToolBarShowCaptions) {
    OpenWindow();
    EXPECT_EQ(window->Item(TCommand::miLanguage_en)->text(), "English");
    EXPECT_EQ(window->Item(TCommand::miLanguage_zh_CN)->text(), "简体中文");
    for (QAction* action : window->Items())
        if (action->objectName().startsWith("btn")) {
            EXPECT_NE(action->text(), action->objectName()) << action->objectName().toStdString();
        }
}

} // namespace
} // namespace karvena::test

#include <QLibraryInfo>

#include "shell/QtTranslations.h"

namespace karvena::test {
namespace {

TEST(TraditionalChinese, TheHintLockDialogAndQtsOwnButtonsAreTranslated) {
    SetLanguageFlags(TLanguage::TraditionalChinese);
    TSetPasswordDlg dialog;
    dialog.Prepare(true);
    EXPECT_EQ(dialog.windowTitle(), "設置口令");
    EXPECT_EQ(dialog.CancelBtn->text(), "取消");
    EXPECT_TRUE(InstallQtTranslations(TLanguage::TraditionalChinese));
    EXPECT_NE(QCoreApplication::translate("QPlatformTheme", "&Yes"), "&Yes");
    SetLanguageFlags(TLanguage::SimplifiedChinese);
}

} // namespace
} // namespace karvena::test

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include "shell/QtSettingsStore.h"

namespace karvena::test {
namespace {

// A settings file of the old layout (one [Software] group of backslash paths) is moved value by
// value into [Karvena] and [Common]; a second start leaves the file as it is.
TEST(SettingsLayout, TheOldLayoutIsMovedOnceValueByValue) {
    QTemporaryDir config;
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, config.path());
    const QString file = config.filePath("Tellurix/Karvena.ini");
    QDir().mkpath(config.filePath("Tellurix"));
    {
        QFile old(file);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("[Software]\n"
                  "Tellurix\\GoGame\\Karvena\\Width=900\n"
                  "Tellurix\\GoGame\\Karvena\\Database=3\n"
                  "Tellurix\\GoGame\\Karvena\\HintPassword=4A6B\n"
                  "Tellurix\\GoGame\\Common\\StudyWidth=500\n");
    }
    {
        TQtSettingsStore trainer;
        EXPECT_EQ(trainer.Get("Width"), "900");
        EXPECT_EQ(trainer.Get("Database"), "3");
        EXPECT_EQ(trainer.Get("HintPassword"), "4A6B");
        EXPECT_EQ(TQtSettingsStore("Common").Get("StudyWidth"), "500");
    }
    QFile moved(file);
    ASSERT_TRUE(moved.open(QIODevice::ReadOnly));
    const QByteArray after = moved.readAll();
    moved.close();
    EXPECT_FALSE(after.contains("Software")) << after.toStdString();
    EXPECT_TRUE(after.contains("[Karvena]")) << after.toStdString();
    EXPECT_TRUE(after.contains("[Common]"));
    {
        TQtSettingsStore again;
        EXPECT_EQ(again.Get("Width"), "900");
    }
    ASSERT_TRUE(moved.open(QIODevice::ReadOnly));
    EXPECT_EQ(moved.readAll(), after) << "a second start changes nothing";
}

// The trainer answers --version and --help with one line each, without a window.
TEST(CommandLine, VersionAndHelpPrintOneLine) {
    for (const char* argument : {"--version", "--help"}) {
        QProcess trainer;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove("QT_QPA_PLATFORM"); // no display needed for these
        environment.insert("DISPLAY", "");
        trainer.setProcessEnvironment(environment);
        trainer.start(KARVENA_TRAINER, {argument});
        ASSERT_TRUE(trainer.waitForFinished(10000)) << argument;
        EXPECT_EQ(trainer.exitCode(), 0) << argument;
        const QString out = QString::fromUtf8(trainer.readAllStandardOutput());
        EXPECT_EQ(out.count('\n'), 1) << out.toStdString();
        EXPECT_TRUE(out.startsWith("karvena")) << out.toStdString();
    }
}

} // namespace
} // namespace karvena::test

namespace karvena::test {
namespace {

class Progress : public TTrainerFixture {
protected:
    std::vector<TProblemRow> Problems() override { return SmallProblems(); }
};

// The level menus count each group's solved and total problems, and the index page's status bar
// those of the open group; both follow a solve.
TEST_F(Progress, TheMenusAndTheStatusBarCountSolvedProblems) {
    OpenWindow();
    window->RefreshGroupMenus();
    EXPECT_EQ(window->Item(TCommand::miIntermediate1)->text(), "Intermediate 0/3");
    EXPECT_EQ(window->Item(TCommand::miBeginner1)->text(), "Beginner 0/1");
    EXPECT_EQ(window->Item(TCommand::miIntermediate2)->text(), "Intermediate 0/3") << "the drop-down too";
    EXPECT_EQ(window->StatusProgress->text(), "0/3 solved");
    ClickThumbnail(1, 2); // problem 3: AB is correct
    EXPECT_TRUE(window->LabelAttemptTime->text().startsWith("time: 0:0"));
    EXPECT_EQ(window->LabelBestTime->text(), "") << "no clean solve yet";
    ClickPoint(1, 2);
    ASSERT_EQ(window->LabelSuccessCount->text(), "Solved");
    EXPECT_EQ(window->StatusProgress->text(), "1/3 solved") << "the move kept it, the solve counted";
    EXPECT_TRUE(window->LabelBestTime->text().startsWith("best clean solve: 0:0"))
        << window->LabelBestTime->text().toStdString();
    window->Item(TCommand::miProblemIndex1)->trigger();
    EXPECT_EQ(window->StatusProgress->text(), "1/3 solved");
    window->RefreshGroupMenus();
    EXPECT_EQ(window->Item(TCommand::miIntermediate1)->text(), "Intermediate 1/3");
    // Nothing due: an empty list shows no count, not the last group's.
    window->Item(TCommand::miReview1)->trigger();
    ASSERT_EQ(window->GoIndex1->Count(), 0);
    EXPECT_EQ(window->StatusProgress->text(), "");
    // "Solve it" with nothing to solve leaves the index page, and the item, as they were.
    window->Item(TCommand::miSolveIt1)->trigger();
    EXPECT_EQ(window->Pages->currentWidget(), window->tsIndex);
    EXPECT_FALSE(window->Item(TCommand::miSolveIt1)->isChecked());
}

// Double-clicking the status bar's first panel narrows it to 60 pixels, and widens it again to
// the status bar's width less 60.
TEST_F(Progress, DoubleClickingTheStatusBarTogglesItsFirstPanel) {
    OpenWindow();
    QLabel* panel = window->StatusPanel0;
    ASSERT_GE(panel->width(), 100);
    QTest::mouseDClick(panel, Qt::LeftButton);
    QApplication::processEvents();
    EXPECT_EQ(panel->width(), 60);
    QTest::mouseDClick(panel, Qt::LeftButton);
    QApplication::processEvents();
    EXPECT_EQ(panel->width(), window->statusBar()->width() - 60);
}

} // namespace
} // namespace karvena::test

namespace karvena::test {
namespace {

// A failed problem comes back in the review when it is due; a solved one does not.
TEST_F(Progress, TheReviewListsAFailedProblemWhenItIsDue) {
    OpenWindow();
    int today = 40000;
    window->Statistics().Today = [&today] { return today; };
    ClickThumbnail(1, 1); // problem 2
    ClickPoint(3, 3);     // CC: a failure
    ASSERT_EQ(window->LabelResult->text(), "Failure");
    window->Item(TCommand::miProblemIndex1)->trigger();
    ClickThumbnail(1, 2); // problem 3, solved cleanly
    ClickPoint(1, 2);
    ASSERT_EQ(window->LabelSuccessCount->text(), "Solved");
    window->RefreshGroupMenus();
    EXPECT_EQ(window->Item(TCommand::miReview1)->text(), "Review (0 due, 1 tomorrow)") << "due tomorrow";
    today = 40001;
    window->RefreshGroupMenus();
    EXPECT_EQ(window->Item(TCommand::miReview1)->text(), "Review (1 due)");
    window->Item(TCommand::miReview1)->trigger();
    ASSERT_EQ(window->GoIndex1->Count(), 1);
    EXPECT_EQ(window->GoIndex1->Games()[0].substr(0, 4), "0002");
    // Solved cleanly from the review: up a box, due in three days.
    ClickThumbnail(1, 1);
    ClickPoint(1, 1); // answered by BA
    ClickPoint(3, 1);
    Key(Qt::Key_PageDown); // the other variation: AB
    ClickPoint(1, 3);
    ASSERT_EQ(window->LabelSuccessCount->text(), "Solved");
    EXPECT_EQ(window->History().Review(2), (TReviewEntry{2, 2, 40004}));
}

} // namespace
} // namespace karvena::test

namespace karvena::test {
namespace {

// With random orientation and colours on, problem 3 (Black's AB lives; Black DD, White EE) is
// shown turned a quarter clockwise with the colours swapped: the player is White and the right
// move is at SA. The study window shows the same picture; the options stay on after a restart.
TEST_F(Progress, ARandomOrientationShowsTheProblemTurnedAndTheTurnedMoveSolvesIt) {
    OpenWindow();
    std::vector<int> draws{1, 1};
    window->Loop().Random = [&draws](int) {
        const int value = draws.empty() ? 0 : draws.front();
        if (!draws.empty()) draws.erase(draws.begin());
        return value;
    };
    window->Item(TCommand::miRandomOrientation1)->trigger();
    window->Item(TCommand::miRandomColours1)->trigger();
    ClickThumbnail(1, 2);
    TGoGame* board = window->GoGame1;
    EXPECT_EQ(board->GetCell(4, 4), 0) << "nothing where the stored stone stands";
    EXPECT_EQ(board->GetCell(16, 4), kWhiteStone) << "Black's DD shown as White's at PD";
    EXPECT_EQ(board->GetCell(15, 5), kBlackStone) << "White's EE shown as Black's at OE";
    EXPECT_LT(board->Turn(), 0) << "the player solves as White";
    window->Item(TCommand::miStudyAtNewWindow1)->setChecked(true);
    window->Item(TCommand::miStudy1)->trigger();
    ASSERT_NE(window->StudyForm(), nullptr);
    EXPECT_EQ(window->StudyForm()->GoGame1->GetCell(16, 4), kWhiteStone) << "the study window too";
    window->Item(TCommand::miStopStudy1)->trigger();
    ClickPoint(18, 1); // AB turned
    EXPECT_EQ(window->LabelResult->text(), "Success");
    EXPECT_EQ(window->LabelSuccessCount->text(), "Solved");
    EXPECT_EQ(window->History().Find(3)->SolvedCount, 1) << "counted for the stored problem";
    window->close();
    EXPECT_EQ(Stored("RandomOrientation"), "1");
    EXPECT_EQ(Stored("RandomColours"), "1");
    window.reset();
    OpenWindow();
    EXPECT_TRUE(window->Item(TCommand::miRandomOrientation1)->isChecked());
    EXPECT_TRUE(window->Loop().Options().RandomColours);
}

} // namespace
} // namespace karvena::test

namespace karvena::test {
namespace {

bool HasChinese(const QString& text) {
    for (const QChar c : text)
        if (c.unicode() >= 0x2E80) return true;
    return false;
}

// Every window speaks the trainer's language: the hint-lock dialog and its questions, the
// "Clear all solved flags" question, the study window and the About box.
TEST(Languages, EveryWindowSpeaksTheTrainersLanguage) {
    for (const TLanguage language :
         {TLanguage::English, TLanguage::SimplifiedChinese, TLanguage::TraditionalChinese}) {
        SetLanguageFlags(language);
        const bool chinese = language != TLanguage::English;
        SCOPED_TRACE(chinese ? "Chinese" : "English");
        std::vector<QString> texts;
        TSetPasswordDlg dialog;
        for (const bool setMode : {true, false}) {
            dialog.Prepare(setMode);
            texts.insert(texts.end(), {dialog.windowTitle(), dialog.Label1->text(),
                                       dialog.Label2->text(), dialog.btnForgot->text(),
                                       dialog.OKBtn->text(), dialog.CancelBtn->text()});
        }
        dialog.Confirm = [&](const QString& caption, const QString& text) {
            texts.insert(texts.end(), {caption, text});
            return false;
        };
        dialog.Forgot();
        TStudyForm study(nullptr);
        texts.insert(texts.end(), {study.windowTitle(), study.btnTakeBack->text(),
                                   study.btnNext->text(), study.btn1->text(),
                                   study.btnStudy->text(), study.btnClose->text()});
        // The toggle's caption in both of its states.
        study.Load(0, 1, 1, "", "DD", "EE", "");
        texts.push_back(study.btnStudy->text());
        study.btnStudy->click();
        texts.push_back(study.btnStudy->text());
        study.hide();
        for (const QString& text : texts)
            EXPECT_EQ(HasChinese(text), chinese) << text.toStdString();
    }
    SetLanguageFlags(TLanguage::SimplifiedChinese);
}

// The question before clearing every solved flag, and the About box: in the trainer's language,
// naming the program's licence and the problems' attribution, and no made-up address.
TEST_F(Progress, TheAboutBoxAndTheClearQuestionInEachLanguage) {
    for (const TLanguage language : {TLanguage::English, TLanguage::SimplifiedChinese}) {
        window.reset();
        messages.clear();
        SetLanguageFlags(language);
        const bool chinese = language != TLanguage::English;
        OpenWindow();
        QString about;
        window->MessageHook = [&](const QString& kind, const QString& title, const QString& text) {
            if (kind == "about") about = text;
            messages.push_back(title + ": " + text);
            return false;
        };
        window->Item(TCommand::miClearallsolvedflags1)->trigger();
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_EQ(HasChinese(messages[0]), chinese) << messages[0].toStdString();
        window->Item(TCommand::miAbout1)->trigger();
        EXPECT_FALSE(about.contains("example.org"));
        EXPECT_TRUE(about.contains(chinese ? "GNU 通用公共许可证" : "GNU General Public License"));
        EXPECT_TRUE(about.contains(chinese ? "每周死活题" : "Weekly Go Problems"));
        EXPECT_TRUE(about.contains("CC BY-NC-SA 4.0"));
    }
}

} // namespace
} // namespace karvena::test

namespace karvena::test {
namespace {

// The command table and the window agree: each command has its item, named after it, in a menu
// or tool bar (or a hidden item that only carries a key), and each tool button runs its command.
TEST_F(Keys, EveryCommandHasItsItemAndEveryButtonRunsItsCommand) {
    OpenWindow();
    const std::set<TCommand> keyCarriers = {TCommand::miHome, TCommand::miBackSpace,
                                            TCommand::miPgUp, TCommand::miF8};
    for (std::size_t i = 0; i < kCommandCount; ++i) {
        const auto command = static_cast<TCommand>(i);
        SCOPED_TRACE(CommandName(command));
        QAction* item = window->Item(command);
        ASSERT_NE(item, nullptr);
        EXPECT_EQ(item->objectName(), CommandName(command));
        EXPECT_EQ(CommandNamed(CommandName(command)), command);
        const bool placed = !item->associatedObjects().isEmpty();
        EXPECT_EQ(placed, !keyCarriers.count(command)) << "in a menu or tool bar";
        if (const std::optional<TCommand> runs = ButtonCommand(command)) {
            int triggered = 0;
            QAction* menuItem = window->Item(*runs);
            const bool enabled = menuItem->isEnabled();
            menuItem->setEnabled(true);
            item->setEnabled(true); // the next-variation button rests until there is one
            const auto counting =
                QObject::connect(menuItem, &QAction::triggered, [&] { ++triggered; });
            item->trigger();
            QObject::disconnect(counting);
            menuItem->setEnabled(enabled);
            EXPECT_EQ(triggered, 1) << "runs " << CommandName(*runs);
            // The button says what it runs: its caption begins with the words of the command's.
            auto words = [](const QString& caption) {
                QStringList all = QString(caption).remove('&').split(' ', Qt::SkipEmptyParts);
                return all.mid(0, 2);
            };
            const QStringList button = words(item->text()), menu = words(menuItem->text());
            EXPECT_EQ(button.mid(0, menu.size()), menu.mid(0, button.size()))
                << item->text().toStdString() << " / " << menuItem->text().toStdString();
        }
    }
    EXPECT_FALSE(CommandNamed("miNoSuchItem1"));
}

// A try rests every command that would step the tree, and the level groups with them; stopping
// the try gives them back.
TEST_F(Keys, ATryRestsTheStepAndGroupCommandsAndStoppingGivesThemBack) {
    OpenFirstProblem();
    window->Item(TCommand::miStudy1)->trigger();
    ASSERT_TRUE(window->Try().Active());
    for (const TCommand command : CommandsRestingDuringTry())
        EXPECT_FALSE(window->Item(command)->isEnabled()) << CommandName(command);
    EXPECT_TRUE(window->Item(TCommand::miStopStudy1)->isEnabled());
    window->Item(TCommand::miStopStudy1)->trigger();
    // A hidden item reads as disabled; the visible ones are given back.
    for (const TCommand command : CommandsRestingDuringTry()) {
        if (window->Item(command)->isVisible()) {
            EXPECT_TRUE(window->Item(command)->isEnabled()) << CommandName(command);
        }
    }
    window->ShowIndexView();
    EXPECT_TRUE(window->Item(TCommand::miIntermediate1)->isEnabled());
    EXPECT_TRUE(window->Item(TCommand::miSolveIt1)->isEnabled());
}

} // namespace
} // namespace karvena::test
