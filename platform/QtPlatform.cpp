#include "platform/QtPlatform.h"

#include "platform/FontColourDialog.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDesktopServices>
#include <QDir>
#include <QEventLoop>
#include <QFileDialog>
#include <QGuiApplication>
#include <QInputDialog>
#include <QMessageBox>
#include <QScreen>
#include <QStandardPaths>
#include <QTimer>
#include <QUrl>

#include <unistd.h>

namespace pd {

MessageAnswer QtDialogs::message(const QString& text, const QString& caption, MessageStyle style)
{
    QMessageBox box(m_parent);
    box.setWindowTitle(caption.isEmpty() ? QStringLiteral("信息：") : caption);
    box.setText(text);
    box.setIcon(style == MessageStyle::OkError ? QMessageBox::Critical : QMessageBox::NoIcon);
    if (style == MessageStyle::OkCancel) {
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        box.setDefaultButton(QMessageBox::Ok);
    } else {
        box.setStandardButtons(QMessageBox::Ok);
    }
    box.setWindowModality(Qt::ApplicationModal);
    return box.exec() == QMessageBox::Ok ? MessageAnswer::Ok : MessageAnswer::Cancel;
}

std::optional<QString> QtDialogs::input(const QString& caption, const QString& prompt,
                                        const QString& initial)
{
    QInputDialog dialog(m_parent);
    dialog.setWindowTitle(caption);
    dialog.setLabelText(prompt);
    dialog.setTextValue(initial);
    dialog.setInputMode(QInputDialog::TextInput);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.textValue();
}

QString QtDialogs::qtFilterOf(const QString& filter)
{
    const QString label = filter.section(QLatin1Char('|'), 0, 0);
    const QString pattern = filter.section(QLatin1Char('|'), 1);
    // Every letter-case variant of each pattern, so "*.jpg" also lists "*.JPG" and "*.Jpg".
    QStringList variants;
    for (const QString& one : pattern.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        QStringList forms{QString()};
        for (const QChar c : one) {
            QStringList next;
            for (const QString& f : forms) {
                if (c.isLetter() && c.toLower() != c.toUpper() && forms.size() < 256) {
                    next << f + c.toLower() << f + c.toUpper();
                } else {
                    next << f + c;
                }
            }
            forms = next;
        }
        variants << forms;
    }
    variants.removeDuplicates();
    return QStringLiteral("%1 (%2)").arg(label.isEmpty() ? pattern : label, variants.join(' '));
}

std::optional<QString> QtDialogs::openFile(const QString& filter)
{
    const QString path = QFileDialog::getOpenFileName(m_parent, QString(), QString(),
                                                      qtFilterOf(filter), nullptr,
                                                      QFileDialog::DontUseNativeDialog);
    if (path.isEmpty())
        return std::nullopt;
    return QDir::toNativeSeparators(path);
}

std::optional<FontChoice> QtDialogs::chooseFont()
{
    FontColourDialog dialog(m_lastFont, m_parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    m_lastFont = dialog.choice();
    return m_lastFont;
}

QSize QtDesktop::screenSize() const
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry().size() : QSize(1366, 768);
}

double QtDesktop::dotsPerInch() const
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->logicalDotsPerInchY() : 96.0;
}

void QtDesktop::openPath(const QString& path)
{
    QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

QString QtDesktop::programFolder() const
{
    return QCoreApplication::applicationDirPath();
}

QString QtDesktop::workFolder() const
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
    if (folder.isEmpty())
        folder = QDir::tempPath() + QStringLiteral("/prizedraw");
    return folder;
}

qint64 QtDesktop::clockMs() const
{
    return QDateTime::currentMSecsSinceEpoch();
}

void QtDesktop::waitProcessingEvents(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

void QtDesktop::exitProcess(int code)
{
    // Every file is closed after each operation, so nothing is lost by leaving at once.
    ::_exit(code);
}

} // namespace pd
