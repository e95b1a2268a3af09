#include "data/CompanyTitleFile.h"

#include "data/Text.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool putFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(bytes) == bytes.size();
}

} // namespace

class TestCompanyTitleFile : public QObject
{
    Q_OBJECT
private:
    QTemporaryDir m_dir;
    QString m_path;

private slots:
    void init()
    {
        QVERIFY(m_dir.isValid());
        m_path = m_dir.filePath("cjini.txt");
        QFile::remove(m_path);
    }

    void read_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QByteArray>("title");
        const QByteArray gbkTitle = pd::toLocal8(u"某某公司\r\n年会");
        QTest::newRow("empty file") << QByteArray("") << QByteArray("");
        QTest::newRow("raw gbk bytes kept, breaks too") << gbkTitle << gbkTitle;
        QTest::newRow("ends at zero byte") << QByteArray("ab\0cd\x1a", 6) << QByteArray("ab");
        QTest::newRow("ends at byte 26") << QByteArray("ab\x1a"
                                                       "cd\0",
                                                       6)
                                         << QByteArray("ab");
        QTest::newRow("zero byte first") << QByteArray("\0abc", 4) << QByteArray("");
    }
    void read()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QByteArray, title);
        QVERIFY(putFile(m_path, bytes));
        const std::optional<QByteArray> read = pd::readCompanyTitle(m_path);
        QVERIFY(read.has_value());
        QCOMPARE(*read, title);
    }

    void cannotBeOpened()
    {
        QVERIFY(!pd::readCompanyTitle(m_path).has_value());
        QVERIFY(QDir(m_dir.path()).mkdir("cjini.txt"));
        QVERIFY(!pd::readCompanyTitle(m_path).has_value());
        QVERIFY(!pd::replaceCompanyTitle(m_path, "x"));
        QVERIFY(QDir(m_dir.path()).rmdir("cjini.txt"));
    }

    void replaceLeavesExactlyTheTitle()
    {
        QVERIFY(putFile(m_path, "0123456789"));
        const QByteArray title = pd::toLocal8(u"新年");
        QCOMPARE(title.size(), 4);
        QVERIFY(pd::replaceCompanyTitle(m_path, title));
        QCOMPARE(fileBytes(m_path), title);
        QCOMPARE(pd::readCompanyTitle(m_path), std::optional<QByteArray>(title));
    }

    void replaceNeverCreatesTheFile()
    {
        QVERIFY(!pd::replaceCompanyTitle(m_path, "title"));
        QVERIFY(!QFile::exists(m_path));
    }

    void replaceLeavesReadOnlyFileAlone()
    {
        QVERIFY(putFile(m_path, "old"));
        QVERIFY(QFile::setPermissions(m_path, QFileDevice::ReadOwner));
        QVERIFY(!pd::replaceCompanyTitle(m_path, "new"));
        QCOMPARE(fileBytes(m_path), QByteArray("old"));
        QCOMPARE(pd::readCompanyTitle(m_path), std::optional<QByteArray>("old"));
        QVERIFY(QFile::setPermissions(m_path, QFileDevice::ReadOwner | QFileDevice::WriteOwner));
    }
};

QTEST_GUILESS_MAIN(TestCompanyTitleFile)
#include "test_companytitlefile.moc"
