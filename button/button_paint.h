// Drawing of the smart button as a pipeline of small steps over plain
// values: the render routine (button_render.cpp) gathers the properties into
// a ButtonLook, translates and picks the state colours once (ButtonColors)
// and runs PaintButton. Nothing here reads the control object.
#pragma once
#include <windows.h>
#include <ole2.h>
#include <olectl.h>
#include <string>

#include "common/gdi.h"
#include "common/paint.h"

namespace buttonpaint {

// One of the three texts: its 8-bit string, position, offset and colour.
struct TextSpec {
    std::string text;
    bool visible = false;
    int pos = 0;  // ButtonTxtPosStyle
    POINT offset{0, 0};
    COLORREF colour = 0;
};

// Everything the paint reads besides the colours, as plain values.
struct ButtonLook {
    int shape = 0, border = 0, face = 0;
    int iconType = 0, iconPos = 4, iconBorder = 0, iconSize = 10;
    int imageStyle = 0;
    int outerLen = 2, innerLen = 1, roundRadius = 4;
    float gradientRate = 0.5f;
    bool pressed = false;
    bool enabled = true;
    bool userMode = true;  // a container that does not answer counts as run mode
    bool wordWrap = false;
    bool text3D = false;
    IPictureDisp* picture = nullptr;  // borrowed
    TextSpec caption, text1, text2;
};

// The colours of one paint: translated once, state colours already chosen.
struct ButtonColors {
    COLORREF ambient;    // outside the shape
    COLORREF face;       // F
    COLORREF highlight;  // G, the shaded faces' bright colour
    COLORREF light;      // border colours, swapped by DynamicBorder while pressed
    COLORREF dark;
    COLORREF icon;
};

// Per channel trunc(rate * gradient + (1 - rate) * face), clamped to
// 0..255; a rate that is not a number counts as 0.
COLORREF HighlightColor(COLORREF gradient, COLORREF face, float rate);
// The pressed flat face: each channel (c + 256) / 2.
COLORREF PressedFace(COLORREF c);

// Paints the whole button into R and returns its button region (the
// caller's from then on), or null when the shape has none.
HRGN PaintButton(const Surface& s, const RECT& R, const ButtonLook& a, const ButtonColors& c);

// ----- steps of PaintButton

// Flat, BFS_GRADIENT or BFS_GRADIENT_2 face inside the region.
void PaintFace(const Surface& s, HRGN region, const RECT& face, const RECT& highlight, const ButtonLook& a,
               const ButtonColors& c);
// The picture stretched (IPS_AUTOSIZE) or tiled (IPS_TEXTURE) over the
// content rectangle, clipped to the region.
void PaintPictureFace(const Surface& s, HRGN region, const RECT& content, IPictureDisp* picture, int imageStyle);
// BBS_CONFIGURABLE and BBS_GRADIENT_CONFIGURABLE bands of shapes 0 to 7.
void PaintConfigurableBorder(const Surface& s, const RECT& R, const ButtonLook& a, const ButtonColors& c);
// Icon, caption, Text1 and Text2 (button_text.cpp).
void PaintIconAndTexts(const Surface& s, const RECT& R, HRGN region, const ButtonLook& a, const ButtonColors& c);

// ----- pictures

// The picture's IPicture and its size in HIMETRIC and in screen pixels;
// false when it gives none of them.
struct PictureInfo {
    IPicture* picture = nullptr;  // owned
    SIZE himetric{0, 0};
    SIZE pixels{0, 0};
    ~PictureInfo() {
        if (picture) picture->Release();
    }
};
bool ReadPicture(IPictureDisp* source, PictureInfo& info);
void RenderPicture(HDC dc, const PictureInfo& info, int x, int y, int w, int h);

// Saves the DC and clips it to region (logical coordinates) within its
// present clip; restores everything when it ends.
class ClipTo {
public:
    ClipTo(HDC dc, HRGN region);
    ~ClipTo();
    ClipTo(const ClipTo&) = delete;
    ClipTo& operator=(const ClipTo&) = delete;

private:
    HDC m_dc;
    int m_saved;
};

}  // namespace buttonpaint
