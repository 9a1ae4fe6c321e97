// The switch slider: a range field with a row of keyed item marks beside it
// and a marker the user drags onto one of them.
#pragma once
#include "framework/control.h"
#include "framework/dispatch.h"
#include "common/fontsink.h"
#include "common/switchmethods.h"
#include "Morvel.h"
#include "slider.h"

// Persisted properties in map order:
// X(dispid, Name, accessor kind, interface type, member, tag, bag key, page)
#define SWITCHSLIDER_PROPERTIES(X)                                                                           \
    X(1, Vertical, BOOL, VARIANT_BOOL, m_Vertical, VT_BOOL, L"Vertical", &CLSID_GeneralProp)                   \
    X(2, BkColor, VALUE, OLE_COLOR, m_BkColor, VT_UI4, L"BkColor", &fw::kStockColorPage)                       \
    X(3, RangeBkColor, VALUE, OLE_COLOR, m_RangeBkColor, VT_UI4, L"RangeBkColor", &fw::kStockColorPage)        \
    X(4, InverseDirection, BOOL, VARIANT_BOOL, m_InverseDirection, VT_BOOL, L"InverseDirection", &CLSID_GeneralProp) \
    X(5, MarkerStyle, ENUM, SliderMarkerStyle, m_MarkerStyle, VT_I4, L"MarkerStyle", &CLSID_GeneralProp)       \
    X(6, ScaleSideChanged, BOOL, VARIANT_BOOL, m_ScaleSideChanged, VT_BOOL, L"ScaleSideChanged", &CLSID_GeneralProp) \
    X(7, BorderStyle, ENUM, SliderBorderStyle, m_BorderStyle, VT_I4, L"BorderStyle", &CLSID_GeneralProp)       \
    X(8, OuterBorderLen, VALUE, short, m_OuterBorderLen, VT_I2, L"OuterBorderLen", &CLSID_GeneralProp)         \
    X(9, InnerBorderLen, VALUE, short, m_InnerBorderLen, VT_I2, L"InnerBorderLen", &CLSID_GeneralProp)         \
    X(10, BorderDarkColor, VALUE, OLE_COLOR, m_BorderDarkColor, VT_UI4, L"BorderDarkColor", &fw::kStockColorPage) \
    X(11, BorderLightColor, VALUE, OLE_COLOR, m_BorderLightColor, VT_UI4, L"BorderLightColor", &fw::kStockColorPage) \
    X(12, RangeBorderStyle, ENUM, SliderBorderStyle, m_RangeBorderStyle, VT_I4, L"RangeBorderStyle", &CLSID_GeneralProp) \
    X(13, RangeFieldWidth, VALUE, short, m_RangeFieldWidth, VT_I2, L"RangeFieldWidth", &CLSID_GeneralProp)     \
    X(14, ScaleVisible, BOOL, VARIANT_BOOL, m_ScaleVisible, VT_BOOL, L"ScaleVisible", &CLSID_GeneralProp)      \
    X(15, MarkerWidth, VALUE, short, m_MarkerWidth, VT_I2, L"MarkerWidth", &CLSID_GeneralProp)                 \
    X(16, MarkerHeight, VALUE, short, m_MarkerHeight, VT_I2, L"MarkerHeight", &CLSID_GeneralProp)              \
    X(17, ScaleGap, VALUE, short, m_ScaleGap, VT_I2, L"ScaleGap", &CLSID_GeneralProp)                          \
    X(18, MarkerColor, VALUE, OLE_COLOR, m_MarkerColor, VT_UI4, L"MarkerColor", &fw::kStockColorPage)          \
    X(19, RangeEndGap, VALUE, short, m_RangeEndGap, VT_I2, L"RangeEndGap", &CLSID_GeneralProp)                 \
    X(20, IndicatorType, ENUM, IndicatorStyle, m_IndicatorType, VT_I4, L"IndicatorType", &CLSID_GeneralProp)   \
    X(21, IndicatorSize, VALUE, short, m_IndicatorSize, VT_I2, L"IndicatorSize", &CLSID_GeneralProp)           \
    X(22, Font, STOCK, IFontDisp*, m_font, VT_DISPATCH, L"Font", &fw::kStockFontPage)                          \
    X(27, Enabled, STOCK, VARIANT_BOOL, m_enabled, VT_BOOL, L"Enabled", nullptr)                               \
    X(29, FontName, STOCK, BSTR, _, VT_BSTR, L"FontName", nullptr)                                             \
    X(30, FontSize, STOCK, short, _, VT_I2, L"FontSize", nullptr)                                              \
    X(31, FontBold, STOCK, VARIANT_BOOL, _, VT_BOOL, L"FontBold", nullptr)                                     \
    X(32, FontItalic, STOCK, VARIANT_BOOL, _, VT_BOOL, L"FontItalic", nullptr)                                 \
    X(33, FontUnderline, STOCK, VARIANT_BOOL, _, VT_BOOL, L"FontUnderline", nullptr)                           \
    X(34, FontStrikethrough, STOCK, VARIANT_BOOL, _, VT_BOOL, L"FontStrikethrough", nullptr)                   \
    X(35, FontWeight, STOCK, short, _, VT_I2, L"FontWeight", nullptr)                                          \
    X(36, FontCharset, STOCK, short, _, VT_I2, L"FontCharset", nullptr)                                        \
    X(37, BackStyle, ENUM, BackStyleType, m_BackStyle, VT_I4, L"BackStyle", &CLSID_GeneralProp)

class CQEV_SwitchSlider : public fw::ControlBase,
                          public SwitchItemMethods<CQEV_SwitchSlider, IQEV_SwitchSlider, &IID_IQEV_SwitchSlider> {
public:
    FW_DELEGATING_IUNKNOWN

    CQEV_SwitchSlider();
    ~CQEV_SwitchSlider() override = default;

    IDispatch* Dispatch() override { return static_cast<IQEV_SwitchSlider*>(this); }
    void Paint(const fw::RenderTarget& target) override;
    bool ProcessWindowMessage(HWND, UINT, WPARAM, LPARAM, LRESULT&) override;
    HRESULT InitNewProperties() override;

    FW_PROPERTY_ACCESSORS(SWITCHSLIDER_PROPERTIES)
    FW_STOCK_PROPERTIES(27)

    static const fw::PropMap& Map();

private:
    void PressOnMarker(int x, int y);
    void OnMouseMove(int x, int y, bool buttonHeld);
    void EndDragAndSnap();
    void Snap();

    LONG m_Vertical = 0;  // horizontal until loaded or set
    OLE_COLOR m_BkColor = 0xCFD1D6;
    OLE_COLOR m_RangeBkColor = 0x00FF00;
    LONG m_InverseDirection = 0;
    LONG m_MarkerStyle = 0;
    LONG m_ScaleSideChanged = 0;
    LONG m_ScaleVisible = 1;
    LONG m_BorderStyle = 0;
    short m_OuterBorderLen = 4;
    short m_InnerBorderLen = 4;
    OLE_COLOR m_BorderDarkColor = 0xA8A8A8;
    OLE_COLOR m_BorderLightColor = 0xE4E4E4;
    LONG m_RangeBorderStyle = 0;
    short m_RangeFieldWidth = 10;
    short m_MarkerWidth = 15;
    short m_MarkerHeight = 20;
    short m_ScaleGap = 0;
    short m_RangeEndGap = 8;
    OLE_COLOR m_MarkerColor = 0xD0D0D0;
    LONG m_IndicatorType = 0;
    short m_IndicatorSize = 6;
    float m_gradientLevel = 0.5f;
    // Last point accepted while dragging; none before the first drag, so a
    // first click snaps to nothing.
    bool m_hasDragPoint = false;
    POINT m_dragPoint{0, 0};
    LONG m_BackStyle = 1;

    SliderGeometry m_geometry;  // range field and marker rectangles of the last own paint

    friend struct SwitchSliderPainter;
};

HRESULT CreateSwitchSlider(IUnknown* outer, REFIID iid, void** ppv);
