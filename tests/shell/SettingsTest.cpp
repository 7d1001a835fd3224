// Reading and writing the stored settings, with every fallback.
#include <gtest/gtest.h>

#include <functional>
#include <map>

#include "shell/Settings.h"
#include "support/MapSettings.h"

namespace karvena {
namespace {

using test::TMapStore;


// Where the window opens: the stored rectangle as it was, kept inside the screen's free area;
// without a stored size 7/8 of the whole screen, fitted to the free area.
TEST(WindowPlacement, TheStoredRectangleInsideTheFreeArea) {
    const TWindowRect screen{0, 0, 1024, 768};
    const TWindowRect free{0, 0, 1024, 740}; // a panel of 28 pixels at the bottom
    auto stored = [](std::optional<int> w, std::optional<int> h, std::optional<int> l,
                     std::optional<int> t) {
        TStartSettings s;
        s.Width = w;
        s.Height = h;
        s.Left = l;
        s.Top = t;
        return s;
    };
    const struct {
        const char* name;
        TStartSettings settings;
        TWindowRect screen, free, expected;
    } cases[] = {
        {"restored exactly", stored(700, 500, 40, 30), screen, free, {40, 30, 700, 500}},
        {"default of the whole screen, centred", stored({}, {}, {}, {}), screen, free,
         {64, 34, 896, 672}},
        {"default fitted to a small free area", stored({}, {}, {}, {}), screen, {0, 0, 1024, 600},
         {64, 0, 896, 600}},
        {"too large for the screen", stored(2800, 1750, 0, 0), {0, 0, 1600, 1000},
         {0, 0, 1600, 960}, {0, 0, 1600, 960}},
        {"off the right and bottom edges", stored(700, 500, 900, 700), screen, free,
         {324, 240, 700, 500}},
        {"above and left of the screen", stored(700, 500, -300, -80), screen, free,
         {0, 0, 700, 500}},
        {"a second screen to the right", stored(700, 500, 1100, 50), screen,
         {1024, 0, 1280, 1024}, {1100, 50, 700, 500}},
        {"never below 320 x 240", stored(100, 100, 10, 10), screen, free, {10, 10, 320, 240}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PlaceMainWindow(c.settings, c.screen, c.free), c.expected) << c.name;
}

TEST(StartSettings, DefaultsWhenNothingIsStored) {
    TMapStore store;
    const TStartSettings s = ReadStartSettings(store, 896, 672);
    EXPECT_TRUE(s.DisplaySpashForm1);
    EXPECT_TRUE(s.HintAllowed);
    EXPECT_TRUE(s.DisplayNumbers);
    EXPECT_FALSE(s.Silent);
    EXPECT_FALSE(s.ComputerDoNotPlayBadMove);
    EXPECT_EQ(s.Database, 2);
    EXPECT_EQ(s.TopRow, 0);
    EXPECT_EQ(s.Delay, 10);
    EXPECT_EQ(s.Width, 896);
    EXPECT_EQ(s.Height, 672);
    EXPECT_FALSE(s.Top);
    EXPECT_EQ(DefaultWidth(1024), 896);
    EXPECT_EQ(DefaultHeight(768), 672);
    EXPECT_EQ(DefaultWidth(640), 640);
}

TEST(StartSettings, FallbacksForMalformedValues) {
    const struct {
        const char* name;
        const char* value;
        std::function<bool(const TStartSettings&)> check;
    } cases[] = {
        {"DelayBeforeTakebackAutomatically", "31",
         [](const TStartSettings& s) { return s.Delay == 10; }},
        {"DelayBeforeTakebackAutomatically", "x",
         [](const TStartSettings& s) { return s.Delay == 10; }},
        {"DelayBeforeTakebackAutomatically", "-1",
         [](const TStartSettings& s) { return s.Delay == 10; }},
        {"DelayBeforeTakebackAutomatically", "0",
         [](const TStartSettings& s) { return s.Delay == 0; }},
        {"Database", "abc", [](const TStartSettings& s) { return s.Database == 2; }},
        {"Database", "-1", [](const TStartSettings& s) { return s.Database == -1; }},
        {"TopRow", "x", [](const TStartSettings& s) { return s.TopRow == 0; }},
        {"Width", "wide", [](const TStartSettings& s) { return s.Width == 896; }},
        {"Top", "high", [](const TStartSettings& s) { return !s.Top; }},
        {"Top", "12", [](const TStartSettings& s) { return s.Top == 12; }},
        {"DisplayNumbers", "0", [](const TStartSettings& s) { return !s.DisplayNumbers; }},
        {"DisplayNumbers", "yes", [](const TStartSettings& s) { return s.DisplayNumbers; }},
        {"Silent", "yes", [](const TStartSettings& s) { return !s.Silent; }},
        {"Silent", "1", [](const TStartSettings& s) { return s.Silent; }},
        {"HintAllowed", "0", [](const TStartSettings& s) { return !s.HintAllowed; }},
        {"DisplaySpashForm2", "0", [](const TStartSettings& s) { return !s.DisplaySpashForm2; }},
        {"ComputerDoNotPlayBadMove", "1",
         [](const TStartSettings& s) { return s.ComputerDoNotPlayBadMove; }},
        {"Database", "99999999999", [](const TStartSettings& s) { return s.Database == 2; }},
    };
    for (const auto& c : cases) {
        TMapStore store;
        store.values[c.name] = c.value;
        EXPECT_TRUE(c.check(ReadStartSettings(store, 896, 672))) << c.name << " = " << c.value;
    }
}

TEST(StartSettings, AnUnusableStoreGivesTheDefaults) {
    TMapStore store;
    store.values["Database"] = "3";
    store.usable = false;
    EXPECT_EQ(ReadStartSettings(store, 800, 600).Database, 2);
    WriteCloseSettings(store, TCloseSettings{});
    EXPECT_EQ(store.values.size(), 1u) << "nothing is written";
}

TEST(CloseSettings, WrittenWithTheirConditions) {
    TMapStore store;
    store.values["Width"] = "1000";
    store.values["InstallDir"] = "/old/";
    TCloseSettings values;
    values.Database = -1;
    values.Selected = -1;
    values.NormalWindow = false;
    values.Width = 1920;
    values.Delay = 4;
    values.InstallDir = "/new/";
    WriteCloseSettings(store, values);
    EXPECT_EQ(store.values["Database"], "-1");
    EXPECT_FALSE(store.values.count("Selected")) << "only a selection of 0 or more is stored";
    EXPECT_EQ(store.values["Width"], "1000") << "a maximised window keeps the stored size";
    EXPECT_EQ(store.values["InstallDir"], "/old/") << "written only when absent";
    EXPECT_EQ(store.values["DelayBeforeTakebackAutomatically"], "4");
    EXPECT_EQ(store.values["DefaultHint"], "1");
    values.NormalWindow = true;
    values.Selected = 0;
    WriteCloseSettings(store, values);
    EXPECT_EQ(store.values["Width"], "1920");
    EXPECT_EQ(store.values["Selected"], "0");
    // What is written reads back.
    EXPECT_EQ(ReadStartSettings(store, 1, 1).Delay, 4);
    EXPECT_EQ(ReadStartSettings(store, 1, 1).Database, -1);
}

TEST(SettingNumbers, Parsing) {
    EXPECT_EQ(SettingNumber("42"), 42);
    EXPECT_EQ(SettingNumber("-7"), -7);
    EXPECT_FALSE(SettingNumber(""));
    EXPECT_FALSE(SettingNumber("-"));
    EXPECT_FALSE(SettingNumber("4 2"));
    EXPECT_FALSE(SettingNumber("12345678901"));
}

} // namespace
} // namespace karvena
