#include "paint.h"
#include <algorithm>
#include <memory>
#include <new>

// ---------------------------------------------------------------- paint buffer

namespace {
// Bitmaps larger than this are not kept.
const long long kKeptPixels = 1024 * 1024;
}  // namespace

struct PaintBuffer::Store {
    DWORD thread = 0;
    bool busy = false;
    std::unique_ptr<gdi::MemoryDC> memory;  // at (0, 0)

    // A bitmap of at least w x h.
    bool Fit(int w, int h) {
        const int width = memory ? memory->width() : 0, height = memory ? memory->height() : 0;
        if (memory && w <= width && h <= height) return true;
        int nw = std::max(w, width), nh = std::max(h, height);
        if (static_cast<long long>(nw) * nh > kKeptPixels) {
            nw = w;  // a tall one after a wide one: start over at this size
            nh = h;
        }
        memory.reset();
        memory.reset(new (std::nothrow) gdi::MemoryDC(nullptr, RECT{0, 0, nw, nh}));
        if (memory && memory->ok()) return true;
        memory.reset();
        return false;
    }
};


PaintBuffer::PaintBuffer(HDC reference, const RECT& area) : m_area(area) {
    const long long w = static_cast<long long>(area.right) - area.left;
    const long long h = static_cast<long long>(area.bottom) - area.top;
    if (w <= 0 || h <= 0 || w > 0x7FFF || h > 0x7FFF) return;
    static Store store;  // freed when the library unloads
    if (!store.thread) store.thread = GetCurrentThreadId();
    if (store.thread == GetCurrentThreadId() && !store.busy && w * h <= kKeptPixels &&
        store.Fit(static_cast<int>(w), static_cast<int>(h))) {
        m_store = &store;
        store.busy = true;
        m_dc = store.memory->dc();
        m_bits = store.memory->bits();
        m_width = store.memory->width();
    } else {
        m_own = new gdi::MemoryDC(reference, area);
        if (!m_own->ok()) return;
        m_dc = m_own->dc();
        m_width = static_cast<int>(w);
    }
    m_saved = SaveDC(m_dc);
    SetViewportOrgEx(m_dc, -area.left, -area.top, nullptr);
}

PaintBuffer::~PaintBuffer() {
    if (m_dc && m_saved > 0) RestoreDC(m_dc, m_saved);
    if (m_store) m_store->busy = false;
    delete m_own;
}

gdi::PixelTarget PaintBuffer::Pixels() const {
    if (m_own) return m_own->Pixels();
    if (!m_dc) return gdi::PixelTarget(nullptr);
    // Only the area's corner of the kept bitmap: nothing else is copied, and
    // the shading routines skip what cannot land.
    return gdi::PixelTarget::Dib(m_dc, m_bits, m_area.right - m_area.left, m_area.bottom - m_area.top, m_width * 4,
                                 POINT{-m_area.left, -m_area.top});
}

BOOL PaintBuffer::BlitTo(HDC target) const {
    if (!m_dc) return FALSE;
    GdiFlush();
    return BitBlt(target, m_area.left, m_area.top, m_area.right - m_area.left, m_area.bottom - m_area.top, m_dc,
                  m_area.left, m_area.top, SRCCOPY);
}

// ---------------------------------------------------------------- paint font

namespace {

// A copy of the font no taller (and no wider) than kMaxPaintFontPixels, or
// null when the font is within bounds. `scale` gives the share of the size
// that remains.
HFONT CappedCopy(HFONT h, double& scale) {
    LOGFONTW lf{};
    if (GetObjectW(h, sizeof lf, &lf) != sizeof lf) return nullptr;
    const LONG height = lf.lfHeight < 0 ? -lf.lfHeight : lf.lfHeight;
    const LONG width = lf.lfWidth < 0 ? -lf.lfWidth : lf.lfWidth;
    if (height <= kMaxPaintFontPixels && width <= kMaxPaintFontPixels) return nullptr;
    scale = 1.0;
    if (height > kMaxPaintFontPixels) {
        scale = static_cast<double>(kMaxPaintFontPixels) / height;
        lf.lfHeight = lf.lfHeight < 0 ? -kMaxPaintFontPixels : kMaxPaintFontPixels;
    }
    if (width > kMaxPaintFontPixels) lf.lfWidth = lf.lfWidth < 0 ? -kMaxPaintFontPixels : kMaxPaintFontPixels;
    else lf.lfWidth = static_cast<LONG>(lf.lfWidth * scale);
    return CreateFontIndirectW(&lf);
}

}  // namespace

PaintFont::PaintFont(HDC dc, IFontDisp* font) {
    if (!font || FAILED(font->QueryInterface(IID_IFont, reinterpret_cast<void**>(&m_font)))) return;
    CY size{};
    if (SUCCEEDED(m_font->get_Size(&size))) m_points = static_cast<int>(size.int64 / 10000);
    HFONT h = nullptr;
    if (FAILED(m_font->get_hFont(&h)) || !h) return;
    double scale = 1.0;
    m_capped = CappedCopy(h, scale);
    if (m_capped) {
        h = m_capped;
        m_points = static_cast<int>(m_points * scale);
    }
    m_previous = SelectObject(dc, h);
    m_dc = dc;
}

PaintFont::~PaintFont() {
    if (m_previous && m_previous != HGDI_ERROR) SelectObject(m_dc, m_previous);
    if (m_capped) DeleteObject(m_capped);
    if (m_font) m_font->Release();
}
