// The "General" page: shape, background, light, image style, texts, the 3D
// text flag, button height and border length of a switch.
#include "pages.h"
#include "Wendal.h"
#include "resource.h"

namespace {

enum : WORD {
    IDC_SWITCHTYPE = 202,
    IDC_BACKSTYLE = 204,
    IDC_LIGHT3D = 206,
    IDC_IMAGESTYLE = 208,
    IDC_TEXT = 210,
    IDC_ONTEXT = 212,
    IDC_OFFTEXT = 214,
    IDC_3DTEXT = 215,
    IDC_BUTTONHEIGHT = 217,
    IDC_BORDERLEN = 219,
};

const fw::PageField kFields[] = {
    FW_PAGE_FIELD(IDC_3DTEXT, Check, IQEV_Switch, b3DText),
    FW_PAGE_FIELD(IDC_SWITCHTYPE, List, IQEV_Switch, SwitchType),
    FW_PAGE_FIELD(IDC_BACKSTYLE, List, IQEV_Switch, BackStyle),
    FW_PAGE_FIELD(IDC_LIGHT3D, List, IQEV_Switch, Light3D),
    FW_PAGE_FIELD(IDC_IMAGESTYLE, List, IQEV_Switch, ImageStyle),
    FW_PAGE_FIELD(IDC_TEXT, Text, IQEV_Switch, Text),
    FW_PAGE_FIELD(IDC_ONTEXT, Text, IQEV_Switch, OnText),
    FW_PAGE_FIELD(IDC_OFFTEXT, Text, IQEV_Switch, OffText),
    FW_PAGE_FIELD(IDC_BUTTONHEIGHT, Integer, IQEV_Switch, ButtonHeight),
    FW_PAGE_FIELD(IDC_BORDERLEN, Integer, IQEV_Switch, BorderLen),
};

const fw::PageTarget kTargets[] = {fw::TargetOf(&IID_IQEV_Switch, kFields)};

// Loaded and applied in the same order.
const WORD kOrder[] = {
    IDC_3DTEXT, IDC_SWITCHTYPE, IDC_BACKSTYLE, IDC_LIGHT3D,      IDC_IMAGESTYLE,
    IDC_TEXT,   IDC_ONTEXT,     IDC_OFFTEXT,   IDC_BUTTONHEIGHT, IDC_BORDERLEN,
};

const wchar_t* const kSwitchTypes[] = {
    L"0 - UserImage",      L"1 - Rectangle",       L"2 - RoundRectangle", L"3 - Circle",
    L"4 - Wedge_Toggle",   L"5 - Groove_Toggle",   L"6 - Switch_Toggle",
};
const wchar_t* const kBackStyles[] = {L"0 - Transparent", L"1 - Opaque"};
const wchar_t* const kLightDirections[] = {
    L"0 - Middle", L"1 - Left_Top", L"2 - Left_Bottom", L"3 - Right_Top", L"4 - Right_Bottom",
};
const wchar_t* const kImageStyles[] = {L"0 - Original_Size", L"1 - Texture", L"2 - Auto_Size"};

const fw::PageList kLists[] = {
    fw::ListOf(IDC_SWITCHTYPE, kSwitchTypes),
    fw::ListOf(IDC_BACKSTYLE, kBackStyles),
    fw::ListOf(IDC_LIGHT3D, kLightDirections),
    fw::ListOf(IDC_IMAGESTYLE, kImageStyles),
};

const fw::PageDescription kPage =
    fw::DescribePage(IDD_GENERALPROP, IDS_TITLEGeneralProp, IDS_HELPFILEGeneralProp, IDS_DOCSTRINGGeneralProp,
                     kTargets, kOrder, kOrder, kLists);

}  // namespace

CGeneralProp::CGeneralProp() : fw::PropertyPageBase(kPage) {}
