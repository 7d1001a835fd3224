#pragma once
// Recoding text between code pages with iconv.
#include <optional>
#include <string>

namespace karvena {

// The text in another code page; nullopt when iconv does not know a charset or a character
// cannot be written in the target.
std::optional<std::string> Recode(const std::string& text, const char* from, const char* to);

} // namespace karvena
