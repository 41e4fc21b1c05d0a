// The interface version a module reports to the host; linked into every module, as the SDK's
// static library is.
#include "rxregsvc.h"

extern "C" __attribute__((visibility("default"))) int acrxGetApiVersion()
{
    return ACRX_API_VERSION;
}
