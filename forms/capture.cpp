#include "forms/capture.h"

#include "common/gdi.h"

#include <cstdio>
#include <utility>

namespace forms {

// ---------------------------------------------------------------- DibCanvas

DibCanvas::DibCanvas(int width, int height, COLORREF fill) : m_w(width), m_h(height) {
    void* bits = nullptr;
    m_dc = CreateCompatibleDC(nullptr);
    m_bmp = m_dc ? gdi::CreateTopDownDib(m_dc, width, height, &bits) : nullptr;
    if (!m_dc || !m_bmp) {
        Free();
        return;
    }
    m_bits = static_cast<uint32_t*>(bits);
    m_oldBmp = SelectObject(m_dc, m_bmp);
    Fill(fill);
}

DibCanvas::~DibCanvas() { Free(); }

DibCanvas::DibCanvas(DibCanvas&& o) noexcept
    : m_w(o.m_w), m_h(o.m_h), m_dc(o.m_dc), m_bmp(o.m_bmp), m_oldBmp(o.m_oldBmp), m_bits(o.m_bits) {
    o.m_dc = nullptr;
    o.m_bmp = nullptr;
    o.m_oldBmp = nullptr;
    o.m_bits = nullptr;
    o.m_w = o.m_h = 0;
}

DibCanvas& DibCanvas::operator=(DibCanvas&& o) noexcept {
    if (this != &o) {
        Free();
        std::swap(m_w, o.m_w);
        std::swap(m_h, o.m_h);
        std::swap(m_dc, o.m_dc);
        std::swap(m_bmp, o.m_bmp);
        std::swap(m_oldBmp, o.m_oldBmp);
        std::swap(m_bits, o.m_bits);
    }
    return *this;
}

void DibCanvas::Free() {
    if (m_dc && m_oldBmp) SelectObject(m_dc, m_oldBmp);
    if (m_bmp) DeleteObject(m_bmp);
    if (m_dc) DeleteDC(m_dc);
    m_dc = nullptr;
    m_bmp = nullptr;
    m_oldBmp = nullptr;
    m_bits = nullptr;
}

namespace {
inline COLORREF FromDib(uint32_t p) { return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF); }
inline uint32_t ToDib(COLORREF c) { return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c); }
}  // namespace

COLORREF DibCanvas::Pixel(int x, int y) const {
    if (!m_bits || x < 0 || y < 0 || x >= m_w || y >= m_h) return CLR_INVALID;
    GdiFlush();
    return FromDib(m_bits[static_cast<size_t>(y) * m_w + x]);
}

void DibCanvas::Fill(COLORREF c) {
    if (!m_bits) return;
    GdiFlush();
    const uint32_t v = ToDib(c);
    for (size_t i = 0, n = static_cast<size_t>(m_w) * m_h; i < n; ++i) m_bits[i] = v;
}

int DibCanvas::Count(COLORREF c, const RECT* area) const {
    if (!m_bits) return 0;
    GdiFlush();
    RECT r{0, 0, m_w, m_h};
    if (area) {
        RECT all = r;
        IntersectRect(&r, area, &all);
    }
    const uint32_t v = ToDib(c);
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x)
            if ((m_bits[static_cast<size_t>(y) * m_w + x] & 0xFFFFFF) == v) ++n;
    return n;
}

bool DibCanvas::SaveBmp(const wchar_t* path) const {
    if (!m_bits) return false;
    GdiFlush();
    FILE* f = _wfopen(path, L"wb");
    if (!f) return false;
    const DWORD imageSize = static_cast<DWORD>(m_w) * m_h * 4;
    BITMAPFILEHEADER fh{};
    BITMAPINFOHEADER ih{};
    fh.bfType = 0x4D42;
    fh.bfOffBits = sizeof(fh) + sizeof(ih);
    fh.bfSize = fh.bfOffBits + imageSize;
    ih.biSize = sizeof(ih);
    ih.biWidth = m_w;
    ih.biHeight = -m_h;
    ih.biPlanes = 1;
    ih.biBitCount = 32;
    ih.biCompression = BI_RGB;
    bool ok = fwrite(&fh, sizeof(fh), 1, f) == 1 && fwrite(&ih, sizeof(ih), 1, f) == 1 &&
              fwrite(m_bits, 1, imageSize, f) == imageSize;
    fclose(f);
    return ok;
}

DibCanvas CaptureWindow(HWND hwnd, bool wholeWindow) {
    RECT rc{};
    if (wholeWindow) {
        GetWindowRect(hwnd, &rc);
        OffsetRect(&rc, -rc.left, -rc.top);
    } else {
        GetClientRect(hwnd, &rc);
    }
    DibCanvas canvas(rc.right, rc.bottom, kUnpainted);
    HDC dc = wholeWindow ? GetWindowDC(hwnd) : GetDC(hwnd);
    if (dc && canvas.valid()) BitBlt(canvas.dc(), 0, 0, rc.right, rc.bottom, dc, 0, 0, SRCCOPY);
    if (dc) ReleaseDC(hwnd, dc);
    GdiFlush();
    return canvas;
}

}  // namespace forms
