#pragma once
// Start values from the data. For each entry of the formula list a rule
// reads the curve's features (baseline, plateau, amplitude, the time of half
// the rise, the slope there, the initial and final slopes) and turns them
// into m1..m8; for a typed formula a deterministic search runs short fits
// from starts spread over the scales of the data's x and y ranges and keeps
// the best. Either way the result lies inside the limits.
//
// The rules, with baseline b and plateau p the means of the first and last
// tenth of the points, amplitude a = p - b, t the x where the curve first
// crosses b + a/2, s the slope at t, s0 and s1 the least-squares slopes of
// the first and last tenth:
//   0  m1+(m2+m3*x)/(1+exp((m4-x)/m5))         m1=b m2=a m3=0 m4=t m5=a/(4s)
//   1  (m1+m2*x)+(m3+m4*x)/(1+exp((m5-x)/m6))  m1=b-s0*x0 m2=s0 m3=a m4=s1-s0 m5=t m6=a/(4s)
//   2  m1+m5*x+m2*(1-exp(-m3*x))^m4            m1=b m2=a m3=ln2/(t-x0) m4=1 m5=0
//   3  m1+m5*x+(m2+m6*x)*(1-exp(-m3*x))^m4     as 2, m6=0
//   4  m1-m2*exp(-m3*x)                        m3=ln2/(t-x0) m1=p m2=(p-b)*exp(m3*x0)
//   5  m1-m2*exp(-m3*x)+m4*x                   as 4, m4=s1 and m1=p-s1*xN
//   6  m1-m2*exp(-m3*x)-m4*exp(-m5*x)          m1=p, m2=m4=(p-b)/2 at x0, m3=2k m5=k/2 with k=ln2/(t-x0)
//   7  m1-m2*exp(-m3*(x-m6))-m4*exp(-m5*(x-m6)) as 6 with m6=x0
//   8  m1+m2*x^m3/(m4^m3+x^m3)                 m1=b m2=a m3=1 m4=t
//   9  (m1+m2*x+(m3+m4*x)*e)/(1+e), e=exp(-m6*(1/x-1/m5))  m1=b m2=0 m3=p m4=0 m5=t m6=4*s*t^2/a
//   10 m1*(cosh(m2*x)-1)+m3                    m3=y at the smallest x, m2=1/(xN-x0), m1=(yN-m3)/(cosh(m2*xN)-1)
//   11 m1+m7*x+(m2+m6*x)/(1+abs(m5)*exp(-m3*(x-m4)))^(1/abs(m5))  m1=b m2=a m3=4s/a m4=t m5=1 m6=m7=0
// where x0 and xN are the first and last x, and a slope or width that would
// be zero is replaced by a tenth of the x range.

#include <array>

#include "fitting/fit_settings.h"
#include "parser/parser.h"
#include "plate/plate_measurements.h"
#include "reduction/shown_curves.h"
#include "shared/matrices.h"

namespace movra {

// m1..m8 at 1..8 (index 0 unused).
using StartValueSet = std::array<double, 9>;

// What the rules read off a curve (points X[1..n], Y[1..n], x ascending).
struct CurveFeatures {
    double Baseline = 0, Plateau = 0, Amplitude = 0;
    double HalfRiseX = 0, HalfRiseSlope = 0;
    double InitialSlope = 0, FinalSlope = 0;
    double FirstX = 0, LastX = 0, FirstY = 0, LastY = 0;
};
CurveFeatures MeasureCurve(const TVector& x, const TVector& y, int n);

// The rule of list entry index (0..11) for the curve, clamped into the
// limits (by parameter number).
StartValueSet GuessListEntry(int index, const CurveFeatures& features, const TVector& limitMin,
                             const TVector& limitMax);

// Start values for the formula of settings on the curve: the list entry's
// rule when the text is an entry's text, else the search. parser2 holds the
// compiled formula and slots its m1..m8 (as for CurveFitter); the settings'
// start values, iteration cap and tolerance are not used.
StartValueSet GuessStartValues(TParser& parser2, const std::array<double*, 9>& slots, const FitSettings& settings,
                               const TVector& x, const TVector& y, int n);

// Start values for the curves on show: the guess for their mean curve over
// the reads in settings.View.
StartValueSet GuessForShownCurves(const PlateMeasurements& plate, const ShownCurves& curves, TParser& parser2,
                                  const std::array<double*, 9>& slots, const FitSettings& settings);

} // namespace movra
