#pragma once
// The twelve formulas of the fit formula list, shared by the parser tests:
// the list the fitting controls offer.

#include "fitting/fit_formulas.h"

namespace movra::test {

using movra::kFitFormulas;

} // namespace movra::test
