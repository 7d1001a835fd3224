#pragma once
// An SGF reader for FF[3] and FF[4] as common Go software reads it: game trees and variations,
// several games per file, escapes and soft line breaks, compressed point lists, and the
// charset of CA (converted to UTF-8). What it cannot read is reported as
// "file:row:col: what was expected"; it never crashes. Nodes live in one flat array, so deep
// files are read and walked without recursion.
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace karvena {

using TSgfId = int;
constexpr TSgfId kNoSgfNode = -1;

struct TSgfNode {
    // Property identifiers (upper-case letters only; FF[3] lower-case letters are dropped) to
    // their values, unescaped.
    std::map<std::string, std::vector<std::string>> Props;
    TSgfId Parent = kNoSgfNode;
    std::vector<TSgfId> Children;
    // Where the node's ';' stands in the file, 1-based (for warnings as "file:row:col").
    int Row = 0;
    int Column = 0;

    bool Has(const std::string& id) const { return Props.count(id) != 0; }
    // The first value of a property, or "".
    std::string Get(const std::string& id) const;
};

struct TSgfFile {
    std::vector<TSgfNode> Nodes;
    std::vector<TSgfId> Games; // the root node of each game tree
    std::string Charset;       // what the bytes were converted from
};

struct TSgfRead {
    std::optional<TSgfFile> File;
    std::string Error; // "name:row:col: what was expected", when File is empty
};

// Reads SGF text; `name` only labels the error messages.
TSgfRead ReadSgf(const std::string& bytes, const std::string& name);
// Files larger than this are refused: no problem collection is, and reading one whole would
// hold several times its size.
inline constexpr uint64_t kMaxSgfFileBytes = 256ull << 20;

// Reads an SGF file from disk (no larger than kMaxSgfFileBytes).
TSgfRead ReadSgfFile(const std::string& path);

// Reads an SGF file one game tree at a time: `each` gets a file holding that game alone (its
// index from 0) and returns false to stop. Only one game's nodes are held at a time. Returns ""
// when the file was read to its end, "cancelled" when `each` stopped it, else the error
// ("file:row:col: what was expected"; the games before it were handed out).
using TSgfGameHandler = std::function<bool(const TSgfFile& game, int index)>;
std::string ReadSgfFileGames(const std::string& path, const TSgfGameHandler& each);

// The points of a point-list value: "ab" or the rectangle "aa:cc" as (column, row) from 1.
// Points that are not two letters a..s are skipped.
std::vector<std::pair<int, int>> SgfPoints(const std::vector<std::string>& values);
// One move value: (column, row) from 1, or (20, 20) for a pass ("" or "tt"); nullopt when bad.
std::optional<std::pair<int, int>> SgfMove(const std::string& value);

// Converts text to UTF-8 from a charset iconv knows; nullopt when it cannot.
std::optional<std::string> ToUtf8(const std::string& bytes, const std::string& charset);

} // namespace karvena
