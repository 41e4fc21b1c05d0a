// Questions the road base and terrain stand-ins ask of the current drawing: filtered selections and the
// layers named by layer parameters.
#pragma once

#include <memory>
#include <vector>

#include "adsdef.h"
#include "afx.h"
#include "dbid.h"

namespace planroad::standins::roadbase {

struct ResbufReleaser {
    void operator()(resbuf* chain) const;
};
// A result-buffer chain released with acutRelRb.
using ResbufList = std::unique_ptr<resbuf, ResbufReleaser>;

// Every entity of the current drawing that passes the filter, in drawing order (empty without a drawing
// or a command-line session).
std::vector<AcDbObjectId> selectAll(const resbuf* filter);
// The name as a wildcard pattern that matches exactly that name.
CString wildcardLiteral(const CString& name);
// The layer name of the layer parameter `key` of the current drawing's store; empty when the drawing
// does not configure it.
CString layerOfParameter(const CString& key);

} // namespace planroad::standins::roadbase
