// The descrambler on any text, with the alphabet of every caller and with any alphabet.
// Whatever it returns holds no zero byte, is at most half as long (rounded up) and, scrambled
// again, descrambles to itself.
#include "platform/Random.h"
#include "settings/TextScrambler.h"
#include "tests/fuzz/FuzzSupport.h"

using namespace pd;
using pd::fuzz::expect;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArrayView input = fuzz::bytesOf(data, size);
    const QByteArray plain = descramble(input);
    expect(!plain.contains('\0'), "no zero byte in a descrambled text");
    expect(plain.size() <= (input.size() + 1) / 2, "one byte per pair of letters at most");

    Random random;
    qint64 clock = static_cast<qint64>(size);
    const QByteArray again = scramble(plain, random, [&clock] { return clock++; });
    expect(again.size() == 2 * plain.size(), "two letters per byte");
    for (const char letter : again)
        expect(kDefaultAlphabet.contains(letter), "only letters of the alphabet");
    expect(descramble(again) == plain, "a scrambled text descrambles to itself");

    // Any alphabet, taken from the input's first bytes: only the absence of faults counts.
    if (!input.isEmpty()) {
        const qsizetype letters = static_cast<unsigned char>(input[0]) % 80;
        const QByteArrayView rest = input.sliced(1);
        const QByteArrayView alphabet = rest.first(qMin(letters, rest.size()));
        const QByteArray odd = descramble(rest.sliced(alphabet.size()), alphabet);
        expect(!odd.contains('\0'), "no zero byte with any alphabet");
        const QByteArray scrambled = scramble(
            odd, random, [&clock] { return clock++; }, alphabet);
        expect(scrambled.size() <= 2 * odd.size(), "at most two letters per byte");
    }
    return 0;
}
