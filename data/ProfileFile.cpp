#include "data/ProfileFile.h"

#include "data/FileIo.h"

#include <QFile>
#include <QFileInfo>

#include <vector>

namespace pd {

namespace {

constexpr QByteArrayView kUtf8Bom("\xEF\xBB\xBF");

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\v' || c == '\f';
}

// A byte that starts a two-byte (or four-byte) code of the Chinese code page. Its trail
// byte may fall in the ASCII letter range, so it must never be compared as a letter.
bool isLeadByte(char c)
{
    const auto b = static_cast<unsigned char>(c);
    return b >= 0x81 && b <= 0xFE;
}

char asciiLower(char c)
{
    return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
}

QByteArrayView trimmed(QByteArrayView text)
{
    qsizetype from = 0;
    qsizetype to = text.size();
    while (from < to && isBlank(text[from]))
        ++from;
    while (to > from && isBlank(text[to - 1]))
        --to;
    return text.sliced(from, to - from);
}

// A name as the caller gives it: leading bytes 1..32 skipped, as the platform's reader does,
// and trailing blanks dropped, since the names in the file are read without them.
QByteArrayView preparedName(QByteArrayView name)
{
    qsizetype from = 0;
    while (from < name.size() && name[from] >= 1 && name[from] <= 32)
        ++from;
    return trimmed(name.sliced(from));
}

QString preparedPath(const QString& path)
{
    qsizetype from = 0;
    while (from < path.size() && path[from].unicode() >= 1 && path[from].unicode() <= 32)
        ++from;
    return path.sliced(from);
}

bool namesEqual(QByteArrayView a, QByteArrayView b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        if (isLeadByte(a[i]) && i + 1 < a.size()) {
            if (a[i] != b[i] || a[i + 1] != b[i + 1])
                return false;
            ++i;
        } else if (asciiLower(a[i]) != asciiLower(b[i])) {
            return false;
        }
    }
    return true;
}

bool hasLineBreak(QByteArrayView text)
{
    return text.contains('\r') || text.contains('\n');
}

QByteArrayView cappedValue(QByteArrayView value)
{
    if (value.size() <= kProfileValueCap)
        return value;
    qsizetype end = 0;
    while (end < kProfileValueCap) {
        const qsizetype step = isLeadByte(value[end]) ? 2 : 1;
        if (end + step > kProfileValueCap)
            break;
        end += step;
    }
    return value.first(end);
}

enum class LineKind { Other, Section, Key };

struct Line
{
    qsizetype start = 0;
    qsizetype end = 0;  // end of the line's text, before its line break
    qsizetype next = 0; // start of the following line
    LineKind kind = LineKind::Other;
    QByteArrayView name;  // section or key name, trimmed
    QByteArrayView value; // key value, trimmed
};

// Splits the file into lines ended by CR LF, LF or CR alone (the last one may have no
// break) and classifies them. A UTF-8 byte-order mark is not part of the first line.
std::vector<Line> parse(QByteArrayView content)
{
    std::vector<Line> lines;
    qsizetype pos = content.startsWith(kUtf8Bom) ? kUtf8Bom.size() : 0;
    while (pos < content.size()) {
        Line line;
        line.start = pos;
        qsizetype end = pos;
        while (end < content.size() && content[end] != '\r' && content[end] != '\n')
            ++end;
        line.end = end;
        if (end < content.size()) {
            const bool crlf =
                content[end] == '\r' && end + 1 < content.size() && content[end + 1] == '\n';
            line.next = end + (crlf ? 2 : 1);
        } else {
            line.next = end;
        }
        const QByteArrayView text = trimmed(content.sliced(pos, end - pos));
        if (text.startsWith('[')) {
            const QByteArrayView inner = text.sliced(1);
            const qsizetype close = inner.indexOf(']');
            line.kind = LineKind::Section;
            line.name = trimmed(close < 0 ? inner : inner.first(close));
        } else if (const qsizetype eq = text.indexOf('='); eq >= 0) {
            line.kind = LineKind::Key;
            line.name = trimmed(text.first(eq));
            line.value = trimmed(text.sliced(eq + 1));
        }
        lines.push_back(line);
        pos = line.next;
    }
    return lines;
}

struct Match
{
    // The line that opens the first section of the name, or -1.
    qsizetype firstSection = -1;
    // The last key line of that first section, or -1.
    qsizetype lastKeyOfFirstSection = -1;
    // The first line of the key in any section of the name, or -1.
    qsizetype key = -1;
};

Match find(const std::vector<Line>& lines, QByteArrayView section, QByteArrayView key)
{
    Match match;
    bool inSection = false;
    bool inFirstSection = false;
    for (qsizetype i = 0; i < qsizetype(lines.size()); ++i) {
        const Line& line = lines[size_t(i)];
        if (line.kind == LineKind::Section) {
            inSection = namesEqual(line.name, section);
            inFirstSection = inSection && match.firstSection < 0;
            if (inFirstSection)
                match.firstSection = i;
        } else if (inSection && line.kind == LineKind::Key) {
            if (inFirstSection)
                match.lastKeyOfFirstSection = i;
            if (match.key < 0 && namesEqual(line.name, key))
                match.key = i;
        }
    }
    return match;
}

bool validNames(QByteArrayView section, QByteArrayView key)
{
    // A line break would start a line of its own, "]" would end the section name early,
    // "=" would split the key and a key line starting with "[" would open a section; such
    // names could not be read back as written.
    return !section.isEmpty() && !key.isEmpty() && !hasLineBreak(section) && !hasLineBreak(key) &&
           !section.contains(']') && !key.contains('=') && !key.startsWith('[');
}

QByteArray keyLine(QByteArrayView key, QByteArrayView value)
{
    QByteArray line;
    line.reserve(key.size() + value.size() + 3);
    line.append(key).append('=');
    for (const char c : value)
        line.append((c == '\r' || c == '\n') ? ' ' : c);
    line.append("\r\n");
    return line;
}

} // namespace

std::optional<QByteArray> profileValue(QByteArrayView content, QByteArrayView section,
                                       QByteArrayView key)
{
    section = preparedName(section);
    key = preparedName(key);
    if (section.isEmpty() || key.isEmpty())
        return QByteArray();
    const std::vector<Line> lines = parse(content);
    const Match match = find(lines, section, key);
    if (match.key < 0)
        return std::nullopt;
    return cappedValue(lines[size_t(match.key)].value).toByteArray();
}

QByteArray withProfileValue(QByteArrayView content, QByteArrayView section, QByteArrayView key,
                            QByteArrayView value)
{
    section = preparedName(section);
    key = preparedName(key);
    if (!validNames(section, key))
        return content.toByteArray();
    const std::vector<Line> lines = parse(content);
    const Match match = find(lines, section, key);
    QByteArray out;
    out.reserve(content.size() + section.size() + key.size() + value.size() + 8);

    if (match.key >= 0) {
        const Line& line = lines[size_t(match.key)];
        out.append(content.first(line.start));
        out.append(keyLine(line.name, value));
        out.append(content.sliced(line.next));
        return out;
    }
    if (match.firstSection >= 0) {
        const qsizetype after =
            match.lastKeyOfFirstSection >= 0 ? match.lastKeyOfFirstSection : match.firstSection;
        const Line& line = lines[size_t(after)];
        out.append(content.first(line.next));
        if (line.next == line.end)
            out.append("\r\n"); // the last line of the file had no line break
        out.append(keyLine(key, value));
        out.append(content.sliced(line.next));
        return out;
    }
    out.append(content);
    const qsizetype bodyStart = content.startsWith(kUtf8Bom) ? kUtf8Bom.size() : 0;
    if (content.size() > bodyStart && !content.endsWith('\n') && !content.endsWith('\r'))
        out.append("\r\n");
    out.append('[').append(section).append("]\r\n");
    out.append(keyLine(key, value));
    return out;
}

std::optional<QByteArray> readProfileValue(const QString& path, QByteArrayView section,
                                           QByteArrayView key)
{
    const QString file = preparedPath(path);
    if (file.isEmpty() || preparedName(section).isEmpty() || preparedName(key).isEmpty())
        return QByteArray();
    return profileValue(readWholeFile(file), section, key);
}

bool writeProfileValue(const QString& path, QByteArrayView section, QByteArrayView key,
                       QByteArrayView value)
{
    const QString file = preparedPath(path);
    if (file.isEmpty() || !validNames(preparedName(section), preparedName(key)))
        return false;
    QByteArray content;
    const QFileInfo info(file);
    if (info.exists()) {
        // A file that exists but cannot be read must not be replaced by one holding only
        // the new key.
        QFile existing(file);
        if (info.isDir() || !existing.open(QIODevice::ReadOnly))
            return false;
        content = existing.readAll();
        if (existing.error() != QFileDevice::NoError)
            return false;
    }
    return writeWholeFile(file, withProfileValue(content, section, key, value));
}

} // namespace pd
