// Shows a fireworks movie in a window that the caller owns: writes the movie and a small
// page naming it into the per-user work folder, puts our player in the window, opens the
// page in it and makes the window's key colour see-through.
#pragma once

#include "media/MoviePlayer.h"

#include <QByteArray>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <optional>

namespace pd {

class Desktop;

class MovieHost final
{
public:
    explicit MovieHost(Desktop& desktop);

    // Lets go of the player and the page; the player stays in its window and plays on
    // until that window goes, and the files stay in the work folder.
    void Release();
    // Puts a player at (x, y) in the parent, of the given size or the parent's, and opens
    // the address in it (an empty address opens nothing).
    MoviePlayer* CreateBrowser(QWidget* parent, const QString& address, int x, int y,
                               std::optional<QSize> size, bool blockContextMenu);
    // Makes every pixel of the colour in the window see-through: by translucency where a
    // compositing manager blends windows, otherwise by cutting the window to the movie's
    // shapes.
    static void SetKeyColour(QWidget* window, int colour);
    // A right click on the player opens no menu.
    void BlockContextMenu();
    // Writes movie and page, puts a player in the parent and plays the movie in it. When
    // the files cannot be written or read back, the player plays the movie from memory.
    MoviePlayer* PlayMovie(QWidget* parent, const QByteArray& movie, int keyColour);
    // The page for the parent's movie at the size, on the colour (blue-green-red number).
    QByteArray BuildPage(QWidget* parent, int width, int height, int colour);

    // "#RRGGBB" of a blue-green-red colour number.
    static QString colourText(int colour);
    // "kvtr-" and the window's id: the name of the window's movie and page files.
    static QString fileStem(QWidget* window);
    static bool hasCompositingManager();

    QString pageText() const { return m_pageText; }
    QString pagePath() const { return m_pagePath; }
    MoviePlayer* browserWindow() const { return m_browserWindow; }

private:
    Desktop& m_desktop;
    QPointer<MoviePlayer> m_browserWindow;
    QString m_pageText;
    QString m_pagePath;
    int m_backColour = 0;
    int m_width = 0;
    int m_height = 0;
    QPointer<QWidget> m_parentWindow;
};

} // namespace pd
