#include "platform/FontColourDialog.h"

#include <QColorDialog>
#include <QDialogButtonBox>
#include <QFontDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace pd {

namespace {
QColor colourOf(int bgr)
{
    return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF);
}
int bgrOf(const QColor& c)
{
    return c.blue() * 65536 + c.green() * 256 + c.red();
}
} // namespace

FontColourDialog::FontColourDialog(const std::optional<FontChoice>& initial, QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("字体"));
    m_fonts = new QFontDialog(this);
    m_fonts->setWindowFlags(Qt::Widget);
    m_fonts->setOptions(QFontDialog::NoButtons | QFontDialog::DontUseNativeDialog);
    if (initial) {
        QFont font(initial->face);
        font.setPointSize(qMax(1, initial->pointSize));
        font.setBold(initial->bold);
        font.setItalic(initial->italic);
        font.setUnderline(initial->underline);
        font.setStrikeOut(initial->strikeOut);
        m_fonts->setCurrentFont(font);
        m_colour = initial->colour;
    }

    m_colourButton = new QPushButton(this);
    m_colourButton->setMinimumWidth(80);
    connect(m_colourButton, &QPushButton::clicked, this, &FontColourDialog::pickColour);
    showColour();

    auto* colourRow = new QHBoxLayout;
    colourRow->addWidget(new QLabel(QStringLiteral("颜色："), this));
    colourRow->addWidget(m_colourButton);
    colourRow->addStretch();

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_fonts);
    layout->addLayout(colourRow);
    layout->addWidget(buttons);
}

FontChoice FontColourDialog::choice() const
{
    const QFont font = m_fonts->currentFont();
    FontChoice c;
    c.face = font.family();
    c.pointSize = font.pointSize();
    c.bold = font.bold();
    c.italic = font.italic();
    c.underline = font.underline();
    c.strikeOut = font.strikeOut();
    c.colour = m_colour;
    return c;
}

void FontColourDialog::pickColour()
{
    const QColor picked = QColorDialog::getColor(colourOf(m_colour), this, QString(),
                                                 QColorDialog::DontUseNativeDialog);
    if (picked.isValid()) {
        m_colour = bgrOf(picked);
        showColour();
    }
}

void FontColourDialog::showColour()
{
    const QColor c = colourOf(m_colour);
    m_colourButton->setStyleSheet(QStringLiteral("background-color: %1").arg(c.name()));
    m_colourButton->setText(c.name().toUpper());
}

} // namespace pd
