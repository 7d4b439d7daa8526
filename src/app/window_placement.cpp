#include "app/window_placement.h"

#include <QWidget>

namespace movra {

void CentreOn(QWidget& window, const QWidget& main)
{
    const QRect mainFrame = main.frameGeometry();
    const QSize ownSize = window.frameGeometry().size();
    window.move(CentredTopLeft(mainFrame, ownSize));
}

} // namespace movra
