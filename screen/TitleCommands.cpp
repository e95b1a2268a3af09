#include "screen/TitleCommands.h"

#include "app/FontFaces.h"
#include "app/MainScreen.h"
#include "data/CompanyTitleFile.h"
#include "data/SettingsFile.h"
#include "data/Text.h"

#include <QDir>

#include <cmath>

namespace pd {

namespace {
const QString kZbt = QStringLiteral("zbt");
const QString kYanse = QStringLiteral("yanse");
const QString kDefaultTitle = QStringLiteral("某某公司现场抽奖仪式");
// Both titles are asked for with the same window title and prompt.
const QString kTitlePrompt = QStringLiteral("请输入主标题");

struct FontKeys
{
    QLabel* label;
    QString prefix;
    bool followHeight;
};

FontKeys keysOf(MainScreen& screen, FontTarget target)
{
    switch (target) {
    case FontTarget::MainTitle:
        return {screen.透明标签_主标题, QStringLiteral("主标题"), true};
    case FontTarget::Subtitle:
        return {screen.透明标签_副标题, QStringLiteral("副标题"), true};
    case FontTarget::Announcement:
        break;
    }
    return {screen.透明标签_恭喜, QStringLiteral("恭喜"), false};
}
} // namespace

void changeMainTitle(MainScreen& screen, const SettingsFile& settings, Dialogs& dialogs)
{
    const QString current = settings.readKeyOr(kZbt, u"zbt", kDefaultTitle);
    const std::optional<QString> entered = dialogs.input(kTitlePrompt, kTitlePrompt, current);
    if (!entered)
        return;
    settings.writeKey(kZbt, u"zbt", *entered);
    settings.hideSettingsFile();
    // A missing company title file is not created: it exists only where someone put it.
    replaceCompanyTitle(QDir::current().filePath(QStringLiteral("cjini.txt")), toLocal8(*entered));
    screen.透明标签_主标题->setText(*entered);
}

void changeSubtitle(MainScreen& screen, const SettingsFile& settings, Dialogs& dialogs)
{
    const QString current = settings.readKeyOr(kZbt, u"fbt", kDefaultTitle);
    const std::optional<QString> entered = dialogs.input(kTitlePrompt, kTitlePrompt, current);
    if (!entered)
        return;
    screen.透明标签_副标题->setText(*entered);
    settings.writeKey(kZbt, u"fbt", *entered);
    settings.hideSettingsFile();
}

void changeLabelFont(MainScreen& screen, const SettingsFile& settings, Dialogs& dialogs,
                     FontTarget target)
{
    const FontKeys keys = keysOf(screen, target);
    QLabel* label = keys.label;
    if (const std::optional<FontChoice> choice = dialogs.chooseFont()) {
        setLabelFont(label, choice->face, choice->pointSize, choice->bold, choice->italic,
                     choice->underline, choice->strikeOut);
        QPalette pal = label->palette();
        pal.setColor(QPalette::WindowText, QColor(redOf(choice->colour), greenOf(choice->colour),
                                                  blueOf(choice->colour)));
        label->setPalette(pal);
    }

    // Written on cancel too: the keys always describe what the label shows.
    const QColor colour = label->palette().color(QPalette::WindowText);
    const int size = pointSizeOf(label);
    settings.writeKey(kYanse, keys.prefix + QStringLiteral("字体"), faceNameOf(label));
    settings.writeKey(kYanse, keys.prefix + QStringLiteral("字体大小"), QString::number(size));
    settings.writeKey(kYanse, keys.prefix + QStringLiteral("字体颜色"),
                      QString::number(colourNumber(colour.red(), colour.green(), colour.blue())));
    if (keys.followHeight)
        label->resize(label->width(), int(std::floor(size * 1.8)));
}

} // namespace pd
