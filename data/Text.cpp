#include "data/Text.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <cmath>
#include <limits>

namespace pd {

namespace {
// The Windows Chinese code page reads 0x80 as the euro sign and leaves A2 E3 to a
// private-use character, where GB18030 puts the euro sign at A2 E3. Reading and writing
// both the Windows way keeps every byte of a file made there.
constexpr char16_t kEuro = u'\u20AC';
constexpr char16_t kA2E3 = u'\uE76C';
} // namespace

QString fromLocal8(QByteArrayView bytes)
{
    QString out;
    out.reserve(bytes.size());
    QStringDecoder decoder("GB18030");
    qsizetype start = 0;
    qsizetype i = 0;
    // Walk the byte sequences so that only a 0x80 standing where a character starts is
    // taken for the euro sign: inside a two-byte code it is an ordinary trail byte.
    while (i <= bytes.size()) {
        const bool atEnd = i == bytes.size();
        const unsigned char b = atEnd ? 0 : static_cast<unsigned char>(bytes[i]);
        const bool a2e3 = !atEnd && b == 0xA2 && i + 1 < bytes.size()
                          && static_cast<unsigned char>(bytes[i + 1]) == 0xE3;
        if (atEnd || b == 0x80 || a2e3) {
            if (i > start)
                out += decoder.decode(bytes.sliced(start, i - start));
            if (atEnd)
                break;
            out += QChar(a2e3 ? kA2E3 : kEuro);
            i += a2e3 ? 2 : 1;
            start = i;
        } else if (b >= 0x81 && b <= 0xFE && i + 1 < bytes.size()) {
            const unsigned char t = static_cast<unsigned char>(bytes[i + 1]);
            i += (t >= 0x30 && t <= 0x39) ? 4 : 2;
            i = qMin(i, bytes.size());
        } else {
            ++i;
        }
    }
    return out;
}

QByteArray toLocal8(QStringView text)
{
    QByteArray out;
    out.reserve(text.size() * 2);
    QStringEncoder encoder("GB18030");
    qsizetype start = 0;
    for (qsizetype i = 0; i <= text.size(); ++i) {
        if (i == text.size() || text[i] == QChar(kEuro) || text[i] == QChar(kA2E3)) {
            if (i > start)
                out += encoder.encode(text.sliced(start, i - start));
            if (i < text.size())
                out += text[i] == QChar(kEuro) ? QByteArray("\x80") : QByteArray("\xA2\xE3");
            start = i + 1;
        }
    }
    return out;
}

qsizetype local8Length(QStringView text)
{
    return toLocal8(text).size();
}

double numberOf(QStringView text)
{
    // Fold full-width forms (U+FF01..U+FF5E) and the ideographic space to ASCII.
    QByteArray ascii;
    ascii.reserve(text.size());
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u >= 0xFF01 && u <= 0xFF5E)
            ascii += char(u - 0xFF01 + 0x21);
        else if (u == 0x3000)
            ascii += ' ';
        else if (u < 0x80)
            ascii += char(u);
        else
            ascii += '\x01'; // any other character ends a number
    }
    const char* p = ascii.constData();
    const char* end = p + ascii.size();
    while (p < end && (*p == ' ' || *p == '\t' || *p == '\r' || *p == '\n'))
        ++p;
    const char* begin = p;
    if (p < end && (*p == '+' || *p == '-'))
        ++p;
    const char* digitsStart = p;
    while (p < end && *p >= '0' && *p <= '9')
        ++p;
    bool anyDigit = p > digitsStart;
    if (p < end && *p == '.') {
        const char* frac = ++p;
        while (p < end && *p >= '0' && *p <= '9')
            ++p;
        anyDigit = anyDigit || p > frac;
    }
    if (!anyDigit)
        return 0.0;
    if (p < end && (*p == 'e' || *p == 'E')) {
        const char* q = p + 1;
        if (q < end && (*q == '+' || *q == '-'))
            ++q;
        const char* expDigits = q;
        while (q < end && *q >= '0' && *q <= '9')
            ++q;
        if (q > expDigits)
            p = q;
    }
    const std::string number(begin, p);
    const double value = std::strtod(number.c_str(), nullptr);
    return std::isfinite(value) ? value : (value > 0 ? std::numeric_limits<double>::max()
                                                     : std::numeric_limits<double>::lowest());
}

int truncateToInt(double value)
{
    if (std::isnan(value))
        return 0;
    const double t = std::trunc(value);
    if (t >= double(std::numeric_limits<int>::max()))
        return std::numeric_limits<int>::max();
    if (t <= double(std::numeric_limits<int>::min()))
        return std::numeric_limits<int>::min();
    return static_cast<int>(t);
}

int wholeNumberOf(QStringView text)
{
    return truncateToInt(numberOf(text));
}

bool numbersEqual(double a, double b)
{
    return std::fabs(a - b) <= 0.0000001;
}

bool truthOf(QStringView text)
{
    return text == u"真";
}

QString truthText(bool value)
{
    return value ? QStringLiteral("真") : QStringLiteral("假");
}

} // namespace pd
