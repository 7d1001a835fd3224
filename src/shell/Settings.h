#pragma once
// The stored settings of the trainer: every value a string, each read with its fallback. The
// store itself is behind ISettingsStore (QSettings in the program, a map in tests); when it
// cannot be read or written the program runs on the defaults.
#include <optional>
#include <string>

#include "solving/SettingsStore.h"

namespace karvena {


// What the trainer reads at its first activation, with the fallback of each value.
struct TStartSettings {
    bool DisplaySpashForm1 = true;
    bool DisplaySpashForm2 = true;
    bool Silent = false;
    bool HintAllowed = true;
    bool DisplayNumbers = true;
    bool NextProblemAutomatically = false;
    bool TakebackAutomatically = false;
    bool StudyAtNewWindow = false;
    bool BestCounterMoveOnly = false;
    bool ComputerDoNotPlayBadMove = false;
    bool RandomOrientation = false;
    bool RandomColours = false;
    bool JudgeMoves = true; // moves the answer does not list go to the solver
    bool OneStepHint = false; // the first hint gives the move instead of its area
    bool SgfBoard = true;
    bool PlainBackground = true;
    std::optional<int> PanelWidth; // the problem page's left panel, in pixels
    int Database = 2;
    int TopRow = 0;
    // The last problem opened: its place in the group's index and its key (-1: none).
    int Selected = -1, SelectedKey = -1;
    int Delay = 10; // applied only within 0..30
    std::optional<int> Width, Height, Top, Left;
    std::string Language; // "en", "zh_CN", "zh_TW" or empty
};

// Reads every value in its order, with the fallbacks; defaultWidth/Height stand for a size
// that is missing or not a number.
TStartSettings ReadStartSettings(const ISettingsStore& store, int defaultWidth, int defaultHeight);

// What the trainer writes when it closes.
struct TCloseSettings {
    bool BestCounterMoveOnly = false;
    bool ComputerDoNotPlayBadMove = false;
    bool StudyAtNewWindow = false;
    bool RandomOrientation = false;
    bool RandomColours = false;
    bool JudgeMoves = true;
    bool OneStepHint = false;
    bool SgfBoard = true;
    bool PlainBackground = true;
    int PanelWidth = 0; // written only when above 0
    int Database = -1;
    int TopRow = 1;
    int Selected = -1;
    int SelectedKey = -1; // written only when 0 or more
    bool NormalWindow = true;
    int Width = 0, Height = 0, Top = 0, Left = 0;
    bool Silent = false;
    bool DisplayNumbers = true;
    bool NextProblemAutomatically = false;
    bool TakebackAutomatically = false;
    int Delay = 10;
    std::string InstallDir;
};

// Writes the values in their order: Selected only when 0 or more, the geometry only for a
// normal window, InstallDir only when it is not there yet.
void WriteCloseSettings(ISettingsStore& store, const TCloseSettings& values);

// A window's client rectangle, or a screen's, in pixels.
struct TWindowRect {
    int Left = 0, Top = 0, Width = 0, Height = 0;
    friend bool operator==(const TWindowRect&, const TWindowRect&) = default;
};

// Where the main window opens: the stored size (else the default size of the whole screen), at
// least 320 x 240 and at most the screen's available area; the stored position moved just as
// far as the whole window needs to lie inside that area. Without a stored position the window
// is centred in the area.
TWindowRect PlaceMainWindow(const TStartSettings& stored, const TWindowRect& screen,
                            const TWindowRect& available);

// The default window size on a screen: 7/8 of it when wider than 640 / taller than 480.
inline int DefaultWidth(int screenWidth) {
    return screenWidth > 640 ? screenWidth * 7 / 8 : screenWidth;
}
inline int DefaultHeight(int screenHeight) {
    return screenHeight > 480 ? screenHeight * 7 / 8 : screenHeight;
}

} // namespace karvena
