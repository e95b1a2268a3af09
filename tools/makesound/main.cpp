// makesound: synthesises the winner sound, a short celebration clip: a bright rising
// arpeggio of bell tones, a sparkle of high glints panned across the stereo field and a
// soft decay. Writes a PCM WAV (2 channels, 44 100 Hz, 16 bit).
#include <QCoreApplication>
#include <QFile>
#include <QTextStream>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <vector>

namespace {

constexpr int kRate = 44100;
// 285 184 data bytes: the clip the program always carried is this long (about 1.62 s).
constexpr int kFrames = 285184 / 4;
constexpr double kPi = 3.14159265358979323846;

struct Stereo
{
    std::vector<double> left = std::vector<double>(kFrames, 0.0);
    std::vector<double> right = std::vector<double>(kFrames, 0.0);
};

// A bell-like tone: a few inharmonic partials, quick attack, exponential decay.
void addBell(Stereo& mix, double start, double frequency, double gain, double decay, double pan)
{
    static constexpr std::array<std::pair<double, double>, 4> partials{
        {{1.0, 1.0}, {2.0, 0.45}, {3.01, 0.22}, {4.17, 0.12}}};
    const int first = int(start * kRate);
    for (int i = first; i < kFrames; ++i) {
        const double t = double(i - first) / kRate;
        const double attack = std::min(1.0, t / 0.004);
        double sample = 0.0;
        for (const auto& [ratio, level] : partials)
            sample +=
                level * std::sin(2 * kPi * frequency * ratio * t) * std::exp(-t * decay * ratio);
        sample *= gain * attack;
        mix.left[size_t(i)] += sample * std::cos(pan * kPi / 2);
        mix.right[size_t(i)] += sample * std::sin(pan * kPi / 2);
    }
}

double noteFrequency(int semitonesFromA4)
{
    return 440.0 * std::pow(2.0, semitonesFromA4 / 12.0);
}

std::vector<char> wavFile(const Stereo& mix)
{
    std::vector<char> out;
    auto put32 = [&out](std::uint32_t v) {
        for (int s = 0; s < 32; s += 8)
            out.push_back(char((v >> s) & 0xFF));
    };
    auto put16 = [&out](std::uint16_t v) {
        out.push_back(char(v & 0xFF));
        out.push_back(char(v >> 8));
    };
    auto putTag = [&out](const char* tag) { out.insert(out.end(), tag, tag + 4); };
    const std::uint32_t dataBytes = kFrames * 4;
    putTag("RIFF");
    put32(36 + dataBytes);
    putTag("WAVE");
    putTag("fmt ");
    put32(16);
    put16(1); // PCM
    put16(2);
    put32(kRate);
    put32(kRate * 4);
    put16(4);
    put16(16);
    putTag("data");
    put32(dataBytes);

    double peak = 0.0;
    for (int i = 0; i < kFrames; ++i)
        peak = std::max({peak, std::abs(mix.left[size_t(i)]), std::abs(mix.right[size_t(i)])});
    const double scale = peak > 0 ? 0.8 / peak : 0.0;
    for (int i = 0; i < kFrames; ++i) {
        // A short fade at both ends so that the clip starts and stops without a click.
        const double t = double(i) / kRate;
        const double tail = double(kFrames - 1 - i) / kRate;
        const double edge = std::min({1.0, t / 0.003, tail / 0.12});
        for (const double v : {mix.left[size_t(i)], mix.right[size_t(i)]})
            put16(std::uint16_t(std::int16_t(std::lround(v * scale * edge * 32767.0))));
    }
    return out;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    const QString path = args.size() > 1 ? args[1] : QStringLiteral("winner.wav");

    Stereo mix;
    // C major arpeggio rising over two octaves (C6 E6 G6 C7 E7), then a held C major chord.
    const std::array<int, 5> arpeggio{3, 7, 10, 15, 19};
    for (size_t k = 0; k < arpeggio.size(); ++k)
        addBell(mix, 0.07 * double(k), noteFrequency(arpeggio[k]), 1.0, 4.5,
                0.2 + 0.15 * double(k));
    for (const int note : {3, 7, 10, 15})
        addBell(mix, 0.38, noteFrequency(note), 0.55, 2.2, note % 2 == 0 ? 0.35 : 0.65);

    // Sparkle: short high glints at pseudo-random times, pitches and places.
    std::uint32_t state = 20240101u;
    auto next = [&state]() {
        state = state * 1664525u + 1013904223u;
        return double(state >> 8) / double(1u << 24);
    };
    for (int glint = 0; glint < 28; ++glint) {
        const double start = 0.3 + next() * 0.9;
        addBell(mix, start, 2600.0 + next() * 3400.0, 0.18 * (1.0 - (start - 0.3) / 1.1), 22.0,
                next());
    }

    const std::vector<char> bytes = wavFile(mix);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(bytes.data(), qint64(bytes.size())) != qint64(bytes.size())) {
        QTextStream(stderr) << "makesound: could not write " << path << "\n";
        return 1;
    }
    QTextStream(stdout) << "wrote " << path << " (" << bytes.size() << " bytes)\n";
    return 0;
}
