#include "settings/SettingsPanel.h"

#include "data/SettingsFile.h"
#include "data/Text.h"
#include "draw/PrizeTier.h"
#include "draw/TierStore.h"
#include "media/Celebration.h"
#include "platform/Platform.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>

namespace pd {

namespace {
const QString kZbt = QStringLiteral("zbt");
constexpr std::array<int, kPanelTiers> kRowTops = {34, 62, 88, 114, 141, 167, 191, 217};
constexpr std::array<int, 3> kDesignatedLefts = {254, 320, 384};

// `编辑框_中奖人1`, `编辑框_中奖人11`, `编辑框_中奖人111` for tier 1 in slots 1 to 3.
QString designatedBoxName(int tier, int slot)
{
    return QStringLiteral("编辑框_中奖人") + QString(QString::number(tier)).repeated(slot);
}

void setTextKeepingCursor(QLineEdit* box, const QString& text)
{
    if (box->text() != text)
        box->setText(text);
}
} // namespace

SettingsPanel::SettingsPanel(TierStore& store, const SettingsFile& settings, Dialogs& dialogs,
                             QWidget* parent)
    : QFrame(parent), m_store(store), m_settings(settings), m_dialogs(dialogs)
{
    setObjectName(QStringLiteral("外形框1"));
    setGeometry(328, 176, 250, 376);
    setFrameShape(QFrame::Box);
    setAutoFillBackground(true);

    标签8 = makeLabel(this, QStringLiteral("メ"), {222, 2, 24, 18});
    标签8->setObjectName(QStringLiteral("标签8"));
    标签8->setAlignment(Qt::AlignCenter);
    标签8->setCursor(Qt::PointingHandCursor);
    标签8->installEventFilter(this);

    分组框1 = new QGroupBox(QStringLiteral("设置"), this);
    分组框1->setObjectName(QStringLiteral("分组框1"));
    分组框1->setGeometry(2, 22, 246, 353);

    makeLabel(分组框1, QStringLiteral("奖项"), {35, 8, 40, 16});
    makeLabel(分组框1, QStringLiteral("人数"), {87, 8, 40, 16});
    makeLabel(分组框1, QStringLiteral("奖品图片"), {142, 8, 60, 16});
    // Beyond the group's right edge, like the boxes it heads: never seen.
    makeLabel(分组框1, QStringLiteral("指定中奖人(可指定3人)"), {288, 8, 140, 16});

    for (int n = 1; n <= kPanelTiers; ++n) {
        const int i = n - 1;
        const int y = kRowTops[size_t(i)];
        const QString number = QString::number(n);
        tierNameBoxes[size_t(i)] =
            makeBox(QStringLiteral("编辑框_奖项") + number, {10, y, 60, 20}, true);
        winnerCountBoxes[size_t(i)] =
            makeBox(QStringLiteral("编辑框_奖项人数") + number, {79, y, 60, 20}, true);
        pictureBoxes[size_t(i)] =
            makeBox(QStringLiteral("编辑框_奖项%1图片").arg(n), {147, y, 60, 20}, false);

        auto* button = new QPushButton(QStringLiteral("《"), 分组框1);
        button->setObjectName(QStringLiteral("按钮_奖项%1浏览").arg(n));
        button->setGeometry(n == 7 ? 211 : 210, y, 25, 20);
        button->setFocusPolicy(Qt::ClickFocus);
        browseButtons[size_t(i)] = button;
        connect(button, &QPushButton::clicked, this, [this, n] { browse(n); });

        for (int slot = 1; slot <= 3; ++slot)
            designatedBoxes[size_t(slot - 1)][size_t(i)] = makeBox(
                designatedBoxName(n, slot), {kDesignatedLefts[size_t(slot - 1)], y, 60, 20}, false);

        connect(tierNameBoxes[size_t(i)], &QLineEdit::textEdited, &m_store,
                [this, n](const QString& text) { m_store.setName(n, text); });
        connect(winnerCountBoxes[size_t(i)], &QLineEdit::textEdited, &m_store,
                [this, n](const QString& text) { m_store.setWinnerCount(n, text); });
        connect(pictureBoxes[size_t(i)], &QLineEdit::textEdited, &m_store,
                [this, n](const QString& text) { m_store.setPicturePath(n, text); });
        for (int slot = 1; slot <= 3; ++slot)
            connect(designatedBoxes[size_t(slot - 1)][size_t(i)], &QLineEdit::textEdited, &m_store,
                    [this, n, slot](const QString& text) { m_store.setDesignated(n, slot, text); });
    }

    makeLabel(分组框1, QStringLiteral("照片框大小(像素：宽x高)："), {7, 240, 148, 20});
    编辑框_照片图片宽 = makeBox(QStringLiteral("编辑框_照片图片宽"), {155, 240, 27, 20}, true);
    makeLabel(分组框1, QStringLiteral("×"), {181, 240, 16, 20})->setAlignment(Qt::AlignCenter);
    编辑框_照片图片高 = makeBox(QStringLiteral("编辑框_照片图片高"), {197, 240, 27, 20}, true);
    makeLabel(分组框1, QStringLiteral("设置抽奖滚动速度(默认30毫秒):"), {5, 260, 181, 23});
    编辑框_滚动速度 = makeBox(QStringLiteral("编辑框_滚动速度"), {186, 260, 47, 23}, true);
    connect(编辑框_照片图片宽, &QLineEdit::textEdited, &m_store, &TierStore::setPhotoWidth);
    connect(编辑框_照片图片高, &QLineEdit::textEdited, &m_store, &TierStore::setPhotoHeight);
    connect(编辑框_滚动速度, &QLineEdit::textEdited, &m_store, &TierStore::setRollSpeed);

    选择框_是否允许重复抽奖 =
        new QCheckBox(QStringLiteral("允许重复抽奖(勾选为允许重复抽奖)"), 分组框1);
    选择框_是否允许重复抽奖->setObjectName(QStringLiteral("选择框_是否允许重复抽奖"));
    选择框_是否允许重复抽奖->setGeometry(9, 284, 227, 21);
    选择框_是否允许重复抽奖->setFocusPolicy(Qt::ClickFocus);
    connect(选择框_是否允许重复抽奖, &QCheckBox::clicked, &m_store, &TierStore::setAllowRepeats);

    选择框_禁用特效 = new QCheckBox(QStringLiteral("禁用特效(中奖后有烟花效果随机播放)"), 分组框1);
    选择框_禁用特效->setObjectName(QStringLiteral("选择框_禁用特效"));
    选择框_禁用特效->setGeometry(9, 305, 254, 16);
    connect(选择框_禁用特效, &QCheckBox::clicked, this, &SettingsPanel::disableEffectsClicked);

    按钮_保存 = new QPushButton(QStringLiteral("保存"), 分组框1);
    按钮_保存->setObjectName(QStringLiteral("按钮_保存"));
    按钮_保存->setGeometry(73, 326, 107, 24);
    connect(按钮_保存, &QPushButton::clicked, this, &SettingsPanel::save);

    connect(&m_store, &TierStore::changed, this, &SettingsPanel::showStore);
    showStore();
    hide();
}

QLineEdit* SettingsPanel::makeBox(const QString& name, QRect place, bool tabStop)
{
    auto* box = new QLineEdit(分组框1);
    box->setObjectName(name);
    box->setGeometry(place);
    box->setFocusPolicy(tabStop ? Qt::StrongFocus : Qt::ClickFocus);
    return box;
}

QLabel* SettingsPanel::makeLabel(QWidget* parent, const QString& text, QRect place)
{
    auto* label = new QLabel(text, parent);
    label->setGeometry(place);
    return label;
}

void SettingsPanel::showStore()
{
    for (int n = 1; n <= kPanelTiers; ++n) {
        const size_t i = size_t(n - 1);
        setTextKeepingCursor(tierNameBoxes[i], m_store.name(n));
        setTextKeepingCursor(winnerCountBoxes[i], m_store.winnerCount(n));
        setTextKeepingCursor(pictureBoxes[i], m_store.picturePath(n));
        for (int slot = 1; slot <= 3; ++slot)
            setTextKeepingCursor(designatedBoxes[size_t(slot - 1)][i], m_store.designated(n, slot));
    }
    setTextKeepingCursor(编辑框_照片图片宽, m_store.photoWidth());
    setTextKeepingCursor(编辑框_照片图片高, m_store.photoHeight());
    setTextKeepingCursor(编辑框_滚动速度, m_store.rollSpeed());
    选择框_是否允许重复抽奖->setChecked(m_store.allowRepeats());
    选择框_禁用特效->setChecked(m_store.disableEffects());
}

void SettingsPanel::browse(int tier)
{
    if (const std::optional<QString> chosen =
            m_dialogs.openFile(QStringLiteral("图形文件(*.jpg)|*.jpg")))
        m_store.setPicturePath(tier, *chosen);
}

void SettingsPanel::disableEffectsClicked(bool ticked)
{
    m_store.setDisableEffects(ticked);
    m_settings.writeKey(kZbt, u"禁用特效", truthText(ticked));
    if (m_celebration && m_celebration->IsOverlayOpen())
        m_celebration->CloseOverlay();
}

void SettingsPanel::save()
{
    for (int n = 1; n <= kPanelTiers; ++n)
        m_settings.writeKey(kZbt, tierDesignName(n) + QStringLiteral("人数"),
                            m_store.winnerCount(n));
    m_settings.writeKey(kZbt, u"滚动速度", m_store.rollSpeed());
    for (int n = 1; n <= kPanelTiers; ++n)
        m_settings.writeKey(kZbt, tierDesignName(n), m_store.name(n));
    for (int n = 1; n <= kPanelTiers; ++n)
        m_settings.writeKey(kZbt, QStringLiteral("奖项%1图片").arg(n), m_store.picturePath(n));
    m_settings.writeKey(kZbt, u"是否允许重复", truthText(m_store.allowRepeats()));
    m_settings.writeKey(kZbt, u"照片图片宽", m_store.photoWidth());
    m_settings.writeKey(kZbt, u"照片图片高", m_store.photoHeight());

    if (refreshTierChooser)
        refreshTierChooser();
    hide();
    if (runStartUp)
        runStartUp();
    m_dialogs.message(QStringLiteral("设置完毕！抽奖过程中，请不要再修改奖项设置！"), QString());
}

void SettingsPanel::mousePressEvent(QMouseEvent* event)
{
    // Taken here whatever the button, so that no press on the panel reaches the main window
    // and opens its context menu. Only the panel's own surface moves it: presses in the
    // group belong to its controls.
    event->accept();
    if (event->button() == Qt::LeftButton &&
        !分组框1->geometry().contains(event->position().toPoint())) {
        m_dragging = true;
        m_pressGlobal = event->globalPosition().toPoint();
        m_origin = pos();
    }
}

void SettingsPanel::mouseMoveEvent(QMouseEvent* event)
{
    if (!m_dragging) {
        QFrame::mouseMoveEvent(event);
        return;
    }
    QPoint place = m_origin + event->globalPosition().toPoint() - m_pressGlobal;
    // The panel stays inside the main window, where the operator can always reach it again.
    if (const QWidget* host = parentWidget()) {
        place.setX(qBound(0, place.x(), qMax(0, host->width() - width())));
        place.setY(qBound(0, place.y(), qMax(0, host->height() - height())));
    }
    move(place);
}

void SettingsPanel::mouseReleaseEvent(QMouseEvent* event)
{
    if (m_dragging && event->button() == Qt::LeftButton) {
        m_dragging = false;
        return;
    }
    QFrame::mouseReleaseEvent(event);
}

bool SettingsPanel::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == 标签8 && event->type() == QEvent::MouseButtonPress &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        // Closing saves nothing: the boxes keep what was typed.
        hide();
        return true;
    }
    return QFrame::eventFilter(watched, event);
}

} // namespace pd
