#include "app/StartUp.h"

#include "app/FontFaces.h"
#include "app/MainScreen.h"
#include "app/PictureBox.h"
#include "app/PrizeFrame.h"
#include "app/Session.h"
#include "data/CompanyTitleFile.h"
#include "data/FileIo.h"
#include "data/Text.h"
#include "media/PictureDecoder.h"
#include "settings/TextScrambler.h"

#include <QDir>

#include <cmath>

namespace pd {

namespace {
const QString kZbt = QStringLiteral("zbt");
const QString kYanse = QStringLiteral("yanse");
const QString kZweizhi = QStringLiteral("zweizhi");
const QString kDefaultTitle = QStringLiteral("某某公司现场抽奖仪式");

QString u8(const char* text)
{
    return QString::fromUtf8(text);
}

QColor colourFromNumber(int number)
{
    return QColor(redOf(number), greenOf(number), blueOf(number));
}

void setTextColour(QWidget* widget, const QColor& colour)
{
    QPalette pal = widget->palette();
    pal.setColor(QPalette::WindowText, colour);
    widget->setPalette(pal);
}
} // namespace

void StartUp::applyFontGroup(const char* prefix, QLabel* label)
{
    const SettingsFile& settings = m_session.settings;
    const QString p = u8(prefix);
    const QString colour = settings.readKey(kYanse, p + u8("字体颜色"));
    if (colour.isEmpty())
        return;
    const QFont current = label->font();
    setLabelFont(label, settings.readKey(kYanse, p + u8("字体")),
                 wholeNumberOf(settings.readKey(kYanse, p + u8("字体大小"))), current.bold(),
                 current.italic(), current.underline(), current.strikeOut());
    setTextColour(label, colourFromNumber(wholeNumberOf(colour)));
}

void StartUp::applyStoredPlace(QWidget* element, const char* testKey, const char* leftKey,
                               const char* topKey)
{
    const SettingsFile& settings = m_session.settings;
    if (settings.readKey(kZweizhi, u8(testKey)).isEmpty())
        return;
    element->move(wholeNumberOf(settings.readKey(kZweizhi, u8(leftKey))), element->y());
    element->move(element->x(), wholeNumberOf(settings.readKey(kZweizhi, u8(topKey))));
}

void StartUp::refreshTierChooser(MainScreen& screen, Session& session)
{
    QStringList names;
    for (int n = 1; n <= kTierCount; ++n)
        if (!session.store.name(n).isEmpty())
            names << session.store.name(n);
    screen.setChooserItems(names);

    // The chooser was just emptied, so only a tier with an empty name can match here.
    if (const auto tier = findTierByName(session.store, screen.chooserText())) {
        loadPrizePicture(screen, session.store.picturePath(*tier));
        chooseTierLimit(session.state, session.store, screen.chooserText());
    }
}

void StartUp::startUp()
{
    MainScreen& s = m_screen;
    Session& session = m_session;
    const SettingsFile& settings = session.settings;
    TierStore& store = session.store;
    DrawState& state = session.state;

    // Flags and speed.
    session.poolText.clear();
    s.图片框_照片->hide();
    s.图片框_照片->setBackgroundColour(colourFromNumber(255));
    store.setDisableEffects(truthOf(settings.readKey(kZbt, u8("禁用特效"))));
    const QString speed = settings.readKey(kZbt, u8("滚动速度"));
    if (!speed.isEmpty()) {
        state.rollPeriodMs = wholeNumberOf(speed);
        store.setRollSpeed(speed);
    } else {
        state.rollPeriodMs = 30;
    }
    s.setMusicSwitch(truthOf(settings.readKey(kZbt, u8("背景音乐"))));

    // Name pool.
    session.photos.buildPool(session.poolText);
    session.previews.prepare(session.photos, session.poolText);

    // Fonts and colours.
    applyFontGroup("主标题", s.透明标签_主标题);
    applyFontGroup("副标题", s.透明标签_副标题);
    applyFontGroup("中奖人", s.透明标签_中奖人);
    applyFontGroup("恭喜", s.透明标签_恭喜);

    // Photo frame size.
    const QString width = settings.readKey(kZbt, u8("照片图片宽"));
    if (!width.isEmpty()) {
        store.setPhotoWidth(width);
        store.setPhotoHeight(settings.readKey(kZbt, u8("照片图片高")));
    }
    s.图片框_照片->resize(wholeNumberOf(store.photoWidth()), wholeNumberOf(store.photoHeight()));

    // Prize tiers.
    state.nextOrdinal = 1;
    for (int n = 1; n <= kTierCount; ++n)
        store.setWinnerCount(n, settings.readKey(kZbt, tierDesignName(n) + u8("人数")));
    for (int n = 1; n <= kTierCount; ++n)
        store.setName(n, settings.readKey(kZbt, tierDesignName(n)));
    for (int slot = 1; slot <= kDesignatedSlots; ++slot) {
        for (int n = 1; n <= kTierCount; ++n) {
            // Keys "a".."h" hold slot 1 of tiers 1..8, "i".."p" slot 2, "q".."x" slot 3.
            const QString key(QChar(u'a' + (slot - 1) * kTierCount + (n - 1)));
            const QByteArray scrambled = toLocal8(settings.readKey(kZbt, key));
            store.setDesignated(n, slot, fromLocal8(descramble(scrambled)));
        }
    }
    for (int n = 1; n <= kTierCount; ++n)
        store.setPicturePath(n, settings.readKey(kZbt, u8("奖项%1图片").arg(n)));

    // Background and repeats.
    const QSize screenSize = session.desktop.screenSize();
    s.setBackgroundPicture(
        decodePicture(readWholeFile(session.desktop.programFolder() + u8("/底图.jpg")), screenSize));
    store.setAllowRepeats(truthOf(settings.readKey(kZbt, u8("是否允许重复"))));

    // Prize frame and tier chooser.
    placeFrameBarsOnPicture(s);
    refreshTierChooser(s, session);
    showPrizeFrameIfPicture(s);

    settings.hideSettingsFile();

    // Screen layout.
    const int sw = screenSize.width();
    const int sh = screenSize.height();
    s.透明标签_中奖人->setGeometry(0, s.透明标签_中奖人->y(), sw, s.透明标签_中奖人->height());
    s.透明标签_恭喜->move(0, s.透明标签_恭喜->y());
    s.组合框1->move(s.组合框1->x(), sh - s.组合框1->height() - 45);
    s.透明标签_奖项等级->move(s.透明标签_奖项等级->x(), sh - s.透明标签_奖项等级->height() - 45);
    s.透明标签_抽取进度->move(s.透明标签_抽取进度->x(), sh - s.透明标签_抽取进度->height() - 45);
    s.setGeometry(0, 0, sw, sh);
    for (QLabel* label : {s.透明标签_主标题, s.透明标签_恭喜, s.透明标签_副标题})
        label->resize(sw, label->height());
    s.超级按钮->move(s.超级按钮->x(), s.组合框1->y() - 70);
    s.图片框_照片->move(s.图片框_照片->x(),
                        s.透明标签_副标题->y() + s.透明标签_副标题->height() + 10);
    s.图片框_照片->move(truncateToInt(sw / 2.0 - s.图片框_照片->width() / 2.0), s.图片框_照片->y());
    s.透明标签_恭喜->move(s.透明标签_恭喜->x(), s.图片框_照片->y() + s.图片框_照片->height() + 10);
    s.图片框_奖品->move(s.图片框_照片->x() + s.图片框_照片->width() + 10, s.图片框_奖品->y());

    // Titles.
    s.透明标签_主标题->setText(settings.readKeyOr(kZbt, u8("zbt"), kDefaultTitle));
    s.透明标签_副标题->setText(settings.readKeyOr(kZbt, u8("fbt"), kDefaultTitle));

    // Stored places.
    applyStoredPlace(s.透明标签_主标题, "标签1左边", "标签1左边", "标签1顶边");
    applyStoredPlace(s.透明标签_副标题, "标签2顶边", "标签2左边", "标签2顶边");
    applyStoredPlace(s.透明标签_中奖人, "标签_中奖人顶边", "标签_中奖人左边", "标签_中奖人顶边");
    applyStoredPlace(s.透明标签_恭喜, "透明标签_恭喜顶边", "透明标签_恭喜左边", "透明标签_恭喜顶边");
    applyStoredPlace(s.组合框1, "组合框1顶边", "组合框1左边", "组合框1顶边");
    applyStoredPlace(s.透明标签_抽取进度, "透明标签_抽取进度顶边", "透明标签_抽取进度左边",
                     "透明标签_抽取进度顶边");
    applyStoredPlace(s.透明标签_奖项等级, "透明标签_奖项等级顶边", "透明标签_奖项等级左边",
                     "透明标签_奖项等级顶边");
    if (!settings.readKey(kZweizhi, u8("图片框_奖品顶边")).isEmpty()) {
        applyStoredPlace(s.图片框_奖品, "图片框_奖品顶边", "图片框_奖品左边", "图片框_奖品顶边");
        // The name label follows the stored place at once; the bars stay where they were.
        s.透明标签_奖品名称->move(s.图片框_奖品->x(),
                                   s.图片框_奖品->y() - s.透明标签_奖品名称->height());
    }
    applyStoredPlace(s.图片框_照片, "图片框_照片顶边", "图片框_照片左边", "图片框_照片顶边");

    // Start/Stop button and its handle.
    s.超级按钮->move(truncateToInt((sw - s.超级按钮->width()) / 2.0), s.超级按钮->y());
    applyStoredPlace(s.超级按钮, "超级按钮顶边", "超级按钮左边", "超级按钮顶边");
    s.透明标签_移动按钮->move(s.超级按钮->x() + s.超级按钮->width(), s.超级按钮->y());
    if (s.组合框1->y() > sh - 5)
        s.组合框1->move(s.组合框1->x(), s.透明标签_奖项等级->y() + 8);

    // Display mode.
    if (settings.readKey(kZbt, u8("界面大小")) == u8("窗口"))
        s.setWindowMode();
    else
        s.setFullScreenMode();

    // Title heights.
    s.透明标签_主标题->resize(s.透明标签_主标题->width(),
                             int(std::floor(pointSizeOf(s.透明标签_主标题) * 1.8)));
    s.透明标签_副标题->resize(s.透明标签_副标题->width(),
                             int(std::floor(pointSizeOf(s.透明标签_副标题) * 1.8)));

    // Company title.
    if (const auto title = readCompanyTitle(QDir::current().filePath(u8("cjini.txt")))) {
        if (!title->isEmpty()) {
            s.透明标签_主标题->setText(fromLocal8(*title));
        } else {
            s.透明标签_主标题->setText(u8("请在这里写入公司名称"));
            session.dialogs.message(u8("请写入公司名称"), QString(), MessageStyle::Ok);
        }
    }
}

} // namespace pd
