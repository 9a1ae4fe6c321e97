#include "common/gdi.h"

#include <cstdlib>

namespace gdi {

namespace {

// Whether the DIB selected into dc keeps its top row last. The header does
// not tell reliably (this platform reports a top-down section with a
// positive height), so GDI itself sets the top-left pixel and the stored
// rows show where it landed; the pixel is put back afterwards.
bool StoredBottomUp(HDC dc, BYTE* bits, int height, int stride) {
    if (height < 2) return false;
    DWORD* first = reinterpret_cast<DWORD*>(bits);
    DWORD* last = reinterpret_cast<DWORD*>(bits + (ptrdiff_t)(height - 1) * stride);
    GdiFlush();
    const DWORD keepFirst = *first, keepLast = *last;
    DWORD probe = 0x00123456;
    while (probe == (keepFirst & 0xFFFFFF) || probe == (keepLast & 0xFFFFFF)) probe += 0x010101;
    const int saved = SaveDC(dc);
    SelectClipRgn(dc, nullptr);
    SetViewportOrgEx(dc, 0, 0, nullptr);
    SetWindowOrgEx(dc, 0, 0, nullptr);
    SetPixelV(dc, 0, 0, RGB((probe >> 16) & 0xFF, (probe >> 8) & 0xFF, probe & 0xFF));
    GdiFlush();
    const bool bottomUp = (*last & 0xFFFFFF) == probe && (*first & 0xFFFFFF) != probe;
    *first = keepFirst;
    *last = keepLast;
    RestoreDC(dc, saved);
    return bottomUp;
}

}  // namespace

PixelTarget PixelTarget::ForDC(HDC dc) {
    PixelTarget plain(dc);
    if (!dc || GetObjectType(dc) != OBJ_MEMDC) return plain;
    if (GetMapMode(dc) != MM_TEXT || GetGraphicsMode(dc) != GM_COMPATIBLE || GetLayout(dc) != 0) return plain;
    HGDIOBJ bitmap = GetCurrentObject(dc, OBJ_BITMAP);
    DIBSECTION ds;
    if (!bitmap || GetObject(bitmap, sizeof ds, &ds) != (int)sizeof ds) return plain;
    if (ds.dsBm.bmBitsPixel != 32 || !ds.dsBm.bmBits) return plain;
    if (ds.dsBmih.biCompression == BI_BITFIELDS) {
        if (ds.dsBitfields[0] != 0xFF0000 || ds.dsBitfields[1] != 0xFF00 || ds.dsBitfields[2] != 0xFF) return plain;
    } else if (ds.dsBmih.biCompression != BI_RGB) {
        return plain;
    }
    // SetPixelV honours a clip region: the direct writes take it over.
    Region clip(CreateRectRgn(0, 0, 0, 0));
    if (!clip) return plain;
    const int clipped = GetClipRgn(dc, clip);
    if (clipped < 0) return plain;
    POINT viewport{}, window{};
    GetViewportOrgEx(dc, &viewport);
    GetWindowOrgEx(dc, &window);
    int width = ds.dsBm.bmWidth;
    int height = std::abs((int)ds.dsBm.bmHeight);
    int stride = ds.dsBm.bmWidthBytes;
    BYTE* top = static_cast<BYTE*>(ds.dsBm.bmBits);
    if (width <= 0 || height <= 0) return plain;
    if (StoredBottomUp(dc, top, height, stride)) {  // the top row is stored last
        top += (ptrdiff_t)(height - 1) * stride;
        stride = -stride;
    }
    PixelTarget direct = Dib(dc, top, width, height, stride, POINT{viewport.x - window.x, viewport.y - window.y});
    if (clipped == 1) direct.m_clip = std::make_shared<const RegionRows>(clip.get());
    return direct;
}

PixelTarget PixelTarget::ClippedTo(HRGN region) const {
    if (!region) return *this;
    PixelTarget t = *this;
    // Into the clip's coordinates: bitmap pixels for direct writes.
    Region moved(CreateRectRgn(0, 0, 0, 0));
    if (!moved || CombineRgn(moved, region, nullptr, RGN_COPY) == ERROR) return t;
    if (m_bits) OffsetRgn(moved, m_dx, m_dy);
    if (m_clip) {
        Region present(m_clip->CreateMoved(0, 0));
        CombineRgn(moved, moved, present, RGN_AND);
    }
    t.m_clip = std::make_shared<const RegionRows>(moved.get());
    return t;
}

RegionRows::RegionRows(HRGN region) {
    if (!region) return;
    const DWORD size = GetRegionData(region, 0, nullptr);
    if (size < sizeof(RGNDATAHEADER)) return;
    m_data.resize(size);
    auto* data = reinterpret_cast<RGNDATA*>(m_data.data());
    if (GetRegionData(region, size, data) != size) {
        m_data.clear();
        return;
    }
    m_rects = reinterpret_cast<const RECT*>(data->Buffer);
    m_count = data->rdh.nCount;
    if (m_count) m_box = data->rdh.rcBound;
}

bool RegionRows::Contains(int x, int y) const {
    if (!m_count || y < m_box.top || y >= m_box.bottom || x < m_box.left || x >= m_box.right) return false;
    // First rectangle of the band that holds y: bands are sorted top down and
    // every rectangle of a band spans the same rows.
    size_t lo = m_lastBand;
    if (!(m_rects[lo].top <= y && y < m_rects[lo].bottom && (lo == 0 || m_rects[lo - 1].bottom <= y))) {
        lo = 0;
        size_t hi = m_count;
        while (lo < hi) {
            const size_t mid = (lo + hi) / 2;
            if (m_rects[mid].bottom <= y) lo = mid + 1;
            else hi = mid;
        }
        m_lastBand = lo;
    }
    for (size_t i = lo; i < m_count && m_rects[i].top <= y; ++i) {
        if (x < m_rects[i].left) return false;
        if (x < m_rects[i].right) return true;
    }
    return false;
}

HRGN RegionRows::CreateMoved(int dx, int dy) const {
    HRGN r = m_data.empty() ? CreateRectRgn(0, 0, 0, 0)
                            : ExtCreateRegion(nullptr, (DWORD)m_data.size(), reinterpret_cast<const RGNDATA*>(m_data.data()));
    if (r && (dx || dy)) OffsetRgn(r, dx, dy);
    return r;
}

HBITMAP CreateTopDownDib(HDC dc, int width, int height, void** bits) {
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = -height;  // top-down
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    return CreateDIBSection(dc, &bi, DIB_RGB_COLORS, bits, nullptr, 0);
}

bool PixelTarget::Bounds(RECT* area) const {
    if (m_bits) {
        // Offsets this large could wrap Set's unsigned arithmetic round.
        const int kFar = 1 << 30;
        if (m_dx < -kFar || m_dx > kFar || m_dy < -kFar || m_dy > kFar) return false;
        *area = RECT{-m_dx, -m_dy, m_width - m_dx, m_height - m_dy};
        if (m_clip) {
            const RECT& b = m_clip->box();
            const RECT clip{b.left - m_dx, b.top - m_dy, b.right - m_dx, b.bottom - m_dy};
            if (!IntersectRect(area, area, &clip)) *area = RECT{0, 0, 0, 0};
        }
        return true;
    }
    if (!m_dc) return false;
    if (!PlainBounds(area)) return false;
    if (m_clip && !IntersectRect(area, area, &m_clip->box())) *area = RECT{0, 0, 0, 0};
    return true;
}

bool PixelTarget::PlainBounds(RECT* area) const {
    const DWORD type = GetObjectType(m_dc);
    if (type == OBJ_METADC || type == OBJ_ENHMETADC) {
        if (!m_limited) return false;
        *area = m_limit;
        return true;
    }
    if (GetMapMode(m_dc) != MM_TEXT || GetGraphicsMode(m_dc) != GM_COMPATIBLE || GetLayout(m_dc) != 0) return false;
    const int kind = GetClipBox(m_dc, area);
    if (kind == ERROR) {
        if (!m_limited) return false;
        *area = m_limit;
        return true;
    }
    if (kind == NULLREGION) *area = RECT{0, 0, 0, 0};
    if (m_limited && !IntersectRect(area, area, &m_limit)) *area = RECT{0, 0, 0, 0};
    return true;
}

MemoryDC::MemoryDC(HDC reference, const RECT& area) : m_area(area) {
    long long w = (long long)area.right - area.left;
    long long h = (long long)area.bottom - area.top;
    if (w <= 0 || h <= 0 || w > 0x7FFF || h > 0x7FFF) {
        m_area = RECT{area.left, area.top, area.left, area.top};
        return;
    }
    m_dc = CreateCompatibleDC(reference);
    if (!m_dc) return;
    m_bitmap = CreateTopDownDib(m_dc, (int)w, (int)h, &m_bits);
    if (!m_bitmap) return;
    m_oldBitmap = SelectObject(m_dc, m_bitmap);
    SetViewportOrgEx(m_dc, -area.left, -area.top, nullptr);
}

MemoryDC::~MemoryDC() {
    if (m_oldBitmap) SelectObject(m_dc, m_oldBitmap);
    if (m_bitmap) DeleteObject(m_bitmap);
    if (m_dc) DeleteDC(m_dc);
}

DWORD MemoryDC::Pixel(int x, int y) const {
    if (!ok()) return 0;
    long long px = (long long)x - m_area.left, py = (long long)y - m_area.top;
    if (px < 0 || py < 0 || px >= width() || py >= height()) return 0;
    GdiFlush();
    return static_cast<const DWORD*>(m_bits)[py * width() + px];
}

PixelTarget MemoryDC::Pixels() const {
    if (!ok()) return PixelTarget(m_dc);
    return PixelTarget::Dib(m_dc, m_bits, width(), height(), width() * 4, POINT{-m_area.left, -m_area.top});
}

BOOL MemoryDC::BlitTo(HDC target) const {
    if (!ok()) return FALSE;
    return BitBlt(target, m_area.left, m_area.top, width(), height(), m_dc, m_area.left, m_area.top, SRCCOPY);
}

}  // namespace gdi
