#include "solver/Solver.h"

#include <algorithm>
#include <chrono>

namespace karvena {

namespace {

enum class TOutcome : uint8_t { Unknown, Win, Loss }; // for the player

struct TNodeResult {
    TOutcome Outcome = TOutcome::Unknown;
    bool LeansOnRepetition = false; // true when a repetition of the line decided it
};

// Proven outcomes by position key; a new entry takes the slot of whatever was there.
class TTable {
public:
    explicit TTable(size_t bytes) {
        size_t slots = 1;
        while (slots * 2 * sizeof(TEntry) <= std::max<size_t>(bytes, sizeof(TEntry))) slots *= 2;
        m_Entries.assign(slots, TEntry{});
    }
    TOutcome Find(uint64_t key) const {
        const TEntry& entry = m_Entries[key & (m_Entries.size() - 1)];
        return entry.Key == key ? entry.Outcome : TOutcome::Unknown;
    }
    void Store(uint64_t key, TOutcome outcome) {
        m_Entries[key & (m_Entries.size() - 1)] = {key, outcome};
    }

private:
    struct TEntry {
        uint64_t Key = 0;
        TOutcome Outcome = TOutcome::Unknown;
    };
    std::vector<TEntry> m_Entries;
};

using TClock = std::chrono::steady_clock;

// What both searches of one question share: the budget, the clock and the table.
struct TShared {
    TSolverBudget Budget;
    TClock::time_point Start = TClock::now();
    int64_t Nodes = 0;
    bool Stopped = false;
    TTable Table;
    explicit TShared(const TSolverBudget& budget) : Budget(budget), Table(budget.TableBytes) {}
    int64_t Elapsed() const {
        return std::chrono::duration_cast<std::chrono::milliseconds>(TClock::now() - Start).count();
    }
    // Counts a node; true once the budget is spent or the search is cancelled.
    bool Spent() {
        ++Nodes;
        if (Stopped) return true;
        if (Budget.Nodes > 0 && Nodes > Budget.Nodes) Stopped = true;
        if ((Nodes & 255) == 0) {
            if (Budget.Cancel && Budget.Cancel->load(std::memory_order_relaxed)) Stopped = true;
            if (Budget.Milliseconds > 0 && Elapsed() >= Budget.Milliseconds) Stopped = true;
        }
        return Stopped;
    }
};

constexpr uint64_t kWhiteToMoveKey = 0x5A17E70D0B1ACC5Eull;
constexpr uint64_t kPassedKey = 0x0F1E2D3C4B5A6978ull;
constexpr uint64_t kKoForPlayerKey = 0x6B6F666F72706C61ull;

class TSearch {
public:
    TSearch(const TLifeAndDeath& problem, bool koForPlayer, TShared& shared)
        : m_Problem(problem), m_Board(problem.Board), m_InRegion(problem.RegionMask()),
          m_Player(problem.Player()), m_KoForPlayer(koForPlayer), m_Shared(shared) {}

    // Deepens until the question is settled, the budget is spent or the depth is beyond any
    // line the region allows.
    TOutcome Run() {
        const int deepest = 4 * static_cast<int>(m_Problem.Region.size()) + 8;
        for (int depth = 1; depth <= deepest; ++depth) {
            const TNodeResult result = Visit(m_Problem.ToMove, m_Problem.Passes, depth);
            if (result.Outcome != TOutcome::Unknown) return result.Outcome;
            if (m_Shared.Stopped) break;
        }
        return TOutcome::Unknown;
    }

    // The move of the side to move that reaches `outcome` (after Run has proven it), and the
    // line that follows: the player's proven moves against the opponent's first resistance.
    std::vector<int> Line(TOutcome outcome) {
        std::vector<int> line;
        TStone toMove = m_Problem.ToMove;
        int passes = m_Problem.Passes;
        const int deepest = 4 * static_cast<int>(m_Problem.Region.size()) + 8;
        while (static_cast<int>(line.size()) < 80 && !Settled(passes)) {
            const bool mine = (toMove == m_Player) == (outcome == TOutcome::Win);
            int chosen = -1;
            for (const int move : Moves(toMove)) {
                if (!PlayMove(move, toMove)) continue;
                m_Path.push_back(Key(toMove, passes));
                const TNodeResult r = Visit(Other(toMove), move == kPass ? passes + 1 : 0, deepest);
                m_Path.pop_back();
                m_Board.Undo();
                // The side the outcome is for plays a move that keeps it; the other side its
                // first move (every one of them fails).
                if (!mine || r.Outcome == outcome) {
                    chosen = move;
                    break;
                }
            }
            if (chosen < 0) break;
            m_Path.push_back(Key(toMove, passes));
            PlayMove(chosen, toMove);
            line.push_back(chosen);
            passes = chosen == kPass ? passes + 1 : 0;
            toMove = Other(toMove);
        }
        return line;
    }

private:
    static constexpr int kPass = TSolverBoard::kNoPoint;

    uint64_t Key(TStone toMove, int passes) const {
        return m_Board.Hash() ^ (toMove == TStone::White ? kWhiteToMoveKey : 0) ^
               (passes > 0 ? kPassedKey : 0) ^ (m_KoForPlayer ? kKoForPlayerKey : 0);
    }

    TOutcome ForPlayer(bool attackerWins) const {
        return attackerWins == (m_Player == m_Problem.Attacker) ? TOutcome::Win : TOutcome::Loss;
    }

    // Captured, alive or passed out: the line ends here.
    bool Settled(int passes) const {
        return m_Problem.TargetCaptured(m_Board) || passes >= 2 ||
               m_Problem.TargetAlive(m_Board, m_InRegion);
    }

    bool PlayMove(int move, TStone side) {
        if (move == kPass) {
            m_Board.Pass();
            return true;
        }
        // Whoever the ko rule of the search favours may retake a ko at once, as with threats
        // enough: the opponent when a win outright is asked, the player when a ko is.
        return m_Board.Play(move, side, m_KoForPlayer == (side == m_Player));
    }

    TNodeResult Visit(TStone toMove, int passes, int depth) {
        if (m_Problem.TargetCaptured(m_Board)) return {ForPlayer(true), false};
        if (passes >= 2) return {ForPlayer(false), false};
        const uint64_t key = Key(toMove, passes);
        if (std::find(m_Path.begin(), m_Path.end(), key) != m_Path.end())
            return {m_KoForPlayer ? TOutcome::Win : TOutcome::Loss, true};
        if (const TOutcome known = m_Shared.Table.Find(key); known != TOutcome::Unknown)
            return {known, false};
        if (m_Shared.Spent()) return {};
        // Life is looked for after the defender's moves and passes (and at the start): an
        // attacker's move seldom makes it, and the defender's next move looks again.
        const bool defenderMoved = toMove == m_Problem.Attacker || passes > 0 || m_Path.empty();
        if (defenderMoved && m_Problem.TargetAlive(m_Board, m_InRegion)) {
            m_Shared.Table.Store(key, ForPlayer(false));
            return {ForPlayer(false), false};
        }
        if (depth <= 0) return {};

        const bool players = toMove == m_Player;
        const TOutcome wanted = players ? TOutcome::Win : TOutcome::Loss;
        const TOutcome otherwise = players ? TOutcome::Loss : TOutcome::Win;
        TNodeResult result{otherwise, false};
        bool open = false;
        m_Path.push_back(key);
        for (const int move : Moves(toMove)) {
            if (!PlayMove(move, toMove)) continue;
            const TNodeResult child = Visit(Other(toMove), move == kPass ? passes + 1 : 0, depth - 1);
            m_Board.Undo();
            if (child.Outcome == wanted) {
                result = child; // this move alone decides
                open = false;
                break;
            }
            if (child.Outcome == TOutcome::Unknown) open = true;
            result.LeansOnRepetition |= child.LeansOnRepetition;
            if (m_Shared.Stopped) {
                open = true;
                break;
            }
        }
        m_Path.pop_back();
        if (open) return {};
        if (!result.LeansOnRepetition) m_Shared.Table.Store(key, result.Outcome);
        return result;
    }

    // The empty points of the region in a useful order (the target's liberties first, then
    // points next to stones), the pass last.
    std::vector<int> Moves(TStone) const {
        std::vector<std::pair<int, int>> scored;
        for (const int p : m_Problem.Region) {
            if (m_Board.At(p) != TStone::Empty) continue;
            int score = 0;
            for (const int d : TSolverBoard::kDirections) {
                const TStone n = m_Board.At(p + d);
                if (n == TStone::Black || n == TStone::White) score += 2;
                if (n == m_Problem.Defender() && IsTarget(p + d)) score += 3;
            }
            scored.emplace_back(-score, p);
        }
        std::stable_sort(scored.begin(), scored.end());
        std::vector<int> moves;
        moves.reserve(scored.size() + 1);
        for (const auto& [score, p] : scored)
            moves.push_back(p);
        moves.push_back(kPass);
        return moves;
    }

    bool IsTarget(int point) const {
        return std::find(m_Problem.Target.begin(), m_Problem.Target.end(), point) !=
               m_Problem.Target.end();
    }

    const TLifeAndDeath& m_Problem;
    TSolverBoard m_Board;
    const std::vector<bool> m_InRegion;
    const TStone m_Player;
    const bool m_KoForPlayer;
    TShared& m_Shared;
    std::vector<uint64_t> m_Path;
};

} // namespace

TSolveResult Solve(const TLifeAndDeath& problem, const TSolverBudget& budget) {
    TShared shared(budget);
    TSolveResult result;
    auto finish = [&](TSolverVerdict verdict, TSearch* search, TOutcome outcome) {
        result.Verdict = verdict;
        if (search) {
            result.Line = search->Line(outcome);
            if (!result.Line.empty()) result.Best = result.Line.front();
        }
        result.Nodes = shared.Nodes;
        result.Milliseconds = shared.Elapsed();
        return result;
    };
    TSearch outright(problem, false, shared);
    const TOutcome first = outright.Run();
    if (first == TOutcome::Win) return finish(TSolverVerdict::Win, &outright, TOutcome::Win);
    TSearch withKo(problem, true, shared);
    const TOutcome second = withKo.Run();
    if (second == TOutcome::Loss) return finish(TSolverVerdict::Loss, &withKo, TOutcome::Loss);
    if (first == TOutcome::Loss && second == TOutcome::Win)
        return finish(TSolverVerdict::Ko, &withKo, TOutcome::Win);
    return finish(TSolverVerdict::Unknown, nullptr, TOutcome::Unknown);
}

std::vector<TJudgedMove> JudgeMoves(const TLifeAndDeath& problem, const TSolverBudget& budget) {
    std::vector<TJudgedMove> judged;
    std::vector<int> moves;
    for (const int p : problem.Region)
        if (problem.Board.At(p) == TStone::Empty) moves.push_back(p);
    moves.push_back(TSolverBoard::kNoPoint);
    for (const int move : moves) {
        TLifeAndDeath after = problem;
        if (move == TSolverBoard::kNoPoint)
            after.Board.Pass();
        else if (!after.Board.Play(move, problem.ToMove))
            continue;
        after.ToMove = Other(problem.ToMove);
        after.Passes = move == TSolverBoard::kNoPoint ? problem.Passes + 1 : 0;
        judged.push_back({move, Solve(after, budget).Verdict});
    }
    return judged;
}

} // namespace karvena
