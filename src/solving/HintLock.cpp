#include "solving/HintLock.h"

#include <cstdio>

namespace karvena {

std::string HintPasswordDigest(const std::string& text) {
    constexpr unsigned kFactor = 167; // odd, so every byte maps to a different one
    std::string digest;
    for (unsigned char byte : text) {
        char hex[3];
        std::snprintf(hex, sizeof hex, "%02X", (byte * kFactor) & 0xFF);
        digest += hex;
    }
    return digest;
}

THintLockOutcome THintLock::Answer(const TPasswordAnswer& answer) {
    if (!answer.Accepted) return THintLockOutcome::Unchanged;
    const bool writable = m_Settings.Usable();
    if (m_Allowed) {
        m_Allowed = false;
        if (writable) {
            m_Settings.Set("HintAllowed", "0");
            m_Settings.Set("HintPassword", HintPasswordDigest(answer.Text));
        }
        return THintLockOutcome::Locked;
    }
    if (answer.Forgotten) {
        if (writable) {
            m_Settings.Set("HintPassword", "");
            m_Settings.Set("HintAllowed", "1");
        }
        m_Allowed = true;
        return THintLockOutcome::Unlocked;
    }
    const std::string stored = writable ? m_Settings.Get("HintPassword").value_or("") : "";
    if (stored != HintPasswordDigest(answer.Text)) return THintLockOutcome::WrongPassword;
    m_Allowed = true;
    if (writable) m_Settings.Set("HintAllowed", "1");
    return THintLockOutcome::Unlocked;
}

} // namespace karvena
