#include "shell/StatisticsPage.h"

#include <QDateTime>
#include <QGridLayout>
#include <QVBoxLayout>
#include <QtCharts/QBarCategoryAxis>
#include <QtCharts/QBarSeries>
#include <QtCharts/QBarSet>
#include <QtCharts/QCategoryAxis>
#include <QtCharts/QDateTimeAxis>
#include <QtCharts/QLineSeries>
#include <QtCharts/QStackedBarSeries>
#include <QtCharts/QValueAxis>
#include <algorithm>
#include <cmath>

#include "shell/QtText.h"

namespace karvena {

namespace {

QChartView* MakeChartView(QWidget* parent, const char* name) {
    auto* view = new QChartView(parent);
    view->setObjectName(name);
    view->setRenderHint(QPainter::Antialiasing);
    view->setMinimumSize(260, 200);
    return view;
}

// A fresh chart with its title, the view's old one deleted with it.
QChart* NewChart(QChartView* view, const char* title) {
    auto* chart = new QChart();
    chart->setTitle(T(title));
    chart->legend()->hide();
    chart->setMargins(QMargins(4, 4, 4, 4));
    QChart* old = view->chart();
    view->setChart(chart);
    delete old;
    return chart;
}

// A value axis from 0 whose ticks fall on whole numbers.
QValueAxis* CountAxis(double largest, const char* format = "%d") {
    auto* axis = new QValueAxis();
    axis->setRange(0, std::max(1.0, largest));
    axis->applyNiceNumbers();
    axis->setLabelFormat(format);
    return axis;
}

QString Days(int n) {
    return Q(Fill(Tx(n == 1 ? "StatisticsOneDay" : "StatisticsDays"), {std::to_string(n)}));
}

} // namespace

TStatisticsPage::TStatisticsPage(QWidget* parent) : QWidget(parent) {
    auto* layout = new QVBoxLayout(this);
    EmptyLabel = new QLabel(this);
    EmptyLabel->setObjectName("StatisticsEmpty");
    EmptyLabel->setAlignment(Qt::AlignCenter);
    EmptyLabel->setWordWrap(true);
    layout->addWidget(EmptyLabel, 1);
    auto* heading = new QHBoxLayout();
    StreakLabel = new QLabel(this);
    StreakLabel->setObjectName("StatisticsStreaks");
    RatingLabel = new QLabel(this);
    RatingLabel->setObjectName("StatisticsRating");
    for (QLabel* label : {StreakLabel, RatingLabel}) {
        QFont font = label->font();
        font.setBold(true);
        label->setFont(font);
    }
    heading->addWidget(StreakLabel, 1);
    heading->addWidget(RatingLabel);
    layout->addLayout(heading);
    Charts = new QWidget(this);
    auto* grid = new QGridLayout(Charts);
    grid->setContentsMargins(0, 0, 0, 0);
    SolvedPerDayChart = MakeChartView(Charts, "ChartSolvedPerDay");
    RatingChart = MakeChartView(Charts, "ChartRating");
    FirstCleanChart = MakeChartView(Charts, "ChartFirstClean");
    CleanTimeChart = MakeChartView(Charts, "ChartCleanTime");
    SolvedTotalChart = MakeChartView(Charts, "ChartSolvedTotal");
    grid->addWidget(SolvedPerDayChart, 0, 0, 1, 2);
    grid->addWidget(RatingChart, 0, 2);
    grid->addWidget(FirstCleanChart, 1, 0);
    grid->addWidget(CleanTimeChart, 1, 1);
    grid->addWidget(SolvedTotalChart, 1, 2);
    layout->addWidget(Charts, 1);
    Show(TProgressReport{});
}

void TStatisticsPage::Show(const TProgressReport& report) {
    const bool empty = report.Empty();
    EmptyLabel->setText(T("StatisticsNothingYet"));
    EmptyLabel->setVisible(empty);
    StreakLabel->setVisible(!empty);
    RatingLabel->setVisible(!empty);
    Charts->setVisible(!empty);
    if (empty) return;
    StreakLabel->setText(T("StatisticsCurrentStreak") + Days(report.Streaks.Current) + "    " +
                         T("StatisticsBestStreak") + Days(report.Streaks.Best));
    RatingLabel->setText(report.Rating.empty() ? QString()
                                               : T("LabelRating") + Q(LevelName(report.Rating.back().Value)));
    ShowSolvedPerDay(report);
    ShowRating(report);
    ShowGroups(report);
}

void TStatisticsPage::ShowSolvedPerDay(const TProgressReport& report) {
    QChart* chart = NewChart(SolvedPerDayChart, "ChartSolvedPerDay");
    auto* series = new QLineSeries();
    // Each day at noon, so a day's point sits in the middle of its date.
    const int days = static_cast<int>(report.SolvedPerDay.size());
    const QDate today = QDate::fromString(Q(DayText(report.Today)), Qt::ISODate);
    int most = 0;
    for (int i = 0; i < days; ++i) {
        const QDateTime noon(today.addDays(i - days + 1), QTime(12, 0));
        series->append(static_cast<qreal>(noon.toMSecsSinceEpoch()), report.SolvedPerDay[static_cast<size_t>(i)]);
        most = std::max(most, report.SolvedPerDay[static_cast<size_t>(i)]);
    }
    chart->addSeries(series);
    auto* x = new QDateTimeAxis();
    x->setFormat("MM-dd");
    x->setTickCount(7);
    chart->addAxis(x, Qt::AlignBottom);
    QValueAxis* y = CountAxis(most);
    chart->addAxis(y, Qt::AlignLeft);
    series->attachAxis(x);
    series->attachAxis(y);
}

void TStatisticsPage::ShowRating(const TProgressReport& report) {
    QChart* chart = NewChart(RatingChart, "ChartRating");
    auto* series = new QLineSeries();
    double low = TRating::kStart, high = TRating::kStart;
    for (size_t i = 0; i < report.Rating.size(); ++i) {
        series->append(static_cast<qreal>(i + 1), report.Rating[i].Value);
        low = std::min(low, report.Rating[i].Value);
        high = std::max(high, report.Rating[i].Value);
    }
    chart->addSeries(series);
    auto* x = CountAxis(static_cast<double>(report.Rating.size()));
    x->setTitleText(T("ChartFirstAttempts"));
    chart->addAxis(x, Qt::AlignBottom);
    // The levels as the trainer writes them, every few levels.
    auto* y = new QCategoryAxis();
    y->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    const int from = static_cast<int>(std::floor(low)) - 2, to = static_cast<int>(std::ceil(high)) + 2;
    const int step = to - from > 12 ? 5 : to - from > 6 ? 2 : 1;
    for (int level = from; level <= to; ++level)
        if (level % step == 0) y->append(Q(LevelName(level)), level);
    y->setRange(from, to);
    chart->addAxis(y, Qt::AlignLeft);
    series->attachAxis(x);
    series->attachAxis(y);
}

void TStatisticsPage::ShowGroups(const TProgressReport& report) {
    QStringList names;
    auto* share = new QBarSet(T("ChartFirstClean"));
    auto* seconds = new QBarSet(T("ChartCleanTime"));
    auto* solved = new QBarSet(T("ChartSolved"));
    auto* unsolved = new QBarSet(T("ChartNotYetSolved"));
    double mostSeconds = 0;
    for (const TGroupLine& g : report.Groups) {
        names << Q(g.Name);
        share->append(std::round(100.0 * g.Progress.FirstCleanShare()));
        seconds->append(std::round(g.Progress.AverageCleanSeconds()));
        solved->append(g.Solved);
        unsolved->append(std::max(0, g.Total - g.Solved));
        mostSeconds = std::max(mostSeconds, g.Progress.AverageCleanSeconds());
    }
    auto draw = [&names](QChartView* view, const char* title, QAbstractBarSeries* series, QValueAxis* y) {
        QChart* chart = NewChart(view, title);
        chart->addSeries(series);
        auto* x = new QBarCategoryAxis();
        x->append(names);
        chart->addAxis(x, Qt::AlignBottom);
        chart->addAxis(y, Qt::AlignLeft);
        series->attachAxis(x);
        series->attachAxis(y);
        return chart;
    };
    auto* shareSeries = new QBarSeries();
    shareSeries->append(share);
    QValueAxis* percent = CountAxis(100, "%d%%");
    percent->setRange(0, 100);
    draw(FirstCleanChart, "ChartFirstClean", shareSeries, percent);
    auto* secondsSeries = new QBarSeries();
    secondsSeries->append(seconds);
    draw(CleanTimeChart, "ChartCleanTime", secondsSeries, CountAxis(mostSeconds));
    solved->setColor(QColor(0x2e, 0x8b, 0x57));
    unsolved->setColor(QColor(0xc8, 0xc8, 0xc8));
    auto* totals = new QStackedBarSeries();
    totals->append(solved);
    totals->append(unsolved);
    int largest = 0;
    for (const TGroupLine& g : report.Groups) largest = std::max(largest, g.Total);
    QChart* chart = draw(SolvedTotalChart, "ChartSolvedTotal", totals, CountAxis(largest));
    chart->legend()->show();
    chart->legend()->setAlignment(Qt::AlignBottom);
}

} // namespace karvena
