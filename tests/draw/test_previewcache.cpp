#include "draw/PreviewCache.h"

#include "app/MainScreen.h"
#include "app/PictureBox.h"
#include "app/StartUp.h"
#include "draw/DrawCycle.h"
#include "draw/TierChooser.h"
#include "draw/WinnerSelection.h"
#include "media/PictureDecoder.h"
#include "tests/support/TestEvent.h"
#include "tools/photogen/PhotoGenerator.h"

#include <QDir>
#include <QFile>
#include <QSemaphore>
#include <QTest>
#include <QThread>

#include <sched.h>

#include <atomic>

using namespace pd;
using namespace pd::test;
using Status = PreviewCache::Status;

namespace {
QString u8(const char* s)
{
    return QString::fromUtf8(s);
}

// A participant photo the size of a small camera picture.
QByteArray photo(const QString& name, quint32 seed, bool preview)
{
    PhotoOptions options;
    options.size = QSize(640, 480);
    options.grain = 0;
    options.preview = preview;
    return makePhoto(name, seed, options);
}

// A photo whose embedded preview has markers but no picture between them.
QByteArray photoWithCorruptPreview(const QString& name, quint32 seed)
{
    QByteArray junk("\xFF\xD8\xFF\xE0", 4);
    junk += QByteArray(600, '\x11');
    junk += QByteArray("\xFF\xD9", 2);
    return withEmbeddedPreview(photo(name, seed, false), junk);
}

QStringList lines(const QByteArray& bytes)
{
    return QString::fromLatin1(bytes).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
}
} // namespace

class TestPreviewCache : public QObject
{
    Q_OBJECT
private:
    static PreviewCache::Options quickOptions()
    {
        PreviewCache::Options options;
        options.box = QSize(160, 160);
        options.threads = 2;
        return options;
    }

    static void waitIdle(const PreviewCache& cache)
    {
        QTRY_VERIFY_WITH_TIMEOUT(cache.isIdle(), 20000);
    }

    // The event's photo folder as the shell sees it after start-up, and a shell whose
    // previews are all prepared.
    static Shell& startedShell(TestEvent& event)
    {
        event.writeSettings(
            {{u8("zbt"), {{u8("特等奖"), u8("一等奖")}, {u8("特等奖人数"), u8("5")}}}});
        Shell& shell = event.shell();
        shell.startUp().startUp();
        return shell;
    }

private slots:
    void init()
    {
        m_cwd = std::make_unique<QTemporaryDir>();
        QDir::setCurrent(m_cwd->path());
    }

    void preparesOffTheUserInterfaceThread()
    {
        TestEvent event;
        event.writeFile(u8("photo/甲.jpg"), photo(u8("甲"), 1, false));
        QSemaphore entered;
        QSemaphore release;
        std::atomic<QThread*> decodingThread = nullptr;
        std::atomic<int> decodingPolicy = -1;
        PreviewCache::Options options = quickOptions();
        options.beforeDecode = [&](const QString&) {
            decodingThread = QThread::currentThread();
            decodingPolicy = ::sched_getscheduler(0);
            entered.release();
            release.tryAcquire(1, 20000);
        };
        PreviewCache cache(event.path(u8("work/previews")), options);
        PhotoCatalogue photos(event.dir());
        QString pool;
        photos.buildPool(pool);

        cache.prepare(photos, pool);
        QVERIFY(entered.tryAcquire(1, 20000));
        // A worker is held inside the decode; this thread goes on answering.
        QCOMPARE(cache.lookup(u8("甲")).status, Status::Pending);
        QVERIFY(!cache.isIdle());
        QVERIFY(decodingThread.load() != QThread::currentThread());
        // The worker yields its core whenever this thread wants it.
        QCOMPARE(decodingPolicy.load(), SCHED_IDLE);
        QCOMPARE(::sched_getscheduler(0), SCHED_OTHER);
        release.release();
        waitIdle(cache);
        const PreviewCache::Lookup found = cache.lookup(u8("甲"));
        QCOMPARE(found.status, Status::Prepared);
        QCOMPARE(decodePicture(found.preview).size(), QSize(160, 120));
    }

    void statusOfEachKindOfPhoto_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("status");
        QTest::addColumn<int>("decodes");
        QTest::newRow("no embedded preview")
            << photo(u8("甲"), 1, false) << int(Status::Prepared) << 1;
        QTest::newRow("embedded preview")
            << photo(u8("甲"), 1, true) << int(Status::EmbeddedUsable) << 0;
        QTest::newRow("embedded preview that does not decode")
            << photoWithCorruptPreview(u8("甲"), 1) << int(Status::Prepared) << 1;
        QTest::newRow("not a picture")
            << QByteArray("plain text, not a JPEG") << int(Status::Undecodable) << 1;
        QTest::newRow("empty file") << QByteArray() << int(Status::Undecodable) << 0;
    }
    void statusOfEachKindOfPhoto()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, status);
        QFETCH(int, decodes);
        TestEvent event;
        event.writeFile(u8("photo/甲.jpg"), bytes);
        PreviewCache cache(event.path(u8("work/previews")), quickOptions());
        PhotoCatalogue photos(event.dir());
        QString pool;
        photos.buildPool(pool);
        // 乙 is in the pool without a photo, as a name added by hand would be.
        cache.prepare(photos, pool + u8("乙\r\n"));
        waitIdle(cache);

        const PreviewCache::Lookup found = cache.lookup(u8("甲"));
        QCOMPARE(int(found.status), status);
        QCOMPARE(found.preview.isEmpty(), found.status != Status::Prepared);
        if (found.status == Status::Prepared)
            QCOMPARE(decodePicture(found.preview).size(), QSize(160, 120));
        QCOMPARE(cache.lookup(u8("乙")).status, Status::Missing);
        QCOMPARE(cache.decodeCount(), decodes);
    }

    // The next start finds the previews in the work folder; a photo replaced or touched since
    // (other size or modification time) is decoded again.
    void keptPreviewsAreReusedUntilThePhotoChanges_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<int>("decodes");
        QTest::newRow("unchanged") << u8("none") << 0;
        QTest::newRow("modification time") << u8("touch") << 1;
        QTest::newRow("replaced by another photo") << u8("replace") << 1;
    }
    void keptPreviewsAreReusedUntilThePhotoChanges()
    {
        QFETCH(QString, change);
        QFETCH(int, decodes);
        TestEvent event;
        event.writeFile(u8("photo/甲.jpg"), photo(u8("甲"), 1, false));
        event.writeFile(u8("photo/乙.jpg"), photo(u8("乙"), 2, false));
        const QString folder = event.path(u8("work/previews"));
        QByteArray first;
        {
            PreviewCache cache(folder, quickOptions());
            PhotoCatalogue photos(event.dir());
            QString pool;
            photos.buildPool(pool);
            cache.prepare(photos, pool);
            waitIdle(cache);
            QCOMPARE(cache.decodeCount(), 2);
            first = cache.lookup(u8("甲")).preview;
        }
        QCOMPARE(QDir(folder).entryList(QDir::Files).size(), 2);

        QFile file(event.path(u8("photo/甲.jpg")));
        if (change == u8("touch")) {
            QVERIFY(file.open(QIODevice::ReadWrite));
            QVERIFY(file.setFileTime(QDateTime::currentDateTime().addSecs(-3600),
                                     QFileDevice::FileModificationTime));
            file.close();
        } else if (change == u8("replace")) {
            event.writeFile(u8("photo/甲.jpg"), photo(u8("甲"), 99, false));
        }

        PreviewCache cache(folder, quickOptions());
        PhotoCatalogue photos(event.dir());
        QString pool;
        photos.buildPool(pool);
        cache.prepare(photos, pool);
        waitIdle(cache);
        QCOMPARE(cache.decodeCount(), decodes);
        const PreviewCache::Lookup found = cache.lookup(u8("甲"));
        QCOMPARE(found.status, Status::Prepared);
        QCOMPARE(found.preview == first, change != u8("replace"));
        QCOMPARE(cache.lookup(u8("乙")).status, Status::Prepared);
    }

    // A second request (the settings' Save rebuilds the pool) forgets names that left the
    // folder and prepares the new ones.
    void aNewRequestFollowsThePool()
    {
        TestEvent event;
        event.writeFile(u8("photo/甲.jpg"), photo(u8("甲"), 1, false));
        PreviewCache cache(event.path(u8("work/previews")), quickOptions());
        PhotoCatalogue photos(event.dir());
        QString pool;
        photos.buildPool(pool);
        cache.prepare(photos, pool);
        waitIdle(cache);
        const qint64 held = cache.memoryBytes();
        QVERIFY(held > 0);

        QVERIFY(QFile::remove(event.path(u8("photo/甲.jpg"))));
        event.writeFile(u8("photo/乙.jpg"), photo(u8("乙"), 2, false));
        pool.clear();
        photos.buildPool(pool);
        cache.prepare(photos, pool);
        waitIdle(cache);
        QCOMPARE(cache.lookup(u8("甲")).status, Status::Pending);
        QCOMPARE(cache.lookup(u8("乙")).status, Status::Prepared);
        QVERIFY(cache.memoryBytes() > 0);
        QCOMPARE(cache.decodeCount(), 2);
    }

    // What one roll tick shows after the tick before it showed 甲's embedded preview. A photo
    // added after start-up is not known to the previews yet, like one still waiting.
    void rollTickShows_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("known");
        QTest::addColumn<QString>("shows");
        const QByteArray plain = photo(u8("乙"), 2, false);
        QTest::newRow("prepared preview") << plain << true << u8("prepared");
        QTest::newRow("waiting, no preview: previous stays") << plain << false << u8("previous");
        QTest::newRow("waiting, embedded preview")
            << photo(u8("乙"), 2, true) << false << u8("embedded");
        QTest::newRow("corrupt embedded preview, prepared")
            << photoWithCorruptPreview(u8("乙"), 2) << true << u8("prepared");
        QTest::newRow("waiting, corrupt embedded preview: previous stays")
            << photoWithCorruptPreview(u8("乙"), 2) << false << u8("previous");
        QTest::newRow("not a picture") << QByteArray("text") << true << u8("empty");
        QTest::newRow("missing photo") << QByteArray() << false << u8("empty");
    }
    void rollTickShows()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, known);
        QFETCH(QString, shows);
        TestEvent event;
        event.writeFile(u8("photo/甲.jpg"), photo(u8("甲"), 1, true));
        if (known)
            event.writeFile(u8("photo/乙.jpg"), bytes);
        Shell& shell = startedShell(event);
        Session& session = shell.session();
        waitIdle(session.previews);
        if (!known && !bytes.isEmpty())
            event.writeFile(u8("photo/乙.jpg"), bytes);
        PictureBox* frame = shell.screen().图片框_照片;

        // A one-member pool makes the pick certain without drawing a number.
        session.state.pool = QStringList{u8("甲")};
        shell.drawCycle().pickerTick();
        QVERIFY(frame->hasPicture());
        const qint64 previous = frame->picture().cacheKey();
        session.state.pool = QStringList{u8("乙")};
        shell.drawCycle().pickerTick();

        if (shows == u8("previous")) {
            QCOMPARE(frame->picture().cacheKey(), previous);
        } else if (shows == u8("empty")) {
            QVERIFY(!frame->hasPicture());
        } else if (shows == u8("embedded")) {
            const QByteArray head = bytes.first(qMin(bytes.size(), kPreviewSearchBytes));
            QCOMPARE(frame->picture(), decodePicture(embeddedPreviewOf(head), frame->size()));
        } else {
            const PreviewCache::Lookup found = session.previews.lookup(u8("乙"));
            QCOMPARE(found.status, Status::Prepared);
            QCOMPARE(frame->picture(), decodePicture(found.preview, frame->size()));
        }
    }

    // The previews change what a tick shows, never what it picks: the picks, the winner and
    // the files of a draw are the same whether the previews are ready or still being made.
    void picksAndFilesDoNotDependOnThePreviews()
    {
        const QStringList people{u8("甲"), u8("乙"), u8("丙"), u8("丁"), u8("戊"), u8("己")};
        QList<QList<int>> picks;
        QList<QByteArray> results;
        QList<QByteArray> pickFiles;
        for (const bool ready : {true, false}) {
            TestEvent event;
            quint32 seed = 1;
            for (const QString& name : people)
                event.writeFile(u8("photo/") + name + u8(".jpg"), photo(name, seed++, false));
            Shell& shell = startedShell(event);
            if (ready)
                waitIdle(shell.session().previews);
            shell.screen().组合框1->setEditText(u8("一等奖"));
            shell.tierChooser().chooseTier(true);
            DrawCycle& cycle = shell.drawCycle();
            QList<int> sequence;
            for (int draw = 0; draw < 2; ++draw) {
                cycle.startStop();
                for (int tick = 0; tick < 20; ++tick) {
                    cycle.pickerTick();
                    sequence << shell.session().state.pickIndex;
                }
                cycle.startStop();
                cycle.reenableTick();
            }
            QVERIFY(shell.screen().图片框_照片->hasPicture());
            picks << sequence;
            results << event.readFile(u8("抽奖结果.txt"));
            pickFiles << event.readFile(u8("zj.txt"));
        }
        QCOMPARE(picks[0], picks[1]);
        QCOMPARE(results[0], results[1]);
        QCOMPARE(pickFiles[0], pickFiles[1]);
        QCOMPARE(lines(results[0]).size(), 2);

        // The same picks as the generator gives a pool of six, then of five.
        Random random;
        DrawState state;
        QList<int> expected;
        for (const int size : {6, 5}) {
            state.pool = people.first(size);
            for (int tick = 0; tick < 20; ++tick)
                expected << pickRandomIndex(state, random);
        }
        QCOMPARE(picks[0], expected);
    }

private:
    std::unique_ptr<QTemporaryDir> m_cwd;
};

QTEST_MAIN(TestPreviewCache)
#include "test_previewcache.moc"
