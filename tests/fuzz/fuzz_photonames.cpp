// The photo catalogue on any file name: a photo named by the input's bytes (with "/" and
// zero bytes, which no file name holds, made "_") is put alone in a photo folder. The pool
// then holds one entry, unless the name holds a line break, and the entry's photo is found
// again by its name; the name survives the 8-bit text of the results file.
#include "data/FileIo.h"
#include "data/PhotoCatalogue.h"
#include "data/Text.h"
#include "tests/fuzz/FuzzSupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace pd;
using pd::fuzz::expect;

namespace {

QTemporaryDir& eventFolder()
{
    static QTemporaryDir dir;
    return dir;
}

bool writeRaw(const QByteArray& path, const QByteArray& bytes)
{
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        return false;
    const bool written = ::write(fd, bytes.constData(), size_t(bytes.size())) == bytes.size();
    ::close(fd);
    return written;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArrayView input = fuzz::bytesOf(data, size);
    if (input.isEmpty())
        return 0;
    // The first byte picks the letter case of the extension.
    const int caseBits = static_cast<unsigned char>(input[0]);
    QByteArray stem = input.sliced(1).first(qMin<qsizetype>(input.size() - 1, 200)).toByteArray();
    stem.replace('/', '_').replace('\0', '_');
    QByteArray extension(".jpg");
    for (int i = 0; i < 3; ++i) {
        if (caseBits & (1 << i))
            extension[i + 1] = char(extension[i + 1] - 'a' + 'A');
    }
    const QByteArray fileName = stem + extension;
    if (fileName == "." || fileName == "..")
        return 0;

    const QString runDir = eventFolder().path();
    const QByteArray folder = QFile::encodeName(runDir + QStringLiteral("/photo"));
    ::mkdir(folder.constData(), 0755);
    const QByteArray path = folder + '/' + fileName;
    static int counter = 0;
    const QByteArray content = "photo " + QByteArray::number(++counter);
    expect(writeRaw(path, content), "the photo can be written");

    PhotoCatalogue catalogue(runDir);
    QString pool;
    catalogue.buildPool(pool);
    if (fileName.contains('\r') || fileName.contains('\n')) {
        expect(pool.isEmpty(), "a name with a line break adds no entry");
    } else {
        expect(pool.endsWith(QStringLiteral("\r\n")), "the entry ends the pool");
        const QString name = pool.chopped(2);
        expect(!name.contains(QLatin1Char('\r')) && !name.contains(QLatin1Char('\n')), "one entry");
        expect(catalogue.readPhoto(name) == content, "the entry's photo is found by its name");
        expect(fromLocal8(toLocal8(name)) == name, "the name survives the 8-bit text");
    }
    expect(readWholeFile(runDir + QStringLiteral("/title.txt")) == toLocal8(pool),
           "the participant list holds the pool");
    ::unlink(path.constData());
    return 0;
}
