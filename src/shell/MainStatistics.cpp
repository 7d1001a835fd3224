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
    return store.Find(key - TCollections::HistoryBase(id));
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
