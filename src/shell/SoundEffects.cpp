// The sound module: one QSoundEffect per built-in sound, made when it is first asked for. The
// sounds are resources of the program that loads the module.
#include "shell/SoundEffects.h"

#include <QFile>
#include <QSoundEffect>
#include <QUrl>
#include <map>

namespace karvena {
namespace {

class TSoundEffects : public QObject, public ISoundEffects {
public:
    explicit TSoundEffects(QObject* parent) : QObject(parent) {}
    bool Play(int number) override {
        QSoundEffect* effect = Effect(number);
        if (!effect || effect->status() == QSoundEffect::Error) return false;
        effect->play();
        return true;
    }

private:
    QSoundEffect* Effect(int number) {
        auto found = m_Effects.find(number);
        if (found != m_Effects.end()) return found->second;
        const QString resource = QStringLiteral(":/sounds/%1.wav").arg(number);
        if (!QFile::exists(resource)) return m_Effects[number] = nullptr;
        auto* effect = new QSoundEffect(this);
        effect->setSource(QUrl(QStringLiteral("qrc") + resource));
        return m_Effects[number] = effect;
    }
    std::map<int, QSoundEffect*> m_Effects;
};

} // namespace
} // namespace karvena

extern "C" Q_DECL_EXPORT karvena::ISoundEffects* karvena_create_sound_effects(QObject* parent) {
    return new karvena::TSoundEffects(parent);
}
