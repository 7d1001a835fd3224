#include "shell/Sound.h"

#include <QApplication>
#include <QDir>
#include <QFile>

#include "shell/SoundEffects.h"

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

// The module stays loaded to the end of the process: its effects are children of this player.
TSoundPlayer::~TSoundPlayer() {
    if (m_Loading.valid()) m_Loading.wait();
}

QString SoundModulePath() {
    const QString beside = QCoreApplication::applicationDirPath();
    for (const QString& folder :
         {beside, QDir(beside).absoluteFilePath(QStringLiteral(KARVENA_INSTALLED_MODULE_DIR)),
          QStringLiteral(KARVENA_BUILD_MODULE_DIR)}) {
        const QString path = QDir(folder).absoluteFilePath(kSoundModuleName);
        if (QFile::exists(path)) return path;
    }
    return {};
}

void TSoundPlayer::Preload() {
    if (m_LoadTried || m_Loading.valid()) return;
    m_Module.setFileName(SoundModulePath());
    if (m_Module.fileName().isEmpty()) return;
    m_Loading = std::async(std::launch::async, [this] { return m_Module.load(); });
}

ISoundEffects* TSoundPlayer::Effects() {
    if (m_LoadTried) return m_Effects;
    Preload();
    m_LoadTried = true;
    if (!m_Loading.valid() || !m_Loading.get()) return nullptr;
    // The effects are made here, on the window's thread, where they play.
    if (auto create = reinterpret_cast<TCreateSoundEffects>(m_Module.resolve(kCreateSoundEffects)))
        m_Effects = create(this);
    return m_Effects;
}

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

void TSoundPlayer::PlayNow(int number) {
    ISoundEffects* effects = Effects();
    if (OnPlay) OnPlay(number);
    if (!effects || !effects->Play(number)) {
        ++m_Beeps;
        QApplication::beep();
    }
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
