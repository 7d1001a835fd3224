#pragma once
// The GB2312 <-> Big5 converter: a byte walk over two constant tables. GB to Big5 has a row per
// GB lead byte 0x81..0xFE, Big5 to GB a row per Big5 lead byte 0xA1..0xF9; each row holds the
// converted two-byte character for every trail byte 0x40..0xFF.
#include <string>

namespace karvena {

extern const unsigned char kGbToBig5[126][384];
extern const unsigned char kBig5ToGb[89][384];

enum class TConvertDirection { GbToBig5 = 0, Big5ToGb = 1 };

// Converts every two-byte character the table knows; single bytes, a lead byte followed by a
// trail outside 0x40..0xFE, and a lone last byte pass through unchanged.
std::string ConvertGbBig5(const std::string& text, TConvertDirection direction);

// A GB text and its Big5 form, kept in step: assigning one converts it to the other.
class TGB_Big5 {
public:
    void SetGB(const std::string& gb);
    void SetBig5(const std::string& big5);
    const std::string& GB() const { return m_GB; }
    const std::string& Big5() const { return m_Big5; }

private:
    std::string m_GB, m_Big5;
};

// The converter component: write sGB and read sTW, or the other way round.
class TGB2Big5 {
public:
    void SetsGB(const std::string& gb) { m_Converter.SetGB(gb); }
    void SetsTW(const std::string& big5) { m_Converter.SetBig5(big5); }
    const std::string& sGB() const { return m_Converter.GB(); }
    const std::string& sTW() const { return m_Converter.Big5(); }
    // The direct conversion, leaving sGB and sTW alone.
    std::string GbToBig5(const std::string& gb) const {
        return ConvertGbBig5(gb, TConvertDirection::GbToBig5);
    }

private:
    TGB_Big5 m_Converter;
};

} // namespace karvena
