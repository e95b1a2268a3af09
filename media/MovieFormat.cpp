#include "media/MovieFormat.h"

#include <algorithm>

// Byte layout of a fireworks movie (all numbers little-endian, unsigned):
//
//   header, 18 bytes
//     0  4  magic "PDFW"
//     4  1  version, 1
//     5  2  width in pixels, 1 to 4096
//     7  2  height in pixels, 1 to 4096
//     9  1  frames per second, 1 to 60
//    10  2  frame count, 1 to 1200
//    12  3  background colour: red, green, blue
//    15  2  gravity, pixels per second squared, at most 2000
//    17  1  shell count, at most 128
//   then one record of 23 bytes per shell
//     0  2  launch frame, below the frame count
//     2  1  rise frames
//     3  2  burst x, at most the width
//     5  2  burst y, at most the height
//     7  1  burst type (BurstType), 0 to 6
//     8  3  first colour: red, green, blue
//    11  3  second colour: red, green, blue
//    14  2  particle count, 1 to 600
//    16  2  speed, pixels per second, at most 3000
//    18  1  life in frames, at least 1
//    19  4  seed of the shell's own sparks
//
// The length must match the shell count exactly; anything else is not a movie.

namespace pd {

namespace {

constexpr char kMagic[4] = {'P', 'D', 'F', 'W'};
constexpr int kVersion = 1;
constexpr qsizetype kHeaderSize = 18;
constexpr qsizetype kShellSize = 23;

class Reader
{
public:
    explicit Reader(QByteArrayView bytes, qsizetype at) : m_bytes(bytes), m_at(at) {}
    int u8() { return static_cast<unsigned char>(m_bytes[m_at++]); }
    int u16()
    {
        const int low = u8();
        return low | (u8() << 8);
    }
    std::uint32_t u32()
    {
        const std::uint32_t low = static_cast<std::uint32_t>(u16());
        return low | (static_cast<std::uint32_t>(u16()) << 16);
    }
    MovieColour colour()
    {
        MovieColour c;
        c.red = static_cast<std::uint8_t>(u8());
        c.green = static_cast<std::uint8_t>(u8());
        c.blue = static_cast<std::uint8_t>(u8());
        return c;
    }

private:
    QByteArrayView m_bytes;
    qsizetype m_at = 0;
};

void putU8(QByteArray& out, int value)
{
    out.append(static_cast<char>(std::clamp(value, 0, 0xFF)));
}

void putU16(QByteArray& out, int value)
{
    const int v = std::clamp(value, 0, 0xFFFF);
    out.append(static_cast<char>(v & 0xFF));
    out.append(static_cast<char>(v >> 8));
}

void putU32(QByteArray& out, std::uint32_t value)
{
    putU16(out, static_cast<int>(value & 0xFFFF));
    putU16(out, static_cast<int>(value >> 16));
}

void putColour(QByteArray& out, MovieColour c)
{
    putU8(out, c.red);
    putU8(out, c.green);
    putU8(out, c.blue);
}

bool inRange(int value, int low, int high)
{
    return value >= low && value <= high;
}

} // namespace

std::optional<Movie> readMovie(QByteArrayView bytes)
{
    if (bytes.size() < kHeaderSize || !std::equal(kMagic, kMagic + 4, bytes.data()))
        return std::nullopt;
    Reader in(bytes, 4);
    if (in.u8() != kVersion)
        return std::nullopt;
    Movie movie;
    movie.width = in.u16();
    movie.height = in.u16();
    movie.frameRate = in.u8();
    movie.frameCount = in.u16();
    movie.background = in.colour();
    movie.gravity = in.u16();
    const int shellCount = in.u8();
    if (!inRange(movie.width, 1, kMaxMovieSide) || !inRange(movie.height, 1, kMaxMovieSide) ||
        !inRange(movie.frameRate, 1, kMaxFrameRate) ||
        !inRange(movie.frameCount, 1, kMaxFrameCount) || movie.gravity > kMaxGravity ||
        shellCount > kMaxShells || bytes.size() != kHeaderSize + shellCount * kShellSize)
        return std::nullopt;

    movie.shells.reserve(shellCount);
    for (int i = 0; i < shellCount; ++i) {
        Reader record(bytes, kHeaderSize + i * kShellSize);
        FireworkShell shell;
        shell.launchFrame = record.u16();
        shell.riseFrames = record.u8();
        shell.x = record.u16();
        shell.y = record.u16();
        const int type = record.u8();
        shell.first = record.colour();
        shell.second = record.colour();
        shell.particles = record.u16();
        shell.speed = record.u16();
        shell.lifeFrames = record.u8();
        shell.seed = record.u32();
        if (shell.launchFrame >= movie.frameCount || shell.x > movie.width ||
            shell.y > movie.height || type > static_cast<int>(BurstType::Crackle) ||
            !inRange(shell.particles, 1, kMaxParticles) || shell.speed > kMaxSpeed ||
            shell.lifeFrames < 1)
            return std::nullopt;
        shell.type = static_cast<BurstType>(type);
        movie.shells.append(shell);
    }
    return movie;
}

QByteArray writeMovie(const Movie& movie)
{
    QByteArray out;
    const int shellCount = std::min<int>(static_cast<int>(movie.shells.size()), kMaxShells);
    out.reserve(kHeaderSize + shellCount * kShellSize);
    out.append(kMagic, 4);
    putU8(out, kVersion);
    putU16(out, movie.width);
    putU16(out, movie.height);
    putU8(out, movie.frameRate);
    putU16(out, movie.frameCount);
    putColour(out, movie.background);
    putU16(out, movie.gravity);
    putU8(out, shellCount);
    for (int i = 0; i < shellCount; ++i) {
        const FireworkShell& shell = movie.shells[i];
        putU16(out, shell.launchFrame);
        putU8(out, shell.riseFrames);
        putU16(out, shell.x);
        putU16(out, shell.y);
        putU8(out, static_cast<int>(shell.type));
        putColour(out, shell.first);
        putColour(out, shell.second);
        putU16(out, shell.particles);
        putU16(out, shell.speed);
        putU8(out, shell.lifeFrames);
        putU32(out, shell.seed);
    }
    return out;
}

} // namespace pd
