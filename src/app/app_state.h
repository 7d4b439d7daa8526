#pragma once
// What the pages of the main window share: the plate and its working state.
// One instance, owned by the main window for the whole run and handed to the
// pages by reference.

#include "plate/plate_state.h"

namespace movra {

struct AppState {
    PlateState plate;
};

} // namespace movra
