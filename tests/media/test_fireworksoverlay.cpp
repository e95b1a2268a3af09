#include "media/FireworksOverlay.h"
#include "media/MoviePlayer.h"
#include "platform/FakePlatform.h"
#include "platform/Random.h"

#include <QFile>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

class TestFireworksOverlay : public QObject
{
    Q_OBJECT
private:
    QTemporaryDir m_temp;
    pd::FakeDesktop m_desktop;
    pd::Random m_random;
    std::unique_ptr<QWidget> m_main;
    std::unique_ptr<pd::FireworksOverlay> m_overlay;

private slots:
    void init()
    {
        m_desktop = pd::FakeDesktop();
        m_desktop.screen = QSize(1920, 1080);
        m_desktop.work = m_temp.filePath("cache");
        m_random = pd::Random();
        m_main = std::make_unique<QWidget>();
        m_main->setGeometry(100, 100, 800, 600);
        m_main->show();
        m_overlay = std::make_unique<pd::FireworksOverlay>(m_main.get(), m_random, m_desktop);
    }
    void cleanup()
    {
        m_overlay.reset();
        m_main.reset();
    }

    void coversTheScreenWithoutTakingInput()
    {
        QVERIFY(!m_overlay->IsOverlayOpen());
        m_overlay->OpenOverlay();
        QVERIFY(m_overlay->IsOverlayOpen());
        QWidget* window = m_overlay->overlayWindow();
        QVERIFY(window);
        QVERIFY(window->isWindow());
        QCOMPARE(window->parentWidget(), m_main.get());
        QCOMPARE(window->geometry(), QRect(0, 0, 1920, 1080));
        QVERIFY(window->isVisible());
        const Qt::WindowFlags flags = window->windowFlags();
        QVERIFY(flags.testFlag(Qt::FramelessWindowHint));
        QVERIFY(flags.testFlag(Qt::WindowDoesNotAcceptFocus));
        QVERIFY(flags.testFlag(Qt::WindowTransparentForInput));
        QVERIFY(window->testAttribute(Qt::WA_ShowWithoutActivating));
        // Without a compositor here, the window is cut to the stars' shapes.
        QCOMPARE(pd::MoviePlayer::windowKeying(window), pd::KeyMode::ShapeMask);
        auto* player = window->findChild<pd::MoviePlayer*>();
        QVERIFY(player && player->isPlaying());
        QCOMPARE(player->geometry(), window->rect());
        QVERIFY(QFile::exists(player->pagePath()));
    }

    // One draw of the program's generator per overlay: 1 + v mod 7.
    void choosesMovieWithOneDraw()
    {
        m_random.seed(12345);
        pd::Random expected = m_random;
        QSet<int> seen;
        for (int i = 0; i < 100; ++i) {
            m_overlay->OpenOverlay();
            const int number = 1 + expected.next() % 7;
            QCOMPARE(m_overlay->lastMovie(), number);
            QCOMPARE(m_random.state(), expected.state());
            seen.insert(number);
            m_overlay->CloseOverlay();
        }
        QCOMPARE(seen, QSet<int>({1, 2, 3, 4, 5, 6, 7}));
    }

    void closesEveryWay_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("close") << "close";
        QTest::newRow("close twice") << "twice";
        QTest::newRow("escape") << "escape";
        QTest::newRow("opened again") << "reopen";
        QTest::newRow("main window goes") << "main";
    }
    void closesEveryWay()
    {
        QFETCH(QString, how);
        m_overlay->OpenOverlay();
        QPointer<QWidget> window = m_overlay->overlayWindow();
        QVERIFY(window);
        if (how == "close") {
            m_overlay->CloseOverlay();
        } else if (how == "twice") {
            m_overlay->CloseOverlay();
            m_overlay->CloseOverlay();
        } else if (how == "escape") {
            QTest::keyClick(window, Qt::Key_Escape);
        } else if (how == "reopen") {
            m_overlay->OpenOverlay();
            QVERIFY(m_overlay->IsOverlayOpen());
            QVERIFY(m_overlay->overlayWindow() != window);
        } else if (how == "main") {
            m_main.reset();
        }
        if (how != "reopen")
            QVERIFY(!m_overlay->IsOverlayOpen());
        QTRY_VERIFY(window.isNull());
        m_overlay->CloseOverlay();
    }

    void opensAndClosesWhenFilesCannotBeWritten()
    {
        QFile blocker(m_temp.filePath("file"));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        m_desktop.work = m_temp.filePath("file/cache");
        m_overlay->OpenOverlay();
        QVERIFY(m_overlay->IsOverlayOpen());
        auto* player = m_overlay->overlayWindow()->findChild<pd::MoviePlayer*>();
        QVERIFY(player && player->isPlaying());
        m_overlay->CloseOverlay();
        QVERIFY(!m_overlay->IsOverlayOpen());
    }
};

QTEST_MAIN(TestFireworksOverlay)
#include "test_fireworksoverlay.moc"
