#include "app/PictureBox.h"

#include <QPainter>

namespace pd {

PictureBox::PictureBox(QWidget* parent) : QWidget(parent) {}

void PictureBox::setPicture(const QImage& picture)
{
    m_picture = picture;
    m_scaled = QImage();
    update();
}

void PictureBox::setBackgroundColour(const QColor& colour)
{
    m_background = colour;
    update();
}

void PictureBox::resizeEvent(QResizeEvent*)
{
    m_scaled = QImage();
}

void PictureBox::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (m_background.isValid())
        painter.fillRect(rect(), m_background);
    if (m_picture.isNull() || width() <= 0 || height() <= 0)
        return;
    const Qt::AspectRatioMode mode = m_stretched ? Qt::IgnoreAspectRatio : Qt::KeepAspectRatio;
    const QSize fitted = m_picture.size().scaled(size(), mode);
    const QRect target(QPoint((width() - fitted.width()) / 2, (height() - fitted.height()) / 2),
                       fitted);
    if (fitted.width() >= m_picture.width() && fitted.height() >= m_picture.height()) {
        // A picture smaller than the box (a roll preview) is enlarged as it is drawn: a new
        // one comes every tick, and making an enlarged copy first would double the work.
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(target, m_picture);
        return;
    }
    // A larger picture is reduced once per size with area averaging, which keeps fine detail
    // from shimmering; drawing reduced on the fly would only sample it.
    if (m_scaled.isNull())
        m_scaled = m_picture.scaled(fitted, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    painter.drawImage(target.topLeft(), m_scaled);
}

} // namespace pd
