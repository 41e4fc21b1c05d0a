// Host-side helpers for result-buffer chains: value classification, ownership, copies and dumps.
#pragma once

#include <cstdarg>
#include <memory>
#include <string>
#include <string_view>

#include "adsdef.h"

namespace arxhost {

// Memory of a resbuf chain, the same everywhere in the host so that any chain can be released by
// acutRelRb whoever built it:
//   - each node is allocated with `new resbuf` and freed with `delete`;
//   - `resval.rstring` of a String node is allocated with `new ACHAR[]` and freed with `delete[]`
//     (allocateString / releaseString below, core's copyForCaller uses the same allocator);
//   - `resval.rbinary.buf` of a Binary node is allocated with `new char[]` and freed with `delete[]`.
// A null rstring or buf is allowed and is simply not freed.

// The C type a value of a given type code occupies in `resval`.
enum class ValueKind {
    None, // no value (RTLB, RTLE, RTDOTE, RTNIL, RTT, RTVOID, RTNONE, -3) or an unknown code
    String, // rstring
    Real, // rreal
    Short, // rint
    Long, // rlong (32 bits)
    Point, // rpoint
    EntityName, // rlname
    Int64, // mnInt64 (mnLongPtr for RTLONG_PTR, which shares its storage)
    Binary, // rbinary
};

// Classifies ADS type codes (RTSTR, RTREAL, ...) and DXF group codes alike. The ranges are those
// documented for acutBuildList in acutads.h; in addition 290-299 (booleans) are Short, 320-329
// (handles) are String, 160-169, RTINT64 and RTLONG_PTR are Int64, 310-319 and 1004 are Binary,
// RTORINT is Real and RTPICKS is an EntityName. Anything else, including the value-less codes,
// is None; use isValuelessCode to tell the two apart.
ValueKind valueKindOf(int typeCode);

// True for the codes that legitimately carry no value: RTLB, RTLE, RTDOTE, RTNIL, RTT, RTVOID, -3.
bool isValuelessCode(int typeCode);

// A copy of text in the host's string allocator (never null; empty text gives "").
ACHAR* allocateString(std::wstring_view text);
void releaseString(ACHAR* text) noexcept;

// Replaces the string of a String node, releasing the previous one.
void setString(resbuf* rb, std::wstring_view text);

// A deep copy of a chain (strings and binary buffers included); null for a null chain.
resbuf* duplicateChain(const resbuf* chain);

// Number of nodes in a chain.
int chainLength(const resbuf* chain) noexcept;

// Releases a chain with acutRelRb when it goes out of scope.
struct ResbufChainDeleter {
    void operator()(resbuf* chain) const noexcept;
};

// Sole owner of a result-buffer chain inside the host:
//     ResbufChain list(acutBuildList(RTDXF0, L"LINE", 8, L"0", 0));
// release() hands the chain to a caller who will free it with acutRelRb.
using ResbufChain = std::unique_ptr<resbuf, ResbufChainDeleter>;

// The type/value argument convention of acutBuildList (and of acedCommand): reads pairs from args,
// starting with firstType, up to a 0 or RTNONE type. Strings are `const ACHAR*` (null reads as ""),
// reals `double`, shorts `int`, longs `Adesk::Int32`, Int64 codes `__int64`, points
// `const ads_real*` to three coordinates, entity names `const __int64*` to an ads_name, binary
// chunks `const ads_binary*`; value-less codes take no argument. Returns null, building nothing,
// for an unknown type code or a null point, name or binary pointer.
resbuf* buildListFromArgs(int firstType, va_list args);

// A readable dump of a chain for diagnostics and test messages, in the host's list notation:
//     ((0 . "LINE") (8 . "道路") (10 1.5 2 0) (62 . 1) (-3) (1001 . "APP"))
// A null chain prints as nil.
std::wstring describe(const resbuf* chain);

} // namespace arxhost
