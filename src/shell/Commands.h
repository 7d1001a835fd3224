#pragma once
// The window's commands: every menu item and tool button by an enum value, so a misspelt
// command is a compile error rather than a null item at run time. Each value's name is also the
// item's object name and the key of its caption in the text table. The lists below are the one
// place where each rule over several items (what a page shows, what rests during a try) lives.
#include <array>
#include <cstddef>
#include <optional>
#include <span>
#include <string_view>

namespace karvena {

// clang-format off
#define KARVENA_COMMANDS(X)                                                                        \
    /* File: the level groups (menu item, drop-down item), the review, import, exit */             \
    X(miOrder1) X(miOrder2) X(miBasic1) X(miBasic2) X(miBeginner1) X(miBeginner2)                  \
    X(miIntermediate1) X(miIntermediate2) X(miAdvanced1) X(miAdvanced2) X(miCustom1) X(miCustom2)  \
    X(miAll1) X(miAll2) X(miReview1) X(miReview2) X(miImport1) X(miClearallsolvedflags1)           \
    X(miExit1)                                                                                     \
    /* View */                                                                                     \
    X(miZoomin1) X(miZoomout1) X(miProblemIndex1) X(miSolveIt1) X(miFirstpage1) X(miPriorpage1)    \
    X(miNextpage1) X(miLastpage1) X(miFirstproblem1) X(miPriorproblem1) X(miNextproblem1)          \
    X(miLastproblem1) X(miFind1)                                                                   \
    /* Solve, with the hidden items that carry a second key */                                     \
    X(miNextVOfComputer1) X(miPgUp) X(miF8) X(miSolveAgain1) X(miHome) X(miBack1) X(miBackSpace)   \
    X(miHint1) X(miResult1) X(miStudy1) X(miStopStudy1) X(miStudyAtNewWindow1) X(Resetsolvedflag1) \
    X(miWhatlevelImat1)                                                                            \
    /* Options */                                                                                  \
    X(miSilent1) X(miHintallowed1) X(miDisplaynumbers1) X(NextproblemAutomaticallyWhenSolved1)     \
    X(miTakebackautomatically1) X(miDelaybeforetakebackautomatically1) X(miBestCounterMoveOnly1)   \
    X(miComputerdonotplaybadmove1) X(miRandomOrientation1) X(miRandomColours1) X(misgf1)           \
    X(miPlainbackground1) X(miJudgeMoves1) X(miExportStatistics1) X(miTimedSet1)                  \
    X(miLeaveTimedSet1) X(miStatistics1) X(miReviewAhead1) X(miShowHintWindows1) X(miOneStepHint1)                                                          \
    X(miN11) X(miN2) X(miN3) X(miN4) X(miN5) X(miN6) X(miN7) X(miN8) X(miN9) X(miN101)            \
    X(miLanguage_en) X(miLanguage_zh_CN) X(miLanguage_zh_TW)                                       \
    /* Help */                                                                                     \
    X(miGuide1) X(miAbout1)                                                                        \
    /* Tool buttons: each runs a menu command (see ButtonCommand) */                               \
    X(btnProblemIndex) X(btnSolveIt) X(btnFirstPage) X(btnPriorPage) X(btnNextPage) X(btnLastPage) \
    X(btnFirstProblem) X(btnPriorProblem) X(btnNextProblem) X(btnLastProblem) X(btnSolveAgain1)    \
    X(btnBack1) X(btnNextVofComputer) X(btnResult1) X(btnHint1) X(btnStudy1) X(btnStopStudy1)
// clang-format on

enum class TCommand {
#define KARVENA_COMMAND_VALUE(name) name,
    KARVENA_COMMANDS(KARVENA_COMMAND_VALUE)
#undef KARVENA_COMMAND_VALUE
        Count
};

inline constexpr std::size_t kCommandCount = static_cast<std::size_t>(TCommand::Count);
// In a menu table: a separator line.
inline constexpr TCommand kSeparator = TCommand::Count;

// The item's object name ("miSolveIt1").
const char* CommandName(TCommand command);
// The command of that object name, if there is one.
std::optional<TCommand> CommandNamed(std::string_view name);
// Tool buttons run a menu command; the menu command of a button, or nullopt for a menu item.
std::optional<TCommand> ButtonCommand(TCommand button);
// The speed item of 1..10 seconds.
TCommand SpeedCommand(int seconds);

// The language items: command, setting code, caption's text key.
struct TLanguageItem {
    TCommand Command;
    const char* Code;
    const char* Caption;
};
std::span<const TLanguageItem> Languages();

// The menus and tool bars, top to bottom and left to right (kSeparator between sections).
std::span<const TCommand> ViewMenu();
std::span<const TCommand> SolveMenu();
std::span<const TCommand> OptionsMenu();
std::span<const TCommand> HelpMenu();
std::span<const TCommand> MainToolBar();
std::span<const TCommand> SolveToolBar();

// Shown on the index page only: paging.
std::span<const TCommand> PageCommands();
// Shown on the problem page only: stepping through the problems.
std::span<const TCommand> ProblemCommands();
// Resting while a try is on: everything that would step the tree, set the problem up again or
// pull it from under the try (the level groups and imports rest with them).
std::span<const TCommand> CommandsRestingDuringTry();
// Resting while a timed set runs: everything that would leave the set's problems for others,
// and the try (its moves would find the answer off the clock).
std::span<const TCommand> CommandsRestingDuringTimedSet();

} // namespace karvena
