// The "C" locale as an object, for number conversions that must not follow the process locale.
#pragma once

#include <locale.h>

namespace arxhost {

// The process-wide "C" locale object (created on first use, never changes).
locale_t classicLocale();

// Makes the calling thread use the "C" locale while the guard lives, whatever setlocale chose, so that
// the C library prints and parses numbers with '.' as the decimal point.
class ScopedClassicLocale {
public:
    ScopedClassicLocale();
    ~ScopedClassicLocale();
    ScopedClassicLocale(const ScopedClassicLocale&) = delete;
    ScopedClassicLocale& operator=(const ScopedClassicLocale&) = delete;

private:
    locale_t mPrevious;
};

} // namespace arxhost
