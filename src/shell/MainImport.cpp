// The player's own problems: importing SGF files and folders, the imported groups in the level
// menus with their counts, and removing a group again.
#include <QApplication>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QFileInfo>
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
        const QString chosen = QFileDialog::getExistingDirectory(this, T("ImportTitle"), ImportStartFolder());
        return chosen.isEmpty() ? QStringList() : QStringList{chosen};
    }
    if (ask.clickedButton() == files)
        return QFileDialog::getOpenFileNames(this, T("ImportTitle"), ImportStartFolder(),
                                             "SGF (*.sgf *.SGF)");
    return {};
}

QString TGoGameMainForm::ImportStartFolder() const {
    const std::optional<std::string> stored = m_Settings->Get("LastImportFolder");
    const QString folder = stored ? Q(*stored) : QString();
    return !folder.isEmpty() && QFileInfo(folder).isDir() ? folder : QString();
}

void TGoGameMainForm::ImportProblems() {
    if (m_Try->Active()) return; // its items rest during a try; a direct call does too
    const QStringList chosen = ChooseImport();
    if (chosen.isEmpty()) return;
    // The next import's dialog opens where this one came from: beside the folder, or in the
    // files' folder.
    if (m_Settings->Usable())
        m_Settings->Set("LastImportFolder", QFileInfo(chosen.front()).absolutePath().toStdString());
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
        m_Collections.User().Import(inputs, [&](int done, int total) {
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
    for (const TImportedGroup& g : m_Collections.User().Groups()) {
        if (g.Group != group) continue;
        if (!Message("question", Plain(T("miRemoveGroup1")),
                     Q(Fill(Tx("RemoveGroupQuestion"), {g.Name, std::to_string(g.Count)}))))
            return;
        // The group's keys, read before it goes: its review and best times go with it.
        const std::vector<int32_t> keys = m_Collections.HistoryKeysOf(group);
        const std::string why = m_Collections.User().RemoveGroup(group);
        if (!why.empty()) {
            Message("warning", Plain(T("miRemoveGroup1")),
                    Q(Fill(Tx("RemoveGroupFailed"), {why})));
            return;
        }
        m_History.ForgetReviewAndBestTime(keys);
        if (m_OpenedGroup == group) {
            ShowIndexView();
            GoIndex1->SetGames({});
            m_OpenedGroup = -1;
            ShowCaption();
        }
        RefreshGroupMenus();
        return;
    }
}

void TGoGameMainForm::RefreshGroupMenus() {
    // The bundled groups: "Beginner 37/140" once the collection has been read.
    const std::map<int, std::pair<int, int>> progress = m_Collections.ProgressOfGroups();
    for (auto& [file, popup] : m_GroupItems) {
        QString caption = T(file->objectName().toStdString().c_str());
        const auto counted = progress.find(file->data().toInt());
        if (counted != progress.end() && counted->second.second > 0)
            caption += QString(" %1/%2").arg(counted->second.first).arg(counted->second.second);
        file->setText(caption);
        popup->setText(caption);
    }
    // Due today, and those coming due tomorrow besides.
    const int today = m_Statistics->TodayNumber();
    const int due = static_cast<int>(m_Collections.Due(today).size());
    const int tomorrow = static_cast<int>(m_Collections.Due(today + 1).size()) - due;
    const QString review = tomorrow > 0
                               ? Q(Fill(Tx("ReviewItemTomorrow"), {std::to_string(due), std::to_string(tomorrow)}))
                               : Q(Fill(Tx("ReviewItem"), {std::to_string(due)}));
    for (QAction* item : {m_ReviewItems.first, m_ReviewItems.second}) item->setText(review);
    for (auto& [file, popup] : m_ImportedItems) {
        delete file;
        delete popup;
    }
    m_ImportedItems.clear();
    m_RemoveMenu->clear();
    const std::vector<TImportedGroup> groups = m_Collections.User().Groups();
    for (const TImportedGroup& g : groups) {
        // "Name solved/total": the solved count from the history.
        const auto counted = progress.find(g.Group);
        const int done = counted != progress.end() ? counted->second.first : 0;
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
    // New items made during a try or a timed set rest with the others.
    if (m_Try->Active()) SetSolvingCommandsEnabled(false);
    if (InTimedSet()) SetTimedSetCommandsEnabled(false);
    MarkDefaultGroup(m_OpenedGroup);
}

} // namespace karvena
