// Draws any frame of a fireworks movie at any size. Every frame is computed from the
// movie's bytes alone (closed-form star paths, the renderer's own seeded generator), so
// frame N always looks the same, whichever frames were drawn before it.
#pragma once

#include "media/MovieFormat.h"

#include <QImage>
#include <QList>
#include <QRect>
#include <QRegion>
#include <QSize>

#include <cstdint>
#include <vector>

namespace pd {

// How a star dies away. Darken dims it (for pictures and translucent windows); Shrink keeps
// its colour and makes it smaller, so a window cut to the stars' shapes has no dark fringes.
enum class FadeStyle { Darken, Shrink };

class MovieRenderer final
{
public:
    explicit MovieRenderer(Movie movie);

    const Movie& movie() const { return m_movie; }

    // Draws the frame into target (Format_ARGB32_Premultiplied), the movie scaled to fit and
    // centred. A transparent background leaves every pixel without a star at alpha 0;
    // otherwise the background is the movie's background colour.
    void renderInto(QImage& target, int frame, FadeStyle style, bool transparent) const;
    // Draws the frame with shrinking stars and returns the region the stars cover, which is
    // exactly the set of pixels drawn.
    QRegion renderWithShape(QImage& target, int frame, bool transparent) const;
    // The frame as an opaque picture.
    QImage renderFrame(int frame, QSize size, FadeStyle style = FadeStyle::Darken) const;
    // The region the frame's stars cover when drawn with shrinking stars.
    QRegion frameShape(int frame, QSize size) const;

private:
    struct Star
    {
        float vx = 0;
        float vy = 0;
        float life = 0; // frames
        float crossAngle = 0;
        std::uint32_t hash = 0;
        bool second = false;
    };
    struct Spark
    {
        float x = 0;
        float y = 0;
        float radius = 0;
        float intensity = 0;
        QRgb colour = 0;
    };
    struct Placement
    {
        float scale = 1;
        float left = 0;
        float top = 0;
    };

    Placement placementFor(QSize size) const;
    void collectSparks(int frame, const Placement& at, bool withGlow,
                       std::vector<Spark>& out) const;
    void addRocket(const FireworkShell& shell, int frame, const Placement& at,
                   std::vector<Spark>& out) const;
    void addStar(const FireworkShell& shell, const Star& star, float age, int frame, const Placement& at,
                 std::vector<Spark>& out) const;
    void fillBackground(QImage& target, bool transparent) const;
    void drawSoft(QImage& target, const Spark& spark) const;
    static void shapeRects(const Spark& spark, std::vector<QRect>& out);
    const std::vector<std::uint16_t>& kernel(int quarterPixels) const;

    Movie m_movie;
    std::vector<Star> m_stars;
    std::vector<int> m_firstStar; // index of each shell's first star in m_stars
    std::vector<float> m_lastAge; // frames after the burst when a shell is gone
    mutable std::vector<std::vector<std::uint16_t>> m_kernels;
};

// A region equal to the union of the rectangles, built band by band in one pass rather
// than by repeated unions, and clipped to bounds.
QRegion regionOfRects(const std::vector<QRect>& rects, QSize bounds);

} // namespace pd
