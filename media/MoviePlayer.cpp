#include "media/MoviePlayer.h"

#include "data/FileIo.h"

#include <QDir>
#include <QFileInfo>
#include <QPaintEvent>
#include <QPainter>
#include <QRegularExpression>
#include <QTimerEvent>

namespace pd {

namespace {

const char* const kKeyModeProperty = "pdKeyMode";
const char* const kKeyColourProperty = "pdKeyColour";
constexpr QByteArrayView kPageFirstLine = "prizedraw-movie-page 1";
// A page or a movie is a few kilobytes; anything far larger is not ours.
constexpr qint64 kMaxFileBytes = 256 * 1024;
constexpr int kMaxSide = 16384;

// Where no star is, the window must show what lies beneath. An empty mask would mean "no
// mask" and uncover the whole window, so an empty frame gets a single pixel outside it.
QRegion maskOrNothing(const QRegion& region)
{
    return region.isEmpty() ? QRegion(-1, -1, 1, 1) : region;
}

} // namespace

MoviePlayer::MoviePlayer(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

MoviePlayer::~MoviePlayer() = default;

std::optional<MoviePage> MoviePlayer::readPage(QByteArrayView bytes)
{
    const QString text = QString::fromUtf8(bytes);
    const QStringList lines = text.split(QRegularExpression(QStringLiteral("\r?\n")));
    if (lines.isEmpty() || lines.first().trimmed() != QLatin1StringView(kPageFirstLine))
        return std::nullopt;
    MoviePage page;
    int width = 0;
    int height = 0;
    for (const QString& line : lines.mid(1)) {
        const qsizetype equals = line.indexOf(u'=');
        if (equals < 0)
            continue;
        const QString key = line.left(equals).trimmed();
        const QString value = line.mid(equals + 1).trimmed();
        if (key == u"movie")
            page.movieName = value;
        else if (key == u"width")
            width = value.toInt();
        else if (key == u"height")
            height = value.toInt();
        else if (key == u"background")
            page.background = QColor::fromString(value);
    }
    // The movie must lie beside the page: a bare name, no way out of the folder.
    const bool bareName = !page.movieName.isEmpty() && !page.movieName.contains(u'/') &&
                          !page.movieName.contains(u'\\') && page.movieName != u"." &&
                          page.movieName != u"..";
    if (!bareName || width < 1 || width > kMaxSide || height < 1 || height > kMaxSide ||
        !page.background.isValid())
        return std::nullopt;
    page.size = QSize(width, height);
    return page;
}

void MoviePlayer::setWindowKeying(QWidget* window, KeyMode mode, QColor key)
{
    window->setProperty(kKeyModeProperty, static_cast<int>(mode));
    window->setProperty(kKeyColourProperty, key);
    if (mode == KeyMode::Translucent)
        window->setAttribute(Qt::WA_TranslucentBackground);
}

KeyMode MoviePlayer::windowKeying(const QWidget* window)
{
    const QVariant mode = window->property(kKeyModeProperty);
    return mode.isValid() ? static_cast<KeyMode>(mode.toInt()) : KeyMode::None;
}

bool MoviePlayer::openPage(const QString& pagePath)
{
    const std::optional<MoviePage> page = readPage(readWholeFile(pagePath, kMaxFileBytes));
    if (!page)
        return false;
    const QString moviePath = QFileInfo(pagePath).dir().filePath(page->movieName);
    if (!playMovie(readWholeFile(moviePath, kMaxFileBytes), page->size, page->background))
        return false;
    m_pagePath = pagePath;
    return true;
}

bool MoviePlayer::playMovie(QByteArrayView movieBytes, QSize size, QColor background)
{
    std::optional<Movie> movie = readMovie(movieBytes);
    if (!movie || !background.isValid() || size.isEmpty())
        return false;
    movie->background = {static_cast<std::uint8_t>(background.red()),
                         static_cast<std::uint8_t>(background.green()),
                         static_cast<std::uint8_t>(background.blue())};
    start(std::make_unique<MovieRenderer>(std::move(*movie)), size);
    return true;
}

void MoviePlayer::start(std::unique_ptr<MovieRenderer> renderer, QSize size)
{
    m_renderer = std::move(renderer);
    m_pagePath.clear();
    resize(size);
    m_image = QImage(size, QImage::Format_ARGB32_Premultiplied);
    m_frame = -1;
    m_clock.start();
    m_clockStartedShown = isVisible();
    showFrame(0);
    if (isVisible())
        m_timer.start(1000 / m_renderer->movie().frameRate, Qt::PreciseTimer, this);
}

void MoviePlayer::showFrame(int frame)
{
    if (!m_renderer || frame == m_frame)
        return;
    m_frame = frame;
    QWidget* top = window();
    switch (windowKeying(top)) {
    case KeyMode::ShapeMask: {
        const QRegion shape = m_renderer->renderWithShape(m_image, frame, false);
        top->setMask(maskOrNothing(shape.translated(mapTo(top, QPoint(0, 0)))));
        break;
    }
    case KeyMode::Translucent:
        m_renderer->renderInto(m_image, frame, FadeStyle::Darken, true);
        break;
    case KeyMode::None:
        m_renderer->renderInto(m_image, frame, FadeStyle::Darken, false);
        break;
    }
    update();
}

void MoviePlayer::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    if (m_image.isNull())
        painter.fillRect(event->rect(), Qt::black);
    else
        painter.drawImage(event->rect(), m_image, event->rect());
}

void MoviePlayer::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!m_renderer)
        return;
    // The show starts when the audience can see it, not when the page was opened.
    if (!m_clockStartedShown) {
        m_clock.start();
        m_clockStartedShown = true;
    }
    m_timer.start(1000 / m_renderer->movie().frameRate, Qt::PreciseTimer, this);
}

void MoviePlayer::hideEvent(QHideEvent* event)
{
    m_timer.stop();
    QWidget::hideEvent(event);
}

void MoviePlayer::timerEvent(QTimerEvent* event)
{
    if (event->timerId() != m_timer.timerId() || !m_renderer) {
        QWidget::timerEvent(event);
        return;
    }
    const Movie& movie = m_renderer->movie();
    const qint64 elapsedFrames = m_clock.elapsed() * movie.frameRate / 1000;
    showFrame(static_cast<int>(elapsedFrames % movie.frameCount));
}

} // namespace pd
