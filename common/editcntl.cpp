#include "editcntl.h"

#include <string>

namespace {

// Window property that leads from the edit box back to its filter.
const wchar_t kFilterProp[] = L"QEV.EditFilter";

std::wstring WindowText(HWND hwnd) {
    int n = GetWindowTextLengthW(hwnd);
    if (n <= 0) return std::wstring();
    std::wstring text(n + 1, L'\0');
    n = GetWindowTextW(hwnd, &text[0], n + 1);
    text.resize(n > 0 ? n : 0);
    return text;
}

}  // namespace

CQEVEditCntl::~CQEVEditCntl() { UnsubclassWindow(); }

BOOL CQEVEditCntl::SubclassWindow(HWND edit) {
    if (!edit || m_hWnd || !IsWindow(edit)) return FALSE;
    if (!SetPropW(edit, kFilterProp, this)) return FALSE;
    m_prevProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CQEVEditCntl::SubclassProc)));
    if (!m_prevProc) {
        RemovePropW(edit, kFilterProp);
        return FALSE;
    }
    m_hWnd = edit;
    return TRUE;
}

HWND CQEVEditCntl::UnsubclassWindow() {
    HWND hwnd = m_hWnd;
    if (!hwnd) return nullptr;
    // Someone else may have subclassed the box on top of us; then only the
    // link back is cut and our procedure passes everything through.
    if (reinterpret_cast<WNDPROC>(GetWindowLongPtrW(hwnd, GWLP_WNDPROC)) == &CQEVEditCntl::SubclassProc)
        SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_prevProc));
    RemovePropW(hwnd, kFilterProp);
    m_hWnd = nullptr;
    m_prevProc = nullptr;
    return hwnd;
}

LRESULT CALLBACK CQEVEditCntl::SubclassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    auto* self = static_cast<CQEVEditCntl*>(GetPropW(hwnd, kFilterProp));
    if (!self) return DefWindowProcW(hwnd, msg, wp, lp);
    WNDPROC prev = self->m_prevProc;
    if (msg == WM_NCDESTROY) {
        LRESULT r = CallWindowProcW(prev, hwnd, msg, wp, lp);
        self->UnsubclassWindow();
        self->OnFinalMessage(hwnd);
        return r;
    }
    LRESULT result = 0;
    if (self->ProcessWindowMessage(hwnd, msg, wp, lp, result)) return result;
    return CallWindowProcW(prev, hwnd, msg, wp, lp);
}

BOOL CQEVEditCntl::ProcessWindowMessage(HWND, UINT msg, WPARAM wp, LPARAM, LRESULT& result) {
    if (msg != WM_CHAR) return FALSE;
    BOOL handled = FALSE;
    result = OnChar(wp, handled);
    return handled;
}

LRESULT CQEVEditCntl::OnChar(WPARAM ch, BOOL& handled) {
    const std::wstring text = WindowText(m_hWnd);
    handled = FALSE;
    if (m_nMode != 1) return 0;
    // The dialog is a Unicode window, so wParam is a whole UTF-16 unit; it is
    // compared whole, so no character above 0xFF passes as its low byte.
    bool accept;
    if (ch == 8 || (ch >= L'0' && ch <= L'9')) accept = true;
    else if (ch == L'-') accept = m_bAllowMinus && text.find(L'-') == std::wstring::npos;
    else if (ch == L'.') accept = m_bAllowDot && text.find(L'.') == std::wstring::npos;
    else accept = false;
    if (!accept) {
        MessageBeep(0);
        handled = TRUE;
    }
    return 0;
}

LRESULT CPageChangeHandler::OnControlChange(WORD, WORD) {
    if (!m_bDirty) {
        m_bDirty = true;
        if (m_pPageSite) m_pPageSite->OnStatusChange(PROPPAGESTATUS_DIRTY);
    }
    return 0;
}

void CPageChangeHandler::MarkClean() {
    if (!m_bDirty) return;
    m_bDirty = false;
    if (m_pPageSite) m_pPageSite->OnStatusChange(PROPPAGESTATUS_CLEAN);
}
