// Mouse, keys and focus of the smart button: hover with capture, press,
// release with Click, and the events the container hears.
#include "button.h"

namespace {

const fw::ControlBase::CommonEventIds kButtonEvents = {SBE_Click,     SBE_DblClick, SBE_MouseDown, SBE_MouseUp,
                                                       SBE_MouseMove, SBE_KeyDown,  SBE_KeyUp};

}  // namespace

bool CQEV_SmartButton::ProcessWindowMessage(HWND, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    if (HandleCommonInput(msg, wp, lp, kButtonEvents, result)) return true;
    const int x = (short)LOWORD(lp), y = (short)HIWORD(lp);
    result = 0;
    switch (msg) {
    case WM_CREATE:
        ApplyWindowRegion();
        return true;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        // Losing the focus keeps the pressed and hover flags.
        m_focus = msg == WM_SETFOCUS ? 1 : 0;
        FireViewChange();
        return true;
    case WM_ERASEBKGND:
        result = 1;  // the paint covers every pixel
        return true;
    case WM_MOUSEMOVE:
        OnMouseMove(x, y);
        return true;
    case WM_LBUTTONDOWN:
        OnButtonDown(x, y);
        return true;
    case WM_LBUTTONUP:
        OnButtonUp(x, y);
        return true;
    case WM_CAPTURECHANGED:
        // Capture taken away by another window (a dialog, the container):
        // no hover look may stay behind.
        if (reinterpret_cast<HWND>(lp) != m_hwnd) ClearHover();
        return true;
    default:
        return false;
    }
}

void CQEV_SmartButton::Repaint() { RedrawNow(); }

void CQEV_SmartButton::ClearHover() {
    if (!m_pressed && !m_hover) return;
    m_pressed = 0;
    m_hover = 0;
    Repaint();
}

// A sink may disable the button inside any event: the handler ends there.
void CQEV_SmartButton::OnButtonDown(int x, int y) {
    if (!Enabled()) return;
    Fire(SBE_MouseDown, (LONG)x, (LONG)y);
    if (!Enabled() || !m_region) return;
    if (m_hwnd) SetFocus(m_hwnd);
    Repaint();
    if (!PtInRegion(m_region, x, y)) return;
    if (m_hwnd) SetCapture(m_hwnd);
    m_hover = 1;
    m_pressed = 1;
    Repaint();
}

void CQEV_SmartButton::OnButtonUp(int x, int y) {
    if (!Enabled()) return;
    Fire(SBE_MouseUp, (LONG)x, (LONG)y);
    if (!Enabled()) return;
    if (m_pressed) {
        Fire(SBE_Click);
        if (!Enabled()) return;
    }
    // The capture stays: it belongs to the hover state.
    m_pressed = 0;
    Repaint();
}

void CQEV_SmartButton::OnMouseMove(int x, int y) {
    if (!Enabled()) return;
    Fire(SBE_MouseMove, (LONG)x, (LONG)y);
    if (!Enabled() || !m_region) return;
    if (!PtInRegion(m_region, x, y)) {
        const bool changed = m_pressed || m_hover;
        m_pressed = 0;
        m_hover = 0;
        if (m_hwnd && GetCapture() == m_hwnd) ReleaseCapture();
        // Moves outside the shape that change nothing draw nothing.
        if (changed) Repaint();
        return;
    }
    if (m_hover) return;
    if (m_hwnd) SetCapture(m_hwnd);
    m_hover = 1;
    Repaint();
}
