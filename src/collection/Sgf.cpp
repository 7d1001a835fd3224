#include "collection/Sgf.h"

#include <tuple>

#include "text/Charset.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <functional>
#include <regex>

namespace karvena {

std::string TSgfNode::Get(const std::string& id) const {
    const auto found = Props.find(id);
    return found == Props.end() || found->second.empty() ? "" : found->second.front();
}

namespace {

bool IsValidUtf8(const std::string& s) {
    size_t i = 0;
    while (i < s.size()) {
        const unsigned char c = static_cast<unsigned char>(s[i]);
        int extra = 0;
        if (c < 0x80)
            extra = 0;
        else if ((c >> 5) == 6)
            extra = 1;
        else if ((c >> 4) == 14)
            extra = 2;
        else if ((c >> 3) == 30)
            extra = 3;
        else
            return false;
        if (i + extra >= s.size() && extra > 0) return false;
        for (int k = 1; k <= extra; ++k)
            if ((static_cast<unsigned char>(s[i + k]) >> 6) != 2) return false;
        i += static_cast<size_t>(extra) + 1;
    }
    return true;
}

// The charset named by the first CA property, read from the raw bytes: SGF syntax is ASCII, so
// the name can be found before the text is converted.
std::string DeclaredCharset(const std::string& bytes) {
    static const std::regex ca(R"(CA\s*\[([^\]]{0,40})\])");
    std::smatch match;
    const std::string head = bytes.substr(0, 4096);
    if (std::regex_search(head, match, ca)) return match[1];
    return "";
}

std::string Upper(std::string s) {
    for (char& c : s)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

class TParser {
public:
    TParser(const std::string& text, const std::string& name) : m_Text(text), m_Name(name) {}

    // Called when each game tree closes, with the file holding that game alone; false stops the
    // reading (the reader was cancelled). The game's nodes are dropped afterwards, so a file of
    // many games is held one game at a time.
    std::function<bool(const TSgfFile& game, int index)> OnGame;
    bool Cancelled() const { return m_Cancelled; }

    bool Parse(TSgfFile& file) {
        SkipSpace();
        // Anything before the first "(" is ignored, as common readers do.
        while (m_Pos < m_Text.size() && m_Text[m_Pos] != '(')
            ++m_Pos;
        if (m_Pos >= m_Text.size()) return Fail("expected '(' to start a game tree");
        // Open game trees: the node each "(" hangs from, or no node for a game's root.
        std::vector<TSgfId> open;
        TSgfId last = kNoSgfNode; // the node new nodes follow
        bool inTree = false;
        while (true) {
            SkipSpace();
            if (m_Pos >= m_Text.size()) {
                if (!open.empty()) return Fail("expected ')' to close the game tree");
                break;
            }
            const char c = m_Text[m_Pos];
            if (c == '(') {
                ++m_Pos;
                open.push_back(last);
                inTree = true;
                m_NeedNode = true;
            } else if (c == ')' && open.empty()) {
                ++m_Pos; // a stray ')' after the last game, which common readers pass over
            } else if (c == ')') {
                if (m_NeedNode) return Fail("expected ';' to start a node");
                ++m_Pos;
                last = open.back();
                open.pop_back();
                if (open.empty()) {
                    inTree = false;
                    last = kNoSgfNode;
                    if (OnGame) {
                        if (!OnGame(file, m_GamesSeen++)) {
                            m_Cancelled = true;
                            return true;
                        }
                        file.Nodes.clear();
                        file.Games.clear();
                    }
                }
            } else if (c == ';') {
                if (!inTree) return Fail("expected '(' to start a game tree");
                ++m_Pos;
                const TSgfId id = static_cast<TSgfId>(file.Nodes.size());
                file.Nodes.emplace_back();
                file.Nodes[id].Parent = last;
                std::tie(file.Nodes[id].Row, file.Nodes[id].Column) = RowAndColumn(m_Pos - 1);
                if (last == kNoSgfNode)
                    file.Games.push_back(id);
                else
                    file.Nodes[last].Children.push_back(id);
                last = id;
                m_NeedNode = false;
                if (!ParseProperties(file.Nodes[id])) return false;
            } else if (!inTree) {
                ++m_Pos; // text between game trees
            } else {
                return Fail(std::string("expected ';', '(' or ')' but found '") + c + "'");
            }
        }
        if (file.Games.empty() && m_GamesSeen == 0) return Fail("expected a game tree");
        return true;
    }

    const std::string& Error() const { return m_Error; }

private:
    bool ParseProperties(TSgfNode& node) {
        while (true) {
            SkipSpace();
            if (m_Pos >= m_Text.size()) return true;
            const char c = m_Text[m_Pos];
            if (!std::isalpha(static_cast<unsigned char>(c))) return true;
            std::string id;
            while (m_Pos < m_Text.size() &&
                   std::isalpha(static_cast<unsigned char>(m_Text[m_Pos]))) {
                if (std::isupper(static_cast<unsigned char>(m_Text[m_Pos]))) id += m_Text[m_Pos];
                ++m_Pos;
            }
            SkipSpace();
            if (m_Pos >= m_Text.size() || m_Text[m_Pos] != '[')
                return Fail("expected '[' after property " + id);
            std::vector<std::string>& values = node.Props[id];
            while (m_Pos < m_Text.size() && m_Text[m_Pos] == '[') {
                std::string value;
                if (!ParseValue(value)) return false;
                values.push_back(std::move(value));
                SkipSpace();
            }
        }
    }

    bool ParseValue(std::string& value) {
        const size_t open = m_Pos;
        ++m_Pos; // '['
        while (m_Pos < m_Text.size()) {
            const char c = m_Text[m_Pos];
            if (c == ']') {
                ++m_Pos;
                return true;
            }
            if (c == '\\' && m_Pos + 1 < m_Text.size()) {
                const char next = m_Text[m_Pos + 1];
                m_Pos += 2;
                // A soft line break: backslash before a line end vanishes with it.
                if (next == '\n' || next == '\r') {
                    if (m_Pos < m_Text.size() && (m_Text[m_Pos] == '\n' || m_Text[m_Pos] == '\r') &&
                        m_Text[m_Pos] != next)
                        ++m_Pos;
                    continue;
                }
                value += next;
                continue;
            }
            value += c;
            ++m_Pos;
        }
        m_Pos = open;
        return Fail("expected ']' to close the value opened here");
    }

    void SkipSpace() {
        while (m_Pos < m_Text.size() && std::isspace(static_cast<unsigned char>(m_Text[m_Pos])))
            ++m_Pos;
    }

    // The 1-based row and column of a byte offset. Offsets only grow while reading, so the count
    // goes on from the last one asked for: one pass over the text in all.
    std::pair<int, int> RowAndColumn(size_t offset) {
        if (offset < m_CountedTo) m_CountedTo = 0, m_Row = 1, m_Column = 1;
        for (; m_CountedTo < std::min(offset, m_Text.size()); ++m_CountedTo) {
            if (m_Text[m_CountedTo] == '\n') {
                ++m_Row;
                m_Column = 1;
            } else {
                ++m_Column;
            }
        }
        return {m_Row, m_Column};
    }

    bool Fail(const std::string& what) {
        const auto [row, col] = RowAndColumn(m_Pos);
        m_Error = m_Name + ":" + std::to_string(row) + ":" + std::to_string(col) + ": " + what;
        return false;
    }
    size_t m_CountedTo = 0;
    int m_Row = 1, m_Column = 1;

    const std::string& m_Text;
    std::string m_Name;
    size_t m_Pos = 0;
    int m_GamesSeen = 0;
    bool m_Cancelled = false;
    bool m_NeedNode = false;
    std::string m_Error;
};

} // namespace

std::optional<std::string> ToUtf8(const std::string& bytes, const std::string& charset) {
    return Recode(bytes, charset.c_str(), "UTF-8");
}

namespace {

// The file's text as UTF-8 (moved when it is UTF-8 already), with the charset it came in;
// nullopt with `error` when the bytes are not what the charset says.
std::optional<std::string> DecodeSgf(std::string bytes, const std::string& name,
                                     std::string& charset, std::string& error) {
    charset = Upper(DeclaredCharset(bytes));
    if (charset.empty()) {
        // Without CA: UTF-8 when the bytes are valid UTF-8, else the FF[4] default Latin-1.
        charset = IsValidUtf8(bytes) ? "UTF-8" : "ISO-8859-1";
    }
    if (charset == "UTF-8" || charset == "UTF8" || charset == "US-ASCII" || charset == "ASCII") {
        if (!IsValidUtf8(bytes)) {
            error = name + ":1:1: expected UTF-8 text as CA declares";
            return std::nullopt;
        }
        return bytes;
    }
    // GB2312 files are often GBK or GB18030 in truth; read them as the superset.
    const std::string from = (charset == "GB2312" || charset == "GBK") ? "GB18030" : charset;
    std::optional<std::string> converted = ToUtf8(bytes, from);
    if (!converted) error = name + ":1:1: expected text in charset " + charset;
    return converted;
}

// The bytes of a file no larger than the bound; an error "path:0:0: why" otherwise.
std::optional<std::string> ReadBoundedFile(const std::string& path, std::string& error) {
    std::error_code failed;
    const auto size = std::filesystem::file_size(path, failed);
    if (!failed && size > kMaxSgfFileBytes) {
        error = path + ":0:0: the file is larger than " + std::to_string(kMaxSgfFileBytes >> 20) +
                " MB, more than any problem collection needs";
        return std::nullopt;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = path + ":0:0: cannot open the file";
        return std::nullopt;
    }
    return std::string((std::istreambuf_iterator<char>(in)), {});
}

} // namespace

TSgfRead ReadSgf(const std::string& bytes, const std::string& name) {
    TSgfRead result;
    TSgfFile file;
    const std::optional<std::string> text = DecodeSgf(bytes, name, file.Charset, result.Error);
    if (!text) return result;
    TParser parser(*text, name);
    if (!parser.Parse(file)) {
        result.Error = parser.Error();
        return result;
    }
    result.File = std::move(file);
    return result;
}

TSgfRead ReadSgfFile(const std::string& path) {
    TSgfRead result;
    std::optional<std::string> bytes = ReadBoundedFile(path, result.Error);
    if (!bytes) return result;
    return ReadSgf(*bytes, path);
}

std::string ReadSgfFileGames(const std::string& path, const TSgfGameHandler& each) {
    std::string error;
    std::optional<std::string> bytes = ReadBoundedFile(path, error);
    if (!bytes) return error;
    TSgfFile file;
    const std::optional<std::string> text = DecodeSgf(std::move(*bytes), path, file.Charset, error);
    bytes.reset();
    if (!text) return error;
    TParser parser(*text, path);
    parser.OnGame = each;
    if (!parser.Parse(file)) return parser.Error();
    return parser.Cancelled() ? "cancelled" : "";
}

std::vector<std::pair<int, int>> SgfPoints(const std::vector<std::string>& values) {
    std::vector<std::pair<int, int>> points;
    auto coord = [](char c) { return c >= 'a' && c <= 's' ? c - 'a' + 1 : 0; };
    for (const std::string& v : values) {
        if (v.size() == 2 && coord(v[0]) && coord(v[1])) {
            points.emplace_back(coord(v[0]), coord(v[1]));
        } else if (v.size() == 5 && v[2] == ':' && coord(v[0]) && coord(v[1]) && coord(v[3]) &&
                   coord(v[4])) {
            const int p1 = std::min(coord(v[0]), coord(v[3])),
                      p2 = std::max(coord(v[0]), coord(v[3]));
            const int q1 = std::min(coord(v[1]), coord(v[4])),
                      q2 = std::max(coord(v[1]), coord(v[4]));
            for (int p = p1; p <= p2; ++p)
                for (int q = q1; q <= q2; ++q)
                    points.emplace_back(p, q);
        }
    }
    return points;
}

std::optional<std::pair<int, int>> SgfMove(const std::string& value) {
    if (value.empty() || value == "tt") return std::make_pair(20, 20);
    const std::vector<std::pair<int, int>> points = SgfPoints({value});
    if (value.size() != 2 || points.size() != 1) return std::nullopt;
    return points.front();
}

} // namespace karvena
