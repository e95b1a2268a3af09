// One dialog for face, size, styles and colour together: Qt's font dialog has no colour.
#pragma once

#include "platform/Platform.h"

#include <QDialog>

class QFontDialog;
class QPushButton;

namespace pd {

class FontColourDialog final : public QDialog
{
    Q_OBJECT
public:
    explicit FontColourDialog(const std::optional<FontChoice>& initial, QWidget* parent = nullptr);
    FontChoice choice() const;

private:
    void pickColour();
    void showColour();

    QFontDialog* m_fonts = nullptr;
    QPushButton* m_colourButton = nullptr;
    int m_colour = 0; // blue-green-red
};

} // namespace pd
