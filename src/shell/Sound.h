#pragma once
// The trainer's sounds, by number ("#1999" is 1999): short WAV files built into the program.
// Sounds that wait are queued and play one after another; the others play at once. When a
// sound cannot be played (no audio device, no sound module) the system beep stands in; nothing
// ever hangs. The audio machinery is a module loaded on a worker thread once the window is up
// (Preload); a sound asked for before that waits for the load, so the first sound still plays.
#include <QLibrary>
#include <QObject>
#include <QQueue>
#include <QTimer>
#include <functional>
#include <future>

namespace karvena {

class ISoundEffects;

class TSoundPlayer : public QObject {
public:
    explicit TSoundPlayer(QObject* parent = nullptr);
    ~TSoundPlayer() override;

    // Loads the sound module on a worker thread; the next sound waits for it if need be.
    void Preload();
    // The sound module was loaded (by Preload or a sound) and gave its effects.
    bool Loaded() const { return m_Effects != nullptr; }
    // Plays a sound; `wait` sounds follow the one before them.
    void Play(int number, bool wait);
    // Nothing plays while silent.
    void SetSilent(bool silent) { m_Silent = silent; }
    bool Silent() const { return m_Silent; }
    // The length of a sound in milliseconds (0 for an unknown one).
    static int LengthMs(int number);
    // How many sounds could not be played and were replaced by a beep.
    int Beeps() const { return m_Beeps; }
    // Told of every sound as it starts (tests listen).
    std::function<void(int number)> OnPlay;

private:
    void PlayNow(int number);
    void PlayNextWaiting();
    // The effects of the module, loading it now if Preload did not (nullptr when it cannot be).
    ISoundEffects* Effects();

    QLibrary m_Module;
    std::future<bool> m_Loading;
    bool m_LoadTried = false;
    ISoundEffects* m_Effects = nullptr;
    QQueue<int> m_Waiting;
    QTimer m_QueueTimer;
    bool m_Silent = false;
    bool m_Busy = false;
    int m_Beeps = 0;
};

// Where the sound module lies: beside the program, where an install puts it, or in the build.
QString SoundModulePath();

} // namespace karvena
