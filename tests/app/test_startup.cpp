#include "app/FontFaces.h"
#include "app/MainScreen.h"
#include "app/PictureBox.h"
#include "app/StartUp.h"
#include "data/Text.h"
#include "settings/TextScrambler.h"
#include "tests/support/TestEvent.h"
#include "tools/photogen/PhotoGenerator.h"

#include <QDir>
#include <QTest>

using namespace pd;
using namespace pd::test;

namespace {
QString u8(const char* s)
{
    return QString::fromUtf8(s);
}
QString scrambled(const QString& name)
{
    Random rng;
    qint64 clock = 12345;
    return QString::fromLatin1(scramble(toLocal8(name), rng, [&clock] { return clock++; }));
}
} // namespace

class TestStartUp : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        // The company title file is looked for in the current folder.
        m_cwd = std::make_unique<QTemporaryDir>();
        QDir::setCurrent(m_cwd->path());
    }

    void missingSettingsFileGivesEveryDefault()
    {
        TestEvent event;
        Shell& shell = event.shell();
        shell.startUp().startUp();
        MainScreen& s = shell.screen();
        Session& session = shell.session();

        QVERIFY(!session.store.disableEffects());
        QVERIFY(!session.store.allowRepeats());
        QVERIFY(s.禁用背景音乐->isChecked());
        QVERIFY(!s.启用背景音乐->isChecked());
        QCOMPARE(session.state.rollPeriodMs, 30);
        QCOMPARE(session.store.rollSpeed(), u8("30"));
        QCOMPARE(pointSizeOf(s.透明标签_主标题), 48);
        QCOMPARE(s.图片框_照片->size(), QSize(500, 400));
        QVERIFY(s.图片框_照片->isHidden());
        for (int n = 1; n <= 8; ++n) {
            QVERIFY(session.store.name(n).isEmpty());
            QVERIFY(session.store.winnerCount(n).isEmpty());
            QVERIFY(session.store.picturePath(n).isEmpty());
            for (int slot = 1; slot <= 3; ++slot)
                QVERIFY(session.store.designated(n, slot).isEmpty());
        }
        QCOMPARE(s.组合框1->count(), 0);
        QCOMPARE(s.chooserText(), QString());
        QCOMPARE(s.透明标签_主标题->text(), u8("某某公司现场抽奖仪式"));
        QCOMPARE(s.透明标签_副标题->text(), u8("某某公司现场抽奖仪式"));
        QVERIFY(s.全屏->isChecked());
        QVERIFY(!s.窗口->isChecked());
        QCOMPARE(s.geometry(), QRect(0, 0, 1366, 768));
        QVERIFY(s.图片框_奖品->isHidden());
        QVERIFY(s.分隔条_左->isHidden());
        QVERIFY(s.透明标签_奖品名称->isHidden());
        // Every tier name is empty, so the empty chooser names tier 1 (count empty: 0 + 1).
        QCOMPARE(session.state.tierLimit, 1);
        QVERIFY(event.dialogs.messages.isEmpty());
        // The first start creates the settings file with the display mode, in GB18030.
        QCOMPARE(event.readFile(u8("peizhi.a")),
                 QByteArray("[zbt]\r\n") + toLocal8(u8("界面大小=全屏")) + "\r\n");
        QCOMPARE(event.readFile(u8("title.txt")), QByteArray());
    }

    void layoutFollowsTheScreen_data()
    {
        QTest::addColumn<QSize>("screen");
        QTest::addColumn<QString>("width");
        QTest::addColumn<int>("photoLeft");
        QTest::addColumn<int>("chooserTop");
        QTest::addColumn<int>("buttonTop");
        QTest::addColumn<int>("buttonLeft");
        QTest::newRow("1366x768") << QSize(1366, 768) << u8("500") << 433 << 696 << 626 << 583;
        QTest::newRow("odd width") << QSize(1366, 768) << u8("501") << 432 << 696 << 626 << 583;
        QTest::newRow("1920x1080") << QSize(1920, 1080) << u8("500") << 710 << 1008 << 938 << 860;
    }
    void layoutFollowsTheScreen()
    {
        QFETCH(QSize, screen);
        QFETCH(QString, width);
        QFETCH(int, photoLeft);
        QFETCH(int, chooserTop);
        QFETCH(int, buttonTop);
        QFETCH(int, buttonLeft);
        TestEvent event;
        event.desktop.screen = screen;
        event.writeSettings({{u8("zbt"), {{u8("照片图片宽"), width}, {u8("照片图片高"), u8("400")}}}});
        Shell& shell = event.shell();
        shell.startUp().startUp();
        MainScreen& s = shell.screen();

        QCOMPARE(s.图片框_照片->x(), photoLeft);
        QCOMPARE(s.组合框1->y(), chooserTop);
        QCOMPARE(s.超级按钮->pos(), QPoint(buttonLeft, buttonTop));
        QCOMPARE(s.透明标签_移动按钮->pos(), QPoint(buttonLeft + 200, buttonTop));
        // Photo frame under the subtitle (at its design height, 40, when the layout runs),
        // announcement under the photo frame, prize beside it.
        QCOMPARE(s.图片框_照片->y(), 178);
        QCOMPARE(s.透明标签_恭喜->y(), s.图片框_照片->y() + 400 + 10);
        QCOMPARE(s.图片框_奖品->x(), photoLeft + s.图片框_照片->width() + 10);
        QCOMPARE(s.透明标签_中奖人->geometry(), QRect(0, 344, screen.width(), 80));
        for (QLabel* label : {s.透明标签_主标题, s.透明标签_副标题, s.透明标签_恭喜})
            QCOMPARE(label->width(), screen.width());
        QCOMPARE(s.透明标签_主标题->height(), 86); // 48 points
        QCOMPARE(s.透明标签_副标题->height(), 36); // 20 points
        QCOMPARE(s.geometry(), QRect(QPoint(0, 0), screen));
    }

    // A settings file as the Windows program leaves it: GBK keys, section names in other
    // letter cases, blanks around "=", scrambled designated winners, fonts and places.
    void windowsMadeSettingsFile()
    {
        TestEvent event;
        event.addPhotos({u8("张三"), u8("李四")});
        event.writeFile(u8("prize.jpg"), encodeJpeg(prizeImage(u8("一等奖"), 1, {272, 224}), 85));
        event.writeSettings({
            {u8("ZBT"),
             {{u8("禁用特效"), u8("真")},
              {u8("滚动速度"), u8("45.9")},
              {u8("背景音乐"), u8("真")},
              {u8("照片图片宽 "), u8(" 300")},
              {u8("照片图片高"), u8("380")},
              {u8("特等奖"), u8("一等奖")},
              {u8("特等奖人数"), u8("３")},
              {u8("一等奖"), u8("二等奖")},
              {u8("一等奖人数"), u8("5")},
              {u8("奖项1图片"), event.path(u8("prize.jpg"))},
              {u8("a"), scrambled(u8("张三"))},
              {u8("q"), scrambled(u8("李四"))},
              {u8("是否允许重复"), u8("真")},
              {u8("zbt"), u8("测试公司")},
              {u8("fbt"), QString()},
              {u8("界面大小"), u8("窗口")}}},
            {u8("Yanse"),
             {{u8("主标题字体"), u8("隶书")},
              {u8("主标题字体大小"), u8("20")},
              {u8("主标题字体颜色"), QString::number(colourNumber(0, 255, 0))},
              {u8("副标题字体"), u8("宋体")}}},
            {u8("zweizhi"),
             {{u8("图片框_奖品左边"), u8("-8")},
              {u8("图片框_奖品顶边"), u8("300")},
              {u8("组合框1左边"), u8("10")},
              {u8("组合框1顶边"), u8("900")},
              {u8("超级按钮左边"), u8("100")},
              {u8("超级按钮顶边"), u8("200")}}},
        });
        Shell& shell = event.shell();
        shell.startUp().startUp();
        MainScreen& s = shell.screen();
        Session& session = shell.session();

        QVERIFY(session.store.disableEffects());
        QVERIFY(session.store.allowRepeats());
        QVERIFY(s.启用背景音乐->isChecked());
        QCOMPARE(session.state.rollPeriodMs, 45);
        QCOMPARE(session.store.rollSpeed(), u8("45.9"));
        QCOMPARE(s.图片框_照片->size(), QSize(300, 380));
        QCOMPARE(session.store.name(1), u8("一等奖"));
        QCOMPARE(session.store.winnerCount(1), u8("３"));
        QCOMPARE(session.store.designated(1, 1), u8("张三"));
        QCOMPARE(session.store.designated(1, 3), u8("李四"));
        QCOMPARE(s.组合框1->count(), 2);
        QCOMPARE(s.组合框1->itemText(0), u8("一等奖"));
        QCOMPARE(s.chooserText(), QString());
        QCOMPARE(s.透明标签_主标题->text(), u8("测试公司"));
        QCOMPARE(s.透明标签_副标题->text(), QString()); // present but empty: no fallback
        // The main title's stored font: the face as stored, 20 points, height 36.
        QCOMPARE(faceNameOf(s.透明标签_主标题), u8("隶书"));
        QCOMPARE(pointSizeOf(s.透明标签_主标题), 20);
        QCOMPARE(s.透明标签_主标题->height(), 36);
        QCOMPARE(s.透明标签_主标题->palette().color(QPalette::WindowText), QColor(0, 255, 0));
        // No colour stored for the subtitle: its face is not applied.
        QCOMPARE(faceNameOf(s.透明标签_副标题), u8("幼圆"));
        // The prize picture's stored place, with its name label right on top of it.
        QCOMPARE(s.图片框_奖品->pos(), QPoint(-8, 300));
        QCOMPARE(s.透明标签_奖品名称->pos(), QPoint(-8, 300 - s.透明标签_奖品名称->height()));
        // A chooser stored below the screen comes back beside its caption.
        QCOMPARE(s.组合框1->pos(), QPoint(10, s.透明标签_奖项等级->y() + 8));
        QCOMPARE(s.超级按钮->pos(), QPoint(100, 200));
        QCOMPARE(s.透明标签_移动按钮->pos(), QPoint(300, 200));
        QVERIFY(s.窗口->isChecked());
        // The names of the photo folder, in the folder's own order.
        QStringList pool = session.poolText.split(u8("\r\n"), Qt::SkipEmptyParts);
        pool.sort();
        QCOMPARE(pool, QStringList({u8("张三"), u8("李四")}));
        QCOMPARE(event.readFile(u8("title.txt")), toLocal8(session.poolText));
    }

    void tierWithEmptyNameIsMatchedByTheEmptyChooser()
    {
        TestEvent event;
        event.writeFile(u8("prize.jpg"), encodeJpeg(prizeImage(u8("五"), 1, {272, 224}), 85));
        event.writeSettings({{u8("zbt"),
                              {{u8("特等奖"), u8("A")},
                               {u8("一等奖"), u8("B")},
                               {u8("二等奖"), u8("C")},
                               {u8("三等奖"), u8("D")},
                               {u8("四等奖人数"), u8("4")},
                               {u8("奖项5图片"), event.path(u8("prize.jpg"))}}}});
        Shell& shell = event.shell();
        shell.startUp().startUp();
        QCOMPARE(shell.session().state.tierLimit, 5);
        QVERIFY(shell.screen().图片框_奖品->hasPicture());
        QVERIFY(!shell.screen().图片框_奖品->isHidden());
        QVERIFY(!shell.screen().分隔条_下->isHidden());
    }

    void companyTitleFile_data()
    {
        QTest::addColumn<bool>("exists");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("title");
        QTest::addColumn<bool>("asked");
        QTest::newRow("missing") << false << QByteArray() << u8("主标题") << false;
        QTest::newRow("empty") << true << QByteArray() << u8("请在这里写入公司名称") << true;
        QTest::newRow("line break kept") << true << toLocal8(u8("公司\r\n")) << u8("公司\r\n") << false;
        QTest::newRow("zero ends it") << true << QByteArray("ab\0cd", 5) << u8("ab") << false;
    }
    void companyTitleFile()
    {
        QFETCH(bool, exists);
        QFETCH(QByteArray, content);
        QFETCH(QString, title);
        QFETCH(bool, asked);
        TestEvent event;
        event.writeSettings({{u8("zbt"), {{u8("zbt"), u8("主标题")}}}});
        if (exists) {
            QFile file(QDir::current().filePath(u8("cjini.txt")));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(content);
        }
        Shell& shell = event.shell();
        shell.startUp().startUp();
        QCOMPARE(shell.screen().透明标签_主标题->text(), title);
        QCOMPARE(event.dialogs.messages.size(), asked ? 1 : 0);
        if (asked) {
            QCOMPARE(event.dialogs.messages[0].text, u8("请写入公司名称"));
            QCOMPARE(event.dialogs.messages[0].caption, u8("信息："));
        }
    }

    void repeatingStartUpRebuildsThePool()
    {
        TestEvent event;
        event.addPhotos({u8("甲"), u8("乙")});
        Shell& shell = event.shell();
        shell.startUp().startUp();
        shell.session().poolText.clear();
        shell.session().state.nextOrdinal = 4;
        shell.session().state.completedCount[0] = 2;
        shell.startUp().startUp();
        QCOMPARE(shell.session().poolText.count(u8("\r\n")), 2);
        QCOMPARE(shell.session().state.nextOrdinal, 1);
        QCOMPARE(shell.session().state.completedCount[0], 2);
    }

private:
    std::unique_ptr<QTemporaryDir> m_cwd;
};

QTEST_MAIN(TestStartUp)
#include "test_startup.moc"
