// The real program in a real X server, driven by xdotool the way an operator drives it: the
// tier typed into the chooser, Enter to start and to stop, twice over, and Enter again on a
// finished tier. The files the program writes are read back.
#include "data/Text.h"
#include "draw/PrizeTier.h"
#include "platform/Random.h"
#include "settings/TextScrambler.h"
#include "tests/support/ProgramUnderX.h"
#include "tools/photogen/PhotoGenerator.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace pd;
using namespace pd::test;

namespace {
QString u8(const char* s)
{
    return QString::fromUtf8(s);
}

QByteArray readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QStringList lines(const QByteArray& bytes)
{
    return fromLocal8(bytes).split(u8("\r\n"), Qt::SkipEmptyParts);
}
} // namespace

class TestE2eDraw : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        if (qEnvironmentVariableIsEmpty("DISPLAY"))
            QSKIP("needs an X server (test.sh starts one)");
    }

    // The program copied alone into an empty folder makes it an event folder: it opens at the
    // screen's size and stores its display mode there.
    void startsInAnEmptyFolder()
    {
        QTemporaryDir event;
        QVERIFY(copyProgramInto(event.path()));
        ProgramUnderX program(event.path());
        QVERIFY(program.process.waitForStarted());
        const QString window = program.waitForWindow(u8("现场抽奖"));
        QVERIFY(!window.isEmpty());
        QTRY_VERIFY_WITH_TIMEOUT(
            xdotool({u8("getwindowgeometry"), window}).contains(u8("Geometry: 1366x768")), 5000);
        QCOMPARE(readFile(event.filePath(u8("peizhi.a"))),
                 QByteArray("[zbt]\r\n") + toLocal8(u8("界面大小=全屏\r\n")));
        QCOMPARE(readFile(event.filePath(u8("title.txt"))), QByteArray());
    }

    // The operator's way to change a tier: right-click, "奖项设置", the password window,
    // the panel, a new winner count, Save, then the draw follows the new count.
    void settingsChangedThroughTheMenu()
    {
        QTemporaryDir event;
        QVERIFY(copyProgramInto(event.path()));
        QDir().mkpath(event.filePath(u8("photo")));
        PhotoOptions options;
        options.size = QSize(150, 190);
        const QStringList people = {u8("赵一"), u8("钱二"), u8("孙三"), u8("李四")};
        for (const QString& name : people) {
            QFile photo(event.filePath(u8("photo/") + name + u8(".jpg")));
            QVERIFY(photo.open(QIODevice::WriteOnly));
            photo.write(makePhoto(name, 11, options));
        }
        QFile file(event.filePath(u8("peizhi.a")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("[zbt]\r\n" + toLocal8(tierDesignName(1)) + "=A\r\n"
                   + toLocal8(tierDesignName(1) + u8("人数")) + "=1\r\n"
                   + toLocal8(u8("禁用特效=真\r\n")));
        file.close();

        ProgramUnderX program(event.path());
        QVERIFY(program.process.waitForStarted());
        const QString window = program.waitForWindow(u8("现场抽奖"));
        QVERIFY(!window.isEmpty());
        xdotool({u8("windowactivate"), u8("--sync"), window});

        // Right-click the background; the third entry of the menu is "奖项设置".
        xdotool({u8("mousemove"), u8("100"), u8("300"), u8("click"), u8("3")});
        QTest::qWait(500);
        xdotool({u8("key"), u8("Down"), u8("Down"), u8("Down"), u8("Return")});
        QString gate;
        QTRY_VERIFY_WITH_TIMEOUT(!(gate = xdotool({u8("getactivewindow")})).isEmpty()
                                     && gate != window,
                                 5000);
        // No password is set: "进入设置" with an empty box opens the panel.
        xdotool({u8("mousemove"), u8("--window"), gate, u8("116"), u8("96"), u8("click"), u8("1")});
        QTest::qWait(500);
        // The panel's first winner count box, then Save (panel at 328,176; group at 2,22).
        xdotool({u8("mousemove"), u8("439"), u8("242"), u8("click"), u8("1")});
        xdotool({u8("key"), u8("ctrl+a"), u8("2")});
        xdotool({u8("mousemove"), u8("456"), u8("536"), u8("click"), u8("1")});
        QTRY_VERIFY_WITH_TIMEOUT(fromLocal8(readFile(event.filePath(u8("peizhi.a"))))
                                     .contains(tierDesignName(1) + u8("人数=2")),
                                 5000);
        QTest::qWait(500);
        xdotool({u8("key"), u8("Return")}); // "设置完毕！…"
        QTest::qWait(300);
        xdotool({u8("windowactivate"), u8("--sync"), window});

        xdotool({u8("mousemove"), u8("220"), u8("709"), u8("click"), u8("1")});
        xdotool({u8("type"), u8("A")});
        QTest::qWait(300);
        for (int draw = 1; draw <= 2; ++draw) {
            xdotool({u8("key"), u8("Return")});
            QTest::qWait(300);
            xdotool({u8("key"), u8("Return")});
            QTRY_COMPARE_WITH_TIMEOUT(lines(readFile(event.filePath(u8("抽奖结果.txt")))).size(),
                                      draw, 5000);
            QTest::qWait(400);
        }
    }

    void enterDrawsATierToItsEnd()
    {
        QTemporaryDir event;
        QVERIFY(copyProgramInto(event.path()));
        PhotoOptions options;
        options.size = QSize(150, 190);
        const QStringList people = {u8("张伟"), u8("王芳"), u8("李娜"), u8("刘洋"), u8("陈静")};
        quint32 seed = 7;
        QDir().mkpath(event.filePath(u8("photo")));
        for (const QString& name : people) {
            QFile photo(event.filePath(u8("photo/") + name + u8(".jpg")));
            QVERIFY(photo.open(QIODevice::WriteOnly));
            photo.write(makePhoto(name, seed++, options));
        }
        // A tier "A" of two winners whose last draw goes to a designated winner.
        Random rng;
        qint64 clock = 1000;
        const QByteArray designated =
            scramble(toLocal8(people[4]), rng, [&clock] { return clock++; });
        QByteArray settings = "[zbt]\r\n";
        settings += toLocal8(tierDesignName(1)) + "=A\r\n";
        settings += toLocal8(tierDesignName(1) + u8("人数")) + "=2\r\n";
        settings += "a=" + designated + "\r\n";
        QFile file(event.filePath(u8("peizhi.a")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(settings);
        file.close();
        QFile pickFile(event.filePath(u8("zj.txt")));
        QVERIFY(pickFile.open(QIODevice::WriteOnly));
        pickFile.close();

        ProgramUnderX program(event.path());
        QVERIFY(program.process.waitForStarted());
        const QString window = program.waitForWindow(u8("现场抽奖"));
        QVERIFY(!window.isEmpty());
        xdotool({u8("windowactivate"), u8("--sync"), window});

        // The chooser sits at the lower left: 45 pixels above the bottom of a 768-line screen.
        xdotool({u8("mousemove"), u8("220"), u8("709"), u8("click"), u8("1")});
        xdotool({u8("type"), u8("--delay"), u8("50"), u8("A")});
        QTest::qWait(300);

        for (int draw = 1; draw <= 2; ++draw) {
            xdotool({u8("key"), u8("Return")}); // Start (closes the last fireworks too)
            QTest::qWait(400);
            xdotool({u8("key"), u8("Return")}); // Stop
            QTRY_COMPARE_WITH_TIMEOUT(lines(readFile(event.filePath(u8("抽奖结果.txt")))).size(),
                                      draw, 5000);
            QTest::qWait(400); // past the cool-down
        }

        // The tier is done: the next Enter is answered by a message box.
        xdotool({u8("key"), u8("Return")});
        QVERIFY(!program.waitForWindow(u8("信息提示"), 5000).isEmpty());
        xdotool({u8("key"), u8("Return")});

        const QStringList results = lines(readFile(event.filePath(u8("抽奖结果.txt"))));
        const QStringList picks = lines(readFile(event.filePath(u8("zj.txt"))));
        QCOMPARE(results.size(), 2);
        QCOMPARE(picks.size(), 2);
        // The last draw of the tier announces the designated winner, byte for byte.
        QVERIFY(readFile(event.filePath(u8("抽奖结果.txt")))
                    .endsWith(toLocal8(people[4] + u8("  ------  A\r\n"))));
        QVERIFY(results[0].endsWith(u8("  ------  A")));
        const QString first = results[0].section(u8("  ------  "), 0, 0);
        QVERIFY(people.mid(0, 4).contains(first));
        // The pick file holds the random picks: two different people, never the designated one.
        QCOMPARE(picks[0], first);
        QVERIFY(picks[1] != picks[0]);
        QVERIFY(people.mid(0, 4).contains(picks[1]));
        QVERIFY(program.process.state() == QProcess::Running);
    }
};

QTEST_MAIN(TestE2eDraw)
#include "test_e2e_draw.moc"
