// The demo event laid out for the screens an event meets (a laptop, a full-HD projector; a
// 4K screen at scale factor 2 is the full-HD layout in device-independent pixels), checked
// after a draw the way the audience sees it: every shown element on the screen, every text
// inside its element, and no two shown things drawn over each other.
#include "app/FontFaces.h"
#include "app/MainScreen.h"
#include "app/PictureBox.h"
#include "draw/DrawCycle.h"
#include "draw/TierChooser.h"
#include "tests/support/TestEvent.h"
#include "tools/photogen/PhotoGenerator.h"

#include <QDir>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QTest>

using namespace pd;
using namespace pd::test;

namespace {
QString u8(const char* s)
{
    return QString::fromUtf8(s);
}

// Where a label's text is drawn, in window pixels: the text painted as the label paints it
// (aligned in the label's rectangle) on a canvas with room all round, and its ink measured.
QRect inkOf(const QLabel* label)
{
    const QRect box = label->geometry();
    const int margin = box.height() * 2;
    QImage canvas(box.size() + QSize(2 * margin, 2 * margin), QImage::Format_ARGB32);
    canvas.fill(Qt::transparent);
    {
        QPainter painter(&canvas);
        painter.setFont(label->font());
        painter.setPen(Qt::black);
        painter.drawText(QRect(QPoint(margin, margin), box.size()), int(label->alignment()),
                         label->text());
    }
    int top = canvas.height(), bottom = -1, left = canvas.width(), right = -1;
    for (int y = 0; y < canvas.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(canvas.constScanLine(y));
        for (int x = 0; x < canvas.width(); ++x)
            if (qAlpha(line[x]) > 64) {
                top = qMin(top, y);
                bottom = qMax(bottom, y);
                left = qMin(left, x);
                right = qMax(right, x);
            }
    }
    if (bottom < 0)
        return {};
    return QRect(QPoint(left, top), QPoint(right, bottom))
        .translated(box.topLeft() - QPoint(margin, margin));
}
} // namespace

class TestLayout : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        m_cwd = std::make_unique<QTemporaryDir>();
        QDir::setCurrent(m_cwd->path());
    }

    void demoEventAfterADraw_data()
    {
        QTest::addColumn<QSize>("screen");
        QTest::newRow("laptop 1366x768") << QSize(1366, 768);
        QTest::newRow("projector 1920x1080, and 3840x2160 at scale 2") << QSize(1920, 1080);
    }
    void demoEventAfterADraw()
    {
        QFETCH(QSize, screen);
        TestEvent event;
        QVERIFY(makeDemoEvent(event.dir(), 20231231));
        event.desktop.screen = screen;
        event.desktop.waitOverrideMs = 0;
        Shell& shell = event.shell();
        shell.start();
        MainScreen& s = shell.screen();
        QVERIFY(QTest::qWaitForWindowExposed(&s));

        s.组合框1->setFocus();
        QTest::keyClick(s.组合框1, Qt::Key_Down); // the first tier of the list
        QVERIFY(!s.chooserText().isEmpty());
        shell.drawCycle().startStop();
        shell.drawCycle().startStop();
        QTRY_VERIFY(s.超级按钮->isEnabled());
        QVERIFY(!s.透明标签_恭喜->text().isEmpty());
        if (!qEnvironmentVariableIsEmpty("PRIZEDRAW_LAYOUT_SHOT"))
            s.grab().save(qEnvironmentVariable("PRIZEDRAW_LAYOUT_SHOT"));

        const QRect whole(QPoint(0, 0), screen);
        QList<std::pair<QString, QRect>> shown;
        for (QLabel* label : {s.透明标签_主标题, s.透明标签_副标题, s.透明标签_恭喜,
                              s.透明标签_奖项等级, s.透明标签_抽取进度}) {
            QVERIFY2(label->isVisible(), qPrintable(label->objectName()));
            QVERIFY2(!label->text().isEmpty(), qPrintable(label->objectName()));
            const QRect ink = inkOf(label);
            // Text drawn outside its label is cut off on the screen.
            QVERIFY2(label->geometry().contains(ink),
                     qPrintable(label->objectName() + u8(" clips its text")));
            shown.append({label->objectName(), ink});
        }
        for (QWidget* w :
             std::initializer_list<QWidget*>{s.图片框_照片, s.图片框_奖品, s.超级按钮, s.组合框1}) {
            QVERIFY2(w->isVisible(), qPrintable(w->objectName()));
            shown.append({w->objectName(), w->geometry()});
        }
        for (const auto& [name, rect] : shown)
            QVERIFY2(whole.contains(rect), qPrintable(name + u8(" leaves the screen")));
        // The prize name label keeps its design place while the prize picture moves beside
        // the photo frame (the layout rules), so it is left out here.
        const QRect announcement = shown[2].second;
        const QRect prizePicture = s.图片框_奖品->geometry();
        for (qsizetype i = 0; i < shown.size(); ++i)
            for (qsizetype j = i + 1; j < shown.size(); ++j)
                if (shown[i].second != announcement || shown[j].second != prizePicture)
                    QVERIFY2(!shown[i].second.intersects(shown[j].second),
                             qPrintable(shown[i].first + u8(" overlaps ") + shown[j].first));
        // The layout rules put the centred announcement across the prize picture, which
        // stands beside the photo frame at the design's top: the announcement is drawn above
        // it, so "恭喜您：…" stays whole.
        if (announcement.intersects(prizePicture)) {
            const QObjectList order = s.children();
            QVERIFY(order.indexOf(s.透明标签_恭喜) > order.indexOf(s.图片框_奖品));
        }
        // The button's caption stays inside its face.
        const QFontMetrics button(s.超级按钮->font());
        QVERIFY(button.horizontalAdvance(s.超级按钮->text()) < s.超级按钮->width() - 16);
    }

private:
    std::unique_ptr<QTemporaryDir> m_cwd;
};

QTEST_MAIN(TestLayout)
#include "test_layout.moc"
