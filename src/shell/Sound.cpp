#include "shell/Sound.h"

#include <QApplication>
#include <QFile>
#include <QSoundEffect>
#include <QUrl>

// The sounds live in the static ui library: their resources must be pulled in by name.
static void InitSoundResources() {
    Q_INIT_RESOURCE(sounds);
}

namespace karvena {

namespace {
QString ResourceOf(int number) {
    return QStringLiteral(":/sounds/%1.wav").arg(number);
}
} // namespace

TSoundPlayer::TSoundPlayer(QObject* parent) : QObject(parent) {
    InitSoundResources();
    m_QueueTimer.setSingleShot(true);
    connect(&m_QueueTimer, &QTimer::timeout, this, [this] {
        m_Busy = false;
        PlayNextWaiting();
    });
}

TSoundPlayer::~TSoundPlayer() = default;

int TSoundPlayer::LengthMs(int number) {
    QFile file(ResourceOf(number));
    if (!file.open(QIODevice::ReadOnly)) return 0;
    // 44-byte header, 16-bit mono samples at the rate stored at offset 24.
    const QByteArray header = file.read(44);
    if (header.size() < 44) return 0;
    const auto rate = *reinterpret_cast<const quint32*>(header.constData() + 24);
    const auto bytes = *reinterpret_cast<const quint32*>(header.constData() + 40);
    return rate ? static_cast<int>(1000LL * bytes / 2 / rate) : 0;
}

QSoundEffect* TSoundPlayer::Effect(int number) {
    auto found = m_Effects.find(number);
    if (found != m_Effects.end()) return found->second;
    if (!QFile::exists(ResourceOf(number))) return m_Effects[number] = nullptr;
    auto* effect = new QSoundEffect(this);
    effect->setSource(QUrl(QStringLiteral("qrc") + ResourceOf(number)));
    return m_Effects[number] = effect;
}

void TSoundPlayer::PlayNow(int number) {
    QSoundEffect* effect = Effect(number);
    if (!effect || effect->status() == QSoundEffect::Error) {
        ++m_Beeps;
        QApplication::beep();
        return;
    }
    effect->play();
}

void TSoundPlayer::Play(int number, bool wait) {
    if (m_Silent) return;
    if (!wait) {
        PlayNow(number);
        return;
    }
    m_Waiting.enqueue(number);
    if (!m_Busy) PlayNextWaiting();
}

void TSoundPlayer::PlayNextWaiting() {
    if (m_Waiting.isEmpty()) return;
    const int number = m_Waiting.dequeue();
    PlayNow(number);
    // The next waiting sound starts when this one has had its time, never later.
    m_Busy = true;
    m_QueueTimer.start(std::max(1, LengthMs(number)));
}

} // namespace karvena
