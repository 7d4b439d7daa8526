#pragma once
// The user's number locale as the program sees it: only the decimal separator
// matters (conversions of typed and displayed numbers). It is process-wide
// because the platform's locale is; the desktop program sets it once at
// start-up from the system locale, the core and tests default to '.'.

namespace movra {

class UserLocale {
public:
    static char decimalSeparator() noexcept { return separator_; }
    static void setDecimalSeparator(char separator) noexcept { separator_ = separator; }

private:
    static inline char separator_ = '.';
};

// Sets the separator for a scope and restores the previous one (tests).
class ScopedDecimalSeparator {
public:
    explicit ScopedDecimalSeparator(char separator) noexcept : previous_(UserLocale::decimalSeparator())
    {
        UserLocale::setDecimalSeparator(separator);
    }
    ~ScopedDecimalSeparator() { UserLocale::setDecimalSeparator(previous_); }
    ScopedDecimalSeparator(const ScopedDecimalSeparator&) = delete;
    ScopedDecimalSeparator& operator=(const ScopedDecimalSeparator&) = delete;

private:
    char previous_;
};

} // namespace movra
