// The on/off switch: a two-state control (Value) drawn in one of seven
// shapes, with an independent status flag shown by a small lamp, optional
// texts and a picture for each state.
#pragma once
#include "framework/control.h"
#include "framework/dispatch.h"
#include "framework/picture.h"
#include "common/fontsink.h"
#include "Wendal.h"

// Rows whose accessors the switch writes itself.
#define FW_ACCESSOR_OWN(Name, T, member, dispid)

// Persisted properties in map order:
// X(dispid, Name, accessor kind, interface type, member, tag, bag key, page)
#define SWITCH_PROPERTIES(X)                                                                               \
    X(1, SwitchType, ENUM, SwitchShape, m_SwitchType, VT_I4, L"SwitchType", &CLSID_GeneralProp)              \
    X(2, BkColor, VALUE, OLE_COLOR, m_BkColor, VT_UI4, L"BkColor", &fw::kStockColorPage)                     \
    X(3, ForeColor, VALUE, OLE_COLOR, m_ForeColor, VT_UI4, L"ForeColor", &fw::kStockColorPage)               \
    X(4, EdgeColor, VALUE, OLE_COLOR, m_EdgeColor, VT_UI4, L"EdgeColor", &fw::kStockColorPage)               \
    X(5, StatusColor, VALUE, OLE_COLOR, m_StatusColor, VT_UI4, L"StatusColor", &fw::kStockColorPage)         \
    X(6, bShowStatus, BOOL, VARIANT_BOOL, m_ShowStatus, VT_BOOL, L"ShowStatus", &CLSID_OthersProp)           \
    X(7, Value, OWN, VARIANT_BOOL, m_Value, VT_BOOL, L"Value", nullptr)                                      \
    X(8, Status, OWN, VARIANT_BOOL, m_Status, VT_BOOL, L"Status", nullptr)                                   \
    X(9, ButtonHeight, VALUE, short, m_ButtonHeight, VT_I2, L"ButtonHeight", &CLSID_GeneralProp)             \
    X(10, SideLightColor, VALUE, OLE_COLOR, m_SideLightColor, VT_UI4, L"SideLightColor", &fw::kStockColorPage) \
    X(11, SideDarkColor, VALUE, OLE_COLOR, m_SideDarkColor, VT_UI4, L"SideDarkColor", &fw::kStockColorPage)  \
    X(12, BorderLen, VALUE, short, m_BorderLen, VT_I2, L"BorderLength", &CLSID_GeneralProp)                  \
    X(13, Light3D, ENUM, LightDirection, m_Light3D, VT_I4, L"LightType", &CLSID_GeneralProp)                 \
    X(14, ToggleHeight, VALUE, short, m_ToggleHeight, VT_I2, L"ToggleHeight", &CLSID_OthersProp)             \
    X(15, GradientRate, VALUE, float, m_GradientRate, VT_R4, L"GradientRate", &CLSID_OthersProp)             \
    X(16, RoundWidth, VALUE, short, m_RoundWidth, VT_I2, L"RoundWidth", &CLSID_OthersProp)                   \
    X(17, RoundHeight, VALUE, short, m_RoundHeight, VT_I2, L"RoundHeight", &CLSID_OthersProp)                \
    X(18, Text, BSTR, BSTR, m_Text, VT_BSTR, L"Text", &CLSID_GeneralProp)                                    \
    X(19, OnText, BSTR, BSTR, m_OnText, VT_BSTR, L"OnText", &CLSID_GeneralProp)                              \
    X(20, OffText, BSTR, BSTR, m_OffText, VT_BSTR, L"OffText", &CLSID_GeneralProp)                           \
    X(21, TextColor, VALUE, OLE_COLOR, m_TextColor, VT_UI4, L"TextColor", &fw::kStockColorPage)              \
    X(22, OnTextColor, VALUE, OLE_COLOR, m_OnTextColor, VT_UI4, L"OnTextColor", &fw::kStockColorPage)        \
    X(23, OffTextColor, VALUE, OLE_COLOR, m_OffTextColor, VT_UI4, L"OffTextColor", &fw::kStockColorPage)     \
    X(24, OnPicture, PICTURE, IPictureDisp*, m_OnPicture, VT_DISPATCH, L"OnPicture", &fw::kStockPicturePage)\
    X(25, OffPicture, PICTURE, IPictureDisp*, m_OffPicture, VT_DISPATCH, L"OffPicture", &fw::kStockPicturePage)\
    X(26, Font, STOCK, IFontDisp*, m_font, VT_DISPATCH, L"Font", &fw::kStockFontPage)                        \
    X(27, b3DText, BOOL, VARIANT_BOOL, m_3DText, VT_BOOL, L"3DText", &CLSID_GeneralProp)                     \
    X(28, bVerticalToggle, BOOL, VARIANT_BOOL, m_VerticalToggle, VT_BOOL, L"VerticalToggle", &CLSID_OthersProp) \
    X(29, bForeGradientToggle, BOOL, VARIANT_BOOL, m_ForeGradientToggle, VT_BOOL, L"ForeGradientToggle", &CLSID_OthersProp) \
    X(30, bCircleStatus, BOOL, VARIANT_BOOL, m_CircleStatus, VT_BOOL, L"CircleStatus", &CLSID_OthersProp)    \
    X(31, Enabled, STOCK, VARIANT_BOOL, m_enabled, VT_BOOL, L"Enabled", nullptr)                             \
    X(33, ImageStyle, ENUM, ImagePaintStyle, m_ImageStyle, VT_I4, L"ImageStyle", &CLSID_GeneralProp)         \
    X(34, BorderDarkColor, VALUE, OLE_COLOR, m_BorderDarkColor, VT_UI4, L"BorderDarkColor", &fw::kStockColorPage) \
    X(35, BorderLightColor, VALUE, OLE_COLOR, m_BorderLightColor, VT_UI4, L"BorderLightColor", &fw::kStockColorPage) \
    X(36, FontName, STOCK, BSTR, _, VT_BSTR, L"FontName", nullptr)                                           \
    X(37, FontSize, STOCK, short, _, VT_I2, L"FontSize", nullptr)                                            \
    X(38, FontBold, STOCK, VARIANT_BOOL, _, VT_BOOL, L"FontBold", nullptr)                                   \
    X(39, FontItalic, STOCK, VARIANT_BOOL, _, VT_BOOL, L"FontItalic", nullptr)                               \
    X(40, FontUnderline, STOCK, VARIANT_BOOL, _, VT_BOOL, L"FontUnderline", nullptr)                         \
    X(41, FontStrikethrough, STOCK, VARIANT_BOOL, _, VT_BOOL, L"FontStrikethrough", nullptr)                 \
    X(42, FontWeight, STOCK, short, _, VT_I2, L"FontWeight", nullptr)                                        \
    X(43, FontCharset, STOCK, short, _, VT_I2, L"FontCharset", nullptr)                                      \
    X(44, BackStyle, ENUM, BackStyleType, m_BackStyle, VT_I4, L"BackStyle", &CLSID_GeneralProp)              \
    X(45, StatusXOffset, VALUE, short, m_StatusXOffset, VT_I2, L"StatusXOffset", nullptr)                    \
    X(46, StatusYOffset, VALUE, short, m_StatusYOffset, VT_I2, L"StatusYOffset", &CLSID_GeneralProp)

// Event dispatch identifiers of _IQEV_SwitchEvents.
enum SwitchEvent : DISPID {
    SE_DblClick = 1,
    SE_Click = 2,
    SE_MouseDown = 3,
    SE_MouseUp = 4,
    SE_MouseMove = 5,
    SE_KeyDown = 6,
    SE_KeyUp = 7,
    SE_ValueChange = 8,
    SE_StatusChange = 9,
};

class CQEV_Switch : public fw::ControlBase, public fw::DualImpl<IQEV_Switch, &IID_IQEV_Switch> {
public:
    FW_DELEGATING_IUNKNOWN

    CQEV_Switch();
    ~CQEV_Switch() override;

    IDispatch* Dispatch() override { return static_cast<IQEV_Switch*>(this); }
    void Paint(const fw::RenderTarget& target) override;
    bool ProcessWindowMessage(HWND, UINT, WPARAM, LPARAM, LRESULT&) override;
    HRESULT InitNewProperties() override;

    FW_PROPERTY_ACCESSORS(SWITCH_PROPERTIES)
    FW_STOCK_PROPERTIES(31)

    STDMETHODIMP get_Value(VARIANT_BOOL* p) override;
    STDMETHODIMP put_Value(VARIANT_BOOL v) override;
    STDMETHODIMP get_Status(VARIANT_BOOL* p) override;
    STDMETHODIMP put_Status(VARIANT_BOOL v) override;

    static const fw::PropMap& Map();

    bool Pressed() const { return m_pressed != 0; }

private:
    // Stores a two-state flag, fires its event only on a change, and runs
    // the setter protocol either way.
    HRESULT PutFlag(LONG& flag, VARIANT_BOOL v, DISPID id, DISPID changeEvent);
    void OnButtonDown(int x, int y);
    void OnButtonUp(int x, int y);
    void OnMouseMove(int x, int y, bool buttonHeld);
    // Whether a release at (x, y) lands on the half that means on.
    bool ReleaseTurnsOn(int x, int y, bool& onCentreLine) const;

    LONG m_SwitchType = RECTANGLE;
    OLE_COLOR m_BkColor;
    OLE_COLOR m_ForeColor = 0xE0E0E0;
    OLE_COLOR m_EdgeColor = 0xFFFFFF;
    OLE_COLOR m_StatusColor = 0x0000FF;
    LONG m_ShowStatus = 1;
    LONG m_Value = 1;
    LONG m_Status = 1;
    short m_ButtonHeight = 6;
    OLE_COLOR m_SideDarkColor = 0x5A5A5A;
    OLE_COLOR m_SideLightColor = 0xFFFFFF;
    short m_BorderLen = 0;
    LONG m_Light3D = MIDDLE;
    short m_ToggleHeight = 6;
    float m_GradientRate = 0.5f;
    short m_RoundWidth = 20;
    short m_RoundHeight = 20;
    BSTR m_Text;
    BSTR m_OnText;
    BSTR m_OffText;
    OLE_COLOR m_TextColor = 0;
    OLE_COLOR m_OnTextColor = 0;
    OLE_COLOR m_OffTextColor = 0;
    fw::Picture m_OnPicture;
    fw::Picture m_OffPicture;
    LONG m_3DText = 0;
    LONG m_VerticalToggle = 1;
    LONG m_ForeGradientToggle = 1;
    LONG m_CircleStatus = 1;
    BYTE m_pressed = 0;
    LONG m_ImageStyle = IPS_TEXTURE;
    OLE_COLOR m_BorderDarkColor = 0xA8A8A8;
    OLE_COLOR m_BorderLightColor = 0xE4E4E4;
    LONG m_BackStyle = BS_Opaque;
    short m_StatusXOffset = 0;
    short m_StatusYOffset = 0;

    friend struct SwitchPainter;
};

HRESULT CreateSwitch(IUnknown* outer, REFIID iid, void** ppv);
