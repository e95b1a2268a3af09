#include "screen/BackgroundCommands.h"

#include "app/MainScreen.h"
#include "app/StartUp.h"
#include "tests/support/TestEvent.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTest>

using namespace pd;
using namespace pd::test;

namespace {
QString u8(const char* s)
{
    return QString::fromUtf8(s);
}

QByteArray jpegBytes(const QColor& colour)
{
    QImage image(64, 48, QImage::Format_RGB32);
    image.fill(colour);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPG");
    return bytes;
}
} // namespace

class TestBackgroundCommands : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        m_cwd = std::make_unique<QTemporaryDir>();
        QDir::setCurrent(m_cwd->path());
    }

    void pictureIsCopiedShownAndRemoved()
    {
        TestEvent event;
        Shell& shell = event.shell();
        shell.start();
        MainScreen& s = shell.screen();
        // Any name and type: the copy keeps the content and takes the fixed name.
        const QByteArray picture = jpegBytes(Qt::blue);
        event.writeFile(u8("chosen/舞台.PNG"), picture);
        event.dialogs.fileAnswers.push_back(event.path(u8("chosen/舞台.PNG")));

        changeBackgroundPicture(s, event.dialogs, event.dir());

        QCOMPARE(event.dialogs.fileFilters, QStringList{u8("图形文件(*.jpg)|*.jpg")});
        QCOMPARE(event.readFile(u8("底图.jpg")), picture);
        QVERIFY(s.hasBackgroundPicture());

        removeBackgroundPicture(s, event.dir());
        QVERIFY(!QFile::exists(event.path(u8("底图.jpg"))));
        QVERIFY(!s.hasBackgroundPicture());
        // Again with no file: nothing to say, still no picture.
        removeBackgroundPicture(s, event.dir());
        QVERIFY(!s.hasBackgroundPicture());
        QVERIFY(event.dialogs.messages.isEmpty());
    }

    void unreadableChoiceKeepsThePictureThatWasThere_data()
    {
        QTest::addColumn<bool>("cancelled");
        QTest::newRow("cancelled") << true;
        QTest::newRow("chosen file vanished") << false;
    }

    void unreadableChoiceKeepsThePictureThatWasThere()
    {
        QFETCH(bool, cancelled);
        TestEvent event;
        const QByteArray old = jpegBytes(Qt::green);
        event.writeFile(u8("底图.jpg"), old);
        Shell& shell = event.shell();
        shell.start();
        QVERIFY(shell.screen().hasBackgroundPicture());
        event.dialogs.fileAnswers.push_back(
            cancelled ? std::nullopt : std::optional<QString>(event.path(u8("gone.jpg"))));

        changeBackgroundPicture(shell.screen(), event.dialogs, event.dir());

        QCOMPARE(event.readFile(u8("底图.jpg")), old);
        QVERIFY(shell.screen().hasBackgroundPicture());
    }

    void musicFolderIsMadeBeforeTheDialogAndTheFileCopied()
    {
        TestEvent event;
        Shell& shell = event.shell();
        shell.start();

        changeBackgroundMusic(event.dialogs, event.dir());
        QCOMPARE(event.dialogs.fileFilters, QStringList{u8("音乐文件(*.mp3)|*.mp3")});
        QVERIFY(QFileInfo(event.path(u8("wav"))).isDir());
        QVERIFY(QDir(event.path(u8("wav"))).isEmpty());

        const QByteArray music("ID3\x03\x00 not really music, copied byte for byte", 45);
        event.writeFile(u8("elsewhere/song.MP3"), music);
        event.dialogs.fileAnswers.push_back(event.path(u8("elsewhere/song.MP3")));
        changeBackgroundMusic(event.dialogs, event.dir());
        QCOMPARE(event.readFile(u8("wav/bjyy.mp3")), music);
        // Nothing plays or stops: the next Start plays the new file.
        QVERIFY(event.sound.calls.isEmpty());
    }

    void musicSwitchTicksAndStores_data()
    {
        QTest::addColumn<bool>("on");
        QTest::addColumn<QString>("stored");
        QTest::newRow("on") << true << u8("真");
        QTest::newRow("off") << false << u8("假");
    }

    void musicSwitchTicksAndStores()
    {
        QFETCH(bool, on);
        QFETCH(QString, stored);
        TestEvent event;
        event.writeSettings({{u8("zbt"), {{u8("背景音乐"), on ? u8("假") : u8("真")}}}});
        Shell& shell = event.shell();
        shell.start();
        MainScreen& s = shell.screen();
        QCOMPARE(s.isMusicOn(), !on);

        // The menu items themselves, as the context menu shows them.
        (on ? s.启用背景音乐 : s.禁用背景音乐)->trigger();

        QCOMPARE(s.启用背景音乐->isChecked(), on);
        QCOMPARE(s.禁用背景音乐->isChecked(), !on);
        QCOMPARE(shell.session().settings.readKey(u"zbt", u"背景音乐"), stored);
        // Choosing the item that is already ticked keeps it ticked.
        (on ? s.启用背景音乐 : s.禁用背景音乐)->trigger();
        QCOMPARE(s.isMusicOn(), on);
        QVERIFY(event.sound.calls.isEmpty());
    }

private:
    std::unique_ptr<QTemporaryDir> m_cwd;
};

QTEST_MAIN(TestBackgroundCommands)
#include "test_backgroundcommands.moc"
