// The trainer's window end to end: a temporary program folder with a small collection, its own
// settings and data folders, driven by QTest clicks and keys.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QMenu>
#include <QProcess>
#include <QSettings>
#include <QStandardPaths>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QTest>

#include "shell/SingleInstance.h"
#include "index/IndexLine.h"
#include "shell/TrainerFixture.h"

namespace karvena::test {
namespace {

// Group 1 holds one problem; group 2 three, the first with two opponent variations.
class Trainer : public TTrainerFixture {
protected:
    std::vector<TProblemRow> Problems() override { return SmallProblems(); }
    void Start() { OpenWindow(); }
};

TEST_F(Trainer, StartOpensGroupTwoWhenNoneIsStoredAndTheStoredOneOtherwise) {
    Start();
    EXPECT_EQ(window->OpenedGroup(), 2);
    EXPECT_EQ(window->GoIndex1->Count(), 3);
    EXPECT_EQ(window->Pages->currentWidget(), window->tsIndex);
    EXPECT_TRUE(window->Item(TCommand::miIntermediate1)->font().bold())
        << "the open group is the default item";
    window->close();
    EXPECT_EQ(Stored("Database"), "2");
    window.reset();
    Store("Database", "1");
    Start();
    EXPECT_EQ(window->OpenedGroup(), 1);
    EXPECT_EQ(window->GoIndex1->Count(), 1);
}

TEST_F(Trainer, SolvingAProblemThroughEveryVariation) {
    Start();
    ClickThumbnail(1, 1);
    ASSERT_EQ(window->Pages->currentWidget(), window->tsProblem);
    EXPECT_TRUE(window->ToolBarSolveIt->isVisible());
    EXPECT_EQ(window->LabelStdResult->text(), "No. 1");
    ClickPoint(1, 1);
    EXPECT_EQ(window->GoGame1->Process(), "AABA") << "the reply is on the board";
    ClickPoint(3, 1);
    EXPECT_EQ(window->LabelResult->text(), "Success");
    EXPECT_TRUE(window->Item(TCommand::btnNextVofComputer)->isEnabled());
    Key(Qt::Key_PageDown);
    EXPECT_EQ(window->GoGame1->Process(), "AAAB") << "the next variation";
    ClickPoint(1, 3);
    EXPECT_EQ(window->LabelResult->text(), "Success");
    EXPECT_EQ(window->LabelSuccessCount->text(), "Solved");
    EXPECT_EQ(window->GoIndex1->Games()[0][5], '1') << "the solved mark";
    EXPECT_EQ(window->History().Find(2)->SolvedCount, 1);
}

// A group of 2,500 problems at a first start: listed from the archive's listing while its table
// is copied behind, its lines read a block at a time as pages show them.
class LargeGroup : public TTrainerFixture {
protected:
    std::vector<TProblemRow> Problems() override {
        std::vector<TProblemRow> rows;
        for (int key = 1; key <= 2500; ++key)
            rows.push_back(ImportedRow(key % 2 ? "(;AB[dd]AW[ee](;B[aa]C[Correct])(;B[bb];W[aa]))"
                                               : "(;AB[pd]AW[qe](;B[bb]C[Correct])(;B[aa];W[bb]))",
                                       key, 2));
        return rows;
    }
    bool WithListing() override { return true; }
};

TEST_F(LargeGroup, IsListedAtOnceAndAProblemFarDownPlays) {
    OpenWindow();
    ASSERT_EQ(window->GoIndex1->Count(), 2500);
    EXPECT_TRUE(window->StatusProgress->text().contains("2500")) << window->StatusProgress->text().toStdString();
    EXPECT_EQ(ParseIndexLine(window->GoIndex1->Line(0)).Key(), 1);
    EXPECT_TRUE(window->GoIndex1->Games()[2499].empty()) << "the last block not read yet";
    window->GoIndex1->LastPage();
    QApplication::processEvents();
    const int last = window->GoIndex1->Count() - 1;
    const TCell cell = window->GoIndex1->CellOf(last);
    ASSERT_NE(cell, TCell{});
    ClickThumbnail(cell.Row, cell.Col);
    ASSERT_EQ(window->Pages->currentWidget(), window->tsProblem);
    EXPECT_EQ(window->LabelStdResult->text(), "No. 2500");
    ClickPoint(2, 2);
    EXPECT_EQ(window->LabelResult->text(), "Success");
    EXPECT_EQ(window->GoIndex1->Line(last)[5], '1') << "the solved mark";
    EXPECT_EQ(window->History().Find(2500)->SolvedCount, 1);
    EXPECT_EQ(window->History().Count(), 2500);
}

// A start stores what it read back: the settings file is written only when a value changes.
TEST(QtSettings, AValueAlreadyThereLeavesTheFileAlone) {
    QTemporaryDir folder;
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, folder.path());
    const QString file = folder.filePath("Tellurix/Karvena.ini");
    { TQtSettingsStore().Set("Database", "2"); }
    ASSERT_TRUE(QFile::exists(file));
    // A comment survives only as long as nobody rewrites the file.
    {
        QFile ini(file);
        ASSERT_TRUE(ini.open(QIODevice::Append));
        ini.write("; untouched\n");
    }
    { TQtSettingsStore().Set("Database", "2"); }
    QFile ini(file);
    ASSERT_TRUE(ini.open(QIODevice::ReadOnly));
    EXPECT_TRUE(ini.readAll().contains("; untouched")) << "the same value was written again";
    ini.close();
    { TQtSettingsStore().Set("Database", "3"); }
    EXPECT_EQ(TQtSettingsStore().Get("Database"), "3");
}

TEST_F(Trainer, ChineseResultText) {
    SetLanguageFlags(TLanguage::SimplifiedChinese);
    Start();
    ClickThumbnail(1, 2);
    ClickPoint(1, 2);
    EXPECT_EQ(window->LabelResult->text(), "成功");
    EXPECT_EQ(window->findChild<QMenu*>("miFile1")->title(), "文件(&F)");
    EXPECT_EQ(window->Item(TCommand::miBack1)->text(), "退一步");
    EXPECT_EQ(window->Item(TCommand::btnHint1)->toolTip(), "提示 (右箭头)");
}

TEST_F(Trainer, KeysStepProblemsTakeBackHintAndSetUpAgain) {
    Start();
    ClickThumbnail(1, 1);
    Key(Qt::Key_Up);
    EXPECT_EQ(window->GoIndex1->Selected(), 0) << "nothing before the first";
    Key(Qt::Key_Down);
    Key(Qt::Key_Down);
    EXPECT_EQ(window->GoIndex1->Selected(), 2);
    EXPECT_EQ(window->LabelStdResult->text(), "No. 3");
    Key(Qt::Key_Down);
    EXPECT_EQ(window->GoIndex1->Selected(), 2) << "nothing after the last";
    Key(Qt::Key_Up);
    EXPECT_EQ(window->GoIndex1->Selected(), 1);

    ClickPoint(2, 1); // wrong: the tree answers AB
    EXPECT_EQ(window->GoGame1->Process(), "BAAB");
    Key(Qt::Key_Left);
    EXPECT_EQ(window->GoGame1->Process(), "");
    Key(Qt::Key_Right); // the area first, then the move
    EXPECT_TRUE(window->GoGame1->Shaded(1, 2));
    Key(Qt::Key_Right);
    EXPECT_EQ(window->GoGame1->LabelColor(1, 2), 0x8000u) << "the good move in green";
    EXPECT_EQ(window->GoGame1->LabelColor(2, 1), 0xFFFFu) << "the other in yellow";
    // Both keys set up a board that has moves on it (E5 holds a stone: a click there plays none).
    ClickPoint(1, 2);
    ASSERT_EQ(window->GoGame1->Process(), "AB");
    Key(Qt::Key_Escape);
    EXPECT_EQ(window->GoGame1->Process(), "");
    ClickPoint(2, 1);
    ASSERT_EQ(window->GoGame1->Process(), "BAAB");
    Key(Qt::Key_Home);
    EXPECT_EQ(window->GoGame1->Process(), "");
}

TEST_F(Trainer, ZoomInAndOutAroundTheBaseRadius) {
    Start();
    ClickThumbnail(1, 1);
    // A window whose board panel fits radius 7 exactly.
    for (int height = 300; height < 700 && window->GoGame1->Radius() != 7; height += 2) {
        window->resize(900, height);
        QApplication::processEvents();
    }
    ASSERT_EQ(window->GoGame1->Radius(), 7);
    std::vector<int> radii;
    for (int i = 0; i < 4; ++i) {
        window->ZoomIn();
        radii.push_back(window->GoGame1->Radius());
    }
    EXPECT_EQ(radii, (std::vector<int>{10, 15, 18, 18}));
    EXPECT_EQ(window->GoGame1->DisplayInfo(), 0);
    radii.clear();
    for (int i = 0; i < 4; ++i) {
        window->ZoomOut();
        radii.push_back(window->GoGame1->Radius());
    }
    EXPECT_EQ(radii, (std::vector<int>{12, 8, 7, 7}));
    EXPECT_EQ(window->GoGame1->DisplayInfo(), 1) << "the board fills its panel again";
    window->resize(1100, 800);
    QApplication::processEvents();
    EXPECT_GT(window->GoGame1->Radius(), 7);
}

TEST_F(Trainer, StoredDelayOutsideTheRangeLeavesTen) {
    for (const char* stored : {"31", "x", "4"}) {
        window.reset();
        Store("DelayBeforeTakebackAutomatically", stored);
        Start();
        EXPECT_EQ(window->TrackBar1->value(), std::string(stored) == "4" ? 4 : 10) << stored;
    }
    EXPECT_EQ(window->Timer1.interval(), 4000);
}

TEST_F(Trainer, ClosingBeforeAGroupWasOpenedStoresMinusOne) {
    window = std::make_unique<TGoGameMainForm>(folder.filePath("program"),
                                               std::make_unique<TQtSettingsStore>());
    window->close();
    EXPECT_EQ(Stored("Database"), "-1");
    EXPECT_FALSE(Stored("Selected"));
    EXPECT_TRUE(Stored("InstallDir"));
}

TEST_F(Trainer, ClosingWhileMaximisedKeepsTheStoredSize) {
    Store("Width", "900");
    Store("Height", "650");
    Start();
    window->showMaximized();
    QApplication::processEvents();
    window->close();
    EXPECT_EQ(Stored("Width"), "900");
    EXPECT_EQ(Stored("Height"), "650");
}

// A group that cannot be opened changes nothing: the problems still listed open as before.
TEST_F(Trainer, AGroupThatCannotBeOpenedLeavesTheListedProblemsPlayable) {
    Start();
    ASSERT_EQ(window->GoIndex1->Count(), 3);
    // A bundled group whose archive has gone, then an imported group whose collection is not
    // there.
    ASSERT_TRUE(QFile::remove(folder.filePath("program/Karvena.dgo")));
    window->OpenGroup(1, 0);
    window->OpenGroup(kFirstImportedGroup, 0);
    ASSERT_EQ(messages.size(), 2u) << "both are reported";
    EXPECT_EQ(window->GoIndex1->Count(), 3) << "the old list stays";
    ClickThumbnail(1, 1);
    ASSERT_EQ(window->Pages->currentWidget(), window->tsProblem);
    EXPECT_EQ(window->GoGame1->GetCell(4, 4), kBlackStone) << "problem 2 is set up";
    ClickPoint(1, 1);
    EXPECT_FALSE(window->GoGame1->Process().empty()) << "and answered";
}

TEST_F(Trainer, AMissingArchiveIsReportedAndTheIndexStaysEmpty) {
    QFile::remove(folder.filePath("program/Karvena.dgo"));
    Start();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_TRUE(messages[0].contains("Can't find data file: ")) << messages[0].toStdString();
    EXPECT_EQ(window->GoIndex1->Count(), 0);
}

TEST_F(Trainer, ABrokenHistoryIsKeptAsideAndTheUserTold) {
    QFile broken(folder.filePath("program/History1.cds"));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("not a history at all, but a letter");
    broken.close();
    Start();
    ASSERT_FALSE(messages.empty());
    EXPECT_TRUE(messages[0].contains("History1.cds.broken-")) << messages[0].toStdString();
    EXPECT_EQ(window->GoIndex1->Count(), 3);
}

// A second start brings the running trainer to the front and ends.
TEST(SingleInstance, ASecondStartRaisesTheRunningTrainerAndExits) {
    QTemporaryDir runtime;
    QFile::setPermissions(runtime.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("XDG_RUNTIME_DIR", runtime.path().toUtf8());
    TSingleInstance first;
    ASSERT_TRUE(first.Acquire());
    int raised = 0;
    first.OnRaise = [&raised] { ++raised; };
    first.Listen();
    QProcess second;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    environment.insert("XDG_RUNTIME_DIR", runtime.path());
    second.setProcessEnvironment(environment);
    second.start(KARVENA_TRAINER, {});
    // The running trainer answers from its event loop while the second waits for it.
    QElapsedTimer clock;
    clock.start();
    while (second.state() != QProcess::NotRunning && clock.elapsed() < 10000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        second.waitForFinished(20);
    }
    ASSERT_EQ(second.state(), QProcess::NotRunning) << "the second trainer did not end";
    QCoreApplication::processEvents();
    EXPECT_EQ(raised, 1);
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0);
    qunsetenv("XDG_RUNTIME_DIR");
}

TEST(SingleInstance, AStaleLockDoesNotBlock) {
    QTemporaryDir runtime;
    QFile::setPermissions(runtime.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("XDG_RUNTIME_DIR", runtime.path().toUtf8());
    // A lock file naming a process that is gone.
    QFile lock(TSingleInstance::LockPath());
    ASSERT_TRUE(lock.open(QIODevice::WriteOnly));
    lock.write(QByteArray("999999\n") + QCoreApplication::applicationName().toUtf8() + "\n" +
               QSysInfo::machineHostName().toUtf8() + "\n");
    lock.close();
    TSingleInstance next;
    EXPECT_TRUE(next.Acquire());
    qunsetenv("XDG_RUNTIME_DIR");
}

} // namespace
} // namespace karvena::test
