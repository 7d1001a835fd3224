#include "collection/SolutionBlob.h"

#include <string>
#include <utility>

namespace karvena {

TBlobError::TBlobError(const std::string& what, size_t offset)
    : std::runtime_error(what + " at byte " + std::to_string(offset)), m_Offset(offset) {}

namespace {

// Fixed part of a record: 38 bytes of fields after the size, then the text length byte.
constexpr size_t kRecordFixed = 43;

class TReader {
public:
    TReader(const uint8_t* data, size_t size) : m_Data(data), m_Size(size) {}
    size_t Offset() const { return m_Offset; }
    void Need(size_t bytes, const char* what) const {
        if (bytes > m_Size - m_Offset)
            throw TBlobError(std::string("blob ends inside ") + what, m_Offset);
    }
    int32_t Int32At(size_t at) const {
        const uint32_t v = uint32_t(m_Data[at]) | uint32_t(m_Data[at + 1]) << 8 |
                           uint32_t(m_Data[at + 2]) << 16 | uint32_t(m_Data[at + 3]) << 24;
        return static_cast<int32_t>(v);
    }
    uint8_t ByteAt(size_t at) const { return m_Data[at]; }
    std::string Bytes(size_t at, size_t n) const {
        return std::string(reinterpret_cast<const char*>(m_Data + at), n);
    }
    void Skip(size_t n) { m_Offset += n; }

private:
    const uint8_t* m_Data;
    size_t m_Size;
    size_t m_Offset = 0;
};

// Reads one record's own fields and strings; returns its child count.
int32_t ReadRecord(TReader& in, TSolutionTree& tree, TNodeId parent) {
    const size_t start = in.Offset();
    in.Need(kRecordFixed, "a node record");
    const int32_t recordSize = in.Int32At(start);
    const uint8_t textLength = in.ByteAt(start + 42);
    const int32_t s1 = in.Int32At(start + 30);
    const int32_t s2 = in.Int32At(start + 34);
    const int32_t children = in.Int32At(start + 38);
    if (s1 < 0 || s2 < 0 || children < 0)
        throw TBlobError("negative length or count in a node record", start);
    // A size below 39 + L is taken as 39 + L; a larger one has surplus bytes after the text.
    const size_t surplus =
        recordSize > 39 + textLength ? size_t(recordSize) - (39 + textLength) : 0;
    in.Skip(kRecordFixed);
    in.Need(textLength, "a node text");
    std::string text = in.Bytes(in.Offset(), textLength);
    in.Skip(textLength);
    in.Need(surplus, "a node record");
    in.Skip(surplus);
    in.Need(size_t(s1), "a node's flags");
    std::string flags = in.Bytes(in.Offset(), size_t(s1));
    in.Skip(size_t(s1));
    in.Need(size_t(s2), "a node's remark");
    std::string remark = in.Bytes(in.Offset(), size_t(s2));
    in.Skip(size_t(s2));

    const TNodeId id = tree.Add(parent, std::move(text), std::move(flags), std::move(remark));
    TSolutionNode& node = tree.Node(id);
    node.ImageIndex = in.Int32At(start + 4);
    node.SelectedIndex = in.Int32At(start + 8);
    node.StateIndex = in.Int32At(start + 12);
    node.OverlayIndex = in.Int32At(start + 16);
    node.CheckBox = in.ByteAt(start + 20);
    node.Check = in.ByteAt(start + 21);
    node.Expanded = in.ByteAt(start + 22);
    node.UserData = in.Int32At(start + 26);
    return children;
}

void PutInt32(std::vector<uint8_t>& out, int32_t value) {
    const uint32_t v = static_cast<uint32_t>(value);
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(static_cast<uint8_t>(v >> shift));
}

void PutBytes(std::vector<uint8_t>& out, const std::string& s) {
    out.insert(out.end(), s.begin(), s.end());
}

} // namespace

void LoadSolution(TSolutionTree& tree, const uint8_t* data, size_t size) {
    tree.Clear();
    if (size < kMinSolutionBlob) return;
    TReader in(data, size);
    const int32_t topLevel = in.Int32At(0);
    if (topLevel < 0) throw TBlobError("negative node count", 0);
    in.Skip(4);
    // An explicit stack of (node, children still to read) keeps deep trees off the call stack.
    // Counts are never trusted for allocation: each record must still be there to be read.
    std::vector<std::pair<TNodeId, int32_t>> open;
    int32_t topLeft = topLevel;
    try {
        while (topLeft > 0 || !open.empty()) {
            TNodeId parent = kNoNode;
            if (!open.empty()) {
                if (open.back().second == 0) {
                    open.pop_back();
                    continue;
                }
                --open.back().second;
                parent = open.back().first;
            } else {
                --topLeft;
            }
            const int32_t children = ReadRecord(in, tree, parent);
            open.emplace_back(tree.Size() - 1, children);
        }
    } catch (const TBlobError&) {
        tree.SetAllMarks(kMarkUnset);
        throw;
    }
    tree.SetAllMarks(kMarkUnset);
}

std::vector<uint8_t> SaveSolution(const TSolutionTree& tree) {
    std::vector<uint8_t> out;
    const std::vector<TNodeId> top = tree.TopLevel();
    PutInt32(out, static_cast<int32_t>(top.size()));
    if (top.empty()) return out;
    // Depth-first order from the first top-level node runs through every top-level tree.
    for (TNodeId id = top.front(); id != kNoNode; id = tree.NextInDepthFirst(id)) {
        const TSolutionNode& node = tree.Node(id);
        const std::string text = node.Text.substr(0, 255);
        PutInt32(out, static_cast<int32_t>(39 + text.size()));
        PutInt32(out, node.ImageIndex);
        PutInt32(out, node.SelectedIndex);
        PutInt32(out, node.StateIndex);
        PutInt32(out, node.OverlayIndex);
        out.push_back(node.CheckBox);
        out.push_back(node.Check);
        out.push_back(node.Expanded);
        out.insert(out.end(), 3, 0);
        PutInt32(out, node.UserData);
        PutInt32(out, static_cast<int32_t>(node.StringData.size()));
        PutInt32(out, static_cast<int32_t>(node.StringData2.size()));
        PutInt32(out, node.ChildCount);
        out.push_back(static_cast<uint8_t>(text.size()));
        PutBytes(out, text);
        PutBytes(out, node.StringData);
        PutBytes(out, node.StringData2);
    }
    return out;
}

} // namespace karvena
