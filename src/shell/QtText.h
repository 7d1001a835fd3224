#pragma once
// The window's texts as Qt strings: a UTF-8 text, or a text of the table by name.
#include <QString>

#include "text/Texts.h"

namespace karvena {

inline QString Q(const std::string& text) {
    return QString::fromStdString(text);
}
inline QString T(const char* name) {
    return Q(Tx(name));
}

} // namespace karvena
