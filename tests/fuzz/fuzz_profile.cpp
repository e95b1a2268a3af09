// The settings file reader and writer on any bytes. The input is three length bytes, then
// a section name, a key name and a value of those lengths, then the file's content. A key
// stored in any file must read back as stored (blanks around it dropped, line breaks made
// blanks, cut at the length a read returns).
#include "data/ProfileFile.h"
#include "tests/fuzz/FuzzSupport.h"

using namespace pd;
using pd::fuzz::expect;

namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\v' || c == '\f';
}

QByteArray storedForm(QByteArrayView value)
{
    QByteArray text = value.toByteArray();
    text.replace('\r', ' ').replace('\n', ' ');
    qsizetype from = 0;
    qsizetype to = text.size();
    while (from < to && isBlank(text[from]))
        ++from;
    while (to > from && isBlank(text[to - 1]))
        --to;
    return text.sliced(from, to - from);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    QByteArrayView input = fuzz::bytesOf(data, size);
    if (input.size() < 3)
        return 0;
    const qsizetype sectionLength = static_cast<unsigned char>(input[0]) % 16;
    const qsizetype keyLength = static_cast<unsigned char>(input[1]) % 16;
    const qsizetype valueLength = static_cast<unsigned char>(input[2]) % 64;
    input = input.sliced(3);
    if (input.size() < sectionLength + keyLength + valueLength)
        return 0;
    const QByteArrayView section = input.first(sectionLength);
    const QByteArrayView key = input.sliced(sectionLength, keyLength);
    const QByteArrayView value = input.sliced(sectionLength + keyLength, valueLength);
    const QByteArrayView content = input.sliced(sectionLength + keyLength + valueLength);

    if (const auto before = profileValue(content, section, key))
        expect(before->size() <= kProfileValueCap, "a read returns at most the cap");

    const QByteArray written = withProfileValue(content, section, key, value);
    if (written == content)
        return 0; // the names were refused, or the file held this very line already
    const auto after = profileValue(written, section, key);
    expect(after.has_value(), "a stored key is found again");
    const QByteArray expected = storedForm(value);
    expect(expected.startsWith(*after), "a stored value reads back as stored");
    expect(after->size() == expected.size() || after->size() > kProfileValueCap - 2,
           "only the cap shortens a stored value");
    return 0;
}
