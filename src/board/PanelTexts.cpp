#include "board/PanelTexts.h"

#include <cstdio>

namespace karvena {

namespace {
bool English(int language) {
    return language == 2;
}
} // namespace

char ColumnLabel(int column, bool sgfCoordinate) {
    static constexpr char kSgf[] = "ABCDEFGHJKLMNOPQRSTUVWXY";
    static constexpr char kOther[] = "ABCDEFGHJKMNOPQRSTUVWXYZ";
    if (column < 1 || column > 24) return ' ';
    return (sgfCoordinate ? kSgf : kOther)[column - 1];
}

int RowLabel(int row, bool sgfCoordinate, int lines) {
    return sgfCoordinate ? lines + 1 - row : row;
}

std::string HintText(int16_t hintPos, bool sgfCoordinate, int lines) {
    if (hintPos < 0) return "";
    const int column = hintPos / 256;
    const int row = hintPos % 256;
    if (column < 1 || column > lines || row < 1 || row > lines) return "";
    return ColumnLabel(column, sgfCoordinate) + std::to_string(RowLabel(row, sgfCoordinate, lines));
}

std::string EventOrFeeText(int32_t fee, const std::string& event, int language) {
    if (fee == 0) return event;
    const std::string n = std::to_string(fee < 0 ? -static_cast<int64_t>(fee) : fee);
    if (English(language)) {
        if (fee > 0) return "Bet " + n + " point" + (fee > 1 ? "s" : "");
        return "Fee: " + n + " point";
    }
    return fee > 0 ? "赌" + n + "点" : "指导费" + n + "点";
}

std::string HandicapText(int handicap, int language) {
    if (handicap <= 0) return "";
    if (English(language)) return "Handicap: " + (handicap >= 2 ? std::to_string(handicap) : " 1");
    return "让子: " + (handicap >= 2 ? std::to_string(handicap) : "让先");
}

std::string KomiText(int32_t atone, int language) {
    char value[32];
    std::snprintf(value, sizeof value, "%.2f", atone / 4.0);
    return (English(language) ? "Atone: " : "贴子: ") + std::string(value);
}

std::string ResultText(int winner, int language) {
    if (winner < 0 || winner > 2) return "";
    if (English(language)) {
        if (winner == 2) return "Over, Draw    ";
        return std::string("Over, ") + (winner == 0 ? "Black" : "White") + " win";
    }
    if (winner == 2) return "结束, 和棋    ";
    return std::string("结束, ") + (winner == 0 ? "黑方" : "白方") + "获胜";
}

bool InByoYomi(int32_t seconds, int byoYomiCount, int byoYomiLimit) {
    return byoYomiCount > 0 && byoYomiLimit > 0 && seconds <= byoYomiLimit &&
           byoYomiLimit / byoYomiCount > 0;
}

std::string ClockText(int32_t seconds, int byoYomiCount, int byoYomiLimit) {
    const int32_t t = seconds < 0 ? 0 : seconds;
    char time[48];
    std::snprintf(time, sizeof time, "%2.2d:%2.2d:%2.2d", t / 3600, t / 60 % 60, t % 60);
    if (!InByoYomi(t, byoYomiCount, byoYomiLimit)) return time;
    const int period = byoYomiLimit / byoYomiCount;
    return std::to_string(t / period) + "  " + time + " " + std::to_string(t % period);
}

std::string MovesText(int moves, int language) {
    if (English(language)) return "At least " + std::to_string(moves) + " moves";
    return "必须下" + std::to_string(moves) + "步";
}

} // namespace karvena
