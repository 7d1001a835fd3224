// The trainer meets broken files: it says what is wrong, stays up, and leaves the player's
// history as it was wherever nothing was to be written.
#include <gtest/gtest.h>
#include <zip.h>

#include <QFile>

#include "shell/TrainerFixture.h"

namespace karvena::test {
namespace {

class Faults : public TTrainerFixture {
protected:
    std::vector<TProblemRow> Problems() override { return SmallProblems(); }
    QString HistoryFile() { return folder.filePath("program/History1.cds"); }
    // A history beside the program that knows problem 2 as solved.
    void WriteHistory() {
        THistoryStore history;
        ASSERT_TRUE(history.Open(HistoryFile().toStdString()).Ok);
        THistoryRow row;
        row.Auto1 = 2;
        row.SolvedCount = 1;
        row.FailedCount = 4;
        ASSERT_TRUE(history.Post(row));
    }
    QByteArray Bytes(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    bool Told(const QString& part) {
        for (const QString& m : messages)
            if (m.contains(part)) return true;
        return false;
    }
};

TEST_F(Faults, AnUnwritableHistoryIsReportedOnceAndTheSessionStillCounts) {
    WriteHistory();
    const QByteArray before = Bytes(HistoryFile());
    BeforeShow = [](TGoGameMainForm& w) { w.HistoryAccess = THistoryAccess::ReadOnly; };
    OpenWindow();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_TRUE(messages[0].contains("cannot be saved")) << messages[0].toStdString();
    EXPECT_TRUE(messages[0].contains(HistoryFile())) << "the path is named";
    EXPECT_EQ(window->GoIndex1->Games()[0][5], '1') << "what was saved before is shown";
    ClickThumbnail(1, 1);
    ClickPoint(3, 3); // a failure
    EXPECT_EQ(window->LabelFailureCount->text(), "Failure count: 5") << "counted in memory";
    window->close();
    window.reset();
    EXPECT_EQ(messages.size(), 1u) << "told once";
    EXPECT_EQ(Bytes(HistoryFile()), before) << "the file is untouched";
}

TEST_F(Faults, AHistoryBesideAReadOnlyProgramFolderIsTakenOver) {
    WriteHistory();
    const QByteArray before = Bytes(HistoryFile());
    BeforeShow = [](TGoGameMainForm& w) { w.ProgramFolderWritable = false; };
    OpenWindow();
    EXPECT_TRUE(Told("was copied from")) << (messages.empty() ? "" : messages[0].toStdString());
    EXPECT_NE(window->HistoryPath(), HistoryFile()) << "kept in the user's folder now";
    EXPECT_EQ(window->GoIndex1->Games()[0][5], '1') << "the old progress came along";
    window->close();
    window.reset();
    EXPECT_EQ(Bytes(HistoryFile()), before);
    // The next start uses the copy and says nothing.
    messages.clear();
    OpenWindow();
    EXPECT_FALSE(Told("was copied from"));
    EXPECT_EQ(window->GoIndex1->Games()[0][5], '1');
}

TEST_F(Faults, BrokenCollectionsAreReportedAndTheHistoryIsLeftAlone) {
    const struct {
        const char* name;
        std::function<void(const QString& path)> make;
        const char* says;
    } cases[] = {
        {"empty file", [](const QString& p) { QFile f(p); f.open(QIODevice::WriteOnly); },
         "not a problem collection"},
        {"no member",
         [](const QString& p) {
             int error = 0;
             zip_t* z = zip_open(p.toUtf8().constData(), ZIP_CREATE | ZIP_TRUNCATE, &error);
             zip_file_add(z, "Other.txt", zip_source_buffer(z, "x", 1, 0), 0);
             zip_close(z);
         },
         "no problem table"},
        {"wrong password",
         [](const QString& p) {
             TProblemTableWriter writer;
             writer.Add(SmallProblems()[0]);
             WriteArchive(p.toStdString(), writer.Image(), "someone else's");
         },
         "not one of this program's"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        window.reset();
        messages.clear();
        QFile::remove(folder.filePath("program/Karvena.dgo"));
        c.make(folder.filePath("program/Karvena.dgo"));
        QFile::remove(HistoryFile());
        WriteHistory();
        const QByteArray before = Bytes(HistoryFile());
        OpenWindow();
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_TRUE(messages[0].contains(c.says)) << messages[0].toStdString();
        EXPECT_EQ(window->GoIndex1->Count(), 0);
        EXPECT_TRUE(window->isVisible()) << "the trainer stays up";
        window->close();
        window.reset();
        EXPECT_EQ(Bytes(HistoryFile()), before);
    }
}

} // namespace
} // namespace karvena::test
