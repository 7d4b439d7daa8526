#pragma once
// Small helpers shared by the regression tests: vectors from lists and a
// scripted progress display that records what the minimiser shows and can
// press Cancel during a chosen iteration.

#include <initializer_list>
#include <string>
#include <vector>

#include "regression/fit_progress.h"
#include "shared/matrices.h"

namespace movra::test {

// A TVector whose elements 1..n are the given values (element 0 is 0).
inline TVector OneBased(std::initializer_list<double> values)
{
    TVector v;
    AllocVector(v, static_cast<int>(values.size()));
    int i = 1;
    for (double value : values) v[i++] = value;
    return v;
}

inline TVector Filled(int ub, double value)
{
    TVector v;
    AllocVector(v, ub);
    for (double& e : v) e = value;
    return v;
}

class ScriptedProgress : public FitProgress {
public:
    // cancelIteration: Cancel is pressed while this iteration's lines are
    // shown (0 = never).
    explicit ScriptedProgress(int cancelIteration = 0) : cancelIteration_(cancelIteration) {}

    void Show() override
    {
        ++shows;
        cancelled_ = false;
        visible = true;
    }
    void SetButtonCaption(const std::string& caption) override { buttonCaption = caption; }
    void SetLine(int line, const std::string& text) override
    {
        lines[static_cast<std::size_t>(line)] = text;
        if (line == 2) history.push_back({lines[0], lines[1], lines[2]});
    }
    void Hide() override { visible = false; }
    void ProcessMessages() override
    {
        ++messagePumps;
        if (cancelIteration_ > 0 && lines[0] == "Iteration:" + std::to_string(cancelIteration_)) cancelled_ = true;
    }
    bool CancelRequested() const override { return cancelled_; }

    int shows = 0;
    int messagePumps = 0;
    bool visible = false;
    std::string buttonCaption;
    std::vector<std::string> lines = {"Iter", "F", "Lambda"};
    std::vector<std::vector<std::string>> history;  // the three lines of each iteration

private:
    int cancelIteration_;
    bool cancelled_ = false;
};

} // namespace movra::test
