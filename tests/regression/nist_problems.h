#pragma once
// The NIST StRD nonlinear regression problems for the engine's tests: their
// certified values and model formulas from problems.tsv, their data from the
// .dat files, and the log relative error scoring.

#include <string>
#include <vector>

#include "shared/matrices.h"

namespace movra::nist {

struct Problem {
    std::string Name, Difficulty;
    std::string Formula;  // in x and m1..m8, with pi
    int Observations = 0, Parameters = 0;
    std::vector<double> Start1, Start2, CertifiedParameters, CertifiedDeviations;
    double CertifiedRss = 0.0;
    bool Supported = true;
};

// Reads problems.tsv of the folder; empty when it cannot be read.
std::vector<Problem> ReadProblems(const std::string& folder);

// Reads the data of NAME.dat into X[1..n] and Y[1..n]; n is 0 when the file
// cannot be read.
void ReadData(const std::string& folder, const std::string& name, TVector& x, TVector& y, int& n);

// Number of agreeing significant digits, 0..11.
double Lre(double estimate, double certified);

} // namespace movra::nist
