#include "text/GB2Big5.h"

namespace karvena {

std::string ConvertGbBig5(const std::string& text, TConvertDirection direction) {
    if (text.size() <= 1) return text;
    const bool toBig5 = direction == TConvertDirection::GbToBig5;
    const unsigned firstLead = toBig5 ? 0x81 : 0xA1;
    const unsigned lastLead = toBig5 ? 0xFE : 0xF9;
    std::string out;
    out.reserve(text.size());
    size_t i = 0;
    while (i < text.size()) {
        const unsigned lead = static_cast<unsigned char>(text[i]);
        if (i + 1 == text.size()) {
            out += text[i];
            break;
        }
        const unsigned trail = static_cast<unsigned char>(text[i + 1]);
        if (lead >= firstLead && lead <= lastLead && trail >= 0x40 && trail <= 0xFE) {
            const unsigned char* cell =
                (toBig5 ? kGbToBig5[lead - firstLead] : kBig5ToGb[lead - firstLead]) +
                2 * (trail - 0x40);
            out += static_cast<char>(cell[0]);
            out += static_cast<char>(cell[1]);
            i += 2;
        } else {
            // Not a pair: the lead goes alone and the next byte gets its own turn as a lead.
            out += text[i];
            ++i;
        }
    }
    return out;
}

void TGB_Big5::SetGB(const std::string& gb) {
    if (gb == m_GB) return;
    m_GB = gb;
    m_Big5 = ConvertGbBig5(gb, TConvertDirection::GbToBig5);
}

void TGB_Big5::SetBig5(const std::string& big5) {
    if (big5 == m_Big5) return;
    m_Big5 = big5;
    m_GB = ConvertGbBig5(big5, TConvertDirection::Big5ToGb);
}

} // namespace karvena
