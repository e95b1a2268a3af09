// Writes the seven fireworks movies that the program carries: makemovies <folder>.
// Each is about four seconds at 30 frames a second, drawn for 1920 x 1080 on black.

#include "media/MovieFormat.h"

#include <QDir>
#include <QFile>

#include <cstdio>

namespace {

using pd::BurstType;
using pd::Movie;
using pd::MovieColour;
using pd::FireworkShell;

constexpr MovieColour kRed{255, 60, 40};
constexpr MovieColour kGold{255, 190, 70};
constexpr MovieColour kBlue{70, 130, 255};
constexpr MovieColour kGreen{80, 255, 110};
constexpr MovieColour kPurple{200, 90, 255};
constexpr MovieColour kWhite{255, 245, 230};
constexpr MovieColour kSilver{210, 220, 255};
constexpr MovieColour kOrange{255, 130, 30};
constexpr MovieColour kCyan{60, 230, 255};
constexpr MovieColour kPink{255, 100, 190};

struct Shot
{
    int launch;
    int rise;
    int x;
    int y;
    BurstType type;
    MovieColour first;
    MovieColour second;
    int particles;
    int speed;
    int life;
};

Movie movieOf(int number, std::initializer_list<Shot> shots)
{
    Movie movie;
    movie.width = 1920;
    movie.height = 1080;
    movie.frameRate = 30;
    movie.frameCount = 120;
    movie.background = {0, 0, 0};
    movie.gravity = 160;
    int index = 0;
    for (const Shot& shot : shots) {
        FireworkShell shell;
        shell.launchFrame = shot.launch;
        shell.riseFrames = shot.rise;
        shell.x = shot.x;
        shell.y = shot.y;
        shell.type = shot.type;
        shell.first = shot.first;
        shell.second = shot.second;
        shell.particles = shot.particles;
        shell.speed = shot.speed;
        shell.lifeFrames = shot.life;
        shell.seed = static_cast<std::uint32_t>(number * 100003 + ++index * 7919);
        movie.shells.append(shell);
    }
    return movie;
}

QList<Movie> allMovies()
{
    const BurstType peony = BurstType::Peony;
    const BurstType willow = BurstType::Willow;
    const BurstType ring = BurstType::Ring;
    const BurstType palm = BurstType::Palm;
    const BurstType crossette = BurstType::Crossette;
    const BurstType chrysanthemum = BurstType::Chrysanthemum;
    const BurstType crackle = BurstType::Crackle;
    return {
        // 1: peony bursts in many colours across the sky.
        movieOf(1, {{0, 22, 520, 360, peony, kRed, kGold, 170, 420, 45},
                    {8, 24, 1380, 300, peony, kBlue, kSilver, 170, 420, 45},
                    {20, 20, 960, 420, peony, kGreen, kGold, 160, 400, 45},
                    {34, 24, 700, 260, peony, kPurple, kPink, 170, 430, 45},
                    {46, 22, 1250, 450, peony, kGold, kRed, 160, 400, 45},
                    {58, 20, 960, 290, peony, kCyan, kWhite, 180, 440, 42}}),
        // 2: golden willows drooping slowly.
        movieOf(2, {{0, 24, 960, 300, willow, kGold, kOrange, 200, 380, 70},
                    {16, 24, 560, 380, willow, kGold, kWhite, 170, 340, 66},
                    {30, 24, 1360, 360, willow, kGold, kOrange, 170, 340, 62}}),
        // 3: rings at different tilts, each with a small heart.
        movieOf(3, {{0, 20, 600, 340, ring, kCyan, kCyan, 90, 380, 45},
                    {0, 20, 600, 340, peony, kWhite, kSilver, 40, 120, 35},
                    {12, 22, 1320, 300, ring, kPink, kPink, 90, 380, 45},
                    {12, 22, 1320, 300, peony, kGold, kGold, 40, 120, 35},
                    {26, 20, 960, 420, ring, kGreen, kGreen, 100, 420, 45},
                    {40, 22, 420, 480, ring, kGold, kGold, 80, 340, 42},
                    {52, 20, 1500, 460, ring, kPurple, kPurple, 80, 340, 42},
                    {62, 20, 960, 260, ring, kRed, kRed, 110, 440, 42}}),
        // 4: palm trees: a visible trunk, then a few heavy fronds.
        movieOf(4, {{0, 30, 960, 320, palm, kGold, kOrange, 10, 520, 50},
                    {20, 30, 560, 380, palm, kGreen, kGold, 9, 480, 48},
                    {36, 30, 1360, 360, palm, kOrange, kRed, 10, 500, 48},
                    {56, 26, 960, 420, palm, kSilver, kWhite, 8, 440, 44}}),
        // 5: crackling crossettes: comets that split in four, and crackling peonies.
        movieOf(5, {{0, 22, 760, 340, crossette, kWhite, kRed, 18, 480, 50},
                    {10, 22, 1200, 300, crossette, kGold, kGreen, 18, 480, 50},
                    {24, 20, 960, 420, crackle, kGold, kGold, 130, 300, 50},
                    {36, 22, 480, 400, crossette, kSilver, kBlue, 16, 440, 48},
                    {46, 22, 1440, 380, crackle, kWhite, kWhite, 120, 300, 48},
                    {58, 20, 960, 280, crossette, kWhite, kPurple, 18, 460, 46}}),
        // 6: chrysanthemums whose long-tailed stars change colour.
        movieOf(6, {{0, 26, 720, 340, chrysanthemum, kSilver, kRed, 260, 460, 55},
                    {22, 26, 1240, 320, chrysanthemum, kGold, kGreen, 260, 460, 55},
                    {44, 24, 960, 440, chrysanthemum, kWhite, kBlue, 160, 340, 50}}),
        // 7: the finale: many shells of every kind in quick succession.
        movieOf(7, {{0, 18, 420, 360, peony, kRed, kGold, 110, 360, 40},
                    {4, 20, 1500, 340, peony, kBlue, kSilver, 110, 360, 40},
                    {8, 20, 960, 300, chrysanthemum, kGold, kRed, 150, 420, 44},
                    {14, 18, 700, 440, ring, kGreen, kGreen, 70, 320, 38},
                    {18, 18, 1220, 440, ring, kPink, kPink, 70, 320, 38},
                    {22, 22, 300, 260, willow, kGold, kOrange, 110, 300, 56},
                    {26, 22, 1620, 260, willow, kGold, kOrange, 110, 300, 56},
                    {30, 20, 960, 460, crossette, kWhite, kCyan, 16, 420, 44},
                    {34, 18, 560, 300, crackle, kGold, kWhite, 90, 280, 44},
                    {38, 18, 1360, 300, crackle, kGold, kWhite, 90, 280, 44},
                    {42, 22, 960, 240, palm, kOrange, kGold, 10, 460, 44},
                    {46, 18, 760, 380, peony, kPurple, kPink, 110, 360, 40},
                    {50, 18, 1160, 380, peony, kCyan, kWhite, 110, 360, 40},
                    {56, 20, 960, 320, peony, kRed, kWhite, 140, 420, 40},
                    {60, 20, 520, 420, ring, kGold, kGold, 70, 320, 36},
                    {64, 20, 1400, 420, ring, kBlue, kBlue, 70, 320, 36}}),
    };
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc != 2) {
        std::fputs("usage: makemovies <folder>\n", stderr);
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    if (!folder.exists() && !QDir().mkpath(folder.path())) {
        std::fputs("makemovies: cannot create the folder\n", stderr);
        return 1;
    }
    const QList<Movie> movies = allMovies();
    for (qsizetype i = 0; i < movies.size(); ++i) {
        QFile file(folder.filePath(QStringLiteral("fireworks%1.pdfw").arg(i + 1)));
        const QByteArray bytes = pd::writeMovie(movies[i]);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
            std::fprintf(stderr, "makemovies: cannot write %s\n", qPrintable(file.fileName()));
            return 1;
        }
    }
    return 0;
}
