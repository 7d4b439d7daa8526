#include "app/window_placement.h"

#include <QWidget>

namespace movra {

void CentreOn(QWidget& window, const QWidget& main)
{
    const QRect mainFrame = main.frameGeometry();
    // A window not shown yet has no frame; assume one like the main window's.
    const QSize ownSize = window.isVisible() ? window.frameGeometry().size()
                                             : window.size() + (mainFrame.size() - main.size());
    window.move(CentredTopLeft(mainFrame, ownSize));
}

} // namespace movra
