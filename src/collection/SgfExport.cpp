#include "collection/SgfExport.h"

#include <map>

namespace karvena {

std::string SgfPoint(const std::string& move) {
    if (move.size() != 2 || move == "TT") return "";
    return {static_cast<char>(move[0] - 'A' + 'a'), static_cast<char>(move[1] - 'A' + 'a')};
}

namespace {

// Escapes a property value: "]" and "\" take a backslash.
std::string Value(const std::string& text) {
    std::string out;
    for (const char c : text) {
        if (c == ']' || c == '\\') out += '\\';
        out += c;
    }
    return out;
}

std::string Stones(const char* property, const std::string& points) {
    if (points.size() < 2) return "";
    std::string out = property;
    for (size_t k = 0; k + 1 < points.size(); k += 2)
        out += "[" + SgfPoint(points.substr(k, 2)) + "]";
    return out;
}

class TWriter {
public:
    TWriter(const TSolutionTree& tree, char player, const std::vector<TAddedLine>& added)
        : m_Tree(tree), m_Player(player), m_Opponent(player == 'B' ? 'W' : 'B') {
        for (const TAddedLine& line : added) {
            std::string key;
            for (const std::string& m : line.After)
                key += m;
            m_Added[key].push_back(&line);
        }
    }
    // The node's children and the lines added after it, each a variation of its own when there
    // are several.
    std::string Below(TNodeId node, const std::string& path, int level) const {
        std::vector<std::string> variations;
        for (TNodeId c = m_Tree.FirstChild(node); c != kNoNode; c = m_Tree.NextSibling(c))
            variations.push_back(Line(c, path, level + 1));
        if (const auto it = m_Added.find(path); it != m_Added.end())
            for (const TAddedLine* line : it->second)
                variations.push_back(Added(*line, level + 1));
        if (variations.size() == 1) return variations[0];
        std::string out;
        for (const std::string& v : variations)
            out += "\n(" + v + ")";
        return out;
    }

private:
    char ColourAt(int level) const { return level % 2 == 1 ? m_Player : m_Opponent; }
    std::string Node(int level, const std::string& move, const std::string& comment) const {
        std::string out = std::string(";") + ColourAt(level) + "[" + SgfPoint(move) + "]";
        if (!comment.empty()) out += "C[" + Value(comment) + "]";
        return out;
    }
    std::string Line(TNodeId node, const std::string& path, int level) const {
        const std::string move = m_Tree.MoveOf(node);
        std::string comment;
        const TLineEnd end = m_Tree.LineEndOf(node);
        if (end == TLineEnd::Success) comment = "Correct";
        else if (end == TLineEnd::Failure || !m_Tree.HasChildren(node)) comment = "Wrong";
        return Node(level, move, comment) + Below(node, path + move, level);
    }
    std::string Added(const TAddedLine& line, int level) const {
        std::string out;
        for (size_t k = 0; k < line.Moves.size(); ++k) {
            std::string comment = k == 0 ? line.Comment : "";
            if (k + 1 == line.Moves.size() && !line.End.empty())
                comment += (comment.empty() ? "" : " ") + line.End;
            out += Node(level + static_cast<int>(k), line.Moves[k], comment);
        }
        return out;
    }

    const TSolutionTree& m_Tree;
    const char m_Player, m_Opponent;
    std::map<std::string, std::vector<const TAddedLine*>> m_Added;
};

} // namespace

std::string ProblemSgf(const TProblemRow& row, const TSolutionTree& tree,
                       const std::vector<TAddedLine>& added) {
    const int lines = row.BoardSize >= 7 && row.BoardSize <= 19 ? row.BoardSize : 19;
    const char first = !row.FirstToPlay.empty() && row.FirstToPlay[0] == 'W' ? 'W' : 'B';
    const int initialMoves = static_cast<int>(row.Initial.size() / 2);
    const char player = initialMoves % 2 == 0 ? first : (first == 'B' ? 'W' : 'B');
    std::string out = "(;GM[1]FF[4]CA[UTF-8]SZ[" + std::to_string(lines) + "]";
    out += Stones("AB", row.ArrangedBlack) + Stones("AW", row.ArrangedWhite);
    // The moves before the problem starts, then the player to move.
    char colour = first;
    for (int k = 0; k < initialMoves; ++k) {
        out += std::string("\n;") + colour + "[" + SgfPoint(row.Initial.substr(2 * k, 2)) + "]";
        colour = colour == 'B' ? 'W' : 'B';
    }
    out += std::string(initialMoves ? "PL[" : "\nPL[") + player + "]";
    const TWriter writer(tree, player, added);
    if (tree.Root() != kNoNode) out += writer.Below(tree.Root(), "", 0);
    return out + ")\n";
}

} // namespace karvena
