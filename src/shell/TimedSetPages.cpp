#include "shell/TimedSetPages.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHeaderView>
#include <QVBoxLayout>

#include "shell/QtText.h"

namespace karvena {

QString ClockText(int64_t seconds) {
    return QString("%1:%2").arg(seconds / 60).arg(seconds % 60, 2, 10, QChar('0'));
}

TTimedSetDialog::TTimedSetDialog(const std::vector<std::pair<int, QString>>& groups, int current,
                                 QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(T("TimedSetTitle"));
    auto* form = new QFormLayout();
    GroupBox = new QComboBox(this);
    for (const auto& [number, caption] : groups) {
        GroupBox->addItem(Plain(caption), number);
        if (number == current) GroupBox->setCurrentIndex(GroupBox->count() - 1);
    }
    form->addRow(T("TimedSetGroup"), GroupBox);
    SizeBox = new QSpinBox(this);
    SizeBox->setRange(1, 100);
    SizeBox->setValue(TTimedSetOptions::kDefaultSize);
    form->addRow(T("TimedSetSize"), SizeBox);
    PerProblem = new QRadioButton(T("TimedSetPerProblem"), this);
    WholeSet = new QRadioButton(T("TimedSetWholeSet"), this);
    PerProblem->setChecked(true);
    auto* kinds = new QButtonGroup(this);
    kinds->addButton(PerProblem);
    kinds->addButton(WholeSet);
    SecondsBox = new QSpinBox(this);
    SecondsBox->setRange(5, 3600);
    SecondsBox->setValue(TTimedSetOptions::kDefaultSeconds);
    // The whole set's limit starts at the problems' time added up, and goes back with the choice.
    connect(WholeSet, &QRadioButton::toggled, this, [this](bool whole) {
        SecondsBox->setValue(whole ? SecondsBox->value() * SizeBox->value()
                                   : std::max(5, SecondsBox->value() / std::max(1, SizeBox->value())));
    });
    form->addRow(PerProblem);
    form->addRow(WholeSet);
    form->addRow(QString(), SecondsBox);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
}

TTimedSetOptions TTimedSetDialog::Options() const {
    TTimedSetOptions options;
    options.Group = GroupBox->currentData().toInt();
    options.Size = SizeBox->value();
    options.Seconds = SecondsBox->value();
    options.WholeSet = WholeSet->isChecked();
    return options;
}

TTimedSetSummary::TTimedSetSummary(QWidget* parent) : QWidget(parent) {
    auto* layout = new QVBoxLayout(this);
    Heading = new QLabel(this);
    Heading->setObjectName("TimedSetHeading");
    QFont font = Heading->font();
    font.setPointSize(font.pointSize() + 6);
    font.setBold(true);
    Heading->setFont(font);
    Heading->setAlignment(Qt::AlignCenter);
    layout->addWidget(Heading);
    Table = new QTableWidget(this);
    Table->setObjectName("TimedSetTable");
    Table->setColumnCount(3);
    Table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Table->setSelectionMode(QAbstractItemView::NoSelection);
    Table->verticalHeader()->hide();
    Table->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    layout->addWidget(Table, 1);
    BackButton = new QPushButton(this);
    layout->addWidget(BackButton, 0, Qt::AlignCenter);
}

void TTimedSetSummary::Show(const TTimedSet& set, const std::vector<QString>& names) {
    const int count = static_cast<int>(set.Problems().size());
    Heading->setText(Q(Fill(Tx(set.Passed() ? "TimedPassed" : "TimedNotPassed"),
                            {std::to_string(set.SolvedCount()), std::to_string(count)})));
    Heading->setStyleSheet(set.Passed() ? "color: #1f7a1f;" : "color: #b00020;");
    Table->setHorizontalHeaderLabels({T("TimedProblem"), T("TimedResult"), T("TimedTime")});
    Table->setRowCount(count);
    for (int i = 0; i < count; ++i) {
        const TTimedProblem& p = set.Problems()[static_cast<size_t>(i)];
        static const char* const kResults[] = {"TimedNotReached", "TimedNotReached", "TimedSolved",
                                               "TimedTimedOut", "TimedLeft"};
        const bool played = p.Result != TTimedResult::NotReached && p.Result != TTimedResult::Playing;
        const QString cells[] = {i < static_cast<int>(names.size()) ? names[static_cast<size_t>(i)] : QString(),
                                 T(kResults[static_cast<int>(p.Result)]), played ? ClockText(p.Seconds) : QString()};
        for (int column = 0; column < 3; ++column) {
            auto* item = new QTableWidgetItem(cells[column]);
            item->setTextAlignment(Qt::AlignCenter);
            Table->setItem(i, column, item);
        }
    }
    BackButton->setText(T("TimedBack"));
}

} // namespace karvena
