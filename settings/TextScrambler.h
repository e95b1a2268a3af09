// Reversible scrambling of short texts (the settings password and the designated winners)
// into plain letters and digits, so that they cannot be read at a glance in the settings file.
#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <functional>

namespace pd {

class Random;

// Every caller uses this alphabet; the scrambled values in existing settings files depend on it.
inline constexpr QByteArrayView kDefaultAlphabet{
    "Qm4Zt8Kb1Xw6Rf0Jp3Ns9Lc7Vh2Gy5DkErAjWdOuHnTaMxBiSzFgYoCvPeIqUl"};

// Two letters for every byte of plain (8-bit) text. Before each byte the program's one
// generator is re-seeded from the millisecond clock and r = next() mod 6 is drawn, so a
// scramble also moves the sequence that winner selection draws from afterwards.
QByteArray scramble(QByteArrayView plain, Random& rng, const std::function<qint64()>& clockMs,
                    QByteArrayView alphabet = kDefaultAlphabet);

// The plain bytes of a scrambled text, up to the first zero byte. Never fails: letters
// outside the alphabet, an odd length or a stray zero give fixed results.
QByteArray descramble(QByteArrayView scrambled, QByteArrayView alphabet = kDefaultAlphabet);

} // namespace pd
