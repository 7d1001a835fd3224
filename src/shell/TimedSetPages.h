#pragma once
// The timed set's two windows: the dialog that sets one up (group, size, time) and the summary
// page that shows each problem's result and time once the set is over.
#include <QButtonGroup>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTableWidget>
#include <utility>
#include <vector>

#include "solving/TimedSet.h"

namespace karvena {

class TTimedSetDialog : public QDialog {
public:
    // `groups`: number and caption of each group a set may be played from; `current` is chosen first.
    TTimedSetDialog(const std::vector<std::pair<int, QString>>& groups, int current, QWidget* parent = nullptr);
    TTimedSetOptions Options() const;

    QComboBox* GroupBox = nullptr;
    QSpinBox* SizeBox = nullptr;
    QSpinBox* SecondsBox = nullptr;
    QRadioButton *PerProblem = nullptr, *WholeSet = nullptr;
};

class TTimedSetSummary : public QWidget {
public:
    explicit TTimedSetSummary(QWidget* parent = nullptr);
    // The results of a finished set; `names` are the problems as the set showed them.
    void Show(const TTimedSet& set, const std::vector<QString>& names);

    QLabel* Heading = nullptr;
    QTableWidget* Table = nullptr;
    QPushButton* BackButton = nullptr;
};

// "1:05" of 65 seconds.
QString ClockText(int64_t seconds);

} // namespace karvena
