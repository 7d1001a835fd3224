#pragma once
// The byte format of a problem's Solution blob: a count of top-level nodes, then each node's
// record depth first, its children right after its strings. All integers are 32-bit
// little-endian. A record starts with its size R = 39 + L (L the text length), which covers the
// fixed fields, the length byte and the text; a larger R means surplus bytes after the text.
#include <cstdint>
#include <stdexcept>
#include <vector>

#include "collection/SolutionTree.h"

namespace karvena {

// A blob that cannot be read: it names the byte offset where reading stopped.
class TBlobError : public std::runtime_error {
public:
    TBlobError(const std::string& what, size_t offset);
    size_t Offset() const { return m_Offset; }

private:
    size_t m_Offset;
};

// Blobs shorter than this hold no tree.
constexpr size_t kMinSolutionBlob = 33;

// Empties the tree and, for a blob of 33 bytes or more, reads it and marks every node Unset.
// Throws TBlobError for a blob that ends inside a record or whose counts or lengths point
// outside it; the nodes read before the error stay in the tree.
void LoadSolution(TSolutionTree& tree, const uint8_t* data, size_t size);
inline void LoadSolution(TSolutionTree& tree, const std::vector<uint8_t>& blob) {
    LoadSolution(tree, blob.data(), blob.size());
}

// The blob of a tree: texts cut to 255 bytes, R = 39 + L, reserved bytes 0.
std::vector<uint8_t> SaveSolution(const TSolutionTree& tree);

} // namespace karvena
