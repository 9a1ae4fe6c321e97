// The knob's "Scale" page: range, ticks, labels, unit, marker and direction.
#include "pages.h"
#include "Tarnik.h"
#include "resource.h"

namespace {

enum : WORD {
    IDC_MAXVAL = 216,
    IDC_MINVAL = 218,
    IDC_TICKERNUM = 220,
    IDC_SUBTICKERNUM = 222,
    IDC_SCALEPRECISION = 224,
    IDC_UNITNAME = 226,
    IDC_SCALERINGBORDERTYPE = 228,
    IDC_SCALETEXTPOSSTYLE = 230,
    IDC_TICKERALIGNMENT = 232,
    IDC_MARKERTYPE = 234,
    IDC_SETPOINTTEXTTYPE = 236,
    IDC_SCALERINGVISIBLE = 237,
    IDC_PERCENTAGESCALE = 238,
    IDC_MARKERVISIBLE = 239,
    IDC_INVERSEDIRECTION = 240,
    IDC_SCALESIDECHANGED = 241,
};

// MaxVal and MinVal show as many decimals as the loaded ScalePrecision.
const fw::PageField kFields[] = {
    FW_PAGE_DECIMAL(IDC_MAXVAL, IQEV_Knob, MaxVal, 1, IDC_SCALEPRECISION),
    FW_PAGE_DECIMAL(IDC_MINVAL, IQEV_Knob, MinVal, 1, IDC_SCALEPRECISION),
    FW_PAGE_FIELD(IDC_TICKERNUM, Integer, IQEV_Knob, TickerNum),
    FW_PAGE_FIELD(IDC_SUBTICKERNUM, Integer, IQEV_Knob, SubTickerNum),
    FW_PAGE_FIELD(IDC_SCALEPRECISION, Integer, IQEV_Knob, ScalePrecision),
    FW_PAGE_FIELD(IDC_UNITNAME, Text, IQEV_Knob, UnitName),
    FW_PAGE_FIELD(IDC_SCALERINGBORDERTYPE, List, IQEV_Knob, ScaleRingBorderType),
    FW_PAGE_FIELD(IDC_SCALETEXTPOSSTYLE, List, IQEV_Knob, ScaleTextPosStyle),
    FW_PAGE_FIELD(IDC_TICKERALIGNMENT, List, IQEV_Knob, TickerAlignment),
    FW_PAGE_FIELD(IDC_MARKERTYPE, List, IQEV_Knob, MarkerType),
    FW_PAGE_FIELD(IDC_SETPOINTTEXTTYPE, List, IQEV_Knob, SetpointTextType),
    FW_PAGE_FIELD(IDC_SCALERINGVISIBLE, Check, IQEV_Knob, ScaleRingVisible),
    FW_PAGE_FIELD(IDC_PERCENTAGESCALE, Check, IQEV_Knob, PercentageScale),
    FW_PAGE_FIELD(IDC_MARKERVISIBLE, Check, IQEV_Knob, MarkerVisible),
    FW_PAGE_FIELD(IDC_INVERSEDIRECTION, Check, IQEV_Knob, InverseDirection),
    FW_PAGE_FIELD(IDC_SCALESIDECHANGED, Check, IQEV_Knob, ScaleSideChanged),
};

const fw::PageTarget kTargets[] = {fw::TargetOf(&IID_IQEV_Knob, kFields)};

// The precision comes first: it sets the format of MaxVal and MinVal.
const WORD kLoadOrder[] = {
    IDC_SCALEPRECISION,
    IDC_PERCENTAGESCALE, IDC_SCALERINGVISIBLE, IDC_MARKERVISIBLE, IDC_INVERSEDIRECTION, IDC_SCALESIDECHANGED,
    IDC_MAXVAL, IDC_MINVAL, IDC_TICKERNUM, IDC_SUBTICKERNUM,
    IDC_UNITNAME,
    IDC_SCALERINGBORDERTYPE, IDC_SCALETEXTPOSSTYLE, IDC_TICKERALIGNMENT, IDC_MARKERTYPE, IDC_SETPOINTTEXTTYPE,
};
const WORD kApplyOrder[] = {
    IDC_PERCENTAGESCALE, IDC_SCALERINGVISIBLE, IDC_MARKERVISIBLE, IDC_INVERSEDIRECTION, IDC_SCALESIDECHANGED,
    IDC_MAXVAL, IDC_MINVAL,
    IDC_TICKERNUM, IDC_SUBTICKERNUM, IDC_SCALEPRECISION,
    IDC_UNITNAME,
    IDC_SCALERINGBORDERTYPE, IDC_SCALETEXTPOSSTYLE, IDC_TICKERALIGNMENT, IDC_MARKERTYPE, IDC_SETPOINTTEXTTYPE,
};

const wchar_t* const kRingBorderTypes[] = {L"0 - Outer_Only", L"1 - Inner_Only", L"2 - Both", L"3 - None"};
const wchar_t* const kTextPositions[] = {L"0 - Inner", L"1 - Outer"};
const wchar_t* const kTickerAlignments[] = {L"0 - Inner", L"1 - Outer"};
const wchar_t* const kMarkerTypes[] = {
    L"0 - Squre",        L"1 - Raised_Squre", L"2 - Sunken_Squre",
    L"3 - Rect",         L"4 - Raised_Rect",  L"5 - Sunken_Rect",
    L"6 - Circle",       L"7 - Raised_Circle", L"8 - Sunken_Circle",
};
const wchar_t* const kSetpointTextTypes[] = {
    L"0 - None",  L"1 - Transparent", L"2 - Sunken", L"3 - Bottom_Transparent", L"4 - Bottom_Sunken",
    L"5 - Bottom_None",
};

const fw::PageList kLists[] = {
    fw::ListOf(IDC_SCALERINGBORDERTYPE, kRingBorderTypes), fw::ListOf(IDC_SCALETEXTPOSSTYLE, kTextPositions),
    fw::ListOf(IDC_TICKERALIGNMENT, kTickerAlignments),    fw::ListOf(IDC_MARKERTYPE, kMarkerTypes),
    fw::ListOf(IDC_SETPOINTTEXTTYPE, kSetpointTextTypes),
};

const fw::PageNumericEdit kNumericEdits[] = {
    {IDC_MAXVAL, true, true},
    {IDC_MINVAL, true, true},
};

const fw::PageDescription kPage =
    fw::DescribePage(IDD_KNOBSCALE, IDS_TITLEKnobScale, IDS_HELPFILEKnobScale, IDS_DOCSTRINGKnobScale, kTargets,
                     kLoadOrder, kApplyOrder, kLists, kNumericEdits);

}  // namespace

CKnobScale::CKnobScale() : fw::PropertyPageBase(kPage) {}
