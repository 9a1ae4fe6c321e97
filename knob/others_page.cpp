// The switch knob's "Others" page: marker, element indicators and direction.
#include "pages.h"
#include "Tarnik.h"
#include "resource.h"

namespace {

enum : WORD {
    IDC_MARKERTYPE = 234,
    IDC_ELEMENTINDICATORTYPE = 236,
    IDC_MARKERVISIBLE = 239,
    IDC_INVERSEDIRECTION = 240,
    IDC_ELEMENTINDICATORSIZE = 241,
};

const fw::PageField kFields[] = {
    FW_PAGE_FIELD(IDC_MARKERTYPE, List, IQEV_SwitchKnob, MarkerType),
    FW_PAGE_FIELD(IDC_ELEMENTINDICATORTYPE, List, IQEV_SwitchKnob, ElementIndicatorType),
    FW_PAGE_FIELD(IDC_MARKERVISIBLE, Check, IQEV_SwitchKnob, MarkerVisible),
    FW_PAGE_FIELD(IDC_INVERSEDIRECTION, Check, IQEV_SwitchKnob, InverseDirection),
    FW_PAGE_FIELD(IDC_ELEMENTINDICATORSIZE, Integer, IQEV_SwitchKnob, ElementIndicatorSize),
};

const fw::PageTarget kTargets[] = {fw::TargetOf(&IID_IQEV_SwitchKnob, kFields)};

const WORD kLoadOrder[] = {
    IDC_MARKERTYPE, IDC_ELEMENTINDICATORTYPE, IDC_ELEMENTINDICATORSIZE, IDC_MARKERVISIBLE, IDC_INVERSEDIRECTION,
};
const WORD kApplyOrder[] = {
    IDC_MARKERTYPE, IDC_ELEMENTINDICATORTYPE, IDC_MARKERVISIBLE, IDC_INVERSEDIRECTION, IDC_ELEMENTINDICATORSIZE,
};

const wchar_t* const kElementIndicatorTypes[] = {
    L"0 - Circle", L"1 - Gradient_Circle", L"2 - Line", L"3 - Diamond", L"4 - Squre", L"5 - Triangle",
};
const wchar_t* const kMarkerTypes[] = {
    L"0 - Squre",        L"1 - Raised_Squre", L"2 - Sunken_Squre",
    L"3 - Rect",         L"4 - Raised_Rect",  L"5 - Sunken_Rect",
    L"6 - Circle",       L"7 - Raised_Circle", L"8 - Sunken_Circle",
};

const fw::PageList kLists[] = {
    fw::ListOf(IDC_ELEMENTINDICATORTYPE, kElementIndicatorTypes),
    fw::ListOf(IDC_MARKERTYPE, kMarkerTypes),
};

const fw::PageDescription kPage =
    fw::DescribePage(IDD_SWITCHOTHERSPROP, IDS_TITLESwitchOthersProp, IDS_HELPFILESwitchOthersProp,
                     IDS_DOCSTRINGSwitchOthersProp, kTargets, kLoadOrder, kApplyOrder, kLists);

}  // namespace

CSwitchOthersProp::CSwitchOthersProp() : fw::PropertyPageBase(kPage) {}
