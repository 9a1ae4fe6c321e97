// The smart button: a push button of seventeen outlines with flat, shaded or
// picture faces, configurable bevels, an icon, a caption and two auxiliary
// texts, and colours of its own for hover, press, focus and disabled.
#pragma once
#include "framework/control.h"
#include "framework/dispatch.h"
#include "framework/picture.h"
#include "common/fontsink.h"
#include "Pellan.h"

// Persisted properties in map order:
// X(dispid, Name, accessor kind, interface type, member, tag, bag key, page)
#define SMARTBUTTON_PROPERTIES(X)                                                                           \
    X(1, ShapeType, ENUM, ButtonShapeStyle, m_ShapeType, VT_I4, L"ShapeType", &CLSID_SBGeneralProp)          \
    X(2, BorderType, ENUM, ButtonBorderStyle, m_BorderType, VT_I4, L"BorderType", &CLSID_SBGeneralProp)      \
    X(3, FaceType, ENUM, ButtonFaceStyle, m_FaceType, VT_I4, L"FaceType", &CLSID_SBGeneralProp)              \
    X(4, IconType, ENUM, ButtonIconStyle, m_IconType, VT_I4, L"IconType", &CLSID_SBGeneralProp)              \
    X(5, IconPosType, ENUM, ButtonIconPosStyle, m_IconPosType, VT_I4, L"IconPosType", &CLSID_SBGeneralProp)  \
    X(6, FaceColor, VALUE, OLE_COLOR, m_FaceColor, VT_UI4, L"FaceColor", &fw::kStockColorPage)               \
    X(7, Caption, BSTR, BSTR, m_Caption, VT_BSTR, L"Caption", &CLSID_SBTextProp)                             \
    X(8, TextColor, VALUE, OLE_COLOR, m_TextColor, VT_UI4, L"TextColor", &fw::kStockColorPage)               \
    X(9, BorderDarkColor, VALUE, OLE_COLOR, m_BorderDarkColor, VT_UI4, L"BorderDarkColor", &fw::kStockColorPage) \
    X(10, BorderLightColor, VALUE, OLE_COLOR, m_BorderLightColor, VT_UI4, L"BorderLightColor", &fw::kStockColorPage) \
    X(11, OuterBorderLen, VALUE, short, m_OuterBorderLen, VT_I2, L"OuterBorderLen", &CLSID_SBGeneralProp)    \
    X(12, InnerBorderLen, VALUE, short, m_InnerBorderLen, VT_I2, L"InnerBorderLen", &CLSID_SBGeneralProp)    \
    X(13, Font, STOCK, IFontDisp*, m_font, VT_DISPATCH, L"Font", &fw::kStockFontPage)                        \
    X(14, Picture, PICTURE, IPictureDisp*, m_Picture, VT_DISPATCH, L"Picture", &fw::kStockPicturePage)     \
    X(15, GradientRate, VALUE, float, m_GradientRate, VT_R4, L"GradientRate", &CLSID_SBGeneralProp)          \
    X(16, CaptureColor, VALUE, OLE_COLOR, m_CaptureColor, VT_UI4, L"CaptureColor", &fw::kStockColorPage)     \
    X(17, RoundRadius, VALUE, short, m_RoundRadius, VT_I2, L"RoundRadius", &CLSID_SBGeneralProp)             \
    X(18, IconBorderType, ENUM, ButtonIconBorderStyle, m_IconBorderType, VT_I4, L"IconBorderType", &CLSID_SBGeneralProp) \
    X(19, IconColor, VALUE, OLE_COLOR, m_IconColor, VT_UI4, L"IconColor", &fw::kStockColorPage)              \
    X(20, IconSize, VALUE, short, m_IconSize, VT_I2, L"IconSize", &CLSID_SBGeneralProp)                      \
    X(21, Text3D, BOOL, VARIANT_BOOL, m_Text3D, VT_BOOL, L"Text3D", &CLSID_SBTextProp)                       \
    X(22, Enabled, STOCK, VARIANT_BOOL, m_enabled, VT_BOOL, L"Enabled", nullptr)                             \
    X(23, TextCaptureColor, VALUE, OLE_COLOR, m_TextCaptureColor, VT_UI4, L"TextCaptureColor", &fw::kStockColorPage) \
    X(24, TextPressDownColor, VALUE, OLE_COLOR, m_TextPressDownColor, VT_UI4, L"TextPressDownColor", &fw::kStockColorPage) \
    X(25, TextPos, ENUM, ButtonTxtPosStyle, m_TextPos, VT_I4, L"TextPos", &CLSID_SBTextProp)                 \
    X(26, Text1, BSTR, BSTR, m_Text1, VT_BSTR, L"Text1", &CLSID_SBTextProp)                                  \
    X(27, Text1Color, VALUE, OLE_COLOR, m_Text1Color, VT_UI4, L"Text1Color", &fw::kStockColorPage)           \
    X(28, Text1CaptureColor, VALUE, OLE_COLOR, m_Text1CaptureColor, VT_UI4, L"Text1CaptureColor", &fw::kStockColorPage) \
    X(29, Text1PressDownColor, VALUE, OLE_COLOR, m_Text1PressDownColor, VT_UI4, L"Text1PressDownColor", &fw::kStockColorPage) \
    X(30, Text1Pos, ENUM, ButtonTxtPosStyle, m_Text1Pos, VT_I4, L"Text1Pos", &CLSID_SBTextProp)              \
    X(31, Text1Visible, BOOL, VARIANT_BOOL, m_Text1Visible, VT_BOOL, L"Text1Visible", &CLSID_SBTextProp)     \
    X(32, TextXOffset, VALUE, long, m_TextXOffset, VT_I4, L"TextXOffset", &CLSID_SBTextProp)                 \
    X(33, TextYOffset, VALUE, long, m_TextYOffset, VT_I4, L"TextYOffset", &CLSID_SBTextProp)                 \
    X(34, Text1XOffset, VALUE, long, m_Text1XOffset, VT_I4, L"Text1XOffset", &CLSID_SBTextProp)              \
    X(35, Text1YOffset, VALUE, long, m_Text1YOffset, VT_I4, L"Text1YOffset", &CLSID_SBTextProp)              \
    X(36, Text2, BSTR, BSTR, m_Text2, VT_BSTR, L"Text2", &CLSID_SBTextProp)                                  \
    X(37, Text2Color, VALUE, OLE_COLOR, m_Text2Color, VT_UI4, L"Text2Color", &fw::kStockColorPage)           \
    X(38, Text2CaptureColor, VALUE, OLE_COLOR, m_Text2CaptureColor, VT_UI4, L"Text2CaptureColor", &fw::kStockColorPage) \
    X(39, Text2PressDownColor, VALUE, OLE_COLOR, m_Text2PressDownColor, VT_UI4, L"Text2PressDownColor", &fw::kStockColorPage) \
    X(40, Text2Pos, ENUM, ButtonTxtPosStyle, m_Text2Pos, VT_I4, L"Text2Pos", &CLSID_SBTextProp)              \
    X(41, Text2Visible, BOOL, VARIANT_BOOL, m_Text2Visible, VT_BOOL, L"Text2Visible", &CLSID_SBTextProp)     \
    X(42, Text2XOffset, VALUE, long, m_Text2XOffset, VT_I4, L"Text2XOffset", &CLSID_SBTextProp)              \
    X(43, Text2YOffset, VALUE, long, m_Text2YOffset, VT_I4, L"Text2YOffset", &CLSID_SBTextProp)              \
    X(44, FocusColor, VALUE, OLE_COLOR, m_FocusColor, VT_UI4, L"FocusColor", &fw::kStockColorPage)           \
    X(45, DisableColor, VALUE, OLE_COLOR, m_DisableColor, VT_UI4, L"DisableColor", &fw::kStockColorPage)     \
    X(46, CaptionVisible, BOOL, VARIANT_BOOL, m_CaptionVisible, VT_BOOL, L"CaptionVisible", &CLSID_SBTextProp) \
    X(47, DynamicBorder, BOOL, VARIANT_BOOL, m_DynamicBorder, VT_BOOL, L"DynamicBorder", &CLSID_SBGeneralProp) \
    X(48, GradientColor, VALUE, OLE_COLOR, m_GradientColor, VT_UI4, L"GradientColor", &fw::kStockColorPage)  \
    X(49, WordWrap, BOOL, VARIANT_BOOL, m_WordWrap, VT_BOOL, L"WordWrap", &CLSID_SBGeneralProp)              \
    X(50, ImageStyle, ENUM, ImagePaintStyle, m_ImageStyle, VT_I4, L"ImageStyle", &CLSID_SBGeneralProp)       \
    X(52, FontName, STOCK, BSTR, _, VT_BSTR, L"FontName", nullptr)                                           \
    X(53, FontSize, STOCK, short, _, VT_I2, L"FontSize", nullptr)                                            \
    X(54, FontBold, STOCK, VARIANT_BOOL, _, VT_BOOL, L"FontBold", nullptr)                                   \
    X(55, FontItalic, STOCK, VARIANT_BOOL, _, VT_BOOL, L"FontItalic", nullptr)                               \
    X(56, FontUnderline, STOCK, VARIANT_BOOL, _, VT_BOOL, L"FontUnderline", nullptr)                         \
    X(57, FontStrikethrough, STOCK, VARIANT_BOOL, _, VT_BOOL, L"FontStrikethrough", nullptr)                 \
    X(58, FontWeight, STOCK, short, _, VT_I2, L"FontWeight", nullptr)                                        \
    X(59, FontCharset, STOCK, short, _, VT_I2, L"FontCharset", nullptr)

// Event dispatch identifiers of _IQEV_SmartButtonEvents.
enum SmartButtonEvent : DISPID {
    SBE_DblClick = 1,
    SBE_Click = 2,
    SBE_MouseDown = 3,
    SBE_MouseUp = 4,
    SBE_MouseMove = 5,
    SBE_KeyDown = 6,
    SBE_KeyUp = 7,
};

class CQEV_SmartButton : public fw::ControlBase, public fw::DualImpl<IQEV_SmartButton, &IID_IQEV_SmartButton> {
public:
    FW_DELEGATING_IUNKNOWN

    CQEV_SmartButton();
    ~CQEV_SmartButton() override;

    IDispatch* Dispatch() override { return static_cast<IQEV_SmartButton*>(this); }
    void Paint(const fw::RenderTarget& target) override;
    bool ProcessWindowMessage(HWND, UINT, WPARAM, LPARAM, LRESULT&) override;
    void OnEnabledChanged() override;

    FW_PROPERTY_ACCESSORS(SMARTBUTTON_PROPERTIES)
    FW_STOCK_PROPERTIES(22)

    static const fw::PropMap& Map();

    // The shape the last paint of the own window built: what input hit-tests.
    HRGN Region() const { return m_region; }

private:
    // Input (button_input.cpp).
    void OnButtonDown(int x, int y);
    void OnButtonUp(int x, int y);
    void OnMouseMove(int x, int y);
    void ClearHover();
    void Repaint();
    // Keeps a region built by a paint of the own window for hit tests and,
    // for a paint that came with a DC, gives the window a copy of it.
    void KeepRegion(HRGN region, const fw::RenderTarget& target);
    void ApplyWindowRegion(bool inPaint = false);

    float m_GradientRate = 0.5f;
    short m_OuterBorderLen = 2;
    short m_InnerBorderLen = 1;
    OLE_COLOR m_BorderDarkColor = 0xA8A8A8;
    OLE_COLOR m_BorderLightColor = 0xE4E4E4;
    BSTR m_Caption;
    OLE_COLOR m_TextColor = 0;
    OLE_COLOR m_FaceColor;
    LONG m_IconPosType = BIPS_CENTER;
    LONG m_IconType = BIS_NONE;
    LONG m_FaceType = BFS_FLAT;
    LONG m_BorderType = BBS_NORMAL;
    LONG m_ShapeType = BSS_RECT;
    fw::Picture m_Picture;
    OLE_COLOR m_IconColor = 0xFFFFFF;
    short m_IconSize = 10;
    LONG m_IconBorderType = BIBS_FLAT;
    LONG m_Text3D = 0;
    HRGN m_region = nullptr;  // the button region of the last own paint
    BYTE m_pressed = 0;
    OLE_COLOR m_CaptureColor;
    BYTE m_hover = 0;
    short m_RoundRadius = 4;
    OLE_COLOR m_TextCaptureColor = 0;
    OLE_COLOR m_TextPressDownColor = 0;
    LONG m_TextPos = BTPS_CENTER;
    LONG m_TextXOffset = 0;
    LONG m_TextYOffset = 0;
    LONG m_CaptionVisible = 1;
    BSTR m_Text1;
    OLE_COLOR m_Text1Color = 0;
    OLE_COLOR m_Text1CaptureColor = 0;
    OLE_COLOR m_Text1PressDownColor = 0;
    LONG m_Text1Pos = BTPS_LEFT_BOTTOM;
    LONG m_Text1Visible = 0;
    LONG m_Text1XOffset = 0;
    LONG m_Text1YOffset = 0;
    BSTR m_Text2;
    OLE_COLOR m_Text2Color = 0;
    OLE_COLOR m_Text2CaptureColor = 0;
    OLE_COLOR m_Text2PressDownColor = 0;
    LONG m_Text2Pos = BTPS_RIGHT_BOTTOM;
    LONG m_Text2Visible = 0;
    LONG m_Text2XOffset = 0;
    LONG m_Text2YOffset = 0;
    OLE_COLOR m_FocusColor;
    OLE_COLOR m_DisableColor;
    LONG m_DynamicBorder = 0;
    OLE_COLOR m_GradientColor = 0xFFFFFF;
    LONG m_WordWrap = 0;
    BYTE m_focus = 0;
    LONG m_ImageStyle = IPS_ORIGINALSIZE;

    friend struct SmartButtonPainter;
};

HRESULT CreateSmartButton(IUnknown* outer, REFIID iid, void** ppv);
