#include "collection/SgfImport.h"

#include "collection/SolutionBlob.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <functional>
#include <regex>
#include <set>

#include "board/Notation.h"
#include "board/Orientation.h"

namespace karvena {

TOrientation ChooseSymmetry(const std::vector<std::pair<int, int>>& points) {
    // The order decides ties, so a problem imported again lands where it did before.
    constexpr int kOrder[TOrientation::kSymmetries] = {0, 4, 5, 2, 6, 3, 1, 7};
    TOrientation best;
    std::pair<int, int> bestScore{1 << 30, 1 << 30};
    for (const int symmetry : kOrder) {
        const TOrientation candidate(symmetry);
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

std::string TrimLeft(const std::string& s) {
    const size_t first = s.find_first_not_of(" \t\r\n");
    return first == std::string::npos ? "" : s.substr(first);
}

std::string Lower(std::string s) {
    for (char& c : s)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

bool HasSetup(const TSgfNode& node) {
    return node.Has("AB") || node.Has("AW") || node.Has("AE");
}
bool HasMove(const TSgfNode& node) {
    return node.Has("B") || node.Has("W");
}

} // namespace

namespace {
bool StartsWith(const std::string& text, const char* prefix) {
    return text.rfind(prefix, 0) == 0;
}

// The unambiguous ways published problem files mark a correct end: "Correct" leading the
// comment; "RIGHT" anywhere in it (the convention of many collections: "nice!RIGHT",
// "sekiRIGHT"), upper case only, so prose about the right side is no mark; a lone "+"; and
// "正解" (Japanese and Chinese: the correct answer) or "正确"/"正確" (correct) leading it.
// "不正解" (not the answer) is a failure, as every unmarked end is.
bool MarksCorrect(const std::string& comment) {
    return StartsWith(comment, "Correct") || comment.find("RIGHT") != std::string::npos ||
           comment == "+" || StartsWith(comment, "正解") || StartsWith(comment, "正确") ||
           StartsWith(comment, "正確");
}
} // namespace

TOutcomeMarks OutcomeOf(const TSgfNode& node, bool leaf) {
    TOutcomeMarks marks;
    const std::string comment = TrimLeft(node.Get("C"));
    if (StartsWith(comment, "Also correct")) {
        marks.Success = true;
        marks.NotBest = true;
        marks.Flags |= kFlagNotBest;
    } else if (MarksCorrect(comment)) {
        marks.Success = true;
    }
    // TE marks a good move; it ends a line as a success only where the line ends.
    if (node.Has("TE") && leaf) marks.Success = true;
    if (node.Has("BM")) marks.Flags |= kFlagBad;
    if (node.Has("DO")) marks.Flags |= kFlagNotBest;
    return marks;
}

int StatedResult(const std::string& comment) {
    static const std::regex koWord(R"(\bko\b)"), liveWord(R"(\blives?\b)"), killWord(R"(\bkill)");
    const std::string text = Lower(comment);
    const bool ko = std::regex_search(text, koWord);
    const bool lives = std::regex_search(text, liveWord);
    const bool kill = std::regex_search(text, killWord);
    if (lives) return ko ? 3 : 1;
    if (kill) return ko ? 2 : 0;
    return -1;
}

namespace {

class TImporter {
public:
    TImporter(const TSgfFile& file, TSgfId root, std::string source)
        : m_File(file), m_Root(root), m_Source(std::move(source)) {}

    // Fills `out`; returns the reason when the problem cannot be expressed.
    std::string Import(TImportedProblem& out) {
        const TSgfNode& root = m_File.Nodes[m_Root];
        const std::string size = root.Get("SZ");
        if (!size.empty() && size != "19" && size != "19:19")
            return "board size " + size + ", only 19 is played";

        // Setup: the root and the move-less nodes that follow it in a single line.
        TSgfId start = m_Root;
        CollectSetup(root);
        while (m_File.Nodes[start].Children.size() == 1) {
            const TSgfNode& next = m_File.Nodes[m_File.Nodes[start].Children.front()];
            if (HasMove(next)) break;
            start = m_File.Nodes[start].Children.front();
            CollectSetup(next);
        }

        // A game played from an empty board (a game record) is no life-and-death problem.
        if (m_Black.empty() && m_White.empty()) return "a game record, not a problem: no setup stones";

        // Every point the problem uses decides its orientation; moves must all be readable.
        std::vector<std::pair<int, int>> points(m_Black.begin(), m_Black.end());
        points.insert(points.end(), m_White.begin(), m_White.end());
        // A move in the root node is part of the starting position: the first Initial move.
        char rootColour = 0;
        std::optional<std::pair<int, int>> rootMove;
        if (HasMove(root)) {
            rootColour = root.Has("B") ? 'B' : 'W';
            rootMove = SgfMove(root.Get(std::string(1, rootColour)));
            if (!rootMove)
                return "a move in the root node that is no point: " +
                       root.Get(std::string(1, rootColour));
            points.push_back(*rootMove);
        }
        char firstColour = 0;
        std::string problem;
        WalkBelow(start, [&](TSgfId id) {
            const TSgfNode& node = m_File.Nodes[id];
            // Stones set up inside a line are an authoring slip: they belong to no answer.
            if (HasSetup(node))
                out.Warnings.push_back(m_Source + ":" + std::to_string(node.Row) + ":" +
                                       std::to_string(node.Column) +
                                       ": setup stones inside a variation left out");
            if (!HasMove(node)) return;
            const char colour = node.Has("B") ? 'B' : 'W';
            if (!firstColour) firstColour = colour;
            const auto move = SgfMove(node.Get(std::string(1, colour)));
            if (!move)
                problem = "a move that is no point: " + node.Get(std::string(1, colour));
            else
                points.push_back(*move);
        });
        if (!problem.empty()) return problem;
        if (!firstColour) return "no moves at all";
        const std::string pl = root.Get("PL");
        const char afterRoot = rootColour == 'B' ? 'W' : 'B';
        m_Solver = !pl.empty()
                       ? (std::toupper(static_cast<unsigned char>(pl[0])) == 'W' ? 'W' : 'B')
                       : (rootColour ? afterRoot : firstColour);
        m_Symmetry = ChooseSymmetry(points);

        out.Source = m_Source;
        out.SourceRow = m_File.Nodes[m_Root].Row;
        out.SourceColumn = m_File.Nodes[m_Root].Column;
        out.Row.ArrangedBlack = PointsText(m_Black);
        out.Row.ArrangedWhite = PointsText(m_White);
        out.Row.Initial = "";
        out.Row.FirstToPlay = m_Solver == 'W' ? "W" : "B";
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
        const int stated = StatedResult(root.Get("C"));
        if (stated >= 0) out.Row.Result2 = stated;

        TSolutionTree& tree = out.Tree;
        const TNodeId treeRoot = tree.Add(kNoNode, "");
        BuildTree(start, treeRoot, tree);
        out.CarriedLeaves = CarrySuccessDown(tree);
        PromoteLoneAlsoCorrect(tree);
        for (TNodeId n = treeRoot; n != kNoNode; n = tree.NextInDepthFirst(n)) {
            if (tree.LineEndOf(n) != TLineEnd::Success) continue;
            ++out.SuccessNodes;
            out.LongestCorrectLine = std::max(out.LongestCorrectLine, tree.Level(n));
        }
        out.FirstMoves = tree.ChildCount(treeRoot);
        MaskUnfinishedReplies(tree);
        tree.SetAllMarks(kMarkUnset);
        return "";
    }

private:
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

    // Visits every node below `start` (not `start` itself), without recursion.
    void WalkBelow(TSgfId start, const std::function<void(TSgfId)>& visit) const {
        std::vector<TSgfId> stack(m_File.Nodes[start].Children.rbegin(),
                                  m_File.Nodes[start].Children.rend());
        while (!stack.empty()) {
            const TSgfId id = stack.back();
            stack.pop_back();
            visit(id);
            const auto& children = m_File.Nodes[id].Children;
            stack.insert(stack.end(), children.rbegin(), children.rend());
        }
    }

    // The child of `parent` with exactly this text, made when missing (a shared "TT").
    static TNodeId ChildWithText(TSolutionTree& tree, TNodeId parent, const std::string& text) {
        for (TNodeId c = tree.FirstChild(parent); c != kNoNode; c = tree.NextSibling(c))
            if (tree.Node(c).Text == text) return c;
        return tree.Add(parent, text);
    }

    char SideAt(int level) const {
        const char opponent = m_Solver == 'B' ? 'W' : 'B';
        return level % 2 == 1 ? m_Solver : opponent;
    }

    void BuildTree(TSgfId start, TNodeId treeRoot, TSolutionTree& tree) {
        // Each SGF node is entered with the tree node its line has reached.
        std::vector<std::pair<TSgfId, TNodeId>> stack;
        for (auto it = m_File.Nodes[start].Children.rbegin();
             it != m_File.Nodes[start].Children.rend(); ++it)
            stack.emplace_back(*it, treeRoot);
        while (!stack.empty()) {
            const auto [id, parentAbove] = stack.back();
            stack.pop_back();
            const TSgfNode& node = m_File.Nodes[id];
            TNodeId at = parentAbove;
            if (HasMove(node)) {
                const char colour = node.Has("B") ? 'B' : 'W';
                // The other side passes in between when one side moves twice.
                if (SideAt(tree.Level(at) + 1) != colour) at = ChildWithText(tree, at, "TT");
                const auto move = *SgfMove(node.Get(std::string(1, colour)));
                const auto [p, q] = m_Symmetry.Apply(TPoint{move.first, move.second});
                at = tree.Add(at, PointText(p, q));
            }
            if (at != treeRoot) ApplyOutcome(tree, at, node);
            for (auto it = node.Children.rbegin(); it != node.Children.rend(); ++it)
                stack.emplace_back(*it, at);
        }
    }

    // A node marked correct that still has moves below it keeps them (an explanatory
    // continuation). The opponent answers such a move from the tree, and a reply's own result
    // decides the line; so the continuation's ends carry the success they explain.
    static int CarrySuccessDown(TSolutionTree& tree) {
        // Parents come before their children in id order: one pass finds every node that lies
        // below a success.
        std::vector<bool> belowSuccess(tree.Size(), false);
        int carried = 0;
        for (TNodeId n = 0; n < tree.Size(); ++n) {
            const TNodeId parent = tree.Parent(n);
            if (parent == kNoNode) continue;
            belowSuccess[n] = belowSuccess[parent] || tree.LineEndOf(parent) == TLineEnd::Success;
            if (belowSuccess[n] && !tree.HasChildren(n) && tree.Node(n).Text.size() == 2) {
                tree.Node(n).Text += " 1";
                ++carried;
            }
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

    void ApplyOutcome(TSolutionTree& tree, TNodeId at, const TSgfNode& node) {
        const TOutcomeMarks marks = OutcomeOf(node, node.Children.empty());
        TSolutionNode& target = tree.Node(at);
        const int flags = HexValue(target.StringData) | marks.Flags;
        if (flags != 0) SetFlags(tree, at, flags);
        if (marks.Success && target.Text.size() == 2) target.Text += marks.NotBest ? " 5" : " 1";
    }

    const TSgfFile& m_File;
    TSgfId m_Root;
    std::string m_Source;
    std::set<std::pair<int, int>> m_Black, m_White;
    char m_Solver = 'B';
    TOrientation m_Symmetry;
};

} // namespace

namespace {

// Imports one game of a file: the problem, or false with the reason in `skipped`.
bool ImportGame(const TSgfFile& file, TSgfId game, const std::string& source,
                TImportedProblem& problem, std::vector<std::string>& skipped,
                std::vector<std::string>& warnings) {
    const std::string reason = TImporter(file, game, source).Import(problem);
    if (!reason.empty()) {
        skipped.push_back(source + ": " + reason);
        return false;
    }
    warnings.insert(warnings.end(), problem.Warnings.begin(), problem.Warnings.end());
    problem.Row.Solution = {};
    return true;
}

} // namespace

TImportResult ImportSgf(const TSgfFile& file, const std::string& name) {
    TImportResult result;
    for (size_t g = 0; g < file.Games.size(); ++g) {
        const std::string source =
            file.Games.size() > 1 ? name + "#" + std::to_string(g + 1) : name;
        TImportedProblem problem;
        if (ImportGame(file, file.Games[g], source, problem, result.Skipped, result.Warnings))
            result.Problems.push_back(std::move(problem));
    }
    return result;
}

TFileImport ImportSgfFile(const std::string& path,
                          const std::function<bool(TImportedProblem&& problem)>& add,
                          const std::function<bool()>& keepGoing) {
    TFileImport result;
    const std::string error = ReadSgfFileGames(path, [&](const TSgfFile& file, int index) {
        // The first game is named by the file; later ones by their number in it.
        const std::string source = index == 0 ? path : path + "#" + std::to_string(index + 1);
        for (const TSgfId game : file.Games) {
            TImportedProblem problem;
            if (ImportGame(file, game, source, problem, result.Skipped, result.Warnings) &&
                !add(std::move(problem)))
                return false;
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
    return result;
}

bool PassesCheck(const TImportedProblem& problem, const TProblemCheck& check,
                 std::vector<std::string>& skipped) {
    if (!check) return true;
    TProblemRow row = problem.Row;
    row.Solution = SaveSolution(problem.Tree);
    const std::vector<std::string> issues = check(row);
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
