// The pipe base library of the product family: reading and rewriting annotation texts.
#pragma once

#include "afx.h"
#include "dbid.h"

// The text of a TEXT or MTEXT entity as the user reads it (an MTEXT's formatting codes removed, its
// paragraph breaks as line feeds); empty for any other object or an id that cannot be opened.
CString GetTextValue(AcDbObjectId id);

// Replaces the text of a TEXT or MTEXT entity (for an MTEXT the text is stored as plain content:
// backslashes and braces are escaped, line feeds become paragraph breaks), keeping everything else.
// 1 on success, 0 for any other object.
int ModiText(AcDbObjectId id, CString text);
