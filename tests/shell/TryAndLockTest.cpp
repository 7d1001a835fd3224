// Trying moves in place and in the study window, and the hint lock, through the real window.
#include <gtest/gtest.h>

#include "solving/HintLock.h"
#include "shell/TrainerFixture.h"

namespace karvena::test {
namespace {

// Problem 1 (group 2) starts with two moves already played; problem 2 with none.
class Trying : public TTrainerFixture {
protected:
    std::vector<TProblemRow> Problems() override {
        TProblemRow first =
            ImportedRow("(;AB[dd]AW[ee](;B[aa];W[ba];B[ca]C[Correct])(;B[cc];W[ca]))", 1, 2);
        first.Initial = "QQRR"; // far from the problem
        return {first, ImportedRow("(;AB[dd]AW[ee](;B[ab]C[Correct])(;B[ba];W[ab]))", 2, 2)};
    }
    // Opens the window and the first problem.
    void Start() {
        OpenWindow();
        ClickThumbnail(1, 1);
        ASSERT_EQ(window->Pages->currentWidget(), window->tsProblem);
    }
    // Runs the hint lock's menu item with the dialog answered: text, OK or Cancel, forgot.
    void Lock(const QString& text, bool ok = true, bool forgot = false) {
        window->PasswordHook = [&](TSetPasswordDlg& dialog) {
            dialog.Edit1->setText(text);
            if (forgot) {
                dialog.Confirm = [](const QString&, const QString&) { return true; };
                dialog.Forgot();
                return dialog.result();
            }
            return ok ? int(QDialog::Accepted) : int(QDialog::Rejected);
        };
        window->Item(TCommand::miHintallowed1)->trigger();
    }
};

TEST_F(Trying, TryUndoNextMoveAndRestart) {
    Start();
    TGoGame* board = window->GoGame1;
    ASSERT_EQ(board->Process(), "QQRR");
    Key(Qt::Key_F9);
    ASSERT_TRUE(window->Try().Active());
    EXPECT_TRUE(board->Wood()) << "the wood board shows the try";
    EXPECT_FALSE(window->btnUndo->isEnabled()) << "nothing beyond the start to take back";
    EXPECT_FALSE(window->Item(TCommand::miBack1)->isEnabled());
    EXPECT_TRUE(window->btnStopStudy2->isVisible());

    ClickPoint(board, 10, 10);
    ClickPoint(board, 11, 11);
    EXPECT_EQ(board->Process(), "QQRRJJKK");
    EXPECT_EQ(window->LabelStudyCount->text(), "trial count: 2");
    EXPECT_TRUE(window->btnUndo->isEnabled());

    QTest::mouseClick(window->btnUndo, Qt::LeftButton);
    EXPECT_EQ(board->Process(), "QQRRJJ");
    EXPECT_TRUE(window->btnNextMove->isEnabled());
    QTest::mouseClick(window->btnNextMove, Qt::LeftButton);
    EXPECT_EQ(board->Process(), "QQRRJJKK") << "the same move comes back";

    for (int i = 0; i < 5; ++i)
        QTest::mouseClick(window->btnUndo, Qt::LeftButton);
    EXPECT_EQ(board->Process(), "QQRR") << "the problem's start stays";
    EXPECT_FALSE(window->btnUndo->isEnabled());

    ClickPoint(board, 12, 12);
    QTest::mouseClick(window->btn1, Qt::LeftButton);
    EXPECT_EQ(board->Process(), "QQRR") << "Restart shows where the try began";
    EXPECT_TRUE(window->Try().Active());
    Key(Qt::Key_F10);
    EXPECT_FALSE(window->Try().Active());
    EXPECT_FALSE(board->Wood());
    EXPECT_TRUE(window->Item(TCommand::miBack1)->isEnabled());
    EXPECT_EQ(window->History().Find(1)->StudyBeforeSolve, 3);
}

// The keys and items that would set the problem up again or step the tree do nothing while a
// try is on: the try's moves stay, nothing is counted, and after Stop the problem goes on where
// it was.
TEST_F(Trying, TheProblemCommandsRestDuringATry) {
    Start();
    TGoGame* board = window->GoGame1;
    ClickPoint(board, 1, 1); // the right first move; the reply BA comes
    ASSERT_EQ(board->Process(), "QQRRAABA");
    Key(Qt::Key_F9);
    ClickPoint(board, 10, 10);
    const struct {
        const char* name;
        std::function<void()> press;
    } commands[] = {
        {"PgDn", [&] { Key(Qt::Key_PageDown); }},
        {"PgUp", [&] { Key(Qt::Key_PageUp); }},
        {"F8", [&] { Key(Qt::Key_F8); }},
        {"Display numbers", [&] { window->Item(TCommand::miDisplaynumbers1)->trigger(); }},
    };
    for (const auto& c : commands) {
        SCOPED_TRACE(c.name);
        c.press();
        EXPECT_EQ(board->Process(), "QQRRAABAJJ");
        EXPECT_TRUE(window->Try().Active());
        EXPECT_EQ(window->History().Find(1)->TakebackBeforeSolve, 0);
    }
    EXPECT_FALSE(window->Item(TCommand::btnProblemIndex)->isEnabled())
        << "the Index button shows that it does nothing";
    Key(Qt::Key_F10);
    EXPECT_EQ(board->Process(), "QQRRAABA");
    EXPECT_TRUE(window->Item(TCommand::btnProblemIndex)->isEnabled());
    ClickPoint(board, 3, 1);
    EXPECT_EQ(window->LabelResult->text(), "Success");
}

TEST_F(Trying, NothingIsCountedOnASolvedProblem) {
    Start();
    ClickPoint(window->GoGame1, 1, 1);
    ClickPoint(window->GoGame1, 3, 1);
    ASSERT_EQ(window->History().Find(1)->SolvedCount, 1);
    Key(Qt::Key_Escape);
    Key(Qt::Key_F9);
    ClickPoint(window->GoGame1, 10, 10);
    EXPECT_EQ(window->History().Find(1)->StudyBeforeSolve, 0);
}

TEST_F(Trying, TheStudyWindowCountsNothingAndStepsThroughTheGame) {
    Start();
    TGoGame* main = window->GoGame1;
    ClickPoint(main, 1, 1); // the tree answers BA
    const std::string before = main->Process();
    ASSERT_EQ(before, "QQRRAABA");
    window->Item(TCommand::miStudyAtNewWindow1)->setChecked(true);
    Key(Qt::Key_F9);
    TStudyForm* study = window->StudyForm();
    ASSERT_TRUE(study->isVisible());
    EXPECT_FALSE(window->Try().Active()) << "the main window keeps solving";
    TGoGame* board = study->GoGame1;
    EXPECT_EQ(board->Process(), before);
    EXPECT_EQ(board->GetCell(4, 4), kBlackStone) << "the problem's setup stones came along";

    ClickPoint(board, 10, 10);
    EXPECT_EQ(board->Process(), before + "JJ");
    EXPECT_EQ(main->Process(), before) << "the main board is unchanged";
    EXPECT_EQ(window->History().Find(1)->StudyBeforeSolve, 0);

    study->btnStudy->click(); // Restore: back to the game, the scroll bar shown
    EXPECT_EQ(board->Process(), before);
    study->sb1->setValue(3); // one step back
    EXPECT_EQ(board->Process(), "QQRRAA");
    study->sb1->setValue(1); // a jump: rebuilt from the start
    EXPECT_EQ(board->Process(), "QQ");
    EXPECT_EQ(board->GetCell(4, 4), kBlackStone);
    study->sb1->setValue(2);
    EXPECT_EQ(board->Process(), "QQRR");
    QTest::mouseClick(study->btn1, Qt::LeftButton);
    EXPECT_EQ(board->Process(), "");
    QTest::mouseClick(study->btnClose, Qt::LeftButton);
    EXPECT_FALSE(study->isVisible());
}

TEST_F(Trying, TheHintLock) {
    Start();
    QAction* allowed = window->Item(TCommand::miHintallowed1);
    ASSERT_TRUE(allowed->isChecked());
    Lock("", false);
    EXPECT_TRUE(allowed->isChecked()) << "Cancel changes nothing";
    Lock("");
    EXPECT_FALSE(allowed->isChecked());
    EXPECT_EQ(TQtSettingsStore().Get("HintPassword"), "");
    Lock("");
    EXPECT_TRUE(allowed->isChecked()) << "an empty entry opens an empty password";

    Lock("secret");
    EXPECT_EQ(TQtSettingsStore().Get("HintPassword")->size(), 12u);
    EXPECT_EQ(TQtSettingsStore().Get("HintAllowed"), "0");
    const int beeps = window->Beeps;
    ClickPoint(window->GoGame1, 19, 19);
    Key(Qt::Key_Right);
    EXPECT_EQ(window->Beeps, beeps + 1) << "a locked hint beeps";
    EXPECT_EQ(window->GoGame1->LabelColor(1, 1), 0u) << "and marks nothing";
    window->Loop().Hint(false);
    EXPECT_EQ(window->Beeps, beeps + 1) << "an internal hint is silent";

    Lock("wrong");
    EXPECT_EQ(window->Beeps, beeps + 2);
    EXPECT_FALSE(allowed->isChecked());

    // The lock survives a restart.
    window.reset();
    Start();
    allowed = window->Item(TCommand::miHintallowed1);
    EXPECT_FALSE(allowed->isChecked());
    Lock("", true, true);
    EXPECT_TRUE(allowed->isChecked()) << "forgot lifts the lock";
    EXPECT_EQ(TQtSettingsStore().Get("HintPassword"), "");
    Lock("again");
    Lock("again");
    EXPECT_TRUE(allowed->isChecked()) << "the right password opens it";
}

} // namespace
} // namespace karvena::test
