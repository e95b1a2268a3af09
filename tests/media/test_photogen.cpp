#include "tools/photogen/PhotoGenerator.h"

#include "data/FileIo.h"
#include "data/Text.h"
#include "media/PictureDecoder.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

class TestPhotoGen : public QObject
{
    Q_OBJECT
private slots:
    void namesAreChineseDistinctAndRepeatable()
    {
        const QStringList names = pd::chineseNames(300, 42);
        QCOMPARE(names.size(), 300);
        QCOMPARE(QSet<QString>(names.begin(), names.end()).size(), 300);
        QCOMPARE(pd::chineseNames(300, 42), names);
        QVERIFY(pd::chineseNames(300, 43) != names);
        for (const QString& name : names) {
            QVERIFY2(name.size() >= 2 && name.size() <= 4, qPrintable(name));
            // Every name survives the trip through the settings and results files' code page.
            QCOMPARE(pd::fromLocal8(pd::toLocal8(name)), name);
            QVERIFY(name.at(0).unicode() >= 0x4E00 && name.at(0).unicode() <= 0x9FFF);
        }
    }

    void photosAreRepeatableBySeed()
    {
        pd::PhotoOptions options;
        QCOMPARE(pd::makePhoto(QStringLiteral("张伟"), 9, options),
                 pd::makePhoto(QStringLiteral("张伟"), 9, options));
        QVERIFY(pd::makePhoto(QStringLiteral("张伟"), 9, options) !=
                pd::makePhoto(QStringLiteral("张伟"), 10, options));
    }

    void demoEventFolder()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        QVERIFY(pd::makeDemoEvent(dir.path(), 1));

        const QDir photos(dir.filePath(QStringLiteral("photo")));
        const QStringList files = photos.entryList({QStringLiteral("*.jpg")}, QDir::Files);
        QCOMPARE(files.size(), 60);
        int withoutPreview = 0;
        for (const QString& file : files) {
            const QByteArray bytes = pd::readWholeFile(photos.filePath(file));
            QCOMPARE(pd::decodePicture(bytes, QSize(400, 500)).size(), QSize(400, 500));
            if (pd::embeddedPreviewOf(bytes).isEmpty())
                ++withoutPreview;
            else
                QCOMPARE(pd::decodePicture(pd::embeddedPreviewOf(bytes)).size(), QSize(120, 150));
        }
        QVERIFY2(withoutPreview >= 2 && withoutPreview <= 8,
                 qPrintable(QString::number(withoutPreview)));

        const QByteArray settings = pd::readWholeFile(dir.filePath(QStringLiteral("peizhi.a")));
        QVERIFY(settings.endsWith("\r\n"));
        QVERIFY(!settings.contains("\n\n") && settings.count('\n') == settings.count("\r\n"));
        const QStringList lines =
            pd::fromLocal8(settings).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
        QCOMPARE(lines.value(0), QStringLiteral("[zbt]"));
        QHash<QString, QString> values;
        for (const QString& line : lines.mid(1)) {
            const qsizetype eq = line.indexOf(QLatin1Char('='));
            QVERIFY2(eq > 0, qPrintable(line));
            values.insert(line.left(eq), line.mid(eq + 1));
        }
        const QList<std::pair<QString, QString>> expected{
            {QStringLiteral("特等奖"), QStringLiteral("三等奖")},
            {QStringLiteral("特等奖人数"), QStringLiteral("5")},
            {QStringLiteral("一等奖"), QStringLiteral("二等奖")},
            {QStringLiteral("一等奖人数"), QStringLiteral("3")},
            {QStringLiteral("二等奖"), QStringLiteral("一等奖")},
            {QStringLiteral("二等奖人数"), QStringLiteral("1")},
            {QStringLiteral("滚动速度"), QStringLiteral("30")},
            {QStringLiteral("照片图片宽"), QStringLiteral("300")},
            {QStringLiteral("照片图片高"), QStringLiteral("380")},
            {QStringLiteral("界面大小"), QStringLiteral("全屏")},
        };
        for (const auto& [key, value] : expected)
            QCOMPARE(values.value(key), value);
        QVERIFY(!values.value(QStringLiteral("zbt")).isEmpty());
        QVERIFY(!values.value(QStringLiteral("fbt")).isEmpty());
        QVERIFY(!values.contains(QStringLiteral("三等奖")));
        QVERIFY(!values.contains(QStringLiteral("奖项4图片")));

        // Each row's prize picture is an absolute path to a picture of that row's tier.
        for (int row = 1; row <= 3; ++row) {
            const QString path = values.value(QStringLiteral("奖项%1图片").arg(row));
            QVERIFY2(QFileInfo(path).isAbsolute(), qPrintable(path));
            QVERIFY(!pd::decodePicture(pd::readWholeFile(path)).isNull());
        }
        QCOMPARE(QFileInfo(values.value(QStringLiteral("奖项1图片"))).completeBaseName(),
                 QStringLiteral("三等奖"));
        QCOMPARE(QFileInfo(values.value(QStringLiteral("奖项3图片"))).completeBaseName(),
                 QStringLiteral("一等奖"));
    }

    void unwritableFolderIsReported()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString blocker = dir.filePath(QStringLiteral("file"));
        QVERIFY(pd::writeWholeFile(blocker, "x"));
        // A folder cannot be made under a plain file, whoever runs the test.
        QVERIFY(pd::writePhotos(blocker + QStringLiteral("/photo"), 3, 1, pd::PhotoOptions{})
                    .isEmpty());
        QVERIFY(!pd::makeDemoEvent(blocker, 1));
    }
};

QTEST_MAIN(TestPhotoGen)
#include "test_photogen.moc"
