// The switch's paint: gathers what the paint reads and runs the pipeline on
// the target the control base resolved. A paint leaves nothing for input.
#include "switch.h"
#include "switch_paint.h"
#include "common/color.h"
#include "common/text.h"

using namespace switchpaint;

// Reads the switch's members for the paint; nothing else here touches them.
struct SwitchPainter {
    static SwitchLook Look(const CQEV_Switch& k) {
        SwitchLook a;
        a.shape = k.m_SwitchType;
        a.light = k.m_Light3D;
        a.buttonHeight = k.m_ButtonHeight;
        a.toggleHeight = k.m_ToggleHeight;
        a.borderLen = k.m_BorderLen;
        a.roundWidth = k.m_RoundWidth;
        a.roundHeight = k.m_RoundHeight;
        a.imageStyle = k.m_ImageStyle;
        a.statusX = k.m_StatusXOffset;
        a.statusY = k.m_StatusYOffset;
        a.rate = k.m_GradientRate;
        a.value = k.m_Value == 1;
        a.status = k.m_Status == 1;
        a.showStatus = k.m_ShowStatus == 1;
        a.vertical = k.m_VerticalToggle == 1;
        a.foreGradient = k.m_ForeGradientToggle == 1;
        a.circleStatus = k.m_CircleStatus == 1;
        a.text3D = k.m_3DText == 1;
        a.pressed = k.m_pressed != 0;
        a.text = AnsiText(k.m_Text);
        a.onText = AnsiText(k.m_OnText);
        a.offText = AnsiText(k.m_OffText);
        return a;
    }

    static SwitchColors Colors(CQEV_Switch& k) {
        SwitchColors c;
        c.background = TranslateColor(k.m_BackStyle == BS_Opaque ? k.m_BkColor : k.AmbientBackColor());
        c.fore = TranslateColor(k.m_ForeColor);
        c.edge = TranslateColor(k.m_EdgeColor);
        c.status = TranslateColor(k.m_StatusColor);
        c.sideLight = TranslateColor(k.m_SideLightColor);
        c.sideDark = TranslateColor(k.m_SideDarkColor);
        c.borderLight = TranslateColor(k.m_BorderLightColor);
        c.borderDark = TranslateColor(k.m_BorderDarkColor);
        c.text = TranslateColor(k.m_TextColor);
        c.onText = TranslateColor(k.m_OnTextColor);
        c.offText = TranslateColor(k.m_OffTextColor);
        return c;
    }
};

void CQEV_Switch::Paint(const fw::RenderTarget& target) {
    SwitchLook look = SwitchPainter::Look(*this);
    const SwitchColors colors = SwitchPainter::Colors(*this);
    IPictureDisp* shown = m_Value == 1 ? m_OnPicture.get() : m_OffPicture.get();
    IPicture* picture = nullptr;
    if (m_SwitchType == USER_IMAGE && shown) shown->QueryInterface(IID_IPicture, reinterpret_cast<void**>(&picture));
    look.picture = picture;
    PaintToTarget(target, m_font, [&](const Surface& s) { PaintSwitch(s, target.bounds, look, colors); });
    if (picture) picture->Release();
}
