#include "shell/Commands.h"

#include <algorithm>
#include <utility>

namespace karvena {

namespace {
using enum TCommand;

constexpr std::array<const char*, kCommandCount> kNames = {
#define KARVENA_COMMAND_NAME(name) #name,
    KARVENA_COMMANDS(KARVENA_COMMAND_NAME)
#undef KARVENA_COMMAND_NAME
};

constexpr std::pair<TCommand, TCommand> kButtons[] = {
    {btnProblemIndex, miProblemIndex1}, {btnSolveIt, miSolveIt1},
    {btnFirstPage, miFirstpage1},       {btnPriorPage, miPriorpage1},
    {btnNextPage, miNextpage1},         {btnLastPage, miLastpage1},
    {btnFirstProblem, miFirstproblem1}, {btnPriorProblem, miPriorproblem1},
    {btnNextProblem, miNextproblem1},   {btnLastProblem, miLastproblem1},
    {btnSolveAgain1, miSolveAgain1},    {btnBack1, miBack1},
    {btnNextVofComputer, miNextVOfComputer1}, {btnResult1, miResult1},
    {btnHint1, miHint1},                {btnStudy1, miStudy1},
    {btnStopStudy1, miStopStudy1},
};

constexpr TCommand kSpeeds[] = {miN11, miN2, miN3, miN4, miN5, miN6, miN7, miN8, miN9, miN101};

constexpr TLanguageItem kLanguages[] = {{miLanguage_en, "en", "LanguageEnglish"},
                                        {miLanguage_zh_CN, "zh_CN", "LanguageSimplified"},
                                        {miLanguage_zh_TW, "zh_TW", "LanguageTraditional"}};

constexpr TCommand kViewMenu[] = {
    miZoomin1,     miZoomout1,     kSeparator,      miProblemIndex1, miSolveIt1,
    miStatistics1, kSeparator,    miFirstpage1,   miPriorpage1,    miNextpage1,     miLastpage1,
    miFirstproblem1, miPriorproblem1, miNextproblem1, miLastproblem1, kSeparator, miFind1};
constexpr TCommand kSolveMenu[] = {
    miNextVOfComputer1, miSolveAgain1, miBack1, miHint1,          miResult1,
    kSeparator,         miStudy1,      miStopStudy1, miStudyAtNewWindow1, kSeparator,
    Resetsolvedflag1,   miWhatlevelImat1};
constexpr TCommand kOptionsMenu[] = {miSilent1,
                                     miHintallowed1,
                                     miOneStepHint1,
                                     miDisplaynumbers1,
                                     NextproblemAutomaticallyWhenSolved1,
                                     miTakebackautomatically1,
                                     miDelaybeforetakebackautomatically1,
                                     miBestCounterMoveOnly1,
                                     miComputerdonotplaybadmove1,
                                     kSeparator,
                                     miRandomOrientation1,
                                     miRandomColours1,
                                     kSeparator,
                                     miJudgeMoves1,
                                     kSeparator,
                                     misgf1,
                                     miPlainbackground1,
                                     kSeparator,
                                     miShowHintWindows1};
constexpr TCommand kHelpMenu[] = {miGuide1, miAbout1};
constexpr TCommand kMainToolBar[] = {btnProblemIndex, btnSolveIt,      kSeparator,
                                     btnFirstPage,    btnPriorPage,    btnNextPage,
                                     btnLastPage,     btnFirstProblem, btnPriorProblem,
                                     btnNextProblem,  btnLastProblem};
constexpr TCommand kSolveToolBar[] = {btnSolveAgain1, btnBack1,  btnNextVofComputer, btnResult1,
                                      btnHint1,       btnStudy1, btnStopStudy1};

constexpr TCommand kPageCommands[] = {miFirstpage1, miPriorpage1, miNextpage1, miLastpage1,
                                      btnFirstPage, btnPriorPage, btnNextPage, btnLastPage};
constexpr TCommand kProblemCommands[] = {miFirstproblem1, miPriorproblem1, miNextproblem1,
                                         miLastproblem1,  btnFirstProblem, btnPriorProblem,
                                         btnNextProblem,  btnLastProblem};
constexpr TCommand kRestingDuringTry[] = {
    miFirstproblem1, miPriorproblem1, miNextproblem1,     miLastproblem1,  btnFirstProblem,
    btnPriorProblem, btnNextProblem,  btnLastProblem,     miProblemIndex1, btnProblemIndex,
    miSolveIt1,      btnSolveIt,      miSolveAgain1,      btnSolveAgain1,  miHome,
    miBack1,         btnBack1,        miBackSpace,        miHint1,         btnHint1,
    miNextVOfComputer1, miPgUp,       miF8,               miDisplaynumbers1, miStudyAtNewWindow1,
    miOrder1,        miOrder2,        miBasic1,           miBasic2,        miBeginner1,
    miBeginner2,     miIntermediate1, miIntermediate2,    miAdvanced1,     miAdvanced2,
    miCustom1,       miCustom2,       miAll1,             miAll2,          miReview1,
    miReview2,       miImport1,       miTimedSet1,        miStatistics1,   miReviewAhead1};
constexpr TCommand kRestingDuringTimedSet[] = {
    miFirstproblem1, miPriorproblem1, miNextproblem1,  miLastproblem1,  btnFirstProblem,
    btnPriorProblem, btnNextProblem,  btnLastProblem,  miProblemIndex1, btnProblemIndex,
    miOrder1,        miOrder2,        miBasic1,        miBasic2,        miBeginner1,
    miBeginner2,     miIntermediate1, miIntermediate2, miAdvanced1,     miAdvanced2,
    miCustom1,       miCustom2,       miAll1,          miAll2,          miReview1,
    miReview2,       miImport1,       miTimedSet1,     miStatistics1,   miStudy1,
    btnStudy1,       Resetsolvedflag1, miClearallsolvedflags1, miReviewAhead1};
} // namespace

const char* CommandName(TCommand command) {
    return kNames.at(static_cast<std::size_t>(command));
}

std::optional<TCommand> CommandNamed(std::string_view name) {
    for (std::size_t i = 0; i < kCommandCount; ++i)
        if (name == kNames[i]) return static_cast<TCommand>(i);
    return std::nullopt;
}

std::optional<TCommand> ButtonCommand(TCommand button) {
    for (const auto& [b, command] : kButtons)
        if (b == button) return command;
    return std::nullopt;
}

TCommand SpeedCommand(int seconds) {
    return kSpeeds[static_cast<std::size_t>(std::clamp(seconds, 1, 10) - 1)];
}

std::span<const TLanguageItem> Languages() { return kLanguages; }
std::span<const TCommand> ViewMenu() { return kViewMenu; }
std::span<const TCommand> SolveMenu() { return kSolveMenu; }
std::span<const TCommand> OptionsMenu() { return kOptionsMenu; }
std::span<const TCommand> HelpMenu() { return kHelpMenu; }
std::span<const TCommand> MainToolBar() { return kMainToolBar; }
std::span<const TCommand> SolveToolBar() { return kSolveToolBar; }
std::span<const TCommand> PageCommands() { return kPageCommands; }
std::span<const TCommand> ProblemCommands() { return kProblemCommands; }
std::span<const TCommand> CommandsRestingDuringTry() { return kRestingDuringTry; }
std::span<const TCommand> CommandsRestingDuringTimedSet() { return kRestingDuringTimedSet; }

} // namespace karvena
