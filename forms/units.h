// Twips to pixels by the screen's logical DPI, colours, and the fonts that
// forms and their built-in parts use.
#pragma once
#include <windows.h>
#include <ole2.h>
#include <olectl.h>
#include "forms/formdef.h"

namespace forms {

int TwipsToPixelsX(int twips);
int TwipsToPixelsY(int twips);
RECT TwipsRect(int left, int top, int width, int height);
// An OLE colour as RGB (system colours looked up); invalid ones keep their low 24 bits.
COLORREF ToRgb(OLE_COLOR c);
HFONT CreateGdiFont(const FontDef& f);
// A standard font object (IFontDisp) of f; null on failure.
IFontDisp* CreateFontObject(const FontDef& f);

}  // namespace forms
