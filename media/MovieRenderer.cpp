#include "media/MovieRenderer.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace pd {

namespace {

// The renderer's own generator: the stars of a shell come from the shell's seed only, so
// they never touch the program's generator and a movie looks the same on every run.
class SparkRandom
{
public:
    explicit SparkRandom(std::uint32_t seed) : m_state(seed) {}
    std::uint32_t next()
    {
        m_state += 0x9E3779B9u;
        std::uint32_t z = m_state;
        z = (z ^ (z >> 16)) * 0x85EBCA6Bu;
        z = (z ^ (z >> 13)) * 0xC2B2AE35u;
        return z ^ (z >> 16);
    }
    float unit() { return static_cast<float>(next() >> 8) * (1.0f / 16777216.0f); }
    float between(float low, float high) { return low + (high - low) * unit(); }

private:
    std::uint32_t m_state;
};

std::uint32_t mix(std::uint32_t a, std::uint32_t b)
{
    SparkRandom r(a * 0x27D4EB2Fu ^ b);
    return r.next();
}

struct Look
{
    float drag;         // per second
    float gravityShare; // of the movie's gravity
    int trail;          // trail points behind a star
    float trailStep;    // frames between trail points
    float radius;       // glow radius in movie pixels
    float fadePower;    // higher keeps a star bright longer before it dies
};

const Look& lookOf(BurstType type)
{
    static const Look looks[] = {
        {1.5f, 1.0f, 2, 1.0f, 5.6f, 2.6f},  // peony
        {2.4f, 0.55f, 8, 1.6f, 4.6f, 1.2f}, // willow
        {1.3f, 1.0f, 2, 1.0f, 5.6f, 2.6f},  // ring
        {0.8f, 1.0f, 9, 1.0f, 7.2f, 1.8f},  // palm
        {1.0f, 1.0f, 4, 1.0f, 5.8f, 2.4f},  // crossette
        {1.7f, 1.0f, 6, 1.3f, 5.0f, 2.0f},  // chrysanthemum
        {1.9f, 1.0f, 1, 1.0f, 5.0f, 2.4f},  // crackle
    };
    return looks[static_cast<int>(type)];
}

constexpr float kCrossetteSplit = 0.45f;
constexpr float kCracklePhase = 0.6f;
constexpr float kPi = std::numbers::pi_v<float>;

// Closed-form flight with air drag k and downward gravity g from speed (vx, vy) for t
// seconds.
void flight(float vx, float vy, float k, float g, float t, float& dx, float& dy)
{
    const float carried = (1.0f - std::exp(-k * t)) / k;
    dx = vx * carried;
    dy = vy * carried + g / k * (t - carried);
}

void velocityAfter(float vx, float vy, float k, float g, float t, float& outX, float& outY)
{
    const float e = std::exp(-k * t);
    outX = vx * e;
    outY = vy * e + g / k * (1.0f - e);
}

QRgb rgbOf(MovieColour c)
{
    return qRgb(c.red, c.green, c.blue);
}

QRgb blend(QRgb a, QRgb b, float share)
{
    const float keep = 1.0f - share;
    return qRgb(static_cast<int>(qRed(a) * keep + qRed(b) * share),
                static_cast<int>(qGreen(a) * keep + qGreen(b) * share),
                static_cast<int>(qBlue(a) * keep + qBlue(b) * share));
}

constexpr QRgb kWhite = 0xFFFFFFFF;
constexpr QRgb kRocket = 0xFFFFDCA0;
constexpr int kMaxKernelQuarters = 4 * 40;

} // namespace

MovieRenderer::MovieRenderer(Movie movie) : m_movie(std::move(movie))
{
    std::size_t total = 0;
    for (const FireworkShell& shell : m_movie.shells)
        total += static_cast<std::size_t>(shell.particles);
    m_stars.reserve(total);
    for (const FireworkShell& shell : m_movie.shells) {
        m_firstStar.push_back(static_cast<int>(m_stars.size()));
        SparkRandom random(shell.seed);
        const float speed = static_cast<float>(shell.speed);
        // A ring lies in a tilted plane; the same tilt for the whole shell.
        const float tilt = random.between(0.3f, 1.0f);
        const float turn = random.between(0.0f, 2.0f * kPi);
        float longest = 0;
        for (int i = 0; i < shell.particles; ++i) {
            Star star;
            star.hash = random.next();
            float dirX = 0;
            float dirY = 0;
            float jitter = 1.0f;
            switch (shell.type) {
            case BurstType::Ring: {
                const float a = 2.0f * kPi * static_cast<float>(i) / shell.particles +
                                random.between(-0.02f, 0.02f);
                const float px = std::cos(a);
                const float py = std::sin(a) * tilt;
                dirX = px * std::cos(turn) - py * std::sin(turn);
                dirY = px * std::sin(turn) + py * std::cos(turn);
                break;
            }
            case BurstType::Palm:
            case BurstType::Crossette: {
                const float a = 2.0f * kPi * static_cast<float>(i) / shell.particles +
                                random.between(-0.15f, 0.15f);
                dirX = std::cos(a);
                dirY = std::sin(a) - (shell.type == BurstType::Palm ? 0.35f : 0.0f);
                jitter = random.between(0.9f, 1.05f);
                break;
            }
            default: {
                // Directions on a sphere seen from the side fill the disc, denser at the rim.
                const float z = random.between(-1.0f, 1.0f);
                const float phi = random.between(0.0f, 2.0f * kPi);
                const float r = std::sqrt(std::max(0.0f, 1.0f - z * z));
                dirX = r * std::cos(phi);
                dirY = r * std::sin(phi);
                jitter = shell.type == BurstType::Chrysanthemum ? random.between(0.97f, 1.03f)
                                                                : random.between(0.88f, 1.08f);
                break;
            }
            }
            star.vx = dirX * speed * jitter;
            star.vy = dirY * speed * jitter;
            star.life = static_cast<float>(shell.lifeFrames) * random.between(0.8f, 1.2f);
            star.crossAngle = random.between(0.0f, 2.0f * kPi);
            star.second =
                shell.type == BurstType::Willow ? (star.hash % 6 == 0) : ((star.hash & 1) != 0);
            longest = std::max(longest, star.life);
            m_stars.push_back(star);
        }
        const Look& look = lookOf(shell.type);
        m_lastAge.push_back(longest + static_cast<float>(look.trail) * look.trailStep + 1.0f);
    }
}

MovieRenderer::Placement MovieRenderer::placementFor(QSize size) const
{
    Placement at;
    const float sx = static_cast<float>(size.width()) / static_cast<float>(m_movie.width);
    const float sy = static_cast<float>(size.height()) / static_cast<float>(m_movie.height);
    at.scale = std::min(sx, sy);
    at.left = (static_cast<float>(size.width()) - m_movie.width * at.scale) / 2.0f;
    at.top = (static_cast<float>(size.height()) - m_movie.height * at.scale) / 2.0f;
    return at;
}

void MovieRenderer::collectSparks(int frame, const Placement& at, bool withGlow,
                                  std::vector<Spark>& out) const
{
    out.clear();
    for (std::size_t s = 0; s < m_firstStar.size(); ++s) {
        const FireworkShell& shell = m_movie.shells[static_cast<qsizetype>(s)];
        if (frame < shell.launchFrame)
            continue;
        const int burst = shell.launchFrame + shell.riseFrames;
        if (frame < burst) {
            addRocket(shell, frame, at, out);
            continue;
        }
        const float age = static_cast<float>(frame - burst);
        if (age > m_lastAge[s])
            continue;
        if (withGlow && age < 5.0f) {
            // A small, soft glow where the shell breaks: it covers a tiny share of the
            // screen, so it never becomes a flash.
            const float left = 1.0f - age / 5.0f;
            out.push_back({at.left + shell.x * at.scale, at.top + shell.y * at.scale,
                           26.0f * at.scale * left, 0.35f * left,
                           blend(rgbOf(shell.first), kWhite, 0.5f)});
        }
        const int first = m_firstStar[s];
        for (int i = 0; i < shell.particles; ++i)
            addStar(shell, m_stars[static_cast<std::size_t>(first + i)], age, frame, at, out);
    }
}

void MovieRenderer::addRocket(const FireworkShell& shell, int frame, const Placement& at,
                              std::vector<Spark>& out) const
{
    const float startX =
        static_cast<float>(shell.x) + static_cast<float>(static_cast<int>(shell.seed % 81u) - 40);
    const float startY = static_cast<float>(m_movie.height) + 10.0f;
    const float rise = static_cast<float>(shell.riseFrames);
    for (int j = 0; j <= 6; ++j) {
        const float u = (static_cast<float>(frame - shell.launchFrame) - 0.7f * j) / rise;
        if (u < 0.0f)
            break;
        const float eased = 1.0f - (1.0f - u) * (1.0f - u);
        const float x = startX + (shell.x - startX) * eased;
        const float y = startY + (shell.y - startY) * eased;
        const float fade = 1.0f - static_cast<float>(j) / 7.0f;
        out.push_back({at.left + x * at.scale, at.top + y * at.scale,
                       (j == 0 ? 3.4f : 2.6f * fade) * at.scale, (j == 0 ? 0.9f : 0.55f * fade),
                       kRocket});
    }
}

void MovieRenderer::addStar(const FireworkShell& shell, const Star& star, float age, int frame,
                            const Placement& at, std::vector<Spark>& out) const
{
    const Look& look = lookOf(shell.type);
    const float fps = static_cast<float>(m_movie.frameRate);
    const float gravity = static_cast<float>(m_movie.gravity) * look.gravityShare;
    const QRgb first = rgbOf(shell.first);
    const QRgb second = rgbOf(shell.second);

    const bool crossette = shell.type == BurstType::Crossette;
    for (int j = 0; j <= look.trail; ++j) {
        const float a = age - look.trailStep * static_cast<float>(j);
        if (a < 0.0f)
            break;
        const float share = a / star.life;
        if (share >= 1.0f)
            continue;
        // A crossette comet splits into four stars flying off crosswise.
        const bool split = crossette && share >= kCrossetteSplit;
        for (int child = 0; child < (split ? 4 : 1); ++child) {
            float x = static_cast<float>(shell.x);
            float y = static_cast<float>(shell.y);
            float radius = look.radius;
            QRgb colour = star.second ? second : first;
            float intensity = 1.0f - std::pow(share, look.fadePower);
            if (split) {
                const float splitTime = kCrossetteSplit * star.life / fps;
                float dx = 0;
                float dy = 0;
                flight(star.vx, star.vy, look.drag, gravity, splitTime, dx, dy);
                float vx = 0;
                float vy = 0;
                velocityAfter(star.vx, star.vy, look.drag, gravity, splitTime, vx, vy);
                const float angle = star.crossAngle + static_cast<float>(child) * kPi / 2.0f;
                const float kick = static_cast<float>(shell.speed) * 0.3f;
                float cx = 0;
                float cy = 0;
                flight(vx * 0.5f + std::cos(angle) * kick, vy * 0.5f + std::sin(angle) * kick,
                       look.drag, gravity, a / fps - splitTime, cx, cy);
                x += dx + cx;
                y += dy + cy;
                colour = second;
                radius = look.radius * 0.75f;
            } else {
                float dx = 0;
                float dy = 0;
                flight(star.vx, star.vy, look.drag, gravity, a / fps, dx, dy);
                x += dx;
                y += dy;
                if (shell.type == BurstType::Chrysanthemum)
                    colour = blend(first, second, std::min(1.0f, share * 1.4f));
            }

            if (shell.type == BurstType::Crackle && share >= kCracklePhase) {
                // Crackling: each star pops on a few scattered frames, a tiny point at a time.
                if (j > 0)
                    continue;
                const std::uint32_t pop = mix(star.hash, static_cast<std::uint32_t>(frame));
                if (pop % 3 != 0)
                    continue;
                x += static_cast<float>(static_cast<int>(pop >> 8 & 7u) - 3);
                y += static_cast<float>(static_cast<int>(pop >> 12 & 7u) - 3);
                colour = blend(second, kWhite, 0.5f);
                radius = look.radius * 0.75f;
                intensity = 0.9f;
            }

            if (j == 0) {
                const float fresh = 1.0f - a / (0.15f * star.life);
                if (fresh > 0.0f)
                    colour = blend(colour, kWhite, 0.7f * fresh);
            } else {
                const float behind = static_cast<float>(j) / static_cast<float>(look.trail + 1);
                intensity *= 0.8f * (1.0f - behind);
                radius *= 1.0f - 0.45f * behind;
            }
            if (intensity <= 0.02f)
                continue;
            out.push_back({at.left + x * at.scale, at.top + y * at.scale, radius * at.scale,
                           intensity, colour});
        }
    }
}

void MovieRenderer::fillBackground(QImage& target, bool transparent) const
{
    const MovieColour& b = m_movie.background;
    target.fill(transparent ? QColor(Qt::transparent) : QColor(b.red, b.green, b.blue));
}

const std::vector<std::uint16_t>& MovieRenderer::kernel(int quarterPixels) const
{
    if (m_kernels.empty())
        m_kernels.resize(kMaxKernelQuarters + 1);
    std::vector<std::uint16_t>& k = m_kernels[static_cast<std::size_t>(quarterPixels)];
    if (k.empty()) {
        const float r = static_cast<float>(quarterPixels) / 4.0f;
        const int reach = static_cast<int>(std::ceil(r));
        const int side = 2 * reach + 1;
        k.resize(static_cast<std::size_t>(side * side));
        for (int dy = -reach; dy <= reach; ++dy) {
            for (int dx = -reach; dx <= reach; ++dx) {
                const float d = std::sqrt(static_cast<float>(dx * dx + dy * dy));
                const float v = std::pow(std::max(0.0f, 1.0f - d / (r + 0.5f)), 2.2f);
                k[static_cast<std::size_t>((dy + reach) * side + dx + reach)] =
                    static_cast<std::uint16_t>(v * 256.0f);
            }
        }
    }
    return k;
}

void MovieRenderer::drawSoft(QImage& target, const Spark& spark) const
{
    float radius = spark.radius;
    float intensity = spark.intensity;
    if (radius < 1.0f) {
        intensity *= std::max(0.3f, radius);
        radius = 1.0f;
    }
    const int quarters = std::min(kMaxKernelQuarters, static_cast<int>(radius * 4.0f + 0.5f));
    const std::vector<std::uint16_t>& k = kernel(quarters);
    const int reach = static_cast<int>(std::ceil(static_cast<float>(quarters) / 4.0f));
    const int side = 2 * reach + 1;
    const int cx = static_cast<int>(std::lround(spark.x));
    const int cy = static_cast<int>(std::lround(spark.y));
    const int x0 = std::max(0, cx - reach);
    const int x1 = std::min(target.width() - 1, cx + reach);
    const int y0 = std::max(0, cy - reach);
    const int y1 = std::min(target.height() - 1, cy + reach);
    if (x0 > x1 || y0 > y1)
        return;
    const int strength = static_cast<int>(std::clamp(intensity, 0.0f, 1.0f) * 256.0f);
    const int red = qRed(spark.colour);
    const int green = qGreen(spark.colour);
    const int blue = qBlue(spark.colour);
    for (int y = y0; y <= y1; ++y) {
        auto* line = reinterpret_cast<QRgb*>(target.scanLine(y));
        const std::uint16_t* row = k.data() + (y - cy + reach) * side;
        for (int x = x0; x <= x1; ++x) {
            const int w = (row[x - cx + reach] * strength) >> 8;
            if (w == 0)
                continue;
            const QRgb p = line[x];
            // Additive light on premultiplied pixels: alpha grows at least as fast as any
            // colour channel, so the pixel stays valid premultiplied.
            line[x] = qRgba(std::min(255, qRed(p) + ((red * w) >> 8)),
                            std::min(255, qGreen(p) + ((green * w) >> 8)),
                            std::min(255, qBlue(p) + ((blue * w) >> 8)),
                            std::min(255, qAlpha(p) + ((255 * w) >> 8)));
        }
    }
}

void MovieRenderer::shapeRects(const Spark& spark, std::vector<QRect>& out)
{
    // The hard core of a star, shrunk as it fades.
    const float r = std::max(0.5f, spark.radius * 0.6f) * spark.intensity;
    if (spark.intensity < 0.12f || r < 0.3f)
        return;
    const int cx = static_cast<int>(std::lround(spark.x));
    const int cy = static_cast<int>(std::lround(spark.y));
    if (r < 1.25f) {
        const int side = std::max(1, static_cast<int>(std::lround(2.0f * r)));
        out.emplace_back(cx - side / 2, cy - side / 2, side, side);
        return;
    }
    const int across = static_cast<int>(std::lround(2.0f * r));
    const int narrow = std::max(1, static_cast<int>(std::lround(1.2f * r)));
    out.emplace_back(cx - across / 2, cy - narrow / 2, across, narrow);
    out.emplace_back(cx - narrow / 2, cy - across / 2, narrow, across);
}

void MovieRenderer::renderInto(QImage& target, int frame, FadeStyle style, bool transparent) const
{
    if (style == FadeStyle::Shrink) {
        renderWithShape(target, frame, transparent);
        return;
    }
    fillBackground(target, transparent);
    std::vector<Spark> sparks;
    collectSparks(frame, placementFor(target.size()), true, sparks);
    for (const Spark& spark : sparks)
        drawSoft(target, spark);
}

QRegion MovieRenderer::renderWithShape(QImage& target, int frame, bool transparent) const
{
    fillBackground(target, transparent);
    std::vector<Spark> sparks;
    collectSparks(frame, placementFor(target.size()), false, sparks);
    std::vector<QRect> rects;
    rects.reserve(sparks.size() * 2);
    const QRect bounds = target.rect();
    for (const Spark& spark : sparks) {
        const std::size_t from = rects.size();
        shapeRects(spark, rects);
        for (std::size_t i = from; i < rects.size(); ++i) {
            const QRect r = rects[i] & bounds;
            for (int y = r.top(); y <= r.bottom(); ++y)
                std::fill_n(reinterpret_cast<QRgb*>(target.scanLine(y)) + r.left(), r.width(),
                            spark.colour | 0xFF000000u);
        }
    }
    return regionOfRects(rects, target.size());
}

QImage MovieRenderer::renderFrame(int frame, QSize size, FadeStyle style) const
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    renderInto(image, frame, style, false);
    return image;
}

QRegion MovieRenderer::frameShape(int frame, QSize size) const
{
    std::vector<Spark> sparks;
    collectSparks(frame, placementFor(size), false, sparks);
    std::vector<QRect> rects;
    rects.reserve(sparks.size() * 2);
    for (const Spark& spark : sparks)
        shapeRects(spark, rects);
    return regionOfRects(rects, size);
}

QRegion regionOfRects(const std::vector<QRect>& rects, QSize bounds)
{
    const int height = bounds.height();
    const QRect area(QPoint(0, 0), bounds);
    if (height <= 0 || bounds.width() <= 0)
        return {};

    // Spans per row, bucketed by row in one counting pass.
    std::vector<int> rowStart(static_cast<std::size_t>(height) + 1, 0);
    std::vector<QRect> clipped;
    clipped.reserve(rects.size());
    for (const QRect& r : rects) {
        const QRect c = r & area;
        if (c.isEmpty())
            continue;
        clipped.push_back(c);
        for (int y = c.top(); y <= c.bottom(); ++y)
            ++rowStart[static_cast<std::size_t>(y) + 1];
    }
    for (int y = 0; y < height; ++y)
        rowStart[static_cast<std::size_t>(y) + 1] += rowStart[static_cast<std::size_t>(y)];
    std::vector<std::pair<int, int>> spans(static_cast<std::size_t>(rowStart.back()));
    std::vector<int> fill(rowStart.begin(), rowStart.end() - 1);
    for (const QRect& c : clipped)
        for (int y = c.top(); y <= c.bottom(); ++y)
            spans[static_cast<std::size_t>(fill[static_cast<std::size_t>(y)]++)] = {c.left(),
                                                                                    c.right() + 1};

    // Merge each row's spans, then join equal neighbouring rows into one band.
    QList<QRect> out;
    std::vector<std::pair<int, int>> band;
    std::vector<std::pair<int, int>> row;
    int bandTop = 0;
    auto flush = [&](int bandEnd) {
        for (const auto& [left, right] : band)
            out.append(QRect(left, bandTop, right - left, bandEnd - bandTop));
    };
    for (int y = 0; y < height; ++y) {
        auto begin = spans.begin() + rowStart[static_cast<std::size_t>(y)];
        auto end = spans.begin() + rowStart[static_cast<std::size_t>(y) + 1];
        std::sort(begin, end);
        row.clear();
        for (auto it = begin; it != end; ++it) {
            if (!row.empty() && it->first <= row.back().second)
                row.back().second = std::max(row.back().second, it->second);
            else
                row.push_back(*it);
        }
        if (row != band) {
            flush(y);
            band.swap(row);
            bandTop = y;
        }
    }
    flush(height);

    QRegion region;
    if (!out.isEmpty())
        region.setRects(out.constData(), static_cast<int>(out.size()));
    return region;
}

} // namespace pd
