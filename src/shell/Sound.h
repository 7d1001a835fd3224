#pragma once
// The trainer's sounds, by number ("#1999" is 1999): short WAV files built into the program.
// Sounds that wait are queued and play one after another; the others play at once. When a
// sound cannot be played (no audio device, say) the system beep stands in; nothing ever hangs.
#include <QObject>
#include <QQueue>
#include <QTimer>
#include <map>
#include <memory>

class QSoundEffect;

namespace karvena {

class TSoundPlayer : public QObject {
public:
    explicit TSoundPlayer(QObject* parent = nullptr);
    ~TSoundPlayer() override;

    // Plays a sound; `wait` sounds follow the one before them.
    void Play(int number, bool wait);
    // Nothing plays while silent.
    void SetSilent(bool silent) { m_Silent = silent; }
    bool Silent() const { return m_Silent; }
    // The length of a sound in milliseconds (0 for an unknown one).
    static int LengthMs(int number);
    // How many sounds could not be played and were replaced by a beep.
    int Beeps() const { return m_Beeps; }

private:
    void PlayNow(int number);
    void PlayNextWaiting();
    QSoundEffect* Effect(int number);

    std::map<int, QSoundEffect*> m_Effects;
    QQueue<int> m_Waiting;
    QTimer m_QueueTimer;
    bool m_Silent = false;
    bool m_Busy = false;
    int m_Beeps = 0;
};

} // namespace karvena
