#pragma once
// The captions and hints of a multi-language button: three of each and a language that picks
// them. The first change away from language 0 remembers the design caption and hint as the
// language-0 texts, so going back shows them again.
#include <QString>

namespace karvena {

class TIntCaptions {
public:
    QString Caption0, Caption1, Caption2;
    QString Hint0, Hint1, Hint2;

    int16_t Language() const { return m_Language; }
    // Switches the language; returns false (and changes nothing) when it is the current one.
    // `caption` and `hint` are the button's texts now; they receive the texts to show.
    bool SetLanguage(int16_t language, QString& caption, QString& hint) {
        if (language == m_Language) return false;
        if (Caption0.isEmpty()) Caption0 = caption;
        if (Hint0.isEmpty()) Hint0 = hint;
        m_Language = language;
        caption = language == 0 ? Caption0 : (language == 1 ? Caption1 : Caption2);
        hint = language == 0 ? Hint0 : (language == 1 ? Hint1 : Hint2);
        return true;
    }

private:
    int16_t m_Language = 0;
};

// A button of any kind with captions and hints per language.
template <typename TButton> class TIntLanguageButton : public TButton {
public:
    using TButton::TButton;
    TIntCaptions& Captions() { return m_Captions; }
    int16_t Language() const { return m_Captions.Language(); }
    // Shows the caption and hint of a language (see TIntCaptions).
    void SetLanguage(int16_t language) {
        QString caption = this->text(), hint = this->toolTip();
        if (!m_Captions.SetLanguage(language, caption, hint)) return;
        this->setText(caption);
        this->setToolTip(hint);
    }

private:
    TIntCaptions m_Captions;
};

} // namespace karvena
