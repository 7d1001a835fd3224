// The solver against a plain exhaustive search written only for this test: the same rules (the
// solver's board, the target, passes, repetitions, the confirmation of a ko the attacker wins),
// but no table, no Benson, no depth limit and
// no move order. On seeded random positions in the corner, on the edge and in the centre, with
// small regions, both must give the same verdict whenever the plain search finishes.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "solver/Solver.h"

namespace karvena::test {
namespace {

enum class TPlain { Unknown, Win, Loss };

// How a ko may be retaken: at once by the opponent, at once by the player, or by neither (a
// confirmation: play has stopped and no side has a threat left).
enum class TRetake { Opponent, Player, Neither };

// Minimax over every line, repetitions decided by the ko rule asked for. With `confirmEnds`, a
// line that passes out with the target standing goes on as a confirmation: the attacker moves
// first, no ko is retaken at once, and the target is dead when the attacker takes it so.
class TPlainSearch {
public:
    TPlainSearch(const TLifeAndDeath& problem, TRetake retake, int64_t cap, bool confirmEnds = false)
        : m_Problem(problem), m_Board(problem.Board), m_Retake(retake),
          m_KoForPlayer(retake == TRetake::Player), m_ConfirmEnds(confirmEnds), m_Cap(cap) {}

    TPlain Run() { return Visit(m_Problem.ToMove, m_Problem.Passes); }
    int64_t Nodes() const { return m_Nodes; }

private:
    TPlain ForPlayer(bool attackerWins) const {
        return attackerWins == (m_Problem.Player() == m_Problem.Attacker) ? TPlain::Win : TPlain::Loss;
    }
    TPlain Visit(TStone toMove, int passes) {
        if (m_Problem.TargetCaptured(m_Board)) return ForPlayer(true);
        if (passes >= 2) {
            // Passed out: a chain of the target left in atari, or one whose last liberty is the
            // target's too, is the attacker's; the rest lives.
            const auto inRegion = [&](int p) {
                return std::find(m_Problem.Region.begin(), m_Problem.Region.end(), p) != m_Problem.Region.end();
            };
            const auto ofTheTarget = [&](int stone) {
                for (const int s : m_Board.ChainOf(stone))
                    if (std::find(m_Problem.Target.begin(), m_Problem.Target.end(), s) != m_Problem.Target.end())
                        return true;
                return false;
            };
            bool atari = false;
            for (const int p : m_Problem.Region) {
                if (m_Board.At(p) != m_Problem.Defender() || m_Board.Liberties(p, 2) != 1) continue;
                for (const int s : m_Board.ChainOf(p))
                    for (const int d : TSolverBoard::kDirections) {
                        const int liberty = s + d;
                        if (m_Board.At(liberty) != TStone::Empty || !inRegion(liberty)) continue;
                        atari = atari || ofTheTarget(p);
                        for (const int e : TSolverBoard::kDirections)
                            atari = atari || (m_Board.At(liberty + e) == m_Problem.Defender() && ofTheTarget(liberty + e));
                    }
            }
            if (atari || !m_ConfirmEnds) return ForPlayer(atari);
            TLifeAndDeath end = m_Problem;
            end.Board = m_Board;
            end.Goal = TLifeGoal::Kill;
            end.ToMove = m_Problem.Attacker;
            end.Passes = 0;
            TPlainSearch confirmation(end, TRetake::Neither, m_Cap);
            const TPlain dead = confirmation.Run();
            m_Nodes += confirmation.Nodes();
            if (dead == TPlain::Unknown) return dead;
            return ForPlayer(dead == TPlain::Win);
        }
        const uint64_t key = m_Board.Hash() ^ (toMove == TStone::White ? 1 : 2) ^
                             (passes > 0 ? 0x100 : 0);
        if (std::find(m_Path.begin(), m_Path.end(), key) != m_Path.end())
            return m_KoForPlayer ? TPlain::Win : TPlain::Loss;
        if (++m_Nodes > m_Cap) return TPlain::Unknown;
        const bool players = toMove == m_Problem.Player();
        const TPlain wanted = players ? TPlain::Win : TPlain::Loss;
        m_Path.push_back(key);
        TPlain result = players ? TPlain::Loss : TPlain::Win;
        std::vector<int> moves;
        for (const int p : m_Problem.Region)
            if (m_Board.At(p) == TStone::Empty) moves.push_back(p);
        moves.push_back(TSolverBoard::kNoPoint);
        for (const int move : moves) {
            if (move == TSolverBoard::kNoPoint)
                m_Board.Pass();
            else if (!m_Board.Play(move, toMove, m_Retake != TRetake::Neither && m_KoForPlayer == players))
                continue;
            const TPlain child = Visit(Other(toMove), move == TSolverBoard::kNoPoint ? passes + 1 : 0);
            m_Board.Undo();
            if (child == wanted || child == TPlain::Unknown) {
                result = child;
                break;
            }
        }
        m_Path.pop_back();
        return result;
    }

    const TLifeAndDeath& m_Problem;
    TSolverBoard m_Board;
    const TRetake m_Retake;
    const bool m_KoForPlayer;
    const bool m_ConfirmEnds;
    const int64_t m_Cap;
    int64_t m_Nodes = 0;
    std::vector<uint64_t> m_Path;
};

// Kos the attacker wins that the plain search found won outright (see PlainVerdict).
int g_ConfirmedKills = 0;

TSolverVerdict PlainVerdict(const TLifeAndDeath& problem, int64_t cap) {
    const TPlain outright = TPlainSearch(problem, TRetake::Opponent, cap).Run();
    if (outright == TPlain::Win) return TSolverVerdict::Win;
    if (outright == TPlain::Unknown) return TSolverVerdict::Unknown;
    const TPlain withKo = TPlainSearch(problem, TRetake::Player, cap).Run();
    if (withKo == TPlain::Unknown) return TSolverVerdict::Unknown;
    if (withKo == TPlain::Loss) return TSolverVerdict::Loss;
    // A ko the attacker wins: won outright when it is one the defender can never start.
    if (problem.Goal == TLifeGoal::Kill) {
        const TPlain confirmed = TPlainSearch(problem, TRetake::Opponent, cap, true).Run();
        if (confirmed == TPlain::Unknown) return TSolverVerdict::Unknown;
        if (confirmed == TPlain::Win) {
            ++g_ConfirmedKills;
            return TSolverVerdict::Win;
        }
    }
    return TSolverVerdict::Ko;
}

// A random question: a rectangle of the board (in the corner, on the edge or in the centre)
// walled in by the attacker's stones, which keep liberties outside it; inside, random stones of
// both sides with at most `maxEmpty` empty points; the target the defender's largest chain.
// `koRich` plants a ko on the first line (a stone that can be taken and retaken at once) and
// fills the rest more densely.
std::optional<TLifeAndDeath> RandomQuestion(std::mt19937& random, int where, int maxEmpty,
                                            bool koRich = false) {
    TLifeAndDeath q;
    const int w = koRich ? 4 : 2 + static_cast<int>(random() % 3), h = 2 + static_cast<int>(random() % 2);
    const int x0 = where == 0 ? 1 : where == 1 ? 7 : 8;
    const int y0 = where == 2 ? 8 : 1;
    q.Attacker = random() % 2 ? TStone::Black : TStone::White;
    const TStone defender = q.Defender();
    auto inside = [&](int x, int y) { return x >= x0 && x < x0 + w && y >= y0 && y < y0 + h; };
    for (int x = x0 - 1; x <= x0 + w; ++x)
        for (int y = y0 - 1; y <= y0 + h; ++y) {
            if (x < 1 || y < 1 || inside(x, y)) continue;
            q.Board.Set(TSolverBoard::PointOf(x, y), q.Attacker);
        }
    int empty = 0;
    for (int x = x0; x < x0 + w; ++x)
        for (int y = y0; y < y0 + h; ++y) {
            const int p = TSolverBoard::PointOf(x, y);
            q.Region.push_back(p);
            const int roll = static_cast<int>(random() % 100);
            const int defenders = koRich ? 38 : 40, attackers = koRich ? 62 : 52;
            q.Board.Set(p, roll < defenders ? defender : roll < attackers ? q.Attacker : TStone::Empty);
        }
    if (koRich && y0 == 1) {
        // X O . O on the first line, . X O . above it: X takes at the gap, O may take back.
        const TStone x = random() % 2 ? TStone::Black : TStone::White, o = Other(x);
        const TStone firstLine[4] = {x, o, TStone::Empty, o}, secondLine[4] = {TStone::Empty, x, o, TStone::Empty};
        for (int i = 0; i < 4; ++i) {
            q.Board.Set(TSolverBoard::PointOf(x0 + i, 1), firstLine[i]);
            q.Board.Set(TSolverBoard::PointOf(x0 + i, 2), secondLine[i]);
        }
    }
    // No chain without a liberty: such stones go.
    for (const int p : q.Region)
        if (q.Board.At(p) != TStone::Empty && q.Board.Liberties(p, 1) == 0)
            for (const int c : q.Board.ChainOf(p))
                q.Board.Set(c, TStone::Empty);
    for (const int p : q.Region) {
        empty += q.Board.At(p) == TStone::Empty;
        if (q.Board.At(p) == defender && q.Board.ChainOf(p).size() > q.Target.size())
            q.Target = q.Board.ChainOf(p);
    }
    if (q.Target.empty() || empty == 0 || empty > maxEmpty) return std::nullopt;
    q.ToMove = random() % 2 ? TStone::Black : TStone::White;
    q.Goal = q.ToMove == q.Attacker ? TLifeGoal::Kill : TLifeGoal::Live;
    if (random() % 4 == 0) q.Goal = q.Goal == TLifeGoal::Kill ? TLifeGoal::Live : TLifeGoal::Kill;
    return q;
}

// A question drawn inside its region made playable: chains without a liberty taken off, the
// target the defender's largest chain (none under four stones), a side to move and the goal of
// whoever it is.
std::optional<TLifeAndDeath> Finished(TLifeAndDeath q, std::mt19937& random) {
    for (const int p : q.Region)
        if (q.Board.At(p) != TStone::Empty && q.Board.Liberties(p, 1) == 0)
            for (const int c : q.Board.ChainOf(p))
                q.Board.Set(c, TStone::Empty);
    for (const int p : q.Region)
        if (q.Board.At(p) == q.Defender() && q.Board.ChainOf(p).size() > q.Target.size())
            q.Target = q.Board.ChainOf(p);
    if (q.Target.size() < 4) return std::nullopt;
    q.ToMove = random() % 2 ? TStone::Black : TStone::White;
    q.Goal = q.ToMove == q.Attacker ? TLifeGoal::Kill : TLifeGoal::Live;
    return q;
}

// A random eye space: in the corner or on the edge, a rectangle filled with the defender's
// stones around a connected space of three to six points grown at random, walled in by the
// attacker's stones with liberties outside; at times an attacker's stone or two inside the
// space, and at times a point of the rectangle's rim left empty beside the wall.
std::optional<TLifeAndDeath> RandomEyeSpace(std::mt19937& random, int where) {
    TLifeAndDeath q;
    const int w = 3 + static_cast<int>(random() % 3), h = 3;
    const int x0 = where == 0 ? 1 : 7, y0 = 1;
    q.Attacker = random() % 2 ? TStone::Black : TStone::White;
    const TStone defender = q.Defender();
    auto inside = [&](int x, int y) { return x >= x0 && x < x0 + w && y >= y0 && y < y0 + h; };
    for (int x = x0 - 1; x <= x0 + w; ++x)
        for (int y = y0 - 1; y <= y0 + h; ++y)
            if (x >= 1 && y >= 1 && !inside(x, y)) q.Board.Set(TSolverBoard::PointOf(x, y), q.Attacker);
    for (int x = x0; x < x0 + w; ++x)
        for (int y = y0; y < y0 + h; ++y) {
            q.Region.push_back(TSolverBoard::PointOf(x, y));
            q.Board.Set(q.Region.back(), defender);
        }
    // The space grows from a point of the first two lines, away from the wall's side.
    const int size = 3 + static_cast<int>(random() % 4);
    std::vector<int> space{TSolverBoard::PointOf(x0 + static_cast<int>(random() % (w - 1)) + (where == 1),
                                                 1 + static_cast<int>(random() % 2))};
    for (int tries = 0; static_cast<int>(space.size()) < size && tries < 100; ++tries) {
        const int from = space[random() % space.size()];
        const int to = from + TSolverBoard::kDirections[random() % 4];
        const int x = TSolverBoard::XOf(to), y = TSolverBoard::YOf(to);
        if (!inside(x, y) || std::count(space.begin(), space.end(), to)) continue;
        space.push_back(to);
    }
    for (const int p : space)
        q.Board.Set(p, TStone::Empty);
    const int intruders = static_cast<int>(random() % 3);
    for (int i = 0; i < intruders; ++i)
        q.Board.Set(space[random() % space.size()], q.Attacker);
    if (random() % 3 == 0) {
        const int p = q.Region[random() % q.Region.size()];
        const bool rim = std::any_of(std::begin(TSolverBoard::kDirections), std::end(TSolverBoard::kDirections),
                                     [&](int d) { return !inside(TSolverBoard::XOf(p + d), TSolverBoard::YOf(p + d)) &&
                                                         q.Board.At(p + d) == q.Attacker; });
        if (rim) q.Board.Set(p, TStone::Empty);
    }
    return Finished(std::move(q), random);
}

// A corner where the attacker's chain on the first line, from the corner point, shares the
// defender's last liberties (the point beyond its end and the one below the corner): the
// defender's group around it, the attacker's wall outside; at times a point of the group left
// empty or another attacker's stone inside. Such corners end in seki or in a bent four.
std::optional<TLifeAndDeath> RandomCornerSeki(std::mt19937& random) {
    TLifeAndDeath q;
    const int w = 5 + static_cast<int>(random() % 2), h = 3;
    q.Attacker = random() % 2 ? TStone::Black : TStone::White;
    const TStone defender = q.Defender();
    for (int x = 1; x <= w + 1; ++x)
        for (int y = 1; y <= h + 1; ++y) {
            const int p = TSolverBoard::PointOf(x, y);
            if (x <= w && y <= h) {
                q.Region.push_back(p);
                q.Board.Set(p, defender);
            } else {
                q.Board.Set(p, q.Attacker);
            }
        }
    const int length = 2 + static_cast<int>(random() % 3);
    for (int x = 1; x <= length; ++x)
        q.Board.Set(TSolverBoard::PointOf(x, 1), q.Attacker);
    q.Board.Set(TSolverBoard::PointOf(length + 1, 1), TStone::Empty);
    q.Board.Set(TSolverBoard::PointOf(1, 2), TStone::Empty);
    for (int extra = static_cast<int>(random() % 3); extra > 0; --extra) {
        const int p = q.Region[random() % q.Region.size()];
        q.Board.Set(p, random() % 3 == 0 ? q.Attacker : TStone::Empty);
    }
    return Finished(std::move(q), random);
}

struct TTally {
    int Compared = 0, Skipped = 0;
    int Verdicts[4] = {};
};

// One question compared when the plain search finishes within `cap` positions; `what` names it.
void CompareOne(const TLifeAndDeath& q, int64_t cap, TTally& tally, const std::string& what) {
    const TSolverVerdict plain = PlainVerdict(q, cap);
    if (plain == TSolverVerdict::Unknown) {
        ++tally.Skipped;
        return;
    }
    TSolverBudget budget;
    budget.TableBytes = size_t{1} << 20;
    ASSERT_EQ(VerdictName(Solve(q, budget).Verdict), std::string(VerdictName(plain))) << what;
    ++tally.Compared;
    ++tally.Verdicts[static_cast<int>(plain)];
}

// `count` questions per place of at most `maxEmpty` empty points, each compared when the plain
// search finishes within `cap` positions.
void Compare(std::mt19937& random, int count, int maxEmpty, int64_t cap, TTally& tally,
             bool koRich = false) {
    const char* const places[] = {"corner", "edge", "centre"};
    for (int where = 0; where < 3; ++where) {
        int made = 0;
        while (made < count) {
            const std::optional<TLifeAndDeath> q = RandomQuestion(random, where, maxEmpty, koRich);
            if (!q) continue;
            ++made;
            const TSolverVerdict plain = PlainVerdict(*q, cap);
            if (plain == TSolverVerdict::Unknown) {
                ++tally.Skipped;
                continue;
            }
            TSolverBudget budget;
            budget.TableBytes = size_t{1} << 20;
            const TSolveResult solved = Solve(*q, budget);
            ASSERT_EQ(VerdictName(solved.Verdict), std::string(VerdictName(plain)))
                << places[where] << " question " << made << " of at most " << maxEmpty
                << " empty points";
            ++tally.Compared;
            ++tally.Verdicts[static_cast<int>(plain)];
        }
    }
}

TEST(SolverOracle, AgreesWithThePlainSearchOnSmallRegions) {
    std::mt19937 random(20261209);
    TTally tally;
    Compare(random, 700, 7, 50000, tally);
    TTally larger;
    Compare(random, 15, 10, 600000, larger);
    EXPECT_GT(larger.Compared, 15) << "questions of up to ten empty points";
    EXPECT_GT(tally.Compared, 2000) << tally.Skipped << " left to the plain search's cap";
    EXPECT_GT(tally.Verdicts[static_cast<int>(TSolverVerdict::Win)], 300);
    EXPECT_GT(tally.Verdicts[static_cast<int>(TSolverVerdict::Loss)], 300);
    // Few of these small random shapes end in a ko that only the attacker can win outright: a
    // ko the defender can only prolong is death. The shapes full of captures below hold the kos.
    EXPECT_GT(tally.Verdicts[static_cast<int>(TSolverVerdict::Ko)], 0) << "kos must be among them";
}

TEST(SolverOracle, AgreesOnEyeSpaces) {
    std::mt19937 random(5);
    TTally tally;
    for (int where = 0; where < 2; ++where)
        for (int made = 0; made < 1200;) {
            const std::optional<TLifeAndDeath> q = RandomEyeSpace(random, where);
            if (!q) continue;
            ++made;
            ASSERT_NO_FATAL_FAILURE(CompareOne(*q, 300000, tally,
                                               std::string(where == 0 ? "corner" : "edge") +
                                                   " eye space " + std::to_string(made)));
        }
    EXPECT_GT(tally.Compared, 2000) << tally.Skipped << " left to the plain search's cap";
    EXPECT_GT(tally.Verdicts[static_cast<int>(TSolverVerdict::Win)], 100);
    EXPECT_GT(tally.Verdicts[static_cast<int>(TSolverVerdict::Loss)], 100);
}

// Corners that pass out into seki or a bent four: a ko only the attacker can start is the
// attacker's win, for the plain search as for the solver.
TEST(SolverOracle, AgreesOnCornersThatPassOut) {
    std::mt19937 random(1949);
    TTally tally;
    g_ConfirmedKills = 0;
    for (int made = 0; made < 1500;) {
        const std::optional<TLifeAndDeath> q = RandomCornerSeki(random);
        if (!q) continue;
        ++made;
        ASSERT_NO_FATAL_FAILURE(CompareOne(*q, 300000, tally, "corner " + std::to_string(made)));
    }
    EXPECT_GT(tally.Compared, 1000) << tally.Skipped << " left to the plain search's cap";
    EXPECT_GT(g_ConfirmedKills, 10) << "kos only the attacker can start must be among them";
    EXPECT_GT(tally.Verdicts[static_cast<int>(TSolverVerdict::Loss)], 50) << "and sekis";
}

TEST(SolverOracle, AgreesOnShapesFullOfCaptures) {
    std::mt19937 random(91);
    TTally tally;
    Compare(random, 1200, 7, 50000, tally, true);
    EXPECT_GT(tally.Compared, 3000) << tally.Skipped << " left to the plain search's cap";
    EXPECT_GT(tally.Verdicts[static_cast<int>(TSolverVerdict::Ko)], 25) << "kos must be many";
}

} // namespace
} // namespace karvena::test
