#include "collection/SgfImport.h"

#include "collection/SolutionBlob.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <map>
#include <set>

#include "board/Notation.h"
#include "board/Orientation.h"
#include "solver/SolverBoard.h"

namespace karvena {

TOrientation ChooseSymmetry(const std::vector<std::pair<int, int>>& points, int lines) {
    // The order decides ties, so a problem imported again lands where it did before.
    constexpr int kOrder[TOrientation::kSymmetries] = {0, 4, 5, 2, 6, 3, 1, 7};
    TOrientation best;
    std::pair<int, int> bestScore{1 << 30, 1 << 30};
    for (const int symmetry : kOrder) {
        const TOrientation candidate(symmetry, lines);
        int largest = 0, sum = 0;
        for (const auto& [P, Q] : points) {
            if (P == kPassCoord && Q == kPassCoord) continue;
            const auto [p, q] = candidate.Apply(TPoint{P, Q});
            largest = std::max({largest, p, q});
            sum += p + q;
        }
        const std::pair<int, int> score{largest, sum};
        if (score < bestScore) {
            bestScore = score;
            best = candidate;
        }
    }
    return best;
}

namespace {

bool HasSetup(const TSgfNode& node) {
    return node.Has("AB") || node.Has("AW") || node.Has("AE");
}
bool HasMove(const TSgfNode& node) {
    return node.Has("B") || node.Has("W");
}

} // namespace

namespace {

class TImporter {
public:
    // `roots`: the games of one problem (a file may show each defence as a game of its own); they
    // share the start of the first, and their lines make one tree.
    TImporter(const TSgfFile& file, std::vector<TSgfId> roots, std::string source)
        : m_File(file), m_Root(roots.front()), m_Roots(std::move(roots)),
          m_Source(std::move(source)) {}

    // Fills `out`; returns the reason when the problem cannot be expressed.
    std::string Import(TImportedProblem& out) {
        const TSgfNode& root = m_File.Nodes[m_Root];
        // Square boards of 7 to 19 lines are played on their own size.
        const std::string size = root.Get("SZ");
        if (!size.empty()) {
            const size_t colon = size.find(':');
            const std::string side = size.substr(0, colon);
            const bool square = colon == std::string::npos || size.substr(colon + 1) == side;
            const int lines = side.find_first_not_of("0123456789") == std::string::npos &&
                                      !side.empty() && side.size() <= 2
                                  ? std::stoi(side)
                                  : 0;
            if (!square || lines < 7 || lines > 19)
                return "board size " + size + ", only square boards of 7 to 19 lines are played";
            m_Lines = lines;
        }

        std::vector<TSgfId> starts;
        for (const TSgfId game : m_Roots)
            starts.push_back(StartOf(game, game == m_Root));

        // A game played from an empty board (a game record) is no life-and-death problem.
        if (m_Black.empty() && m_White.empty()) return "a game record, not a problem: no setup stones";

        // Every point the problem uses decides its orientation; moves must all be readable.
        std::vector<std::pair<int, int>> points(m_Black.begin(), m_Black.end());
        points.insert(points.end(), m_White.begin(), m_White.end());
        for (const auto& [P, Q] : points)
            if (!OnBoard(P, Q))
                return "a stone off the " + std::to_string(m_Lines) + " x " +
                       std::to_string(m_Lines) + " board";
        // A move in the root node is part of the starting position: the first Initial move.
        char rootColour = 0;
        std::optional<std::pair<int, int>> rootMove;
        if (HasMove(root)) {
            rootColour = root.Has("B") ? 'B' : 'W';
            rootMove = SgfMove(root.Get(std::string(1, rootColour)));
            if (rootMove && !IsPass(*rootMove) && !OnBoard(rootMove->first, rootMove->second))
                rootMove.reset();
            if (!rootMove)
                return "a move in the root node that is no point: " +
                       root.Get(std::string(1, rootColour));
            points.push_back(*rootMove);
        }
        // Every line is replayed: a line that sets stones up or plays a move that cannot be played
        // where it stands ends before it (the rest of the problem stays).
        const char firstColour = ReplayLines(starts, rootColour, rootMove, points);
        if (!firstColour && !m_Cut.empty()) {
            m_ProblemNode = m_Cut.begin()->first;
            return m_Cut.begin()->second;
        }
        if (!firstColour) return IsQuiz(root) ? kQuiz : "no moves at all";
        const std::string pl = root.Get("PL");
        const char afterRoot = rootColour == 'B' ? 'W' : 'B';
        m_Solver = !pl.empty()
                       ? (std::toupper(static_cast<unsigned char>(pl[0])) == 'W' ? 'W' : 'B')
                       : (rootColour ? afterRoot : firstColour);
        m_Symmetry = ChooseSymmetry(points, m_Lines);

        out.Source = m_Source;
        out.SourceRow = m_File.Nodes[m_Root].Row;
        out.SourceColumn = m_File.Nodes[m_Root].Column;
        out.Row.ArrangedBlack = PointsText(m_Black);
        out.Row.ArrangedWhite = PointsText(m_White);
        out.Row.Initial = "";
        out.Row.FirstToPlay = m_Solver == 'W' ? "W" : "B";
        out.Row.BoardSize = m_Lines;
        if (rootMove) {
            // FirstToPlay names the side of the first Initial move.
            const auto [p, q] = m_Symmetry.Apply(TPoint{rootMove->first, rootMove->second});
            out.Row.Initial = PointText(p, q);
            out.Row.FirstToPlay = rootColour == 'W' ? "W" : "B";
            if (m_Solver == rootColour) {
                // The same side again after its root move: the other passes in between.
                out.Row.Initial += "TT";
            }
        }
        const std::string rootComment = root.Get("C");
        const int stated = StatedResult(rootComment);
        if (stated >= 0) out.Row.Result2 = stated;
        m_Goal = GoalOf(rootComment, m_Solver);

        TSolutionTree& tree = out.Tree;
        const TNodeId treeRoot = tree.Add(kNoNode, "");
        m_Marks.assign(1, {});
        for (size_t i = 0; i < starts.size(); ++i)
            BuildTree(starts[i], treeRoot, tree, GameMarks(m_Roots[i]));
        out.CarriedLeaves = DecideEnds(tree);
        for (const auto& [id, why] : m_Cut)
            out.Warnings.push_back(Place(id) + why + ": the line ends before it");
        // A correct line that ends in a ko makes the problem's answer a ko: its stated result
        // says so (4: a ko, the goal not stated).
        if (m_AnswerKo) {
            const int stated = out.Row.Result2.value_or(-1);
            out.Row.Result2 = stated == 0 || stated == 2 ? 2
                              : stated == 1 || stated == 3 ? 3
                              : m_Goal.Known ? (m_Goal.Kill ? 2 : 3)
                                             : kResultKoGoalUnstated;
        }
        out.Row.Level1 = LevelOf(root);
        if (m_Convention != TConvention::Marked)
            out.Warnings.push_back(
                Place(m_Root) +
                (m_Convention == TConvention::MainLine
                     ? "nothing is marked correct or wrong: the main line is taken as the answer"
                     : "only failures are marked: every other end is taken as correct"));
        PromoteLoneAlsoCorrect(tree);
        for (TNodeId n = treeRoot; n != kNoNode; n = tree.NextInDepthFirst(n))
            out.SuccessNodes += tree.LineEndOf(n) == TLineEnd::Success;
        out.LongestCorrectLine = LongestCorrectLine(tree);
        // Labels and a question with no line that succeeds: the answer is a label to pick.
        if (out.SuccessNodes == 0 && IsQuiz(root)) return kQuiz;
        if (out.SuccessNodes == 0) {
            out.AnswerLeftToTheSolver = true;
            out.Warnings.push_back(Place(m_Root) + "every line is marked wrong: only the solver can credit an answer");
        }
        // Counted as the source's variations, repeated moves too: it orders a folder, and the
        // order of a built collection gives its problems their keys.
        out.FirstMoves = m_FirstMoveVariations;
        MaskUnfinishedReplies(tree);
        tree.SetAllMarks(kMarkUnset);
        KeepComments(tree, starts, out.Comments);
        return "";
    }

private:
public:
    // The node a reason names, when it is one node's fault.
    TSgfId ProblemNode() const { return m_ProblemNode; }

private:
    bool OnBoard(int P, int Q) const { return P >= 1 && P <= m_Lines && Q >= 1 && Q <= m_Lines; }
    static bool IsPass(const std::pair<int, int>& move) {
        return move.first == kPassCoord && move.second == kPassCoord;
    }

    static constexpr const char* kQuiz =
        "a quiz (the answer is one of the labelled points), not a position to play";

    // A quiz asks which of several labelled points is the answer: labels in the root and a
    // question in its comment.
    static bool IsQuiz(const TSgfNode& root) {
        const auto labels = root.Props.find("LB");
        if (labels == root.Props.end() || labels->second.size() < 2) return false;
        const std::string comment = root.Get("C");
        return comment.find('?') != std::string::npos ||
               comment.find("\xEF\xBC\x9F") != std::string::npos; // the full-width "？"
    }

    // Where a game's lines begin: after the root and the nodes that follow it in a single line
    // up to the first move. The node that holds the first move may put the whole position there
    // too. `collect`: the setup found on the way is the problem's.
    TSgfId StartOf(TSgfId root, bool collect) {
        TSgfId start = root;
        if (collect) CollectSetup(m_File.Nodes[root]);
        while (m_File.Nodes[start].Children.size() == 1) {
            const TSgfId nextId = m_File.Nodes[start].Children.front();
            const TSgfNode& next = m_File.Nodes[nextId];
            if (HasSetup(next)) {
                if (collect) CollectSetup(next);
                m_SetupNodes.insert(nextId);
            }
            if (HasMove(next)) break;
            start = nextId;
        }
        return start;
    }

    // Replays every line from the start on a board, in the file's order, and notes in m_Cut the
    // nodes where a line must end: setup stones inside it, a move that is no point of the board,
    // or one the rules forbid where it stands (a ko retaken at once, the threats left out). Adds
    // the points of the lines kept to `points`; returns the colour of the first move, 0 for none.
    char ReplayLines(const std::vector<TSgfId>& starts, char rootColour,
                     const std::optional<std::pair<int, int>>& rootMove,
                     std::vector<std::pair<int, int>>& points) {
        char firstColour = 0;
        for (const TSgfId start : starts) {
            TSolverBoard board(m_Lines);
            for (const auto& [P, Q] : m_Black) board.Set(TSolverBoard::PointOf(P, Q), TStone::Black);
            for (const auto& [P, Q] : m_White) board.Set(TSolverBoard::PointOf(P, Q), TStone::White);
            char toMove = 0; // the side whose turn it is, 0 before the first move
            if (rootMove) {
                if (IsPass(*rootMove)) board.Pass();
                else board.Play(TSolverBoard::PointOf(rootMove->first, rootMove->second), StoneOf(rootColour), true);
                toMove = rootColour == 'B' ? 'W' : 'B';
            }
            // Each node is entered with the side to move, and left (undoing its moves) after
            // its children.
            struct TStep {
                TSgfId Id;
                char ToMove;
                int Undo = -1; // >= 0: leave the node, undoing this many moves
            };
            std::vector<TStep> stack;
            const auto pushChildren = [&](TSgfId id, char next) {
                const auto& children = m_File.Nodes[id].Children;
                for (auto it = children.rbegin(); it != children.rend(); ++it) stack.push_back({*it, next});
            };
            pushChildren(start, toMove);
            while (!stack.empty()) {
                const TStep step = stack.back();
                stack.pop_back();
                if (step.Undo >= 0) {
                    for (int i = 0; i < step.Undo; ++i) board.Undo();
                    continue;
                }
                const TSgfNode& node = m_File.Nodes[step.Id];
                if (HasSetup(node) && !m_SetupNodes.count(step.Id)) {
                    m_Cut.emplace(step.Id, "stones set up inside a variation");
                    continue;
                }
                int played = 0;
                char next = step.ToMove;
                if (HasMove(node)) {
                    const char colour = node.Has("B") ? 'B' : 'W';
                    const std::string value = node.Get(std::string(1, colour));
                    auto move = SgfMove(value);
                    if (move && !IsPass(*move) && !OnBoard(move->first, move->second)) move.reset();
                    if (!move) {
                        m_Cut.emplace(step.Id, "a move that is no point: " + value);
                        continue;
                    }
                    // The other side passed in between when one side moves twice.
                    if (step.ToMove && step.ToMove != colour) {
                        board.Pass();
                        ++played;
                    }
                    if (IsPass(*move)) {
                        board.Pass();
                        ++played;
                    } else if (board.Play(TSolverBoard::PointOf(move->first, move->second), StoneOf(colour))) {
                        ++played;
                    } else {
                        for (int i = 0; i < played; ++i) board.Undo();
                        m_Cut.emplace(step.Id, "a move that cannot be played where it stands: " + value);
                        continue;
                    }
                    if (!firstColour) firstColour = colour;
                    points.push_back(*move);
                    next = colour == 'B' ? 'W' : 'B';
                }
                stack.push_back({step.Id, next, played});
                pushChildren(step.Id, next);
            }
        }
        return firstColour;
    }

    // "file:row:col: " of a node, where a warning points.
    std::string Place(TSgfId id) const {
        return m_Source + ":" + std::to_string(m_File.Nodes[id].Row) + ":" +
               std::to_string(m_File.Nodes[id].Column) + ": ";
    }

    static TStone StoneOf(char colour) { return colour == 'W' ? TStone::White : TStone::Black; }

    // The marks a line cut at `cut` would have had at its end: the verdict nearest above the end
    // of its first line, and whether that end speaks of a ko.
    TOutcomeMarks CutLineMarks(TSgfId cut) const {
        TOutcomeMarks marks;
        for (TSgfId at = cut;; at = m_File.Nodes[at].Children.front()) {
            const TSgfNode& node = m_File.Nodes[at];
            const bool playersMove = node.Has(m_Solver == 'B' ? "B" : "W");
            const TOutcomeMarks here = OutcomeOf(node, m_Goal, m_Solver, playersMove);
            if (here.Verdict != TVerdict::None) marks = here;
            if (node.Children.empty()) {
                marks.Ko = marks.Ko || here.Ko;
                return marks;
            }
        }
    }

    // The problem's level from its own words: a rank in DI, the game's name or the root comment.
    int LevelOf(const TSgfNode& root) const {
        for (const char* property : {"DI", "GN", "C"})
            if (const int level = RankLevelOf(root.Get(property))) return level;
        return 0;
    }

    void CollectSetup(const TSgfNode& node) {
        for (const auto& p :
             SgfPoints(node.Props.count("AB") ? node.Props.at("AB") : std::vector<std::string>{}))
            m_Black.insert(p);
        for (const auto& p :
             SgfPoints(node.Props.count("AW") ? node.Props.at("AW") : std::vector<std::string>{}))
            m_White.insert(p);
        for (const auto& p :
             SgfPoints(node.Props.count("AE") ? node.Props.at("AE") : std::vector<std::string>{})) {
            m_Black.erase(p);
            m_White.erase(p);
        }
    }

    std::string PointsText(const std::set<std::pair<int, int>>& points) const {
        std::vector<std::pair<int, int>> moved;
        for (const auto& [P, Q] : points) {
            const TPoint point = m_Symmetry.Apply(TPoint{P, Q});
            moved.emplace_back(point.P, point.Q);
        }
        std::sort(moved.begin(), moved.end());
        std::string text;
        for (const auto& [p, q] : moved)
            text += PointText(p, q);
        return text;
    }

    // The child of `parent` playing this move, made when missing: variations that repeat a move
    // (one per defence a book shows) share one node and the union of their continuations.
    TNodeId ChildWithMove(TSolutionTree& tree, TNodeId parent, const std::string& move) {
        for (TNodeId c = tree.FirstChild(parent); c != kNoNode; c = tree.NextSibling(c))
            if (tree.MoveOf(c) == move) return c;
        m_Marks.emplace_back();
        return tree.Add(parent, move);
    }

    char SideAt(int level) const {
        const char opponent = m_Solver == 'B' ? 'W' : 'B';
        return level % 2 == 1 ? m_Solver : opponent;
    }

    // What the name of a game shown as one diagram of the problem says of its lines
    // (N[正解图], N[变化图], N[失败图]), where the problem is given as several games.
    TOutcomeMarks GameMarks(TSgfId game) const {
        if (m_Roots.size() < 2) return {};
        TOutcomeMarks marks;
        marks.Verdict = CommentVerdict(m_File.Nodes[game].Get("N"), m_Goal, m_Solver);
        return marks;
    }

    // `gameMarks`: what the game's name says, the mark of its first moves where they have none.
    void BuildTree(TSgfId start, TNodeId treeRoot, TSolutionTree& tree, const TOutcomeMarks& gameMarks) {
        // Each SGF node is entered with the tree node its line has reached.
        std::vector<std::pair<TSgfId, TNodeId>> stack;
        for (auto it = m_File.Nodes[start].Children.rbegin();
             it != m_File.Nodes[start].Children.rend(); ++it)
            stack.emplace_back(*it, treeRoot);
        while (!stack.empty()) {
            const auto [id, parentAbove] = stack.back();
            stack.pop_back();
            if (m_Cut.count(id)) {
                // The line ends at the node before, with the mark its end would have had.
                if (parentAbove != treeRoot) m_CutMarks.emplace(parentAbove, CutLineMarks(id));
                continue;
            }
            const TSgfNode& node = m_File.Nodes[id];
            TNodeId at = parentAbove;
            if (HasMove(node)) {
                const char colour = node.Has("B") ? 'B' : 'W';
                // The other side passes in between when one side moves twice.
                if (SideAt(tree.Level(at) + 1) != colour) {
                    const int before = tree.ChildCount(at);
                    at = ChildWithMove(tree, at, "TT");
                    m_FirstMoveVariations += parentAbove == treeRoot && tree.ChildCount(treeRoot) > before;
                } else {
                    m_FirstMoveVariations += parentAbove == treeRoot;
                }
                const auto move = *SgfMove(node.Get(std::string(1, colour)));
                const auto [p, q] = m_Symmetry.Apply(TPoint{move.first, move.second});
                at = ChildWithMove(tree, at, PointText(p, q));
            }
            if (at != treeRoot) NoteMarks(tree, at, node);
            if (parentAbove == treeRoot && at != treeRoot && m_Marks[at].Verdict == TVerdict::None)
                m_Marks[at].Verdict = gameMarks.Verdict;
            for (auto it = node.Children.rbegin(); it != node.Children.rend(); ++it)
                stack.emplace_back(*it, at);
        }
    }

    static std::string Trimmed(const std::string& text) {
        const size_t first = text.find_first_not_of(" \t\r\n");
        if (first == std::string::npos) return "";
        return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
    }

    // The root's words (the root and the setup nodes before the first move) and each move's,
    // keyed by the move's depth-first index: its id once the tree is saved and loaded.
    void KeepComments(const TSolutionTree& tree, const std::vector<TSgfId>& starts,
                      TProblemComments& comments) const {
        for (TSgfId at = starts.front();; at = m_File.Nodes[at].Parent) {
            const std::string words = Trimmed(m_File.Nodes[at].Get("C"));
            if (!words.empty())
                comments.Root = words + (comments.Root.empty() ? "" : "\n" + comments.Root);
            if (at == m_Root) break;
        }
        int index = 0;
        for (TNodeId n = tree.Root(); n != kNoNode; n = tree.NextInDepthFirst(n), ++index) {
            const auto found = m_NodeComments.find(n);
            if (found != m_NodeComments.end()) comments.Moves[index] = found->second;
        }
    }

    // How deep the answer goes, which orders a folder by difficulty: the deepest end of a line
    // that succeeds or that passes a move marked correct (whatever its end says).
    int LongestCorrectLine(const TSolutionTree& tree) const {
        std::vector<bool> passesCorrect(tree.Size(), false);
        int longest = 0;
        for (TNodeId n = 1; n < tree.Size(); ++n) {
            passesCorrect[n] =
                passesCorrect[tree.Parent(n)] || m_Marks[n].Verdict == TVerdict::Correct;
            if (tree.HasChildren(n)) continue;
            if (passesCorrect[n] || tree.LineEndOf(n) == TLineEnd::Success)
                longest = std::max(longest, tree.Level(n));
        }
        return longest;
    }

    // What the node's markup says, kept with the tree node its line reached; the first verdict
    // a node is given stands. Its comment is kept with the node too (merged moves keep both).
    void NoteMarks(TSolutionTree& tree, TNodeId at, const TSgfNode& node) {
        const std::string comment = Trimmed(node.Get("C"));
        if (!comment.empty()) {
            std::string& kept = m_NodeComments[at];
            if (kept.find(comment) == std::string::npos)
                kept += (kept.empty() ? "" : "\n") + comment;
        }
        const TOutcomeMarks marks = OutcomeOf(node, m_Goal, m_Solver, tree.Level(at) % 2 == 1);
        const int flags = HexValue(tree.Node(at).StringData) | marks.Flags;
        if (flags != 0) SetFlags(tree, at, flags);
        if (m_Marks[at].Verdict == TVerdict::None) m_Marks[at] = marks;
    }

    // Decides how every line ends. An end takes its own verdict (or that of a line cut below it),
    // or else that of the nearest node above it that has one (a correct mark on an inner move
    // says "so far so good": the line goes on and its ends carry the success). An end nothing
    // decides follows the problem's convention: where nothing at all is marked, the main line is
    // the answer (the first of the player's moves at every branch, every reply of the opponent
    // to it a variation the player answers so); where only failures are marked, every other end
    // is a success; otherwise it is a failure. Notes whether a correct end speaks of a ko.
    // Returns the ends that carry a success from above.
    int DecideEnds(TSolutionTree& tree) {
        // A cut line's mark stands for the end it left, never for the lines that go on below.
        const auto marksOf = [&](TNodeId n) -> const TOutcomeMarks& {
            const auto cut = m_CutMarks.find(n);
            return m_Marks[n].Verdict == TVerdict::None && !tree.HasChildren(n) && cut != m_CutMarks.end()
                       ? cut->second
                       : m_Marks[n];
        };
        bool anyVerdict = false, anyCorrect = false;
        for (TNodeId n = 1; n < tree.Size(); ++n) {
            const TVerdict verdict = marksOf(n).Verdict;
            anyVerdict = anyVerdict || verdict != TVerdict::None;
            anyCorrect = anyCorrect || verdict == TVerdict::Correct;
        }
        m_Convention = !anyVerdict   ? TConvention::MainLine
                       : !anyCorrect ? TConvention::FailuresOnly
                                     : TConvention::Marked;
        // Parents come before their children in id order: one pass hands verdicts down.
        std::vector<bool> mainLine(tree.Size(), false);
        std::vector<TVerdict> above(tree.Size(), TVerdict::None);
        std::vector<bool> koAbove(tree.Size(), false);
        mainLine[0] = true;
        int carried = 0;
        for (TNodeId n = 1; n < tree.Size(); ++n) {
            const TNodeId parent = tree.Parent(n);
            mainLine[n] = mainLine[parent] && (tree.Level(n) % 2 == 0 || tree.FirstChild(parent) == n);
            const TOutcomeMarks& marks = marksOf(n);
            const TVerdict own = marks.Verdict;
            const TVerdict inherited = above[parent];
            above[n] = own != TVerdict::None ? own : inherited;
            koAbove[n] = own != TVerdict::None ? marks.Ko : koAbove[parent];
            if (tree.HasChildren(n)) continue;
            TVerdict verdict = above[n];
            if (verdict == TVerdict::None)
                verdict = m_Convention == TConvention::MainLine
                              ? (mainLine[n] ? TVerdict::Correct : TVerdict::Wrong)
                          : m_Convention == TConvention::FailuresOnly ? TVerdict::Correct
                                                                      : TVerdict::Wrong;
            if (verdict != TVerdict::Correct) continue;
            m_AnswerKo = m_AnswerKo || koAbove[n] || marks.Ko;
            const bool notBest = own == TVerdict::Correct && marks.NotBest;
            tree.Node(n).Text += notBest ? " 5" : " 1";
            carried += own == TVerdict::None && inherited == TVerdict::Correct;
        }
        return carried;
    }

    // "Also correct" means not the best of the correct answers. Where no other answer to the
    // same position leads to a success, it is the best there is and counts as plainly correct;
    // otherwise that variation could never be credited and the problem never solved.
    static void PromoteLoneAlsoCorrect(TSolutionTree& tree) {
        const std::vector<bool> successBelow = tree.SuccessBelowAll();
        for (TNodeId n = tree.Root(); n != kNoNode; n = tree.NextInDepthFirst(n)) {
            const std::string& text = tree.Node(n).Text;
            if (text.size() != 4 || text.compare(2, 2, " 5") != 0) continue;
            bool better = false;
            for (TNodeId s = tree.FirstChild(tree.Parent(n)); s != kNoNode && !better;
                 s = tree.NextSibling(s))
                better = s != n && (tree.LineEndOf(s) == TLineEnd::Success || successBelow[s]) &&
                         !IsFlagged(tree.FlagsOf(s));
            if (better) continue;
            tree.Node(n).Text = text.substr(0, 2) + " 1";
            SetFlags(tree, n, tree.FlagsOf(n) & ~kFlagNotBest);
        }
    }

    // Collections often stop an opponent's alternative after showing the refutation without
    // marking it correct. Played as it stands, such a reply could never be answered with a
    // success and the problem could never be solved; so where the player's move does lead to
    // a success through other replies, the opponent never chooses these (flag 8).
    static void MaskUnfinishedReplies(TSolutionTree& tree) {
        const std::vector<bool> successBelow = tree.SuccessBelowAll();
        std::vector<TNodeId> unfinished;
        for (TNodeId n = tree.Root(); n != kNoNode; n = tree.NextInDepthFirst(n)) {
            if (tree.Level(n) < 2 || tree.Level(n) % 2 != 0) continue;
            if (!successBelow[n] && !IsSuccess(ResultValue(tree.ResultCodeOf(n))) &&
                successBelow[tree.Parent(n)])
                unfinished.push_back(n);
        }
        for (TNodeId n : unfinished)
            SetFlags(tree, n, tree.FlagsOf(n) | kFlagNeverChosen);
    }

    static void SetFlags(TSolutionTree& tree, TNodeId n, int flags) {
        char hex[16];
        std::snprintf(hex, sizeof hex, "%X", flags);
        tree.Node(n).StringData = flags ? hex : "";
    }

    const TSgfFile& m_File;
    TSgfId m_Root;
    std::vector<TSgfId> m_Roots;
    std::string m_Source;
    std::set<std::pair<int, int>> m_Black, m_White;
    std::set<TSgfId> m_SetupNodes; // the nodes of the start that set up stones
    TSgfId m_ProblemNode = kNoSgfNode;
    char m_Solver = 'B';
    int m_Lines = 19;
    TGoal m_Goal;
    TOrientation m_Symmetry;
    std::vector<TOutcomeMarks> m_Marks; // by tree node
    std::map<TSgfId, std::string> m_Cut;          // where a line ends early, and why
    std::map<TNodeId, TOutcomeMarks> m_CutMarks;  // a line's end above a cut: what its end said
    bool m_AnswerKo = false;                      // a correct line ends in a ko
    std::map<TNodeId, std::string> m_NodeComments;
    // How the problem marks its ends: correct ends marked, nothing marked, or failures only.
    enum class TConvention { Marked, MainLine, FailuresOnly } m_Convention = TConvention::Marked;
    int m_FirstMoveVariations = 0;
};

} // namespace

namespace {

// Imports the games of one problem: the problem, or false with the reason in `skipped`.
bool ImportGames(const TSgfFile& file, const std::vector<TSgfId>& games, const std::string& source,
                 TImportedProblem& problem, std::vector<std::string>& skipped,
                 std::vector<std::string>& warnings) {
    TImporter importer(file, games, source);
    const std::string reason = importer.Import(problem);
    if (!reason.empty()) {
        // "file:row:col: why" where one node is at fault, else "file: why".
        const TSgfId at = importer.ProblemNode();
        const std::string place =
            at == kNoSgfNode ? "" : ":" + std::to_string(file.Nodes[at].Row) + ":" +
                                        std::to_string(file.Nodes[at].Column);
        skipped.push_back(source + place + ": " + reason);
        return false;
    }
    warnings.insert(warnings.end(), problem.Warnings.begin(), problem.Warnings.end());
    problem.Row.Solution = {};
    return true;
}

// What a game starts from: its board size, side to play, root move and the stones set up before
// the first move. Games that start alike are one problem; "" for a game without setup stones.
std::string StartSignature(const TSgfFile& file, TSgfId root) {
    std::string signature;
    bool stones = false;
    auto add = [&](const TSgfNode& node) {
        for (const char* id : {"AB", "AW", "AE"}) {
            const auto values = node.Props.find(id);
            if (values == node.Props.end()) continue;
            stones = stones || std::string(id) != "AE";
            std::vector<std::string> sorted = values->second;
            std::sort(sorted.begin(), sorted.end());
            signature += id;
            for (const std::string& v : sorted)
                signature += "[" + v + "]";
        }
    };
    const TSgfNode& first = file.Nodes[root];
    signature = "SZ" + first.Get("SZ") + "PL" + first.Get("PL") + "B" + first.Get("B") + "W" +
                first.Get("W");
    add(first);
    for (TSgfId at = root; file.Nodes[at].Children.size() == 1;) {
        at = file.Nodes[at].Children.front();
        if (HasMove(file.Nodes[at])) break;
        add(file.Nodes[at]);
    }
    return stones ? signature : "";
}

// Appends one game of `from` to `into`, its nodes renumbered (a game's nodes follow its root).
void AppendGames(TSgfFile& into, const TSgfFile& from, TSgfId game) {
    const TSgfId offset = static_cast<TSgfId>(into.Nodes.size()) - game;
    std::vector<TSgfId> stack{game};
    // The game's nodes, in id order: the reader numbers a game's nodes in one run.
    TSgfId last = game;
    while (!stack.empty()) {
        const TSgfId id = stack.back();
        stack.pop_back();
        last = std::max(last, id);
        for (const TSgfId child : from.Nodes[id].Children)
            stack.push_back(child);
    }
    for (TSgfId id = game; id <= last; ++id) {
        TSgfNode node = from.Nodes[id];
        if (node.Parent != kNoSgfNode) node.Parent += offset;
        for (TSgfId& child : node.Children)
            child += offset;
        into.Nodes.push_back(std::move(node));
    }
    into.Games.push_back(game + offset);
    if (into.Charset.empty()) into.Charset = from.Charset;
}

} // namespace

TImportResult ImportSgf(const TSgfFile& file, const std::string& name) {
    TImportResult result;
    // Games in a row that start alike are one problem, shown game by game.
    for (size_t g = 0; g < file.Games.size();) {
        const std::string source =
            file.Games.size() > 1 ? name + "#" + std::to_string(g + 1) : name;
        std::vector<TSgfId> games{file.Games[g]};
        const std::string signature = StartSignature(file, file.Games[g]);
        for (++g; g < file.Games.size() && !signature.empty() &&
                  StartSignature(file, file.Games[g]) == signature;
             ++g)
            games.push_back(file.Games[g]);
        TImportedProblem problem;
        if (ImportGames(file, games, source, problem, result.Skipped, result.Warnings))
            result.Problems.push_back(std::move(problem));
    }
    return result;
}

namespace {

// The level a file's name or one of its two nearest folders names ("15 kyu/", "3d.sgf").
int PathLevel(const std::string& path) {
    std::filesystem::path at(path);
    std::string name = at.stem().string();
    for (int up = 0; up < 3 && !name.empty(); ++up) {
        if (const int level = RankLevelOf(name)) return level;
        at = at.parent_path();
        name = at.filename().string();
    }
    return 0;
}

} // namespace

TFileImport ImportSgfFile(const std::string& path,
                          const std::function<bool(TImportedProblem&& problem)>& add,
                          const std::function<bool()>& keepGoing) {
    TFileImport result;
    // The games of the problem being read: held until a game starts differently.
    TSgfFile pending;
    std::string pendingSignature, pendingSource;
    auto flush = [&] {
        if (pending.Games.empty()) return true;
        TImportedProblem problem;
        const bool imported = ImportGames(pending, pending.Games, pendingSource, problem,
                                          result.Skipped, result.Warnings);
        pending = {};
        if (imported && problem.Row.Level1 == 0) problem.Row.Level1 = PathLevel(path);
        return !imported || add(std::move(problem));
    };
    const std::string error = ReadSgfFileGames(path, [&](const TSgfFile& file, int index) {
        // The first game is named by the file; later ones by their number in it.
        const std::string source = index == 0 ? path : path + "#" + std::to_string(index + 1);
        for (const TSgfId game : file.Games) {
            const std::string signature = StartSignature(file, game);
            if (pending.Games.empty() || signature.empty() || signature != pendingSignature) {
                if (!flush()) return false;
                pendingSignature = signature;
                pendingSource = source;
            }
            AppendGames(pending, file, game);
        }
        // A file of many games can be cancelled between two of them.
        return !keepGoing || index % 64 != 63 || keepGoing();
    });
    if (error == "cancelled") {
        result.Cancelled = true;
    } else if (!error.empty()) {
        result.Skipped.push_back(error);
        result.Broken = true;
    }
    // The last problem read: also when the file broke after it, as the games before a break are.
    if (!result.Cancelled) flush();
    return result;
}

bool PassesCheck(const TImportedProblem& problem, const TProblemCheck& check,
                 std::vector<std::string>& skipped) {
    if (!check) return true;
    TProblemRow row = problem.Row;
    row.Solution = SaveSolution(problem.Tree);
    std::vector<std::string> issues = check(row);
    // A tree whose every line is wrong is kept for the solver to judge the moves it lacks.
    if (problem.AnswerLeftToTheSolver)
        std::erase_if(issues, [](const std::string& issue) {
            return issue.ends_with("no success can be reached");
        });
    if (issues.empty()) return true;
    // "problem N: why" names a key the problem does not have yet: the file's place instead.
    std::string why = issues.front();
    if (const size_t colon = why.find(": "); why.rfind("problem ", 0) == 0 && colon != std::string::npos)
        why = why.substr(colon + 2);
    // The source may carry "#2" for a later game of the file; the place is that game's root.
    std::string file = problem.Source;
    if (const size_t hash = file.rfind('#'); hash != std::string::npos) file = file.substr(0, hash);
    skipped.push_back(file + ":" + std::to_string(problem.SourceRow) + ":" +
                      std::to_string(problem.SourceColumn) + ": " + why);
    return false;
}

} // namespace karvena
