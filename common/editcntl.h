// The numeric edit field of the property pages and the change handler that
// marks a page dirty.
#pragma once
#include <windows.h>
#include <ocidl.h>

// Filters the characters typed into an edit box of a page dialog, so that a
// field for a signed or decimal number takes only digits, one minus sign and
// one decimal point. It subclasses an existing edit box and creates no window.
class CQEVEditCntl {
public:
    BYTE m_nMode = 1;            // 1: numeric filter; any other value filters nothing
    bool m_bAllowMinus = false;  // one '-' may be typed
    bool m_bAllowDot = false;    // one '.' may be typed

    CQEVEditCntl() = default;
    CQEVEditCntl(BYTE mode, bool allowMinus, bool allowDot)
        : m_nMode(mode), m_bAllowMinus(allowMinus), m_bAllowDot(allowDot) {}
    virtual ~CQEVEditCntl();
    CQEVEditCntl(const CQEVEditCntl&) = delete;
    CQEVEditCntl& operator=(const CQEVEditCntl&) = delete;

    // Takes over the edit box's messages until it is destroyed or
    // UnsubclassWindow is called. Fails for a null window or a second call.
    BOOL SubclassWindow(HWND edit);
    HWND UnsubclassWindow();
    HWND Window() const { return m_hWnd; }

    // WM_CHAR goes through OnChar; everything else goes on to the edit box.
    virtual BOOL ProcessWindowMessage(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);
    // Decides whether the edit box gets the character; a refused one beeps
    // and is swallowed (handled = TRUE).
    LRESULT OnChar(WPARAM ch, BOOL& handled);
    virtual void OnFinalMessage(HWND) {}

private:
    static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    HWND m_hWnd = nullptr;
    WNDPROC m_prevProc = nullptr;
};

// Dirty marking shared by every property page: the first change of a field
// marks the page dirty and tells the frame; later changes say nothing more.
class CPageChangeHandler {
public:
    // Command handler of the fields' change notifications; returns 0.
    LRESULT OnControlChange(WORD notification, WORD id);
    bool IsDirtyPage() const { return m_bDirty; }

protected:
    // Clears the flag and tells the frame, when the page was dirty.
    void MarkClean();

    IPropertyPageSite* m_pPageSite = nullptr;  // one counted reference, or none
    bool m_bDirty = false;
};
