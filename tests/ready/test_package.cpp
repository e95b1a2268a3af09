// The portable event package: cpack makes the tarball, which unpacks into one folder holding
// the program, an empty photo folder, the guide and a launcher; the unpacked program starts in
// the X server of the test command and makes that folder its event folder, and the launcher
// starts it there from anywhere.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

namespace {
QString u8(const char* s)
{
    return QString::fromUtf8(s);
}

bool run(const QString& program, const QStringList& args, const QString& dir = {})
{
    QProcess p;
    p.setWorkingDirectory(dir.isEmpty() ? QDir::currentPath() : dir);
    p.setProcessChannelMode(QProcess::ForwardedChannels);
    p.start(program, args);
    return p.waitForFinished(240000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

// The command line of a desktop entry's Exec key: the string escapes undone, the quoted
// arguments split, %k replaced by the entry's own path.
QStringList execOf(const QString& desktopFile)
{
    QFile f(desktopFile);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    QString exec;
    for (const QString& line : QString::fromUtf8(f.readAll()).split(u'\n'))
        if (line.startsWith(u8("Exec=")))
            exec = line.mid(5);
    exec.replace(u8("\\\\"), u8("\\"));
    QStringList args;
    QString current;
    bool quoted = false, any = false;
    for (qsizetype i = 0; i < exec.size(); ++i) {
        const QChar c = exec[i];
        if (quoted && c == u'\\' && i + 1 < exec.size()) {
            current += exec[++i];
        } else if (c == u'"') {
            quoted = !quoted;
            any = true;
        } else if (c == u' ' && !quoted) {
            if (any || !current.isEmpty())
                args << current;
            current.clear();
            any = false;
        } else {
            current += c;
        }
    }
    if (any || !current.isEmpty())
        args << current;
    for (QString& a : args)
        if (a == u8("%k"))
            a = desktopFile;
    return args;
}
} // namespace

class TestPackage : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        if (qEnvironmentVariableIsEmpty("DISPLAY"))
            QSKIP("needs an X server (test.sh starts one)");
        QVERIFY(m_out.isValid());
        QVERIFY(run(QStringLiteral(PRIZEDRAW_CPACK),
                    {u8("-G"), u8("TGZ"), u8("--config"),
                     QStringLiteral(PRIZEDRAW_BUILD_DIR "/CPackConfig.cmake"), u8("-B"),
                     m_out.path()}));
        const QString tarball = m_out.filePath(u8(PRIZEDRAW_PACKAGE ".tar.gz"));
        QVERIFY2(QFile::exists(tarball), qPrintable(tarball));
        // Unpacked into a folder whose name has a space, as a desktop's folders often do.
        QVERIFY(QDir().mkpath(m_out.filePath(u8("event night"))));
        QVERIFY(run(u8("tar"), {u8("xzf"), tarball}, m_out.filePath(u8("event night"))));
        m_event = m_out.filePath(u8("event night/" PRIZEDRAW_PACKAGE));
    }

    void holdsAnEventFolder()
    {
        const QDir event(m_event);
        QVERIFY(QFileInfo(event.filePath(u8("prizedraw"))).isExecutable());
        QVERIFY(QFileInfo(event.filePath(u8("photo"))).isDir());
        QVERIFY(QDir(event.filePath(u8("photo"))).isEmpty());
        for (const char* file : {"guide/操作指南.md", "guide/operator-guide.md",
                                 "prizedraw.desktop", "prizedraw.png", "add-to-menu.sh"})
            QVERIFY2(QFileInfo(event.filePath(u8(file))).size() > 0, file);
        QVERIFY(!QDir(event.filePath(u8("guide/screenshots"))).isEmpty());
        // Nothing of a run is shipped: no settings, results or title file.
        for (const char* file : {"peizhi.a", "抽奖结果.txt", "cjini.txt", "title.txt"})
            QVERIFY2(!QFile::exists(event.filePath(u8(file))), file);
    }

    // The launcher starts the program with its own folder as the working folder, whatever
    // folder it is started from; the program opens its window and writes its settings there.
    void launcherStartsTheProgramInItsFolder()
    {
        const QStringList command = execOf(m_event + u8("/prizedraw.desktop"));
        QVERIFY2(command.size() >= 2, qPrintable(command.join(u8(" | "))));
        QProcess program;
        program.setWorkingDirectory(QDir::tempPath());
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(u8("QT_QPA_PLATFORM"), u8("xcb"));
        env.insert(u8("XDG_CACHE_HOME"), m_out.filePath(u8("cache")));
        program.setProcessEnvironment(env);
        program.start(command.first(), command.mid(1));
        QVERIFY(program.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(m_event + u8("/peizhi.a")), 15000);
        QCOMPARE(QFileInfo(u8("/proc/%1/cwd").arg(program.processId())).canonicalFilePath(),
                 QFileInfo(m_event).canonicalFilePath());
        QTRY_VERIFY_WITH_TIMEOUT(
            !QProcess::execute(u8("xdotool"), {u8("search"), u8("--onlyvisible"), u8("--pid"),
                                               QString::number(program.processId())}),
            15000);
        QCOMPARE(program.state(), QProcess::Running);
        program.kill();
        program.waitForFinished();
    }

    // The menu entry made for this user points at this folder and at an icon that exists.
    void menuEntryPointsHere()
    {
        QTemporaryDir data;
        QProcess script;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(u8("XDG_DATA_HOME"), data.path());
        script.setProcessEnvironment(env);
        script.start(m_event + u8("/add-to-menu.sh"), {});
        QVERIFY(script.waitForFinished());
        QCOMPARE(script.exitCode(), 0);
        QFile entry(data.filePath(u8("applications/prizedraw.desktop")));
        QVERIFY(entry.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(entry.readAll());
        const QRegularExpressionMatch icon =
            QRegularExpression(u8("^Icon=(.+)$"), QRegularExpression::MultilineOption).match(text);
        QVERIFY(icon.hasMatch());
        QVERIFY(QFileInfo(icon.captured(1)).isAbsolute());
        QVERIFY(QFile::exists(icon.captured(1)));
        QVERIFY(text.contains(u8("Path=") + m_event + u8("\n")));
        QVERIFY(text.contains(u8("Exec=\"") + m_event + u8("/prizedraw\"\n")));
    }

private:
    QTemporaryDir m_out;
    QString m_event;
};

QTEST_GUILESS_MAIN(TestPackage)
#include "test_package.moc"
