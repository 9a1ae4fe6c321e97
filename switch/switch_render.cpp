// The switch's paint.
#include "switch.h"
#include "common/color.h"
#include "common/gdi.h"

void CQEV_Switch::Paint(const fw::RenderTarget& target) {
    OLE_COLOR ambient;
    if (m_BackStyle == BS_Opaque) ambient = m_BkColor;
    else if (FAILED(GetAmbientBackColor(ambient))) ambient = GetSysColor(COLOR_WINDOW);
    gdi::Brush brush = gdi::SolidBrush(TranslateColor(ambient));
    FillRect(target.hdc, &target.bounds, brush);
}
