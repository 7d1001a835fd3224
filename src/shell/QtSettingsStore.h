#pragma once
// The settings store on QSettings: an INI file in the per-user configuration folder, the values
// as strings in one group per key ([Karvena] for the trainer, [Common] for the study window).
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

    // Moves every value of the old layout (one group of backslash paths,
    // "Software/Tellurix/GoGame/<key>/<name>") into the key's own group and removes the old
    // ones; a value already in the new place wins. Nothing is written when there is nothing to
    // move. Returns how many values moved.
    static int MigrateOldLayout(QSettings& settings);

private:
    std::unique_ptr<QSettings> m_Settings;
    QString m_Group;
};

} // namespace karvena
