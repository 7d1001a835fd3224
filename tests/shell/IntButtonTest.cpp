// The multi-language buttons switch caption and hint by language.
#include <gtest/gtest.h>

#include "text/intButton.h"
#include "text/intSpeedButton.h"

namespace karvena {
namespace {

template <typename TButton> void CheckSwitching(TButton& button) {
    button.setText("Design");
    button.setToolTip("Design hint");
    button.Captions().Caption1 = "一";
    button.Captions().Hint1 = "提示";
    button.Captions().Caption2 = "Two";
    button.SetLanguage(0);
    EXPECT_TRUE(button.Captions().Caption0.isEmpty()) << "the same language changes nothing";
    button.SetLanguage(1);
    EXPECT_EQ(button.text(), "一");
    EXPECT_EQ(button.toolTip(), "提示");
    EXPECT_EQ(button.Captions().Caption0, "Design") << "the design caption is remembered";
    button.SetLanguage(7);
    EXPECT_EQ(button.text(), "Two");
    EXPECT_EQ(button.toolTip(), "");
    button.SetLanguage(0);
    EXPECT_EQ(button.text(), "Design");
    EXPECT_EQ(button.toolTip(), "Design hint");
    EXPECT_EQ(button.Language(), 0);
}

TEST(IntButtons, PushButtonSwitchesByLanguage) {
    TintButton button;
    CheckSwitching(button);
}

TEST(IntButtons, SpeedButtonSwitchesByLanguage) {
    TintSpeedButton button;
    CheckSwitching(button);
}

} // namespace
} // namespace karvena
