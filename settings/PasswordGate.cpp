#include "settings/PasswordGate.h"

#include "data/SettingsFile.h"
#include "data/Text.h"
#include "platform/Platform.h"
#include "settings/TextScrambler.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace pd {

namespace {
const QString kZbt = QStringLiteral("zbt");
const QString kPasswordKey = QStringLiteral("password");
} // namespace

PasswordGate::PasswordGate(const SettingsFile& settings, Dialogs& dialogs, Desktop& desktop,
                           Random& random, QWidget* settingsPanel, QWidget* parent)
    : QDialog(parent), m_settings(settings), m_dialogs(dialogs), m_desktop(desktop),
      m_random(random), m_settingsPanel(settingsPanel)
{
    setObjectName(QStringLiteral("PasswordGate"));
    setWindowTitle(QString());
    setFixedSize(380, 180);
    setModal(true);

    promptLabel = new QLabel(QStringLiteral("请输入密码"), this);
    promptLabel->setGeometry(8, 24, 64, 32);

    编辑框1 = new QLineEdit(this);
    编辑框1->setObjectName(QStringLiteral("编辑框1"));
    编辑框1->setGeometry(96, 24, 200, 32);
    编辑框1->setEchoMode(QLineEdit::Password);
    编辑框1->setStyleSheet(QStringLiteral("QLineEdit { lineedit-password-character: 42; }"));

    按钮_登陆 = new QPushButton(QStringLiteral("进入设置"), this);
    按钮_登陆->setObjectName(QStringLiteral("按钮_登陆"));
    按钮_登陆->setGeometry(80, 80, 72, 32);
    按钮_修改密码 = new QPushButton(QStringLiteral("修改密码"), this);
    按钮_修改密码->setObjectName(QStringLiteral("按钮_修改密码"));
    按钮_修改密码->setGeometry(184, 80, 72, 32);
    // Neither button answers Return in the password box: each acts only when clicked.
    for (QPushButton* button : {按钮_登陆, 按钮_修改密码}) {
        button->setAutoDefault(false);
        button->setDefault(false);
    }
    connect(按钮_登陆, &QPushButton::clicked, this, &PasswordGate::enterSettings);
    connect(按钮_修改密码, &QPushButton::clicked, this, &PasswordGate::changePassword);

    m_currentPassword = storedPassword();
    编辑框1->setFocus();
}

QByteArray PasswordGate::storedPassword() const
{
    return descramble(toLocal8(m_settings.readKey(kZbt, kPasswordKey)));
}

bool PasswordGate::boxHoldsStoredPassword(const QByteArray& stored) const
{
    return toLocal8(编辑框1->text()) == stored;
}

void PasswordGate::enterSettings()
{
    // Read afresh: a password changed in the file by hand counts at the next click.
    if (!boxHoldsStoredPassword(storedPassword())) {
        m_dialogs.message(QStringLiteral("密码不正确！请重新输入。"), QString());
        return;
    }
    if (m_settingsPanel) {
        m_settingsPanel->show();
        m_settingsPanel->raise();
    }
    accept();
}

void PasswordGate::changePassword()
{
    m_currentPassword = storedPassword();
    if (!boxHoldsStoredPassword(m_currentPassword)) {
        m_dialogs.message(QStringLiteral("请在密码框输入原始密码后再修改！"), QString());
        return;
    }
    const std::optional<QString> entered =
        m_dialogs.input(QStringLiteral("请输入密码"), QStringLiteral("请输入密码"), QString());
    if (!entered)
        return;
    const QByteArray scrambled =
        scramble(toLocal8(*entered), m_random, [this] { return m_desktop.clockMs(); });
    m_settings.writeKey(kZbt, kPasswordKey, QString::fromLatin1(scrambled));
    if (entered->isEmpty()) {
        m_dialogs.message(QStringLiteral("您没有设置任何密码！"), QString());
        return;
    }
    m_dialogs.message(QStringLiteral("设置成功！请牢记您的密码！"), QString());
    accept();
}

} // namespace pd
