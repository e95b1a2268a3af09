// The settings panel `外形框1`: the eight prize tiers, the photo frame size, the rolling speed,
// repeats and effects. Its fields ARE the TierStore: every keystroke updates the store, so an
// edit acts on the draw at once, and the boxes show whatever start-up puts into the store.
// Save makes the values permanent and rebuilds the screen.
#pragma once

#include <QFrame>
#include <QPoint>

#include <array>
#include <functional>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace pd {

class Celebration;
class Dialogs;
class SettingsFile;
class TierStore;

inline constexpr int kPanelTiers = 8;

class SettingsPanel final : public QFrame
{
    Q_OBJECT
public:
    SettingsPanel(TierStore& store, const SettingsFile& settings, Dialogs& dialogs,
                  QWidget* parent = nullptr);

    // The fireworks overlay that the disable-effects box closes; may stay null.
    void setCelebration(Celebration* celebration) { m_celebration = celebration; }
    // Save's refresh of the tier chooser and prize picture, and the whole start-up sequence.
    std::function<void()> refreshTierChooser;
    std::function<void()> runStartUp;

    void save();
    void browse(int tier);

    QLabel* 标签8 = nullptr;
    QGroupBox* 分组框1 = nullptr;
    // Index 0 is tier 1 (`编辑框_奖项1`, `编辑框_奖项人数1`, `编辑框_奖项1图片`, `按钮_奖项1浏览`).
    std::array<QLineEdit*, kPanelTiers> tierNameBoxes{};
    std::array<QLineEdit*, kPanelTiers> winnerCountBoxes{};
    std::array<QLineEdit*, kPanelTiers> pictureBoxes{};
    std::array<QPushButton*, kPanelTiers> browseButtons{};
    // designatedBoxes[slot - 1][tier - 1]: `编辑框_中奖人1`, `编辑框_中奖人11`, `编辑框_中奖人111`
    // …
    std::array<std::array<QLineEdit*, kPanelTiers>, 3> designatedBoxes{};
    QLineEdit* 编辑框_照片图片宽 = nullptr;
    QLineEdit* 编辑框_照片图片高 = nullptr;
    QLineEdit* 编辑框_滚动速度 = nullptr;
    QCheckBox* 选择框_是否允许重复抽奖 = nullptr;
    QCheckBox* 选择框_禁用特效 = nullptr;
    QPushButton* 按钮_保存 = nullptr;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLineEdit* makeBox(const QString& name, QRect place, bool tabStop);
    QLabel* makeLabel(QWidget* parent, const QString& text, QRect place);
    void showStore();
    void disableEffectsClicked(bool ticked);

    TierStore& m_store;
    const SettingsFile& m_settings;
    Dialogs& m_dialogs;
    Celebration* m_celebration = nullptr;
    bool m_dragging = false;
    QPoint m_pressGlobal;
    QPoint m_origin;
};

} // namespace pd
