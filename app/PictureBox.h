// A picture box: a background colour with a picture fitted inside, keeping its proportions.
#pragma once

#include <QImage>
#include <QWidget>

namespace pd {

class PictureBox final : public QWidget
{
    Q_OBJECT
public:
    explicit PictureBox(QWidget* parent = nullptr);

    void setPicture(const QImage& picture);
    void clearPicture() { setPicture(QImage()); }
    bool hasPicture() const { return !m_picture.isNull(); }
    const QImage& picture() const { return m_picture; }
    void setBackgroundColour(const QColor& colour);
    // Stretch the picture over the whole box instead of fitting it.
    void setStretched(bool stretched) { m_stretched = stretched; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QSize fittedSize() const;
    // A picture smaller than the box is enlarged into the canvas; a larger one is reduced.
    bool isEnlarged(QSize fitted) const;

    QImage m_picture;
    QImage m_scaled; // a larger picture reduced to the box's size, made once per size
    QImage m_canvas; // a smaller picture enlarged, in its top-left corner
    bool m_canvasHolds = false;
    QColor m_background;
    bool m_stretched = false;
};

} // namespace pd
