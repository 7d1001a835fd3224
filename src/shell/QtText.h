#pragma once
// The window's texts as Qt strings: a UTF-8 text, or a text of the table by name.
#include <QRegularExpression>
#include <QString>

#include "text/Texts.h"

namespace karvena {

inline QString Q(const std::string& text) {
    return QString::fromStdString(text);
}
inline QString T(const char* name) {
    return Q(Tx(name));
}
// A menu caption as plain words: "中级(&I)" -> "中级", "&Review ahead" -> "Review ahead".
inline QString Plain(QString caption) {
    static const QRegularExpression accelerator("\\(&[^)]\\)");
    return caption.remove(accelerator).remove('&');
}

} // namespace karvena
