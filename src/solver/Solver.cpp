#include "solver/Solver.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdint>

#include "solver/ProofTable.h"

namespace karvena {

using namespace proof;

namespace {

enum class TOutcome : uint8_t { Unknown, Win, Loss }; // for the player

using TTable = TSolverTable::TTable;
using TClock = std::chrono::steady_clock;

// What both searches of one question share: the budget, the clock and the table.
struct TShared {
    TSolverBudget Budget;
    TClock::time_point Start = TClock::now();
    int64_t Nodes = 0;
    bool Stopped = false;
    TTable& Table;
    TShared(const TSolverBudget& budget, TTable& table) : Budget(budget), Table(table) {}
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
            if (Budget.Deadline != TClock::time_point{} && TClock::now() >= Budget.Deadline) Stopped = true;
        }
        return Stopped;
    }
    // Room to read the proving line out of a finished search: a few more nodes, no clock.
    void AllowForTheLine() {
        Stopped = false;
        Budget.Nodes = Nodes + std::max<int64_t>(20000, Nodes / 4);
        Budget.Milliseconds = 0;
        Budget.Deadline = {};
    }
};

constexpr uint64_t kWhiteToMoveKey = 0x5A17E70D0B1ACC5Eull;
constexpr uint64_t kPassedKey = 0x0F1E2D3C4B5A6978ull;
constexpr uint64_t kKoForPlayerKey = 0x6B6F666F72706C61ull;
constexpr uint64_t kConfirmationKey = 0x636F6E6669726D21ull;
constexpr uint64_t kConfirmedEndsKey = 0x656E6473636F6E66ull;

// How a search lets a ko be retaken. Outright: the opponent at once, the player never (a win
// whatever threats the opponent has). KoForPlayer: the other way round (a ko the player wins).
// Confirmation: neither at once, as when play has stopped and no side has a threat left; the
// rule by which a group that passes out is judged (see Confirmed).
enum class TKoRule { Outright, KoForPlayer, Confirmation };

// Nodes one simulation may visit before the move it tries is searched as any other.
constexpr int64_t kSimulationNodes = 1000;
// Work a refuted sibling must have taken to be worth replaying (a single position is not).
constexpr uint32_t kSimulationWorth = 2;

// Nodes one confirmation may visit before the end it judges is taken as it stands.
constexpr int64_t kConfirmationNodes = 4000;

// The positions of the line being searched, with a quick filter before the scan.
class TPath {
public:
    void Push(uint64_t key) {
        m_Keys.push_back(key);
        ++m_Seen[key & kMask];
    }
    void Pop() {
        --m_Seen[m_Keys.back() & kMask];
        m_Keys.pop_back();
    }
    bool Holds(uint64_t key) const {
        return m_Seen[key & kMask] > 0 && std::find(m_Keys.begin(), m_Keys.end(), key) != m_Keys.end();
    }
    int Size() const { return static_cast<int>(m_Keys.size()); }

private:
    static constexpr uint64_t kMask = 4095;
    std::vector<uint64_t> m_Keys;
    std::array<uint16_t, kMask + 1> m_Seen{};
};

// One proof-number search (depth-first, df-pn): from the question's position it always goes
// down the line that looks cheapest to settle, as far as thresholds on the proof and disproof
// numbers allow, and comes back up when a cheaper line appears elsewhere.
class TSearch {
public:
    // With `confirmEnds`, a line that passes out is judged by a confirmation (Confirmed).
    TSearch(const TLifeAndDeath& problem, TKoRule koRule, TShared& shared, bool confirmEnds = false)
        : m_Problem(problem), m_Board(problem.Board), m_InRegion(problem.RegionMask()),
          m_Player(problem.Player()), m_KoRule(koRule), m_KoForPlayer(koRule == TKoRule::KoForPlayer),
          m_ConfirmEnds(confirmEnds), m_Shared(shared),
          m_Deepest(4 * static_cast<int>(problem.Region.size()) + 8), m_Salt(SaltOf(problem)),
          m_Preferred(TSolverBoard::kCells, false), m_IsTarget(TSolverBoard::kCells, false),
          m_Beyond(TSolverBoard::kCells, false) {
        for (const int p : problem.Beyond)
            if (p > 0 && p < TSolverBoard::kCells) m_Beyond[static_cast<size_t>(p)] = true;
        for (const int p : problem.Preferred)
            if (p > 0 && p < TSolverBoard::kCells) m_Preferred[static_cast<size_t>(p)] = true;
        for (const int p : problem.Target)
            if (p > 0 && p < TSolverBoard::kCells) m_IsTarget[static_cast<size_t>(p)] = true;
    }

    TOutcome Run() {
        const TNumbers root = Prove(m_Problem.ToMove, m_Problem.Passes, kInfinity, kInfinity);
        m_RootLeans = root.Leans;
        if (root.Leans & kLeansOnHorizon) return TOutcome::Unknown;
        return root.Won() ? TOutcome::Win : root.Lost() ? TOutcome::Loss : TOutcome::Unknown;
    }
    // True when the answer of Run holds under any ko rule: no ko and no repetition on the way.
    bool WithoutKo() const { return (m_RootLeans & (kLeansOnKo | kLeansOnRepetition)) == 0; }

    // The move of the side to move that reaches `outcome` (after Run has proven it), and the
    // line that follows: the quickest proven move of the side the outcome is for, against the
    // other side's most stubborn resistance.
    std::vector<int> Line(TOutcome outcome) {
        m_Shared.AllowForTheLine();
        std::vector<int> line;
        TStone toMove = m_Problem.ToMove;
        int passes = m_Problem.Passes;
        while (static_cast<int>(line.size()) < 80 && !Settled(passes)) {
            const bool mine = (toMove == m_Player) == (outcome == TOutcome::Win);
            // A position met before on the line: from here it goes round (a ko retaken).
            if (m_Path.Holds(Key(toMove, passes))) break;
            m_Path.Push(Key(toMove, passes));
            // A move of the side the outcome is for that the table already holds as proven is
            // taken before any is searched again: a search of another could spend the room.
            int chosen = mine ? ProvenMove(toMove, passes, outcome) : -1;
            uint32_t chosenWork = 0;
            for (const int move : chosen >= 0 ? std::vector<int>{} : Moves(toMove)) {
                if (!PlayMove(move, toMove)) continue;
                const int childPasses = PassesAfter(move, passes);
                const TNumbers child = Prove(Other(toMove), childPasses, kInfinity, kInfinity);
                TNumbers stored;
                uint32_t work = 0;
                Lookup(Key(Other(toMove), childPasses), stored, &work);
                m_Board.Undo();
                const bool keeps = outcome == TOutcome::Win ? child.Won() : child.Lost();
                if (!keeps) {
                    if (mine) continue;
                    chosen = -1; // the outcome does not hold here after all
                    break;
                }
                if (chosen < 0 || (mine ? work < chosenWork : work > chosenWork)) {
                    chosen = move;
                    chosenWork = work;
                }
                if (mine) break; // one is enough
            }
            if (chosen < 0 || m_Shared.Stopped) break;
            PlayMove(chosen, toMove);
            line.push_back(chosen);
            passes = PassesAfter(chosen, passes);
            toMove = Other(toMove);
        }
        return line;
    }

private:
    static constexpr int kPass = TSolverBoard::kNoPoint;

    // The quickest move of the side to move after which the table (or the rules) hold
    // `outcome` as proven, or -1.
    int ProvenMove(TStone toMove, int passes, TOutcome outcome) {
        int chosen = -1;
        uint32_t chosenWork = 0;
        for (const int move : Moves(toMove)) {
            if (!PlayMove(move, toMove)) continue;
            const int childPasses = PassesAfter(move, passes);
            const uint64_t childKey = Key(Other(toMove), childPasses);
            TNumbers child;
            uint32_t work = 0;
            const bool known = SettledByTheRules(childKey, childPasses, child) ||
                               Lookup(childKey, child, &work);
            m_Board.Undo();
            const bool keeps = known && (outcome == TOutcome::Win ? child.Won() : child.Lost()) &&
                               (child.Leans & (kLeansOnRepetition | kLeansOnHorizon)) == 0;
            if (keeps && (chosen < 0 || work < chosenWork)) {
                chosen = move;
                chosenWork = work;
            }
        }
        return chosen;
    }
    // Passes in a row after `move`.
    static int PassesAfter(int move, int passes) { return move == kPass ? passes + 1 : 0; }

    // What tells this question's positions from another's in a shared table: the attacker,
    // the goal, the target and the region.
    static uint64_t SaltOf(const TLifeAndDeath& problem) {
        uint64_t salt = problem.Goal == TLifeGoal::Kill ? 0x4B696C6C : 0x4C697665;
        salt ^= problem.Attacker == TStone::Black ? 0x426C61636B000000ull : 0x5768697465000000ull;
        for (const int p : problem.Region)
            salt = salt * 0x100000001B3ull ^ TSolverBoard::KoKey(p);
        for (const int p : problem.Target)
            salt = salt * 0x100000001B3ull ^ TSolverBoard::StoneKey(p, TStone::Black);
        return salt;
    }

    uint64_t Key(TStone toMove, int passes) const { return KeyOf(m_Board, toMove, passes); }
    uint64_t KeyOf(const TSolverBoard& board, TStone toMove, int passes) const {
        return board.Hash() ^ m_Salt ^ (toMove == TStone::White ? kWhiteToMoveKey : 0) ^
               (passes > 0 ? kPassedKey : 0) ^ (m_KoForPlayer ? kKoForPlayerKey : 0) ^
               (m_KoRule == TKoRule::Confirmation ? kConfirmationKey : 0) ^
               (m_ConfirmEnds ? kConfirmedEndsKey : 0);
    }

    TNumbers ForPlayer(bool attackerWins) const {
        return attackerWins == (m_Player == m_Problem.Attacker) ? kWon : kLost;
    }
    // A repetition of the line, or a line too long to follow, goes against the side the search
    // asks about: the player when a win outright is asked, the opponent when a won ko is.
    TNumbers AgainstTheAsked(uint8_t leans) const {
        TNumbers n = m_KoForPlayer ? kWon : kLost;
        n.Leans = leans;
        return n;
    }

    // Captured, alive or passed out: the line ends here.
    bool Settled(int passes) const {
        return m_Problem.TargetCaptured(m_Board) || passes >= 2 ||
               m_Problem.TargetAlive(m_Board, m_InRegion);
    }

    bool PlayMove(int move, TStone side) { return PlayOn(m_Board, move, side); }
    bool PlayOn(TSolverBoard& board, int move, TStone side) const {
        if (move == kPass) {
            board.Pass();
            return true;
        }
        // Whoever the ko rule of the search favours may retake a ko at once, as with threats
        // enough: the opponent when a win outright is asked, the player when a ko is.
        if (m_KoRule == TKoRule::Confirmation) return board.Play(move, side);
        return board.Play(move, side, m_KoForPlayer == (side == m_Player));
    }

    // The table's numbers of a position. The search that lets the player retake a ko also
    // reads what the first search proved without a ko or a repetition on the way: that holds
    // under any ko rule.
    bool Lookup(uint64_t key, TNumbers& numbers, uint32_t* work = nullptr) const {
        if (m_Shared.Table.Find(key, numbers, work)) return true;
        if (m_KoRule == TKoRule::Outright) return false;
        TNumbers outright;
        const uint64_t modeKey = m_KoForPlayer ? kKoForPlayerKey : kConfirmationKey;
        if (!m_Shared.Table.Find(key ^ modeKey, outright, work) || !outright.Final() ||
            outright.Leans != 0)
            return false;
        numbers = outright;
        return true;
    }

    // What is known of the position on the board without searching it: settled by the rules,
    // a repetition, beyond the depth bound, or read from the table.
    bool Known(uint64_t key, int passes, TNumbers& numbers) const {
        return SettledByTheRules(key, passes, numbers) || Lookup(key, numbers);
    }
    // Captured, passed out, a repetition or beyond the depth bound.
    bool SettledByTheRules(uint64_t key, int passes, TNumbers& numbers) const {
        if (m_Problem.TargetCaptured(m_Board)) {
            numbers = ForPlayer(true);
            return true;
        }
        if (passes >= 2) {
            numbers = ForPlayer(m_Problem.DefenderLeftInAtari(m_Board, m_InRegion) || Confirmed());
            return true;
        }
        if (m_Path.Holds(key)) {
            numbers = AgainstTheAsked(kLeansOnRepetition);
            return true;
        }
        if (m_Path.Size() >= m_Deepest) {
            numbers = AgainstTheAsked(kLeansOnHorizon);
            return true;
        }
        return false;
    }

    // Alive or dead by the target's shape, before any move is looked at. Life is looked for
    // after the defender's moves and passes (and at the start): an attacker's move seldom
    // makes it, and the defender's next move looks again. A target alone in too small an area
    // is dead before it is taken.
    bool SettledByShape(TStone toMove, int passes, TNumbers& numbers) const {
        const bool defenderMoved = toMove == m_Problem.Attacker || passes > 0 || m_Path.Size() == 0;
        if (defenderMoved && (m_Problem.TargetAlive(m_Board, m_InRegion) ||
                              m_Problem.TargetLivesByItsEyeSpace(m_Board, m_InRegion,
                                                                 toMove == m_Problem.Attacker))) {
            numbers = ForPlayer(false);
            return true;
        }
        if (m_Problem.TargetDead(m_Board, m_InRegion, toMove == m_Problem.Attacker)) {
            numbers = ForPlayer(true);
            return true;
        }
        return false;
    }

    // A first guess at the numbers of the position after `move` of `mover`, not searched
    // yet, from the target's liberties (`liberties`, or counted when -1): few bring the capture
    // near, many the target's life. A move the problem plays itself looks as good as any to its
    // mover.
    TNumbers Estimate(int move, TStone mover, int liberties) const {
        if (liberties < 0) liberties = m_Board.Liberties(m_Problem.TargetStone(m_Board), 6);
        uint32_t toCapture = static_cast<uint32_t>(std::max(1, liberties));
        uint32_t toLive = static_cast<uint32_t>(std::max(1, 7 - liberties));
        const bool refutedASibling = m_Path.Size() < kKillerDepths && m_Killer[static_cast<size_t>(m_Path.Size())] == move;
        if (m_Preferred[static_cast<size_t>(move)] || refutedASibling)
            (mover == m_Problem.Attacker ? toCapture : toLive) = 1;
        return m_Player == m_Problem.Attacker ? TNumbers{toCapture, toLive, 0}
                                              : TNumbers{toLive, toCapture, 0};
    }

    // The chain of the target's first standing stone, marked on the board's points, with its
    // liberties counted up to six.
    struct TTargetChain {
        const std::vector<uint32_t>* Marks;
        uint32_t Stamp;
        int Liberties;
        bool Touches(int move) const {
            if (move == kPass) return false;
            for (const int d : TSolverBoard::kDirections)
                if ((*Marks)[static_cast<size_t>(move + d)] == Stamp) return true;
            return false;
        }
    };
    TTargetChain TargetChain() const {
        const int stone = m_Problem.TargetStone(m_Board);
        if (++m_TargetStamp == 0) {
            std::fill(m_TargetMarks.begin(), m_TargetMarks.end(), 0);
            m_TargetStamp = 1;
        }
        if (stone != TSolverBoard::kNoPoint) {
            m_Board.ChainInto(stone, m_Chain);
            for (const int s : m_Chain)
                m_TargetMarks[static_cast<size_t>(s)] = m_TargetStamp;
        }
        return {&m_TargetMarks, m_TargetStamp, m_Board.Liberties(stone, 6)};
    }

    struct TChild {
        int Move;
        TNumbers Numbers;
        uint64_t Key;
        bool Settled; // by the rules, not by a search
        bool Simulated = false; // a sibling's refutation was tried on it
    };

    // The position on the board, searched until its numbers reach a threshold or it is settled.
    TNumbers Prove(TStone toMove, int passes, uint32_t thPn, uint32_t thDn) {
        const uint64_t key = Key(toMove, passes);
        TNumbers numbers;
        if (Known(key, passes, numbers) && (numbers.Final() || numbers.Pn >= thPn || numbers.Dn >= thDn))
            return numbers;
        if (m_Shared.Spent()) return {};
        const int64_t nodesBefore = m_Shared.Nodes;
        if (SettledByShape(toMove, passes, numbers)) {
            m_Shared.Table.Store(key, numbers, 1);
            return numbers;
        }

        // The moves, each with what is known of the position after it: first what the rules
        // settle, while the table's lines for the rest are fetched; then the table; then a
        // guess for the positions it does not hold.
        std::vector<TChild> children;
        for (const int move : Moves(toMove)) {
            if (!PlayMove(move, toMove)) continue;
            const int childPasses = PassesAfter(move, passes);
            TChild child{move, {}, Key(Other(toMove), childPasses), false};
            child.Settled = SettledByTheRules(child.Key, childPasses, child.Numbers);
            if (!child.Settled) m_Shared.Table.Prefetch(child.Key);
            m_Board.Undo();
            children.push_back(child);
        }
        // The target's liberties change only with a move beside its chain, a capture, or a
        // stone on a target point (which may become the target's first standing stone): the
        // count before the moves serves the others.
        const TTargetChain target = TargetChain();
        for (TChild& child : children) {
            // Only a position met for the first time is worth a simulation.
            child.Simulated = true;
            if (child.Settled || Lookup(child.Key, child.Numbers)) continue;
            child.Simulated = false;
            PlayMove(child.Move, toMove);
            const bool same = !target.Touches(child.Move) && m_Board.LastCaptures() == 0 &&
                              (child.Move == kPass || !IsTarget(child.Move));
            child.Numbers = Estimate(child.Move, toMove, same ? target.Liberties : -1);
            m_Board.Undo();
        }

        const bool players = toMove == m_Player;
        m_Path.Push(key);
        while (true) {
            numbers = Combine(children, players);
            if (numbers.Final() || numbers.Pn >= thPn || numbers.Dn >= thDn || m_Shared.Stopped)
                break;
            // The child that looks cheapest for the side to move, and how far it may go before
            // the second cheapest is tried (a quarter beyond it, so the two do not take turns
            // at every step).
            size_t best = 0;
            uint32_t second = kInfinity;
            auto cost = [players](const TNumbers& n) { return players ? n.Pn : n.Dn; };
            for (size_t i = 1; i < children.size(); ++i) {
                if (cost(children[i].Numbers) < cost(children[best].Numbers)) {
                    second = cost(children[best].Numbers);
                    best = i;
                } else {
                    second = std::min(second, cost(children[i].Numbers));
                }
            }
            TChild& child = children[best];
            // A sibling refuted already shows how this move may be refuted too: its refutation
            // is replayed here before this move is searched.
            if (!child.Simulated) {
                child.Simulated = true;
                if (const TChild* refuted = RefutedSibling(children, players);
                    refuted && Simulate(refuted->Move, child.Move, toMove, passes)) {
                    child.Numbers = players ? kLost : kWon;
                    continue;
                }
            }
            const uint64_t beyond = uint64_t{second} + second / 4 + 1;
            uint32_t childPn, childDn;
            if (players) {
                childPn = static_cast<uint32_t>(std::min<uint64_t>(thPn, beyond));
                childDn = thDn - numbers.Dn + child.Numbers.Dn;
            } else {
                childDn = static_cast<uint32_t>(std::min<uint64_t>(thDn, beyond));
                childPn = thPn - numbers.Pn + child.Numbers.Pn;
            }
            PlayMove(child.Move, toMove);
            child.Numbers = Prove(Other(toMove), PassesAfter(child.Move, passes), childPn, childDn);
            m_Board.Undo();
        }
        m_Path.Pop();
        // The move that settled this position for the side to move is the first guess for its
        // siblings' positions at the same depth (it refutes one of them, it often refutes the next).
        if ((players ? numbers.Won() : numbers.Lost()) && m_Path.Size() < kKillerDepths)
            for (const TChild& c : children)
                if (players ? c.Numbers.Won() : c.Numbers.Lost()) {
                    m_Killer[static_cast<size_t>(m_Path.Size())] = c.Move;
                    break;
                }
        if (numbers.Final() && LeansOnTheKoHere(children, players, numbers)) numbers.Leans |= kLeansOnKo;
        // A final answer that leans on this line is kept for the line only.
        if (!numbers.Final() || (numbers.Leans & (kLeansOnRepetition | kLeansOnHorizon)) == 0)
            m_Shared.Table.Store(key, numbers, m_Shared.Nodes - nodesBefore + 1);
        return numbers;
    }

    // A child settled against the side to move, on every line and under any ko rule.
    const TChild* RefutedSibling(const std::vector<TChild>& children, bool players) const {
        for (const TChild& c : children) {
            if (!(players ? c.Numbers.Lost() : c.Numbers.Won()) || c.Numbers.Leans != 0) continue;
            TNumbers stored;
            uint32_t work = 0;
            if (Lookup(c.Key, stored, &work) && work >= kSimulationWorth) return &c;
        }
        return nullptr;
    }

    // Simulation: tries to settle the position after `move` of `toMove` against it the way the
    // position after `refuted`, a sibling, was: the refuting side plays the moves that settled
    // the sibling's positions in the table (on a second board, the guide, that follows the
    // sibling's line), and every move of the other side is answered so in both. It succeeds
    // when every line reaches a position the table or the rules settle; the positions it
    // settles are stored. It gives up at a ko, at a move the guide cannot follow, or after
    // kSimulationNodes positions: the move is then searched as any other.
    bool Simulate(int refuted, int move, TStone toMove, int passes) {
        m_Guide = m_Board;
        if (!PlayOn(m_Guide, refuted, toMove) || !PlayMove(move, toMove)) return false;
        m_Path.Push(Key(toMove, passes));
        const bool settled = SimulateFrom(Other(toMove), PassesAfter(move, passes), Other(toMove),
                                          m_Shared.Nodes + kSimulationNodes);
        m_Path.Pop();
        m_Board.Undo();
        return settled;
    }
    bool SimulateFrom(TStone toMove, int passes, TStone refuter, int64_t lastNode) {
        const uint64_t key = Key(toMove, passes);
        const bool refutersWin = refuter == m_Player;
        auto refuterGot = [refutersWin](const TNumbers& n) {
            return (refutersWin ? n.Won() : n.Lost()) && n.Leans == 0;
        };
        TNumbers numbers;
        if (Known(key, passes, numbers) && numbers.Final()) return refuterGot(numbers);
        // A ko point makes the answer lean on the ko rule (see LeansOnTheKoHere): searched.
        if (m_Board.KoPoint() != TSolverBoard::kNoPoint || m_Path.Size() >= m_Deepest ||
            m_Shared.Nodes >= lastNode || m_Shared.Spent())
            return false;
        const int64_t nodesBefore = m_Shared.Nodes;
        if (SettledByShape(toMove, passes, numbers)) {
            m_Shared.Table.Store(key, numbers, 1);
            return refuterGot(numbers);
        }
        m_Path.Push(key);
        bool settled = true;
        if (toMove == refuter) {
            // The guide's answer; where the board cannot follow it, a move the table already
            // settles for the refuter.
            const int answer = GuideAnswer(toMove, passes, refuter);
            settled = false;
            if (answer >= 0 && PlayOn(m_Guide, answer, toMove)) {
                if (PlayMove(answer, toMove)) {
                    settled = SimulateFrom(Other(toMove), PassesAfter(answer, passes), refuter, lastNode);
                    m_Board.Undo();
                }
                m_Guide.Undo();
            }
            for (const int move : settled ? std::vector<int>{} : Moves(toMove)) {
                if (!PlayMove(move, toMove)) continue;
                settled = KnownFor(refuter, Other(toMove), PassesAfter(move, passes));
                m_Board.Undo();
                if (settled) break;
            }
        } else {
            // Every reply, followed on the guide where it can be; one it cannot must be settled
            // for the refuter already.
            for (const int reply : Moves(toMove)) {
                if (!PlayMove(reply, toMove)) continue;
                const int replyPasses = PassesAfter(reply, passes);
                if (PlayOn(m_Guide, reply, toMove)) {
                    settled = SimulateFrom(Other(toMove), replyPasses, refuter, lastNode);
                    m_Guide.Undo();
                } else {
                    settled = KnownFor(refuter, Other(toMove), replyPasses);
                }
                m_Board.Undo();
                if (!settled) break;
            }
        }
        m_Path.Pop();
        if (settled) m_Shared.Table.Store(key, refutersWin ? kWon : kLost, m_Shared.Nodes - nodesBefore + 1);
        return settled;
    }
    // True when the table or the rules hold the position on the board as `refuter`'s, on every
    // line and under any ko rule.
    bool KnownFor(TStone refuter, TStone toMove, int passes) const {
        TNumbers numbers;
        return Known(Key(toMove, passes), passes, numbers) && numbers.Leans == 0 &&
               (refuter == m_Player ? numbers.Won() : numbers.Lost());
    }
    // The move of `refuter` (to move on the guide) after which the table or the rules hold the
    // guide's position as the refuter's, or -1.
    int GuideAnswer(TStone toMove, int passes, TStone refuter) {
        const bool refutersWin = refuter == m_Player;
        int chosen = -1;
        uint32_t chosenWork = 0;
        auto tryMove = [&](int move) {
            if (!PlayOn(m_Guide, move, toMove)) return;
            TNumbers child;
            uint32_t work = 0;
            const bool settled =
                (refutersWin == (m_Player == m_Problem.Attacker) && m_Problem.TargetCaptured(m_Guide)) ||
                (Lookup(KeyOf(m_Guide, Other(toMove), PassesAfter(move, passes)), child, &work) &&
                 (refutersWin ? child.Won() : child.Lost()) && child.Leans == 0);
            m_Guide.Undo();
            if (settled && (chosen < 0 || work < chosenWork)) {
                chosen = move;
                chosenWork = work;
            }
        };
        for (const int p : m_Problem.Region)
            if (m_Guide.At(p) == TStone::Empty && MayPlayThere(p, toMove)) tryMove(p);
        tryMove(kPass);
        return chosen;
    }

    // True when the target, where play has stopped, is dead all the same: the attacker, moving
    // first, takes it with no ko retaken at once by either side, as when neither has a threat
    // left. The attacker may wait for that moment, the defender cannot stop it (it passed), so
    // a ko only the attacker can start is the attacker's ("bent four in the corner is dead").
    // A confirmation that does not finish within its nodes leaves the end as it stands.
    bool Confirmed() const {
        if (!m_ConfirmEnds || m_Shared.Stopped) return false;
        if (m_Problem.TargetAlive(m_Board, m_InRegion) ||
            m_Problem.TargetLivesByItsEyeSpace(m_Board, m_InRegion, true))
            return false;
        // An end judged once is judged so wherever it is met (whoever passed last).
        const uint64_t endKey = m_Board.Hash() ^ m_Salt ^ kConfirmedEndsKey ^ kConfirmationKey;
        TNumbers known;
        if (m_Shared.Table.Find(endKey, known)) return known.Won();
        TLifeAndDeath end = m_Problem;
        end.Board = m_Board;
        end.Goal = TLifeGoal::Kill;
        end.ToMove = m_Problem.Attacker;
        end.Passes = 0;
        TSolverBudget budget = m_Shared.Budget;
        budget.Nodes = kConfirmationNodes;
        TShared shared(budget, m_Shared.Table);
        TSearch confirmation(end, TKoRule::Confirmation, shared);
        const bool dead = confirmation.Run() == TOutcome::Win;
        m_Shared.Nodes += shared.Nodes;
        if (!m_Shared.Stopped) m_Shared.Table.Store(endKey, dead ? kWon : kLost, shared.Nodes);
        return dead;
    }

    // True when the answer of a position with a ko point depends on how the ko may be retaken.
    // The side the search favours may retake at once: the answer leans on that when the retake
    // is the move that settles it for that side. The other side may not: its answer leans on
    // the rule when it did not get its way, for the retake might have been its saving move.
    bool LeansOnTheKoHere(const std::vector<TChild>& children, bool players, const TNumbers& numbers) const {
        const int ko = m_Board.KoPoint();
        if (ko == TSolverBoard::kNoPoint || m_KoRule == TKoRule::Confirmation) return false;
        const bool favoured = players == m_KoForPlayer;
        const bool moverGotItsWay = players ? numbers.Won() : numbers.Lost();
        if (!favoured) return !moverGotItsWay;
        if (!moverGotItsWay) return false;
        for (const TChild& c : children)
            if (players ? c.Numbers.Won() : c.Numbers.Lost()) return c.Move == ko;
        return true;
    }

    // The numbers of a position from its children's: the side to move needs one move that
    // works, the other side's every move must.
    static TNumbers Combine(const std::vector<TChild>& children, bool players) {
        TNumbers n;
        if (players) {
            n = {kInfinity, 0, 0};
            for (const TChild& c : children) {
                n.Pn = std::min(n.Pn, c.Numbers.Pn);
                n.Dn = Sum(n.Dn, c.Numbers.Dn);
            }
        } else {
            n = {0, kInfinity, 0};
            for (const TChild& c : children) {
                n.Pn = Sum(n.Pn, c.Numbers.Pn);
                n.Dn = std::min(n.Dn, c.Numbers.Dn);
            }
        }
        if (children.empty()) return players ? kLost : kWon; // never: the pass is always there
        // A proof leans on what its deciding children lean on: the one move that settles it,
        // or every move when all must.
        const bool oneDecides = players ? n.Won() : n.Lost();
        if (n.Final()) {
            for (const TChild& c : children) {
                const bool decides = n.Won() ? c.Numbers.Pn == 0 : c.Numbers.Dn == 0;
                if (oneDecides && decides) {
                    n.Leans = c.Numbers.Leans;
                    break;
                }
                if (!oneDecides) n.Leans |= c.Numbers.Leans;
            }
        }
        return n;
    }

    // True when a stone of `mover` at `point` would only fill an eye of its own chain: every
    // neighbour is that one chain (or the edge), which keeps another liberty. For the defender
    // such a move takes a liberty and gives nothing a pass would not. Not so for the attacker:
    // its stones inside are there to be taken, and one more can shape the space their capture
    // leaves into one that cannot make two eyes (five stones taken as a bulky five).
    bool FillsOwnEye(int point, TStone mover) const {
        int chain = -1;
        for (const int d : TSolverBoard::kDirections) {
            const int n = point + d;
            const TStone stone = m_Board.At(n);
            if (stone == TStone::Edge) continue;
            if (stone != mover) return false;
            if (chain < 0) chain = n;
        }
        if (chain < 0) return false;
        m_Board.ChainInto(chain, m_Chain);
        for (const int d : TSolverBoard::kDirections) {
            const int n = point + d;
            if (m_Board.At(n) == mover && std::find(m_Chain.begin(), m_Chain.end(), n) == m_Chain.end())
                return false;
        }
        return m_Board.Liberties(chain, 2) >= 2;
    }

    // The empty points of the region in a useful order (the problem's own points first, then
    // the target's liberties and the points next to stones), the pass last; a move of the
    // defender that only fills its own eye is left out.
    std::vector<int> Moves(TStone mover) const {
        // Higher scores first, then the lower point: each move goes in among those before it.
        std::vector<std::pair<int, int>> scored;
        scored.reserve(m_Problem.Region.size());
        for (const int p : m_Problem.Region) {
            if (m_Board.At(p) != TStone::Empty || !MayPlayThere(p, mover) ||
                (mover == m_Problem.Defender() && FillsOwnEye(p, mover)))
                continue;
            int score = m_Preferred[static_cast<size_t>(p)] ? 10 : 0;
            for (const int d : TSolverBoard::kDirections) {
                const TStone n = m_Board.At(p + d);
                if (n == TStone::Black || n == TStone::White) score += 2;
                if (n == m_Problem.Defender() && IsTarget(p + d)) score += 3;
            }
            const std::pair<int, int> move{-score, p};
            auto at = scored.end();
            while (at != scored.begin() && move < *(at - 1)) --at;
            scored.insert(at, move);
        }
        std::vector<int> moves;
        moves.reserve(scored.size() + 1);
        for (const auto& [score, p] : scored)
            moves.push_back(p);
        moves.push_back(kPass);
        return moves;
    }

    bool IsTarget(int point) const { return m_IsTarget[static_cast<size_t>(point)]; }

    // Beyond a gap of the wall only the attacker plays, and only to take a liberty of the
    // defender's stone beside it (see TLifeAndDeath::Beyond).
    bool MayPlayThere(int point, TStone mover) const {
        if (!m_Beyond[static_cast<size_t>(point)]) return true;
        if (mover != m_Problem.Attacker) return false;
        return std::any_of(std::begin(TSolverBoard::kDirections), std::end(TSolverBoard::kDirections),
                           [&](int d) { return m_Board.At(point + d) == m_Problem.Defender(); });
    }

    const TLifeAndDeath& m_Problem;
    TSolverBoard m_Board;
    const std::vector<bool> m_InRegion;
    const TStone m_Player;
    const TKoRule m_KoRule;
    const bool m_KoForPlayer;
    const bool m_ConfirmEnds;
    TShared& m_Shared;
    const int m_Deepest;
    const uint64_t m_Salt;
    std::vector<bool> m_Preferred;
    std::vector<bool> m_IsTarget;
    std::vector<bool> m_Beyond;
    mutable std::vector<int> m_Chain;
    mutable std::vector<uint32_t> m_TargetMarks = std::vector<uint32_t>(TSolverBoard::kCells, 0);
    mutable uint32_t m_TargetStamp = 0;
    static constexpr int kKillerDepths = 128;
    std::array<int, kKillerDepths> m_Killer{};
    TPath m_Path;
    TSolverBoard m_Guide; // the refuted sibling's line, in a simulation
    uint8_t m_RootLeans = 0;
};

// The side whose move in `line` first takes a ko (a capture that leaves a point the other
// side may not retake at once), or Empty when none does.
TStone FirstToTakeAKo(const TLifeAndDeath& problem, const std::vector<int>& line) {
    TSolverBoard board = problem.Board;
    TStone toMove = problem.ToMove;
    for (const int move : line) {
        if (move == TSolverBoard::kNoPoint) board.Pass();
        else if (!board.Play(move, toMove, true)) break;
        if (board.KoPoint() != TSolverBoard::kNoPoint) return toMove;
        toMove = Other(toMove);
    }
    return TStone::Empty;
}

} // namespace

std::string VerdictText(const TSolveResult& result) {
    if (result.Verdict != TSolverVerdict::Ko || result.KoTakenFirstBy == TStone::Empty)
        return VerdictName(result.Verdict);
    return std::string("ko, ") + (result.KoTakenFirstBy == TStone::Black ? "Black" : "White") +
           " takes first";
}

TSolveResult Solve(const TLifeAndDeath& problem, const TSolverBudget& budget, TSolverTable& table) {
    TShared shared(budget, *table.m_Table);
    TSolveResult result;
    auto finish = [&](TSolverVerdict verdict, TSearch* search, TOutcome outcome) {
        result.Verdict = verdict;
        result.Nodes = shared.Nodes;
        result.Milliseconds = shared.Elapsed();
        if (search) {
            result.Line = search->Line(outcome);
            if (!result.Line.empty()) result.Best = result.Line.front();
        }
        return result;
    };
    TSearch outright(problem, TKoRule::Outright, shared);
    const TOutcome first = outright.Run();
    if (first == TOutcome::Win) return finish(TSolverVerdict::Win, &outright, TOutcome::Win);
    // A loss with no ko and no repetition on the way is a loss under any ko rule.
    if (first == TOutcome::Loss && outright.WithoutKo())
        return finish(TSolverVerdict::Loss, &outright, TOutcome::Loss);
    TSearch withKo(problem, TKoRule::KoForPlayer, shared);
    const TOutcome second = withKo.Run();
    if (second == TOutcome::Loss) return finish(TSolverVerdict::Loss, &withKo, TOutcome::Loss);
    if (first == TOutcome::Loss && second == TOutcome::Win && problem.Goal == TLifeGoal::Kill) {
        // A ko the attacker wins may be one the defender can never start: the lines that pass
        // out are judged again as play would be confirmed, with no threats left to either side.
        TSearch confirmed(problem, TKoRule::Outright, shared, true);
        if (confirmed.Run() == TOutcome::Win) return finish(TSolverVerdict::Win, &confirmed, TOutcome::Win);
    }
    if (first == TOutcome::Loss && second == TOutcome::Win) {
        // The move that wins the ko, and the line that shows why nothing wins outright.
        const std::vector<int> won = withKo.Line(TOutcome::Win);
        finish(TSolverVerdict::Ko, &outright, TOutcome::Loss);
        result.Best = won.empty() ? -1 : won.front();
        // Who takes the ko first is read from the line of the opponent's resistance (where the
        // opponent retakes at once), else from the line that wins the ko.
        result.KoTakenFirstBy = FirstToTakeAKo(problem, result.Line);
        if (result.KoTakenFirstBy == TStone::Empty) result.KoTakenFirstBy = FirstToTakeAKo(problem, won);
        return result;
    }
    return finish(TSolverVerdict::Unknown, nullptr, TOutcome::Unknown);
}

TSolveResult Solve(const TLifeAndDeath& problem, const TSolverBudget& budget) {
    TSolverTable table(budget.TableBytes);
    return Solve(problem, budget, table);
}

std::vector<TJudgedMove> JudgeMoves(const TLifeAndDeath& problem, const TSolverBudget& budget) {
    // One table for all the moves: what it holds as final is true of a position wherever it
    // was reached from.
    TSolverTable table(budget.TableBytes);
    std::vector<TJudgedMove> judged;
    std::vector<int> moves;
    for (const int p : problem.Region)
        if (problem.Board.At(p) == TStone::Empty) moves.push_back(p);
    moves.push_back(TSolverBoard::kNoPoint);
    for (const int move : moves) {
        TLifeAndDeath after = problem;
        if (!after.Play(move)) continue;
        judged.push_back({move, Solve(after, budget, table).Verdict});
    }
    return judged;
}

} // namespace karvena
