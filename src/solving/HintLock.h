#pragma once
// The hint lock: a teacher locks hints with a password, and only the same password (or "I forgot
// it", which clears it) unlocks them. The settings keep the state ("HintAllowed") and the
// password's digest ("HintPassword"); a store that cannot be written locks for this run only and
// compares against the empty digest.
#include <string>

#include "solving/SettingsStore.h"

namespace karvena {

// Each byte times an odd constant modulo 256, two upper-case hex digits per byte. It keeps the
// password out of plain sight in the settings.
std::string HintPasswordDigest(const std::string& text);

// What the password dialog answered.
struct TPasswordAnswer {
    bool Accepted = false; // OK rather than Cancel
    std::string Text;
    bool Forgotten = false; // "forgot the password" ticked (unlocking only)
};

enum class THintLockOutcome { Unchanged, Locked, Unlocked, WrongPassword };

class THintLock {
public:
    explicit THintLock(ISettingsStore& settings) : m_Settings(settings) {}
    bool Allowed() const { return m_Allowed; }
    // The state read at start-up.
    void SetAllowed(bool allowed) { m_Allowed = allowed; }
    // The dialog asks to lock while hints are allowed, else to unlock; this is its answer.
    THintLockOutcome Answer(const TPasswordAnswer& answer);

private:
    ISettingsStore& m_Settings;
    bool m_Allowed = true;
};

} // namespace karvena
