#include "solving/Progress.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <set>

#include "solving/Review.h"

namespace karvena {

std::string DayOf(const std::string& localTime) {
    return localTime.substr(0, 10);
}

namespace {

bool Clean(const TAttemptRow& a) {
    return a.Result == TAttemptResult::Clean;
}
bool Solved(const TAttemptRow& a) {
    return a.Result == TAttemptResult::Clean || a.Result == TAttemptResult::WithHelp;
}

// The first attempt of each problem, in the log's order.
std::vector<const TAttemptRow*> FirstAttempts(const std::vector<TAttemptRow>& log) {
    std::set<int32_t> seen;
    std::vector<const TAttemptRow*> first;
    for (const TAttemptRow& a : log)
        if (seen.insert(a.Auto1).second) first.push_back(&a);
    return first;
}

} // namespace

int DayNumber(const std::string& day) {
    int y = 0, m = 0, d = 0;
    char dash1 = 0, dash2 = 0;
    if (day.size() != 10 || std::sscanf(day.c_str(), "%4d%c%2d%c%2d", &y, &dash1, &m, &dash2, &d) != 5 ||
        dash1 != '-' || dash2 != '-' || m < 1 || m > 12 || d < 1 || d > 31)
        return -1;
    return DaysFromCivil(y, m, d);
}

std::string DayText(int dayNumber) {
    // The inverse of DaysFromCivil.
    const int z = dayNumber + 719468;
    const int era = (z >= 0 ? z : z - 146096) / 146097;
    const int doe = z - era * 146097;
    const int yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int mp = (5 * doy + 2) / 153;
    const int d = doy - (153 * mp + 2) / 5 + 1;
    const int m = mp + (mp < 10 ? 3 : -9);
    const int y = yoe + era * 400 + (m <= 2);
    char text[48];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", y, m, d);
    return text;
}

std::vector<int> SolvedPerDay(const std::vector<TAttemptRow>& log, int today, int days) {
    std::vector<int> counts(static_cast<size_t>(std::max(0, days)), 0);
    std::set<std::pair<int, int32_t>> counted; // (day, problem)
    for (const TAttemptRow& a : log) {
        if (!Solved(a)) continue;
        const int day = DayNumber(DayOf(a.Ended));
        const int back = today - day;
        if (day < 0 || back < 0 || back >= days || !counted.insert({day, a.Auto1}).second) continue;
        ++counts[static_cast<size_t>(days - 1 - back)];
    }
    return counts;
}

TStreaks StreaksOf(const std::vector<TAttemptRow>& log, int today) {
    std::set<int> days;
    for (const TAttemptRow& a : log)
        if (Clean(a))
            if (const int day = DayNumber(DayOf(a.Ended)); day >= 0 && day <= today) days.insert(day);
    TStreaks streaks;
    int run = 0, previous = -2;
    for (const int day : days) {
        run = day == previous + 1 ? run + 1 : 1;
        previous = day;
        streaks.Best = std::max(streaks.Best, run);
    }
    // The streak still runs while its last day is today or yesterday.
    if (!days.empty() && *days.rbegin() >= today - 1) streaks.Current = run;
    return streaks;
}

std::map<int, TGroupProgress> ProgressByGroup(const std::vector<TAttemptRow>& log,
                                              const std::function<int(int32_t)>& groupOf) {
    std::map<int, TGroupProgress> groups;
    for (const TAttemptRow* a : FirstAttempts(log)) {
        const int group = groupOf(a->Auto1);
        if (group < 0) continue;
        ++groups[group].FirstAttempts;
        if (Clean(*a)) ++groups[group].FirstClean;
    }
    for (const TAttemptRow& a : log) {
        const int group = Clean(a) ? groupOf(a.Auto1) : -1;
        if (group < 0) continue;
        ++groups[group].CleanSolves;
        groups[group].CleanSeconds += a.Seconds;
    }
    return groups;
}

double TRating::Expected(int level) const {
    return 1.0 / (1.0 + std::pow(10.0, (level - m_Value) / 4.0));
}

void TRating::Play(int level, bool clean) {
    const double step = std::max(0.5, 4.0 / std::sqrt(1.0 + m_Games / 4.0));
    m_Value += step * ((clean ? 1.0 : 0.0) - Expected(level));
    m_Value = std::clamp(m_Value, 1.0, 50.0);
    ++m_Games;
}

std::vector<TRatingPoint> RatingHistory(const std::vector<TAttemptRow>& log,
                                        const std::function<int(int32_t)>& levelOf) {
    std::vector<TRatingPoint> points;
    TRating rating;
    for (const TAttemptRow* a : FirstAttempts(log)) {
        // A problem without a level (an imported one whose source names none) is no game.
        const int level = levelOf(a->Auto1);
        if (level <= 0) continue;
        rating.Play(level, Clean(*a));
        points.push_back({DayOf(a->Ended), rating.Value()});
    }
    return points;
}

std::string LevelName(double level) {
    const int rounded = static_cast<int>(std::lround(level));
    return rounded >= 40 ? std::to_string(rounded - 39) + "d" : std::to_string(40 - rounded) + "k";
}

bool TProgressReport::Empty() const {
    return Attempts == 0 && std::none_of(Groups.begin(), Groups.end(), [](const TGroupLine& g) { return g.Solved > 0; });
}

TProgressReport ProgressReportOf(const std::vector<TAttemptRow>& log, int today,
                                 const std::function<TProblemPlace(int32_t)>& placeOf,
                                 const std::vector<TGroupLine>& groups) {
    // Each problem's place is asked once however often it was tried.
    std::map<int32_t, TProblemPlace> places;
    auto place = [&](int32_t key) -> const TProblemPlace& {
        const auto known = places.find(key);
        return known != places.end() ? known->second : places[key] = placeOf(key);
    };
    TProgressReport report;
    report.Today = today;
    report.Attempts = static_cast<int>(log.size());
    report.SolvedPerDay = SolvedPerDay(log, today, TProgressReport::kDays);
    report.Streaks = StreaksOf(log, today);
    report.Rating = RatingHistory(log, [&](int32_t key) { return place(key).Level; });
    const std::map<int, TGroupProgress> progress =
        ProgressByGroup(log, [&](int32_t key) { return place(key).Group; });
    for (TGroupLine line : groups) {
        if (line.Total <= 0) continue;
        const auto found = progress.find(line.Group);
        if (found != progress.end()) line.Progress = found->second;
        report.Groups.push_back(line);
    }
    return report;
}

std::string AttemptLogCsv(const std::vector<TAttemptRow>& log,
                          const std::function<std::string(int32_t)>& problemName) {
    static const char* const kResults[] = {"clean", "with help", "failure", "abandoned"};
    auto quoted = [](const std::string& text) {
        std::string out = "\"";
        for (const char c : text) out += c == '"' ? std::string("\"\"") : std::string(1, c);
        return out + "\"";
    };
    std::string csv = "problem,began,ended,result,failures,hints,takebacks,seconds,orientation\r\n";
    for (const TAttemptRow& a : log) {
        const int result = std::clamp(static_cast<int>(a.Result), 0, 3);
        csv += quoted(problemName(a.Auto1)) + "," + a.Began + "," + a.Ended + "," + kResults[result] +
               "," + std::to_string(a.Failures) + "," + std::to_string(a.Hints) + "," +
               std::to_string(a.Takebacks) + "," + std::to_string(a.Seconds) + "," +
               std::to_string(a.Orientation) + "\r\n";
    }
    return csv;
}

} // namespace karvena
