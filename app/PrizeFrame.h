// The prize picture with its name label and the four one-pixel bars around it.
#pragma once

#include <QString>

namespace pd {

class MainScreen;

// Loads the whole file into the prize picture, decoded at the size it is shown; a missing or
// unreadable file empties it. Returns whether it now holds a picture.
bool loadPrizePicture(MainScreen& screen, const QString& path);

// Shows the prize picture, its four bars and the prize name label when the picture holds
// one, else hides all six.
void showPrizeFrameIfPicture(MainScreen& screen);

// The bars on the picture's own first column and row (left and top), and on the first
// column and row beyond it (right and bottom).
void placeFrameBarsOnPicture(MainScreen& screen);

} // namespace pd
