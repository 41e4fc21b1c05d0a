// The host's dialog library for modules: CAcUiDialog and the library start.
#pragma once

#include "adui.h"

void InitAcUiDLL();

class CAcUiDialog : public CAdUiDialog {
    DECLARE_DYNAMIC(CAcUiDialog)
public:
    explicit CAcUiDialog(UINT idd, CWnd* pParent = nullptr, HINSTANCE hDialogResource = nullptr) noexcept;
    ~CAcUiDialog() override;
};
