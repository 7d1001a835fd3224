#include "shell/Settings.h"

#include <cstdlib>

namespace karvena {

std::optional<int> SettingNumber(const std::string& text) {
    if (text.empty() || text.size() > 10) return std::nullopt;
    size_t i = text[0] == '-' ? 1 : 0;
    if (i == text.size()) return std::nullopt;
    for (; i < text.size(); ++i)
        if (text[i] < '0' || text[i] > '9') return std::nullopt;
    const long value = std::strtol(text.c_str(), nullptr, 10);
    if (value > 2147483647L || value < -2147483647L) return std::nullopt;
    return static_cast<int>(value);
}

TWindowRect PlaceMainWindow(const TStartSettings& stored, const TWindowRect& screen,
                            const TWindowRect& available) {
    TWindowRect r;
    r.Width = std::max(320, stored.Width.value_or(DefaultWidth(screen.Width)));
    r.Height = std::max(240, stored.Height.value_or(DefaultHeight(screen.Height)));
    r.Width = std::min(r.Width, std::max(320, available.Width));
    r.Height = std::min(r.Height, std::max(240, available.Height));
    const bool placed = stored.Left.has_value() || stored.Top.has_value();
    r.Left = placed ? stored.Left.value_or(available.Left)
                    : available.Left + (available.Width - r.Width) / 2;
    r.Top = placed ? stored.Top.value_or(available.Top)
                   : available.Top + (available.Height - r.Height) / 2;
    // Inside the area: the right and bottom edges first, so a window as large as the area still
    // keeps its title bar on the screen.
    r.Left = std::max(available.Left, std::min(r.Left, available.Left + available.Width - r.Width));
    r.Top = std::max(available.Top, std::min(r.Top, available.Top + available.Height - r.Height));
    return r;
}

TStartSettings ReadStartSettings(const ISettingsStore& store, int defaultWidth, int defaultHeight) {
    TStartSettings s;
    s.Width = defaultWidth;
    s.Height = defaultHeight;
    if (!store.Usable()) return s;
    auto get = [&](const char* name) { return store.Get(name); };
    auto onUnlessZero = [&](const char* name) { return get(name).value_or("") != "0"; };
    auto onIfOne = [&](const char* name) { return get(name).value_or("") == "1"; };
    s.DisplaySpashForm1 = onUnlessZero("DisplaySpashForm1");
    s.DisplaySpashForm2 = onUnlessZero("DisplaySpashForm2");
    s.Silent = onIfOne("Silent");
    if (auto v = get("HintAllowed")) s.HintAllowed = *v == "1";
    s.DisplayNumbers = onUnlessZero("DisplayNumbers");
    s.NextProblemAutomatically = onIfOne("NextProblemAutomatically");
    s.TakebackAutomatically = onIfOne("TakebackAutomatically");
    if (auto v = get("StudyAtNewWindow")) s.StudyAtNewWindow = *v == "1";
    if (auto v = get("BestCounterMoveOnly")) s.BestCounterMoveOnly = *v == "1";
    s.ComputerDoNotPlayBadMove = onIfOne("ComputerDoNotPlayBadMove");
    s.RandomOrientation = onIfOne("RandomOrientation");
    s.RandomColours = onIfOne("RandomColours");
    s.JudgeMoves = onUnlessZero("JudgeMovesTheAnswerDoesNotList");
    s.OneStepHint = onIfOne("OneStepHint");
    s.SgfBoard = onUnlessZero("SgfBoard");
    s.PlainBackground = onUnlessZero("PlainBackground");
    if (auto v = get("PanelWidth"))
        if (auto width = SettingNumber(*v); width && *width > 0) s.PanelWidth = *width;
    if (auto v = get("Database")) s.Database = SettingNumber(*v).value_or(2);
    if (auto v = get("TopRow")) s.TopRow = SettingNumber(*v).value_or(0);
    if (auto v = get("Selected")) s.Selected = SettingNumber(*v).value_or(-1);
    if (auto v = get("SelectedKey")) s.SelectedKey = SettingNumber(*v).value_or(-1);
    if (auto v = get("DelayBeforeTakebackAutomatically")) {
        const int delay = SettingNumber(*v).value_or(-1);
        if (delay >= 0 && delay <= 30) s.Delay = delay;
    }
    if (auto v = get("Width")) s.Width = SettingNumber(*v).value_or(defaultWidth);
    if (auto v = get("Height")) s.Height = SettingNumber(*v).value_or(defaultHeight);
    if (auto v = get("Top")) s.Top = SettingNumber(*v);
    if (auto v = get("Left")) s.Left = SettingNumber(*v);
    s.Language = get("Language").value_or("");
    return s;
}

void WriteCloseSettings(ISettingsStore& store, const TCloseSettings& v) {
    if (!store.Usable()) return;
    auto flag = [](bool b) { return std::string(b ? "1" : "0"); };
    store.Set("BestCounterMoveOnly", flag(v.BestCounterMoveOnly));
    store.Set("ComputerDoNotPlayBadMove", flag(v.ComputerDoNotPlayBadMove));
    store.Set("StudyAtNewWindow", flag(v.StudyAtNewWindow));
    store.Set("RandomOrientation", flag(v.RandomOrientation));
    store.Set("RandomColours", flag(v.RandomColours));
    store.Set("JudgeMovesTheAnswerDoesNotList", flag(v.JudgeMoves));
    store.Set("OneStepHint", flag(v.OneStepHint));
    store.Set("SgfBoard", flag(v.SgfBoard));
    store.Set("PlainBackground", flag(v.PlainBackground));
    if (v.PanelWidth > 0) store.Set("PanelWidth", std::to_string(v.PanelWidth));
    store.Set("DefaultHint", "1");
    store.Set("Database", std::to_string(v.Database));
    store.Set("TopRow", std::to_string(v.TopRow));
    if (v.Selected >= 0) store.Set("Selected", std::to_string(v.Selected));
    if (v.SelectedKey >= 0) store.Set("SelectedKey", std::to_string(v.SelectedKey));
    if (v.NormalWindow) {
        store.Set("Height", std::to_string(v.Height));
        store.Set("Width", std::to_string(v.Width));
        store.Set("Top", std::to_string(v.Top));
        store.Set("Left", std::to_string(v.Left));
    }
    store.Set("Silent", flag(v.Silent));
    store.Set("DisplayNumbers", flag(v.DisplayNumbers));
    store.Set("NextProblemAutomatically", flag(v.NextProblemAutomatically));
    store.Set("TakebackAutomatically", flag(v.TakebackAutomatically));
    store.Set("DelayBeforeTakebackAutomatically", std::to_string(v.Delay));
    if (!store.Get("InstallDir")) store.Set("InstallDir", v.InstallDir);
}

} // namespace karvena
