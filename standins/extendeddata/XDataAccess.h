// Extended data of one application on one object: the reading and writing the stand-ins share.
#pragma once

#include <memory>

#include "adsdef.h"
#include "afx.h"
#include "dbid.h"

class AcDbDatabase;

namespace planroad::standins {

struct ResbufDeleter {
    void operator()(resbuf* chain) const;
};
// A result-buffer chain released with acutRelRb.
using ResbufChain = std::unique_ptr<resbuf, ResbufDeleter>;

// Registers the application name in the drawing's APPID table unless it is there. True when it is
// registered afterwards.
bool registerApplication(AcDbDatabase* db, const CString& app);

// The values of application `app` on the object (the chain after its 1001 group); `present` tells
// whether the object carries the application at all (it may carry it without values). Null chain
// and false when the object cannot be opened.
ResbufChain readApplicationData(AcDbObjectId id, const CString& app, bool& present);

// Replaces the values of `app` on the object by `values` (a chain without the 1001 group; null
// removes the application's data). Registers the application first. True on success.
bool writeApplicationData(AcDbObjectId id, const CString& app, const resbuf* values);

} // namespace planroad::standins
