// The fireworks movies: a compact binary script of shells that the renderer simulates.
// The byte layout is described where it is read, in MovieFormat.cpp.
#pragma once

#include <QByteArray>
#include <QList>

#include <cstdint>
#include <optional>

namespace pd {

enum class BurstType : std::uint8_t {
    Peony = 0,
    Willow = 1,
    Ring = 2,
    Palm = 3,
    Crossette = 4,
    Chrysanthemum = 5,
    Crackle = 6,
};

struct MovieColour
{
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    bool operator==(const MovieColour&) const = default;
};

struct FireworkShell
{
    int launchFrame = 0; // frame on which the rocket leaves the ground
    int riseFrames = 0;  // frames of climb before the burst; 0 bursts at once
    int x = 0;           // burst point in movie pixels
    int y = 0;
    BurstType type = BurstType::Peony;
    MovieColour first; // star colours; a chrysanthemum turns from first to second
    MovieColour second;
    int particles = 0;  // stars in the burst
    int speed = 0;      // star speed at the burst, movie pixels per second
    int lifeFrames = 0; // how long a star burns
    std::uint32_t seed = 0;
    bool operator==(const FireworkShell&) const = default;
};

struct Movie
{
    int width = 0;
    int height = 0;
    int frameRate = 0;
    int frameCount = 0;
    MovieColour background;
    int gravity = 0; // movie pixels per second squared, downwards
    QList<FireworkShell> shells;
    bool operator==(const Movie&) const = default;
};

// Limits that keep any accepted movie cheap to hold and to draw.
inline constexpr int kMaxMovieSide = 4096;
inline constexpr int kMaxFrameRate = 60;
inline constexpr int kMaxFrameCount = 1200;
inline constexpr int kMaxShells = 128;
inline constexpr int kMaxParticles = 600;
inline constexpr int kMaxSpeed = 3000;
inline constexpr int kMaxGravity = 2000;

// The movie the bytes describe, or nothing when they are not a valid movie. Never reads
// past the bytes and allocates no more than the bounded shell list.
std::optional<Movie> readMovie(QByteArrayView bytes);
// The bytes of a movie; values are clamped to the fields' ranges.
QByteArray writeMovie(const Movie& movie);

} // namespace pd
