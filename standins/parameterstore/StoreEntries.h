// The custom parameter store's entries: XRECORDs in the drawing's "QV_CUSTOM_PARAMS" dictionaries.
#pragma once

#include "afx.h"
#include "extendeddata/XDataAccess.h"

class AcDbDatabase;

namespace planroad::standins {

// The three dictionaries of the store.
enum class ParamKind { Other, Text, Layer };

// The values of the entry; null when the drawing has no entry under the key.
ResbufChain readStoreEntry(AcDbDatabase* db, ParamKind kind, const CString& key, bool& found);
// Writes the entry, creating the store's dictionaries and the entry when missing. True on success.
bool writeStoreEntry(AcDbDatabase* db, ParamKind kind, const CString& key, const resbuf& values);

} // namespace planroad::standins
