// The one-line game record: 16 fields joined by single spaces.
#include <cctype>
#include <ctime>
#include <vector>

#include "board/GoBoard.h"

namespace karvena {

namespace {

// Splits at spaces into at most 16 fields; the 16th runs to the next space (the rest is dropped).
std::vector<std::string> SplitManual(const std::string& value) {
    std::vector<std::string> fields;
    size_t start = 0;
    while (fields.size() < 16) {
        const size_t space = value.find(' ', start);
        if (space == std::string::npos) {
            fields.push_back(value.substr(start));
            break;
        }
        fields.push_back(value.substr(start, space - start));
        start = space + 1;
    }
    fields.resize(16);
    return fields;
}

bool IsNumberField(const std::string& field, size_t minLength, size_t maxLength) {
    if (field.size() < minLength || field.size() > maxLength) return false;
    for (char c : field)
        if (!std::isdigit(static_cast<unsigned char>(c))) return false;
    return true;
}

// Every numeric field must be plain digits of its allowed length; names, date and moves are free.
bool ValidateManual(const std::vector<std::string>& f) {
    struct TRule {
        int field;
        size_t maxLength;
    };
    constexpr TRule rules[] = {{3, 2},  {6, 2},  {7, 5},  {8, 3},  {9, 4},
                               {10, 2}, {11, 5}, {12, 5}, {13, 3}, {14, 3}};
    for (const TRule& rule : rules)
        if (!IsNumberField(f[rule.field - 1], 1, rule.maxLength)) return false;
    return IsNumberField(f[14], 1, 1);
}

// The kind is the last character of field 1 when that field is longer than two characters.
int KindOf(const std::string& header) {
    if (header.size() > 2 && std::isdigit(static_cast<unsigned char>(header.back())))
        return header.back() - '0';
    return 0;
}

} // namespace

std::string TGoBoard::ManualString() const {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char date[64];
    std::snprintf(date, sizeof date, "%4.4d/%2.2d/%2.2d-%2.2d:%2.2d:%2.2d", local.tm_year + 1900,
                  local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec);
    const std::string fields[16] = {
        GoGameVersion() + "QmvGame" + std::to_string(m_GameKind),
        date,
        std::to_string(m_Handicap),
        m_PlayerName[0],
        m_PlayerName[1],
        std::to_string(m_Atone),
        std::to_string(m_TimeLimit),
        std::to_string(m_MoveLimit),
        std::to_string(m_ByoYomiLimit),
        std::to_string(m_ByoYomiCount),
        std::to_string(m_ClockSeconds[0]),
        std::to_string(m_ClockSeconds[1]),
        std::to_string(m_MovesLeft[0]),
        std::to_string(m_MovesLeft[1]),
        std::to_string(m_Winner),
        m_Process,
    };
    std::string out = fields[0];
    for (int i = 1; i < 16; ++i)
        out += " " + fields[i];
    return out;
}

void TGoBoard::SetManualString(const std::string& value) {
    const std::vector<std::string> f = SplitManual(value);
    if (!ValidateManual(f)) return;

    SetGameKind(static_cast<int16_t>(KindOf(f[0])));
    const int handicap = std::stoi(f[2]);
    if (handicap != m_Handicap) {
        m_View->RedrawAll();
        m_Handicap = static_cast<int8_t>(handicap);
        NewGame(true);
    }
    m_PlayerName = {f[3], f[4]};
    m_Atone = std::stoi(f[5]);
    m_TimeLimit = std::stoi(f[6]);
    m_MoveLimit = static_cast<int16_t>(std::stoi(f[7]));
    m_ByoYomiLimit = static_cast<int16_t>(std::stoi(f[8]));
    m_ByoYomiCount = static_cast<int8_t>(std::stoi(f[9]));
    m_ClockSeconds = {std::stoi(f[10]), std::stoi(f[11])};
    m_MovesLeft = {static_cast<int16_t>(std::stoi(f[12])), static_cast<int16_t>(std::stoi(f[13]))};
    m_Winner = static_cast<int8_t>(std::stoi(f[14]));
    m_GivenProcess = f[15];
    m_Process = f[15];
    RedrawControl();
    m_Modified = false;
}

} // namespace karvena
