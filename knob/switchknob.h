// The switch knob: a rotary selector whose pointer stops at the items of a
// keyed list spread over the arc from StartAngle to EndAngle.
#pragma once
#include "framework/control.h"
#include "framework/dispatch.h"
#include "common/fontsink.h"
#include "common/switchmethods.h"
#include "Tarnik.h"
#include "knob_geometry.h"

// Persisted properties in map order:
// X(dispid, Name, accessor kind, interface type, member, tag, bag key, page)
#define SWITCHKNOB_PROPERTIES(X)                                                                           \
    X(1, BkColor, VALUE, OLE_COLOR, m_BkColor, VT_UI4, L"BkColor", &fw::kStockColorPage)                     \
    X(2, PanelColor, VALUE, OLE_COLOR, m_PanelColor, VT_UI4, L"PanelColor", &fw::kStockColorPage)            \
    X(3, InverseDirection, BOOL, VARIANT_BOOL, m_InverseDirection, VT_BOOL, L"InverseDirection", &CLSID_SwitchOthersProp) \
    X(4, IndicatorColor, VALUE, OLE_COLOR, m_IndicatorColor, VT_UI4, L"IndicatorColor", &fw::kStockColorPage) \
    X(5, BorderType, ENUM, EdgeStyle, m_BorderType, VT_I4, L"BorderType", &CLSID_GeneralProp)                \
    X(6, OuterTextHeight, VALUE, short, m_OuterTextHeight, VT_I2, L"OuterTextHeight", &CLSID_GeneralProp)    \
    X(7, OuterTextLength, VALUE, short, m_OuterTextLength, VT_I2, L"OuterTextLength", &CLSID_GeneralProp)    \
    X(8, PanelType, ENUM, PanelStyle, m_PanelType, VT_I4, L"PanelType", &CLSID_GeneralProp)                  \
    X(9, PanelBorderType, ENUM, PanelBorderStyle, m_PanelBorderType, VT_I4, L"PanelBorderType", &CLSID_GeneralProp) \
    X(10, PanelBorderLen, VALUE, short, m_PanelBorderLen, VT_I2, L"PanelBorderLen", &CLSID_GeneralProp)      \
    X(11, PanelBorderDarkColor, VALUE, OLE_COLOR, m_PanelBorderDarkColor, VT_UI4, L"PanelBorderDarkColor", &fw::kStockColorPage) \
    X(12, PanelBorderLightColor, VALUE, OLE_COLOR, m_PanelBorderLightColor, VT_UI4, L"PanelBorderLightColor", &fw::kStockColorPage) \
    X(13, IndicatorType, ENUM, IndicatorStyle, m_IndicatorType, VT_I4, L"IndicatorType", &CLSID_GeneralProp) \
    X(14, GradientRate, VALUE, float, m_GradientRate, VT_R4, L"GradientRate", &CLSID_GeneralProp)            \
    X(15, StartAngle, VALUE, short, m_StartAngle, VT_I2, L"StartAngle", &CLSID_GeneralProp)                  \
    X(16, EndAngle, VALUE, short, m_EndAngle, VT_I2, L"EndAngle", &CLSID_GeneralProp)                        \
    X(17, OuterBorderLen, VALUE, short, m_OuterBorderLen, VT_I2, L"OuterBorderLen", &CLSID_GeneralProp)      \
    X(18, InnerBorderLen, VALUE, short, m_InnerBorderLen, VT_I2, L"InnerBorderLen", &CLSID_GeneralProp)      \
    X(19, BorderDarkColor, VALUE, OLE_COLOR, m_BorderDarkColor, VT_UI4, L"BorderDarkColor", &fw::kStockColorPage) \
    X(20, BorderLightColor, VALUE, OLE_COLOR, m_BorderLightColor, VT_UI4, L"BorderLightColor", &fw::kStockColorPage) \
    X(21, Font, STOCK, IFontDisp*, m_font, VT_DISPATCH, L"Font", &fw::kStockFontPage)                        \
    X(22, CircleColor, VALUE, OLE_COLOR, m_CircleColor, VT_UI4, L"CircleColor", &fw::kStockColorPage)        \
    X(23, SliderType, ENUM, SlideStyle, m_SliderType, VT_I4, L"SliderType", &CLSID_GeneralProp)              \
    X(24, SliderColor, VALUE, OLE_COLOR, m_SliderColor, VT_UI4, L"SliderColor", &fw::kStockColorPage)        \
    X(25, IndicatorSize, VALUE, short, m_IndicatorSize, VT_I2, L"IndicatorSize", &CLSID_GeneralProp)         \
    X(26, SliderWidth, VALUE, short, m_SliderWidth, VT_I2, L"SliderWidth", &CLSID_GeneralProp)               \
    X(27, MarkerColor, VALUE, OLE_COLOR, m_MarkerColor, VT_UI4, L"MarkerColor", &fw::kStockColorPage)        \
    X(28, MarkerType, ENUM, MarkerStyle, m_MarkerType, VT_I4, L"MarkerType", &CLSID_SwitchOthersProp)        \
    X(29, MarkerVisible, BOOL, VARIANT_BOOL, m_MarkerVisible, VT_BOOL, L"bMarkerVisible", &CLSID_SwitchOthersProp) \
    X(30, ElementIndicatorType, ENUM, ElementIndicatorStyle, m_ElementIndicatorType, VT_I4, L"EleIndicatorType", &CLSID_SwitchOthersProp) \
    X(31, ElementIndicatorSize, VALUE, short, m_ElementIndicatorSize, VT_I2, L"EleIndicatorSize", &CLSID_SwitchOthersProp) \
    X(36, Enabled, STOCK, VARIANT_BOOL, m_enabled, VT_BOOL, L"Enabled", nullptr)                             \
    X(38, FontName, STOCK, BSTR, _, VT_BSTR, L"FontName", nullptr)                                           \
    X(39, FontSize, STOCK, short, _, VT_I2, L"FontSize", nullptr)                                            \
    X(40, FontBold, STOCK, VARIANT_BOOL, _, VT_BOOL, L"FontBold", nullptr)                                   \
    X(41, FontItalic, STOCK, VARIANT_BOOL, _, VT_BOOL, L"FontItalic", nullptr)                               \
    X(42, FontUnderline, STOCK, VARIANT_BOOL, _, VT_BOOL, L"FontUnderline", nullptr)                         \
    X(43, FontStrikethrough, STOCK, VARIANT_BOOL, _, VT_BOOL, L"FontStrikethrough", nullptr)                 \
    X(44, FontWeight, STOCK, short, _, VT_I2, L"FontWeight", nullptr)                                        \
    X(45, FontCharset, STOCK, short, _, VT_I2, L"FontCharset", nullptr)                                      \
    X(46, BackStyle, ENUM, BackStyleType, m_BackStyle, VT_I4, L"BackStyle", &CLSID_GeneralProp)

// Event dispatch identifiers of _IQEV_SwitchKnobEvents.
enum SwitchKnobEvent : DISPID {
    SKE_ValueChange = 1,
    SKE_DblClick = 2,
    SKE_Click = 3,
    SKE_MouseDown = 4,
    SKE_MouseUp = 5,
    SKE_MouseMove = 6,
    SKE_KeyDown = 7,
    SKE_KeyUp = 8,
};

class CQEV_SwitchKnob : public fw::ControlBase,
                        public SwitchItemMethods<CQEV_SwitchKnob, IQEV_SwitchKnob, &IID_IQEV_SwitchKnob> {
public:
    FW_DELEGATING_IUNKNOWN

    CQEV_SwitchKnob();
    ~CQEV_SwitchKnob() override;

    IDispatch* Dispatch() override { return static_cast<IQEV_SwitchKnob*>(this); }
    void Paint(const fw::RenderTarget& target) override;
    bool ProcessWindowMessage(HWND, UINT, WPARAM, LPARAM, LRESULT&) override;
    HRESULT InitNewProperties() override;

    FW_PROPERTY_ACCESSORS(SWITCHKNOB_PROPERTIES)
    FW_STOCK_PROPERTIES(36)

    static const fw::PropMap& Map();

    // What the last paint of the own window left for input.
    const KnobGeometry& Geometry() const { return m_geometry; }

private:
    void OnMouseMove(int x, int y, bool buttonHeld);
    void EndDragAndSnap();
    void Snap();
    void ApplyWindowRegion();

    OLE_COLOR m_BkColor;
    OLE_COLOR m_PanelColor;
    OLE_COLOR m_IndicatorColor = 0xD0D0D0;
    LONG m_InverseDirection = 0;
    short m_OuterBorderLen = 4;
    short m_InnerBorderLen = 4;
    OLE_COLOR m_BorderDarkColor = 0xA8A8A8;
    OLE_COLOR m_BorderLightColor = 0xE4E4E4;
    LONG m_BorderType = 0;
    short m_OuterTextHeight = 20;
    short m_OuterTextLength = 20;
    LONG m_PanelType = 0;
    LONG m_PanelBorderType = 6;
    short m_PanelBorderLen = 10;
    OLE_COLOR m_PanelBorderDarkColor;
    OLE_COLOR m_PanelBorderLightColor;
    LONG m_IndicatorType = 4;
    float m_GradientRate = 0.5f;
    short m_StartAngle = 135;
    short m_EndAngle = 45;
    LONG m_SliderType = 0;
    short m_IndicatorSize = 20;
    OLE_COLOR m_SliderColor = 0xA8A8A8;
    short m_SliderWidth = 10;
    OLE_COLOR m_MarkerColor = 0x0000FF;
    LONG m_MarkerType = 6;
    LONG m_MarkerVisible = 1;
    LONG m_ElementIndicatorType = 0;
    short m_ElementIndicatorSize = 6;
    OLE_COLOR m_CircleColor;
    LONG m_BackStyle = 1;

    KnobGeometry m_geometry;  // pointer hit region, dial centre, pointer angle

    friend struct SwitchKnobPainter;
};

HRESULT CreateSwitchKnob(IUnknown* outer, REFIID iid, void** ppv);
