#include "app/PictureBox.h"

#include "media/PictureDecoder.h"

#include <QPainter>

namespace pd {

PictureBox::PictureBox(QWidget* parent) : QWidget(parent) {}

void PictureBox::setPicture(const QImage& picture)
{
    m_picture = picture;
    m_scaled = QImage();
    // A roll preview is enlarged at once, by the tick that sets it, so that the paint that
    // follows only copies pixels.
    const QSize fitted = fittedSize();
    m_canvasHolds = isEnlarged(fitted) && enlargePictureInto(m_picture, fitted, m_canvas);
    update();
}

QSize PictureBox::fittedSize() const
{
    return m_picture.size().scaled(size(),
                                   m_stretched ? Qt::IgnoreAspectRatio : Qt::KeepAspectRatio);
}

bool PictureBox::isEnlarged(QSize fitted) const
{
    return !m_picture.isNull() && !fitted.isEmpty() && fitted != m_picture.size() &&
           fitted.width() >= m_picture.width() && fitted.height() >= m_picture.height();
}

void PictureBox::setBackgroundColour(const QColor& colour)
{
    m_background = colour;
    update();
}

void PictureBox::resizeEvent(QResizeEvent*)
{
    m_scaled = QImage();
    m_canvasHolds = false;
    // The canvas is made (and its memory touched) here rather than on the roll's first tick.
    if (m_canvas.width() < width() || m_canvas.height() < height()) {
        m_canvas = QImage(size(), QImage::Format_RGB32);
        m_canvas.fill(Qt::black);
    }
}

void PictureBox::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (m_background.isValid())
        painter.fillRect(rect(), m_background);
    if (m_picture.isNull() || width() <= 0 || height() <= 0)
        return;
    const QSize fitted = fittedSize();
    const QRect target(QPoint((width() - fitted.width()) / 2, (height() - fitted.height()) / 2),
                       fitted);
    if (fitted == m_picture.size()) {
        painter.drawImage(target.topLeft(), m_picture);
        return;
    }
    // A smaller picture (a roll preview, a new one every tick) is enlarged on this thread
    // into the box's own canvas, kept from one picture to the next so that the roll
    // allocates nothing; a larger one is reduced with area averaging, which keeps fine detail
    // from shimmering. Either is made once per picture and size: the window repaints the box
    // for other reasons too.
    if (isEnlarged(fitted)) {
        if (!m_canvasHolds)
            m_canvasHolds = enlargePictureInto(m_picture, fitted, m_canvas);
        if (m_canvasHolds)
            painter.drawImage(target.topLeft(), m_canvas, QRect(QPoint(0, 0), fitted));
        return;
    }
    if (m_scaled.isNull())
        m_scaled = m_picture.scaled(fitted, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    painter.drawImage(target.topLeft(), m_scaled);
}

} // namespace pd
