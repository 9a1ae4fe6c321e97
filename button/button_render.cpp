// The smart button's paint: gathers what the paint reads, picks the state
// colours and runs the paint pipeline on the target the control base
// resolved; the region the paint built goes to input and the window.
#include "button.h"
#include "button_paint.h"
#include "common/color.h"
#include "common/text.h"
#include "common/winregion.h"

using namespace buttonpaint;

// Reads the button's members for the paint; nothing else here touches them.
struct SmartButtonPainter {
    static TextSpec Text(BSTR text, LONG visible, LONG pos, LONG dx, LONG dy, COLORREF colour) {
        TextSpec t;
        t.text = AnsiText(text);
        t.visible = visible == 1;
        t.pos = pos;
        t.offset = POINT{dx, dy};
        t.colour = colour;
        return t;
    }

    // The state colours: disabled, hovering (pressed or not), focused, plain.
    static OLE_COLOR State(const CQEV_SmartButton& b, OLE_COLOR plain, OLE_COLOR capture, OLE_COLOR pressed) {
        if (!b.Enabled() || !b.m_hover) return plain;
        return b.m_pressed ? pressed : capture;
    }

    static ButtonLook Look(CQEV_SmartButton& b) {
        ButtonLook a;
        a.shape = b.m_ShapeType;
        a.border = b.m_BorderType;
        a.face = b.m_FaceType;
        a.iconType = b.m_IconType;
        a.iconPos = b.m_IconPosType;
        a.iconBorder = b.m_IconBorderType;
        a.iconSize = b.m_IconSize;
        a.imageStyle = b.m_ImageStyle;
        a.outerLen = b.m_OuterBorderLen;
        a.innerLen = b.m_InnerBorderLen;
        a.roundRadius = b.m_RoundRadius;
        a.gradientRate = b.m_GradientRate;
        a.pressed = b.m_pressed != 0;
        a.enabled = b.Enabled();
        a.userMode = b.AmbientUserMode();
        a.wordWrap = b.m_WordWrap == 1;
        a.text3D = b.m_Text3D == 1;
        a.picture = b.m_Picture.get();
        a.caption = Text(b.m_Caption, b.m_CaptionVisible, b.m_TextPos, b.m_TextXOffset, b.m_TextYOffset,
                         TranslateColor(State(b, b.m_TextColor, b.m_TextCaptureColor, b.m_TextPressDownColor)));
        a.text1 = Text(b.m_Text1, b.m_Text1Visible, b.m_Text1Pos, b.m_Text1XOffset, b.m_Text1YOffset,
                       TranslateColor(State(b, b.m_Text1Color, b.m_Text1CaptureColor, b.m_Text1PressDownColor)));
        a.text2 = Text(b.m_Text2, b.m_Text2Visible, b.m_Text2Pos, b.m_Text2XOffset, b.m_Text2YOffset,
                       TranslateColor(State(b, b.m_Text2Color, b.m_Text2CaptureColor, b.m_Text2PressDownColor)));
        return a;
    }

    static ButtonColors Colors(CQEV_SmartButton& b) {
        const OLE_COLOR ambient = b.AmbientBackColor();
        OLE_COLOR face = b.m_FaceColor;
        if (!b.Enabled()) face = b.m_DisableColor;
        else if (b.m_hover) face = b.m_CaptureColor;
        else if (b.m_focus) face = b.m_FocusColor;
        ButtonColors c;
        c.ambient = TranslateColor(ambient);
        c.face = TranslateColor(face);
        c.highlight = HighlightColor(TranslateColor(b.m_GradientColor), c.face, b.m_GradientRate);
        c.light = TranslateColor(b.m_BorderLightColor);
        c.dark = TranslateColor(b.m_BorderDarkColor);
        if (b.m_DynamicBorder == 1 && b.m_pressed) std::swap(c.light, c.dark);
        c.icon = TranslateColor(b.m_IconColor);
        return c;
    }
};

void CQEV_SmartButton::Paint(const fw::RenderTarget& target) {
    const ButtonLook look = SmartButtonPainter::Look(*this);
    const ButtonColors colors = SmartButtonPainter::Colors(*this);
    PaintToTarget(
        target, m_font, [&](const Surface& s) { return PaintButton(s, target.bounds, look, colors); },
        [this](const fw::RenderTarget& t, HRGN region) { KeepRegion(region, t); });
}

void CQEV_SmartButton::KeepRegion(HRGN region, const fw::RenderTarget& target) {
    gdi::Region painted(region);
    // Prints and pictures at other bounds leave input and the window alone.
    if (!target.own) return;
    if (m_region) DeleteObject(m_region);
    m_region = painted.release();
    // Only the container's paints shape the window; the button's own
    // repaints after input do not.
    if (target.given) ApplyWindowRegion(true);
}

void CQEV_SmartButton::ApplyWindowRegion(bool inPaint) { m_windowShape.Apply(m_hwnd, m_region, inPaint); }
