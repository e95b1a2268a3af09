// The shared text rules: files hold 8-bit text in GB18030 (a superset of GBK), numbers are
// read from typed texts, truth values are "真"/"假", colours are blue-green-red numbers.
#pragma once

#include <QByteArray>
#include <QString>

namespace pd {

// GB18030 bytes to text. Byte 0x80 reads as "€", as the Windows Chinese code page reads it.
QString fromLocal8(QByteArrayView bytes);
// Text to GB18030 bytes; "€" is written back as 0x80.
QByteArray toLocal8(QStringView text);
// Length of a text in bytes of the 8-bit code page (a Chinese character counts 2).
qsizetype local8Length(QStringView text);

// The number of a typed text: full-width digits and signs are folded to ASCII, leading
// blanks skipped, then the longest leading decimal number (sign, digits, point, exponent)
// is read. A text without a leading number gives 0.
double numberOf(QStringView text);
// The number of a text cut toward zero (clamped to the int range).
int wholeNumberOf(QStringView text);
// A double cut toward zero, clamped to the int range.
int truncateToInt(double value);
// Two numbers are equal when they differ by at most 0.0000001.
bool numbersEqual(double a, double b);

// "真" is true; every other text is false.
bool truthOf(QStringView text);
QString truthText(bool value);

// Colour numbers: blue * 65536 + green * 256 + red.
constexpr int colourNumber(int red, int green, int blue)
{
    return (blue & 0xFF) * 65536 + (green & 0xFF) * 256 + (red & 0xFF);
}
constexpr int redOf(int colour) { return colour & 0xFF; }
constexpr int greenOf(int colour) { return (colour >> 8) & 0xFF; }
constexpr int blueOf(int colour) { return (colour >> 16) & 0xFF; }

} // namespace pd
