#pragma once
// A settings store in memory; `usable` false plays a store that can be neither read nor written.
#include <map>
#include <optional>
#include <string>

#include "solving/SettingsStore.h"

namespace karvena::test {

class TMapStore : public ISettingsStore {
public:
    std::map<std::string, std::string> values;
    bool usable = true;
    std::optional<std::string> Get(const std::string& name) const override {
        const auto found = values.find(name);
        return found == values.end() ? std::nullopt : std::optional<std::string>(found->second);
    }
    void Set(const std::string& name, const std::string& value) override { values[name] = value; }
    bool Usable() const override { return usable; }
};

} // namespace karvena::test
