#pragma once
// Placement of the secondary windows over the main window: the window's
// centre on the main window's centre, halves truncated toward zero.

#include <QPoint>
#include <QRect>
#include <QSize>

class QWidget;

namespace movra {

// Top left for a window of size `own` centred on the frame `main`.
constexpr QPoint CentredTopLeft(QRect main, QSize own)
{
    return {main.left() + main.width() / 2 - own.width() / 2, main.top() + main.height() / 2 - own.height() / 2};
}

// Moves `window` so that it is centred on `main` (outer frames; a window not
// yet shown is taken to get a frame as wide as the main window's).
void CentreOn(QWidget& window, const QWidget& main);

} // namespace movra
