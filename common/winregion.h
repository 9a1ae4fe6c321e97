// The window region of a control's own window.
#pragma once
#include <windows.h>

// The region a control gives its own window on every paint a container asks
// for. Apply gives `window` a copy of `region` (client coordinates; only
// read), or no region when `region` is null, and only when that differs from
// what the window has: a region set with redraw repaints the whole window,
// and the window owns (and Wine deletes at once) the handle it is given, so
// the caller keeps its own region for hit tests. It remembers the shape it
// last handed over, so that handing over the same shape again costs no call
// into the window system (asking a window for its region costs as much as
// painting a small control). What the window has is asked again after
// Forget, which the control calls whenever the window's region may have
// changed behind its back: a new window, and every change of the window's
// position, size or frame (a region set by anyone else arrives as one).
class WindowShape {
public:
    WindowShape() = default;
    ~WindowShape();
    WindowShape(const WindowShape&) = delete;
    WindowShape& operator=(const WindowShape&) = delete;

    // inPaint: called from the window's own paint, which draws the new shape.
    void Apply(HWND window, HRGN region, bool inPaint = false);
    // Ignored while Apply is setting the region itself.
    void Forget();

private:
    HWND m_window = nullptr;  // the window whose region is known; null: none is
    HRGN m_shape = nullptr;   // a copy of what it was given; null: no region
    bool m_applying = false;
};
