#include "app/MainScreen.h"

#include "app/FontFaces.h"
#include "app/PictureBox.h"
#include "data/SettingsFile.h"

#include <QActionGroup>
#include <QCloseEvent>
#include <QCompleter>
#include <QGraphicsDropShadowEffect>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

namespace pd {

namespace {
const QColor kWhite(255, 255, 255);

// The dark edge of the announcement lines. A line without text draws nothing: the edge would
// otherwise blur an empty label on every repaint of the photo frame beneath it, many times a
// second during the roll.
class TextEdge final : public QGraphicsDropShadowEffect
{
public:
    explicit TextEdge(QLabel* line) : QGraphicsDropShadowEffect(line), m_line(line) {}

protected:
    void draw(QPainter* painter) override
    {
        if (!m_line->text().isEmpty())
            QGraphicsDropShadowEffect::draw(painter);
    }

private:
    QLabel* m_line;
};

const QColor kYellow(255, 255, 0);
const QColor kOrange(255, 128, 0);
const QColor kRed(255, 0, 0);
} // namespace

void SkinButton::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r = QRectF(rect()).adjusted(2, 2, -2, -2);
    const qreal radius = r.height() / 2.2;
    const bool down = isDown();
    const bool enabled = isEnabled();

    // A gold rim around a deep red face, lit from above: it reads as a button from the
    // back of a hall and keeps the caption legible on any background picture.
    QLinearGradient rim(r.topLeft(), r.bottomLeft());
    rim.setColorAt(0, QColor(255, 236, 160));
    rim.setColorAt(0.5, QColor(214, 160, 40));
    rim.setColorAt(1, QColor(140, 90, 10));
    p.setPen(Qt::NoPen);
    p.setBrush(rim);
    p.drawRoundedRect(r, radius, radius);

    const QRectF face = r.adjusted(4, 4, -4, -4);
    QLinearGradient fill(face.topLeft(), face.bottomLeft());
    if (!enabled) {
        fill.setColorAt(0, QColor(170, 120, 120));
        fill.setColorAt(1, QColor(110, 70, 70));
    } else if (down) {
        fill.setColorAt(0, QColor(150, 10, 10));
        fill.setColorAt(1, QColor(210, 40, 30));
    } else {
        fill.setColorAt(0, QColor(235, 60, 45));
        fill.setColorAt(1, QColor(160, 10, 10));
    }
    p.setBrush(fill);
    const qreal inner = face.height() / 2.2;
    p.drawRoundedRect(face, inner, inner);

    // Gloss on the upper half.
    QPainterPath gloss;
    gloss.addRoundedRect(face.adjusted(6, 3, -6, -face.height() / 2), inner / 1.6, inner / 1.6);
    p.setBrush(QColor(255, 255, 255, enabled ? 60 : 30));
    p.drawPath(gloss);

    p.setFont(font());
    const QRectF textRect = face.translated(0, down ? 1 : 0);
    p.setPen(QColor(90, 20, 0, 160));
    p.drawText(textRect.translated(1.5, 1.5), Qt::AlignCenter, text());
    p.setPen(enabled ? QColor(255, 240, 170) : QColor(230, 210, 190));
    p.drawText(textRect, Qt::AlignCenter, text());

    if (hasFocus()) {
        p.setPen(QPen(QColor(255, 255, 255, 120), 1, Qt::DotLine));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(face.adjusted(3, 3, -3, -3), inner, inner);
    }
}

MainScreen::MainScreen(Dialogs& dialogs, Desktop& desktop, const SettingsFile& settings,
                       QWidget* parent)
    : QWidget(parent), m_dialogs(dialogs), m_desktop(desktop), m_settings(settings)
{
    setObjectName(QStringLiteral("MainScreen"));
    setWindowTitle(QStringLiteral("现场抽奖"));
    setGeometry(50, 50, 1000, 760);
    setAutoFillBackground(false);

    const double dpi = m_desktop.dotsPerInch();

    透明标签_主标题 = makeLabel("透明标签_主标题", {32, 32, 976, 61}, QStringLiteral("宋体"), 64,
                               true, kWhite, Qt::AlignCenter);
    透明标签_副标题 = makeLabel("透明标签_副标题", {8, 128, 1024, 40}, QStringLiteral("幼圆"), 27,
                               true, kWhite, Qt::AlignCenter);

    图片框_照片 = new PictureBox(this);
    图片框_照片->setObjectName(QStringLiteral("图片框_照片"));
    图片框_照片->setGeometry(696, -16, 500, 400);
    图片框_照片->setBackgroundColour(kRed);

    透明标签_中奖人 = makeLabel("透明标签_中奖人", {68, 344, 920, 80}, QStringLiteral("宋体"), 64,
                               true, kYellow, Qt::AlignCenter);
    透明标签_恭喜 = makeLabel("透明标签_恭喜", {-8, 440, 976, 48}, QStringLiteral("宋体"), 48,
                             true, kYellow, Qt::AlignCenter);
    透明标签_奖品名称 = makeLabel("透明标签_奖品名称", {728, 400, 272, 32}, QStringLiteral("宋体"),
                                 20, true, kWhite, Qt::AlignCenter);

    图片框_奖品 = new PictureBox(this);
    图片框_奖品->setObjectName(QStringLiteral("图片框_奖品"));
    图片框_奖品->setGeometry(728, 440, 272, 224);

    分隔条_左 = makeBar("分隔条_左", {712, 416, 1, 232});
    分隔条_右 = makeBar("分隔条_右", {968, 408, 1, 224});
    分隔条_上 = makeBar("分隔条_上", {720, 408, 240, 1});
    分隔条_下 = makeBar("分隔条_下", {736, 632, 224, 1});

    超级按钮 = new SkinButton(QStringLiteral("开始抽奖"), this);
    超级按钮->setObjectName(QStringLiteral("超级按钮"));
    超级按钮->setGeometry(416, 584, 200, 70);
    超级按钮->setToolTip(QStringLiteral("点击开始抽奖（或按空格键开始）"));
    setLabelFont(超级按钮, QStringLiteral("隶书"), int(std::lround(35 * 72.0 / dpi)), true);
    超级按钮->setFocusPolicy(Qt::StrongFocus);

    透明标签_移动按钮 = makeLabel("透明标签_移动按钮", {616, 584, 48, 72}, QStringLiteral("宋体"),
                                 16, false, kWhite);
    透明标签_移动按钮->setCursor(Qt::SizeAllCursor);

    透明标签_奖项等级 = makeLabel("透明标签_奖项等级", {51, 697, 125, 40}, QStringLiteral("宋体"),
                                 19, false, kWhite);
    透明标签_奖项等级->setText(QStringLiteral("选择奖项等级："));

    组合框1 = new QComboBox(this);
    组合框1->setObjectName(QStringLiteral("组合框1"));
    组合框1->setGeometry(180, 704, 108, 27);
    组合框1->setEditable(true);
    // An editable combo box would complete "一" to "一等奖" and insert typed text as a new
    // item on Return; the chooser's text must stay exactly what the operator typed.
    组合框1->setCompleter(nullptr);
    组合框1->setInsertPolicy(QComboBox::NoInsert);
    setLabelFont(组合框1, QStringLiteral("宋体"), int(std::lround(16 * 72.0 / dpi)));

    透明标签_抽取进度 = makeLabel("透明标签_抽取进度", {296, 704, 80, 40}, QStringLiteral("宋体"),
                                 20, true, kOrange);

    // The display mode and the music switch, each a pair with one check mark.
    窗口 = new QAction(QStringLiteral("窗口"), this);
    全屏 = new QAction(QStringLiteral("全屏"), this);
    启用背景音乐 = new QAction(QStringLiteral("启用背景音乐"), this);
    禁用背景音乐 = new QAction(QStringLiteral("禁用背景音乐"), this);
    for (QAction* a : {窗口, 全屏, 启用背景音乐, 禁用背景音乐})
        a->setCheckable(true);
    connect(窗口, &QAction::triggered, this, &MainScreen::setWindowMode);
    connect(全屏, &QAction::triggered, this, &MainScreen::setFullScreenMode);

    // The announcement runs across the prize picture once the picture stands beside the
    // photo frame: the winner's line is drawn above it, with a dark edge to stay legible.
    for (QLabel* line : {透明标签_中奖人, 透明标签_恭喜}) {
        auto* edge = new TextEdge(line);
        edge->setOffset(2, 2);
        edge->setBlurRadius(4);
        edge->setColor(QColor(90, 0, 0, 200));
        line->setGraphicsEffect(edge);
        line->raise();
    }

    for (QWidget* w : menuElements())
        if (w != this)
            w->installEventFilter(this);
    m_draggable = {图片框_照片,      透明标签_主标题,  透明标签_副标题, 透明标签_恭喜,
                   透明标签_中奖人,  透明标签_抽取进度, 透明标签_奖项等级, 组合框1,
                   透明标签_移动按钮, 图片框_奖品};
    for (QWidget* w : m_draggable)
        w->installEventFilter(this);
    // The combo box's own line edit takes the presses inside it.
    if (组合框1->lineEdit())
        组合框1->lineEdit()->installEventFilter(this);
}

QLabel* MainScreen::makeLabel(const char* name, QRect place, const QString& face, int px,
                              bool bold, const QColor& colour, Qt::Alignment align)
{
    auto* label = new QLabel(this);
    label->setObjectName(QString::fromUtf8(name));
    label->setGeometry(place);
    label->setAlignment(align);
    setLabelFont(label, face, int(std::lround(px * 72.0 / m_desktop.dotsPerInch())), bold);
    QPalette pal = label->palette();
    pal.setColor(QPalette::WindowText, colour);
    label->setPalette(pal);
    return label;
}

QWidget* MainScreen::makeBar(const char* name, QRect place)
{
    auto* bar = new QWidget(this);
    bar->setObjectName(QString::fromUtf8(name));
    bar->setGeometry(place);
    bar->setAutoFillBackground(true);
    QPalette pal = bar->palette();
    pal.setColor(QPalette::Window, QColor(255, 215, 0));
    bar->setPalette(pal);
    bar->setCursor(place.width() == 1 ? Qt::SizeHorCursor : Qt::SizeVerCursor);
    return bar;
}

QList<QWidget*> MainScreen::menuElements() const
{
    return {const_cast<MainScreen*>(this), 透明标签_主标题, 透明标签_副标题, 透明标签_中奖人,
            透明标签_恭喜, 透明标签_抽取进度, 图片框_照片, 图片框_奖品};
}

void MainScreen::applyWindowFlags(Qt::WindowFlags flags)
{
    const bool wasVisible = isVisible();
    const QRect place = geometry();
    setWindowFlags(flags);
    setGeometry(place);
    if (wasVisible)
        show();
}

void MainScreen::setWindowMode()
{
    applyWindowFlags(Qt::Window);
    窗口->setChecked(true);
    全屏->setChecked(false);
    m_settings.writeKey(u"zbt", u"界面大小", QStringLiteral("窗口"));
}

void MainScreen::setFullScreenMode()
{
    applyWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    const QSize screen = m_desktop.screenSize();
    setGeometry(0, 0, screen.width(), screen.height());
    窗口->setChecked(false);
    全屏->setChecked(true);
    m_settings.writeKey(u"zbt", u"界面大小", QStringLiteral("全屏"));
}

void MainScreen::setMusicSwitch(bool on)
{
    启用背景音乐->setChecked(on);
    禁用背景音乐->setChecked(!on);
}

void MainScreen::setBackgroundPicture(const QImage& picture)
{
    m_background = picture;
    m_backgroundScaled = QImage();
    update();
}

QString MainScreen::chooserText() const
{
    return 组合框1->currentText();
}

void MainScreen::setChooserItems(const QStringList& names)
{
    // Filling a combo box selects item 0 and clearing it raises a text change: the chooser
    // must stay empty and nothing may run as if the operator had chosen.
    const QSignalBlocker blocker(组合框1);
    组合框1->clear();
    组合框1->addItems(names);
    组合框1->setCurrentIndex(-1);
    组合框1->setEditText(QString());
}

void MainScreen::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (m_background.isNull()) {
        painter.fillRect(rect(), kRed);
        return;
    }
    // Scaled once per window size: the overlay's shape changes repaint the window often.
    if (m_backgroundScaled.size() != size())
        m_backgroundScaled = m_background.scaled(size(), Qt::IgnoreAspectRatio,
                                                 Qt::SmoothTransformation);
    painter.drawImage(0, 0, m_backgroundScaled);
}

void MainScreen::resizeEvent(QResizeEvent*)
{
    // Elements keep their places when the window is resized; only the background follows.
    update();
}

void MainScreen::mousePressEvent(QMouseEvent* event)
{
    // Presses that children pass on (the Start/Stop button, the chooser, the bars) arrive
    // here too; only a press on the window's own background opens the menu.
    if (event->button() == Qt::RightButton && !childAt(event->position().toPoint()))
        emit contextMenuRequested(event->globalPosition().toPoint());
    QWidget::mousePressEvent(event);
}

void MainScreen::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

void MainScreen::closeEvent(QCloseEvent* event)
{
    if (canClose && !canClose())
        event->ignore();
    else
        event->accept();
}

void MainScreen::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::ActivationChange)
        emit(isActiveWindow() ? activated() : deactivated());
    QWidget::changeEvent(event);
}

bool MainScreen::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonPress) {
        auto* press = static_cast<QMouseEvent*>(event);
        auto* widget = qobject_cast<QWidget*>(watched);
        if (widget && 组合框1->lineEdit() == widget)
            widget = 组合框1;
        if (press->button() == Qt::RightButton && menuElements().contains(widget)) {
            emit contextMenuRequested(press->globalPosition().toPoint());
            return true;
        }
        if (press->button() == Qt::LeftButton && m_draggable.contains(widget)) {
            emit dragRequested(widget, press->globalPosition().toPoint());
            return false;
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace pd
