// The fireworks over the real program in a real X server: wherever no firework is drawn the
// main screen shows unchanged, with a shape mask when no compositor runs and through
// translucency when one does.
#include "data/Text.h"
#include "draw/PrizeTier.h"
#include "tests/support/ProgramUnderX.h"
#include "tools/photogen/PhotoGenerator.h"

#include <QDir>
#include <QFile>
#include <QImage>
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

QImage screenshot(const QString& path)
{
    runTool(QStringLiteral("import"), {u8("-window"), u8("root"), path});
    return QImage(path).convertToFormat(QImage::Format_RGB32);
}

struct Difference
{
    double equalShare = 0;
    double changedShare = 0;
};

Difference compare(const QImage& a, const QImage& b)
{
    Difference d;
    if (a.size() != b.size() || a.isNull())
        return d;
    qint64 equal = 0;
    qint64 changed = 0;
    for (int y = 0; y < a.height(); ++y) {
        const auto* la = reinterpret_cast<const QRgb*>(a.constScanLine(y));
        const auto* lb = reinterpret_cast<const QRgb*>(b.constScanLine(y));
        for (int x = 0; x < a.width(); ++x) {
            const int delta = qAbs(qRed(la[x]) - qRed(lb[x])) + qAbs(qGreen(la[x]) - qGreen(lb[x]))
                              + qAbs(qBlue(la[x]) - qBlue(lb[x]));
            equal += delta <= 6;
            changed += delta > 60;
        }
    }
    const double total = double(a.width()) * a.height();
    d.equalShare = equal / total;
    d.changedShare = changed / total;
    return d;
}
} // namespace

class TestE2eOverlay : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        if (qEnvironmentVariableIsEmpty("DISPLAY"))
            QSKIP("needs an X server (test.sh starts one)");
        if (runTool(u8("sh"), {u8("-c"), u8("command -v import xdotool")}).count(u8("/")) < 2)
            QSKIP("needs ImageMagick's import and xdotool");
    }

    void fireworksLeaveTheScreenVisible_data()
    {
        QTest::addColumn<bool>("compositor");
        QTest::newRow("shape mask") << false;
        QTest::newRow("compositor") << true;
    }
    void fireworksLeaveTheScreenVisible()
    {
        QFETCH(bool, compositor);
        QProcess composer;
        if (compositor) {
            if (runTool(u8("sh"), {u8("-c"), u8("command -v xcompmgr")}).isEmpty())
                QSKIP("xcompmgr is not installed");
            composer.start(u8("xcompmgr"), {});
            QVERIFY(composer.waitForStarted());
            QTest::qWait(500);
        }
        auto stopComposer = qScopeGuard([&composer] {
            composer.kill();
            composer.waitForFinished();
        });

        QTemporaryDir event;
        QVERIFY(copyProgramInto(event.path()));
        QDir().mkpath(event.filePath(u8("photo")));
        PhotoOptions options;
        options.size = QSize(300, 380);
        for (const QString& name : {u8("张伟"), u8("王芳"), u8("李娜")}) {
            QFile photo(event.filePath(u8("photo/") + name + u8(".jpg")));
            QVERIFY(photo.open(QIODevice::WriteOnly));
            photo.write(makePhoto(name, 3, options));
        }
        QFile settings(event.filePath(u8("peizhi.a")));
        QVERIFY(settings.open(QIODevice::WriteOnly));
        settings.write("[zbt]\r\n" + toLocal8(tierDesignName(1)) + "=A\r\n"
                       + toLocal8(tierDesignName(1) + u8("人数")) + "=3\r\n");
        settings.close();

        ProgramUnderX program(event.path());
        QVERIFY(program.process.waitForStarted());
        const QString window = program.waitForWindow(u8("现场抽奖"));
        QVERIFY(!window.isEmpty());
        xdotool({u8("windowactivate"), u8("--sync"), window});
        xdotool({u8("mousemove"), u8("220"), u8("709"), u8("click"), u8("1")});
        xdotool({u8("type"), u8("A")});
        QTest::qWait(300);
        xdotool({u8("key"), u8("Return")});
        QTest::qWait(300);
        xdotool({u8("key"), u8("Return")});

        // The fireworks play for four seconds over a screen that no longer changes.
        QList<QImage> during;
        for (int i = 0; i < 5; ++i) {
            QTest::qWait(550);
            during << screenshot(event.filePath(u8("during%1.png").arg(i)));
        }
        QTest::qWait(2000);
        const QImage after = screenshot(event.filePath(u8("after.png")));
        QVERIFY(!after.isNull());

        double mostChanged = 0;
        for (const QImage& shot : during) {
            const Difference d = compare(shot, after);
            // Wherever no firework is drawn the main screen shows through unchanged.
            QVERIFY2(d.equalShare > 0.6, qPrintable(u8("only %1 of the screen unchanged").arg(d.equalShare)));
            mostChanged = qMax(mostChanged, d.changedShare);
        }
        // The winner's line, yellow under the photo frame (it ends 10 pixels below the
        // 380-pixel frame that starts at 178), shows under the fireworks and after them.
        for (const QImage& shot : {during.first(), after}) {
            int yellow = 0;
            for (int y = 568; y < 616; ++y)
                for (int x = 0; x < shot.width(); ++x) {
                    const QRgb p = shot.pixel(x, y);
                    yellow += qRed(p) > 220 && qGreen(p) > 220 && qBlue(p) < 80;
                }
            QVERIFY2(yellow > 500, qPrintable(u8("winner's line: %1 yellow pixels").arg(yellow)));
        }
        // And the fireworks are there.
        QVERIFY2(mostChanged > 0.002, qPrintable(u8("fireworks cover only %1").arg(mostChanged)));
        QVERIFY(program.process.state() == QProcess::Running);
    }
};

QTEST_MAIN(TestE2eOverlay)
#include "test_e2e_overlay.moc"
