#pragma once
// Helpers shared by the regression tests: one-based vectors, the sigmoid of
// the first list formula, and a scripted progress display that records each
// iteration's lines and presses Cancel during a chosen iteration.

#include <cmath>
#include <initializer_list>
#include <string>
#include <vector>

#include "regression/fit_progress.h"
#include "regression/matrices.h"

namespace movra::test {

// Elements 1..n are the given values, element 0 is 0.
inline TVector OneBased(std::initializer_list<double> values)
{
    TVector v(1, 0.0);
    v.insert(v.end(), values);
    return v;
}

inline TVector Filled(int ub, double value) { return TVector(static_cast<std::size_t>(ub) + 1, value); }

// m1+(m2+m3*x)/(1+exp((m4-x)/m5)), entry 0 of the fit formula list.
inline double Sigmoid(double x, const TVector& m) { return m[1] + (m[2] + m[3] * x) / (1 + std::exp((m[4] - x) / m[5])); }

class ScriptedProgress : public FitProgress {
public:
    // cancelIteration: Cancel is pressed while that iteration's lines are shown (0 = never).
    explicit ScriptedProgress(int cancelIteration = 0) : cancelIteration_(cancelIteration) {}
    void Show() override { ++shows, visible = true; }
    void SetButtonCaption(const std::string& text) override { caption = text; }
    void SetLine(int line, const std::string& text) override
    {
        lines[static_cast<std::size_t>(line)] = text;
        if (line == 2) history.push_back(lines);
    }
    void Hide() override { visible = false; }
    void ProcessMessages() override
    {
        ++pumps;
        cancelled_ = cancelled_ || (cancelIteration_ > 0 && lines[0] == "Iteration:" + std::to_string(cancelIteration_));
    }
    bool CancelRequested() const override { return cancelled_; }

    int shows = 0, pumps = 0;
    bool visible = false;
    std::string caption;
    std::vector<std::string> lines = {"", "", ""};
    std::vector<std::vector<std::string>> history;  // the three lines of each iteration

private:
    int cancelIteration_;
    bool cancelled_ = false;
};

} // namespace movra::test
