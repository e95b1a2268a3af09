// The password window in front of the settings panel. The password is kept scrambled in the
// settings file; with none stored, an empty entry opens the panel. Whoever knows the current
// password can set a new one here.
#pragma once

#include <QByteArray>
#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace pd {

class Desktop;
class Dialogs;
class Random;
class SettingsFile;

class PasswordGate final : public QDialog
{
    Q_OBJECT
public:
    // settingsPanel is made visible when the right password is entered.
    PasswordGate(const SettingsFile& settings, Dialogs& dialogs, Desktop& desktop, Random& random,
                 QWidget* settingsPanel, QWidget* parent = nullptr);

    // "进入设置": shows the settings panel and closes the window when the box holds the
    // stored password, else says so and stays open.
    void enterSettings();
    // "修改密码": asks for a new password once the box holds the stored one, and stores it
    // scrambled. An empty new password removes the password and keeps the window open.
    void changePassword();

    // The descrambled password as held since the window opened or the last "修改密码".
    QByteArray currentPassword() const { return m_currentPassword; }

    QLabel* promptLabel = nullptr;
    QLineEdit* 编辑框1 = nullptr;
    QPushButton* 按钮_登陆 = nullptr;
    QPushButton* 按钮_修改密码 = nullptr;

private:
    QByteArray storedPassword() const;
    bool boxHoldsStoredPassword(const QByteArray& stored) const;

    const SettingsFile& m_settings;
    Dialogs& m_dialogs;
    Desktop& m_desktop;
    Random& m_random;
    QWidget* m_settingsPanel = nullptr;
    QByteArray m_currentPassword;
};

} // namespace pd
