#pragma once
// Where string settings are kept: QSettings in the program, a map in tests. The study window
// keeps its geometry here, the main window everything else (shell/Settings.h).
#include <optional>
#include <string>

namespace karvena {

class ISettingsStore {
public:
    virtual ~ISettingsStore() = default;
    virtual std::optional<std::string> Get(const std::string& name) const = 0;
    virtual void Set(const std::string& name, const std::string& value) = 0;
    // False when nothing can be read or written (the program then keeps its defaults).
    virtual bool Usable() const = 0;
};

// A number as the settings store it; nullopt when the text is not one.
std::optional<int> SettingNumber(const std::string& text);

} // namespace karvena
