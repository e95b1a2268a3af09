#include "screen/TitleCommands.h"

#include "app/FontFaces.h"
#include "app/MainScreen.h"
#include "app/StartUp.h"
#include "data/Text.h"
#include "tests/support/TestEvent.h"

#include <QDir>
#include <QFile>
#include <QTest>

using namespace pd;
using namespace pd::test;

namespace {
QString u8(const char* s)
{
    return QString::fromUtf8(s);
}

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}
} // namespace

class TestTitleCommands : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        m_cwd = std::make_unique<QTemporaryDir>();
        QDir::setCurrent(m_cwd->path());
    }

    void mainTitleGoesToLabelKeyAndCompanyTitleFile_data()
    {
        QTest::addColumn<bool>("titleFileExists");
        QTest::newRow("cjini.txt present") << true;
        QTest::newRow("cjini.txt absent") << false;
    }

    void mainTitleGoesToLabelKeyAndCompanyTitleFile()
    {
        QFETCH(bool, titleFileExists);
        const QString titleFile = QDir::current().filePath(u8("cjini.txt"));
        if (titleFileExists) {
            QFile file(titleFile);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("Old Company Name that is longer");
        }
        TestEvent event;
        Shell& shell = event.shell();
        shell.startUp().startUp();
        event.dialogs.inputAnswers.push_back(u8("新公司€"));

        changeMainTitle(shell.screen(), shell.session().settings, event.dialogs);

        QCOMPARE(event.dialogs.inputCaptions, QStringList{u8("请输入主标题")});
        // Nothing stored yet: the dialog offers the default title, not the file's.
        QCOMPARE(event.dialogs.inputInitials, QStringList{u8("某某公司现场抽奖仪式")});
        QCOMPARE(shell.screen().透明标签_主标题->text(), u8("新公司€"));
        QCOMPARE(shell.session().settings.readKey(u"zbt", u"zbt"), u8("新公司€"));
        // The whole old content is replaced, with no line end; a missing file stays missing.
        QCOMPARE(fileBytes(titleFile),
                 titleFileExists ? toLocal8(u8("新公司€")) : QByteArray("<missing>"));
    }

    void cancelledTitlesChangeNothing()
    {
        TestEvent event;
        event.writeSettings({{u8("zbt"), {{u8("zbt"), u8("甲")}, {u8("fbt"), u8("乙")}}}});
        Shell& shell = event.shell();
        shell.startUp().startUp();
        const QByteArray before = event.readFile(u8("peizhi.a"));

        changeMainTitle(shell.screen(), shell.session().settings, event.dialogs);
        changeSubtitle(shell.screen(), shell.session().settings, event.dialogs);

        QCOMPARE(event.dialogs.inputInitials, (QStringList{u8("甲"), u8("乙")}));
        QCOMPARE(shell.screen().透明标签_主标题->text(), u8("甲"));
        QCOMPARE(shell.screen().透明标签_副标题->text(), u8("乙"));
        QCOMPARE(event.readFile(u8("peizhi.a")), before);
    }

    void subtitleAsksWithTheMainTitleWordsAndStores()
    {
        TestEvent event;
        Shell& shell = event.shell();
        shell.startUp().startUp();
        event.dialogs.inputAnswers.push_back(QString());

        changeSubtitle(shell.screen(), shell.session().settings, event.dialogs);

        QCOMPARE(event.dialogs.inputCaptions, QStringList{u8("请输入主标题")});
        // An empty subtitle is accepted and stored as an empty value.
        QCOMPARE(shell.screen().透明标签_副标题->text(), QString());
        QCOMPARE(shell.session().settings.readKeyOr(u"zbt", u"fbt", u8("absent")), QString());
    }

    void fontKeysAreWrittenAndTitleHeightFollows_data()
    {
        QTest::addColumn<int>("target");
        QTest::addColumn<bool>("confirmed");
        QTest::addColumn<QString>("prefix");
        QTest::addColumn<QString>("face");
        QTest::addColumn<int>("size");
        QTest::addColumn<int>("colour");
        QTest::addColumn<int>("height"); // -1: the label keeps its height

        const int white = colourNumber(255, 255, 255);
        const int yellow = colourNumber(255, 255, 0);
        const int teal = colourNumber(0, 128, 128);
        QTest::newRow("main title 20 pt")
            << int(FontTarget::MainTitle) << true << u8("主标题") << u8("黑体") << 20 << teal << 36;
        QTest::newRow("subtitle 25 pt")
            << int(FontTarget::Subtitle) << true << u8("副标题") << u8("楷体") << 25 << teal << 45;
        QTest::newRow("announcement keeps height") << int(FontTarget::Announcement) << true
                                                   << u8("恭喜") << u8("黑体") << 30 << teal << -1;
        // Cancel still writes the label's unchanged face, size and colour.
        QTest::newRow("main title cancelled") << int(FontTarget::MainTitle) << false << u8("主标题")
                                              << u8("宋体") << 48 << white << 86;
        QTest::newRow("subtitle cancelled") << int(FontTarget::Subtitle) << false << u8("副标题")
                                            << u8("幼圆") << 20 << white << 36;
        QTest::newRow("announcement cancelled") << int(FontTarget::Announcement) << false
                                                << u8("恭喜") << u8("宋体") << 36 << yellow << -1;
    }

    void fontKeysAreWrittenAndTitleHeightFollows()
    {
        QFETCH(int, target);
        QFETCH(bool, confirmed);
        QFETCH(QString, prefix);
        QFETCH(QString, face);
        QFETCH(int, size);
        QFETCH(int, colour);
        QFETCH(int, height);
        TestEvent event;
        Shell& shell = event.shell();
        shell.startUp().startUp();
        MainScreen& s = shell.screen();
        QLabel* label = target == int(FontTarget::MainTitle)  ? s.透明标签_主标题
                        : target == int(FontTarget::Subtitle) ? s.透明标签_副标题
                                                              : s.透明标签_恭喜;
        // The height must be set by the command, not left from start-up.
        label->resize(label->width(), 3);
        if (confirmed) {
            FontChoice choice;
            choice.face = face;
            choice.pointSize = size;
            choice.bold = true;
            choice.underline = true;
            choice.colour = colour;
            event.dialogs.fontAnswers.push_back(choice);
        }

        changeLabelFont(s, shell.session().settings, event.dialogs, FontTarget(target));

        const SettingsFile& settings = shell.session().settings;
        QCOMPARE(settings.readKey(u"yanse", prefix + u8("字体")), face);
        QCOMPARE(settings.readKey(u"yanse", prefix + u8("字体大小")), QString::number(size));
        QCOMPARE(settings.readKey(u"yanse", prefix + u8("字体颜色")), QString::number(colour));
        QCOMPARE(faceNameOf(label), face);
        QCOMPARE(pointSizeOf(label), size);
        QCOMPARE(label->font().underline(), confirmed);
        QCOMPARE(label->height(), height < 0 ? 3 : height);
        // Face, size and colour, in that order.
        const QString file = fromLocal8(event.readFile(u8("peizhi.a")));
        QVERIFY(file.indexOf(prefix + u8("字体=")) < file.indexOf(prefix + u8("字体大小=")));
        QVERIFY(file.indexOf(prefix + u8("字体大小=")) < file.indexOf(prefix + u8("字体颜色=")));
    }

private:
    std::unique_ptr<QTemporaryDir> m_cwd;
};

QTEST_MAIN(TestTitleCommands)
#include "test_titlecommands.moc"
