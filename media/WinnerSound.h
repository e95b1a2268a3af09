// The winner sound, carried inside the program: a short celebration clip of our own making
// (tools/makesound), played once at every announcement.
#pragma once

#include <QByteArray>

namespace pd {

// The WAV bytes of the clip (PCM, 2 channels, 44 100 Hz, 16 bit).
QByteArray winnerSoundWav();

} // namespace pd
