#pragma once
// How a running fit reaches its progress display: the minimiser shows it,
// writes three lines per iteration, lets pending window messages through once
// after showing and after each update, asks once per iteration whether Cancel
// was pressed, and hides it at the end. The defaults do nothing and never
// cancel; the desktop program's progress window overrides them.

#include <string>

namespace movra {

class FitProgress {
public:
    virtual ~FitProgress() = default;

    // Makes the display visible; showing clears any earlier cancel request.
    virtual void Show() {}
    virtual void SetButtonCaption(const std::string& /*caption*/) {}
    // Line 0 iteration, line 1 objective, line 2 damping factor.
    virtual void SetLine(int /*line*/, const std::string& /*text*/) {}
    virtual void Hide() {}
    // Processes pending window messages once (the only way Cancel gets in).
    virtual void ProcessMessages() {}
    virtual bool CancelRequested() const { return false; }
};

} // namespace movra
