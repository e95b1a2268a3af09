// The design names its faces by their Windows names (宋体, 隶书, 幼圆); fontconfig matches none
// of them, so each is mapped to an installed face that resembles it.
#pragma once

#include <QFont>
#include <QString>

namespace pd {

// The installed family that stands for a face name (a design name or any stored face).
QString installedFamilyFor(const QString& faceName);

// A font for a design face at a height in pixels, converted to points at the given dots per
// inch (a pixel-sized QFont reports point size -1, and every stored size is in points).
QFont designFont(const QString& faceName, int heightPx, bool bold, double dpi);

// The face name a label shows as its own (the stored or design name, not the installed
// family it was mapped to), kept as a property of the widget.
QString faceNameOf(const QWidget* widget);
// The point size a label was given (0 stays 0, although Qt draws it at 1 point).
int pointSizeOf(const QWidget* widget);
void setLabelFont(QWidget* widget, const QString& faceName, int pointSize, bool bold = false,
                  bool italic = false, bool underline = false, bool strikeOut = false);

} // namespace pd
