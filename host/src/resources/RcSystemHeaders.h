// Built-in stand-ins for the system headers a resource script includes (afxres.h, winres.h, ...).
#pragma once

#include <string_view>

namespace arxhost::rc {

// True for a header the platform SDK or MFC would supply: any <...> include, and the usual quoted ones
// (afxres.h, winres.h, winresrc.h, windows.h, commctrl.h, richedit.h, ...) and MFC's afx*.rc scripts.
bool isSystemHeader(std::string_view name, bool angled) noexcept;

// True for the MFC resource scripts (afxres.rc, afxprint.rc, ...), which stand in as empty.
bool isSystemScript(std::string_view name) noexcept;

// #define lines for the standard ids (IDOK, IDCANCEL, IDC_STATIC, ...) and the window, dialog, edit,
// button, combo box, list box, static, scroll bar and list view styles, with their Windows values.
std::string_view systemDefinitions() noexcept;

} // namespace arxhost::rc
