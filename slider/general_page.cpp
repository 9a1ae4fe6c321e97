// The "General" page: layout and styles of a slider, or of a switch slider
// with its two item-mark fields besides.
#include "pages.h"
#include "Morvel.h"
#include "resource.h"

namespace {

enum : WORD {
    IDC_VERTICAL = 202,
    IDC_INVERSEDIRECTION = 203,
    IDC_SCALESIDECHANGED = 204,
    IDC_SCALEVISIBLE = 205,
    IDC_MARKERSTYLE = 207,
    IDC_BACKSTYLE = 209,
    IDC_BORDERSTYLE = 211,
    IDC_RANGEBORDERSTYLE = 213,
    IDC_OUTERBORDERLEN = 215,
    IDC_INNERBORDERLEN = 217,
    IDC_RANGEFIELDWIDTH = 219,
    IDC_RANGEENDGAP = 221,
    IDC_SCALEGAP = 223,
    IDC_MARKERWIDTH = 225,
    IDC_MARKERHEIGHT = 227,
    IDC_INDICATORTYPELABEL = 228,
    IDC_INDICATORTYPE = 229,
    IDC_INDICATORSIZELABEL = 230,
    IDC_INDICATORSIZE = 231,
};

// Both controls name these properties alike.
#define GENERAL_FIELDS(Itf)                                            \
    FW_PAGE_FIELD(IDC_VERTICAL, Check, Itf, Vertical),                 \
    FW_PAGE_FIELD(IDC_INVERSEDIRECTION, Check, Itf, InverseDirection), \
    FW_PAGE_FIELD(IDC_SCALESIDECHANGED, Check, Itf, ScaleSideChanged), \
    FW_PAGE_FIELD(IDC_SCALEVISIBLE, Check, Itf, ScaleVisible),         \
    FW_PAGE_FIELD(IDC_MARKERSTYLE, List, Itf, MarkerStyle),            \
    FW_PAGE_FIELD(IDC_BACKSTYLE, List, Itf, BackStyle),                \
    FW_PAGE_FIELD(IDC_BORDERSTYLE, List, Itf, BorderStyle),            \
    FW_PAGE_FIELD(IDC_RANGEBORDERSTYLE, List, Itf, RangeBorderStyle),  \
    FW_PAGE_FIELD(IDC_OUTERBORDERLEN, Integer, Itf, OuterBorderLen),   \
    FW_PAGE_FIELD(IDC_INNERBORDERLEN, Integer, Itf, InnerBorderLen),   \
    FW_PAGE_FIELD(IDC_RANGEFIELDWIDTH, Integer, Itf, RangeFieldWidth), \
    FW_PAGE_FIELD(IDC_RANGEENDGAP, Integer, Itf, RangeEndGap),         \
    FW_PAGE_FIELD(IDC_SCALEGAP, Integer, Itf, ScaleGap),               \
    FW_PAGE_FIELD(IDC_MARKERWIDTH, Integer, Itf, MarkerWidth),         \
    FW_PAGE_FIELD(IDC_MARKERHEIGHT, Integer, Itf, MarkerHeight)

const fw::PageField kSliderFields[] = {GENERAL_FIELDS(IQEV_Slider)};
const fw::PageField kSwitchSliderFields[] = {
    GENERAL_FIELDS(IQEV_SwitchSlider),
    FW_PAGE_FIELD(IDC_INDICATORTYPE, List, IQEV_SwitchSlider, IndicatorType),
    FW_PAGE_FIELD(IDC_INDICATORSIZE, Integer, IQEV_SwitchSlider, IndicatorSize),
};
#undef GENERAL_FIELDS

// A slider has no item marks: their two fields and labels are hidden for it.
const WORD kSliderHidden[] = {IDC_INDICATORTYPELABEL, IDC_INDICATORTYPE, IDC_INDICATORSIZELABEL, IDC_INDICATORSIZE};

const fw::PageTarget kTargets[] = {
    fw::TargetOf(&IID_IQEV_Slider, kSliderFields, kSliderHidden),
    fw::TargetOf(&IID_IQEV_SwitchSlider, kSwitchSliderFields),
};

// Load and apply run in the same order; a slider has no fields of the last two.
const WORD kOrder[] = {
    IDC_VERTICAL,       IDC_INVERSEDIRECTION, IDC_SCALESIDECHANGED, IDC_SCALEVISIBLE,   IDC_MARKERSTYLE,
    IDC_BACKSTYLE,      IDC_BORDERSTYLE,      IDC_RANGEBORDERSTYLE, IDC_OUTERBORDERLEN, IDC_INNERBORDERLEN,
    IDC_MARKERWIDTH,    IDC_MARKERHEIGHT,     IDC_RANGEFIELDWIDTH,  IDC_RANGEENDGAP,    IDC_SCALEGAP,
    IDC_INDICATORTYPE,  IDC_INDICATORSIZE,
};

const wchar_t* const kMarkerStyles[] = {
    L"0 - Flat",   L"1 - Gradient",       L"2 - Arrow",           L"3 - Raised_Tooth",
    L"4 - Sunken_Tooth", L"5 - Raised_Tooth_Arrow", L"6 - Sunken_Tooth_Arrow", L"7 - Raised",
    L"8 - Sunken", L"9 - Triangle",       L"10 - DumbBell",       L"11 - Ellipse",
    L"12 - Ext1",  L"13 - Ext2",          L"14 - Ext3",           L"15 - Ext4",
};
const wchar_t* const kBackStyles[] = {L"0 - Transparent", L"1 - Opaque"};
const wchar_t* const kBorderStyles[] = {L"0 - Flat", L"1 - Sunken", L"2 - Raised", L"3- Configurable"};
const wchar_t* const kIndicatorTypes[] = {
    L"0- Circle", L"1- Gradient_Circle", L"2- Line", L"3- 3D_Line", L"4- Diamond", L"5- Squre", L"6- Triangle",
};

const fw::PageList kLists[] = {
    fw::ListOf(IDC_MARKERSTYLE, kMarkerStyles),       fw::ListOf(IDC_BACKSTYLE, kBackStyles),
    fw::ListOf(IDC_BORDERSTYLE, kBorderStyles),       fw::ListOf(IDC_RANGEBORDERSTYLE, kBorderStyles),
    fw::ListOf(IDC_INDICATORTYPE, kIndicatorTypes),
};

const fw::PageDescription kPage =
    fw::DescribePage(IDD_GENERALPROP, IDS_TITLEGeneralProp, IDS_HELPFILEGeneralProp, IDS_DOCSTRINGGeneralProp,
                     kTargets, kOrder, kOrder, kLists);

}  // namespace

CGeneralProp::CGeneralProp() : fw::PropertyPageBase(kPage) {}
