#include "settings/TextScrambler.h"

#include "platform/Random.h"

#include <cstdint>

namespace pd {

namespace {

// 0-based position of a letter, or -2 for a letter outside the alphabet: the rule that
// older settings files were written against, so it is kept even though -1 would be usual.
int positionOf(char letter, QByteArrayView alphabet)
{
    const qsizetype at = alphabet.indexOf(letter);
    return at < 0 ? -2 : static_cast<int>(at);
}

} // namespace

QByteArray scramble(QByteArrayView plain, Random& rng, const std::function<qint64()>& clockMs,
                    QByteArrayView alphabet)
{
    const qsizetype letters = alphabet.size();
    QByteArray out;
    out.reserve(plain.size() * 2);
    for (const char byte : plain) {
        rng.seed(static_cast<std::uint32_t>(clockMs()));
        const int r = rng.next() % 6;
        if (letters == 0)
            continue;
        const int x = static_cast<unsigned char>(byte) ^ r;
        out.append(alphabet[x % letters]);
        const qsizetype second = 8 * (x / letters) + r;
        if (second < letters)
            out.append(alphabet[second]);
    }
    return out;
}

QByteArray descramble(QByteArrayView scrambled, QByteArrayView alphabet)
{
    const qsizetype letters = alphabet.size();
    QByteArray out;
    for (qsizetype i = 0; i < scrambled.size(); i += 2) {
        const int p1 = positionOf(scrambled[i], alphabet);
        const int p2 = i + 1 < scrambled.size() ? positionOf(scrambled[i + 1], alphabet) : 0;
        const int q = (p2 / 8) & 0xFF;
        const int r = p2 - 8 * q;
        const auto v = static_cast<std::uint8_t>(static_cast<qint64>(q) * letters + p1);
        const auto plainByte = static_cast<std::uint8_t>(v ^ static_cast<std::uint8_t>(r));
        if (plainByte == 0)
            break;
        out.append(static_cast<char>(plainByte));
    }
    return out;
}

} // namespace pd
