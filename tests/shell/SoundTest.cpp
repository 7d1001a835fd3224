// The sounds: all seven are there, and playing never hangs, with or without an audio device.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QTest>

#include "shell/Sound.h"

namespace karvena {
namespace {

TEST(Sounds, AllSevenAreBuiltInAndShort) {
    TSoundPlayer player;
    for (int number : {1999, 2091, 2010, 2030, 2095, 2020, 2094}) {
        const int length = TSoundPlayer::LengthMs(number);
        EXPECT_GT(length, 40) << number;
        EXPECT_LT(length, 1500) << number;
    }
    EXPECT_LT(TSoundPlayer::LengthMs(1999), TSoundPlayer::LengthMs(2095))
        << "a click is shorter than the fanfare";
    EXPECT_EQ(TSoundPlayer::LengthMs(1234), 0);
}

TEST(Sounds, PlayingNeverBlocksAndSilenceIsSilent) {
    TSoundPlayer player;
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < 5; ++i) {
        player.Play(2095, true);
        player.Play(1999, false);
    }
    EXPECT_LT(clock.elapsed(), 500) << "waiting sounds queue up instead of blocking";
    player.Play(1234, false);
    EXPECT_GE(player.Beeps(), 1) << "a missing sound beeps";
    const int beeps = player.Beeps();
    player.SetSilent(true);
    player.Play(1234, false);
    EXPECT_EQ(player.Beeps(), beeps);
    QTest::qWait(50);
}

} // namespace
} // namespace karvena
