// Faults during an event: folders that refuse writes, files deleted or blocked in the
// middle of it, photos vanishing during a roll, no sound device, and the process killed at
// any moment. No winner is lost, and the operator hears of it when the results cannot be
// written where they belong.
#include "app/MainScreen.h"
#include "app/PictureBox.h"
#include "app/StartUp.h"
#include "data/FileIo.h"
#include "data/SettingsFile.h"
#include "data/Text.h"
#include "draw/DrawCycle.h"
#include "draw/TierChooser.h"
#include "media/FireworksOverlay.h"
#include "platform/SdlSound.h"
#include "tests/reliability/ReliabilityEvent.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTest>
#include <QThread>
#include <QTimer>

#include <unistd.h>

using namespace pd;
using namespace pd::test;

namespace {

const QString kResults = QStringLiteral("抽奖结果.txt");
const QString kCannotWrite = QStringLiteral("抽奖结果无法写入");

// Starts the helper. As another user, it runs as "nobody" when the tests run as root (root
// passes every permission check); setpriv runs it in its own process, so that killing the
// process kills the helper.
QProcess* startHelper(const QStringList& args, QObject* parent, bool asOtherUser = false)
{
    auto* process = new QProcess(parent);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
    process->setProcessEnvironment(env);
    if (asOtherUser && ::getuid() == 0) {
        process->start(QStringLiteral("setpriv"), QStringList{QStringLiteral("--reuid=nobody"),
                                                              QStringLiteral("--regid=nogroup"),
                                                              QStringLiteral("--clear-groups"),
                                                              QStringLiteral(PRIZEDRAW_HELPER)} +
                                                      args);
    } else {
        process->start(QStringLiteral(PRIZEDRAW_HELPER), args);
    }
    return process;
}

void setMode(const QString& path, QFileDevice::Permissions mode)
{
    QVERIFY(QFile::setPermissions(path, mode));
}

constexpr auto kReadOnlyFolder = QFileDevice::ReadOwner | QFileDevice::ExeOwner |
                                 QFileDevice::ReadGroup | QFileDevice::ExeGroup |
                                 QFileDevice::ReadOther | QFileDevice::ExeOther;
constexpr auto kOpenFolder =
    kReadOnlyFolder | QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther;

// The results lines written by the results loop of the helper, up to its n-th winner.
QByteArray resultsVersion(int n)
{
    QString text;
    for (int i = 1; i <= n; ++i)
        text += QStringLiteral("获奖者%1  ------  一等奖\r\n").arg(i);
    return toLocal8(text);
}

} // namespace

class TestFaults : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        m_cwd = std::make_unique<QTemporaryDir>();
        QDir::setCurrent(m_cwd->path());
    }

    // The event folder is read-only for the program during a draw: each winner reaches the
    // copy in the work folder and the operator is told once where it is. When the work
    // folder refuses too, the operator is told that nothing could be saved.
    void readOnlyEventFolder_data()
    {
        QTest::addColumn<bool>("workWritable");
        QTest::newRow("work folder takes the copy") << true;
        QTest::newRow("work folder refuses too") << false;
    }
    void readOnlyEventFolder()
    {
        QFETCH(bool, workWritable);
        TestEvent event;
        startDrawEvent(event, {QStringLiteral("甲"), QStringLiteral("乙"), QStringLiteral("丙")},
                       3);
        QTemporaryDir work;
        QVERIFY(work.isValid());
        setMode(event.dir(), kReadOnlyFolder);
        setMode(work.path(), workWritable ? kOpenFolder : kReadOnlyFolder);
        const auto restore = qScopeGuard([&] {
            QFile::setPermissions(event.dir(), kOpenFolder);
            QFile::setPermissions(work.path(), kOpenFolder);
        });

        QProcess* helper = startHelper(
            {QStringLiteral("draw"), event.dir(), work.path(), QStringLiteral("2")}, this, true);
        QVERIFY(helper->waitForFinished(60000));
        QCOMPARE(helper->exitCode(), 0);
        const QStringList out =
            QString::fromUtf8(helper->readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);

        QVERIFY(!QFileInfo::exists(event.path(kResults)));
        const QStringList messages = out.filter(QStringLiteral("message\t"));
        QCOMPARE(messages.size(), 1);
        QVERIFY(messages[0].startsWith(QStringLiteral("message\t16\t提示\t") + kCannotWrite));
        const QString results = out.filter(QStringLiteral("results\t")).value(0).mid(8);
        QCOMPARE(results.count(QStringLiteral("  ------  一等奖|")), 2);
        const QString copy = work.filePath(kResults);
        if (workWritable) {
            QVERIFY(messages[0].contains(copy));
            QCOMPARE(fromLocal8(readWholeFile(copy))
                         .replace(QStringLiteral("\r\n"), QStringLiteral("|")),
                     results);
        } else {
            QVERIFY(messages[0].contains(QStringLiteral("也无法另存到")));
            QVERIFY(!QFileInfo::exists(copy));
        }
    }

    // The results file is deleted or blocked between two draws: the next draw writes every
    // winner so far (to the work folder while it is blocked, telling the operator once),
    // and once the block is gone the event folder's file holds them all again.
    void resultsFileDeletedOrBlocked_data()
    {
        QTest::addColumn<QString>("obstacle");
        QTest::newRow("deleted") << QStringLiteral("delete");
        // Linux has no mandatory locks: a folder in the file's place is what a lock would
        // do to the program, and so is a file set read-only by hand.
        QTest::newRow("a folder in its place") << QStringLiteral("folder");
        QTest::newRow("set read-only") << QStringLiteral("readonly");
    }
    void resultsFileDeletedOrBlocked()
    {
        QFETCH(QString, obstacle);
        TestEvent event;
        Shell& shell = startDrawEvent(
            event, {QStringLiteral("甲"), QStringLiteral("乙"), QStringLiteral("丙")}, 3);
        const QString path = event.path(kResults);
        drawOnce(shell);
        QCOMPARE(resultLines(readWholeFile(path)).size(), 1);

        QVERIFY(QFile::remove(path));
        if (obstacle == QStringLiteral("folder")) {
            QVERIFY(QDir().mkdir(path));
        } else if (obstacle == QStringLiteral("readonly")) {
            event.writeFile(kResults, "old");
            setMode(path, QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther);
        }
        drawOnce(shell);
        const bool blocked = obstacle != QStringLiteral("delete");
        const QString copy = QDir(event.desktop.work).filePath(kResults);
        if (blocked) {
            QCOMPARE(resultLines(readWholeFile(copy)).size(), 2);
            QCOMPARE(event.dialogs.messages.size(), 1);
            QVERIFY(event.dialogs.messages[0].text.startsWith(kCannotWrite));
            QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
            QVERIFY(obstacle == QStringLiteral("folder") ? QDir(path).removeRecursively()
                                                         : QFile::remove(path));
        } else {
            QVERIFY(event.dialogs.messages.isEmpty());
        }
        drawOnce(shell);
        const QStringList lines = resultLines(readWholeFile(path));
        QCOMPARE(lines.size(), 3);
        QCOMPARE(QSet<QString>(lines.begin(), lines.end()).size(), 3);
        QCOMPARE(event.dialogs.messages.size(), blocked ? 1 : 0);
    }

    // The photos vanish between Start and Stop: the roll goes on over the missing files, the
    // Stop still fixes and records the winner, and the frame is left empty.
    void photosVanishDuringTheRoll_data()
    {
        QTest::addColumn<QString>("vanish");
        QTest::newRow("winner's photo deleted") << QStringLiteral("photo");
        QTest::newRow("photo folder emptied and removed") << QStringLiteral("folder");
        QTest::newRow("photo folder replaced by a file") << QStringLiteral("file");
        QTest::newRow("photo replaced by a folder") << QStringLiteral("photo-folder");
    }
    void photosVanishDuringTheRoll()
    {
        QFETCH(QString, vanish);
        TestEvent event;
        Shell& shell = startDrawEvent(event, {QStringLiteral("甲")}, 1);
        shell.drawCycle().startStop();
        shell.drawCycle().pickerTick();
        const QString photo = event.path(QStringLiteral("photo/甲.jpg"));
        if (vanish == QStringLiteral("photo")) {
            QVERIFY(QFile::remove(photo));
        } else if (vanish == QStringLiteral("photo-folder")) {
            QVERIFY(QFile::remove(photo));
            QVERIFY(QDir().mkdir(photo));
        } else {
            QVERIFY(QDir(event.path(QStringLiteral("photo"))).removeRecursively());
            if (vanish == QStringLiteral("file"))
                event.writeFile(QStringLiteral("photo"), "not a folder");
        }
        for (int i = 0; i < 5; ++i)
            shell.drawCycle().pickerTick();
        shell.drawCycle().startStop();
        shell.drawCycle().reenableTick();

        QCOMPARE(resultLines(event.readFile(kResults)),
                 QStringList{QStringLiteral("甲  ------  一等奖")});
        QVERIFY(!shell.screen().图片框_照片->hasPicture());
        QCOMPARE(shell.drawCycle().phase(), DrawCycle::Phase::Idle);
    }

    // The work folder cannot be made (its path runs through a file): the fireworks still
    // open after the Stop and close when the celebration ends, and no movie file is left
    // anywhere in the event folder.
    void unwritableWorkFolder()
    {
        TestEvent event;
        event.writeFile(QStringLiteral("afile"), "a file, not a folder");
        event.desktop.work = event.path(QStringLiteral("afile/work"));
        event.desktop.waitOverrideMs = 300;
        Shell& shell = startDrawEvent(event, {QStringLiteral("甲"), QStringLiteral("乙")}, 2);
        FireworksOverlay fireworks(&shell.screen(), event.random, event.desktop);
        shell.setCelebration(&fireworks);

        bool openDuringCelebration = false;
        shell.drawCycle().startStop();
        shell.drawCycle().pickerTick();
        QTimer::singleShot(100, this, [&] {
            openDuringCelebration = fireworks.IsOverlayOpen() && fireworks.overlayWindow() &&
                                    fireworks.overlayWindow()->isVisible();
        });
        shell.drawCycle().startStop(); // returns when the celebration is over
        QVERIFY(openDuringCelebration);
        QVERIFY(!fireworks.IsOverlayOpen());
        QVERIFY(fireworks.lastMovie() >= 1 && fireworks.lastMovie() <= 7);
        QTRY_COMPARE(shell.drawCycle().phase(), DrawCycle::Phase::Idle);
        QCOMPARE(resultLines(event.readFile(kResults)).size(), 1);
        QVERIFY(event.dialogs.messages.isEmpty());
    }

    // No sound device: the real sound service stays silent, music switched on or not, and
    // the draw goes on.
    void noSoundDevice()
    {
        const QByteArray driver = qgetenv("SDL_AUDIODRIVER");
        qputenv("SDL_AUDIODRIVER", "no-such-driver");
        const auto restore = qScopeGuard([&driver] { qputenv("SDL_AUDIODRIVER", driver); });
        SdlSound sound;
        QVERIFY(!sound.isOpen());
        TestEvent event;
        event.writeFile(QStringLiteral("wav/bjyy.mp3"), "not really music");
        Shell shell(event.dialogs, event.desktop, sound, event.random);
        event.addPhotos({QStringLiteral("甲"), QStringLiteral("乙")});
        event.writeSettings({{QStringLiteral("zbt"),
                              {{QStringLiteral("特等奖"), QStringLiteral("一等奖")},
                               {QStringLiteral("特等奖人数"), QStringLiteral("2")},
                               {QStringLiteral("背景音乐"), QStringLiteral("真")}}}});
        shell.startUp().startUp();
        shell.screen().组合框1->setEditText(QStringLiteral("一等奖"));
        shell.tierChooser().chooseTier(true);
        drawOnce(shell);
        drawOnce(shell);
        QCOMPARE(resultLines(event.readFile(kResults)).size(), 2);
        QVERIFY(event.dialogs.messages.isEmpty());
    }

    // Killed with SIGKILL at any moment while it rewrites a file over and over: the file is
    // always one complete version, the previous one or the new one.
    void killedAtAnyMoment_data()
    {
        QTest::addColumn<QString>("mode");
        QTest::newRow("results file") << QStringLiteral("results-loop");
        QTest::newRow("settings file") << QStringLiteral("settings-loop");
    }
    void killedAtAnyMoment()
    {
        QFETCH(QString, mode);
        QTemporaryDir folder;
        const bool results = mode == QStringLiteral("results-loop");
        const QString file = folder.filePath(results ? kResults : QStringLiteral("peizhi.a"));
        QRandomGenerator random(42);
        int largest = 0;
        for (int round = 0; round < 20; ++round) {
            QVERIFY(!QFileInfo::exists(file) || QFile::remove(file));
            QProcess* helper = startHelper({mode, folder.path()}, this);
            QVERIFY(helper->waitForStarted());
            QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(file), 30000);
            QThread::msleep(random.bounded(0, 300));
            helper->kill();
            QVERIFY(helper->waitForFinished());
            delete helper;

            if (results) {
                const QByteArray bytes = readWholeFile(file);
                const int n = int(resultLines(bytes).size());
                QCOMPARE(bytes, resultsVersion(n));
                largest = qMax(largest, n);
            } else {
                const SettingsFile settings(folder.path());
                const int n = settings.readKey(u"zbt", u"计数").toInt();
                for (const int i : {1, n / 2, n}) {
                    if (i >= 1)
                        QCOMPARE(settings.readKey(u"zbt", QStringLiteral("键%1").arg(i)),
                                 QStringLiteral("值%1").arg(i));
                }
                // The count is stored after its key, so at most that key is one ahead.
                QVERIFY(settings.readKey(u"zbt", QStringLiteral("键%1").arg(n + 2)).isEmpty());
                largest = qMax(largest, n);
            }
        }
        QVERIFY2(largest > 1, "the helper was always killed before its second write");
        qInfo("largest version seen: %d; files left in the folder: %lld", largest,
              qlonglong(QDir(folder.path()).entryList(QDir::Files).size()));
    }

private:
    std::unique_ptr<QTemporaryDir> m_cwd;
};

QTEST_MAIN(TestFaults)
#include "test_faults.moc"
