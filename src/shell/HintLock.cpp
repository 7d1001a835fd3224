#include "shell/HintLock.h"

#include <cstdio>

namespace karvena {

std::string HintPasswordDigest(const std::string& text) {
    constexpr unsigned kFactor = 167; // odd, so every byte maps to a different one
    std::string digest;
    for (unsigned char byte : text) {
        char hex[3];
        std::snprintf(hex, sizeof hex, "%02X", (byte * kFactor) & 0xFF);
        digest += hex;
    }
    return digest;
}

} // namespace karvena
