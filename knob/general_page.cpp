// The "General" page: frame, panel, pointer and geometry of a knob, or of a
// switch knob through its properties of the same names.
#include "pages.h"
#include "Tarnik.h"
#include "resource.h"

namespace {

enum : WORD {
    IDC_BORDERTYPE = 202,
    IDC_PANELTYPE = 204,
    IDC_BACKSTYLE = 206,
    IDC_PANELBORDERTYPE = 208,
    IDC_INDICATORTYPE = 210,
    IDC_SLIDERTYPE = 212,
    IDC_OUTERTEXTHEIGHT = 214,
    IDC_OUTERTEXTLENGTH = 216,
    IDC_OUTERBORDERLEN = 218,
    IDC_INNERBORDERLEN = 220,
    IDC_INDICATORSIZE = 222,
    IDC_SLIDERWIDTH = 224,
    IDC_STARTANGLE = 226,
    IDC_ENDANGLE = 228,
    IDC_PANELBORDERLEN = 230,
    IDC_GRADIENTRATE = 232,
};

// Both controls name these properties alike, so one table serves either.
template <class Itf>
struct GeneralFields {
    static const fw::PageField rows[16];
};
template <class Itf>
const fw::PageField GeneralFields<Itf>::rows[16] = {
    FW_PAGE_FIELD(IDC_BORDERTYPE, List, Itf, BorderType),
    FW_PAGE_FIELD(IDC_PANELTYPE, List, Itf, PanelType),
    FW_PAGE_FIELD(IDC_BACKSTYLE, List, Itf, BackStyle),
    FW_PAGE_FIELD(IDC_PANELBORDERTYPE, List, Itf, PanelBorderType),
    FW_PAGE_FIELD(IDC_INDICATORTYPE, List, Itf, IndicatorType),
    FW_PAGE_FIELD(IDC_SLIDERTYPE, List, Itf, SliderType),
    FW_PAGE_FIELD(IDC_OUTERTEXTHEIGHT, Integer, Itf, OuterTextHeight),
    FW_PAGE_FIELD(IDC_OUTERTEXTLENGTH, Integer, Itf, OuterTextLength),
    FW_PAGE_FIELD(IDC_OUTERBORDERLEN, Integer, Itf, OuterBorderLen),
    FW_PAGE_FIELD(IDC_INNERBORDERLEN, Integer, Itf, InnerBorderLen),
    FW_PAGE_FIELD(IDC_INDICATORSIZE, Integer, Itf, IndicatorSize),
    FW_PAGE_FIELD(IDC_SLIDERWIDTH, Integer, Itf, SliderWidth),
    FW_PAGE_FIELD(IDC_STARTANGLE, Integer, Itf, StartAngle),
    FW_PAGE_FIELD(IDC_ENDANGLE, Integer, Itf, EndAngle),
    FW_PAGE_FIELD(IDC_PANELBORDERLEN, Integer, Itf, PanelBorderLen),
    FW_PAGE_DECIMAL(IDC_GRADIENTRATE, Itf, GradientRate, 2, 0),
};

const fw::PageTarget kTargets[] = {
    fw::TargetOf(&IID_IQEV_Knob, GeneralFields<IQEV_Knob>::rows),
    fw::TargetOf(&IID_IQEV_SwitchKnob, GeneralFields<IQEV_SwitchKnob>::rows),
};

const WORD kLoadOrder[] = {
    IDC_BORDERTYPE,      IDC_BACKSTYLE,       IDC_PANELTYPE,      IDC_PANELBORDERTYPE, IDC_INDICATORTYPE,
    IDC_SLIDERTYPE,      IDC_OUTERTEXTHEIGHT, IDC_OUTERTEXTLENGTH, IDC_OUTERBORDERLEN, IDC_INNERBORDERLEN,
    IDC_STARTANGLE,      IDC_ENDANGLE,        IDC_PANELBORDERLEN, IDC_INDICATORSIZE,  IDC_SLIDERWIDTH,
    IDC_GRADIENTRATE,
};
const WORD kApplyOrder[] = {
    IDC_BORDERTYPE,      IDC_BACKSTYLE,       IDC_PANELTYPE,      IDC_PANELBORDERTYPE, IDC_INDICATORTYPE,
    IDC_SLIDERTYPE,      IDC_OUTERTEXTHEIGHT, IDC_OUTERTEXTLENGTH, IDC_OUTERBORDERLEN, IDC_INNERBORDERLEN,
    IDC_STARTANGLE,      IDC_ENDANGLE,        IDC_INDICATORSIZE,  IDC_SLIDERWIDTH,    IDC_PANELBORDERLEN,
    IDC_GRADIENTRATE,
};

const wchar_t* const kBorderTypes[] = {
    L"0 - Flat",          L"1 - Sunken",          L"2 - Raised",         L"3 - Circle",
    L"4 - 3D_Ring",       L"5 - 3D_Gradient",     L"6 - 3D_Flat_Circle", L"7 - Sunken_Circle",
    L"8 - Raised_Circle", L"9 - Configurable",
};
const wchar_t* const kPanelTypes[] = {L"0 - None", L"1 - Circle", L"2 - Bubble", L"3 - Hover"};
const wchar_t* const kBackStyles[] = {L"0 - Transparent", L"1 - Opaque"};
const wchar_t* const kPanelBorderTypes[] = {
    L"0 - Flat", L"1 - Gradient", L"2 - 3D_Flat", L"3 - 3D_Gradient", L"4 - 3D_Ring", L"5 - Sunken", L"6 - RAISED",
};
const wchar_t* const kIndicatorTypes[] = {
    L"0 - Rect_Flat",           L"1 - Rect_3D",          L"2 - Circle",
    L"3 - Slide_Circle",        L"4 - Round_Button",     L"5 - Slide_Round_Button",
    L"6 - Bubble",              L"7 - Slide_Bubble",     L"8 - Hover",
    L"9 - Slide_Hover",         L"10 - Needle",          L"11 - Bold_Needle",
    L"12 - Arrow_Needle",       L"13 - Arrow",           L"14 - Sunken_Needle",
    L"15 - Sunken_Bold_Needle", L"16 - Sunken_Arrow_Needle", L"17 - Sunken_Arrow",
};
const wchar_t* const kSliderTypes[] = {L"0 - Flat", L"1 - Gradient"};

const fw::PageList kLists[] = {
    fw::ListOf(IDC_BORDERTYPE, kBorderTypes),       fw::ListOf(IDC_PANELTYPE, kPanelTypes),
    fw::ListOf(IDC_BACKSTYLE, kBackStyles),         fw::ListOf(IDC_PANELBORDERTYPE, kPanelBorderTypes),
    fw::ListOf(IDC_INDICATORTYPE, kIndicatorTypes), fw::ListOf(IDC_SLIDERTYPE, kSliderTypes),
};

const fw::PageNumericEdit kNumericEdits[] = {
    {IDC_GRADIENTRATE, true, true},
    {IDC_STARTANGLE, true, false},
    {IDC_ENDANGLE, true, false},
};

const fw::PageDescription kPage =
    fw::DescribePage(IDD_GENERALPROP, IDS_TITLEGeneralProp, IDS_HELPFILEGeneralProp, IDS_DOCSTRINGGeneralProp,
                     kTargets, kLoadOrder, kApplyOrder, kLists, kNumericEdits);

}  // namespace

CGeneralProp::CGeneralProp() : fw::PropertyPageBase(kPage) {}
