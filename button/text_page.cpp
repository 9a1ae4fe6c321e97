// The "Text" page: caption and auxiliary texts, their visibility, positions
// and offsets, and the 3D look.
#include "pages.h"
#include "Pellan.h"
#include "resource.h"

namespace {

enum : WORD {
    IDC_CAPTION = 227,
    IDC_TEXT1 = 229,
    IDC_TEXT2 = 231,
    IDC_CAPTIONVISIBLE = 232,
    IDC_TEXT1VISIBLE = 233,
    IDC_TEXT2VISIBLE = 234,
    IDC_TEXT3D = 236,
    IDC_TEXTPOS = 238,
    IDC_TEXT1POS = 239,
    IDC_TEXT2POS = 241,
    IDC_TEXTXOFFSET = 244,
    IDC_TEXTYOFFSET = 245,
    IDC_TEXT1XOFFSET = 247,
    IDC_TEXT1YOFFSET = 248,
    IDC_TEXT2XOFFSET = 250,
    IDC_TEXT2YOFFSET = 251,
};

const fw::PageField kFields[] = {
    FW_PAGE_FIELD(IDC_CAPTION, Text, IQEV_SmartButton, Caption),
    FW_PAGE_FIELD(IDC_TEXT1, Text, IQEV_SmartButton, Text1),
    FW_PAGE_FIELD(IDC_TEXT2, Text, IQEV_SmartButton, Text2),
    FW_PAGE_FIELD(IDC_CAPTIONVISIBLE, Check, IQEV_SmartButton, CaptionVisible),
    FW_PAGE_FIELD(IDC_TEXT1VISIBLE, Check, IQEV_SmartButton, Text1Visible),
    FW_PAGE_FIELD(IDC_TEXT2VISIBLE, Check, IQEV_SmartButton, Text2Visible),
    FW_PAGE_FIELD(IDC_TEXT3D, Check, IQEV_SmartButton, Text3D),
    FW_PAGE_FIELD(IDC_TEXTPOS, List, IQEV_SmartButton, TextPos),
    FW_PAGE_FIELD(IDC_TEXT1POS, List, IQEV_SmartButton, Text1Pos),
    FW_PAGE_FIELD(IDC_TEXT2POS, List, IQEV_SmartButton, Text2Pos),
    FW_PAGE_FIELD(IDC_TEXTXOFFSET, Long, IQEV_SmartButton, TextXOffset),
    FW_PAGE_FIELD(IDC_TEXTYOFFSET, Long, IQEV_SmartButton, TextYOffset),
    FW_PAGE_FIELD(IDC_TEXT1XOFFSET, Long, IQEV_SmartButton, Text1XOffset),
    FW_PAGE_FIELD(IDC_TEXT1YOFFSET, Long, IQEV_SmartButton, Text1YOffset),
    FW_PAGE_FIELD(IDC_TEXT2XOFFSET, Long, IQEV_SmartButton, Text2XOffset),
    FW_PAGE_FIELD(IDC_TEXT2YOFFSET, Long, IQEV_SmartButton, Text2YOffset),
};

const fw::PageTarget kTargets[] = {fw::TargetOf(&IID_IQEV_SmartButton, kFields)};

// Load and apply run in the same order.
const WORD kOrder[] = {
    IDC_CAPTION,      IDC_TEXT1,        IDC_TEXT2,        IDC_CAPTIONVISIBLE, IDC_TEXT1VISIBLE, IDC_TEXT2VISIBLE,
    IDC_TEXT3D,       IDC_TEXTPOS,      IDC_TEXT1POS,     IDC_TEXT2POS,       IDC_TEXTXOFFSET,  IDC_TEXTYOFFSET,
    IDC_TEXT1XOFFSET, IDC_TEXT1YOFFSET, IDC_TEXT2XOFFSET, IDC_TEXT2YOFFSET,
};

const wchar_t* const kPositions[] = {
    L"0 - Center", L"1 - Left",  L"2 - Left_Top",     L"3 - Left_Bottom", L"4 - Top",
    L"5 - Right",  L"6 - Right_Top", L"7 - Right_Bottom", L"8 - Bottom",
};

const fw::PageList kLists[] = {
    fw::ListOf(IDC_TEXTPOS, kPositions),
    fw::ListOf(IDC_TEXT1POS, kPositions),
    fw::ListOf(IDC_TEXT2POS, kPositions),
};

const fw::PageNumericEdit kNumericEdits[] = {
    {IDC_TEXTXOFFSET, true, false},  {IDC_TEXTYOFFSET, true, false},  {IDC_TEXT1XOFFSET, true, false},
    {IDC_TEXT1YOFFSET, true, false}, {IDC_TEXT2XOFFSET, true, false}, {IDC_TEXT2YOFFSET, true, false},
};

const fw::PageDescription kPage =
    fw::DescribePage(IDD_SBTEXTPROP, IDS_TITLESBTextProp, IDS_HELPFILESBTextProp, IDS_DOCSTRINGSBTextProp,
                     kTargets, kOrder, kOrder, kLists, kNumericEdits);

}  // namespace

CSBTextProp::CSBTextProp() : fw::PropertyPageBase(kPage) {}
