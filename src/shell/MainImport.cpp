// The player's own problems: importing SGF files and folders, the imported groups in the level
// menus with their counts, and removing a group again.
#include <QApplication>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QStandardPaths>
#include <set>

#include "collection/OpenGroup.h"
#include "shell/Main.h"
#include "shell/QtText.h"
#include "text/Texts.h"

namespace karvena {

QStringList TGoGameMainForm::ChooseImport() {
    if (ImportChooser) return ImportChooser();
    QMessageBox ask(QMessageBox::Question, T("ImportTitle"), T("ImportWhat"), QMessageBox::Cancel,
                    this);
    QPushButton* folder = ask.addButton(T("ImportFolder"), QMessageBox::AcceptRole);
    QPushButton* files = ask.addButton(T("ImportFiles"), QMessageBox::AcceptRole);
    ask.exec();
    if (ask.clickedButton() == folder) {
        const QString chosen = QFileDialog::getExistingDirectory(this, T("ImportTitle"));
        return chosen.isEmpty() ? QStringList() : QStringList{chosen};
    }
    if (ask.clickedButton() == files)
        return QFileDialog::getOpenFileNames(this, T("ImportTitle"), QString(),
                                             "SGF (*.sgf *.SGF)");
    return {};
}

void TGoGameMainForm::ImportProblems() {
    if (m_Try->Active()) return; // its items rest during a try; a direct call does too
    const QStringList chosen = ChooseImport();
    if (chosen.isEmpty()) return;
    std::vector<std::string> inputs;
    for (const QString& path : chosen) inputs.push_back(path.toStdString());

    // The files are counted as they are read; the dialog is redrawn at least every 100 ms.
    QProgressDialog progress(T("ImportReading"), Q(LocalOf("Cancel", "取消")), 0, 0, this);
    progress.setWindowTitle(T("ImportTitle"));
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(0);
    progress.show();
    QApplication::processEvents();
    QElapsedTimer sinceRedraw;
    sinceRedraw.start();
    const TImportSummary summary =
        m_UserCollection.Import(inputs, [&](int done, int total) {
            if (ImportProgressHook) ImportProgressHook(done, total);
            if (sinceRedraw.elapsed() >= 50 || done == total) {
                progress.setMaximum(total);
                progress.setValue(done);
                QApplication::processEvents();
                sinceRedraw.restart();
            }
            return !progress.wasCanceled() && !(ImportCancelAt && done >= ImportCancelAt);
        });
    progress.close();

    if (summary.Cancelled) {
        Message("info", T("ImportTitle"), T("ImportCancelled"));
        return;
    }
    if (!summary.Error.empty()) {
        Message("warning", T("ImportTitle"), Q(Fill(Tx("ImportFailed"), {summary.Error})));
        return;
    }
    QStringList lines;
    for (const TImportedGroup& group : summary.Added)
        lines << Q(Fill(Tx(group.Count == 1 ? "ImportAddedOne" : "ImportAdded"),
                        {group.Name, std::to_string(group.Count)}));
    if (summary.Added.empty()) lines << T("ImportNothingNew");
    if (summary.AlreadyThere)
        lines << Q(Fill(Tx("ImportAlreadyThere"), {std::to_string(summary.AlreadyThere)}));
    // The reasons name file:row:col, so the player can mend the file.
    auto list = [&lines](const char* heading, const std::vector<std::string>& items) {
        if (items.empty()) return;
        lines << "" << T(heading);
        const size_t shown = std::min<size_t>(items.size(), 20);
        for (size_t i = 0; i < shown; ++i) lines << Q(items[i]);
        if (items.size() > shown) lines << QString("... (%1)").arg(items.size() - shown);
    };
    list("ImportSkipped", summary.Skipped);
    list("ImportWarnings", summary.Warnings);
    RefreshGroupMenus();
    Message("info", T("ImportTitle"), lines.join("\n"));
    if (summary.FirstGroup() &&
        Message("question", T("ImportTitle"),
                Q(Fill(Tx("ImportOpenGroup"), {summary.Added.front().Name}))))
        OpenGroup(summary.FirstGroup(), 0);
}

void TGoGameMainForm::RemoveImportedGroup(int group) {
    if (m_Try->Active()) return;
    for (const TImportedGroup& g : m_UserCollection.Groups()) {
        if (g.Group != group) continue;
        if (!Message("question", T("miRemoveGroup1").remove('&'),
                     Q(Fill(Tx("RemoveGroupQuestion"), {g.Name, std::to_string(g.Count)}))))
            return;
        // The group's keys, read before it goes: its review and best times go with it.
        std::vector<int32_t> keys;
        TProblemStore store;
        if (m_UserCollection.OpenStore(store))
            for (const TProblemRow& row : store.GroupWithNext(group))
                if (row.Group1 == group) keys.push_back(store.HistoryKeyOf(row.Auto1));
        store.Close();
        const std::string why = m_UserCollection.RemoveGroup(group);
        if (!why.empty()) {
            Message("warning", T("miRemoveGroup1").remove('&'),
                    Q(Fill(Tx("RemoveGroupFailed"), {why})));
            return;
        }
        m_History.ForgetReviewAndBestTime(keys);
        if (m_OpenedGroup == group) {
            ShowIndexView();
            GoIndex1->SetGames({});
            m_OpenedGroup = -1;
        }
        RefreshGroupMenus();
        return;
    }
}

namespace {
// "solved/total" of a group: the totals from the problem table, the solved from the history.
std::pair<int, int> SolvedAndTotal(const TProblemStore& store, int group,
                                   const std::unordered_map<int32_t, int32_t>& solved) {
    int done = 0, total = 0;
    for (const TProblemRow& row : store.GroupWithNext(group)) {
        if (row.Group1 != group) break;
        ++total;
        const auto past = solved.find(store.HistoryKeyOf(row.Auto1));
        done += past != solved.end() && past->second > 0;
    }
    return {done, total};
}
} // namespace

void TGoGameMainForm::RefreshGroupMenus() {
    // The bundled groups: "Beginner 37/140" once the collection has been read.
    const std::unordered_map<int32_t, int32_t> solved = m_History.SolvedCounts();
    for (auto& [file, popup] : m_GroupItems) {
        QString caption = T(file->objectName().toStdString().c_str());
        const int group = file->data().toInt();
        if (m_Problems.IsOpen() && group >= 0 && group <= 4) {
            const auto [done, total] = SolvedAndTotal(m_Problems, group, solved);
            if (total > 0) caption += QString(" %1/%2").arg(done).arg(total);
        }
        file->setText(caption);
        popup->setText(caption);
    }
    const int due = static_cast<int>(DueProblems().size());
    for (QAction* item : {m_ReviewItems.first, m_ReviewItems.second})
        item->setText(Q(Fill(Tx("ReviewItem"), {std::to_string(due)})));
    for (auto& [file, popup] : m_ImportedItems) {
        delete file;
        delete popup;
    }
    m_ImportedItems.clear();
    m_RemoveMenu->clear();
    const std::vector<TImportedGroup> groups = m_UserCollection.Groups();
    TProblemStore store;
    const bool readable = !groups.empty() && m_UserCollection.OpenStore(store);
    for (const TImportedGroup& g : groups) {
        // "Name solved/total": the solved count from the history.
        const int done = readable ? SolvedAndTotal(store, g.Group, solved).first : 0;
        const QString caption = QString("%1 %2/%3").arg(Q(g.Name)).arg(done).arg(g.Count);
        const int number = g.Group;
        auto* file = new QAction(caption, this);
        auto* popup = new QAction(caption, this);
        for (QAction* item : {file, popup}) {
            item->setData(number);
            item->setObjectName(QString("miImported%1").arg(number));
            connect(item, &QAction::triggered, this, [this, number] { OpenGroup(number, 0); });
        }
        m_FileMenu->insertAction(m_ImportedEnd, file);
        m_PopupMenuOpen->addAction(popup);
        m_ImportedItems.emplace_back(file, popup);
        m_RemoveMenu->addAction(QString("%1 (%2)").arg(Q(g.Name)).arg(g.Count), this,
                                [this, number] { RemoveImportedGroup(number); });
    }
    m_RemoveMenu->menuAction()->setEnabled(!groups.empty());
    // New items made during a try rest with the others.
    if (m_Try->Active()) SetSolvingCommandsEnabled(false);
    MarkDefaultGroup(m_OpenedGroup);
}

std::vector<std::pair<int32_t, TProblemRow>> TGoGameMainForm::DueProblems() {
    // The bundled table is read when no group of it was opened yet.
    if (!m_Problems.IsOpen()) {
        TProblemStore opened;
        if (karvena::OpenGroup(m_ProgramFolder.toStdString(), 0, opened, m_History,
                               QStandardPaths::writableLocation(QStandardPaths::CacheLocation)
                                   .toStdString())
                .Status == TOpenGroupStatus::Ok)
            m_Problems = std::move(opened);
    }
    TProblemStore user;
    const bool imported = m_UserCollection.OpenStore(user);
    std::vector<std::pair<int32_t, TProblemRow>> rows;
    for (const TReviewEntry& entry : m_History.DueReviews(m_Statistics->TodayNumber())) {
        // The history key says the collection: the imported problems' space lies above.
        const bool fromImported = entry.Auto1 >= kImportedHistoryBase;
        if (fromImported && !imported) continue;
        const TProblemStore& from = fromImported ? user : m_Problems;
        std::optional<TProblemRow> row = from.Find(entry.Auto1 - from.HistoryBase);
        if (!row) continue; // a problem no longer in any collection is not due
        rows.emplace_back(entry.Auto1, std::move(*row));
    }
    return rows;
}

void TGoGameMainForm::MoveImportedHistoryRows() {
    // Once, for a history from before: the imported problems' rows move to their own key space.
    std::vector<int32_t> imported;
    TProblemStore user;
    if (m_UserCollection.OpenStore(user)) imported = user.Keys();
    std::set<int32_t> bundled;
    TProblemStore problems;
    if (!imported.empty() &&
        karvena::OpenGroup(m_ProgramFolder.toStdString(), -1, problems, m_History,
                           QStandardPaths::writableLocation(QStandardPaths::CacheLocation)
                               .toStdString())
                .Status == TOpenGroupStatus::Ok) {
        const std::vector<int32_t> keys = problems.Keys();
        bundled.insert(keys.begin(), keys.end());
    }
    m_History.MoveImportedRows(imported, bundled, kImportedHistoryBase);
}

TOpenGroupResult TGoGameMainForm::ListReview() {
    TOpenGroupResult result;
    TProblemTableWriter writer;
    // Two collections may both have a key: a row keeps its own while it is free in the review,
    // else takes the lowest free one, and each keeps its history key beside it.
    const std::vector<std::pair<int32_t, TProblemRow>> due = DueProblems();
    std::unordered_map<int32_t, int32_t> historyKeys;
    int32_t free = 1;
    for (auto [historyKey, row] : due) {
        if (historyKeys.count(row.Auto1)) {
            while (historyKeys.count(free)) ++free;
            row.Auto1 = free;
        }
        historyKeys[row.Auto1] = historyKey;
        row.Group1 = kReviewGroup;
        writer.Add(row);
    }
    if (!m_ReviewProblems.Open(writer.Image())) {
        result.Status = TOpenGroupStatus::BadArchive;
        result.Detail = m_ReviewProblems.Error();
        return result;
    }
    m_ReviewProblems.HistoryBase = 0;
    m_ReviewProblems.HistoryKeys = std::move(historyKeys);
    ListGroup(m_ReviewProblems, kReviewGroup, m_History, result);
    return result;
}

} // namespace karvena
