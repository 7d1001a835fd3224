// A move the tree does not list, judged in the window: the solver works on its own thread while
// the window goes on, the board refuses clicks meanwhile, and the verdict shows.
#include <gtest/gtest.h>

#include <QTimer>
#include <fstream>

#include "shell/TrainerFixture.h"

namespace karvena::test {
namespace {

std::string TwoAnswers() {
    std::ifstream in(std::string(KARVENA_TEST_DATA) + "/solver/two-answers.sgf", std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

class SolverWindow : public TTrainerFixture {
protected:
    // Group 2: the two-answers problem (BA listed, CC not), and a group of three stones in
    // open space that the solver cannot settle in a second.
    std::vector<TProblemRow> Problems() override {
        return {ImportedRow(TwoAnswers(), 1, 2),
                ImportedRow("(;SZ[19]C[Black to live.]AB[jj][jk][kj]AW[gg][gn][ng][nn][jg][gj]"
                            "(;B[kk]C[Correct])(;B[hh];W[ii])(;B[mm];W[ll])(;B[hm];W[il])(;B[mh];W[li]))",
                            2, 2)};
    }
    void Open(int column) {
        OpenWindow();
        ClickThumbnail(1, column);
        ASSERT_EQ(window->Pages->currentWidget(), window->tsProblem);
    }
    bool WaitForTheVerdict() {
        return QTest::qWaitFor([&] { return !window->Loop().Thinking(); }, 20000);
    }
};

TEST_F(SolverWindow, TheWindowGoesOnWhileTheSolverThinks) {
    Open(2);
    window->Loop().Options().SolverBudgetMs = 1500;
    int firedWhileThinking = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] { firedWhileThinking += window->Loop().Thinking(); });
    timer.start(20);
    ClickPoint(10, 12); // JL: not among the tree's moves
    ASSERT_TRUE(window->Loop().Thinking()) << "the click returned before the verdict";
    EXPECT_EQ(window->LabelResult->text(), "Thinking…");
    const std::string before = window->GoGame1->Process();
    ClickPoint(13, 13);
    EXPECT_EQ(window->GoGame1->Process(), before) << "the board takes no move while it thinks";
    ASSERT_TRUE(WaitForTheVerdict());
    EXPECT_GT(firedWhileThinking, 5) << "the window's events went on during the search";
    EXPECT_EQ(window->LabelResult->text(), "Failure") << "unsettled: the tree's verdict";
    EXPECT_EQ(window->LabelStdResult->text(), "This move is not among the problem's answers");
}

TEST_F(SolverWindow, AMoveTheTreeLacksWorksAndTheSolverAnswers) {
    Open(1);
    ClickPoint(3, 3); // CC
    ASSERT_TRUE(WaitForTheVerdict());
    EXPECT_EQ(window->LabelStdResult->text(), "This also works");
    EXPECT_EQ(window->LabelResult->text(), "");
    EXPECT_EQ(window->GoGame1->Process().size(), 4u) << "the solver's answer is on the board";
    EXPECT_LT(window->GoGame1->GetCell(LetterToCoord(window->GoGame1->Process()[2]),
                                      LetterToCoord(window->GoGame1->Process()[3])),
              0)
        << "a white stone";
    const std::string answered = window->GoGame1->Process();
    ClickPoint(4, 3); // DC: lets White take the group
    ASSERT_TRUE(WaitForTheVerdict());
    EXPECT_EQ(window->LabelResult->text(), "Failure");
    EXPECT_EQ(window->GoGame1->Process().size(), answered.size() + 4) << "refuted on the board";
}

// A problem that states no goal has it looked for as it opens, while the player thinks: the
// history holds it before any move is played.
TEST_F(SolverWindow, TheGoalIsLookedForWhileThePlayerThinks) {
    Open(1);
    EXPECT_FALSE(window->Loop().Thinking()) << "the board is the player's meanwhile";
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->History().SolverVerdict(1, "goal").has_value(); }, 10000));
    EXPECT_EQ(window->History().SolverVerdict(1, "goal")->Verdict, static_cast<int>(TJudgeGoal::Live));
    ClickPoint(3, 3);
    ASSERT_TRUE(WaitForTheVerdict());
    EXPECT_EQ(window->LabelStdResult->text(), "This also works");
}

TEST_F(SolverWindow, AnotherProblemDropsTheJudgementUnderWay) {
    Open(2);
    window->Loop().Options().SolverBudgetMs = 5000;
    ClickPoint(10, 12);
    ASSERT_TRUE(window->Loop().Thinking());
    Key(Qt::Key_Escape); // solve again
    EXPECT_FALSE(window->Loop().Thinking());
    EXPECT_EQ(window->GoGame1->Process(), "");
    QTest::qWait(200);
    EXPECT_EQ(window->LabelResult->text(), "") << "no verdict arrives for the move taken away";
    ClickPoint(9, 9); // the tree's move: the board takes moves again
    EXPECT_EQ(window->GoGame1->Process(), "II");
}

TEST_F(SolverWindow, TheOptionIsStoredWithTheCloseSettings) {
    OpenWindow();
    QAction* item = window->Item(TCommand::miJudgeMoves1);
    EXPECT_TRUE(item->isChecked()) << "on by default";
    EXPECT_EQ(item->text(), "&Judge moves the answer does not list");
    item->trigger();
    EXPECT_FALSE(window->Loop().Options().JudgeMovesTheAnswerDoesNotList);
    window->close();
    window.reset();
    EXPECT_EQ(Stored("JudgeMovesTheAnswerDoesNotList"), "0");
    OpenWindow();
    EXPECT_FALSE(window->Item(TCommand::miJudgeMoves1)->isChecked());
    EXPECT_FALSE(window->Loop().Options().JudgeMovesTheAnswerDoesNotList);
    ClickThumbnail(1, 1);
    ClickPoint(3, 3);
    EXPECT_FALSE(window->Loop().Thinking());
    EXPECT_EQ(window->LabelResult->text(), "Failure") << "the tree alone answers";
}

} // namespace
} // namespace karvena::test
