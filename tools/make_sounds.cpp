// Writes the trainer's seven sounds as short 16-bit mono WAV files into a folder:
//   karvena-make-sounds OUTDIR
// A stone click, a notice tone, a success chime, a softer success, a solved fanfare, a failure
// tone and an error buzz, each made of a few enveloped tones.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace {

constexpr int kRate = 22050;

struct TTone {
    double start;     // seconds
    double length;    // seconds
    double frequency; // Hz
    double volume;    // 0..1
    double decay;     // how fast it fades (1/s)
};

std::vector<int16_t> Render(const std::vector<TTone>& tones, double total, double noise = 0) {
    std::vector<double> mix(static_cast<size_t>(total * kRate), 0.0);
    uint32_t seed = 12345;
    for (const TTone& t : tones) {
        const size_t from = static_cast<size_t>(t.start * kRate);
        const size_t count = static_cast<size_t>(t.length * kRate);
        for (size_t i = 0; i < count && from + i < mix.size(); ++i) {
            const double s = static_cast<double>(i) / kRate;
            const double attack = std::min(1.0, s / 0.004);
            const double release = std::min(1.0, (t.length - s) / 0.01);
            const double envelope = attack * release * std::exp(-t.decay * s);
            double v =
                std::sin(2 * M_PI * t.frequency * s) + 0.25 * std::sin(4 * M_PI * t.frequency * s);
            if (noise > 0) {
                seed = seed * 1664525u + 1013904223u;
                v = v * (1 - noise) + noise * ((seed >> 8) / 8388608.0 - 1.0);
            }
            mix[from + i] += t.volume * envelope * v;
        }
    }
    std::vector<int16_t> samples(mix.size());
    for (size_t i = 0; i < mix.size(); ++i)
        samples[i] = static_cast<int16_t>(std::max(-1.0, std::min(1.0, mix[i] * 0.6)) * 32000);
    return samples;
}

bool WriteWav(const std::string& path, const std::vector<int16_t>& samples) {
    std::ofstream out(path, std::ios::binary);
    auto u32 = [&](uint32_t v) { out.write(reinterpret_cast<const char*>(&v), 4); };
    auto u16 = [&](uint16_t v) { out.write(reinterpret_cast<const char*>(&v), 2); };
    const uint32_t bytes = static_cast<uint32_t>(samples.size() * 2);
    out.write("RIFF", 4);
    u32(36 + bytes);
    out.write("WAVEfmt ", 8);
    u32(16);
    u16(1);
    u16(1);
    u32(kRate);
    u32(kRate * 2);
    u16(2);
    u16(16);
    out.write("data", 4);
    u32(bytes);
    out.write(reinterpret_cast<const char*>(samples.data()), bytes);
    return static_cast<bool>(out);
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: karvena-make-sounds OUTDIR\n");
        return 2;
    }
    const std::string dir = argv[1];
    struct TSound {
        const char* name;
        std::vector<int16_t> samples;
    };
    const TSound sounds[] = {
        // A stone on wood: a short, damped knock with a little noise.
        {"1999", Render({{0, 0.09, 820, 0.9, 55}, {0, 0.05, 1900, 0.4, 90}}, 0.1, 0.35)},
        // A notice: two soft high tones.
        {"2091", Render({{0, 0.14, 1175, 0.5, 12}, {0.12, 0.18, 1568, 0.45, 10}}, 0.32)},
        // Success: a bright rising chime.
        {"2010",
         Render({{0, 0.3, 784, 0.5, 5}, {0.1, 0.3, 988, 0.5, 5}, {0.2, 0.45, 1319, 0.55, 4}},
                0.66)},
        // A softer success: two mellow notes.
        {"2030", Render({{0, 0.3, 659, 0.45, 6}, {0.14, 0.36, 784, 0.45, 6}}, 0.52)},
        // Solved: a short fanfare.
        {"2095", Render({{0, 0.18, 523, 0.5, 4},
                         {0.16, 0.18, 659, 0.5, 4},
                         {0.32, 0.18, 784, 0.5, 4},
                         {0.48, 0.55, 1047, 0.6, 3},
                         {0.48, 0.55, 784, 0.3, 3}},
                        1.05)},
        // Failure: a falling pair of low tones.
        {"2020", Render({{0, 0.22, 392, 0.55, 5}, {0.18, 0.36, 294, 0.55, 5}}, 0.56)},
        // Error: a dull buzz.
        {"2094", Render({{0, 0.3, 147, 0.7, 4}, {0, 0.3, 155, 0.5, 4}}, 0.32, 0.2)},
    };
    for (const TSound& sound : sounds) {
        if (!WriteWav(dir + "/" + sound.name + ".wav", sound.samples)) {
            std::fprintf(stderr, "cannot write %s\n", sound.name);
            return 1;
        }
    }
    return 0;
}
