#include "knob.h"

// Paints the knob: into its own window (hdc null) or into the target it is
// handed.
void CQEV_Knob::Render(HDC hdc, const RECT* bounds, bool metafile) {
    (void)metafile;
    HDC own = nullptr;
    RECT rc;
    if (!hdc) {
        if (!m_hwnd) return;
        own = hdc = GetDC(m_hwnd);
        GetClientRect(m_hwnd, &rc);
    } else if (bounds) {
        rc = *bounds;
    } else {
        return;
    }
    OLE_COLOR back = m_BkColor;
    if (m_BackStyle != 1) {
        OLE_COLOR amb;
        back = SUCCEEDED(GetAmbientBackColor(amb)) ? amb : GetSysColor(COLOR_WINDOW);
    }
    COLORREF rgb;
    if (FAILED(OleTranslateColor(back, nullptr, &rgb))) rgb = back & 0xFFFFFF;
    HBRUSH br = CreateSolidBrush(rgb);
    FillRect(hdc, &rc, br);
    DeleteObject(br);
    if (own) ReleaseDC(m_hwnd, own);
}

void CQEV_Knob::ApplyWindowRegion() {}
