#pragma once
// What the pages of the main window share: the plate and its working state,
// the review table of the last import, the plate layout (the store of the
// sample assignment), the report table and the two formula parsers. One instance, owned by the main window for the whole run and handed
// to the pages by reference.

#include "parser/parser.h"
#include "plate/plate_layout.h"
#include "plate/plate_state.h"
#include "plate/review_table.h"
#include "reports/string_table.h"

namespace movra {

struct AppState {
    PlateState plate;
    ReviewTable review;  // texts of the last import; readings come from plate
    PlateLayout layout;
    StringTable report{5, 5};  // a string grid's default size
    TParser Parser1;           // the wavelength combination over A..D
    TParser Parser2;           // the fit model over X and m1..m8
};

} // namespace movra
