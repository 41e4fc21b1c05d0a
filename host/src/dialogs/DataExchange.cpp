// Dialog data exchange: values between members and controls, with MFC's parsing, range checks and messages.
#include <cfloat>
#include <climits>
#include <cwchar>
#include <stdexcept>
#include <vector>

#include "dialogs/DialogHost.h"
#include "dialogs/WindowHooks.h"
#include "text/ClassicLocale.h"
#include "text/Utf8.h"
#include "text/WideFormat.h"

using arxhost::DialogHost;

namespace {

// The framework's prompts (the host speaks English).
const wchar_t* const kParseInt = L"Please enter an integer.";
const wchar_t* const kParseUInt = L"Please enter a positive integer.";
const wchar_t* const kParseReal = L"Please enter a number.";
const wchar_t* const kIntRange = L"Please enter an integer between %s and %s.";
const wchar_t* const kRealRange = L"Please enter a number between %s and %s.";
const wchar_t* const kMaxChars = L"Please enter no more than %s characters.";

std::wstring windowText(HWND control)
{
    const int length = GetWindowTextLengthW(control);
    std::vector<wchar_t> buffer(static_cast<std::size_t>(length) + 1, 0);
    const int copied = GetWindowTextW(control, buffer.data(), length + 1);
    return std::wstring(buffer.data(), static_cast<std::size_t>(copied));
}

// Sets the text only when it differs, so that an unchanged control sends no change notification.
void setWindowTextIfChanged(HWND control, const std::wstring& text)
{
    if (windowText(control) != text)
        SetWindowTextW(control, text.c_str());
}

bool isBlank(wchar_t c)
{
    return c == L' ' || c == L'\t';
}

// MFC's integer parse: blanks around, an optional sign, decimal digits, nothing else; a value the
// conversion leaves at 0 is refused unless the text starts with '0'.
bool parseInteger(
    const std::wstring& text, bool allowNegative, long long low, long long high, long long& value)
{
    const wchar_t* p = text.c_str();
    while (isBlank(*p))
        ++p;
    const wchar_t first = *p;
    if (!allowNegative && first == L'-')
        return false;
    wchar_t* end = nullptr;
    errno = 0;
    long long parsed = std::wcstoll(p, &end, 10);
    if (parsed == 0 && first != L'0')
        return false;
    while (isBlank(*end))
        ++end;
    if (*end != 0)
        return false;
    // Beyond the 32-bit range the conversion saturates, as Windows' long does.
    value = std::max(low, std::min(high, parsed));
    return true;
}

// MFC's number parse: as the integer one, with the C runtime's floating-point grammar.
bool parseReal(const std::wstring& text, double& value)
{
    const wchar_t* p = text.c_str();
    while (isBlank(*p))
        ++p;
    const wchar_t first = *p;
    wchar_t* end = nullptr;
    const double parsed = wcstod_l(p, &end, arxhost::classicLocale());
    if (parsed == 0.0 && first != L'0')
        return false;
    while (isBlank(*end))
        ++end;
    if (*end != 0)
        return false;
    value = parsed;
    return true;
}

std::wstring formatReal(double value, int digits)
{
    return arxhost::formatWide(L"%.*g", digits, value);
}

[[noreturn]] void failWith(CDataExchange* pDX, const std::wstring& prompt)
{
    AfxMessageBox(prompt.c_str(), MB_ICONEXCLAMATION);
    pDX->Fail();
}

[[noreturn]] void failRange(
    CDataExchange* pDX, const wchar_t* format, const std::wstring& low, const std::wstring& high)
{
    failWith(pDX, arxhost::formatWide(format, low.c_str(), high.c_str()));
}

template <class T>
void exchangeInteger(CDataExchange* pDX, int nIDC, T& value, const wchar_t* format, const wchar_t* prompt)
{
    HWND control = pDX->PrepareEditCtrl(nIDC);
    if (!pDX->m_bSaveAndValidate) {
        setWindowTextIfChanged(control, arxhost::formatWide(format, value));
        return;
    }
    const bool isSigned = std::is_signed_v<T>;
    long long parsed = 0;
    if (!parseInteger(
            windowText(control), isSigned, isSigned ? INT_MIN : 0, isSigned ? INT_MAX : UINT_MAX, parsed))
        failWith(pDX, prompt);
    value = static_cast<T>(parsed);
}

} // namespace

CDataExchange::CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate) noexcept
    : m_bSaveAndValidate(bSaveAndValidate)
    , m_pDlgWnd(pDlgWnd)
    , m_idLastControl(0)
    , m_bEditLastControl(FALSE)
{
}

HWND CDataExchange::PrepareCtrl(int nIDC)
{
    HWND control = m_pDlgWnd != nullptr ? GetDlgItem(m_pDlgWnd->m_hWnd, nIDC) : nullptr;
    if (control == nullptr) {
        DialogHost* host = DialogHost::current();
        const arxhost::Window* dialog
            = host != nullptr && m_pDlgWnd != nullptr ? host->find(m_pDlgWnd->m_hWnd) : nullptr;
        throw std::logic_error("dialog data exchange with control " + std::to_string(nIDC)
            + (dialog != nullptr ? ", which dialog " + std::to_string(dialog->id) + " does not have"
                                 : " of a dialog that does not exist"));
    }
    m_idLastControl = static_cast<UINT>(nIDC);
    m_bEditLastControl = FALSE;
    return control;
}

HWND CDataExchange::PrepareEditCtrl(int nIDC)
{
    HWND control = PrepareCtrl(nIDC);
    m_bEditLastControl = TRUE;
    return control;
}

void CDataExchange::Fail()
{
    // The user is put back on the control that failed, with its text selected.
    if (m_bSaveAndValidate && m_idLastControl != 0 && m_pDlgWnd != nullptr) {
        if (HWND control = GetDlgItem(m_pDlgWnd->m_hWnd, static_cast<int>(m_idLastControl))) {
            SetFocus(control);
            if (m_bEditLastControl)
                SendMessageW(control, EM_SETSEL, 0, -1);
        }
    }
    throw arxhost::DataExchangeFailure {};
}

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl)
{
    if (rControl.m_hWnd != nullptr)
        return;
    HWND control = pDX->PrepareCtrl(nIDC);
    if (!rControl.SubclassWindow(control))
        throw std::logic_error(
            "DDX_Control: control " + std::to_string(nIDC) + " has another object attached");
}

void DDX_Text(CDataExchange* pDX, int nIDC, CString& value)
{
    HWND control = pDX->PrepareEditCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
        value = windowText(control).c_str();
    else
        setWindowTextIfChanged(control, value.GetString());
}

void DDX_Text(CDataExchange* pDX, int nIDC, int& value)
{
    exchangeInteger(pDX, nIDC, value, L"%d", kParseInt);
}

void DDX_Text(CDataExchange* pDX, int nIDC, UINT& value)
{
    exchangeInteger(pDX, nIDC, value, L"%u", kParseUInt);
}

void DDX_Text(CDataExchange* pDX, int nIDC, long& value)
{
    HWND control = pDX->PrepareEditCtrl(nIDC);
    if (!pDX->m_bSaveAndValidate) {
        setWindowTextIfChanged(control, std::to_wstring(value));
        return;
    }
    long long parsed = 0;
    if (!parseInteger(windowText(control), true, INT_MIN, INT_MAX, parsed))
        failWith(pDX, kParseInt);
    value = static_cast<long>(parsed);
}

void DDX_Text(CDataExchange* pDX, int nIDC, double& value)
{
    HWND control = pDX->PrepareEditCtrl(nIDC);
    if (!pDX->m_bSaveAndValidate) {
        setWindowTextIfChanged(control, formatReal(value, DBL_DIG));
        return;
    }
    double parsed = 0;
    if (!parseReal(windowText(control), parsed))
        failWith(pDX, kParseReal);
    value = parsed;
}

void DDX_Text(CDataExchange* pDX, int nIDC, float& value)
{
    HWND control = pDX->PrepareEditCtrl(nIDC);
    if (!pDX->m_bSaveAndValidate) {
        setWindowTextIfChanged(control, formatReal(value, FLT_DIG));
        return;
    }
    double parsed = 0;
    if (!parseReal(windowText(control), parsed))
        failWith(pDX, kParseReal);
    value = static_cast<float>(parsed);
}

void DDX_CBIndex(CDataExchange* pDX, int nIDC, int& index)
{
    HWND control = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
        index = static_cast<int>(SendMessageW(control, CB_GETCURSEL, 0, 0));
    else
        SendMessageW(control, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void DDX_CBString(CDataExchange* pDX, int nIDC, CString& value)
{
    HWND control = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        value = windowText(control).c_str();
        return;
    }
    // The first item that starts with the text, else the text itself (ignored by a drop-down list).
    if (SendMessageW(
            control, CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(value.GetString()))
        == CB_ERR)
        setWindowTextIfChanged(control, value.GetString());
}

void DDX_CBStringExact(CDataExchange* pDX, int nIDC, CString& value)
{
    HWND control = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        value = windowText(control).c_str();
        return;
    }
    const LRESULT index = SendMessageW(
        control, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(value.GetString()));
    if (index != CB_ERR)
        SendMessageW(control, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    else
        setWindowTextIfChanged(control, value.GetString());
}

void DDX_Check(CDataExchange* pDX, int nIDC, int& value)
{
    HWND control = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
        value = static_cast<int>(SendMessageW(control, BM_GETCHECK, 0, 0));
    else if (value >= 0 && value <= 2)
        SendMessageW(control, BM_SETCHECK, static_cast<WPARAM>(value), 0);
}

void DDX_Radio(CDataExchange* pDX, int nIDC, int& value)
{
    HWND control = pDX->PrepareCtrl(nIDC);
    DialogHost* host = DialogHost::current();
    const arxhost::Window* first = host->find(control);
    const arxhost::Window* dialog = host->find(first->parent);
    if (pDX->m_bSaveAndValidate)
        value = -1;
    // The group runs from the first button to the next control that starts a group.
    const std::vector<HWND> siblings = dialog->children;
    auto at = std::find(siblings.begin(), siblings.end(), control);
    int button = 0;
    for (auto it = at; it != siblings.end(); ++it) {
        const arxhost::Window* item = host->find(*it);
        if (it != at && (item->style & WS_GROUP) != 0)
            break;
        if (item->kind != arxhost::ControlKind::RadioButton)
            continue;
        if (pDX->m_bSaveAndValidate) {
            if (SendMessageW(*it, BM_GETCHECK, 0, 0) != 0)
                value = button;
        } else {
            SendMessageW(*it, BM_SETCHECK, button == value ? BST_CHECKED : BST_UNCHECKED, 0);
        }
        ++button;
    }
}

void DDV_MinMaxInt(CDataExchange* pDX, int value, int minVal, int maxVal)
{
    if (!pDX->m_bSaveAndValidate || (value >= minVal && value <= maxVal))
        return;
    failRange(pDX, kIntRange, std::to_wstring(minVal), std::to_wstring(maxVal));
}

void DDV_MinMaxUInt(CDataExchange* pDX, UINT value, UINT minVal, UINT maxVal)
{
    if (!pDX->m_bSaveAndValidate || (value >= minVal && value <= maxVal))
        return;
    failRange(pDX, kIntRange, std::to_wstring(minVal), std::to_wstring(maxVal));
}

void DDV_MinMaxLong(CDataExchange* pDX, long value, long minVal, long maxVal)
{
    if (!pDX->m_bSaveAndValidate || (value >= minVal && value <= maxVal))
        return;
    failRange(pDX, kIntRange, std::to_wstring(minVal), std::to_wstring(maxVal));
}

void DDV_MinMaxDouble(CDataExchange* pDX, double const& value, double minVal, double maxVal)
{
    if (!pDX->m_bSaveAndValidate || (value >= minVal && value <= maxVal))
        return;
    failRange(pDX, kRealRange, formatReal(minVal, DBL_DIG), formatReal(maxVal, DBL_DIG));
}

void DDV_MinMaxFloat(CDataExchange* pDX, float const& value, float minVal, float maxVal)
{
    if (!pDX->m_bSaveAndValidate || (value >= minVal && value <= maxVal))
        return;
    failRange(pDX, kRealRange, formatReal(minVal, FLT_DIG), formatReal(maxVal, FLT_DIG));
}

void DDV_MaxChars(CDataExchange* pDX, CString const& value, int nChars)
{
    if (pDX->m_bSaveAndValidate && value.GetLength() > nChars)
        failRange(pDX, kMaxChars, std::to_wstring(nChars), L"");
    if (!pDX->m_bSaveAndValidate && pDX->m_idLastControl != 0 && pDX->m_bEditLastControl)
        SendMessageW(GetDlgItem(pDX->m_pDlgWnd->m_hWnd, static_cast<int>(pDX->m_idLastControl)), EM_LIMITTEXT,
            static_cast<WPARAM>(nChars), 0);
}
