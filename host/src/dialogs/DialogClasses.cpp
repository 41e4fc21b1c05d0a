// CDialog over the host's dialog model, and the host library's dialogs: per-user data and layouts.
#include <algorithm>
#include <cstring>
#include <optional>
#include <span>
#include <utility>
#include <vector>

#include "acui.h"
#include "dialogs/DialogData.h"
#include "dialogs/DialogHost.h"
#include "dialogs/WindowHooks.h"

using arxhost::DialogHost;

IMPLEMENT_DYNAMIC(CDialog, CWnd)
IMPLEMENT_DYNAMIC(CAdUiBaseDialog, CDialog)
IMPLEMENT_DYNAMIC(CAdUiDialog, CAdUiBaseDialog)
IMPLEMENT_DYNAMIC(CAcUiDialog, CAdUiDialog)

// ---- CDialog ----

BEGIN_MESSAGE_MAP(CDialog, CWnd)
ON_COMMAND(IDOK, &CDialog::OnOK)
ON_COMMAND(IDCANCEL, &CDialog::OnCancel)
ON_MESSAGE(WM_INITDIALOG, &CDialog::HandleInitDialog)
END_MESSAGE_MAP()

CDialog::CDialog() noexcept
    : m_nIDHelp(0)
    , m_lpszTemplateName(nullptr)
    , m_pParentWnd(nullptr)
    , m_hDialogResource(nullptr)
    , m_nIDTemplate(0)
    , m_nModalResult(-1)
    , m_bModalRunning(false)
{
}

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd) noexcept
    : m_nIDHelp(nIDTemplate)
    , m_lpszTemplateName(MAKEINTRESOURCE(nIDTemplate))
    , m_pParentWnd(pParentWnd)
    , m_hDialogResource(nullptr)
    , m_nIDTemplate(nIDTemplate)
    , m_nModalResult(-1)
    , m_bModalRunning(false)
{
}

CDialog::~CDialog()
{
    // As MFC does: the window goes now, without the derived class's OnDestroy and PostNcDestroy.
    if (m_hWnd != nullptr)
        DestroyWindow();
}

BOOL CDialog::Create(UINT nIDTemplate, CWnd* pParentWnd)
{
    DialogHost* host = DialogHost::current();
    if (host == nullptr || m_hWnd != nullptr)
        return FALSE;
    m_nIDTemplate = nIDTemplate;
    m_lpszTemplateName = MAKEINTRESOURCE(nIDTemplate);
    if (pParentWnd != nullptr)
        m_pParentWnd = pParentWnd;
    const HWND owner = m_pParentWnd != nullptr ? m_pParentWnd->m_hWnd : nullptr;
    return host->createDialog(*this, nIDTemplate, m_hDialogResource, owner, false) != nullptr ? TRUE : FALSE;
}

INT_PTR CDialog::DoModal()
{
    DialogHost* host = DialogHost::current();
    if (host == nullptr || m_hWnd != nullptr)
        return -1;
    const HWND owner = m_pParentWnd != nullptr ? m_pParentWnd->m_hWnd : nullptr;
    m_nModalResult = -1;
    const HWND handle = host->createDialog(*this, m_nIDTemplate, m_hDialogResource, owner, true);
    if (handle == nullptr)
        return -1;
    m_bModalRunning = true;
    struct Running {
        bool& flag;
        ~Running() { flag = false; }
    } running {m_bModalRunning};
    m_nModalResult = host->runModal(handle);
    if (m_hWnd != nullptr)
        DestroyWindow();
    return m_nModalResult;
}

void CDialog::EndDialog(int nResult)
{
    m_nModalResult = nResult;
    if (DialogHost* host = DialogHost::current())
        host->endDialog(m_hWnd, nResult);
}

BOOL CDialog::OnInitDialog()
{
    if (DialogHost* host = DialogHost::current())
        host->executeDialogInit(m_hWnd);
    if (!UpdateData(FALSE)) {
        EndDialog(-1);
        return FALSE;
    }
    return TRUE;
}

void CDialog::OnOK()
{
    if (!UpdateData(TRUE))
        return;
    EndDialog(IDOK);
}

void CDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}

LRESULT CDialog::HandleInitDialog(WPARAM, LPARAM)
{
    return OnInitDialog();
}

void CDialog::MapDialogRect(LPRECT lpRect) const
{
    ::MapDialogRect(m_hWnd, lpRect);
}

void CDialog::GotoDlgCtrl(CWnd* pWndCtrl)
{
    if (pWndCtrl == nullptr)
        return;
    ::SetFocus(pWndCtrl->m_hWnd);
    DialogHost* host = DialogHost::current();
    const arxhost::Window* control = host != nullptr ? host->find(pWndCtrl->m_hWnd) : nullptr;
    if (control != nullptr && control->windowClass == arxhost::WindowClass::Edit)
        ::SendMessageW(pWndCtrl->m_hWnd, EM_SETSEL, 0, -1);
}

namespace {

// The next (or previous) control that takes the focus by Tab, after the focused one.
void moveFocus(HWND dialog, bool forward)
{
    DialogHost* host = DialogHost::current();
    const arxhost::Window* window = host != nullptr ? host->find(dialog) : nullptr;
    if (window == nullptr || window->children.empty())
        return;
    const auto& children = window->children;
    const auto count = static_cast<std::ptrdiff_t>(children.size());
    std::ptrdiff_t at = std::find(children.begin(), children.end(), host->focus()) - children.begin();
    if (at == count)
        at = forward ? -1 : count;
    for (std::ptrdiff_t step = 1; step <= count; ++step) {
        const std::ptrdiff_t index = ((at + (forward ? step : -step)) % count + count) % count;
        const HWND child = children[static_cast<std::size_t>(index)];
        const arxhost::Window* control = host->find(child);
        if ((control->style & WS_TABSTOP) != 0 && host->isVisible(child) && host->isEnabled(child)) {
            host->setFocus(child);
            return;
        }
    }
}

} // namespace

void CDialog::NextDlgCtrl() const
{
    moveFocus(m_hWnd, true);
}

void CDialog::PrevDlgCtrl() const
{
    moveFocus(m_hWnd, false);
}

DWORD CDialog::GetDefID() const
{
    return static_cast<DWORD>(::SendMessageW(m_hWnd, DM_GETDEFID, 0, 0));
}

void CDialog::SetDefID(UINT nID)
{
    ::SendMessageW(m_hWnd, DM_SETDEFID, nID, 0);
}

// ---- The host library's dialogs ----

namespace {

// Where the dialog's data is filed: its name, else its own run-time class, else its template.
std::wstring dialogKey(const CAdUiBaseDialog& dialog, const CString& name)
{
    if (!name.IsEmpty())
        return name.GetString();
    const CRuntimeClass* runtimeClass = dialog.GetRuntimeClass();
    const CRuntimeClass* framework[] = {RUNTIME_CLASS(CDialog), RUNTIME_CLASS(CAdUiBaseDialog),
        RUNTIME_CLASS(CAdUiDialog), RUNTIME_CLASS(CAcUiDialog)};
    if (std::find(std::begin(framework), std::end(framework), runtimeClass) == std::end(framework)) {
        const char* className = runtimeClass->m_lpszClassName;
        return std::wstring(className, className + std::strlen(className));
    }
    return L"Dialog" + std::to_wstring(arxhost::WindowHooks::templateId(dialog));
}

std::optional<arxhost::DialogDataStore> dataStore()
{
    DialogHost* host = DialogHost::current();
    if (host == nullptr)
        return std::nullopt;
    return arxhost::DialogDataStore(host->userDataFile());
}

} // namespace

CAdUiBaseDialog::CAdUiBaseDialog(UINT idd, CWnd* pParent, HINSTANCE hDialogResource) noexcept
    : CDialog(idd, pParent)
{
    m_hDialogResource = hDialogResource;
}

CAdUiBaseDialog::~CAdUiBaseDialog() = default;

BOOL CAdUiBaseDialog::GetDialogData(LPCTSTR valueName, CString& data)
{
    std::optional<arxhost::DialogDataStore> store = dataStore();
    if (!store || valueName == nullptr)
        return FALSE;
    auto value = store->get(dialogKey(*this, m_dialogName), valueName);
    const auto* text = value ? std::get_if<std::wstring>(&*value) : nullptr;
    if (text == nullptr)
        return FALSE;
    data = text->c_str();
    return TRUE;
}

BOOL CAdUiBaseDialog::GetDialogData(LPCTSTR valueName, DWORD& data)
{
    std::optional<arxhost::DialogDataStore> store = dataStore();
    if (!store || valueName == nullptr)
        return FALSE;
    auto value = store->get(dialogKey(*this, m_dialogName), valueName);
    const auto* number = value ? std::get_if<std::uint32_t>(&*value) : nullptr;
    if (number == nullptr)
        return FALSE;
    data = *number;
    return TRUE;
}

BOOL CAdUiBaseDialog::SetDialogData(LPCTSTR valueName, LPCTSTR data)
{
    std::optional<arxhost::DialogDataStore> store = dataStore();
    if (!store || valueName == nullptr)
        return FALSE;
    return store->set(dialogKey(*this, m_dialogName), valueName, std::wstring(data != nullptr ? data : L""))
        ? TRUE
        : FALSE;
}

BOOL CAdUiBaseDialog::SetDialogData(LPCTSTR valueName, DWORD data)
{
    std::optional<arxhost::DialogDataStore> store = dataStore();
    if (!store || valueName == nullptr)
        return FALSE;
    return store->set(dialogKey(*this, m_dialogName), valueName, static_cast<std::uint32_t>(data)) ? TRUE
                                                                                                   : FALSE;
}

void CAdUiBaseDialog::SetDialogName(LPCTSTR name)
{
    m_dialogName = name != nullptr ? name : L"";
}

CString CAdUiBaseDialog::GetDialogName() const
{
    return dialogKey(*this, m_dialogName).c_str();
}

BEGIN_MESSAGE_MAP(CAdUiDialog, CAdUiBaseDialog)
ON_WM_SIZE()
END_MESSAGE_MAP()

CAdUiDialog::CAdUiDialog(UINT idd, CWnd* pParent, HINSTANCE hDialogResource) noexcept
    : CAdUiBaseDialog(idd, pParent, hDialogResource)
{
}

CAdUiDialog::~CAdUiDialog() = default;

BOOL CAdUiDialog::SetControlProperty(PDLGCTLINFO lp, DWORD numElements)
{
    DialogHost* host = DialogHost::current();
    if (host == nullptr || host->find(m_hWnd) == nullptr || lp == nullptr)
        return FALSE;
    const RECT client = host->clientRect(m_hWnd);
    // A call replaces what earlier calls said about the controls it names; within one call the entries
    // of a control add up (a stretch across and one downwards, each with its own percentage).
    const std::span<const DLGCTLINFO> entries(lp, numElements);
    std::erase_if(m_layout, [&entries](const Layout& layout) {
        return std::any_of(entries.begin(), entries.end(),
            [&layout](const DLGCTLINFO& entry) { return entry.id == layout.info.id; });
    });
    BOOL allFound = TRUE;
    for (const DLGCTLINFO& entry : entries) {
        const HWND control = host->dialogItem(m_hWnd, static_cast<int>(entry.id));
        if (control == nullptr) {
            allFound = FALSE;
            continue;
        }
        m_layout.push_back(Layout {entry, host->find(control)->rect, SIZE {client.right, client.bottom}});
    }
    return allFound;
}

void CAdUiDialog::OnSize(UINT nType, int cx, int cy)
{
    CAdUiBaseDialog::OnSize(nType, cx, cy);
    DialogHost* host = DialogHost::current();
    if (host == nullptr)
        return;
    // Each control starts from where it was when its entries were given; every entry adds its share.
    std::vector<std::pair<DWORD, RECT>> placed;
    for (const Layout& layout : m_layout) {
        auto it = std::find_if(placed.begin(), placed.end(),
            [&layout](const std::pair<DWORD, RECT>& entry) { return entry.first == layout.info.id; });
        if (it == placed.end())
            it = placed.insert(placed.end(), {layout.info.id, layout.start});
        RECT& rect = it->second;
        const int pct = static_cast<int>(layout.info.pct);
        const int dx = (cx - layout.client.cx) * pct / 100;
        const int dy = (cy - layout.client.cy) * pct / 100;
        const DWORD flags = layout.info.flags;
        const int moveX = (flags & MOVEX) != 0 ? dx : 0;
        const int moveY = (flags & MOVEY) != 0 ? dy : 0;
        rect.left += moveX;
        rect.top += moveY;
        rect.right += moveX + ((flags & ELASTICX) != 0 ? dx : 0);
        rect.bottom += moveY + ((flags & ELASTICY) != 0 ? dy : 0);
    }
    for (const auto& [id, rect] : placed) {
        const HWND control = host->dialogItem(m_hWnd, static_cast<int>(id));
        if (control == nullptr)
            continue;
        host->setWindowPos(control, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
            SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

CAcUiDialog::CAcUiDialog(UINT idd, CWnd* pParent, HINSTANCE hDialogResource) noexcept
    : CAdUiDialog(idd, pParent, hDialogResource)
{
}

CAcUiDialog::~CAcUiDialog() = default;
