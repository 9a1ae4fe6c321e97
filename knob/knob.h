// The rotary knob control.
#pragma once
#include "framework/control.h"
#include "framework/dispatch.h"
#include "common/fontsink.h"
#include "Tarnik.h"
#include "knob_geometry.h"

// Persisted properties in map order:
// X(dispid, Name, accessor kind, interface type, member, tag, bag key, page)
#define KNOB_PROPERTIES(X)                                                                                 \
    X(1, BkColor, VALUE, OLE_COLOR, m_BkColor, VT_UI4, L"BkColor", &fw::kStockColorPage)                     \
    X(2, PanelColor, VALUE, OLE_COLOR, m_PanelColor, VT_UI4, L"PanelColor", &fw::kStockColorPage)            \
    X(3, InverseDirection, BOOL, VARIANT_BOOL, m_InverseDirection, VT_BOOL, L"InverseDirection", &CLSID_KnobScale) \
    X(4, MaxVal, VALUE, double, m_MaxVal, VT_R8, L"MaxVal", &CLSID_KnobScale)                                \
    X(5, MinVal, VALUE, double, m_MinVal, VT_R8, L"MinVal", &CLSID_KnobScale)                                \
    X(6, TickerNum, VALUE, short, m_TickerNum, VT_I2, L"TickerNum", &CLSID_KnobScale)                        \
    X(7, SubTickerNum, VALUE, short, m_SubTickerNum, VT_I2, L"SubTickerNum", &CLSID_KnobScale)               \
    X(8, TextColor, VALUE, OLE_COLOR, m_TextColor, VT_UI4, L"TextColor", &fw::kStockColorPage)               \
    X(9, ScaleSideChanged, BOOL, VARIANT_BOOL, m_ScaleSideChanged, VT_BOOL, L"ScaleSideChanged", &CLSID_KnobScale) \
    X(10, IndicatorColor, VALUE, OLE_COLOR, m_IndicatorColor, VT_UI4, L"IndicatorColor", &fw::kStockColorPage) \
    X(11, UnitName, BSTR, BSTR, m_UnitName, VT_BSTR, L"UnitName", &CLSID_KnobScale)                          \
    X(12, BorderType, ENUM, EdgeStyle, m_BorderType, VT_I4, L"BorderType", &CLSID_GeneralProp)               \
    X(13, ScalePrecision, VALUE, short, m_ScalePrecision, VT_I2, L"ScalePrecision", &CLSID_KnobScale)        \
    X(14, OuterTextHeight, VALUE, short, m_OuterTextHeight, VT_I2, L"OuterTextHeight", &CLSID_GeneralProp)   \
    X(15, OuterTextLength, VALUE, short, m_OuterTextLength, VT_I2, L"OuterTextLength", &CLSID_GeneralProp)   \
    X(16, ScaleRingBorderType, ENUM, ScaleRingBorderStyle, m_ScaleRingBorderType, VT_I4, L"ScaleRingBorderType", &CLSID_KnobScale) \
    X(17, ScaleTextPosStyle, ENUM, ShowStyle, m_ScaleTextPosStyle, VT_I4, L"ScaleTextPosStyle", &CLSID_KnobScale) \
    X(18, TickerAlignment, ENUM, ShowStyle, m_TickerAlignment, VT_I4, L"TickerAlignment", &CLSID_KnobScale)  \
    X(19, TickerColor, VALUE, OLE_COLOR, m_TickerColor, VT_UI4, L"TickerColor", &fw::kStockColorPage)        \
    X(20, PanelType, ENUM, PanelStyle, m_PanelType, VT_I4, L"PanelType", &CLSID_GeneralProp)                 \
    X(21, PanelBorderType, ENUM, PanelBorderStyle, m_PanelBorderType, VT_I4, L"PanelBorderType", &CLSID_GeneralProp) \
    X(22, PanelBorderLen, VALUE, short, m_PanelBorderLen, VT_I2, L"PanelBorderLen", &CLSID_GeneralProp)      \
    X(23, PanelBorderDarkColor, VALUE, OLE_COLOR, m_PanelBorderDarkColor, VT_UI4, L"PanelBorderDarkColor", &fw::kStockColorPage) \
    X(24, PanelBorderLightColor, VALUE, OLE_COLOR, m_PanelBorderLightColor, VT_UI4, L"PanelBorderLightColor", &fw::kStockColorPage) \
    X(25, IndicatorType, ENUM, IndicatorStyle, m_IndicatorType, VT_I4, L"IndicatorType", &CLSID_GeneralProp) \
    X(26, GradientRate, VALUE, float, m_GradientRate, VT_R4, L"GradientRate", &CLSID_GeneralProp)            \
    X(27, StartAngle, VALUE, short, m_StartAngle, VT_I2, L"StartAngle", &CLSID_GeneralProp)                  \
    X(28, EndAngle, VALUE, short, m_EndAngle, VT_I2, L"EndAngle", &CLSID_GeneralProp)                        \
    X(29, OuterBorderLen, VALUE, short, m_OuterBorderLen, VT_I2, L"OuterBorderLen", &CLSID_GeneralProp)      \
    X(30, InnerBorderLen, VALUE, short, m_InnerBorderLen, VT_I2, L"InnerBorderLen", &CLSID_GeneralProp)      \
    X(31, BorderDarkColor, VALUE, OLE_COLOR, m_BorderDarkColor, VT_UI4, L"BorderDarkColor", &fw::kStockColorPage) \
    X(32, BorderLightColor, VALUE, OLE_COLOR, m_BorderLightColor, VT_UI4, L"BorderLightColor", &fw::kStockColorPage) \
    X(33, Font, STOCK, IFontDisp*, m_font, VT_DISPATCH, L"Font", &fw::kStockFontPage)                        \
    X(34, PercentageScale, BOOL, VARIANT_BOOL, m_PercentageScale, VT_BOOL, L"PercentageScale", &CLSID_KnobScale) \
    X(35, CircleColor, VALUE, OLE_COLOR, m_CircleColor, VT_UI4, L"CircleColor", &fw::kStockColorPage)        \
    X(36, ScaleRingColor, VALUE, OLE_COLOR, m_ScaleRingColor, VT_UI4, L"ScaleRingColor", &fw::kStockColorPage) \
    X(37, SliderType, ENUM, SlideStyle, m_SliderType, VT_I4, L"SliderType", &CLSID_GeneralProp)              \
    X(38, SliderColor, VALUE, OLE_COLOR, m_SliderColor, VT_UI4, L"SliderColor", &fw::kStockColorPage)        \
    X(39, IndicatorSize, VALUE, short, m_IndicatorSize, VT_I2, L"IndicatorSize", &CLSID_GeneralProp)         \
    X(40, SliderWidth, VALUE, short, m_SliderWidth, VT_I2, L"SliderWidth", &CLSID_GeneralProp)               \
    X(41, MarkerColor, VALUE, OLE_COLOR, m_MarkerColor, VT_UI4, L"MarkerColor", &fw::kStockColorPage)        \
    X(42, MarkerType, ENUM, MarkerStyle, m_MarkerType, VT_I4, L"MarkerType", &CLSID_KnobScale)               \
    X(43, MarkerVisible, BOOL, VARIANT_BOOL, m_MarkerVisible, VT_BOOL, L"bMarkerVisible", &CLSID_KnobScale)  \
    X(44, SetpointTextType, ENUM, SetpointTextStyle, m_SetpointTextType, VT_I4, L"SetpointTextType", &CLSID_KnobScale) \
    X(49, Enabled, STOCK, VARIANT_BOOL, m_enabled, VT_BOOL, L"Enabled", nullptr)                             \
    X(51, ScaleRingVisible, BOOL, VARIANT_BOOL, m_ScaleRingVisible, VT_BOOL, L"ScaleRingVisible", &CLSID_KnobScale) \
    X(52, FontName, STOCK, BSTR, _, VT_BSTR, L"FontName", nullptr)                                           \
    X(53, FontSize, STOCK, short, _, VT_I2, L"FontSize", nullptr)                                            \
    X(54, FontBold, STOCK, VARIANT_BOOL, _, VT_BOOL, L"FontBold", nullptr)                                   \
    X(55, FontItalic, STOCK, VARIANT_BOOL, _, VT_BOOL, L"FontItalic", nullptr)                               \
    X(56, FontUnderline, STOCK, VARIANT_BOOL, _, VT_BOOL, L"FontUnderline", nullptr)                         \
    X(57, FontStrikethrough, STOCK, VARIANT_BOOL, _, VT_BOOL, L"FontStrikethrough", nullptr)                 \
    X(58, FontWeight, STOCK, short, _, VT_I2, L"FontWeight", nullptr)                                        \
    X(59, FontCharset, STOCK, short, _, VT_I2, L"FontCharset", nullptr)                                      \
    X(60, BackStyle, ENUM, BackStyleType, m_BackStyle, VT_I4, L"BackStyle", &CLSID_GeneralProp)

// Event dispatch identifiers of _IQEV_KnobEvents.
enum KnobEvent : DISPID {
    KE_SetpointChange = 1,
    KE_DblClick = 2,
    KE_Click = 3,
    KE_MouseDown = 4,
    KE_MouseUp = 5,
    KE_MouseMove = 6,
    KE_KeyDown = 7,
    KE_KeyUp = 8,
};

// One coloured sector of the scale ring, in scale values.
struct ScaleRange {
    double start = 0;
    double end = 0;
    OLE_COLOR color = 0;
    BYTE active = 0;
};

class CQEV_Knob : public fw::ControlBase, public fw::DualImpl<IQEV_Knob, &IID_IQEV_Knob> {
public:
    FW_DELEGATING_IUNKNOWN

    CQEV_Knob();
    ~CQEV_Knob() override;

    IDispatch* Dispatch() override { return static_cast<IQEV_Knob*>(this); }
    void Paint(const fw::RenderTarget& target) override;
    bool ProcessWindowMessage(HWND, UINT, WPARAM, LPARAM, LRESULT&) override;
    HRESULT InitNewProperties() override;

    FW_PROPERTY_ACCESSORS(KNOB_PROPERTIES)
    FW_STOCK_PROPERTIES(49)

    STDMETHODIMP SetScaleRangeColor(short index, double start, double end, OLE_COLOR color) override;
    STDMETHODIMP CancelScaleRangeColor(short index) override;
    STDMETHODIMP UpdateValue(double newVal) override;
    STDMETHODIMP GetValue(double* pVal) override;

    static const fw::PropMap& Map();

    // What the last paint of the own window left for input.
    const KnobGeometry& Geometry() const { return m_geometry; }

private:
    void OnMouseMove(int x, int y);
    void ApplyWindowRegion();

    OLE_COLOR m_BkColor;
    OLE_COLOR m_PanelColor;
    OLE_COLOR m_TextColor = 0xFF;
    OLE_COLOR m_IndicatorColor = 0xD0D0D0;
    LONG m_InverseDirection = 0;
    LONG m_PercentageScale = 0;
    double m_value = 50.0;
    double m_MaxVal = 100.0;
    double m_MinVal = 0.0;
    short m_TickerNum = 6;
    short m_SubTickerNum = 10;
    LONG m_ScaleSideChanged = 0;
    short m_OuterBorderLen = 4;
    short m_InnerBorderLen = 4;
    short m_ScalePrecision = 1;
    OLE_COLOR m_BorderDarkColor = 0xA8A8A8;
    OLE_COLOR m_BorderLightColor = 0xE4E4E4;
    BSTR m_UnitName;
    LONG m_BorderType = 0;
    short m_OuterTextHeight = 20;
    short m_OuterTextLength = 20;
    LONG m_ScaleRingBorderType = 3;
    LONG m_ScaleTextPosStyle = 1;
    LONG m_TickerAlignment = 0;
    OLE_COLOR m_TickerColor = 0;
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
    OLE_COLOR m_MarkerColor = 0xFF;
    LONG m_MarkerType = 6;
    LONG m_MarkerVisible = 1;
    LONG m_SetpointTextType = 0;
    OLE_COLOR m_CircleColor;
    OLE_COLOR m_ScaleRingColor = 0xE4E4E4;
    ScaleRange m_ranges[10];
    LONG m_ScaleRingVisible = 1;
    LONG m_BackStyle = 1;

    KnobGeometry m_geometry;  // pointer hit region, centre, pointer angle

    friend struct KnobPainter;
};

HRESULT CreateKnob(IUnknown* outer, REFIID iid, void** ppv);
