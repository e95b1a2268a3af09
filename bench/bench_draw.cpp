// bench_draw: the roll of the program itself (its main window, start-up and draw cycle over
// the scripted platform, painted offscreen) on large photo folders. Prints one line per
// measure: "bench <name> <value> <unit>". The whole-file fallback and the full decode are
// measured in the same run, so the ratios hold on a busy machine.
//
//   bench_draw                  generates the photo folders: --count names made of --distinct
//                               photo files (hard links), with and without embedded preview
//   bench_draw --photos DIR     uses the *.jpg photos of DIR (linked into an event folder)
//
// Measures, in order: a 1 ms timer on an idle user-interface thread (the machine's own
// hiccups), start-up to first paint and the preparation of previews on the first start (during
// a roll, with a 1 ms timer watching the user-interface thread), the
// second start reusing the kept previews, roll ticks with prepared previews, frames painted
// during a roll driven by the picker timer, the winner's photo after Stop, memory over many
// ticks, and the old whole-file fallback and full decode for comparison.
#include "bench/BenchFigures.h"
#include "bench/BenchPreviews.h"

#include "app/MainScreen.h"
#include "app/PictureBox.h"
#include "app/Shell.h"
#include "data/Text.h"
#include "draw/DrawCycle.h"
#include "draw/PrizeTier.h"
#include "draw/TierChooser.h"
#include "draw/WinnerSelection.h"
#include "media/PictureDecoder.h"
#include "platform/FakePlatform.h"
#include "platform/Random.h"
#include "tools/photogen/PhotoGenerator.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTimer>

#include <sys/resource.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

namespace {

using bench::note;
using bench::percentile;
using bench::photosIn;
using bench::print;

double msSince(const QElapsedTimer& timer)
{
    return double(timer.nsecsElapsed()) / 1e6;
}

double residentMb()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? double(fields[1].toLongLong()) * double(::sysconf(_SC_PAGESIZE)) /
                                   (1024.0 * 1024.0)
                             : 0;
}

// Counts the paints of the photo frame and notes when the first paint of any window came.
class PaintWatch final : public QObject
{
public:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint) {
            if (firstPaintMs < 0 && clock.isValid())
                firstPaintMs = msSince(clock);
            if (watched == frame)
                ++framePaints;
        }
        return false;
    }
    QObject* frame = nullptr;
    qint64 framePaints = 0;
    double firstPaintMs = -1;
    QElapsedTimer clock;
};

// The application, timing the processor time of each event it delivers on the user-interface
// thread while asked to: the longest is the longest piece of work that kept the thread from
// answering, whatever the machine's own scheduling did meanwhile.
class TimedApplication final : public QApplication
{
public:
    using QApplication::QApplication;

    bool notify(QObject* receiver, QEvent* event) override
    {
        if (!timing)
            return QApplication::notify(receiver, event);
        const double before = threadCpuMs();
        const int type = int(event->type());
        const bool handled = QApplication::notify(receiver, event);
        const double spent = threadCpuMs() - before;
        if (spent > longestMs) {
            longestMs = spent;
            longest = QStringLiteral("event %1 to %2")
                          .arg(type)
                          .arg(receiver->objectName().isEmpty()
                                   ? QLatin1String(receiver->metaObject()->className())
                                   : receiver->objectName());
        }
        return handled;
    }

    static double threadCpuMs()
    {
        timespec now{};
        ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
        return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
    }

    bool timing = false;
    double longestMs = 0;
    QString longest;
};

// Times the user-interface thread was taken off its core by the kernel for another thread,
// and pages it had to be given (each a fault).
rusage usageOfThisThread()
{
    rusage usage{};
    ::getrusage(RUSAGE_THREAD, &usage);
    return usage;
}

// Runs a 1 ms timer until done() says so and returns, for each firing after the first, how
// late it came: time the user-interface thread could not answer. Each firing first runs
// onFiring (its own time is part of the next gap).
std::vector<double> watchGaps(const std::function<bool()>& done,
                              const std::function<void(int firing)>& onFiring)
{
    // Room for ten minutes of firings: growing the vector during the watch would itself
    // stall the thread (a copy into fresh pages).
    std::vector<double> gaps;
    gaps.reserve(600'000);
    QElapsedTimer sinceLast;
    sinceLast.start();
    int firings = 0;
    QTimer watchdog;
    watchdog.setTimerType(Qt::PreciseTimer);
    QEventLoop loop;
    QObject::connect(&watchdog, &QTimer::timeout, &loop, [&] {
        // The first firing may wait behind whatever ran before the watch.
        if (firings > 0)
            gaps.push_back(std::max(0.0, msSince(sinceLast) - 1.0));
        onFiring(++firings);
        if (done())
            loop.quit();
        sinceLast.start();
    });
    watchdog.start(1);
    loop.exec();
    return gaps;
}

// The longest gap, the 99.9th and 99th percentiles, and how often per minute a gap went over
// 2 ms, which compares watches of different lengths.
void printGaps(const char* watch, const std::vector<double>& gaps)
{
    const auto name = [watch](const char* measure) { return QByteArray(measure) + '_' + watch; };
    print(name("ui_stall_max"), percentile(gaps, 1.0), "ms");
    print(name("ui_stall_p999"), percentile(gaps, 0.999), "ms");
    print(name("ui_stall_p99"), percentile(gaps, 0.99), "ms");
    double watchedMs = 0;
    for (const double gap : gaps)
        watchedMs += gap + 1.0;
    const auto over =
        std::count_if(gaps.cbegin(), gaps.cend(), [](double gap) { return gap > 2.0; });
    print(name("ui_stall_over_2ms"), watchedMs > 0 ? double(over) * 60000.0 / watchedMs : 0,
          "per_minute", 1);
}

// An event folder and one run of the program over it.
class Event final
{
public:
    Event(const QString& folder, const QString& work) : m_folder(folder)
    {
        desktop.runDir = folder;
        desktop.work = work;
        desktop.screen = QSize(1920, 1080);
        desktop.waitOverrideMs = 0;
        QFile settings(folder + QStringLiteral("/peizhi.a"));
        if (settings.open(QIODevice::WriteOnly))
            settings.write(pd::toLocal8(QStringLiteral("[zbt]\r\n") + pd::tierDesignName(1) +
                                        QStringLiteral("=一等奖\r\n") + pd::tierDesignName(1) +
                                        QStringLiteral("人数=1000\r\n禁用特效=真\r\n")));
    }

    // Start-up as main() runs it; returns the time to the first paint.
    double start(PaintWatch& watch)
    {
        QDir::setCurrent(m_folder);
        watch.firstPaintMs = -1;
        watch.clock.start();
        shell = std::make_unique<pd::Shell>(dialogs, desktop, sound, random);
        shell->start();
        while (watch.firstPaintMs < 0 && watch.clock.elapsed() < 10000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        watch.frame = shell->screen().图片框_照片;
        shell->screen().图片框_照片->show();
        shell->session().state.pool = pd::splitPool(shell->session().poolText);
        return watch.firstPaintMs;
    }

    void chooseTier()
    {
        shell->screen().组合框1->setEditText(QStringLiteral("一等奖"));
        shell->tierChooser().chooseTier(true);
    }

    pd::FakeDialogs dialogs;
    pd::FakeDesktop desktop;
    pd::FakeSound sound;
    pd::Random random;
    std::unique_ptr<pd::Shell> shell;

private:
    QString m_folder;
};

// Ticks called directly; at most count, and no more once maxSeconds have passed.
std::vector<double> timedTicks(pd::Shell& shell, int count, int maxSeconds = 0)
{
    std::vector<double> ms;
    ms.reserve(size_t(count));
    QElapsedTimer timer;
    QElapsedTimer all;
    all.start();
    for (int i = 0; i < count; ++i) {
        if (maxSeconds > 0 && all.elapsed() > maxSeconds * 1000)
            break;
        timer.start();
        shell.drawCycle().pickerTick();
        ms.push_back(msSince(timer));
        if (i % 200 == 199)
            QCoreApplication::processEvents();
    }
    return ms;
}

void printTimes(const char* median, const char* p99, const std::vector<double>& ms)
{
    print(median, percentile(ms, 0.5), "ms");
    print(p99, percentile(ms, 0.99), "ms");
    QStringList slow;
    for (size_t i = 0; i < ms.size(); ++i)
        if (ms[i] > 2.0)
            slow << QStringLiteral("%1:%2").arg(i).arg(ms[i], 0, 'f', 1);
    note(QStringLiteral("%1 of %2 over 2 ms %3")
             .arg(slow.size())
             .arg(ms.size())
             .arg(slow.join(' ')));
}

// The roll before previews: a photo without an embedded preview read and decoded whole.
QImage fallbackTick(const pd::PhotoCatalogue& photos, const QString& name, QSize frame)
{
    return pd::decodePicture(photos.readPhoto(name), frame);
}

// The winner's photo decoded at full size, then fitted into the frame.
QImage fullDecode(const pd::PhotoCatalogue& photos, const QString& name, QSize frame)
{
    return pd::decodePicture(photos.readPhoto(name))
        .scaled(frame, Qt::KeepAspectRatio, Qt::SmoothTransformation);
}

// count hard-linked names over the distinct photos of folder "files"; returns the folder.
QString linkedFolder(const QString& root, const QStringList& files, int count)
{
    const QString folder = root + QStringLiteral("/photo");
    QDir().mkpath(folder);
    const QStringList names = pd::chineseNames(count, 7);
    for (int i = 0; i < names.size(); ++i) {
        const QByteArray from = QFile::encodeName(files[i % files.size()]);
        const QByteArray to = QFile::encodeName(folder + QLatin1Char('/') + names[i] +
                                                QStringLiteral("_%1.jpg").arg(i));
        if (::link(from.constData(), to.constData()) != 0 &&
            ::symlink(from.constData(), to.constData()) != 0)
            return {};
    }
    return folder;
}

QStringList generate(const QString& folder, int distinct, QSize size, bool preview)
{
    QDir().mkpath(folder);
    pd::PhotoOptions options;
    options.size = size;
    options.grain = 10;
    options.preview = preview;
    const QStringList names = pd::chineseNames(distinct, preview ? 101 : 202);
    QStringList paths(names.size());
    std::vector<std::thread> workers;
    const int threads = int(std::max(1u, std::thread::hardware_concurrency()));
    for (int t = 0; t < threads; ++t) {
        workers.emplace_back([&, t] {
            for (int i = t; i < names.size(); i += threads) {
                const QString path = folder + QLatin1Char('/') + names[i] + QStringLiteral(".jpg");
                QFile file(path);
                if (file.open(QIODevice::WriteOnly) &&
                    file.write(pd::makePhoto(names[i], quint32(i) * 7919u + 3, options)) > 0)
                    paths[i] = path;
            }
        });
    }
    for (std::thread& worker : workers)
        worker.join();
    return paths.contains(QString()) ? QStringList() : paths;
}

struct Settings
{
    int count = 10000;
    int distinct = 100;
    QSize size{4000, 3000};
    int rollSeconds = 10;
    int ticks = 100000;
};

// Splits the *.jpg photos of a folder by whether their embedded preview decodes.
void splitByPreview(const QString& folder, QStringList& withPreview, QStringList& without)
{
    for (const QString& path : photosIn(folder)) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            continue;
        const QByteArray head = file.read(pd::kPreviewSearchBytes);
        const QByteArrayView preview = pd::embeddedPreviewOf(head);
        const bool usable = !preview.isEmpty() && !pd::decodePicture(preview).isNull();
        (usable ? withPreview : without).append(path);
    }
}

// First start over a folder: the time to the first paint, then the preparation of the
// previews during a roll, with a tick every 30 ms and a 1 ms timer watching for stalls.
void firstStart(const QString& root, const QString& work, PaintWatch& watch, TimedApplication& app)
{
    Event event(root, work);
    print("startup_first_paint", event.start(watch), "ms", 1);
    pd::Shell& shell = *event.shell;
    // The operator presses Start at once; the ticks are called from the watch so that each
    // can be timed. The watch begins once the roll shows its first picture: the window's
    // repaint for the press itself is the press's work, not the preparation's.
    event.chooseTier();
    shell.drawCycle().startStop();
    shell.drawCycle().时钟_取随机->stop();
    shell.drawCycle().pickerTick();
    QCoreApplication::processEvents();
    QElapsedTimer preparing;
    preparing.start();
    std::vector<double> ticks;
    ticks.reserve(20'000);
    const rusage usageBefore = usageOfThisThread();
    app.timing = true;
    const std::vector<double> gaps = watchGaps([&] { return bench::previewsIdle(shell.session()); },
                                               [&](int firing) {
                                                   if (firing % 30 != 0)
                                                       return;
                                                   QElapsedTimer tick;
                                                   tick.start();
                                                   shell.drawCycle().pickerTick();
                                                   ticks.push_back(msSince(tick));
                                               });
    app.timing = false;
    const double seconds = double(preparing.nsecsElapsed()) / 1e9;
    print("preview_prepare_total", seconds, "s", 2);
    print("preview_prepare_per_photo",
          seconds * 1000.0 / std::max(1, bench::previewDecodes(shell.session())), "ms");
    print("preview_decodes", bench::previewDecodes(shell.session()), "photos", 0);
    // Wall-clock gaps count the ticks and their paints, and whatever the machine itself does
    // (compare the same watch with no work, above).
    printGaps("preparing", gaps);
    print("ui_busy_max_preparing", app.longestMs, "ms");
    note(QStringLiteral("longest work on the user-interface thread: ") + app.longest);
    const rusage usageAfter = usageOfThisThread();
    print("ui_preempted_preparing", double(usageAfter.ru_nivcsw - usageBefore.ru_nivcsw), "times",
          0);
    print("ui_page_faults_preparing", double(usageAfter.ru_minflt - usageBefore.ru_minflt), "pages",
          0);
    printTimes("roll_tick_during_prepare_median", "roll_tick_during_prepare_p99", ticks);
}

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    TimedApplication app(argc, argv);

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Measures the roll of the program."));
    parser.addHelpOption();
    const QCommandLineOption photosOption(
        QStringLiteral("photos"), QStringLiteral("Folder of *.jpg photos."), QStringLiteral("dir"));
    const QCommandLineOption countOption(QStringLiteral("count"),
                                         QStringLiteral("Names per generated folder."),
                                         QStringLiteral("n"), QStringLiteral("10000"));
    const QCommandLineOption distinctOption(QStringLiteral("distinct"),
                                            QStringLiteral("Distinct photo files behind them."),
                                            QStringLiteral("n"), QStringLiteral("100"));
    const QCommandLineOption sizeOption(QStringLiteral("size"),
                                        QStringLiteral("Generated photo size, WxH."),
                                        QStringLiteral("size"), QStringLiteral("4000x3000"));
    const QCommandLineOption secondsOption(QStringLiteral("roll-seconds"),
                                           QStringLiteral("Length of the timed roll."),
                                           QStringLiteral("s"), QStringLiteral("10"));
    const QCommandLineOption ticksOption(QStringLiteral("ticks"),
                                         QStringLiteral("Ticks of the memory measure."),
                                         QStringLiteral("n"), QStringLiteral("100000"));
    const QCommandLineOption keepOption(
        QStringLiteral("keep"),
        QStringLiteral("Folder that keeps the generated photos between runs."),
        QStringLiteral("dir"));
    parser.addOptions({photosOption, countOption, distinctOption, sizeOption, secondsOption,
                       ticksOption, keepOption});
    parser.process(app);
    Settings settings;
    settings.count = std::max(1, parser.value(countOption).toInt());
    settings.distinct = std::clamp(parser.value(distinctOption).toInt(), 1, settings.count);
    const QStringList wh = parser.value(sizeOption).split(QLatin1Char('x'));
    if (wh.size() == 2)
        settings.size = QSize(wh[0].toInt(), wh[1].toInt()).expandedTo(QSize(16, 16));
    settings.rollSeconds = std::max(1, parser.value(secondsOption).toInt());
    settings.ticks = std::max(1, parser.value(ticksOption).toInt());

    QTemporaryDir temp;
    if (!temp.isValid())
        return 1;
    const QString generated =
        parser.isSet(keepOption) ? parser.value(keepOption) : temp.filePath(QStringLiteral("gen"));

    // The distinct photos of each kind: generated (or found in the kept folder), or given.
    QStringList withPreview;
    QStringList without;
    if (parser.isSet(photosOption)) {
        splitByPreview(parser.value(photosOption), withPreview, without);
    } else {
        const QString tag = QStringLiteral("%1x%2_%3")
                                .arg(settings.size.width())
                                .arg(settings.size.height())
                                .arg(settings.distinct);
        for (const bool preview : {true, false}) {
            const QString folder =
                generated + QLatin1Char('/') + tag +
                (preview ? QStringLiteral("_preview") : QStringLiteral("_plain"));
            QStringList paths = photosIn(folder);
            if (paths.size() < settings.distinct) {
                QDir(folder).removeRecursively();
                paths = generate(folder, settings.distinct, settings.size, preview);
            }
            (preview ? withPreview : without) = paths.mid(0, settings.distinct);
        }
    }
    if (withPreview.isEmpty() && without.isEmpty()) {
        QTextStream(stderr) << "bench_draw: no photos\n";
        return 1;
    }
    note(QStringLiteral("%1 photo files with a usable embedded preview, %2 without; %3 names "
                        "each; frame 500 x 400; screen 1920 x 1080")
             .arg(withPreview.size())
             .arg(without.size())
             .arg(settings.count));
    print("photo_mean_file", bench::meanFileKiB(without + withPreview), "KiB", 0);

    QFile load(QStringLiteral("/proc/loadavg"));
    if (load.open(QIODevice::ReadOnly))
        note(QStringLiteral("load average at start: ") +
             QString::fromLatin1(load.readAll().trimmed()));

    PaintWatch watch;
    app.installEventFilter(&watch);

    if (!without.isEmpty()) {
        const QString root = temp.filePath(QStringLiteral("plain"));
        const QString work = temp.filePath(QStringLiteral("plain_work"));
        if (linkedFolder(root, without, settings.count).isEmpty())
            return 1;
        // The same watch with nothing to do: the machine's own hiccups, for comparison.
        QElapsedTimer quiet;
        quiet.start();
        printGaps(
            "no_work",
            watchGaps([&] { return quiet.elapsed() >= settings.rollSeconds * 1000; }, [](int) {}));
        const double rssBefore = residentMb();
        firstStart(root, work, watch, app);

        // Second start: the previews are in the work folder.
        Event event(root, work);
        print("startup_first_paint_second_start", event.start(watch), "ms", 1);
        pd::Shell& shell = *event.shell;
        QElapsedTimer reload;
        reload.start();
        while (!bench::previewsIdle(shell.session()))
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        print("preview_reload_total", double(reload.nsecsElapsed()) / 1e9, "s", 2);
        print("preview_decodes_second_start", bench::previewDecodes(shell.session()), "photos", 0);
        print("preview_memory", double(bench::previewMemory(shell.session())) / (1024.0 * 1024.0),
              "MB", 1);
        print("rss_growth_with_previews", residentMb() - rssBefore, "MB", 1);

        const std::vector<double> prepared = timedTicks(shell, 2000, 30);
        printTimes("roll_tick_prepared_median", "roll_tick_prepared_p99", prepared);

        // The old fallback on the same photos, for the ratio.
        const QSize frame = shell.screen().图片框_照片->size();
        const QStringList pool = shell.session().state.pool;
        std::vector<double> fallback;
        QElapsedTimer timer;
        for (int i = 0; i < std::max(10, std::min(20, int(pool.size()))); ++i) {
            const QString name = pool[(i * 7919) % pool.size()];
            timer.start();
            const QImage picture = fallbackTick(shell.session().photos, name, frame);
            fallback.push_back(msSince(timer));
            if (picture.isNull())
                note(QStringLiteral("fallback did not decode ") + name);
        }
        printTimes("roll_tick_fallback_median", "roll_tick_fallback_p99", fallback);
        print("roll_tick_prepared_speedup_p99",
              percentile(fallback, 0.99) / percentile(prepared, 0.99), "x", 1);

        // A roll driven by the picker timer, as in front of the audience.
        event.chooseTier();
        const qint64 paintsBefore = watch.framePaints;
        QElapsedTimer rolling;
        shell.drawCycle().startStop();
        rolling.start();
        QEventLoop loop;
        QTimer::singleShot(settings.rollSeconds * 1000, &loop, &QEventLoop::quit);
        loop.exec();
        const double seconds = double(rolling.nsecsElapsed()) / 1e9;
        print("roll_frames_per_second", double(watch.framePaints - paintsBefore) / seconds,
              "frames/s", 1);

        // The roll goes on, watched as during the first start: its own cost with every
        // preview ready, for comparison with the figures taken while previews were prepared.
        QElapsedTimer watching;
        watching.start();
        app.longestMs = 0;
        app.timing = true;
        printGaps("roll_prepared",
                  watchGaps([&] { return watching.elapsed() >= settings.rollSeconds * 1000; },
                            [](int) {}));
        app.timing = false;
        print("ui_busy_max_roll_prepared", app.longestMs, "ms");
        note(QStringLiteral("longest work on the user-interface thread: ") + app.longest);

        // Stop: the winner's photo on screen, against a full decode of the same photo.
        std::vector<double> winner;
        std::vector<double> full;
        for (int draw = 0; draw < 5; ++draw) {
            if (draw > 0) {
                shell.drawCycle().reenableTick();
                shell.drawCycle().startStop();
                QCoreApplication::processEvents();
                for (int i = 0; i < 3; ++i)
                    shell.drawCycle().pickerTick();
            }
            QCoreApplication::processEvents();
            const qint64 paints = watch.framePaints;
            timer.start();
            shell.drawCycle().startStop();
            while (watch.framePaints == paints && timer.elapsed() < 5000)
                QCoreApplication::processEvents();
            winner.push_back(msSince(timer));
            timer.start();
            fullDecode(shell.session().photos, shell.drawCycle().lastPick(), frame);
            full.push_back(msSince(timer));
        }
        print("winner_photo_median", percentile(winner, 0.5), "ms");
        print("winner_photo_max", percentile(winner, 1.0), "ms");
        print("full_decode_median", percentile(full, 0.5), "ms");
        print("winner_photo_speedup", percentile(full, 0.5) / percentile(winner, 1.0), "x", 1);

        // Memory over many ticks called directly.
        shell.drawCycle().reenableTick();
        shell.session().state.pool = pd::splitPool(shell.session().poolText);
        timedTicks(shell, 1000);
        const double before = residentMb();
        timedTicks(shell, settings.ticks);
        QCoreApplication::processEvents();
        print("tick_memory_growth", residentMb() - before, "MB", 2);
        note(QStringLiteral("%1 ticks in the memory measure").arg(settings.ticks));
    }

    if (!withPreview.isEmpty()) {
        const QString root = temp.filePath(QStringLiteral("preview"));
        if (linkedFolder(root, withPreview, settings.count).isEmpty())
            return 1;
        Event event(root, temp.filePath(QStringLiteral("preview_work")));
        event.start(watch);
        while (!bench::previewsIdle(event.shell->session()))
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        printTimes("roll_tick_preview_median", "roll_tick_preview_p99",
                   timedTicks(*event.shell, 2000, 30));
    }
    return 0;
}
