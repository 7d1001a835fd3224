#pragma once
// The review of failed problems: a failure puts a problem into the first box, due the next day;
// a clean solve (no failure, no hint) of a problem that is due moves it up a box; the boxes fall
// due after 1, 3, 7, 21 and 60 days, and a clean solve from the last box takes the problem out.
// A failure or a hint on a problem in review puts it back into the first box. Days are local
// calendar days, counted as day numbers.
#include <array>
#include <cstdint>
#include <ctime>
#include <optional>

#include "collection/HistoryStore.h"

namespace karvena {

inline constexpr std::array<int, 5> kReviewDays = {1, 3, 7, 21, 60};

// The local calendar day of a moment, as a number that grows by one each day (days since
// 1970-01-01 of the local date).
int LocalDayNumber(std::time_t moment);
// The day number of a calendar date (proleptic Gregorian, exact for every year).
int DaysFromCivil(int year, int month, int day);

// A failure, or a hint on a problem in review: the first box, due the next day.
TReviewEntry ReviewAfterSetback(int32_t auto1, int today);
// A clean solve: up a box when due (the entry unchanged before that day), out of the review
// (nullopt) after the last box.
std::optional<TReviewEntry> ReviewAfterCleanSolve(const TReviewEntry& entry, int today);

} // namespace karvena
