#include "common/gdi.h"

#include <cstdlib>

namespace gdi {

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
    {
        // SetPixelV honours a clip region; direct writes would not.
        Region clip(CreateRectRgn(0, 0, 0, 0));
        if (!clip || GetClipRgn(dc, clip) != 0) return plain;
    }
    POINT viewport{}, window{};
    GetViewportOrgEx(dc, &viewport);
    GetWindowOrgEx(dc, &window);
    int width = ds.dsBm.bmWidth;
    int height = std::abs((int)ds.dsBmih.biHeight);
    int stride = ds.dsBm.bmWidthBytes;
    BYTE* top = static_cast<BYTE*>(ds.dsBm.bmBits);
    if (ds.dsBmih.biHeight > 0 && height > 0) {  // bottom-up: the top row is stored last
        top += (ptrdiff_t)(height - 1) * stride;
        stride = -stride;
    }
    return Dib(dc, top, width, height, stride, POINT{viewport.x - window.x, viewport.y - window.y});
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
        return true;
    }
    if (!m_dc) return false;
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
