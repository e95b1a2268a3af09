#include "data/Text.h"
#include "media/FireworksMovies.h"
#include "media/MovieHost.h"
#include "platform/FakePlatform.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestMovieHost : public QObject
{
    Q_OBJECT
private slots:
    void buildsPage_data()
    {
        QTest::addColumn<int>("colour");
        QTest::addColumn<QString>("text");
        QTest::newRow("black") << pd::colourNumber(0, 0, 0) << "#000000";
        QTest::newRow("red 10, green 255") << pd::colourNumber(10, 255, 0) << "#0AFF00";
        QTest::newRow("blue only") << pd::colourNumber(0, 0, 171) << "#0000AB";
    }
    void buildsPage()
    {
        QFETCH(int, colour);
        QFETCH(QString, text);
        QWidget parent;
        pd::FakeDesktop desktop;
        pd::MovieHost host(desktop);
        const QByteArray page = host.BuildPage(&parent, 1366, 768, colour);
        const QString stem = QStringLiteral("kvtr-") + QString::number(parent.winId());
        QCOMPARE(pd::MovieHost::fileStem(&parent), stem);
        QCOMPARE(host.pageText().toUtf8(), page);
        for (const char* placeholder : {"名字", "宽度", "高度", "颜色"})
            QVERIFY(!host.pageText().contains(QString::fromUtf8(placeholder)));

        const std::optional<pd::MoviePage> read = pd::MoviePlayer::readPage(page);
        QVERIFY(read.has_value());
        QCOMPARE(read->movieName, stem + ".pdfw");
        QCOMPARE(read->size, QSize(1366, 768));
        QCOMPARE(read->background.name().toUpper(), text);
        QVERIFY(page.contains(text.toUtf8()));
    }

    void rejectsPages_data()
    {
        QTest::addColumn<QByteArray>("page");
        QTest::newRow("not a page") << QByteArray("<html>movie=a.pdfw</html>");
        QTest::newRow("movie outside the folder")
            << QByteArray("prizedraw-movie-page 1\nmovie=../a.pdfw\nwidth=10\nheight=10\n"
                          "background=#000000\n");
        QTest::newRow("no size") << QByteArray(
            "prizedraw-movie-page 1\nmovie=a.pdfw\nbackground=#000000\n");
        QTest::newRow("huge size")
            << QByteArray("prizedraw-movie-page 1\nmovie=a.pdfw\nwidth=99999\nheight=10\n"
                          "background=#000000\n");
        QTest::newRow("no colour")
            << QByteArray("prizedraw-movie-page 1\nmovie=a.pdfw\nwidth=10\nheight=10\n");
    }
    void rejectsPages()
    {
        QFETCH(QByteArray, page);
        QVERIFY(!pd::MoviePlayer::readPage(page).has_value());
    }

    // The work folder is created with its parents; a second movie for the same window
    // replaces both files, and the player plays what the page names.
    void writesAndOverwritesFiles()
    {
        QTemporaryDir temp;
        pd::FakeDesktop desktop;
        desktop.work = temp.filePath("a/b/cache");
        QWidget parent;
        parent.resize(640, 360);
        const QString stem = pd::MovieHost::fileStem(&parent);
        const QString moviePath = desktop.work + "/" + stem + ".pdfw";
        const QString pagePath = desktop.work + "/" + stem + ".cn";

        for (int number : {1, 6}) {
            pd::MovieHost host(desktop);
            const QByteArray movie = pd::fireworksMovie(number);
            pd::MoviePlayer* player = host.PlayMovie(&parent, movie, 0);
            QVERIFY(player);
            QCOMPARE(fileBytes(moviePath), movie);
            // The page carries the window's outer size, frame included.
            const QSize outer = parent.frameGeometry().size();
            QCOMPARE(fileBytes(pagePath),
                     host.BuildPage(&parent, outer.width(), outer.height(), 0));
            QCOMPARE(host.pagePath(), pagePath);
            QVERIFY(player->isPlaying());
            QCOMPARE(player->pagePath(), pagePath);
            QCOMPARE(player->size(), outer);
            host.Release();
        }
    }

    void unwritableFolderPlaysFromMemory()
    {
        QTemporaryDir temp;
        QFile blocker(temp.filePath("file"));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        pd::FakeDesktop desktop;
        desktop.work = temp.filePath("file/cache"); // under a file: never a folder
        QWidget parent;
        parent.resize(320, 180);
        pd::MovieHost host(desktop);
        pd::MoviePlayer* player = host.PlayMovie(&parent, pd::fireworksMovie(3), 0);
        QVERIFY(player);
        QVERIFY(player->isPlaying());
        QVERIFY(player->pagePath().isEmpty());
        QVERIFY(!QDir(desktop.work).exists());
    }

    void rightClickOpensNoMenu_data()
    {
        QTest::addColumn<bool>("block");
        QTest::addColumn<int>("menus");
        QTest::newRow("blocked") << true << 0;
        QTest::newRow("not blocked") << false << 1;
    }
    void rightClickOpensNoMenu()
    {
        QFETCH(bool, block);
        QFETCH(int, menus);
        QWidget parent;
        parent.resize(200, 100);
        parent.setContextMenuPolicy(Qt::CustomContextMenu);
        QSignalSpy menuRequests(&parent, &QWidget::customContextMenuRequested);
        pd::FakeDesktop desktop;
        pd::MovieHost host(desktop);
        pd::MoviePlayer* player = host.CreateBrowser(&parent, QString(), 0, 0, std::nullopt, block);
        QVERIFY(player->playMovie(pd::fireworksMovie(1), parent.size(), Qt::black));
        parent.show();
        QVERIFY(QTest::qWaitForWindowExposed(&parent));
        // Through the window, as the desktop delivers it, so a menu request can arise.
        QTest::mouseClick(parent.windowHandle(), Qt::RightButton, {},
                          player->mapTo(&parent, QPoint(50, 50)));
        QCOMPARE(menuRequests.count(), menus);
    }

    void playsOnAfterReleaseUntilParentGoes()
    {
        QTemporaryDir temp;
        pd::FakeDesktop desktop;
        desktop.work = temp.path();
        auto parent = std::make_unique<QWidget>();
        parent->resize(320, 180);
        QPointer<pd::MoviePlayer> player;
        {
            pd::MovieHost host(desktop);
            player = host.PlayMovie(parent.get(), pd::fireworksMovie(2), 0);
            host.Release();
            QVERIFY(!host.browserWindow());
        }
        parent->show();
        QVERIFY(player);
        QTRY_VERIFY(player->currentFrame() >= 3);
        parent.reset();
        QVERIFY(player.isNull());
    }
};

QTEST_MAIN(TestMovieHost)
#include "test_moviehost.moc"
