#pragma once
// The hint lock's password digest: each byte times an odd constant modulo 256, two upper-case
// hex digits per byte. It keeps the password out of plain sight in the settings.
#include <string>

namespace karvena {

std::string HintPasswordDigest(const std::string& text);

} // namespace karvena
