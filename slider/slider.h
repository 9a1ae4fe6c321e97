// The linear slider: a scale with ticks and labels, a range field with an
// actual-value band, and a marker the user drags to choose a set point.
#pragma once
#include "framework/control.h"
#include "framework/dispatch.h"
#include "common/fontsink.h"
#include "Morvel.h"
#include "slider_geometry.h"

// Persisted properties in map order:
// X(dispid, Name, accessor kind, interface type, member, tag, bag key, page)
// The row named "FontStrikethrough" carries FontUnderline's dispid 41: saved
// files hold the underline value in that slot, and strikethrough travels in
// the saved Font object.
#define SLIDER_PROPERTIES(X)                                                                                 \
    X(1, Vertical, BOOL, VARIANT_BOOL, m_Vertical, VT_BOOL, L"Vertical", &CLSID_GeneralProp)                   \
    X(2, BkColor, VALUE, OLE_COLOR, m_BkColor, VT_UI4, L"BkColor", &fw::kStockColorPage)                       \
    X(3, RangeBkColor, VALUE, OLE_COLOR, m_RangeBkColor, VT_UI4, L"RangeBkColor", &fw::kStockColorPage)        \
    X(4, InverseDirection, BOOL, VARIANT_BOOL, m_InverseDirection, VT_BOOL, L"InverseDirection", &CLSID_GeneralProp) \
    X(5, MaxVal, VALUE, double, m_MaxVal, VT_R8, L"MaxVal", &CLSID_OthersProp)                                 \
    X(6, MinVal, VALUE, double, m_MinVal, VT_R8, L"MinVal", &CLSID_OthersProp)                                 \
    X(7, TickerNum, VALUE, short, m_TickerNum, VT_I2, L"TickerNum", &CLSID_OthersProp)                         \
    X(8, SubTickerNum, VALUE, short, m_SubTickerNum, VT_I2, L"SubTickerNum", &CLSID_OthersProp)                \
    X(9, TextColor, VALUE, OLE_COLOR, m_TextColor, VT_UI4, L"TextColor", &fw::kStockColorPage)                 \
    X(10, MarkerStyle, ENUM, SliderMarkerStyle, m_MarkerStyle, VT_I4, L"MarkerStyle", &CLSID_GeneralProp)      \
    X(11, ScaleSideChanged, BOOL, VARIANT_BOOL, m_ScaleSideChanged, VT_BOOL, L"ScaleSideChanged", &CLSID_GeneralProp) \
    X(12, BorderStyle, ENUM, SliderBorderStyle, m_BorderStyle, VT_I4, L"BorderStyle", &CLSID_GeneralProp)      \
    X(13, OuterBorderLen, VALUE, short, m_OuterBorderLen, VT_I2, L"OuterBorderLen", &CLSID_GeneralProp)        \
    X(14, InnerBorderLen, VALUE, short, m_InnerBorderLen, VT_I2, L"InnerBorderLen", &CLSID_GeneralProp)        \
    X(15, BorderDarkColor, VALUE, OLE_COLOR, m_BorderDarkColor, VT_UI4, L"BorderDarkColor", &fw::kStockColorPage) \
    X(16, BorderLightColor, VALUE, OLE_COLOR, m_BorderLightColor, VT_UI4, L"BorderLightColor", &fw::kStockColorPage) \
    X(17, RangeBorderStyle, ENUM, SliderBorderStyle, m_RangeBorderStyle, VT_I4, L"RangeBorderStyle", &CLSID_GeneralProp) \
    X(18, RangeFieldWidth, VALUE, short, m_RangeFieldWidth, VT_I2, L"RangeFieldWidth", &CLSID_GeneralProp)     \
    X(19, RangeActualColor, VALUE, OLE_COLOR, m_RangeActualColor, VT_UI4, L"RangeActualColor", &fw::kStockColorPage) \
    X(20, PercentageScale, BOOL, VARIANT_BOOL, m_PercentageScale, VT_BOOL, L"PercentageScale", &CLSID_OthersProp) \
    X(21, ScaleVisible, BOOL, VARIANT_BOOL, m_ScaleVisible, VT_BOOL, L"ScaleVisible", &CLSID_GeneralProp)      \
    X(22, ShowSetpointValue, BOOL, VARIANT_BOOL, m_ShowSetpointValue, VT_BOOL, L"ShowSetpointValue", &CLSID_OthersProp) \
    X(23, ActualRangeVisible, BOOL, VARIANT_BOOL, m_ActualRangeVisible, VT_BOOL, L"ActualRangeVisible", &CLSID_OthersProp) \
    X(24, ShowActualValue, BOOL, VARIANT_BOOL, m_ShowActualValue, VT_BOOL, L"ShowActualValue", &CLSID_OthersProp) \
    X(25, ScalePrecision, VALUE, short, m_ScalePrecision, VT_I2, L"ScalePrecision", &CLSID_OthersProp)         \
    X(26, MarkerWidth, VALUE, short, m_MarkerWidth, VT_I2, L"MarkerWidth", &CLSID_GeneralProp)                 \
    X(27, MarkerHeight, VALUE, short, m_MarkerHeight, VT_I2, L"MarkerHeight", &CLSID_GeneralProp)              \
    X(28, ScaleGap, VALUE, short, m_ScaleGap, VT_I2, L"ScaleGap", &CLSID_GeneralProp)                          \
    X(29, MarkerColor, VALUE, OLE_COLOR, m_MarkerColor, VT_UI4, L"MarkerColor", &fw::kStockColorPage)          \
    X(30, RangeEndGap, VALUE, short, m_RangeEndGap, VT_I2, L"RangeEndGap", &CLSID_GeneralProp)                 \
    X(31, Font, STOCK, IFontDisp*, m_font, VT_DISPATCH, L"Font", &fw::kStockFontPage)                          \
    X(35, Enabled, STOCK, VARIANT_BOOL, m_enabled, VT_BOOL, L"Enabled", nullptr)                               \
    X(37, FontName, STOCK, BSTR, _, VT_BSTR, L"FontName", nullptr)                                             \
    X(38, FontSize, STOCK, short, _, VT_I2, L"FontSize", nullptr)                                              \
    X(39, FontBold, STOCK, VARIANT_BOOL, _, VT_BOOL, L"FontBold", nullptr)                                     \
    X(40, FontItalic, STOCK, VARIANT_BOOL, _, VT_BOOL, L"FontItalic", nullptr)                                 \
    X(41, FontUnderline, STOCK, VARIANT_BOOL, _, VT_BOOL, L"FontUnderline", nullptr)                           \
    X(41, FontStrikethrough, STOCK, VARIANT_BOOL, _, VT_BOOL, L"FontStrikethrough", nullptr)                   \
    X(43, FontWeight, STOCK, short, _, VT_I2, L"FontWeight", nullptr)                                          \
    X(44, FontCharset, STOCK, short, _, VT_I2, L"FontCharset", nullptr)                                        \
    X(45, BackStyle, ENUM, BackStyleType, m_BackStyle, VT_I4, L"BackStyle", &CLSID_GeneralProp)

// Event dispatch identifiers of _IQEV_SliderEvents and _IQEV_SwitchSliderEvents.
enum SliderEvent : DISPID {
    SE_ValueEvent = 1,  // SetpointChange of the slider, ValueChange of the switch slider
    SE_DblClick = 2,
    SE_Click = 3,
    SE_MouseDown = 4,
    SE_MouseUp = 5,
    SE_MouseMove = 6,
    SE_KeyDown = 7,
    SE_KeyUp = 8,
};

// The common events of both controls of the library.
extern const fw::ControlBase::CommonEventIds kSliderEvents;

class CQEV_Slider : public fw::ControlBase, public fw::DualImpl<IQEV_Slider, &IID_IQEV_Slider> {
public:
    FW_DELEGATING_IUNKNOWN

    CQEV_Slider();
    ~CQEV_Slider() override = default;

    IDispatch* Dispatch() override { return static_cast<IQEV_Slider*>(this); }
    void Paint(const fw::RenderTarget& target) override;
    bool ProcessWindowMessage(HWND, UINT, WPARAM, LPARAM, LRESULT&) override;
    HRESULT InitNewProperties() override;

    FW_PROPERTY_ACCESSORS(SLIDER_PROPERTIES)
    FW_STOCK_PROPERTIES(35)

    STDMETHODIMP UpdateActualValue(double Val) override;
    STDMETHODIMP UpdateSetpoint(double Val) override;
    STDMETHODIMP GetSetpoint(double* pVal) override;

    static const fw::PropMap& Map();

private:
    void OnMouseMove(int x, int y, bool buttonHeld);

    LONG m_Vertical = 0;  // horizontal until loaded or set
    OLE_COLOR m_BkColor = 0xCFD1D6;
    OLE_COLOR m_RangeBkColor = 0x00FF00;
    OLE_COLOR m_TextColor = 0x0000FF;
    LONG m_InverseDirection = 0;
    double m_setpoint = 50.0;
    double m_MaxVal = 100.0;
    double m_MinVal = 0.0;
    short m_TickerNum = 5;
    short m_SubTickerNum = 4;
    LONG m_MarkerStyle = 0;
    LONG m_ScaleSideChanged = 0;
    LONG m_BorderStyle = 0;
    short m_OuterBorderLen = 4;
    short m_InnerBorderLen = 4;
    OLE_COLOR m_BorderDarkColor = 0xA8A8A8;
    OLE_COLOR m_BorderLightColor = 0xE4E4E4;
    LONG m_RangeBorderStyle = 0;
    short m_RangeFieldWidth = 10;
    OLE_COLOR m_RangeActualColor = 0xA8FAFA;
    LONG m_PercentageScale = 0;
    LONG m_ScaleVisible = 1;
    LONG m_ShowSetpointValue = 0;
    LONG m_ActualRangeVisible = 0;
    LONG m_ShowActualValue = 0;
    double m_actual = 0.0;
    short m_ScalePrecision = 1;
    short m_MarkerWidth = 15;
    short m_MarkerHeight = 20;
    short m_ScaleGap = 0;
    short m_RangeEndGap = 0;
    OLE_COLOR m_MarkerColor = 0xD0D0D0;
    float m_gradientLevel = 0.5f;
    LONG m_BackStyle = 1;

    SliderGeometry m_geometry;  // value and marker rectangles of the last own paint

    friend struct SliderPainter;
};

HRESULT CreateSlider(IUnknown* outer, REFIID iid, void** ppv);
