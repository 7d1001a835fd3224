#include "shell/QtSettingsStore.h"

namespace karvena {

namespace {
const QString kOldRoot = "Software/Tellurix/GoGame/";
} // namespace

TQtSettingsStore::TQtSettingsStore(const QString& key)
    : m_Settings(std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope, "Tellurix",
                                             "Karvena")),
      m_Group(key + "/") {
    MigrateOldLayout(*m_Settings);
}

int TQtSettingsStore::MigrateOldLayout(QSettings& settings) {
    int moved = 0;
    for (const QString& path : settings.allKeys()) {
        if (!path.startsWith(kOldRoot)) continue;
        // "Software/Tellurix/GoGame/Karvena/Width" -> "Karvena/Width".
        const QString target = path.mid(kOldRoot.size());
        if (!target.contains('/')) continue;
        if (!settings.contains(target)) settings.setValue(target, settings.value(path));
        settings.remove(path);
        ++moved;
    }
    if (moved) settings.sync();
    return moved;
}

std::optional<std::string> TQtSettingsStore::Get(const std::string& name) const {
    const QString path = m_Group + QString::fromStdString(name);
    if (!m_Settings->contains(path)) return std::nullopt;
    return m_Settings->value(path).toString().toStdString();
}

void TQtSettingsStore::Set(const std::string& name, const std::string& value) {
    // A value that is there already is not written again: a start that changes nothing leaves
    // the settings file alone.
    const QString path = m_Group + QString::fromStdString(name);
    const QString text = QString::fromStdString(value);
    if (m_Settings->contains(path) && m_Settings->value(path).toString() == text) return;
    m_Settings->setValue(path, text);
}

bool TQtSettingsStore::Usable() const {
    // A store that cannot be read or written: the program keeps its defaults.
    return m_Settings->status() == QSettings::NoError && m_Settings->isWritable();
}

} // namespace karvena
