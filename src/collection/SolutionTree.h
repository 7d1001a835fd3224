#pragma once
// TSolutionTree: a problem's answer as a tree of moves. Levels alternate: the root (level 0) is
// the problem, odd levels are the solver's moves, even levels from 2 on the opponent's replies.
// Nodes carry a move text with an optional result code, move flags, a remark number and a visit
// mark the solve loop keeps while the solver works through the opponent's variations.
//
// Nodes live in one flat array and refer to each other by index, so a deep chain of single
// children is loaded, walked and freed without recursion.
#include <cstdint>
#include <string>
#include <vector>

namespace karvena {

using TNodeId = int;
constexpr TNodeId kNoNode = -1;

// Visit marks: Unset (every node after loading) and Visited count as visited, Open does not.
constexpr int kMarkUnset = -1;
constexpr int kMarkOpen = 1;
constexpr int kMarkVisited = 3;

// Reply masks: with "computer does not play bad moves" on, bad and not-best moves are avoided too.
constexpr int kMaskAvoidBad = 29;
constexpr int kMaskPlain = 24;

struct TSolutionNode {
    std::string Text;
    std::string StringData;  // move flags, hexadecimal
    std::string StringData2; // remark number, hexadecimal
    // Stored with the node and written back unchanged; they mean nothing to the trainer.
    int32_t ImageIndex = 0;
    int32_t SelectedIndex = 0;
    int32_t StateIndex = 0;
    int32_t OverlayIndex = 0;
    uint8_t CheckBox = 0;
    uint8_t Check = 0;
    uint8_t Expanded = 0;
    int32_t UserData = 0;

    int Mark = kMarkUnset;
    int Level = 0;
    TNodeId Parent = kNoNode;
    TNodeId FirstChild = kNoNode;
    TNodeId LastChild = kNoNode;
    TNodeId NextSibling = kNoNode;
    int ChildCount = 0;
};

// How a line stands after a node.
enum class TLineEnd { Continues, Success, Failure };

// Where the next opponent variation starts, or that none is left.
struct TVariation {
    bool Exhausted = true;
    TNodeId Branch = kNoNode; // the solver's move after which the opponent answers differently
    TNodeId Reply = kNoNode;  // the opponent's next reply
};

struct TMatch {
    TNodeId Child = kNoNode;
    int Count = 0; // how many children matched in the pass that found any
};

class TSolutionTree {
public:
    // ---- Building ----
    // Empties the tree.
    void Clear();
    // Adds a node under `parent` (kNoNode: a top-level node) and returns it.
    TNodeId Add(TNodeId parent, std::string text, std::string flags = "", std::string remark = "");
    // All nodes, in the order they were added (loading adds them depth first).
    int Size() const { return static_cast<int>(m_Nodes.size()); }
    bool Empty() const { return m_Nodes.empty(); }
    const TSolutionNode& Node(TNodeId id) const { return m_Nodes[id]; }
    TSolutionNode& Node(TNodeId id) { return m_Nodes[id]; }

    // ---- Shape ----
    // The problem's root: the first top-level node, kNoNode for an empty tree.
    TNodeId Root() const { return m_Nodes.empty() ? kNoNode : 0; }
    int Level(TNodeId id) const { return m_Nodes[id].Level; }
    TNodeId Parent(TNodeId id) const { return m_Nodes[id].Parent; }
    TNodeId FirstChild(TNodeId id) const { return m_Nodes[id].FirstChild; }
    TNodeId NextSibling(TNodeId id) const { return m_Nodes[id].NextSibling; }
    int ChildCount(TNodeId id) const { return m_Nodes[id].ChildCount; }
    bool HasChildren(TNodeId id) const { return m_Nodes[id].ChildCount > 0; }
    // The children of a node in stored order.
    std::vector<TNodeId> Children(TNodeId id) const;
    // The node after `id` in depth-first order (children first), kNoNode after the last.
    TNodeId NextInDepthFirst(TNodeId id) const;
    // The top-level nodes in stored order.
    std::vector<TNodeId> TopLevel() const;

    // ---- The current node (the solve loop's place in the tree) ----
    TNodeId Current() const { return m_Current; }
    void Select(TNodeId id) { m_Current = id; }

    // ---- Visit marks ----
    void SetAllMarks(int mark);
    // Sets bit 2: Open becomes Visited, Unset stays Unset.
    void MarkVisited(TNodeId id) { m_Nodes[id].Mark |= 2; }
    // Keeps bit 1 only: every mark becomes Open.
    void Reopen(TNodeId id) { m_Nodes[id].Mark &= 1; }
    bool IsVisited(TNodeId id) const { return (m_Nodes[id].Mark & 2) != 0; }

    // ---- What a node says ----
    // The node's two-character result code ("  " when absent, "0 " for a childless node without
    // one).
    std::string ResultCodeOf(TNodeId id) const;
    // The node's move flags (StringData as hexadecimal, 0 when empty or unreadable).
    int FlagsOf(TNodeId id) const;
    // The node's remark number (StringData2 as hexadecimal).
    int RemarkOf(TNodeId id) const;
    // Success, failure, or the line continues, from the node's result code.
    TLineEnd LineEndOf(TNodeId id) const;
    // The first two characters of the text: the move ("TT" plays elsewhere).
    std::string MoveOf(TNodeId id) const { return m_Nodes[id].Text.substr(0, 2); }

    // ---- Queries of the solve loop ----
    // The child of `parent` whose move equals `move`, or else its first "TT" child.
    TMatch MatchMove(TNodeId parent, const std::string& move) const;
    // The opponent's reply to the solver's move at `node`: the only child, else the first open
    // unmasked child, reopening the children once when all were played.
    TNodeId ChooseReply(TNodeId node, int mask);
    // True when a success lies below `node` on a path without a flagged opponent move.
    bool HasSuccessBelow(TNodeId node) const;
    // HasSuccessBelow for every node at once, in one pass over the tree (index = node id).
    std::vector<bool> SuccessBelowAll() const;
    // Where to retry after a failure at `node`: the nearest even-level node at or above it from
    // which a success is reachable, or kNoNode.
    TNodeId RetryPoint(TNodeId node) const;
    // The ancestor at level k - 1 when it branches; otherwise the nearest node at or above it
    // with a success below; kNoNode when there is none.
    TNodeId BranchPointAbove(TNodeId node, int k) const;
    // After a success at `node`: marks the line played and finds the next opponent variation.
    TVariation AdvanceVariation(TNodeId node, int mask);
    // After a take-back: steps the current node up when it is one move beyond the board.
    void SyncToBoard(size_t processLength, size_t initialLength);

    // One node a line, indented by level: text, flags, remark number and mark. Below
    // kDumpIndentLevels levels a line carries its level as "[n]" instead of more indentation.
    std::string Dump() const;
    static constexpr int kDumpIndentLevels = 30;

private:
    // For each node from `from` on (index = id - from): a success below it on a path without
    // a flagged opponent move.
    std::vector<bool> SuccessBelowFrom(TNodeId from) const;

    std::vector<TSolutionNode> m_Nodes;
    TNodeId m_FirstTop = kNoNode;
    TNodeId m_LastTop = kNoNode;
    TNodeId m_Current = kNoNode;
};

// The pieces of a node text and a result code, usable without a tree.
// The result code of a text: after the first blank at position 3 or later, trimmed, two
// characters padded with blanks; "0 " for a childless node that has none.
std::string ResultCodeOfText(const std::string& text, bool hasChildren);
// h(c1) + 4 h(c2) over hexadecimal digits (others count 0); 0 when the code is absent.
int ResultValue(const std::string& code);
// True when the code is present: its first character is above the blank.
bool HasResultCode(const std::string& code);
// Bit 0 of the value.
inline bool IsSuccess(int value) {
    return (value & 1) != 0;
}
// Success, failure (codes from "0" up that are no success) or the line continues.
TLineEnd LineEndOfCode(const std::string& code);
// A hexadecimal number of up to eight digits without prefix (a 32-bit word); 0 when empty,
// unreadable or longer.
int HexValue(const std::string& text);

// Move flag bits.
constexpr int kFlagBad = 1;
constexpr int kFlagSeki = 2;
constexpr int kFlagNotBest = 4;
constexpr int kFlagNeverChosen = 8; // the opponent never plays this reply
constexpr int kFlagSometimes = 64;
// Flagged: a bad or not-best move.
inline bool IsFlagged(int flags) {
    return (flags & 5) != 0;
}
inline bool IsMasked(int flags, int mask) {
    return (flags & mask) != 0;
}

} // namespace karvena

namespace karvena {

// The remark lists: "Remark.txt" (English) and "RemarkGB.txt" (Chinese), one remark a line.
struct TRemarks {
    std::vector<std::string> English;
    std::vector<std::string> Chinese;
};

// The lines of a remark file; a missing or unreadable file gives an empty list. With a charset
// (RemarkGB.txt is GB2312) each line is recoded to UTF-8; a line that is not in it is left empty
// rather than shown as garbage.
std::vector<std::string> LoadRemarkLines(const std::string& path, const char* charset = nullptr);

// The status-bar comment of a node: "Bad move", "Seki" or "Not best" for those exact flags,
// then ". " and the remark numbered by StringData2 (never line 0).
std::string CommentOf(const TSolutionTree& tree, TNodeId node, const TRemarks& remarks,
                      bool english);

// The tree without the first move `cut` and the line below it (a problem whose file left out one
// of its answers, as a player may meet it).
TSolutionTree WithoutFirstMove(const TSolutionTree& tree, TNodeId cut);

// The first moves whose line ends in a success or leads to one.
std::vector<TNodeId> CorrectFirstMoves(const TSolutionTree& tree);

} // namespace karvena
