#include "settings/SettingsPanel.h"

#include "app/MainScreen.h"
#include "app/PictureBox.h"
#include "app/StartUp.h"
#include "data/Text.h"
#include "media/Celebration.h"
#include "tests/support/TestEvent.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace pd;
using namespace pd::test;

namespace {
QString u8(const char* s)
{
    return QString::fromUtf8(s);
}

class FakeCelebration final : public Celebration
{
public:
    void OpenOverlay() override { open = true; }
    void CloseOverlay() override
    {
        open = false;
        ++closes;
    }
    bool IsOverlayOpen() const override { return open; }
    bool open = false;
    int closes = 0;
};

// The lines of the settings file, decoded.
QStringList settingsLines(const TestEvent& event)
{
    return fromLocal8(event.readFile(u8("peizhi.a"))).split(u8("\r\n"), Qt::SkipEmptyParts);
}
} // namespace

class TestSettingsPanel : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        m_cwd = std::make_unique<QTemporaryDir>();
        QDir::setCurrent(m_cwd->path());
    }

    void panelStandsWhereDesignedAndHidden()
    {
        TestEvent event;
        Shell& shell = event.shell();
        shell.start();
        SettingsPanel& p = shell.settingsPanel();
        QCOMPARE(p.parentWidget(), &shell.screen());
        QCOMPARE(p.geometry(), QRect(328, 176, 250, 376));
        QVERIFY(p.isHidden());
        QCOMPARE(p.标签8->geometry(), QRect(222, 2, 24, 18));
        QCOMPARE(p.标签8->text(), u8("メ"));
        QCOMPARE(p.分组框1->geometry(), QRect(2, 22, 246, 353));
        QCOMPARE(p.分组框1->title(), u8("设置"));
        QCOMPARE(p.编辑框_照片图片宽->geometry(), QRect(155, 240, 27, 20));
        QCOMPARE(p.编辑框_照片图片高->geometry(), QRect(197, 240, 27, 20));
        QCOMPARE(p.编辑框_滚动速度->geometry(), QRect(186, 260, 47, 23));
        QCOMPARE(p.选择框_是否允许重复抽奖->geometry(), QRect(9, 284, 227, 21));
        QCOMPARE(p.选择框_禁用特效->geometry(), QRect(9, 305, 254, 16));
        QCOMPARE(p.按钮_保存->geometry(), QRect(73, 326, 107, 24));
        QCOMPARE(p.按钮_保存->text(), u8("保存"));
    }

    void tierRowsStandOnTheirLines_data()
    {
        QTest::addColumn<int>("tier");
        QTest::addColumn<int>("y");
        const int tops[] = {34, 62, 88, 114, 141, 167, 191, 217};
        for (int n = 1; n <= 8; ++n)
            QTest::newRow(qPrintable(QString::number(n))) << n << tops[n - 1];
    }

    void tierRowsStandOnTheirLines()
    {
        QFETCH(int, tier);
        QFETCH(int, y);
        TestEvent event;
        Shell& shell = event.shell();
        SettingsPanel& p = shell.settingsPanel();
        const size_t i = size_t(tier - 1);
        const QString n = QString::number(tier);
        const auto box = [&p](const QString& name) { return p.findChild<QLineEdit*>(name); };

        QCOMPARE(box(u8("编辑框_奖项") + n)->geometry(), QRect(10, y, 60, 20));
        QCOMPARE(box(u8("编辑框_奖项人数") + n)->geometry(), QRect(79, y, 60, 20));
        QCOMPARE(box(u8("编辑框_奖项%1图片").arg(n))->geometry(), QRect(147, y, 60, 20));
        QCOMPARE(p.browseButtons[i]->geometry(), QRect(tier == 7 ? 211 : 210, y, 25, 20));
        QCOMPARE(p.browseButtons[i]->text(), u8("《"));
        // The designated-winner boxes exist beyond the group's visible width.
        QCOMPARE(box(u8("编辑框_中奖人") + n)->geometry(), QRect(254, y, 60, 20));
        QCOMPARE(box(u8("编辑框_中奖人") + n + n)->geometry(), QRect(320, y, 60, 20));
        QCOMPARE(box(u8("编辑框_中奖人") + n + n + n)->geometry(), QRect(384, y, 60, 20));
        QVERIFY(box(u8("编辑框_中奖人") + n)->x() >= p.分组框1->width());
        // Before start-up the name and picture boxes hold the design names.
        QCOMPARE(p.tierNameBoxes[i]->text(), tierDesignName(tier));
        QCOMPARE(p.pictureBoxes[i]->text(), tierDesignName(tier));
        QVERIFY(p.winnerCountBoxes[i]->text().isEmpty());
        // Tab stops: name and count only.
        QVERIFY(p.tierNameBoxes[i]->focusPolicy() & Qt::TabFocus);
        QVERIFY(p.winnerCountBoxes[i]->focusPolicy() & Qt::TabFocus);
        QVERIFY(!(p.pictureBoxes[i]->focusPolicy() & Qt::TabFocus));
        QVERIFY(!(p.browseButtons[i]->focusPolicy() & Qt::TabFocus));
    }

    void boxesAreTheTierStore()
    {
        TestEvent event;
        event.writeSettings({{u8("zbt"),
                              {{u8("特等奖"), u8("头奖")},
                               {u8("一等奖人数"), u8("5")},
                               {u8("照片图片宽"), u8("320")},
                               {u8("是否允许重复"), u8("真")}}}});
        Shell& shell = event.shell();
        shell.start();
        SettingsPanel& p = shell.settingsPanel();
        TierStore& store = shell.session().store;
        // Start-up fills the store, and the boxes show it.
        QCOMPARE(p.tierNameBoxes[0]->text(), u8("头奖"));
        QCOMPARE(p.winnerCountBoxes[1]->text(), u8("5"));
        QCOMPARE(p.编辑框_照片图片宽->text(), u8("320"));
        QVERIFY(p.选择框_是否允许重复抽奖->isChecked());

        // Each keystroke acts on the draw at once, before any Save.
        p.show();
        p.winnerCountBoxes[0]->setFocus();
        QTest::keyClicks(p.winnerCountBoxes[0], "12");
        QCOMPARE(store.winnerCount(1), u8("12"));
        QTest::keyClicks(p.编辑框_滚动速度, "5");
        QCOMPARE(store.rollSpeed(), u8("305"));
        QTest::mouseClick(p.选择框_是否允许重复抽奖, Qt::LeftButton);
        QVERIFY(!store.allowRepeats());

        // The close mark hides the panel and keeps the typing; nothing is written.
        const QByteArray file = event.readFile(u8("peizhi.a"));
        QTest::mousePress(p.标签8, Qt::LeftButton);
        QVERIFY(p.isHidden());
        QCOMPARE(event.readFile(u8("peizhi.a")), file);
        QCOMPARE(p.winnerCountBoxes[0]->text(), u8("12"));
    }

    void saveWritesTheKeysInOrderAndRebuilds()
    {
        TestEvent event;
        event.writeSettings({{u8("zbt"), {{u8("a"), u8("Qm4Z")}}}});
        Shell& shell = event.shell();
        shell.start();
        SettingsPanel& p = shell.settingsPanel();
        TierStore& store = shell.session().store;
        store.setName(1, u8("头奖"));
        store.setWinnerCount(1, u8("1"));
        store.setName(3, u8("三等"));
        store.setPicturePath(2, u8("/no/such/picture.jpg"));
        store.setRollSpeed(u8("45.9"));
        shell.session().state.nextOrdinal = 4;
        p.show();

        QTest::mouseClick(p.按钮_保存, Qt::LeftButton);

        // The designated winner "a" is never rewritten; "界面大小" keeps its place.
        QStringList expected{u8("[zbt]"), u8("a=Qm4Z"), u8("界面大小=全屏")};
        for (int n = 1; n <= 8; ++n)
            expected << tierDesignName(n) + u8("人数=") + store.winnerCount(n);
        expected << u8("滚动速度=45.9");
        for (int n = 1; n <= 8; ++n)
            expected << tierDesignName(n) + u8("=") + store.name(n);
        for (int n = 1; n <= 8; ++n)
            expected << u8("奖项%1图片=").arg(n) + store.picturePath(n);
        expected << u8("是否允许重复=假") << u8("照片图片宽=500") << u8("照片图片高=400");
        const QStringList lines = settingsLines(event);
        QCOMPARE(lines, expected);
        // Written as the boxes hold them, empty ones included.
        for (const char* line :
             {"特等奖人数=1", "一等奖=", "一等奖人数=", "奖项2图片=/no/such/picture.jpg"})
            QVERIFY2(lines.contains(u8(line)), line);

        QVERIFY(p.isHidden());
        MainScreen& s = shell.screen();
        QCOMPARE(s.组合框1->count(), 2);
        QCOMPARE(s.组合框1->itemText(0), u8("头奖"));
        QCOMPARE(s.组合框1->itemText(1), u8("三等"));
        QCOMPARE(s.chooserText(), QString());
        // Start-up ran again: ordinals restart and the rolling speed is taken up.
        QCOMPARE(shell.session().state.nextOrdinal, 1);
        QCOMPARE(shell.session().state.rollPeriodMs, 45);
        QCOMPARE(event.dialogs.messages.size(), 1);
        QCOMPARE(event.dialogs.messages.last().text,
                 u8("设置完毕！抽奖过程中，请不要再修改奖项设置！"));
        QCOMPARE(event.dialogs.messages.last().caption, u8("信息："));
    }

    void saveReportsAfterTheCompanyTitleMessage()
    {
        QFile title(QDir::current().filePath(u8("cjini.txt")));
        QVERIFY(title.open(QIODevice::WriteOnly));
        title.close();
        TestEvent event;
        Shell& shell = event.shell();
        shell.start();
        event.dialogs.messages.clear();

        shell.settingsPanel().save();

        QCOMPARE(event.dialogs.messages.size(), 2);
        QCOMPARE(event.dialogs.messages.at(0).text, u8("请写入公司名称"));
        QCOMPARE(event.dialogs.messages.at(1).text,
                 u8("设置完毕！抽奖过程中，请不要再修改奖项设置！"));
    }

    void disableEffectsIsStoredAtOnceAndClosesTheOverlay()
    {
        TestEvent event;
        Shell& shell = event.shell();
        FakeCelebration celebration;
        shell.setCelebration(&celebration);
        shell.start();
        SettingsPanel& p = shell.settingsPanel();
        p.show();
        celebration.open = true;

        QTest::mouseClick(p.选择框_禁用特效, Qt::LeftButton);
        QCOMPARE(shell.session().settings.readKey(u"zbt", u"禁用特效"), u8("真"));
        QVERIFY(shell.session().store.disableEffects());
        QCOMPARE(celebration.closes, 1);

        QTest::mouseClick(p.选择框_禁用特效, Qt::LeftButton);
        QCOMPARE(shell.session().settings.readKey(u"zbt", u"禁用特效"), u8("假"));
        // Not open any more: nothing to close.
        QCOMPARE(celebration.closes, 1);
    }

    void browseSetsThePicturePath()
    {
        TestEvent event;
        Shell& shell = event.shell();
        shell.start();
        SettingsPanel& p = shell.settingsPanel();
        p.show();
        event.dialogs.fileAnswers.push_back(u8("/event/奖品/电视.jpg"));
        event.dialogs.fileAnswers.push_back(std::nullopt);

        QTest::mouseClick(p.browseButtons[6], Qt::LeftButton);
        QTest::mouseClick(p.browseButtons[6], Qt::LeftButton);

        QCOMPARE(event.dialogs.fileFilters,
                 (QStringList{u8("图形文件(*.jpg)|*.jpg"), u8("图形文件(*.jpg)|*.jpg")}));
        QCOMPARE(p.pictureBoxes[6]->text(), u8("/event/奖品/电视.jpg"));
        QCOMPARE(shell.session().store.picturePath(7), u8("/event/奖品/电视.jpg"));
        QCOMPARE(shell.session().settings.readKey(u"zbt", u"奖项7图片"), QString());
    }

    void panelIsDraggedByItsOwnSurfaceOnly()
    {
        TestEvent event;
        Shell& shell = event.shell();
        shell.start();
        SettingsPanel& p = shell.settingsPanel();
        p.show();
        const QPoint origin = p.pos();

        // Inside the group: its controls' business.
        QTest::mousePress(p.分组框1, Qt::LeftButton, {}, {100, 200});
        QTest::mouseMove(p.分组框1, {150, 260});
        QTest::mouseRelease(p.分组框1, Qt::LeftButton, {}, {150, 260});
        QCOMPARE(p.pos(), origin);

        QTest::mousePress(&p, Qt::LeftButton, {}, {100, 10});
        QTest::mouseMove(&p, {160, 50});
        QTest::mouseRelease(&p, Qt::LeftButton, {}, {160, 50});
        QCOMPARE(p.pos(), origin + QPoint(60, 40));
        // Never stored.
        QVERIFY(shell.session().settings.readKey(u"zweizhi", u"外形框1左边").isEmpty());
    }

private:
    std::unique_ptr<QTemporaryDir> m_cwd;
};

QTEST_MAIN(TestSettingsPanel)
#include "test_settingspanel.moc"
