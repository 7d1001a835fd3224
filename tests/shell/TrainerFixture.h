#pragma once
// A trainer window in a temporary program folder with a small collection of its own, its own
// settings and data folders; driven by QTest clicks and keys.
#include <gtest/gtest.h>

#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include "collection/Archive.h"
#include "collection/ImportedRow.h"
#include "collection/SgfImport.h"
#include "collection/SolutionBlob.h"
#include "shell/Main.h"
#include "shell/QtSettingsStore.h"
#include "text/Texts.h"

namespace karvena::test {

// Group 1 holds one problem; group 2 three, the first (key 2) with two opponent variations after
// AA (answered by BA or AB) and a refutation of CC (answered by CA).
inline std::vector<TProblemRow> SmallProblems() {
    return {ImportedRow("(;AB[dd]AW[ee];B[aa];W[ba];B[ca]C[Correct])", 1, 1),
            ImportedRow("(;AB[dd]AW[ee](;B[aa](;W[ba];B[ca]C[Correct])(;W[ab];B[ac]C[Correct]))"
                        "(;B[cc];W[ca]))",
                        2, 2),
            ImportedRow("(;AB[dd]AW[ee](;B[ab]C[Correct])(;B[ba];W[ab]))", 3, 2),
            ImportedRow("(;AB[dd]AW[ee](;B[ac]C[Correct])(;B[ca];W[ac]))", 4, 2)};
}

class TTrainerFixture : public ::testing::Test {
protected:
    // The rows of the test collection.
    virtual std::vector<TProblemRow> Problems() = 0;
    // Whether its archive carries a listing, as the collection tool's archives do.
    virtual bool WithListing() { return false; }

    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, folder.filePath("config"));
        qputenv("XDG_DATA_HOME", folder.filePath("data").toUtf8());
        qputenv("XDG_CACHE_HOME", folder.filePath("cache").toUtf8());
        QDir().mkpath(folder.filePath("program"));
        TProblemTableWriter writer;
        for (const TProblemRow& row : Problems())
            ASSERT_TRUE(writer.Add(row)) << writer.Error();
        const std::string archive = folder.filePath("program/Karvena.dgo").toStdString();
        ASSERT_EQ(WithListing() ? WriteArchiveWithListing(archive, writer.Image())
                                : WriteArchive(archive, writer.Image()),
                  "");
        SetLanguageFlags(TLanguage::English);
    }
    void TearDown() override {
        window.reset();
        SetLanguageFlags(TLanguage::SimplifiedChinese);
    }
    void OpenWindow() {
        window = std::make_unique<TGoGameMainForm>(folder.filePath("program"),
                                                   std::make_unique<TQtSettingsStore>(),
                                                   std::make_unique<TQtSettingsStore>("Common"));
        window->MessageHook = [this](const QString& kind, const QString&, const QString& text) {
            messages.push_back(kind + ": " + text);
            return answer;
        };
        window->Sounds().SetSilent(true);
        if (BeforeShow) BeforeShow(*window);
        window->show();
        if (!OpenSize.isEmpty()) window->resize(OpenSize);
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        QApplication::processEvents();
    }
    void ClickThumbnail(int row, int col) {
        QTest::mouseClick(window->GoIndex1, Qt::LeftButton, Qt::NoModifier,
                          window->GoIndex1->CellRect({row, col}).center());
        QApplication::processEvents();
    }
    void ClickPoint(TGoGame* board, int P, int Q) {
        QTest::mouseClick(board, Qt::LeftButton, Qt::NoModifier,
                          QPoint(board->Geometry().X(P), board->Geometry().Y(Q)));
        QApplication::processEvents();
    }
    void ClickPoint(int P, int Q) { ClickPoint(window->GoGame1, P, Q); }
    void Key(Qt::Key key) {
        QTest::keyClick(window.get(), key);
        QApplication::processEvents();
    }
    void Store(const char* name, const char* value) { TQtSettingsStore().Set(name, value); }
    std::optional<std::string> Stored(const char* name) { return TQtSettingsStore().Get(name); }

    QTemporaryDir folder;
    std::unique_ptr<TGoGameMainForm> window;
    // Runs between building the window and its first showing (its first activation).
    std::function<void(TGoGameMainForm&)> BeforeShow;
    // The size the window is given once shown; an empty size keeps the one it opened with.
    QSize OpenSize{1000, 720};
    std::vector<QString> messages;
    bool answer = false;
};

} // namespace karvena::test
