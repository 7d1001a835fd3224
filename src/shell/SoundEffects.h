#pragma once
// The sound machinery behind TSoundPlayer. It is a module of its own (libkarvena-sound), the one
// part of the trainer that links Qt Multimedia: the player loads it after the first paint, so the
// start never waits for the audio libraries.
#include <QObject>

namespace karvena {

class ISoundEffects {
public:
    virtual ~ISoundEffects() = default;
    // Starts the built-in sound of that number; false when it cannot be played (no such sound,
    // no audio device), so the caller beeps instead.
    virtual bool Play(int number) = 0;
};

// The module's one entry point, resolved by name; the effects are owned by `parent`.
using TCreateSoundEffects = ISoundEffects* (*)(QObject* parent);
inline constexpr const char* kCreateSoundEffects = "karvena_create_sound_effects";
inline constexpr const char* kSoundModuleName = "libkarvena-sound.so";

} // namespace karvena
