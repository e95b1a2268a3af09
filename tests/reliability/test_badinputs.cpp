// Photos and files that people bring, at their worst: the draw neither crashes nor stalls
// nor loses the winner, and whatever cannot be shown leaves an empty frame.
#include "app/MainScreen.h"
#include "app/PictureBox.h"
#include "app/StartUp.h"
#include "data/FileIo.h"
#include "data/ProfileFile.h"
#include "data/SettingsFile.h"
#include "data/Text.h"
#include "draw/DrawCycle.h"
#include "draw/PreviewCache.h"
#include "media/PictureDecoder.h"
#include "settings/TextScrambler.h"
#include "tests/reliability/ReliabilityEvent.h"
#include "tools/photogen/PhotoGenerator.h"

#include <QBuffer>
#include <QFile>
#include <QLabel>
#include <QRandomGenerator>
#include <QTest>

#include <optional>

using namespace pd;
using namespace pd::test;

namespace {

enum class Frame { Shown, Empty, Either };

QByteArray plainPhoto()
{
    PhotoOptions options;
    options.size = QSize(400, 500);
    options.preview = false;
    options.grain = 0;
    return makePhoto(QStringLiteral("照片"), 5, options);
}

QByteArray photoWithPreview()
{
    PhotoOptions options;
    options.size = QSize(400, 500);
    options.grain = 0;
    return makePhoto(QStringLiteral("照片"), 6, options);
}

QByteArray pngBytes()
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    portraitImage(QStringLiteral("王五"), 3, QSize(120, 150)).save(&buffer, "PNG");
    return bytes;
}

QByteArray randomBytes(qsizetype size, quint32 seed)
{
    QRandomGenerator generator(seed);
    QByteArray bytes(size, Qt::Uninitialized);
    for (char& c : bytes)
        c = char(generator.bounded(256));
    return bytes;
}

} // namespace

class TestBadInputs : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        m_cwd = std::make_unique<QTemporaryDir>();
        QDir::setCurrent(m_cwd->path());
    }

    // One participant whose photo is the file of the row: the roll ticks over it, the Stop
    // records the winner, and the frame shows the picture only where there is one.
    void photoThatIsNotAGoodPicture_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<Frame>("inRoll");
        QTest::addColumn<Frame>("atStop");
        const QByteArray plain = plainPhoto();
        const QByteArray previewed = photoWithPreview();
        QByteArray corruptScan = plain;
        corruptScan.replace(corruptScan.size() / 2, 2000, randomBytes(2000, 7));
        QByteArray corruptPreview = previewed;
        const qsizetype inner = corruptPreview.indexOf("\xFF\xD8", 3);
        corruptPreview.replace(inner + 2, 200, randomBytes(200, 13));
        QByteArray huge = previewed;
        huge.append(QByteArray(100 * 1024 * 1024 - huge.size(), '\0'));

        QTest::newRow("0 bytes") << QByteArray() << Frame::Empty << Frame::Empty;
        QTest::newRow("text named .jpg")
            << toLocal8(u"名单\r\n张三\r\n") << Frame::Empty << Frame::Empty;
        QTest::newRow("png named .jpg") << pngBytes() << Frame::Shown << Frame::Shown;
        QTest::newRow("cut inside the header") << plain.first(40) << Frame::Empty << Frame::Empty;
        QTest::newRow("cut at half")
            << plain.first(plain.size() / 2) << Frame::Shown << Frame::Shown;
        QTest::newRow("end marker missing") << plain.chopped(2) << Frame::Shown << Frame::Shown;
        // How much of a damaged scan shows is the decoder's business; it must not fault.
        QTest::newRow("corrupt scan data") << corruptScan << Frame::Either << Frame::Either;
        QTest::newRow("random bytes") << randomBytes(30000, 11) << Frame::Empty << Frame::Empty;
        QTest::newRow("declares 60000 x 60000")
            << withDeclaredSize(plain, 60000, 60000) << Frame::Empty << Frame::Empty;
        // The roll shows the main picture through its prepared preview, not an empty frame.
        QTest::newRow("embedded preview corrupt") << corruptPreview << Frame::Shown << Frame::Shown;
        QTest::newRow("preview declares 60000 x 60000")
            << withDeclaredSize(previewed, 60000, 60000, previewed.indexOf("\xFF\xD8", 3))
            << Frame::Shown << Frame::Shown;
        QTest::newRow("100 MB photo") << huge << Frame::Shown << Frame::Shown;
    }
    void photoThatIsNotAGoodPicture()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(Frame, inRoll);
        QFETCH(Frame, atStop);
        TestEvent event;
        const QString name = QStringLiteral("参加者");
        event.writeFile(QStringLiteral("photo/参加者.jpg"), bytes);
        const qint64 peakBefore = peakResidentKb();
        Shell& shell = startDrawEvent(event, {}, 1);
        QTRY_VERIFY_WITH_TIMEOUT(shell.session().previews.isIdle(), 60000);
        const PictureBox* frame = shell.screen().图片框_照片;

        shell.drawCycle().startStop();
        for (int i = 0; i < 5; ++i)
            shell.drawCycle().pickerTick();
        if (inRoll != Frame::Either)
            QCOMPARE(frame->hasPicture(), inRoll == Frame::Shown);
        shell.drawCycle().startStop();
        shell.drawCycle().reenableTick();

        QCOMPARE(resultLines(event.readFile(QStringLiteral("抽奖结果.txt"))),
                 QStringList{name + QStringLiteral("  ------  一等奖")});
        QCOMPARE(shell.screen().透明标签_恭喜->text(), QStringLiteral("恭喜您： 参加者  一等奖"));
        QCOMPARE(shell.drawCycle().phase(), DrawCycle::Phase::Idle);
        if (atStop != Frame::Either)
            QCOMPARE(frame->hasPicture(), atStop == Frame::Shown);
        if (frame->hasPicture()) {
            QVERIFY(frame->picture().width() <= frame->width());
            QVERIFY(frame->picture().height() <= frame->height());
        }
        // A declared size is never taken at its word: no gigabytes are touched. (The 100 MB
        // photo itself is read once at Stop.)
        QVERIFY2(peakResidentKb() - peakBefore < 300 * 1024,
                 qPrintable(QString::number(peakResidentKb() - peakBefore)));
    }

    // Names that the 8-bit code page of the results file has no letters for, and names as
    // long as a file name may be: drawn, announced, written and read back unchanged.
    void unusualNames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("emoji") << QStringLiteral("王😀五");
        QTest::newRow("hangul") << QStringLiteral("김민준");
        QTest::newRow("latin and cyrillic") << QStringLiteral("Zoë Ñúñez Жанна");
        QTest::newRow("80 chinese characters") << QString(80, QChar(0x5F20));
        QTest::newRow("250 ascii letters") << QString(250, QLatin1Char('x'));
        QTest::newRow("blanks and brackets") << QStringLiteral(" [zbt] a=b ");
    }
    void unusualNames()
    {
        QFETCH(QString, name);
        TestEvent event;
        Shell& shell = startDrawEvent(event, {name}, 1);
        QCOMPARE(shell.session().poolText, name + QStringLiteral("\r\n"));

        drawOnce(shell);

        QCOMPARE(resultLines(event.readFile(QStringLiteral("抽奖结果.txt"))),
                 QStringList{name + QStringLiteral("  ------  一等奖")});
        QCOMPARE(resultLines(event.readFile(QStringLiteral("title.txt"))), QStringList{name});
        QVERIFY(shell.screen().图片框_照片->hasPicture());
    }

    // A settings file of junk, or with a value of a megabyte, starts the program with what
    // can be read; storing a key keeps every other byte of the file.
    void hostileSettingsFile_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("mainTitle");
        const QString fallbackTitle = QStringLiteral("某某公司现场抽奖仪式");
        const QByteArray megabyte(1024 * 1024, 'M');
        QTest::newRow("random bytes") << randomBytes(256 * 1024, 3) << fallbackTitle;
        QTest::newRow("zero bytes") << QByteArray(64 * 1024, '\0') << fallbackTitle;
        QTest::newRow("a line of a megabyte without =") << "[zbt]\r\n" + megabyte + "\r\n"
                                                        << fallbackTitle;
        QTest::newRow("main title of a megabyte") << "[zbt]\r\nzbt=" + megabyte + "\r\n"
                                                  << QString(kProfileValueCap, QLatin1Char('M'));
        QTest::newRow("designated winner of a megabyte") << "[zbt]\r\na=" + megabyte + "\r\n"
                                                         << fallbackTitle;
    }
    void hostileSettingsFile()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, mainTitle);
        TestEvent event;
        event.addPhotos({QStringLiteral("甲")});
        event.writeFile(QStringLiteral("peizhi.a"), content);
        Shell& shell = event.shell();
        shell.startUp().startUp();

        QCOMPARE(shell.screen().透明标签_主标题->text(), mainTitle);
        QCOMPARE(shell.session().poolText, QStringLiteral("甲\r\n"));
        // Start-up stored the display mode by inserting its line at one place: every byte
        // of the file before and after that place is still there.
        const QByteArray after = event.readFile(QStringLiteral("peizhi.a"));
        QVERIFY(after.size() > content.size());
        qsizetype prefix = 0;
        while (prefix < content.size() && after[prefix] == content[prefix])
            ++prefix;
        qsizetype suffix = 0;
        while (suffix < content.size() - prefix &&
               after[after.size() - 1 - suffix] == content[content.size() - 1 - suffix])
            ++suffix;
        QCOMPARE(prefix + suffix, content.size());
        QCOMPARE(SettingsFile(event.dir()).readKey(u"zbt", u"界面大小"),
                 shell.session().settings.readKey(u"zbt", u"界面大小"));
        QVERIFY(!shell.session().settings.readKey(u"zbt", u"界面大小").isEmpty());
    }

    // A descramble of 100 KB that no scrambler wrote: a fixed, bounded result, fast.
    void descrambleOfJunk_data()
    {
        QTest::addColumn<QByteArray>("junk");
        QTest::addColumn<std::optional<QByteArray>>("plain");
        const QByteArray pairFor97 = QByteArray(1, kDefaultAlphabet[38]) + kDefaultAlphabet[13];
        QTest::newRow("letters outside the alphabet")
            << QByteArray(100 * 1024, '!') << std::optional<QByteArray>(QByteArray());
        QTest::newRow("one pair over and over")
            << pairFor97.repeated(50 * 1024)
            << std::optional<QByteArray>(QByteArray(50 * 1024, 'a'));
        QTest::newRow("random bytes") << randomBytes(100 * 1024, 9) << std::optional<QByteArray>();
    }
    void descrambleOfJunk()
    {
        QFETCH(QByteArray, junk);
        QFETCH(std::optional<QByteArray>, plain);
        const QByteArray result = descramble(junk);
        if (plain)
            QCOMPARE(result, *plain);
        QVERIFY(result.size() <= junk.size() / 2);
        QVERIFY(!result.contains('\0'));
        QCOMPARE(descramble(junk), result);
    }

private:
    std::unique_ptr<QTemporaryDir> m_cwd;
};

QTEST_MAIN(TestBadInputs)
#include "test_badinputs.moc"
