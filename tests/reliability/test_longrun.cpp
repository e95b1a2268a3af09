// Many draws in a row through the whole program over the offscreen screen, effects on, the
// timers running for real: no winner twice (repeats off, distinct names, no Save between),
// open files and memory flat, the roll keeping its pace. The figures are printed; the
// number of draws is PRIZEDRAW_LONGRUN_DRAWS (50 by default, 1000 in tools/longrun.sh).
#include "app/MainScreen.h"
#include "draw/DrawCycle.h"
#include "draw/PreviewCache.h"
#include "media/FireworksOverlay.h"
#include "platform/SdlSound.h"
#include "tests/reliability/ReliabilityEvent.h"
#include "tools/photogen/PhotoGenerator.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTest>
#include <QTimer>

#include <cstdio>

using namespace pd;
using namespace pd::test;

namespace {

qint64 residentKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
    }
    return -1;
}

int openFiles()
{
    return int(QDir(QStringLiteral("/proc/self/fd")).entryList(QDir::Files | QDir::System).size());
}

struct Sample
{
    int draw = 0;
    qint64 residentKb = 0;
    int openFiles = 0;
};

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kAddressSanitizer = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kAddressSanitizer = true;
#else
constexpr bool kAddressSanitizer = false;
#endif
#else
constexpr bool kAddressSanitizer = false;
#endif

} // namespace

class TestLongRun : public QObject
{
    Q_OBJECT
private slots:
    void consecutiveDraws()
    {
        const int draws = qEnvironmentVariableIntValue("PRIZEDRAW_LONGRUN_DRAWS") > 0
                              ? qEnvironmentVariableIntValue("PRIZEDRAW_LONGRUN_DRAWS")
                              : 50;
        constexpr int rollMs = 150;
        constexpr int celebrationMs = 100;
        QTemporaryDir cwd;
        QDir::setCurrent(cwd.path());
        TestEvent event;
        // The fireworks play for a tenth of their four seconds, so that the run ends in
        // minutes; everything else runs at its real pace.
        event.desktop.waitOverrideMs = celebrationMs;
        SdlSound sound;
        const QStringList names = chineseNames(draws + 20, 2024);
        Shell& shell = startDrawEvent(event, names, draws);
        FireworksOverlay fireworks(&shell.screen(), event.random, event.desktop);
        shell.setCelebration(&fireworks);
        shell.screen().show();
        // At an event the program starts well before the first draw: its roll previews are
        // ready by then.
        QTRY_VERIFY_WITH_TIMEOUT(shell.session().previews.isIdle(), 120000);
        DrawCycle& cycle = shell.drawCycle();
        // The times of the picker's ticks in the current roll.
        QList<qint64> ticks;
        QElapsedTimer clock;
        clock.start();
        QObject::connect(cycle.时钟_取随机, &QTimer::timeout, this,
                         [&ticks, &clock] { ticks.append(clock.nsecsElapsed()); });

        QList<Sample> samples;
        QList<double> tickPeriods;
        qsizetype totalTicks = 0;
        const int warmUp = qMin(10, draws / 5);
        QElapsedTimer whole;
        whole.start();
        for (int draw = 1; draw <= draws; ++draw) {
            ticks.clear();
            cycle.startStop();
            QCOMPARE(cycle.phase(), DrawCycle::Phase::Rolling);
            QTest::qWait(rollMs);
            totalTicks += ticks.size();
            if (ticks.size() > 1)
                tickPeriods.append(double(ticks.last() - ticks.first()) / 1e6 /
                                   double(ticks.size() - 1));
            cycle.startStop();
            QVERIFY(!fireworks.IsOverlayOpen());
            QTRY_COMPARE_WITH_TIMEOUT(cycle.phase(), DrawCycle::Phase::Idle, 5000);
            if (draw == warmUp || draw == draws || draw % 100 == 0)
                samples.append({draw, residentKb(), openFiles()});
        }
        const double seconds = double(whole.elapsed()) / 1000.0;

        const QStringList lines = resultLines(event.readFile(QStringLiteral("抽奖结果.txt")));
        QCOMPARE(lines.size(), draws);
        QSet<QString> winners;
        for (const QString& line : lines)
            winners.insert(winnerOf(line));
        QCOMPARE(winners.size(), draws);

        const auto meanOf = [&tickPeriods](qsizetype from, qsizetype count) {
            double sum = 0;
            for (qsizetype i = from; i < from + count; ++i)
                sum += tickPeriods[i];
            return sum / double(count);
        };
        // The pace is a figure to read, as it depends on the machine's load; that the
        // picker keeps ticking is the behaviour.
        QVERIFY2(totalTicks >= draws, "the roll stalls");
        QVERIFY(!tickPeriods.isEmpty());
        const qsizetype tenth = qMax<qsizetype>(1, tickPeriods.size() / 10);
        std::printf("draws: %d in %.1f s, period set %d ms, %lld ticks\n", draws, seconds,
                    shell.session().state.rollPeriodMs, qlonglong(totalTicks));
        std::printf("mean tick period, first tenth of the draws: %.1f ms, last tenth: %.1f ms\n",
                    meanOf(0, tenth), meanOf(tickPeriods.size() - tenth, tenth));
        for (const Sample& sample : samples)
            std::printf("after draw %d: VmRSS %lld kB, open files %d\n", sample.draw,
                        sample.residentKb, sample.openFiles);
        std::fflush(stdout);

        const Sample& first = samples.first();
        const Sample& last = samples.last();
        QVERIFY2(last.openFiles <= first.openFiles + 2, "open files grow with the draws");
        // The sanitizer keeps freed memory in quarantine, so memory is judged in normal builds
        // only; there the leak checker finds what is lost.
        if (!kAddressSanitizer) {
            QVERIFY2(last.residentKb - first.residentKb < 32 * 1024, "memory grows with the draws");
        }
    }
};

QTEST_MAIN(TestLongRun)
#include "test_longrun.moc"
