#include "data/ProfileFile.h"

#include "data/Text.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <random>

namespace {

QByteArray gbk(const char16_t* text)
{
    return pd::toLocal8(QStringView(text));
}

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void putFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(bytes), bytes.size());
}

} // namespace

class TestProfileFile : public QObject
{
    Q_OBJECT
private slots:
    void readValue_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QByteArray>("section");
        QTest::addColumn<QByteArray>("key");
        QTest::addColumn<bool>("found");
        QTest::addColumn<QByteArray>("value");

        const QByteArray speed = gbk(u"滚动速度");
        QTest::newRow("crlf") << QByteArray("[zbt]\r\na=1\r\nb=2\r\n") << QByteArray("zbt")
                              << QByteArray("b") << true << QByteArray("2");
        QTest::newRow("lf only") << QByteArray("[zbt]\na=1\nb=2\n") << QByteArray("zbt")
                                 << QByteArray("b") << true << QByteArray("2");
        QTest::newRow("cr only") << QByteArray("[zbt]\ra=1\rb=2\r") << QByteArray("zbt")
                                 << QByteArray("b") << true << QByteArray("2");
        QTest::newRow("no final break") << QByteArray("[zbt]\r\nb=2") << QByteArray("zbt")
                                        << QByteArray("b") << true << QByteArray("2");
        QTest::newRow("byte-order mark")
            << QByteArray("\xEF\xBB\xBF[zbt]\r\nb=2\r\n") << QByteArray("zbt") << QByteArray("b")
            << true << QByteArray("2");
        QTest::newRow("letter case and blanks")
            << QByteArray(" [ ZBT ] \r\n\t" + speed + " \t=  " + gbk(u"３０ x") + " \r\n")
            << QByteArray("zbt") << speed << true << gbk(u"３０ x");
        QTest::newRow("key letter case") << QByteArray("[s]\r\nPassWord=x\r\n") << QByteArray("S")
                                         << QByteArray("password") << true << QByteArray("x");
        QTest::newRow("value holds =") << QByteArray("[s]\r\nk=a=b\r\n") << QByteArray("s")
                                       << QByteArray("k") << true << QByteArray("a=b");
        QTest::newRow("present and empty") << QByteArray("[s]\r\nk=\r\n") << QByteArray("s")
                                           << QByteArray("k") << true << QByteArray();
        QTest::newRow("missing key") << QByteArray("[s]\r\nk=1\r\n") << QByteArray("s")
                                     << QByteArray("j") << false << QByteArray();
        QTest::newRow("key of another section")
            << QByteArray("[s]\r\nk=1\r\n[t]\r\nj=2\r\n") << QByteArray("s") << QByteArray("j")
            << false << QByteArray();
        QTest::newRow("key before any section") << QByteArray("k=1\r\n[s]\r\n") << QByteArray("s")
                                                << QByteArray("k") << false << QByteArray();
        QTest::newRow("first of two keys") << QByteArray("[s]\r\nk=1\r\nK=2\r\n") << QByteArray("s")
                                           << QByteArray("k") << true << QByteArray("1");
        QTest::newRow("key in repeated section")
            << QByteArray("[s]\r\na=1\r\n[t]\r\n[S]\r\nk=2\r\n") << QByteArray("s")
            << QByteArray("k") << true << QByteArray("2");
        // 0x81 0x41 and 0x81 0x61 are two different characters, not one in two letter cases.
        QTest::newRow("trail byte is no letter")
            << QByteArray("[s]\r\n\x81\x41=1\r\n") << QByteArray("s") << QByteArray("\x81\x61")
            << false << QByteArray();
        QTest::newRow("leading control bytes skipped")
            << QByteArray("[s]\r\nk=1\r\n") << QByteArray("\x01 \ts") << QByteArray("\x1f k")
            << true << QByteArray("1");
        QTest::newRow("empty key name gives empty, not missing")
            << QByteArray("[s]\r\n=1\r\n") << QByteArray("s") << QByteArray(" \t") << true
            << QByteArray();
        QTest::newRow("empty section name gives empty")
            << QByteArray("[]\r\nk=1\r\n") << QByteArray("\r\n") << QByteArray("k") << true
            << QByteArray();
        QTest::newRow("empty file")
            << QByteArray() << QByteArray("s") << QByteArray("k") << false << QByteArray();
        QTest::newRow("unclosed section name") << QByteArray("[s\r\nk=1\r\n") << QByteArray("s")
                                               << QByteArray("k") << true << QByteArray("1");

        const QByteArray longValue(20000, 'v');
        QTest::newRow("cut at 10239 bytes")
            << QByteArray("[s]\r\nk=" + longValue + "\r\n") << QByteArray("s") << QByteArray("k")
            << true << longValue.first(10239);
        const QByteArray zhang = gbk(u"张");
        const QByteArray straddling = "ab" + zhang.repeated(6000);
        QTest::newRow("cut never splits a character")
            << QByteArray("[s]\r\nk=" + straddling + "\r\n") << QByteArray("s") << QByteArray("k")
            << true << straddling.first(10238);
    }
    void readValue()
    {
        QFETCH(QByteArray, content);
        QFETCH(QByteArray, section);
        QFETCH(QByteArray, key);
        QFETCH(bool, found);
        QFETCH(QByteArray, value);
        const std::optional<QByteArray> read = pd::profileValue(content, section, key);
        QCOMPARE(read.has_value(), found);
        if (found)
            QCOMPARE(*read, value);
    }

    void writeValue_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QByteArray>("section");
        QTest::addColumn<QByteArray>("key");
        QTest::addColumn<QByteArray>("value");
        QTest::addColumn<QByteArray>("expected");

        QTest::newRow("replace in place, other lines kept byte for byte")
            << QByteArray("; note\n[ZBT]\r\n  a = 1 \n KEY = old \r\nz=9\r[next]\nk=2")
            << QByteArray("zbt") << QByteArray("key") << QByteArray("new")
            << QByteArray("; note\n[ZBT]\r\n  a = 1 \nKEY=new\r\nz=9\r[next]\nk=2");
        QTest::newRow("new key after the section's last key")
            << QByteArray("[s]\r\na=1\r\n\r\n[t]\r\nb=2\r\n") << QByteArray("S") << QByteArray("n")
            << QByteArray("v") << QByteArray("[s]\r\na=1\r\nn=v\r\n\r\n[t]\r\nb=2\r\n");
        QTest::newRow("new key in a section without keys")
            << QByteArray("[s]\r\n\r\n[t]\r\n") << QByteArray("s") << QByteArray("n")
            << QByteArray("v") << QByteArray("[s]\r\nn=v\r\n\r\n[t]\r\n");
        QTest::newRow("new key after a last line without break")
            << QByteArray("[s]\na=1") << QByteArray("s") << QByteArray("n") << QByteArray("v")
            << QByteArray("[s]\na=1\r\nn=v\r\n");
        QTest::newRow("new key goes to the first of repeated sections")
            << QByteArray("[s]\r\na=1\r\n[s]\r\nb=2\r\n") << QByteArray("s") << QByteArray("n")
            << QByteArray("v") << QByteArray("[s]\r\na=1\r\nn=v\r\n[s]\r\nb=2\r\n");
        QTest::newRow("key of a repeated section replaced there")
            << QByteArray("[s]\r\na=1\r\n[s]\r\nb=2\r\n") << QByteArray("s") << QByteArray("b")
            << QByteArray("3") << QByteArray("[s]\r\na=1\r\n[s]\r\nb=3\r\n");
        QTest::newRow("new section at the end")
            << QByteArray("[s]\r\na=1") << QByteArray("t") << QByteArray("n") << QByteArray("v")
            << QByteArray("[s]\r\na=1\r\n[t]\r\nn=v\r\n");
        QTest::newRow("empty file")
            << QByteArray() << QByteArray("zbt") << gbk(u"界面大小") << gbk(u"窗口")
            << QByteArray("[zbt]\r\n" + gbk(u"界面大小") + "=" + gbk(u"窗口") + "\r\n");
        QTest::newRow("byte-order mark only")
            << QByteArray("\xEF\xBB\xBF") << QByteArray("s") << QByteArray("k") << QByteArray("v")
            << QByteArray("\xEF\xBB\xBF[s]\r\nk=v\r\n");
        QTest::newRow("line breaks in the value become blanks")
            << QByteArray("[s]\r\nk=1\r\n") << QByteArray("s") << QByteArray("k")
            << QByteArray("a\r\n[evil]\r\nb\nc\rd") << QByteArray("[s]\r\nk=a  [evil]  b c d\r\n");
        QTest::newRow("leading control bytes of names skipped")
            << QByteArray() << QByteArray("\t s") << QByteArray("\x01k") << QByteArray(" v ")
            << QByteArray("[s]\r\nk= v \r\n");
        QTest::newRow("empty key name writes nothing")
            << QByteArray("[s]\r\n") << QByteArray("s") << QByteArray("  ") << QByteArray("v")
            << QByteArray("[s]\r\n");
        QTest::newRow("key with = writes nothing")
            << QByteArray("[s]\r\n") << QByteArray("s") << QByteArray("a=b") << QByteArray("v")
            << QByteArray("[s]\r\n");
        QTest::newRow("key starting with [ writes nothing")
            << QByteArray("[s]\r\n") << QByteArray("s") << QByteArray("[t") << QByteArray("]")
            << QByteArray("[s]\r\n");
        QTest::newRow("section with a line break writes nothing")
            << QByteArray("[s]\r\n") << QByteArray("s]\r\n[t") << QByteArray("k") << QByteArray("v")
            << QByteArray("[s]\r\n");
    }
    void writeValue()
    {
        QFETCH(QByteArray, content);
        QFETCH(QByteArray, section);
        QFETCH(QByteArray, key);
        QFETCH(QByteArray, value);
        QFETCH(QByteArray, expected);
        const QByteArray written = pd::withProfileValue(content, section, key, value);
        QCOMPARE(written, expected);
        if (written != content) {
            const std::optional<QByteArray> back = pd::profileValue(written, section, key);
            QVERIFY(back.has_value());
            QCOMPARE(*back, QByteArray(value).replace('\r', ' ').replace('\n', ' ').trimmed());
        }
    }

    void junkAndHugeLinesSurvive()
    {
        std::mt19937 generator(7);
        QByteArray junk(1 << 20, '\0');
        for (char& byte : junk)
            byte = char(generator() & 0xFF);
        const QByteArray hugeLine = "[s]\r\nk=" + QByteArray(1 << 20, 'x');
        const QByteArray section = "zbt";
        const QByteArray key = gbk(u"滚动速度");
        for (const QByteArray& content : {junk, hugeLine}) {
            QVERIFY(!pd::profileValue(content, section, key).has_value());
            const QByteArray written = pd::withProfileValue(content, section, key, "45");
            QVERIFY(written.startsWith(content));
            QCOMPARE(pd::profileValue(written, section, key), std::optional<QByteArray>("45"));
        }
        QCOMPARE(pd::profileValue(hugeLine, "s", "k")->size(), pd::kProfileValueCap);
    }

    void fileIsCreatedAndReadBack()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString path = dir.filePath("peizhi.a");
        QVERIFY(!pd::readProfileValue(path, "zbt", "k").has_value());
        QVERIFY(pd::writeProfileValue(path, "zbt", "k", "1"));
        QVERIFY(pd::writeProfileValue(path, "zbt", "k", "2"));
        QCOMPARE(fileBytes(path), QByteArray("[zbt]\r\nk=2\r\n"));
        // Leading blanks of the path are skipped like those of the names.
        QCOMPARE(pd::readProfileValue(" \t" + path, "zbt", "k"), std::optional<QByteArray>("2"));
        QCOMPARE(pd::readProfileValue(" ", "zbt", "k"), std::optional<QByteArray>(""));
        QVERIFY(!pd::writeProfileValue(" ", "zbt", "k", "3"));
        QVERIFY(!pd::writeProfileValue(path, "zbt", "\x02", "3"));
        QCOMPARE(fileBytes(path), QByteArray("[zbt]\r\nk=2\r\n"));
    }

    void readOnlyFileIsRefusedAndReadOnlyFolderWritten()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString path = dir.filePath("peizhi.a");
        const QByteArray before("[s]\nk=1\n");
        putFile(path, before);

        QVERIFY(QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ReadGroup));
        QVERIFY(!pd::writeProfileValue(path, "s", "k", "2"));
        QCOMPARE(fileBytes(path), before);
        QCOMPARE(pd::readProfileValue(path, "s", "k"), std::optional<QByteArray>("1"));

        QVERIFY(QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner));
        QVERIFY(QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner));
        const bool written = pd::writeProfileValue(path, "s", "k", "2");
        QVERIFY(QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                      QFileDevice::ExeOwner));
        QVERIFY(written);
        QCOMPARE(fileBytes(path), QByteArray("[s]\nk=2\r\n"));
    }

    void unreadableFileIsNotReplaced()
    {
        // A folder in the file's place cannot be read: reads miss, and a write must not
        // replace it by a file holding only the new key.
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString path = dir.filePath("peizhi.a");
        QVERIFY(QDir(dir.path()).mkdir("peizhi.a"));
        QVERIFY(!pd::readProfileValue(path, "s", "k").has_value());
        QVERIFY(!pd::writeProfileValue(path, "s", "k", "v"));
        QVERIFY(QFileInfo(path).isDir());
    }
};

QTEST_GUILESS_MAIN(TestProfileFile)
#include "test_profilefile.moc"
