// The drawing toolkit library of the product family (namespace tarn): host glue used by the module.
#pragma once

#include "afx.h"

namespace tarn {
namespace cad {
// Types the text on the host's command line; it runs once the current command has ended.
// Callers end the text with a newline.
void SendCmdToAcad(CString cmd);
} // namespace cad
} // namespace tarn
