#include "collection/SolutionTree.h"

#include "text/Charset.h"

#include <cctype>
#include <fstream>

namespace karvena {

// ---- Node text ----

std::string ResultCodeOfText(const std::string& text, bool hasChildren) {
    std::string code = "  ";
    const size_t blank = text.size() > 2 ? text.find(' ', 2) : std::string::npos;
    if (blank != std::string::npos) {
        size_t first = text.find_first_not_of(' ', blank + 1);
        if (first != std::string::npos) {
            const size_t last = text.find_last_not_of(' ');
            const std::string rest = text.substr(first, last - first + 1);
            code = rest.substr(0, 2);
            code.resize(2, ' ');
        }
    }
    if (!hasChildren && !HasResultCode(code)) code = "0 ";
    return code;
}

bool HasResultCode(const std::string& code) {
    return !code.empty() && static_cast<unsigned char>(code[0]) > ' ';
}

namespace {
int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return 0;
}
} // namespace

int ResultValue(const std::string& code) {
    if (!HasResultCode(code)) return 0;
    return HexDigit(code[0]) + 4 * (code.size() > 1 ? HexDigit(code[1]) : 0);
}

TLineEnd LineEndOfCode(const std::string& code) {
    if (!HasResultCode(code)) return TLineEnd::Continues;
    if (IsSuccess(ResultValue(code))) return TLineEnd::Success;
    // Codes from "0" up end the line; the punctuation codes 0x21..0x2F let it continue.
    return static_cast<unsigned char>(code[0]) >= '0' ? TLineEnd::Failure : TLineEnd::Continues;
}

int HexValue(const std::string& text) {
    // Up to eight digits: a flag word uses all 32 bits.
    if (text.empty() || text.size() > 8) return 0;
    uint32_t value = 0;
    for (char c : text) {
        if (!std::isxdigit(static_cast<unsigned char>(c))) return 0;
        value = value * 16 + static_cast<uint32_t>(HexDigit(c));
    }
    return static_cast<int>(value);
}

// ---- Building and shape ----

void TSolutionTree::Clear() {
    m_Nodes.clear();
    m_FirstTop = m_LastTop = m_Current = kNoNode;
}

TNodeId TSolutionTree::Add(TNodeId parent, std::string text, std::string flags,
                           std::string remark) {
    const TNodeId id = static_cast<TNodeId>(m_Nodes.size());
    TSolutionNode node;
    node.Text = std::move(text);
    node.StringData = std::move(flags);
    node.StringData2 = std::move(remark);
    node.Parent = parent;
    if (parent == kNoNode) {
        node.Level = 0;
        if (m_LastTop != kNoNode)
            m_Nodes[m_LastTop].NextSibling = id;
        else
            m_FirstTop = id;
        m_LastTop = id;
    } else {
        TSolutionNode& p = m_Nodes[parent];
        node.Level = p.Level + 1;
        if (p.LastChild != kNoNode)
            m_Nodes[p.LastChild].NextSibling = id;
        else
            p.FirstChild = id;
        p.LastChild = id;
        ++p.ChildCount;
    }
    m_Nodes.push_back(std::move(node));
    return id;
}

std::vector<TNodeId> TSolutionTree::Children(TNodeId id) const {
    std::vector<TNodeId> out;
    for (TNodeId c = FirstChild(id); c != kNoNode; c = NextSibling(c))
        out.push_back(c);
    return out;
}

std::vector<TNodeId> TSolutionTree::TopLevel() const {
    std::vector<TNodeId> out;
    for (TNodeId c = m_FirstTop; c != kNoNode; c = NextSibling(c))
        out.push_back(c);
    return out;
}

TNodeId TSolutionTree::NextInDepthFirst(TNodeId id) const {
    if (FirstChild(id) != kNoNode) return FirstChild(id);
    for (TNodeId n = id; n != kNoNode; n = Parent(n))
        if (NextSibling(n) != kNoNode) return NextSibling(n);
    return kNoNode;
}

void TSolutionTree::SetAllMarks(int mark) {
    for (TSolutionNode& node : m_Nodes)
        node.Mark = mark;
}

// ---- What a node says ----

std::string TSolutionTree::ResultCodeOf(TNodeId id) const {
    return ResultCodeOfText(m_Nodes[id].Text, HasChildren(id));
}

int TSolutionTree::FlagsOf(TNodeId id) const {
    return HexValue(m_Nodes[id].StringData);
}

int TSolutionTree::RemarkOf(TNodeId id) const {
    return HexValue(m_Nodes[id].StringData2);
}

TLineEnd TSolutionTree::LineEndOf(TNodeId id) const {
    return LineEndOfCode(ResultCodeOf(id));
}

// ---- Queries ----

TMatch TSolutionTree::MatchMove(TNodeId parent, const std::string& move) const {
    for (const std::string& wanted : {move, std::string("TT")}) {
        TMatch match;
        for (TNodeId c = FirstChild(parent); c != kNoNode; c = NextSibling(c)) {
            if (m_Nodes[c].Text.compare(0, 2, wanted) != 0 || m_Nodes[c].Text.size() < 2) continue;
            if (match.Child == kNoNode) match.Child = c;
            ++match.Count;
        }
        if (match.Child != kNoNode) return match;
    }
    return {};
}

TNodeId TSolutionTree::ChooseReply(TNodeId node, int mask) {
    if (ChildCount(node) == 0) return kNoNode;
    if (ChildCount(node) == 1) return FirstChild(node);
    for (TNodeId c = FirstChild(node); c != kNoNode; c = NextSibling(c))
        if (!IsVisited(c) && !IsMasked(FlagsOf(c), mask)) return c;
    for (TNodeId c = FirstChild(node); c != kNoNode; c = NextSibling(c))
        Reopen(c);
    for (TNodeId c = FirstChild(node); c != kNoNode; c = NextSibling(c))
        if (!IsMasked(FlagsOf(c), mask)) return c;
    return kNoNode;
}

std::vector<bool> TSolutionTree::SuccessBelowFrom(TNodeId from) const {
    // A child is always added after its parent, so going down the ids sees children first, and
    // every node below `from` has a higher id.
    // reaches[n]: a success at n or below it, with no flagged opponent move from n down to it.
    const int n = Size();
    if (from < 0 || from >= n) return {};
    std::vector<bool> reaches(n - from, false), below(n - from, false);
    for (TNodeId id = n - 1; id >= from; --id) {
        const size_t at = static_cast<size_t>(id - from);
        for (TNodeId c = FirstChild(id); c != kNoNode && !below[at]; c = NextSibling(c))
            below[at] = reaches[static_cast<size_t>(c - from)];
        const bool flaggedOpponent = Level(id) % 2 == 0 && IsFlagged(FlagsOf(id));
        reaches[at] = !flaggedOpponent && (below[at] || IsSuccess(ResultValue(ResultCodeOf(id))));
    }
    return below;
}

bool TSolutionTree::HasSuccessBelow(TNodeId node) const {
    const std::vector<bool> below = SuccessBelowFrom(node);
    return !below.empty() && below[0];
}

std::vector<bool> TSolutionTree::SuccessBelowAll() const {
    return SuccessBelowFrom(0);
}

TNodeId TSolutionTree::RetryPoint(TNodeId node) const {
    TNodeId x = node;
    while (x != kNoNode && (Level(x) % 2 == 1 || !HasSuccessBelow(x)))
        x = Parent(x);
    return x;
}

TNodeId TSolutionTree::BranchPointAbove(TNodeId node, int k) const {
    TNodeId a = Parent(node);
    while (a != kNoNode && Level(a) != k - 1)
        a = Parent(a);
    if (a == kNoNode) return kNoNode;
    if (ChildCount(a) >= 2) return a;
    for (; a != kNoNode; a = Parent(a))
        if (HasSuccessBelow(a)) return a;
    return kNoNode;
}

TVariation TSolutionTree::AdvanceVariation(TNodeId node, int mask) {
    MarkVisited(node);
    for (TNodeId x = Parent(node); x != kNoNode; x = Parent(x)) {
        if (Level(x) % 2 == 0 || ChildCount(x) < 2) {
            MarkVisited(x);
        } else {
            for (TNodeId c = FirstChild(x); c != kNoNode; c = NextSibling(c))
                if (!IsMasked(FlagsOf(c), mask) && !IsVisited(c)) return {false, x, c};
            MarkVisited(x);
            for (TNodeId c = FirstChild(x); c != kNoNode; c = NextSibling(c))
                Reopen(c);
        }
        if (Level(x) == 0) break;
    }
    return {};
}

void TSolutionTree::SyncToBoard(size_t processLength, size_t initialLength) {
    if (m_Current == kNoNode) return;
    const long m = (static_cast<long>(processLength) - static_cast<long>(initialLength)) / 2;
    if (Level(m_Current) == m + 1 && Parent(m_Current) != kNoNode) m_Current = Parent(m_Current);
}

std::string TSolutionTree::Dump() const {
    std::string out;
    for (TNodeId n = m_FirstTop; n != kNoNode; n = NextInDepthFirst(n)) {
        const TSolutionNode& node = m_Nodes[n];
        // Deep lines stop indenting and name their level instead, so the output grows with the
        // tree's size, never with size x depth.
        if (node.Level <= kDumpIndentLevels)
            out += std::string(2 * node.Level, ' ') + node.Text;
        else
            out += std::string(2 * kDumpIndentLevels, ' ') + "[" + std::to_string(node.Level) +
                   "] " + node.Text;
        if (!node.StringData.empty()) out += " flags=" + node.StringData;
        if (!node.StringData2.empty()) out += " remark=" + node.StringData2;
        out += " mark=" + std::to_string(node.Mark) + "\n";
    }
    return out;
}

// ---- Comments ----

std::vector<std::string> LoadRemarkLines(const std::string& path, const char* charset) {
    std::vector<std::string> lines;
    std::ifstream in(path, std::ios::binary);
    std::string line;
    while (in && std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (charset) line = Recode(line, charset, "UTF-8").value_or("");
        lines.push_back(line);
    }
    return lines;
}

std::string CommentOf(const TSolutionTree& tree, TNodeId node, const TRemarks& remarks,
                      bool english) {
    const int flags = tree.FlagsOf(node) & 0xFF;
    std::string label;
    if (flags == kFlagBad)
        label = english ? "Bad move" : "坏棋";
    else if (flags == kFlagSeki)
        label = english ? "Seki" : "双活";
    else if (flags == kFlagNotBest)
        label = english ? "Not best" : "非最佳";

    const std::vector<std::string>& list = english ? remarks.English : remarks.Chinese;
    const size_t n = static_cast<size_t>(tree.RemarkOf(node) & 0xFF);
    const std::string remark = (n != 0 && list.size() > n) ? list[n] : "";
    if (!label.empty() && !remark.empty()) return label + ". " + remark;
    return label.empty() ? remark : label;
}

TSolutionTree WithoutFirstMove(const TSolutionTree& tree, TNodeId cut) {
    TSolutionTree out;
    const auto copy = [&](const auto& self, TNodeId from, TNodeId to) -> void {
        for (const TNodeId child : tree.Children(from)) {
            if (child == cut) continue;
            const TSolutionNode& node = tree.Node(child);
            self(self, child, out.Add(to, node.Text, node.StringData, node.StringData2));
        }
    };
    for (TNodeId top = tree.Root(); top != kNoNode; top = tree.NextSibling(top)) {
        const TSolutionNode& node = tree.Node(top);
        copy(copy, top, out.Add(kNoNode, node.Text, node.StringData, node.StringData2));
    }
    return out;
}

std::vector<TNodeId> CorrectFirstMoves(const TSolutionTree& tree) {
    std::vector<TNodeId> correct;
    if (tree.Empty()) return correct;
    const std::vector<bool> success = tree.SuccessBelowAll();
    for (const TNodeId first : tree.Children(tree.Root()))
        if (tree.LineEndOf(first) == TLineEnd::Success || success[static_cast<size_t>(first)])
            correct.push_back(first);
    return correct;
}

} // namespace karvena
