// The main window and its elements as designed. The elements keep the form names of the
// design; other objects (start-up, the draw cycle, the operator commands) reach them here.
#pragma once

#include "platform/Platform.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QWidget>

#include <functional>

namespace pd {

class PictureBox;
class SettingsFile;

// The big Start/Stop button with a picture skin of its own.
class SkinButton final : public QPushButton
{
    Q_OBJECT
public:
    using QPushButton::QPushButton;

protected:
    void paintEvent(QPaintEvent* event) override;
};

class MainScreen final : public QWidget
{
    Q_OBJECT
public:
    MainScreen(Dialogs& dialogs, Desktop& desktop, const SettingsFile& settings,
               QWidget* parent = nullptr);

    // Elements, by their form names.
    QLabel* 透明标签_主标题 = nullptr;
    QLabel* 透明标签_副标题 = nullptr;
    PictureBox* 图片框_照片 = nullptr;
    QLabel* 透明标签_中奖人 = nullptr;
    QLabel* 透明标签_恭喜 = nullptr;
    QLabel* 透明标签_奖品名称 = nullptr;
    PictureBox* 图片框_奖品 = nullptr;
    QWidget* 分隔条_左 = nullptr;
    QWidget* 分隔条_右 = nullptr;
    QWidget* 分隔条_上 = nullptr;
    QWidget* 分隔条_下 = nullptr;
    SkinButton* 超级按钮 = nullptr;
    QLabel* 透明标签_移动按钮 = nullptr;
    QLabel* 透明标签_奖项等级 = nullptr;
    QComboBox* 组合框1 = nullptr;
    QLabel* 透明标签_抽取进度 = nullptr;

    // The check marks of the display mode and the music switch, shown by the context menu.
    QAction* 窗口 = nullptr;
    QAction* 全屏 = nullptr;
    QAction* 启用背景音乐 = nullptr;
    QAction* 禁用背景音乐 = nullptr;

    void setWindowMode();
    void setFullScreenMode();
    bool isMusicOn() const { return 启用背景音乐->isChecked(); }
    void setMusicSwitch(bool on);

    // The background picture, drawn stretched over the whole client area (none when null).
    void setBackgroundPicture(const QImage& picture);
    bool hasBackgroundPicture() const { return !m_background.isNull(); }

    // The tier chooser's text, and filling it without raising its change events.
    QString chooserText() const;
    void setChooserItems(const QStringList& names);

    // Elements that open the context menu with a right press, in the design's list.
    QList<QWidget*> menuElements() const;

    // Asked before the window closes; the exit confirmation answers.
    std::function<bool()> canClose;

signals:
    void contextMenuRequested(const QPoint& globalPos);
    // A left press on an element that the operator may drag (the button handle stands for
    // the Start/Stop button).
    void dragRequested(QWidget* element, const QPoint& globalPos);
    void activated();
    void deactivated();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLabel* makeLabel(const char* name, QRect place, const QString& face, int px, bool bold,
                      const QColor& colour, Qt::Alignment align = Qt::AlignLeft | Qt::AlignVCenter);
    QWidget* makeBar(const char* name, QRect place);
    void applyWindowFlags(Qt::WindowFlags flags);

    Dialogs& m_dialogs;
    Desktop& m_desktop;
    const SettingsFile& m_settings;
    QImage m_background;
    QImage m_backgroundScaled;
    QList<QWidget*> m_draggable;
};

} // namespace pd
