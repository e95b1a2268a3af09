#include "platform/QtPlatform.h"

#include <QTest>

class TestQtPlatform : public QObject
{
    Q_OBJECT
private slots:
    void filterMatchesAnyLetterCase_data()
    {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QString>("expected");
        QTest::newRow("jpg") << "图形文件(*.jpg)|*.jpg"
                             << "图形文件(*.jpg) (*.jpg *.jpG *.jPg *.jPG *.Jpg *.JpG *.JPg *.JPG)";
        QTest::newRow("mp3") << "音乐文件(*.mp3)|*.mp3"
                             << "音乐文件(*.mp3) (*.mp3 *.mP3 *.Mp3 *.MP3)";
    }
    void filterMatchesAnyLetterCase()
    {
        QFETCH(QString, filter);
        QFETCH(QString, expected);
        QCOMPARE(pd::QtDialogs::qtFilterOf(filter), expected);
    }
};

QTEST_MAIN(TestQtPlatform)
#include "test_qtplatform.moc"
