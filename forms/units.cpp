#include "forms/units.h"

#include <cmath>

namespace forms {

namespace {
int Dpi(int index) {
    HDC dc = GetDC(nullptr);
    int dpi = dc ? GetDeviceCaps(dc, index) : 96;
    if (dc) ReleaseDC(nullptr, dc);
    return dpi > 0 ? dpi : 96;
}
}  // namespace

int TwipsToPixelsX(int twips) { return MulDiv(twips, Dpi(LOGPIXELSX), 1440); }
int TwipsToPixelsY(int twips) { return MulDiv(twips, Dpi(LOGPIXELSY), 1440); }

RECT TwipsRect(int left, int top, int width, int height) {
    RECT r;
    r.left = TwipsToPixelsX(left);
    r.top = TwipsToPixelsY(top);
    r.right = TwipsToPixelsX(left + width);
    r.bottom = TwipsToPixelsY(top + height);
    return r;
}

COLORREF ToRgb(OLE_COLOR c) {
    COLORREF rgb = 0;
    if (FAILED(OleTranslateColor(c, nullptr, &rgb))) rgb = c & 0xFFFFFF;
    return rgb;
}

HFONT CreateGdiFont(const FontDef& f) {
    const int height = -static_cast<int>(std::lround(f.points * Dpi(LOGPIXELSY) / 72.0));
    return CreateFontW(height, 0, 0, 0, f.bold ? FW_BOLD : FW_NORMAL, f.italic, f.underline, FALSE, DEFAULT_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, f.face);
}

IFontDisp* CreateFontObject(const FontDef& f) {
    FONTDESC fd{};
    fd.cbSizeofstruct = sizeof(fd);
    fd.lpstrName = const_cast<LPOLESTR>(f.face);
    fd.cySize.int64 = std::llround(f.points * 10000.0);
    fd.sWeight = static_cast<SHORT>(f.bold ? FW_BOLD : FW_NORMAL);
    fd.sCharset = ANSI_CHARSET;
    fd.fItalic = f.italic;
    fd.fUnderline = f.underline;
    IFontDisp* font = nullptr;
    if (FAILED(OleCreateFontIndirect(&fd, IID_IFontDisp, reinterpret_cast<void**>(&font)))) return nullptr;
    return font;
}

}  // namespace forms
