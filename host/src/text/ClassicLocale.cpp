// The "C" locale object shared by the number conversions.
#include "text/ClassicLocale.h"

#include <new>

namespace arxhost {

locale_t classicLocale()
{
    // Kept for the whole process and deliberately never freed: text may still be formatted by the
    // destructors of other static objects.
    static const locale_t locale = [] {
        locale_t created = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
        if (created == static_cast<locale_t>(nullptr))
            throw std::bad_alloc();
        return created;
    }();
    return locale;
}

ScopedClassicLocale::ScopedClassicLocale()
    : mPrevious(uselocale(classicLocale()))
{
}

ScopedClassicLocale::~ScopedClassicLocale()
{
    uselocale(mPrevious);
}

} // namespace arxhost
