#pragma once
// TStudyForm: the study window. It gets a copy of the game on the main board and lets the
// player step through it with a scroll bar, or play freely from any move ("Study"); nothing
// here is counted and the main board does not change.
#include <QScrollBar>
#include <QWidget>

#include "board/GoGame.h"
#include "solving/SettingsStore.h"
#include "text/intButton.h"
#include "text/intSpeedButton.h"

namespace karvena {

class TStudyForm : public QWidget {
public:
    // `common` is the store of the study window's geometry (the CommonKey values).
    explicit TStudyForm(ISettingsStore* common = nullptr, QWidget* parent = nullptr);
    ~TStudyForm() override;

    // Loads a game: handicap, the side that moves first (1 black, -1 white), the main board's
    // move number, setup stones and moves. Every opening starts from a clean board.
    void Load(int handicap, int firstToPlay, int nextMove, const std::string& initialProc,
              const std::string& black, const std::string& white, const std::string& process);
    // Goes to the position after t moves: one step forward plays, one step back takes back,
    // anything else rebuilds from the start.
    void NavigateTo(int t, bool fromScrollBar = false);

    TGoGame* GoGame1;
    QScrollBar* sb1;
    TintButton *btnTakeBack, *btnNext, *btn1, *btnClose;
    TintSpeedButton* btnStudy;

    void TakeBackClick();
    void NextClick();
    void Begin1Click();
    // The Study/Restore toggle; `byUser` replays the remembered position when it goes up.
    void StudyClick(bool byUser);

private:
    void UpdateButtons();
    void SyncScrollBar();
    ISettingsStore* m_Common;
    int m_StudyFrom = 0;
    int m_Handicap = 0;
    bool m_ScrollReady = false;
    bool m_Placed = false; // a stored place was applied, or the window was placed when opened
    bool m_Shown = false;
};

} // namespace karvena
