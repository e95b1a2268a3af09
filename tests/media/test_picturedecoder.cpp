#include "media/PictureDecoder.h"

#include "tools/photogen/PhotoGenerator.h"

#include <QBuffer>
#include <QImageWriter>
#include <QTest>

namespace {

QByteArray pngOf(const QImage& image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter(&buffer, "png").write(image);
    return bytes;
}

pd::PhotoOptions options(QSize size, bool preview)
{
    pd::PhotoOptions result;
    result.size = size;
    result.preview = preview;
    return result;
}

} // namespace

class TestPictureDecoder : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        m_photo = pd::makePhoto(QStringLiteral("张伟"), 3, options(QSize(400, 500), true));
        m_plainPhoto = pd::makePhoto(QStringLiteral("李娜"), 4, options(QSize(400, 500), false));
        m_bigPhoto = pd::makePhoto(QStringLiteral("王芳"), 5, options(QSize(4000, 3000), false));
        QVERIFY(!m_photo.isEmpty());
        QVERIFY(!m_plainPhoto.isEmpty());
        QVERIFY(!m_bigPhoto.isEmpty());
    }

    void decodesAtShownSize_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QSize>("shown");
        QTest::addColumn<QSize>("expected"); // an invalid size: no picture

        QTest::newRow("jpeg whole") << m_photo << QSize() << QSize(400, 500);
        QTest::newRow("jpeg at half size") << m_photo << QSize(200, 250) << QSize(200, 250);
        QTest::newRow("aspect kept inside a wide frame")
            << m_photo << QSize(500, 400) << QSize(320, 400);
        QTest::newRow("never enlarged") << m_plainPhoto << QSize(800, 1000) << QSize(400, 500);
        QTest::newRow("12 MP into the photo frame")
            << m_bigPhoto << QSize(500, 400) << QSize(500, 375);
        QTest::newRow("png, whatever its name")
            << pngOf(QImage(64, 48, QImage::Format_RGB32)) << QSize(32, 32) << QSize(32, 24);
        QTest::newRow("no bytes") << QByteArray() << QSize(500, 400) << QSize();
        QTest::newRow("text") << QByteArray("张三\r\n李四\r\n") << QSize() << QSize();
        QTest::newRow("jpeg start marker only")
            << QByteArray("\xFF\xD8\xFF", 3) << QSize() << QSize();
        QTest::newRow("declares 60000 x 60000")
            << pd::withDeclaredSize(m_plainPhoto, 60000, 60000) << QSize(500, 400) << QSize();
        QTest::newRow("declares 60000 x 60000, no shown size")
            << pd::withDeclaredSize(m_plainPhoto, 60000, 60000) << QSize() << QSize();
        // 240 MP would fit in memory at an eighth, yet a claim like that is never a photo.
        QTest::newRow("declares 20000 x 12000")
            << pd::withDeclaredSize(m_plainPhoto, 20000, 12000) << QSize(500, 400) << QSize();
    }
    void decodesAtShownSize()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QSize, shown);
        QFETCH(QSize, expected);
        const QImage image = pd::decodePicture(bytes, shown);
        QCOMPARE(image.isNull(), !expected.isValid());
        if (expected.isValid())
            QCOMPARE(image.size(), expected);
    }

    void decodedPixelsMatchThePhoto()
    {
        // A scaled decode shows the same picture: compare against a full decode scaled down.
        const QImage full = pd::decodePicture(m_bigPhoto);
        QCOMPARE(full.size(), QSize(4000, 3000));
        const QImage small =
            pd::decodePicture(m_bigPhoto, QSize(500, 375)).convertToFormat(QImage::Format_RGB32);
        const QImage reference =
            full.scaled(500, 375, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                .convertToFormat(QImage::Format_RGB32);
        qint64 difference = 0;
        for (int y = 0; y < 375; y += 5) {
            for (int x = 0; x < 500; x += 5) {
                const QRgb a = small.pixel(x, y);
                const QRgb b = reference.pixel(x, y);
                difference += qAbs(qRed(a) - qRed(b)) + qAbs(qGreen(a) - qGreen(b)) +
                              qAbs(qBlue(a) - qBlue(b));
            }
        }
        const double meanPerChannel = double(difference) / (100.0 * 75.0 * 3.0);
        QVERIFY2(meanPerChannel < 12.0, qPrintable(QString::number(meanPerChannel)));
    }

    void truncatedJpeg_data()
    {
        QTest::addColumn<int>("cutPermille");
        QTest::addColumn<bool>("showsPart");
        QTest::newRow("inside the header") << 5 << false;
        QTest::newRow("a tenth of the data") << 100 << true;
        QTest::newRow("half") << 500 << true;
        QTest::newRow("end marker missing") << 999 << true;
    }
    void truncatedJpeg()
    {
        QFETCH(int, cutPermille);
        QFETCH(bool, showsPart);
        const QByteArray cut = m_plainPhoto.left(m_plainPhoto.size() * cutPermille / 1000);
        for (const QSize shown : {QSize(), QSize(200, 250)}) {
            // What arrived is shown, at the size the whole picture would have had.
            const QImage image = pd::decodePicture(cut, shown);
            QCOMPARE(!image.isNull(), showsPart);
            if (showsPart)
                QCOMPARE(image.size(), shown.isValid() ? shown : QSize(400, 500));
        }
    }

    void embeddedPreview_data()
    {
        QTest::addColumn<QByteArray>("head");
        QTest::addColumn<QByteArray>("expected");

        const QByteArray plain =
            pd::makePhoto(QStringLiteral("陈静"), 8, options(QSize(400, 500), false));
        QImage thumbImage(QSize(120, 150), QImage::Format_RGB32);
        thumbImage.fill(Qt::darkCyan);
        const QByteArray thumb = pd::encodeJpeg(thumbImage, 75);
        const QByteArray withPreview = pd::withEmbeddedPreview(plain, thumb);

        QTest::newRow("preview found") << withPreview << thumb.chopped(2);
        QTest::newRow("head cut after the preview")
            << withPreview.left(withPreview.indexOf(thumb) + thumb.size()) << thumb.chopped(2);
        QTest::newRow("start marker only at 0") << plain << QByteArray();
        QTest::newRow("no end marker")
            << withPreview.left(withPreview.indexOf(thumb) + thumb.size() / 2) << QByteArray();
        QTest::newRow("preview past 56000 bytes")
            << pd::withEmbeddedPreview(plain, thumb, 60000) << QByteArray();
        QTest::newRow("preview ends past 56000 bytes")
            << pd::withEmbeddedPreview(plain, thumb, 56000 - int(thumb.size()) / 2) << QByteArray();
        QTest::newRow("preview ends just inside 56000 bytes")
            << pd::withEmbeddedPreview(plain, thumb, 56000 - int(thumb.size()) - 200)
            << thumb.chopped(2);
        QTest::newRow("pair at the third byte is the file's own")
            << QByteArray("\xFF\xD8\xFF\xD8\x11\xFF\xD9", 7) << QByteArray();
        QTest::newRow("pair at the fourth byte counts")
            << QByteArray("\x00\x00\x00\xFF\xD8\x11\xFF\xD9", 8) << QByteArray("\xFF\xD8\x11", 3);
        QTest::newRow("end marker right after the start")
            << QByteArray("\xFF\xD8\xE0\xFF\xD8\xFF\xD9", 7) << QByteArray("\xFF\xD8", 2);
        QTest::newRow("empty") << QByteArray() << QByteArray();
    }
    void embeddedPreview()
    {
        QFETCH(QByteArray, head);
        QFETCH(QByteArray, expected);
        QCOMPARE(pd::embeddedPreviewOf(head).toByteArray(), expected);
    }

    void generatedPreviewDecodesAsTheRollPicture()
    {
        for (const QSize size : {QSize(400, 500), QSize(4000, 3000)}) {
            const QByteArray photo = pd::makePhoto(QStringLiteral("周杰"), 11, options(size, true));
            const QByteArrayView preview = pd::embeddedPreviewOf(
                QByteArrayView(photo).first(qMin(photo.size(), pd::kPreviewSearchBytes)));
            QVERIFY(!preview.isEmpty());
            QCOMPARE(pd::decodePicture(preview).size(), pd::previewSizeFor(size));
            // The preview is part of the file, not a copy of it: the full photo still decodes.
            QCOMPARE(pd::decodePicture(photo).size(), size);
        }
    }

    // The roll's own enlarging agrees with Qt's smooth scaling, pixel for pixel within rounding.
    void enlargesLikeSmoothScaling_data()
    {
        QTest::addColumn<QSize>("from");
        QTest::addColumn<QSize>("to");
        QTest::addColumn<QImage::Format>("format");
        QTest::newRow("roll preview") << QSize(320, 240) << QSize(500, 375) << QImage::Format_RGB32;
        QTest::newRow("odd sizes") << QSize(33, 17) << QSize(301, 97) << QImage::Format_RGB32;
        QTest::newRow("one pixel") << QSize(1, 1) << QSize(9, 5) << QImage::Format_RGB32;
        QTest::newRow("one column") << QSize(1, 40) << QSize(7, 80) << QImage::Format_RGB32;
        QTest::newRow("grey") << QSize(40, 30) << QSize(100, 75) << QImage::Format_Grayscale8;
        QTest::newRow("translucent")
            << QSize(40, 30) << QSize(100, 75) << QImage::Format_ARGB32_Premultiplied;
    }

    void enlargesLikeSmoothScaling()
    {
        QFETCH(QSize, from);
        QFETCH(QSize, to);
        QFETCH(QImage::Format, format);
        QImage source(from, QImage::Format_ARGB32);
        quint32 noise = 12345;
        for (int y = 0; y < from.height(); ++y) {
            for (int x = 0; x < from.width(); ++x) {
                noise = noise * 1103515245u + 12345u;
                const int alpha =
                    format == QImage::Format_ARGB32_Premultiplied ? int(noise >> 24) | 0x40 : 255;
                source.setPixel(x, y,
                                qRgba(x * 7 & 255, int(noise >> 16) & 255, y * 5 & 255, alpha));
            }
        }
        source = source.convertToFormat(format);
        QImage mine;
        QVERIFY(pd::enlargePictureInto(source, to, mine));
        QCOMPARE(mine.size(), to);
        const QImage qts = source.scaled(to, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                               .convertToFormat(mine.format());
        int worst = 0;
        for (int y = 0; y < to.height(); ++y) {
            for (int x = 0; x < to.width(); ++x) {
                const QRgb a = mine.pixel(x, y);
                const QRgb b = qts.pixel(x, y);
                worst =
                    std::max({worst, std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                              std::abs(qBlue(a) - qBlue(b)), std::abs(qAlpha(a) - qAlpha(b))});
            }
        }
        QVERIFY2(worst <= 3, qPrintable(QStringLiteral("channels differ by %1").arg(worst)));
    }

    void enlargeEdgeCases()
    {
        // A canvas large enough is written in place, in its top-left corner.
        QImage source(4, 3, QImage::Format_RGB32);
        source.fill(qRgb(10, 200, 30));
        QImage canvas(50, 40, QImage::Format_RGB32);
        canvas.fill(qRgb(1, 2, 3));
        const uchar* bits = canvas.constBits();
        QVERIFY(pd::enlargePictureInto(source, QSize(20, 15), canvas));
        QCOMPARE(canvas.constBits(), bits);
        QCOMPARE(canvas.pixel(19, 14), qRgb(10, 200, 30));
        QCOMPARE(canvas.pixel(20, 15), qRgb(1, 2, 3));
        // A shared canvas is not written through: the other holder keeps its pixels.
        const QImage other = canvas;
        QImage black(10, 8, QImage::Format_RGB32);
        black.fill(Qt::black);
        QVERIFY(pd::enlargePictureInto(black, QSize(20, 15), canvas));
        QCOMPARE(other.pixel(19, 14), qRgb(10, 200, 30));
        QCOMPARE(canvas.pixel(19, 14), qRgb(0, 0, 0));
        // Nothing to enlarge, or nowhere to: the canvas is left alone.
        QVERIFY(!pd::enlargePictureInto(QImage(), QSize(20, 15), canvas));
        QVERIFY(!pd::enlargePictureInto(black, QSize(0, 15), canvas));
        QCOMPARE(canvas.pixel(19, 14), qRgb(0, 0, 0));
    }

private:
    QByteArray m_photo;
    QByteArray m_plainPhoto;
    QByteArray m_bigPhoto;
};

QTEST_MAIN(TestPictureDecoder)
#include "test_picturedecoder.moc"
