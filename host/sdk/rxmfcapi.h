// The host's windows as MFC objects: the main frame, the drawing view and the keep-focus message.
#pragma once

#include "afxwin.h"

// Sent by the host to a modeless dialog when the mouse moves into or out of it: return nonzero to
// keep the keyboard focus, zero to let the drawing take it.
#define WM_ACAD_KEEPFOCUS (WM_USER + 0x6D01)

// The host's main window; null without a session.
CMDIFrameWnd* acedGetAcadFrame();
// The drawing's view (a child of the main frame); null without a session.
CView* acedGetAcadDwgView();
