// Our own movie player widget: it opens a small page that names a fireworks movie lying
// beside it, its size and its background colour, and plays the movie in a loop, keeping
// pace with the clock rather than with the timer's ticks.
#pragma once

#include "media/MovieRenderer.h"

#include <QBasicTimer>
#include <QColor>
#include <QElapsedTimer>
#include <QImage>
#include <QWidget>

#include <memory>
#include <optional>

namespace pd {

// How the top-level window lets the key colour through to what lies beneath it.
enum class KeyMode {
    None,        // nothing is see-through
    Translucent, // a compositing manager blends the window: key colour is transparent
    ShapeMask,   // no compositor: the window is cut to the shapes of the stars
};

struct MoviePage
{
    QString movieName; // a bare file name in the page's folder
    QSize size;
    QColor background;
};

class MoviePlayer final : public QWidget
{
    Q_OBJECT
public:
    explicit MoviePlayer(QWidget* parent = nullptr);
    ~MoviePlayer() override;

    // The page's contents, or nothing when the bytes are not a movie page.
    static std::optional<MoviePage> readPage(QByteArrayView bytes);
    // Marks a top-level window as keyed with the colour; the player inside it follows.
    static void setWindowKeying(QWidget* window, KeyMode mode, QColor key);
    static KeyMode windowKeying(const QWidget* window);

    // Opens the page file and plays the movie it names. False when either file is missing
    // or not valid; then nothing changes.
    bool openPage(const QString& pagePath);
    // Plays a movie held in memory at the given size on the given background.
    bool playMovie(QByteArrayView movieBytes, QSize size, QColor background);

    bool isPlaying() const { return m_renderer != nullptr; }
    int currentFrame() const { return m_frame; }
    QString pagePath() const { return m_pagePath; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void timerEvent(QTimerEvent* event) override;

private:
    void start(std::unique_ptr<MovieRenderer> renderer, QSize size);
    void showFrame(int frame);

    std::unique_ptr<MovieRenderer> m_renderer;
    QString m_pagePath;
    QImage m_image;
    QBasicTimer m_timer;
    QElapsedTimer m_clock;
    int m_frame = -1;
    bool m_clockStartedShown = false;
};

} // namespace pd
