#pragma once
// The settings store on QSettings: an INI file in the per-user configuration folder, the values
// under the group Software/Tellurix/GoGame/<key> as strings.
#include <QSettings>
#include <memory>

#include "shell/Settings.h"

namespace karvena {

class TQtSettingsStore : public ISettingsStore {
public:
    // key: "Karvena" for the trainer, "Common" for the study window.
    explicit TQtSettingsStore(const QString& key = "Karvena");
    std::optional<std::string> Get(const std::string& name) const override;
    void Set(const std::string& name, const std::string& value) override;
    bool Usable() const override;
    void Sync() { m_Settings->sync(); }

private:
    std::unique_ptr<QSettings> m_Settings;
    QString m_Group;
};

} // namespace karvena
