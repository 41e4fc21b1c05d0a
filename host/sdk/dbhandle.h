// AcDbHandle: the persistent 64-bit identity of a database object, written as hexadecimal.
#pragma once

#include "AdAChar.h"
#include "adesk.h"

class AcDbHandle {
public:
    AcDbHandle() = default;
    AcDbHandle(unsigned int lo, unsigned int hi)
        : mValue((static_cast<Adesk::UInt64>(hi) << 32) | lo)
    {
    }
    explicit AcDbHandle(Adesk::UInt64 value)
        : mValue(value)
    {
    }
    // Parses hexadecimal text such as "1F"; anything else gives the null handle.
    explicit AcDbHandle(const ACHAR* hexText);

    bool isNull() const { return mValue == 0; }
    void setNull() { mValue = 0; }
    Adesk::UInt32 low() const { return static_cast<Adesk::UInt32>(mValue & 0xFFFFFFFFu); }
    Adesk::UInt32 high() const { return static_cast<Adesk::UInt32>(mValue >> 32); }
    Adesk::UInt64 value() const { return mValue; }
    // Writes the handle as upper-case hexadecimal without leading zeros; needs 17 characters.
    bool getIntoAsciiBuffer(ACHAR* pBuf, size_t nBufLen = 17) const;
    AcDbHandle& operator++()
    {
        ++mValue;
        return *this;
    }
    AcDbHandle operator++(int)
    {
        AcDbHandle old = *this;
        ++mValue;
        return old;
    }
    AcDbHandle operator+(const AcDbHandle& other) const { return AcDbHandle(mValue + other.mValue); }
    bool operator==(const AcDbHandle& other) const { return mValue == other.mValue; }
    bool operator!=(const AcDbHandle& other) const { return mValue != other.mValue; }
    bool operator<(const AcDbHandle& other) const { return mValue < other.mValue; }
    bool operator>(const AcDbHandle& other) const { return mValue > other.mValue; }

private:
    Adesk::UInt64 mValue = 0;
};
