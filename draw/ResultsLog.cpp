#include "draw/ResultsLog.h"

#include "data/FileIo.h"
#include "data/Text.h"
#include "platform/Platform.h"

#include <QDir>
#include <QFileInfo>

namespace pd {

namespace {

const QString kResultsName = QStringLiteral("抽奖结果.txt");
const QString kPickName = QStringLiteral("zj.txt");

} // namespace

ResultsLog::ResultsLog(QString runDir, QString workFolder, Dialogs* dialogs)
    : m_runDir(std::move(runDir)), m_workFolder(std::move(workFolder)), m_dialogs(dialogs)
{
}

QString ResultsLog::resultsPath() const
{
    return m_runDir + u'/' + kResultsName;
}

QString ResultsLog::pickFilePath() const
{
    return m_runDir + u'/' + kPickName;
}

QString ResultsLog::fallbackPath() const
{
    return m_workFolder.isEmpty() ? QString() : m_workFolder + u'/' + kResultsName;
}

void ResultsLog::recordPick(const QString& name)
{
    m_pickLog += name + QStringLiteral("\r\n");
    // Only a pick file the operator placed in the folder is kept up to date. It is written
    // whole, so the bytes of an older, longer file do not trail after the current picks.
    if (QFileInfo(pickFilePath()).isFile())
        writeWholeFile(pickFilePath(), toLocal8(m_pickLog));
}

void ResultsLog::appendResultLine(const QString& name, const QString& tierText)
{
    m_results += name + QStringLiteral("  ------  ") + tierText + QStringLiteral("\r\n");
    writeResults();
}

void ResultsLog::appendAbandonLine()
{
    m_results += QString(24, u' ') + QStringLiteral("(上一个中奖人放弃)\r\n");
    writeResults();
}

void ResultsLog::writeResults()
{
    const QByteArray bytes = toLocal8(m_results);
    if (writeWholeFile(resultsPath(), bytes)) {
        m_latestInFallback = false;
        return;
    }
    // The event folder refuses the results (a read-only file or folder, a full disk): keep
    // them where the operator can still find them rather than lose the draw's record.
    const QString copy = fallbackPath();
    const bool copied =
        !copy.isEmpty() && QDir().mkpath(m_workFolder) && writeWholeFile(copy, bytes);
    m_latestInFallback = copied;
    if (m_operatorWarned || !m_dialogs)
        return;
    m_operatorWarned = true;
    const QString target = QDir::toNativeSeparators(resultsPath());
    const QString text =
        copied
            ? QStringLiteral("抽奖结果无法写入：%1\r\n已另存到：%2\r\n请在活动结束后复制该文件。")
                  .arg(target, QDir::toNativeSeparators(copy))
            : QStringLiteral(
                  "抽奖结果无法写入：%1\r\n也无法另存到：%2\r\n请检查磁盘空间和文件权限。")
                  .arg(target, QDir::toNativeSeparators(copy));
    m_dialogs->message(text, QStringLiteral("提示"), MessageStyle::OkError);
}

void ResultsLog::viewResults(Desktop& desktop) const
{
    desktop.openPath(m_latestInFallback ? fallbackPath() : resultsPath());
}

QString ResultsLog::announcementText(const QString& name, const QString& tierText)
{
    return QStringLiteral("恭喜您： ") + name + QStringLiteral("  ") + tierText;
}

QString ResultsLog::progressText(const QString& tierText, int count)
{
    return tierText + QStringLiteral(" 已抽取") + QString::number(count) + QStringLiteral("名");
}

int ResultsLog::progressWidth(const QString& text)
{
    return static_cast<int>(11 * local8Length(text));
}

} // namespace pd
