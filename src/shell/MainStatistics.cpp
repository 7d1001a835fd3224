// The player's progress in the window: the rating in the status bar and the attempt log as CSV.
#include <QFileDialog>
#include <QSaveFile>

#include "shell/Main.h"
#include "shell/QtText.h"
#include "solving/Progress.h"

namespace karvena {

std::optional<TProblemRow> TGoGameMainForm::RowOfHistoryKey(int32_t key) {
    const TCollectionId id = TCollections::CollectionOfHistoryKey(key);
    TProblemStore& store = id == TCollectionId::Bundled ? m_Collections.Bundled() : m_Collections.Store(id);
    // The imported collection is opened for this when no group of it was yet.
    if (id == TCollectionId::Imported && !store.IsOpen() && !m_Collections.User().OpenStore(store)) return std::nullopt;
    return store.Find(key - TCollections::HistoryBase(id));
}

TProgressReport TGoGameMainForm::ProgressReport() {
    m_Collections.Bundled(); // its groups are counted once it has been read
    const std::map<int, std::pair<int, int>> counted = m_Collections.ProgressOfGroups();
    std::vector<TGroupLine> groups;
    auto add = [&](int group) {
        const auto found = counted.find(group);
        if (found == counted.end()) return;
        groups.push_back({group, GroupName(group).toStdString(), found->second.first, found->second.second, {}});
    };
    // The bundled groups a player can open (their items are shown), then the imported ones.
    for (const auto& [file, popup] : m_GroupItems)
        if (TCollections::IsBundledLevelGroup(file->data().toInt()) && file->isVisible()) add(file->data().toInt());
    for (const TImportedGroup& g : m_Collections.User().Groups()) add(g.Group);
    return ProgressReportOf(m_History.Attempts(), m_Statistics->TodayNumber(),
                            [this](int32_t key) {
                                const std::optional<TProblemRow> row = RowOfHistoryKey(key);
                                return row ? TProblemPlace{row->Group1, row->Level1} : TProblemPlace{};
                            },
                            groups);
}

void TGoGameMainForm::ShowStatisticsView() {
    if (m_Try->Active() || InTimedSet()) return;
    tsStatistics->Show(ProgressReport());
    ShowSidePage(tsStatistics);
}

void TGoGameMainForm::ShowRating() {
    const std::vector<TAttemptRow> log = m_History.Attempts();
    std::map<int32_t, int> levels;
    const std::vector<TRatingPoint> rating = RatingHistory(log, [&](int32_t key) {
        const auto known = levels.find(key);
        if (known != levels.end()) return known->second;
        const std::optional<TProblemRow> row = RowOfHistoryKey(key);
        return levels[key] = row ? row->Level1 : -1;
    });
    StatusRating->setText(rating.empty() ? QString() : T("LabelRating") + Q(LevelName(rating.back().Value)));
}

void TGoGameMainForm::ExportStatistics() {
    const QString path = ExportChooser ? ExportChooser()
                                       : QFileDialog::getSaveFileName(this, QString(), "karvena-attempts.csv",
                                                                      "CSV (*.csv)");
    if (path.isEmpty()) return;
    const std::string csv = AttemptLogCsv(m_History.Attempts(), [](int32_t key) {
        const TCollectionId id = TCollections::CollectionOfHistoryKey(key);
        char text[16];
        std::snprintf(text, sizeof text, "%04X", static_cast<unsigned>(key - TCollections::HistoryBase(id)));
        return std::string(id == TCollectionId::Imported ? "imported " : "bundled ") + text;
    });
    // Written whole or not at all: the file appears only once every byte is in it.
    QSaveFile file(path);
    const bool written = file.open(QIODevice::WriteOnly) &&
                         file.write(csv.data(), static_cast<qint64>(csv.size())) == static_cast<qint64>(csv.size()) &&
                         file.commit();
    if (!written) Message("error", "Karvena", T("ExportStatisticsFailed") + file.errorString());
}

} // namespace karvena
