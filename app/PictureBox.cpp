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
    if (m_scaled.isNull()) {
        const Qt::AspectRatioMode mode =
            m_stretched ? Qt::IgnoreAspectRatio : Qt::KeepAspectRatio;
        m_scaled = m_picture.size() == size()
                       ? m_picture
                       : m_picture.scaled(size(), mode, Qt::SmoothTransformation);
    }
    const QPoint at((width() - m_scaled.width()) / 2, (height() - m_scaled.height()) / 2);
    painter.drawImage(at, m_scaled);
}

} // namespace pd
