// The seven fireworks movies carried inside the program, numbered 1 to 7.
#pragma once

#include <QByteArray>

namespace pd {

inline constexpr int kFireworksMovieCount = 7;

// The bytes of movie number (1 to 7); empty for any other number.
QByteArray fireworksMovie(int number);

} // namespace pd
