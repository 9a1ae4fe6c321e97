// Pixels of a window as it is on screen, read back into a memory DIB: the
// screenshot tour writes them to PNG files and the tests check them.
#pragma once
#include <windows.h>
#include <cstdint>

namespace forms {

// Colour a canvas is filled with before a control draws, so untouched
// pixels are recognisable.
constexpr COLORREF kUnpainted = RGB(255, 0, 255);

// A 32-bit top-down DIB section selected into its own memory DC.
class DibCanvas {
public:
    DibCanvas(int width, int height, COLORREF fill = RGB(0, 0, 0));
    ~DibCanvas();
    DibCanvas(DibCanvas&& o) noexcept;
    DibCanvas& operator=(DibCanvas&& o) noexcept;
    DibCanvas(const DibCanvas&) = delete;
    DibCanvas& operator=(const DibCanvas&) = delete;

    HDC dc() const { return m_dc; }
    int width() const { return m_w; }
    int height() const { return m_h; }
    bool valid() const { return m_dc && m_bits; }

    // COLORREF (0x00BBGGRR) of a pixel; CLR_INVALID outside the canvas.
    COLORREF Pixel(int x, int y) const;
    void Fill(COLORREF c);
    // Pixels of colour c, in area (default: everything).
    int Count(COLORREF c, const RECT* area = nullptr) const;
    // True when every pixel of area has colour c.
    bool All(COLORREF c, const RECT& area) const { return Count(c, &area) == (area.right - area.left) * (area.bottom - area.top); }
    const uint32_t* bits() const { return m_bits; }
    // Writes a 32-bit BMP file (for looking at a failing case).
    bool SaveBmp(const wchar_t* path) const;

private:
    void Free();
    int m_w = 0, m_h = 0;
    HDC m_dc = nullptr;
    HBITMAP m_bmp = nullptr;
    HGDIOBJ m_oldBmp = nullptr;
    uint32_t* m_bits = nullptr;
};

// The client area of a window as it is on screen (through the window's DC:
// child windows included), or the whole window with its frame. Pump pending
// paints first.
DibCanvas CaptureWindow(HWND hwnd, bool wholeWindow = false);

// Writes the canvas as a PNG file (8-bit RGB).
bool WritePng(const DibCanvas& canvas, const wchar_t* path);

}  // namespace forms
