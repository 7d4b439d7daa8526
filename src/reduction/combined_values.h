#pragma once
// What the reports need of the wavelength combination: compile the current
// combination formula, then the combined value of a well at a read. The
// parser-backed implementation lives beside the sample curves; tests may
// provide their own.

namespace movra {

class CombinedValues {
public:
    virtual ~CombinedValues() = default;
    // Compiles the combination text; throws the parser's error when rejected.
    virtual void CompileCombination() = 0;
    // Combined value of well w at read t (0-based), weighting included.
    virtual double CalcYpos(int well, int read) = 0;
};

} // namespace movra
