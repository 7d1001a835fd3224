// The hint lock's states: locking stores the password's digest, only the same password or
// "forgotten" unlocks, Cancel changes nothing, and a store that cannot be written locks for the
// run against the empty password.
#include <gtest/gtest.h>

#include "solving/HintLock.h"
#include "support/MapSettings.h"

namespace karvena::test {
namespace {

TEST(HintLock, TheDigestHidesThePasswordByteForByte) {
    EXPECT_EQ(HintPasswordDigest(""), "");
    EXPECT_EQ(HintPasswordDigest("abc").size(), 6u);
    EXPECT_NE(HintPasswordDigest("abc"), HintPasswordDigest("abd"));
    EXPECT_EQ(HintPasswordDigest("A"), "67") << "0x41 x 167 = 10855, mod 256 = 0x67";
}

TEST(HintLock, EachAnswerInEachState) {
    const struct {
        const char* what;
        bool allowedBefore;
        bool usable;
        const char* stored; // the digest's password in the store, or nullptr
        TPasswordAnswer answer;
        THintLockOutcome outcome;
        bool allowedAfter;
        const char* storedAfter; // the password whose digest is stored after, or nullptr
    } cases[] = {
        {"cancel locking", true, true, nullptr, {false, "x"}, THintLockOutcome::Unchanged, true,
         nullptr},
        {"lock", true, true, nullptr, {true, "secret"}, THintLockOutcome::Locked, false, "secret"},
        {"lock with no password", true, true, "old", {true, ""}, THintLockOutcome::Locked, false,
         ""},
        {"cancel unlocking", false, true, "secret", {false, "secret"},
         THintLockOutcome::Unchanged, false, "secret"},
        {"unlock", false, true, "secret", {true, "secret"}, THintLockOutcome::Unlocked, true,
         "secret"},
        {"wrong password", false, true, "secret", {true, "Secret"},
         THintLockOutcome::WrongPassword, false, "secret"},
        {"forgotten", false, true, "secret", {true, "guess", true}, THintLockOutcome::Unlocked,
         true, ""},
        {"unwritable store locks for the run", true, false, nullptr, {true, "secret"},
         THintLockOutcome::Locked, false, nullptr},
        {"and unlocks with the empty password", false, false, "secret", {true, ""},
         THintLockOutcome::Unlocked, true, "secret"},
        {"not with the real one", false, false, "secret", {true, "secret"},
         THintLockOutcome::WrongPassword, false, "secret"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TMapStore store;
        if (c.stored) store.values["HintPassword"] = HintPasswordDigest(c.stored);
        store.usable = c.usable;
        THintLock lock(store);
        lock.SetAllowed(c.allowedBefore);
        EXPECT_EQ(lock.Answer(c.answer), c.outcome);
        EXPECT_EQ(lock.Allowed(), c.allowedAfter);
        if (c.storedAfter)
            EXPECT_EQ(store.values["HintPassword"], HintPasswordDigest(c.storedAfter));
        else
            EXPECT_FALSE(store.values.count("HintPassword"));
        if (c.usable && c.outcome != THintLockOutcome::Unchanged &&
            c.outcome != THintLockOutcome::WrongPassword)
            EXPECT_EQ(store.values["HintAllowed"], c.allowedAfter ? "1" : "0");
    }
}

} // namespace
} // namespace karvena::test
