// Small owners of GDI objects and DC state, so that no path through a paint
// leaks a pen, brush, region, bitmap or DC, and a DC handed to us is given
// back as it came. Plus the pixel target of the per-pixel shading routines.
#pragma once
#include <windows.h>

#include <memory>
#include <vector>

namespace gdi {

// Owns one GDI object (pen, brush, region, bitmap, font) and deletes it.
// Delete only what is not selected into a DC: declare the owner before the
// Select that uses it, so the selection is undone first.
template <class H>
class Object {
public:
    explicit Object(H handle = nullptr) : m_handle(handle) {}
    ~Object() { reset(); }
    Object(Object&& other) noexcept : m_handle(other.release()) {}
    Object& operator=(Object&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    Object(const Object&) = delete;
    Object& operator=(const Object&) = delete;

    H get() const { return m_handle; }
    operator H() const { return m_handle; }
    explicit operator bool() const { return m_handle != nullptr; }
    H release() {
        H h = m_handle;
        m_handle = nullptr;
        return h;
    }
    void reset(H handle = nullptr) {
        if (m_handle) DeleteObject(m_handle);
        m_handle = handle;
    }

private:
    H m_handle;
};

using Pen = Object<HPEN>;
using Brush = Object<HBRUSH>;
using Region = Object<HRGN>;
using Bitmap = Object<HBITMAP>;
using Font = Object<HFONT>;

inline Pen SolidPen(COLORREF colour, int width = 1) { return Pen(CreatePen(PS_SOLID, width, colour)); }
inline Brush SolidBrush(COLORREF colour) { return Brush(CreateSolidBrush(colour)); }
// An empty region, the usual destination of CombineRgn.
inline Region EmptyRegion() { return Region(CreateRectRgn(0, 0, 0, 0)); }

// Selects a pen, brush, font or bitmap into a DC and selects the previous one
// back when it ends (regions are not selected this way: SelectClipRgn).
class Select {
public:
    Select(HDC dc, HGDIOBJ object) : m_dc(dc), m_previous(dc && object ? SelectObject(dc, object) : nullptr) {}
    ~Select() {
        if (m_previous && m_previous != HGDI_ERROR) SelectObject(m_dc, m_previous);
    }
    Select(const Select&) = delete;
    Select& operator=(const Select&) = delete;

private:
    HDC m_dc;
    HGDIOBJ m_previous;
};

// Saves the whole DC state (objects, colours, modes, alignment, origins,
// clipping) and restores it. Needed on metafile DCs, where functions such as
// SetTextAlign do not return the previous value.
class SavedState {
public:
    explicit SavedState(HDC dc) : m_dc(dc), m_level(dc ? SaveDC(dc) : 0) {}
    ~SavedState() {
        if (m_level > 0) RestoreDC(m_dc, m_level);
    }
    SavedState(const SavedState&) = delete;
    SavedState& operator=(const SavedState&) = delete;

private:
    HDC m_dc;
    int m_level;
};

// GetDC of a window, released when it ends.
class WindowDC {
public:
    explicit WindowDC(HWND window) : m_window(window), m_dc(window ? GetDC(window) : nullptr) {}
    ~WindowDC() {
        if (m_dc) ReleaseDC(m_window, m_dc);
    }
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;
    HDC get() const { return m_dc; }
    operator HDC() const { return m_dc; }

private:
    HWND m_window;
    HDC m_dc;
};

// The rectangles of a region as GetRegionData gives them (in bands from top
// to bottom, left to right within a band), for testing many points without a
// system call each. Contains(x, y) answers as PtInRegion does.
class RegionRows {
public:
    explicit RegionRows(HRGN region);  // no rectangles for a null or unreadable region
    bool Contains(int x, int y) const;
    size_t count() const { return m_count; }
    const RECT* rects() const { return m_rects; }
    const RECT& box() const { return m_box; }  // empty without rectangles
    // A new region of the same rectangles moved by (dx, dy).
    HRGN CreateMoved(int dx, int dy) const;

private:
    std::vector<BYTE> m_data;  // RGNDATA
    mutable size_t m_lastBand = 0;  // where the last search ended: points come row by row
    const RECT* m_rects = nullptr;
    size_t m_count = 0;
    RECT m_box{0, 0, 0, 0};
};

// Where the per-pixel shading routines put their pixels: SetPixelV on a DC
// (the only way into a metafile), or direct writes into the bits of a 32-bit
// DIB section. Both give the same pixels. Logical point (x, y) lands on bitmap
// pixel (x + offset.x, y + offset.y); points outside the bitmap are dropped,
// as SetPixelV drops them, and so are points outside the target's clip region
// (ClippedTo, or the DC's own clip region that ForDC takes over). The DC is
// kept in both cases for the routines that also draw with regions.
class PixelTarget {
public:
    // SetPixelV on `dc`.
    PixelTarget(HDC dc) : m_dc(dc) {}  // NOLINT: implicit on purpose, a DC is a target

    // Direct writes. `top` is the first byte of the top row, `stride` the
    // byte distance from one row to the next below it (negative for
    // bottom-up DIBs). `dc` is the DC the DIB is selected into.
    static PixelTarget Dib(HDC dc, void* top, int width, int height, int stride, POINT offset) {
        PixelTarget t(dc);
        t.m_bits = static_cast<BYTE*>(top);
        t.m_width = width > 0 ? width : 0;
        t.m_height = height > 0 ? height : 0;
        t.m_stride = stride;
        t.m_dx = offset.x;
        t.m_dy = offset.y;
        return t;
    }

    // Direct writes when `dc` is a memory DC holding a 32-bit DIB section in
    // plain MM_TEXT mapping without mirroring or world transform (the origin
    // offset and the clip region are read from the DC); SetPixelV otherwise,
    // and always for metafiles.
    static PixelTarget ForDC(HDC dc);

    // The same target that also drops points outside `region` (logical
    // coordinates; within any clip it already has). A null region changes
    // nothing.
    PixelTarget ClippedTo(HRGN region) const;

    // SetPixelV on `dc` (a metafile too), only inside `area`: the picture a
    // caller asked for, so nothing off it is recorded.
    static PixelTarget Within(HDC dc, const RECT& area) {
        PixelTarget t(dc);
        t.m_limited = true;
        t.m_limit = area;
        return t;
    }

    HDC dc() const { return m_dc; }
    bool direct() const { return m_bits != nullptr; }

    // The logical rectangle outside which Set changes nothing: the bitmap
    // for direct writes; for SetPixelV the DC's clip box, where logical
    // points are device pixels (MM_TEXT, no world transform, no mirroring).
    // False where there is no such rectangle: a metafile records every pixel.
    bool Bounds(RECT* area) const;

    void Set(int x, int y, COLORREF c) const {
        if (m_bits) {
            // Unsigned arithmetic: no overflow, negative results fail the bound.
            unsigned px = (unsigned)x + (unsigned)m_dx;
            unsigned py = (unsigned)y + (unsigned)m_dy;
            if (px < (unsigned)m_width && py < (unsigned)m_height && (!m_clip || m_clip->Contains((int)px, (int)py)))
                *reinterpret_cast<DWORD*>(m_bits + (ptrdiff_t)(int)py * m_stride + (ptrdiff_t)px * 4) = ToDibPixel(c);
        } else if ((!m_limited || (x >= m_limit.left && x < m_limit.right && y >= m_limit.top && y < m_limit.bottom)) &&
                   (!m_clip || m_clip->Contains(x, y))) {
            SetPixelV(m_dc, x, y, c);
        }
    }

    // Direct writes only land after GDI has finished what it was asked before.
    void Flush() const {
        if (m_bits) GdiFlush();
    }

    // 0x00BBGGRR to the DIB's 0x00RRGGBB.
    static DWORD ToDibPixel(COLORREF c) {
        return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
    }

private:
    bool PlainBounds(RECT* area) const;

    HDC m_dc = nullptr;
    BYTE* m_bits = nullptr;
    int m_width = 0;
    int m_height = 0;
    int m_stride = 0;
    int m_dx = 0;
    int m_dy = 0;
    bool m_limited = false;
    RECT m_limit{0, 0, 0, 0};
    // Direct writes: in bitmap pixels (device coordinates); SetPixelV: logical.
    std::shared_ptr<const RegionRows> m_clip;
};

// A new top-down 32-bit DIB section of width x height for dc, and the first
// byte of its top row in *bits; null when it could not be made.
HBITMAP CreateTopDownDib(HDC dc, int width, int height, void** bits);

// A memory DC over a new top-down 32-bit DIB section that covers `area`.
// Drawing uses area's own coordinates: the viewport origin is moved so that
// (area.left, area.top) is the bitmap's first pixel. Everything is released
// when it ends. ok() is false when the DC or the bitmap could not be made
// (an empty area among others).
class MemoryDC {
public:
    MemoryDC(HDC reference, const RECT& area);
    ~MemoryDC();
    MemoryDC(const MemoryDC&) = delete;
    MemoryDC& operator=(const MemoryDC&) = delete;

    bool ok() const { return m_dc && m_bitmap; }
    HDC dc() const { return m_dc; }
    operator HDC() const { return m_dc; }
    HBITMAP bitmap() const { return m_bitmap; }
    void* bits() const { return m_bits; }  // first byte of the top row
    const RECT& area() const { return m_area; }
    int width() const { return m_area.right - m_area.left; }
    int height() const { return m_area.bottom - m_area.top; }
    // Pixel (x, y) in area coordinates, as 0x00RRGGBB; 0 outside.
    DWORD Pixel(int x, int y) const;
    // Direct-write target with the area's offset.
    PixelTarget Pixels() const;
    // Copies the area to the same coordinates of `target`.
    BOOL BlitTo(HDC target) const;

private:
    RECT m_area;
    HDC m_dc = nullptr;
    HBITMAP m_bitmap = nullptr;
    HGDIOBJ m_oldBitmap = nullptr;
    void* m_bits = nullptr;
};

}  // namespace gdi
