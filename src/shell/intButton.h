#pragma once
// TintButton: a push button with a caption and hint per language.
#include <QPushButton>

#include "shell/IntCaptions.h"

namespace karvena {

class TintButton : public QPushButton {
public:
    explicit TintButton(const QString& caption = {}, QWidget* parent = nullptr)
        : QPushButton(caption, parent) {}
    TIntCaptions& Captions() { return m_Captions; }
    int16_t Language() const { return m_Captions.Language(); }
    // Shows the caption and hint of a language (see TIntCaptions).
    void SetLanguage(int16_t language) {
        QString caption = text(), hint = toolTip();
        if (!m_Captions.SetLanguage(language, caption, hint)) return;
        setText(caption);
        setToolTip(hint);
    }

private:
    TIntCaptions m_Captions;
};

} // namespace karvena
