// The "General" page: shape, border, face, picture style, icon and sizes.
#include "pages.h"
#include "Pellan.h"
#include "resource.h"

namespace {

enum : WORD {
    IDC_SHAPETYPE = 202,
    IDC_BORDERTYPE = 204,
    IDC_FACETYPE = 206,
    IDC_IMAGESTYLE = 208,
    IDC_ICONTYPE = 210,
    IDC_ICONPOSTYPE = 212,
    IDC_ICONBORDERTYPE = 214,
    IDC_ICONSIZE = 216,
    IDC_OUTERBORDERLEN = 218,
    IDC_INNERBORDERLEN = 220,
    IDC_GRADIENTRATE = 222,
    IDC_ROUNDRADIUS = 224,
    IDC_DYNAMICBORDER = 225,
    IDC_WORDWRAP = 226,
};

const fw::PageField kFields[] = {
    FW_PAGE_FIELD(IDC_SHAPETYPE, List, IQEV_SmartButton, ShapeType),
    FW_PAGE_FIELD(IDC_BORDERTYPE, List, IQEV_SmartButton, BorderType),
    FW_PAGE_FIELD(IDC_FACETYPE, List, IQEV_SmartButton, FaceType),
    FW_PAGE_FIELD(IDC_IMAGESTYLE, List, IQEV_SmartButton, ImageStyle),
    FW_PAGE_FIELD(IDC_ICONTYPE, List, IQEV_SmartButton, IconType),
    FW_PAGE_FIELD(IDC_ICONPOSTYPE, List, IQEV_SmartButton, IconPosType),
    FW_PAGE_FIELD(IDC_ICONBORDERTYPE, List, IQEV_SmartButton, IconBorderType),
    FW_PAGE_FIELD(IDC_ICONSIZE, Integer, IQEV_SmartButton, IconSize),
    FW_PAGE_FIELD(IDC_OUTERBORDERLEN, Integer, IQEV_SmartButton, OuterBorderLen),
    FW_PAGE_FIELD(IDC_INNERBORDERLEN, Integer, IQEV_SmartButton, InnerBorderLen),
    FW_PAGE_DECIMAL(IDC_GRADIENTRATE, IQEV_SmartButton, GradientRate, 2, 0),
    FW_PAGE_FIELD(IDC_ROUNDRADIUS, Integer, IQEV_SmartButton, RoundRadius),
    FW_PAGE_FIELD(IDC_DYNAMICBORDER, Check, IQEV_SmartButton, DynamicBorder),
    FW_PAGE_FIELD(IDC_WORDWRAP, Check, IQEV_SmartButton, WordWrap),
};

const fw::PageTarget kTargets[] = {fw::TargetOf(&IID_IQEV_SmartButton, kFields)};

// Load and apply run in the same order.
const WORD kOrder[] = {
    IDC_DYNAMICBORDER, IDC_WORDWRAP,       IDC_SHAPETYPE,      IDC_BORDERTYPE,     IDC_FACETYPE,
    IDC_IMAGESTYLE,    IDC_ICONTYPE,       IDC_ICONPOSTYPE,    IDC_ICONBORDERTYPE, IDC_ICONSIZE,
    IDC_OUTERBORDERLEN, IDC_INNERBORDERLEN, IDC_GRADIENTRATE,  IDC_ROUNDRADIUS,
};

const wchar_t* const kShapes[] = {
    L"0 - Rect",          L"1 - Round_Rect",       L"2 - Diamond",         L"3 - Circle",
    L"4 - Left_Triangle", L"5 - Right_Triangle",   L"6 - Top_Triangle",    L"7 - Bottom_Triangle",
    L"8 - Left_Arrow",    L"9 - Right_Arrow",      L"10 - Top_Arrow",      L"11 - Bottom_Arrow",
    L"12 - Left_Half_Circle", L"13 - Right_Half_Circle", L"14 - Top_Half_Circle", L"15 - Bottom_Half_Circle",
    L"16 - Char",
};
const wchar_t* const kBorders[] = {L"0 - Normal", L"1 - Configurable", L"2 - Gradient_Configurable"};
const wchar_t* const kFaces[] = {L"0 - Flat", L"1 - Gradient", L"2 - Gradient2"};
const wchar_t* const kImageStyles[] = {L"0 - Original_Size", L"1 - Texture", L"2 - Auto_Size"};
const wchar_t* const kIcons[] = {
    L"0 - None", L"1 - <", L"2 - <<", L"3 - |<", L"4 - >", L"5 - >>", L"6 - >|",
    L"7 - Top_Triangle", L"8 - Bottom_Triangle", L"9 - ||", L"10 - Squre", L"11 - Circle", L"12 - Icon",
};
const wchar_t* const kIconPositions[] = {L"0 - Left", L"1 - Right", L"2 - Top", L"3 - Bottom", L"4 - Center"};
const wchar_t* const kIconBorders[] = {L"0 - Flat", L"1 - Raised", L"2 - Sunken"};

const fw::PageList kLists[] = {
    fw::ListOf(IDC_SHAPETYPE, kShapes),          fw::ListOf(IDC_BORDERTYPE, kBorders),
    fw::ListOf(IDC_FACETYPE, kFaces),            fw::ListOf(IDC_IMAGESTYLE, kImageStyles),
    fw::ListOf(IDC_ICONTYPE, kIcons),            fw::ListOf(IDC_ICONPOSTYPE, kIconPositions),
    fw::ListOf(IDC_ICONBORDERTYPE, kIconBorders),
};

const fw::PageNumericEdit kNumericEdits[] = {{IDC_GRADIENTRATE, false, true}};

const fw::PageDescription kPage =
    fw::DescribePage(IDD_SBGENERALPROP, IDS_TITLESBGeneralProp, IDS_HELPFILESBGeneralProp,
                     IDS_DOCSTRINGSBGeneralProp, kTargets, kOrder, kOrder, kLists, kNumericEdits);

}  // namespace

CSBGeneralProp::CSBGeneralProp() : fw::PropertyPageBase(kPage) {}
