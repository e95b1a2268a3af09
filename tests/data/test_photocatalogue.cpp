#include "data/PhotoCatalogue.h"

#include "data/Text.h"
#include "platform/FakePlatform.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QByteArray kZhangSanGbk("\xd5\xc5\xc8\xfd");
const QByteArray kLiSiGbk("\xc0\xee\xcb\xc4");

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Creates a file (or, for a name ending in "/", a folder) under its raw byte name, as an
// archive unpacked from Windows leaves it.
bool createRaw(const QString& folder, QByteArray rawName, const QByteArray& content = {})
{
    const QByteArray base = QFile::encodeName(folder) + '/';
    if (rawName.endsWith('/'))
        return ::mkdir((base + rawName.chopped(1)).constData(), 0755) == 0;
    const int fd = ::open((base + rawName).constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0)
        return false;
    const bool written =
        ::write(fd, content.constData(), size_t(content.size())) == ssize_t(content.size());
    return ::close(fd) == 0 && written;
}

QStringList sortedEntries(const QString& pool)
{
    QStringList entries = pool.split(QStringLiteral("\r\n"));
    entries.removeLast(); // the text after the last CR LF, empty when the pool is well formed
    entries.sort();
    return entries;
}

} // namespace

class TestPhotoCatalogue : public QObject
{
    Q_OBJECT
private:
    std::unique_ptr<QTemporaryDir> m_runDir;
    QString m_photo;

private slots:
    void init()
    {
        m_runDir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_runDir->isValid());
        m_photo = m_runDir->filePath("photo");
    }

    void buildPool_data()
    {
        QTest::addColumn<QByteArrayList>("files");
        QTest::addColumn<QStringList>("entries");
        QTest::newRow("jpg in any case, folders and other files skipped")
            << QByteArrayList{"张三.JPG",  "李四.jpg", "王五.JPG/", "赵六.JpG", " 钱 七 .jpg",
                              "notes.txt", "x.jpeg",   "y.jpg.bak", "jpg"}
            << QStringList{" 钱 七 ", "张三", "李四", "赵六"};
        QTest::newRow("name ends at the first dot")
            << QByteArrayList{"a.b.JPG", "x.JPG", "x.y.JPG"} << QStringList{"a", "x", "x"};
        QTest::newRow("extension only, hidden files count")
            << QByteArrayList{".jpg", ".secret.JPG"} << QStringList{"", ""};
        QTest::newRow("gbk file names")
            << QByteArrayList{kZhangSanGbk + ".JPG", kLiSiGbk + ".jpg", "王五.jpg"}
            << QStringList{"张三", "李四", "王五"};
        QTest::newRow("line break in a name skipped")
            << QByteArrayList{"bad\nname.jpg", "bad\r.jpg", "ok.jpg"} << QStringList{"ok"};
        QTest::newRow("empty folder") << QByteArrayList{} << QStringList{};
    }
    void buildPool()
    {
        QFETCH(QByteArrayList, files);
        QFETCH(QStringList, entries);
        QVERIFY(QDir().mkpath(m_photo));
        // Zero-byte files and files that are no JPEG at all count the same.
        for (qsizetype i = 0; i < files.size(); ++i)
            QVERIFY(createRaw(m_photo, files[i], i % 2 ? QByteArray() : QByteArray("not a jpeg")));

        pd::PhotoCatalogue catalogue(m_runDir->path());
        QString pool;
        catalogue.buildPool(pool);
        QVERIFY(pool.isEmpty() || pool.endsWith(QStringLiteral("\r\n")));
        QCOMPARE(sortedEntries(pool), entries);
        QCOMPARE(fileBytes(m_runDir->filePath("title.txt")), pd::toLocal8(pool));
    }

    void buildAppendsAndListsTheWholePool()
    {
        QVERIFY(QDir().mkpath(m_photo));
        QVERIFY(createRaw(m_photo, "张三.jpg"));
        pd::PhotoCatalogue catalogue(m_runDir->path());
        QString pool = QStringLiteral("旧\r\n");
        catalogue.buildPool(pool);
        QCOMPARE(pool, QStringLiteral("旧\r\n张三\r\n"));
        QCOMPARE(fileBytes(m_runDir->filePath("title.txt")), pd::toLocal8(u"旧\r\n张三\r\n"));
    }

    void noPhotoFolder_data()
    {
        QTest::addColumn<bool>("fileInItsPlace");
        QTest::newRow("missing") << false;
        QTest::newRow("a file in its place") << true;
    }
    void noPhotoFolder()
    {
        QFETCH(bool, fileInItsPlace);
        if (fileInItsPlace)
            QVERIFY(createRaw(m_runDir->path(), "photo", "x.jpg"));
        QVERIFY(createRaw(m_runDir->path(), "title.txt", "old list"));
        pd::PhotoCatalogue catalogue(m_runDir->path());
        QString pool;
        catalogue.buildPool(pool);
        QVERIFY(pool.isEmpty());
        QVERIFY(QFile::exists(m_runDir->filePath("title.txt")));
        QCOMPARE(fileBytes(m_runDir->filePath("title.txt")), QByteArray());
    }

    void readOnlyListIsLeftSilently()
    {
        QVERIFY(QDir().mkpath(m_photo));
        QVERIFY(createRaw(m_photo, "a.jpg"));
        const QString list = m_runDir->filePath("title.txt");
        QVERIFY(createRaw(m_runDir->path(), "title.txt", "old"));
        QVERIFY(QFile::setPermissions(list, QFileDevice::ReadOwner));
        pd::PhotoCatalogue catalogue(m_runDir->path());
        QString pool;
        catalogue.buildPool(pool);
        QCOMPARE(pool, QStringLiteral("a\r\n"));
        QCOMPARE(fileBytes(list), QByteArray("old"));
    }

    void nameOfPhotoFile_data()
    {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QString>("name");
        QTest::newRow("plain") << "张三.JPG"
                               << "张三";
        QTest::newRow("two dots") << "a.b.JPG"
                                  << "a";
        QTest::newRow("extension only") << ".jpg"
                                        << "";
        QTest::newRow("blanks kept") << " 钱 七 .jpg"
                                     << " 钱 七 ";
        QTest::newRow("windows folder part") << "C:\\photo\\李四.jpg"
                                             << "李四";
        QTest::newRow("folder part") << "/run/photo/王五.jpg"
                                     << "王五";
        QTest::newRow("no dot") << "赵六"
                                << "赵六";
    }
    void nameOfPhotoFile()
    {
        QFETCH(QString, fileName);
        QFETCH(QString, name);
        QCOMPARE(pd::PhotoCatalogue::nameOfPhotoFile(fileName), name);
    }

    void findPhotos_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<qint64>("maxBytes");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("pathInPhotoFolder");
        QTest::newRow("two dots") << "a" << qint64(-1) << QByteArray("ab") << "a.b.JPG";
        QTest::newRow("capital extension, limited")
            << "Up" << qint64(1) << QByteArray("u") << "Up.JPG";
        QTest::newRow("limit of nothing") << "Up" << qint64(0) << QByteArray() << "Up.JPG";
        QTest::newRow("gbk file name") << "张三" << qint64(-1) << QByteArray("zhang") << "张三.jpg";
        QTest::newRow("added after the build")
            << "新" << qint64(-1) << QByteArray("xin") << "新.JpG";
        QTest::newRow("gbk name added after the build")
            << "李四" << qint64(-1) << QByteArray("li") << "李四.jpg";
        QTest::newRow("folder") << "d" << qint64(-1) << QByteArray() << "d.jpg";
        QTest::newRow("pipe does not block") << "p" << qint64(-1) << QByteArray() << "p.jpg";
        QTest::newRow("no photo") << "nobody" << qint64(-1) << QByteArray() << "nobody.jpg";
        QTest::newRow("outside the folder")
            << "../secret" << qint64(-1) << QByteArray() << "../secret.jpg";
    }
    void findPhotos()
    {
        QFETCH(QString, name);
        QFETCH(qint64, maxBytes);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, pathInPhotoFolder);
        QVERIFY(QDir().mkpath(m_photo));
        QVERIFY(createRaw(m_photo, "a.b.JPG", "ab"));
        QVERIFY(createRaw(m_photo, "Up.JPG", "up"));
        QVERIFY(createRaw(m_photo, kZhangSanGbk + ".JPG", "zhang"));
        QVERIFY(createRaw(m_photo, "d.jpg/"));
        QVERIFY(::mkfifo(QFile::encodeName(m_photo + "/p.jpg").constData(), 0644) == 0);
        QVERIFY(createRaw(m_runDir->path(), "secret.jpg", "secret"));
        pd::PhotoCatalogue catalogue(m_runDir->path());
        QString pool;
        catalogue.buildPool(pool);
        QVERIFY(createRaw(m_photo, "新.JpG", "xin"));
        QVERIFY(createRaw(m_photo, kLiSiGbk + ".jpg", "li"));

        QCOMPARE(catalogue.readPhoto(name, maxBytes), bytes);
        QCOMPARE(catalogue.photoPathOf(name), m_photo + '/' + pathInPhotoFolder);
    }

    void openPhotoFolder()
    {
        pd::FakeDialogs dialogs;
        pd::FakeDesktop desktop;
        pd::PhotoCatalogue(m_runDir->path()).openPhotoFolder(dialogs, desktop);
        QCOMPARE(dialogs.messages.size(), 1);
        QCOMPARE(dialogs.messages[0].text,
                 QStringLiteral("若增加新的抽奖照片，请将程序退出并重新运行！"));
        QCOMPARE(dialogs.messages[0].caption, QStringLiteral("请注意"));
        QCOMPARE(dialogs.messages[0].style, pd::MessageStyle::Ok);
        QCOMPARE(desktop.opened, QStringList{m_photo});
    }
};

QTEST_GUILESS_MAIN(TestPhotoCatalogue)
#include "test_photocatalogue.moc"
