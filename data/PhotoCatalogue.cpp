#include "data/PhotoCatalogue.h"

#include "data/FileIo.h"
#include "data/Text.h"
#include "platform/Platform.h"

#include <QFile>
#include <QStringDecoder>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <limits>
#include <memory>
#include <optional>
#include <utility>

namespace pd {

namespace {

bool endsWithJpg(QByteArrayView fileName)
{
    if (fileName.size() < 4)
        return false;
    const QByteArrayView tail = fileName.last(4);
    return tail[0] == '.' && (tail[1] | 0x20) == 'j' && (tail[2] | 0x20) == 'p' &&
           (tail[3] | 0x20) == 'g';
}

// File names on disk are UTF-8, except those unpacked from archives made on Windows,
// which keep their GBK bytes (read as GB18030).
QString decodedFileName(QByteArrayView raw)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(raw);
    if (!utf8.hasError())
        return text;
    return fromLocal8(raw);
}

bool isValidUtf8(QByteArrayView raw)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    [[maybe_unused]] const QString text = utf8.decode(raw);
    return !utf8.hasError();
}

bool isRegularFile(const QByteArray& rawPath)
{
    struct stat st
    {
    };
    return ::stat(rawPath.constData(), &st) == 0 && S_ISREG(st.st_mode);
}

// Closes a POSIX file descriptor when it goes out of scope.
class OpenFile final
{
public:
    explicit OpenFile(int fd) : m_fd(fd) {}
    ~OpenFile()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    OpenFile(const OpenFile&) = delete;
    OpenFile& operator=(const OpenFile&) = delete;
    int fd() const { return m_fd; }

private:
    int m_fd = -1;
};

// Reads a regular file by its raw path. O_NONBLOCK keeps a pipe that carries a photo's
// name from blocking the draw; it is refused by the type check right after.
std::optional<QByteArray> readRegularFile(const QByteArray& rawPath, qint64 maxBytes)
{
    const OpenFile file(::open(rawPath.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    const int fd = file.fd();
    if (fd < 0)
        return std::nullopt;
    struct stat st
    {
    };
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode))
        return std::nullopt;
    QByteArray bytes;
    const qint64 limit = maxBytes >= 0 ? maxBytes : std::numeric_limits<qint64>::max();
    bytes.reserve(qsizetype(qMin<qint64>(limit, qMax<qint64>(st.st_size, 0))));
    char buffer[65536];
    while (bytes.size() < limit) {
        const qint64 want = qMin<qint64>(qint64(sizeof buffer), limit - bytes.size());
        const ssize_t got = ::read(fd, buffer, size_t(want));
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return std::nullopt;
        }
        if (got == 0)
            break;
        bytes.append(buffer, qsizetype(got));
    }
    return bytes;
}

} // namespace

PhotoCatalogue::PhotoCatalogue(QString runDir) : m_runDir(std::move(runDir)) {}

QString PhotoCatalogue::photoFolder() const
{
    return m_runDir + QStringLiteral("/photo");
}

void PhotoCatalogue::buildPool(QString& poolText)
{
    m_rawPaths.clear();
    const QByteArray folder = QFile::encodeName(photoFolder());
    // QDir would drop the names that are not valid UTF-8, so the folder is listed by bytes.
    if (DIR* opened = ::opendir(folder.constData())) {
        const std::unique_ptr<DIR, int (*)(DIR*)> dir(opened, &::closedir);
        while (const dirent* entry = ::readdir(dir.get())) {
            const QByteArrayView raw(entry->d_name);
            // A line break in a file name would add entries of its own to the pool.
            if (!endsWithJpg(raw) || raw.contains('\r') || raw.contains('\n'))
                continue;
            struct stat st
            {
            };
            if (::fstatat(::dirfd(dir.get()), entry->d_name, &st, 0) != 0 || !S_ISREG(st.st_mode))
                continue;
            const QString name = nameOfPhotoFile(decodedFileName(raw));
            poolText += name;
            poolText += QStringLiteral("\r\n");
            if (!m_rawPaths.contains(name))
                m_rawPaths.insert(name, folder + '/' + raw.toByteArray());
        }
    }
    writeWholeFile(m_runDir + QStringLiteral("/title.txt"), toLocal8(poolText));
}

QString PhotoCatalogue::nameOfPhotoFile(QStringView fileName)
{
    const qsizetype slash =
        qMax(fileName.lastIndexOf(QLatin1Char('\\')), fileName.lastIndexOf(QLatin1Char('/')));
    const QStringView bare = fileName.sliced(slash + 1);
    const qsizetype dot = bare.indexOf(QLatin1Char('.'));
    return (dot < 0 ? bare : bare.first(dot)).toString();
}

QList<QByteArray> PhotoCatalogue::candidatePaths(QStringView name) const
{
    QList<QByteArray> paths;
    const QString key = name.toString();
    if (const auto found = m_rawPaths.constFind(key); found != m_rawPaths.cend())
        paths.append(found.value());
    // A name that was not listed (a designated winner, a photo added since the build) is
    // looked for under the usual path, in either encoding and any case of the extension.
    if (key.contains(QLatin1Char('/')))
        return paths;
    const QByteArray folder = QFile::encodeName(photoFolder()) + '/';
    for (const QByteArray& encoded : {key.toUtf8(), toLocal8(key)}) {
        for (int variant = 0; variant < 8; ++variant) {
            QByteArray path = folder + encoded + ".jpg";
            for (int letter = 0; letter < 3; ++letter) {
                if (variant & (1 << letter)) {
                    char& c = path[path.size() - 3 + letter];
                    c = char(c - 'a' + 'A');
                }
            }
            if (!paths.contains(path))
                paths.append(path);
        }
    }
    return paths;
}

QString PhotoCatalogue::photoPathOf(QStringView name) const
{
    for (const QByteArray& path : candidatePaths(name)) {
        if (isValidUtf8(path) && isRegularFile(path))
            return QFile::decodeName(path);
    }
    return photoFolder() + QLatin1Char('/') + name.toString() + QStringLiteral(".jpg");
}

QByteArray PhotoCatalogue::readPhoto(QStringView name, qint64 maxBytes) const
{
    for (const QByteArray& path : candidatePaths(name)) {
        if (std::optional<QByteArray> bytes = readRegularFile(path, maxBytes))
            return *std::move(bytes);
    }
    return {};
}

void PhotoCatalogue::openPhotoFolder(Dialogs& dialogs, Desktop& desktop) const
{
    dialogs.message(QStringLiteral("若增加新的抽奖照片，请将程序退出并重新运行！"),
                    QStringLiteral("请注意"), MessageStyle::Ok);
    desktop.openPath(photoFolder());
}

} // namespace pd
