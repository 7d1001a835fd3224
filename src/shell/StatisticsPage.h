#pragma once
// The statistics page: the player's progress as charts, drawn from a report of the attempt log.
// Problems solved per day, the rating over the first attempts, and per level group the share of
// first attempts solved cleanly, the average clean solve and solved/total; the streaks above
// them. With nothing to show it says so and draws no axes.
#include <QLabel>
#include <QWidget>
#include <QtCharts/QChartView>

#include "solving/Progress.h"

namespace karvena {

class TStatisticsPage : public QWidget {
public:
    explicit TStatisticsPage(QWidget* parent = nullptr);
    // Draws the report (again: each call replaces what was drawn).
    void Show(const TProgressReport& report);

    // ---- Parts (tests read them) ----
    QLabel* EmptyLabel = nullptr;
    QLabel* StreakLabel = nullptr;
    QLabel* RatingLabel = nullptr;
    QWidget* Charts = nullptr;
    QChartView *SolvedPerDayChart = nullptr, *RatingChart = nullptr, *FirstCleanChart = nullptr,
               *CleanTimeChart = nullptr, *SolvedTotalChart = nullptr;

private:
    void ShowSolvedPerDay(const TProgressReport& report);
    void ShowRating(const TProgressReport& report);
    void ShowGroups(const TProgressReport& report);
};

} // namespace karvena
