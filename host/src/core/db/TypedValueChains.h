// Conversion between result-buffer chains and the host's stored group-coded values.
#pragma once

#include "adsdef.h"
#include "detail/TypedValue.h"

namespace arxhost {

// A newly allocated chain (free it with acutRelRb); null for an empty list.
resbuf* toResbufChain(const TypedValues& values);
// Reads a chain into values; false (with the offending code in badCode) for a value kind the
// code does not allow.
bool fromResbufChain(const resbuf* chain, TypedValues& out, short& badCode);

} // namespace arxhost
