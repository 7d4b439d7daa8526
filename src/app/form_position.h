#pragma once
// The one persisted setting: the main window's screen position, kept in the
// per-user settings under key "MOVRA", section "Form", values "Top" and
// "Left" as decimal text. A missing or non-integer value reads as 0; a store
// that cannot be written is not reported.

#include <QPoint>

namespace movra {

// Left and top of the saved position, (0, 0) when nothing usable is stored.
QPoint LoadFormPosition();

void SaveFormPosition(QPoint topLeft);

} // namespace movra
