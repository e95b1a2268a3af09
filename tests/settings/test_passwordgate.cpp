#include "settings/PasswordGate.h"

#include "data/SettingsFile.h"
#include "data/Text.h"
#include "platform/FakePlatform.h"
#include "platform/Random.h"
#include "screen/ContextMenu.h"
#include "settings/SettingsPanel.h"
#include "settings/TextScrambler.h"
#include "tests/support/TestEvent.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

using namespace pd;

namespace {
QString u8(const char* s)
{
    return QString::fromUtf8(s);
}

// A settings folder, the scripted dialogs and a panel for the gate to show.
struct Gate
{
    Gate() : settings(dir.path())
    {
        desktop.runDir = dir.path();
        desktop.clock = 1000;
    }

    void storePassword(const QString& plain)
    {
        Random other;
        settings.writeKey(u"zbt", u"password",
                          QString::fromLatin1(scramble(toLocal8(plain), other, [] { return 77; })));
    }

    std::unique_ptr<PasswordGate> open()
    {
        return std::make_unique<PasswordGate>(settings, dialogs, desktop, random, &panel);
    }

    QStringList messages() const
    {
        QStringList texts;
        for (const ShownMessage& m : dialogs.messages)
            texts << m.text;
        return texts;
    }

    QTemporaryDir dir;
    SettingsFile settings;
    FakeDialogs dialogs;
    FakeDesktop desktop;
    Random random;
    QWidget panel;
};
} // namespace

class TestPasswordGate : public QObject
{
    Q_OBJECT
private slots:
    void windowHasItsControls()
    {
        Gate g;
        const auto gate = g.open();
        QCOMPARE(gate->size(), QSize(380, 180));
        QCOMPARE(gate->windowTitle(), QString());
        QCOMPARE(gate->promptLabel->text(), u8("请输入密码"));
        QCOMPARE(gate->promptLabel->geometry(), QRect(8, 24, 64, 32));
        QCOMPARE(gate->编辑框1->geometry(), QRect(96, 24, 200, 32));
        QCOMPARE(gate->编辑框1->echoMode(), QLineEdit::Password);
        QVERIFY(gate->编辑框1->text().isEmpty());
        QCOMPARE(gate->按钮_登陆->text(), u8("进入设置"));
        QCOMPARE(gate->按钮_登陆->geometry(), QRect(80, 80, 72, 32));
        QCOMPARE(gate->按钮_修改密码->text(), u8("修改密码"));
        QCOMPARE(gate->按钮_修改密码->geometry(), QRect(184, 80, 72, 32));
    }

    void enterSettings_data()
    {
        QTest::addColumn<bool>("stored");
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("opens");
        QTest::newRow("none stored, empty entry") << false << QString() << QString() << true;
        QTest::newRow("none stored, any entry") << false << QString() << u8("x") << false;
        QTest::newRow("stored empty value, empty entry") << true << QString() << QString() << true;
        QTest::newRow("right") << true << u8("Abc抽奖") << u8("Abc抽奖") << true;
        QTest::newRow("letter case differs") << true << u8("Abc抽奖") << u8("abc抽奖") << false;
        QTest::newRow("spaces count") << true << u8("Abc") << u8("Abc ") << false;
        QTest::newRow("empty entry") << true << u8("Abc") << QString() << false;
    }

    void enterSettings()
    {
        QFETCH(bool, stored);
        QFETCH(QString, password);
        QFETCH(QString, typed);
        QFETCH(bool, opens);
        Gate g;
        if (stored)
            g.storePassword(password);
        const auto gate = g.open();
        QSignalSpy accepted(gate.get(), &QDialog::accepted);
        gate->编辑框1->setText(typed);

        QTest::mouseClick(gate->按钮_登陆, Qt::LeftButton);

        QCOMPARE(g.panel.isVisible(), opens);
        QCOMPARE(accepted.size(), opens ? 1 : 0);
        QCOMPARE(g.messages(), opens ? QStringList() : QStringList{u8("密码不正确！请重新输入。")});
        if (!opens) // retried any number of times, with the text kept
            QCOMPARE(gate->编辑框1->text(), typed);
    }

    void changeRefusedOrCancelledWritesNothing_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<int>("inputsShown");
        QTest::newRow("wrong entry")
            << u8("nope") << QStringList{u8("请在密码框输入原始密码后再修改！")} << 0;
        QTest::newRow("right entry, input cancelled") << u8("old") << QStringList() << 1;
    }

    void changeRefusedOrCancelledWritesNothing()
    {
        QFETCH(QString, typed);
        QFETCH(QStringList, messages);
        QFETCH(int, inputsShown);
        Gate g;
        g.storePassword(u8("old"));
        const QString before = g.settings.readKey(u"zbt", u"password");
        const auto gate = g.open();
        QSignalSpy finished(gate.get(), &QDialog::finished);
        gate->编辑框1->setText(typed);

        QTest::mouseClick(gate->按钮_修改密码, Qt::LeftButton);

        QCOMPARE(g.messages(), messages);
        QCOMPARE(g.dialogs.inputCaptions.size(), inputsShown);
        QCOMPARE(g.settings.readKey(u"zbt", u"password"), before);
        QCOMPARE(finished.size(), 0);
    }

    void emptyNewPasswordRemovesItAndKeepsTheWindow()
    {
        Gate g;
        g.storePassword(u8("old"));
        const auto gate = g.open();
        QSignalSpy finished(gate.get(), &QDialog::finished);
        gate->编辑框1->setText(u8("old"));
        g.dialogs.inputAnswers.push_back(QString());

        QTest::mouseClick(gate->按钮_修改密码, Qt::LeftButton);

        QCOMPARE(g.dialogs.inputCaptions, QStringList{u8("请输入密码")});
        QCOMPARE(g.dialogs.inputInitials, QStringList{QString()});
        QCOMPARE(g.settings.readKeyOr(u"zbt", u"password", u8("<none>")), QString());
        QCOMPARE(g.messages(), QStringList{u8("您没有设置任何密码！")});
        QCOMPARE(finished.size(), 0);
        // The box still holds the old password, which no longer opens the panel.
        QTest::mouseClick(gate->按钮_登陆, Qt::LeftButton);
        QCOMPARE(g.messages().last(), u8("密码不正确！请重新输入。"));
        gate->编辑框1->clear();
        QTest::mouseClick(gate->按钮_登陆, Qt::LeftButton);
        QVERIFY(g.panel.isVisible());
    }

    void newPasswordIsStoredScrambledAndOpensNextTime()
    {
        Gate g;
        const auto gate = g.open();
        QSignalSpy accepted(gate.get(), &QDialog::accepted);
        g.dialogs.inputAnswers.push_back(u8("新密码9"));

        QTest::mouseClick(gate->按钮_修改密码, Qt::LeftButton);

        QCOMPARE(g.messages(), QStringList{u8("设置成功！请牢记您的密码！")});
        QCOMPARE(accepted.size(), 1);
        QVERIFY(!g.panel.isVisible());
        const QString stored = g.settings.readKey(u"zbt", u"password");
        QCOMPARE(stored.size(), 2 * local8Length(u8("新密码9")));
        for (const QChar c : stored)
            QVERIFY(c.isLetterOrNumber() && c.unicode() < 128);
        QCOMPARE(fromLocal8(descramble(stored.toLatin1())), u8("新密码9"));

        // Scrambled again with another clock: a different value that opens all the same.
        const auto again = g.open();
        QCOMPARE(again->currentPassword(), toLocal8(u8("新密码9")));
        again->编辑框1->setText(u8("新密码9"));
        // A clock reading that draws another r than the first one did.
        const auto rOf = [](qint64 clock) {
            Random probe;
            probe.seed(std::uint32_t(clock));
            return probe.next() % 6;
        };
        while (rOf(g.desktop.clock) == rOf(1000))
            ++g.desktop.clock;
        g.dialogs.inputAnswers.push_back(u8("新密码9"));
        QTest::mouseClick(again->按钮_修改密码, Qt::LeftButton);
        const QString restored = g.settings.readKey(u"zbt", u"password");
        QVERIFY(restored != stored);
        const auto third = g.open();
        third->编辑框1->setText(u8("新密码9"));
        QTest::mouseClick(third->按钮_登陆, Qt::LeftButton);
        QVERIFY(g.panel.isVisible());
    }

    void menuItemOpensTheGateModally()
    {
        QTemporaryDir cwd;
        QDir::setCurrent(cwd.path());
        test::TestEvent event;
        Shell& shell = event.shell();
        shell.start();
        bool wasModal = false;
        QTimer::singleShot(0, [&wasModal] {
            auto* gate = qobject_cast<PasswordGate*>(QApplication::activeModalWidget());
            if (!gate)
                return;
            wasModal = true;
            gate->按钮_登陆->click();
        });

        const std::unique_ptr<QMenu> menu = shell.contextMenu().buildMenu();
        menu->actions().at(2)->trigger();

        QVERIFY(wasModal);
        QVERIFY(shell.settingsPanel().isVisible());
    }
};

QTEST_MAIN(TestPasswordGate)
#include "test_passwordgate.moc"
