// What a draw leaves behind: the results buffer and its file "抽奖结果.txt" (the announced
// winners and abandon notes), the pick log and its file "zj.txt" (the random picks as drawn),
// and the texts of the announcement and progress labels. Both buffers live for the whole
// run; files are GB18030 with CR LF.
#pragma once

#include <QString>

namespace pd {

class Desktop;
class Dialogs;

class ResultsLog final
{
public:
    // runDir is the event folder; workFolder takes a copy of the results when the event
    // folder refuses them; dialogs (may be null) tells the operator of that once per run.
    ResultsLog(QString runDir, QString workFolder, Dialogs* dialogs = nullptr);

    // Appends name + CR LF to the pick log, then writes the whole pick log over
    // "<runDir>/zj.txt" when that file exists. The file is never created here.
    void recordPick(const QString& name);
    // Appends name + "  ------  " + tier + CR LF to the results and rewrites the results file.
    void appendResultLine(const QString& name, const QString& tierText);
    // Appends the note that the last winner gave up the prize and rewrites the results file.
    void appendAbandonLine();
    // Opens the results file with the desktop: the copy in the work folder when the latest
    // write had to go there.
    void viewResults(Desktop& desktop) const;

    QString pickLog() const { return m_pickLog; }
    QString results() const { return m_results; }
    QString resultsPath() const;
    QString pickFilePath() const;
    QString fallbackPath() const;

    static QString announcementText(const QString& name, const QString& tierText);
    static QString progressText(const QString& tierText, int count);
    // Width of the progress label: 11 pixels per byte of the text in the 8-bit code page.
    static int progressWidth(const QString& text);

private:
    void writeResults();

    QString m_runDir;
    QString m_workFolder;
    Dialogs* m_dialogs = nullptr;
    QString m_pickLog;
    QString m_results;
    bool m_latestInFallback = false;
    bool m_operatorWarned = false;
};

} // namespace pd
