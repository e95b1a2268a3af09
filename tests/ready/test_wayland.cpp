// The program under a Wayland compositor: Debian's weston with its headless backend, on a
// socket of its own. The real program starts there and makes its event folder; a draw runs
// with the program's own objects and the fireworks overlay, which is translucent there.
// Exits with 77 (reported as skipped) only when weston cannot start.
#include "app/MainScreen.h"
#include "data/Text.h"
#include "draw/DrawCycle.h"
#include "draw/TierChooser.h"
#include "media/FireworksOverlay.h"
#include "tests/support/TestEvent.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <QWindow>

#include <cstdio>

using namespace pd;
using namespace pd::test;

namespace {
QString u8(const char* s)
{
    return QString::fromUtf8(s);
}

bool waitForFile(const QString& path, int ms)
{
    QDeadlineTimer deadline(ms);
    while (!QFile::exists(path)) {
        if (deadline.hasExpired())
            return false;
        QThread::msleep(50);
    }
    return true;
}
} // namespace

class TestWayland : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { QCOMPARE(QGuiApplication::platformName(), u8("wayland")); }

    // The executable itself, copied into an empty folder, starts under Wayland and stays up.
    void programStartsAndStays()
    {
        QTemporaryDir event;
        QVERIFY(QFile::copy(QStringLiteral(PRIZEDRAW_EXE), event.filePath(u8("prizedraw"))));
        QProcess program;
        program.setWorkingDirectory(event.path());
        program.setProcessChannelMode(QProcess::MergedChannels);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(u8("XDG_CACHE_HOME"), event.filePath(u8("cache")));
        program.setProcessEnvironment(env);
        program.start(event.filePath(u8("prizedraw")), {});
        QVERIFY(program.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(event.filePath(u8("peizhi.a"))), 10000);
        QVERIFY(!program.waitForFinished(2000));
        const QString output = QString::fromUtf8(program.readAll());
        QVERIFY2(!output.contains(u8("qt.qpa")) && !output.contains(u8("Could not")),
                 qPrintable(output));
        program.kill();
        program.waitForFinished();
    }

    // A winner drawn with fireworks on: the overlay opens translucent over the main window,
    // the result is written, and the overlay is gone after its four seconds.
    void drawWithFireworks()
    {
        QTemporaryDir cwd;
        QDir::setCurrent(cwd.path());
        TestEvent event;
        event.addPhotos({u8("张伟"), u8("王芳"), u8("李娜")});
        event.writeSettings({{u8("zbt"), {{u8("特等奖"), u8("A")}, {u8("特等奖人数"), u8("2")}}}});
        event.desktop.work = event.path(u8("cache"));
        event.desktop.waitOverrideMs = 600;
        Shell& shell = event.shell();
        FireworksOverlay fireworks(&shell.screen(), event.random, event.desktop);
        shell.setCelebration(&fireworks);
        shell.start();
        MainScreen& s = shell.screen();
        QVERIFY(QTest::qWaitForWindowExposed(&s));

        s.组合框1->setCurrentIndex(0); // "A", chosen from the list
        shell.tierChooser().chooseTier(true);
        bool sawOverlay = false;
        bool translucent = false;
        QTimer probe;
        QObject::connect(&probe, &QTimer::timeout, [&] {
            if (QWidget* w = fireworks.overlayWindow(); w && w->isVisible()) {
                sawOverlay = sawOverlay || (w->windowHandle() && w->windowHandle()->isExposed());
                translucent = translucent || w->testAttribute(Qt::WA_TranslucentBackground);
            }
        });
        probe.start(50);
        // The headless compositor has no seat, so neither keys nor clicks reach the window:
        // the presses go straight to the button's handler.
        shell.drawCycle().startStop(); // Start
        QTest::qWait(300);
        shell.drawCycle().startStop(); // Stop: the winner, then the fireworks
        QTRY_VERIFY_WITH_TIMEOUT(!fireworks.IsOverlayOpen() && s.超级按钮->isEnabled(), 5000);
        QVERIFY(sawOverlay);
        QVERIFY(translucent);
        QVERIFY(fireworks.lastMovie() >= 1 && fireworks.lastMovie() <= 7);
        const QString results = fromLocal8(event.readFile(u8("抽奖结果.txt")));
        QVERIFY2(results.endsWith(u8("  ------  A\r\n")), qPrintable(results));
        QVERIFY(s.透明标签_恭喜->text().startsWith(u8("恭喜您： ")));
    }
};

int main(int argc, char** argv)
{
    QTemporaryDir runtime;
    QFile::setPermissions(runtime.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    const QString socket =
        QStringLiteral("prizedraw-test-%1").arg(QCoreApplication::applicationPid());
    qputenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit());
    QProcess weston;
    weston.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    weston.setStandardOutputFile(QProcess::nullDevice());
    weston.start(QStringLiteral("weston"),
                 {QStringLiteral("--backend=headless-backend.so"),
                  QStringLiteral("--socket=") + socket, QStringLiteral("--width=1366"),
                  QStringLiteral("--height=768"), QStringLiteral("--idle-time=0"),
                  QStringLiteral("--no-config")});
    if (!weston.waitForStarted(5000) || !waitForFile(runtime.filePath(socket), 10000)) {
        std::fprintf(stderr, "SKIP: weston could not start\n");
        return 77;
    }
    qputenv("WAYLAND_DISPLAY", socket.toLocal8Bit());
    qputenv("QT_QPA_PLATFORM", "wayland");
    int result = 0;
    {
        QApplication app(argc, argv);
        TestWayland test;
        result = QTest::qExec(&test, argc, argv);
    }
    weston.terminate();
    if (!weston.waitForFinished(5000))
        weston.kill();
    return result;
}

#include "test_wayland.moc"
