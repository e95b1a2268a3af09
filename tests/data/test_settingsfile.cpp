#include "data/SettingsFile.h"

#include "data/Text.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString kFixture = QStringLiteral(PRIZEDRAW_TEST_DATA "/settings/windows-made.a");

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestSettingsFile : public QObject
{
    Q_OBJECT
private:
    QTemporaryDir m_dir;
    pd::SettingsFile m_settings{QString()};

    void useFixture()
    {
        QFile::remove(m_settings.path());
        QVERIFY(QFile::copy(kFixture, m_settings.path()));
        QVERIFY(QFile::setPermissions(m_settings.path(),
                                      QFileDevice::ReadOwner | QFileDevice::WriteOwner));
    }

private slots:
    void init()
    {
        QVERIFY(m_dir.isValid());
        m_settings = pd::SettingsFile(m_dir.path());
        QFile::remove(m_settings.path());
    }

    void path() { QCOMPARE(m_settings.path(), m_dir.path() + "/peizhi.a"); }

    void windowsMadeFile_data()
    {
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value");
        const QString fallback = QStringLiteral("某某公司现场抽奖仪式");
        QTest::newRow("blanks round =") << "zbt"
                                        << "界面大小"
                                        << "窗口";
        QTest::newRow("key in other case") << "zbt"
                                           << "zbt"
                                           << "某某公司年会";
        QTest::newRow("full-width digits kept") << "zbt"
                                                << "滚动速度"
                                                << "３０";
        QTest::newRow("present and empty") << "zbt"
                                           << "fbt"
                                           << "";
        QTest::newRow("missing key") << "zbt"
                                     << "password" << fallback;
        QTest::newRow("section in other case") << "yanse"
                                               << "主标题字体颜色"
                                               << "255";
        QTest::newRow("last line without break") << "ZWEIZHI"
                                                 << "标签1左边"
                                                 << "120";
        QTest::newRow("missing section") << "other"
                                         << "标签1左边" << fallback;
    }
    void windowsMadeFile()
    {
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QString, value);
        useFixture();
        QCOMPARE(m_settings.readKeyOr(section, key, QStringLiteral("某某公司现场抽奖仪式")), value);
        const bool missing = value == QStringLiteral("某某公司现场抽奖仪式");
        QCOMPARE(m_settings.readKey(section, key), missing ? QString() : value);
    }

    void writesKeepTheWindowsFileByteForByte()
    {
        useFixture();
        QVERIFY(m_settings.writeKey(u"zbt", u"滚动速度", u"45"));
        QVERIFY(m_settings.writeKey(u"zbt", u"背景音乐", u"真"));
        QVERIFY(m_settings.writeKey(u"zweizhi", u"标签1顶边", u"80"));
        QVERIFY(m_settings.writeKey(u"新", u"k", u"v"));
        const QString expected = QStringLiteral(
            "[ZBT]\r\n界面大小 = 窗口\r\n  Zbt=某某公司年会  \r\n滚动速度=45\r\nfbt=\r\n"
            "背景音乐=真\r\n\r\n[Yanse]\r\n主标题字体颜色 =255\r\n\r\n[zweizhi]\r\n"
            "标签1左边=120\r\n标签1顶边=80\r\n[新]\r\nk=v\r\n");
        QCOMPARE(fileBytes(m_settings.path()), pd::toLocal8(expected));
    }

    void valuesRoundTrip_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("readBack");
        QTest::newRow("chinese") << "张三 李四"
                                 << "张三 李四";
        QTest::newRow("euro sign") << "€5"
                                   << "€5";
        QTest::newRow("empty") << ""
                               << "";
        QTest::newRow("surrounding blanks dropped") << "  x y  "
                                                    << "x y";
        QTest::newRow("line breaks stored as blanks") << "a\r\n[zbt]\r\nfbt=b"
                                                      << "a  [zbt]  fbt=b";
    }
    void valuesRoundTrip()
    {
        QFETCH(QString, value);
        QFETCH(QString, readBack);
        QVERIFY(m_settings.writeKey(u"zbt", u"zbt", value));
        QCOMPARE(m_settings.readKeyOr(u"zbt", u"zbt", QStringLiteral("fallback")), readBack);
        QCOMPARE(m_settings.readKeyOr(u"zbt", u"fbt", QStringLiteral("fallback")),
                 QStringLiteral("fallback"));
    }

    void modeSwitchTwiceLeavesOneLine()
    {
        QVERIFY(m_settings.writeKey(u"zbt", u"界面大小", u"窗口"));
        QVERIFY(m_settings.writeKey(u"zbt", u"界面大小", u"全屏"));
        QCOMPARE(fileBytes(m_settings.path()), pd::toLocal8(u"[zbt]\r\n界面大小=全屏\r\n"));
    }

    void changesByHandAreSeenAtOnce()
    {
        QVERIFY(m_settings.writeKey(u"zbt", u"滚动速度", u"30"));
        QFile file(m_settings.path());
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(pd::toLocal8(u"[zbt]\n滚动速度=45\n"));
        file.close();
        QCOMPARE(m_settings.readKey(u"zbt", u"滚动速度"), QStringLiteral("45"));
    }

    void hidingGivesWritesBack()
    {
        m_settings.hideSettingsFile();
        QVERIFY(!QFile::exists(m_settings.path()));

        useFixture();
        const QByteArray before = fileBytes(m_settings.path());
        QVERIFY(QFile::setPermissions(m_settings.path(),
                                      QFileDevice::ReadOwner | QFileDevice::ReadGroup));
        QVERIFY(!m_settings.writeKey(u"zbt", u"滚动速度", u"45"));
        QCOMPARE(fileBytes(m_settings.path()), before);

        m_settings.hideSettingsFile();
        QVERIFY(m_settings.writeKey(u"zbt", u"滚动速度", u"45"));
        QCOMPARE(m_settings.readKey(u"zbt", u"滚动速度"), QStringLiteral("45"));
        QCOMPARE(QFileInfo(m_settings.path()).permissions() & QFileDevice::ReadGroup,
                 QFileDevice::ReadGroup);
    }

    void unreadableFileReadsAsDefaults()
    {
        QVERIFY(QDir(m_dir.path()).mkdir("peizhi.a"));
        QCOMPARE(m_settings.readKeyOr(u"zbt", u"zbt", QStringLiteral("默认")),
                 QStringLiteral("默认"));
        QVERIFY(!m_settings.writeKey(u"zbt", u"zbt", u"x"));
        m_settings.hideSettingsFile();
        QVERIFY(QDir(m_dir.path()).rmdir("peizhi.a"));
    }
};

QTEST_GUILESS_MAIN(TestSettingsFile)
#include "test_settingsfile.moc"
