// Fixed-width integer and boolean types of the host SDK (the LP64 branch).
#pragma once

#include <cstddef>
#include <cstdint>

#include "AdAChar.h"

struct Adesk {
    typedef std::int8_t Int8;
    typedef std::int16_t Int16;
    typedef std::int32_t Int32;
    typedef std::int64_t Int64;
    typedef std::uint8_t UInt8;
    typedef std::uint16_t UInt16;
    typedef std::uint32_t UInt32;
    typedef std::uint64_t UInt64;
    typedef std::intptr_t IntPtr;
    typedef std::uintptr_t UIntPtr;
    typedef std::intptr_t LongPtr;
    typedef std::uintptr_t ULongPtr;
    typedef std::intptr_t GsMarker;
    typedef unsigned char Byte;
    typedef std::size_t size_t;
    typedef bool Boolean;
    static constexpr bool kFalse = false;
    static constexpr bool kTrue = true;
};

#ifndef __int64
#define __int64 long long
#endif

typedef Adesk::Int32 AdInt32;
