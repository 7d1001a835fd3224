#include "text/Charset.h"

#include <iconv.h>

#include <cerrno>
#include <vector>

namespace karvena {

std::optional<std::string> Recode(const std::string& text, const char* from, const char* to) {
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
    std::vector<char> input(text.begin(), text.end());
    char* in = input.data();
    size_t inLeft = input.size();
    std::string out;
    char buffer[1024];
    bool ok = true;
    while (inLeft > 0) {
        char* outPtr = buffer;
        size_t outLeft = sizeof buffer;
        const size_t done = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
        out.append(buffer, static_cast<size_t>(outPtr - buffer));
        if (done == static_cast<size_t>(-1) && errno != E2BIG) {
            ok = false;
            break;
        }
    }
    iconv_close(cd);
    if (!ok) return std::nullopt;
    return out;
}

} // namespace karvena
