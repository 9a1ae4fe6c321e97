// The window region of a control's own window.
#pragma once
#include <windows.h>

// Gives `window` a copy of `region` (client coordinates; only read), or no
// region when `region` is null, and only when that differs from what the
// window has: a region set with redraw repaints the whole window, and the
// window owns (and Wine deletes at once) the handle it is given, so the
// caller keeps its own region for hit tests.
void SetWindowRegionCopy(HWND window, HRGN region);
