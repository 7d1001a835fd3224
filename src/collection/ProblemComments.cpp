#include "collection/ProblemComments.h"

#include <cstdlib>

namespace karvena {

const std::string& TProblemComments::Of(TNodeId node) const {
    static const std::string none;
    if (node == 0) return Root;
    const auto found = Moves.find(node);
    return found == Moves.end() ? none : found->second;
}

namespace {

std::string Escaped(const std::string& text) {
    std::string out;
    for (const char c : text) {
        if (c == '\\')
            out += "\\\\";
        else if (c == '\t')
            out += "\\t";
        else if (c == '\n')
            out += "\\n";
        else if (c != '\r')
            out += c;
    }
    return out;
}

std::string Unescaped(const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            out += text[i];
            continue;
        }
        const char next = text[++i];
        out += next == 't' ? '\t' : next == 'n' ? '\n' : next;
    }
    return out;
}

} // namespace

std::string EncodeComments(const TProblemComments& comments) {
    std::string out;
    if (!comments.Root.empty()) out += "0\t" + Escaped(comments.Root) + "\n";
    for (const auto& [node, text] : comments.Moves)
        if (node > 0 && !text.empty()) out += std::to_string(node) + "\t" + Escaped(text) + "\n";
    return out;
}

TProblemComments DecodeComments(const std::string& text) {
    TProblemComments comments;
    size_t at = 0;
    while (at < text.size()) {
        size_t end = text.find('\n', at);
        if (end == std::string::npos) end = text.size();
        const std::string line = text.substr(at, end - at);
        at = end + 1;
        const size_t tab = line.find('\t');
        if (tab == std::string::npos || tab == 0 || tab > 9) continue;
        char* stop = nullptr;
        const long node = std::strtol(line.c_str(), &stop, 10);
        if (stop != line.c_str() + tab || node < 0) continue;
        const std::string words = Unescaped(line.substr(tab + 1));
        if (node == 0)
            comments.Root = words;
        else
            comments.Moves[static_cast<TNodeId>(node)] = words;
    }
    return comments;
}

} // namespace karvena
