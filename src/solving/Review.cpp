#include "solving/Review.h"

namespace karvena {

int DaysFromCivil(int y, int m, int d) {
    y -= m <= 2;
    const int era = (y >= 0 ? y : y - 399) / 400;
    const int yoe = y - era * 400;
    const int doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const int doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

int LocalDayNumber(std::time_t moment) {
    std::tm local{};
    localtime_r(&moment, &local);
    return DaysFromCivil(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
}

TReviewEntry ReviewAfterSetback(int32_t auto1, int today) {
    return {auto1, 1, today + kReviewDays[0]};
}

std::optional<TReviewEntry> ReviewAfterCleanSolve(const TReviewEntry& entry, int today) {
    if (today < entry.Due) return entry;
    if (entry.Box >= static_cast<int>(kReviewDays.size())) return std::nullopt;
    return TReviewEntry{entry.Auto1, entry.Box + 1, today + kReviewDays[entry.Box]};
}

} // namespace karvena
