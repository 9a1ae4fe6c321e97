// The slider's "Others" page: value range, scale and value texts.
#include "pages.h"
#include "Morvel.h"
#include "resource.h"

namespace {

enum : WORD {
    IDC_MAXVAL = 217,
    IDC_PERCENTAGESCALE = 218,
    IDC_MINVAL = 220,
    IDC_SHOWSETPOINTVALUE = 221,
    IDC_TICKERNUM = 223,
    IDC_ACTUALRANGEVISIBLE = 224,
    IDC_SUBTICKERNUM = 226,
    IDC_SHOWACTUALVALUE = 227,
    IDC_SCALEPRECISION = 229,
};

// MaxVal and MinVal show as many decimals as the loaded ScalePrecision says.
const fw::PageField kFields[] = {
    FW_PAGE_DECIMAL(IDC_MAXVAL, IQEV_Slider, MaxVal, 0, IDC_SCALEPRECISION),
    FW_PAGE_FIELD(IDC_PERCENTAGESCALE, Check, IQEV_Slider, PercentageScale),
    FW_PAGE_DECIMAL(IDC_MINVAL, IQEV_Slider, MinVal, 0, IDC_SCALEPRECISION),
    FW_PAGE_FIELD(IDC_SHOWSETPOINTVALUE, Check, IQEV_Slider, ShowSetpointValue),
    FW_PAGE_FIELD(IDC_TICKERNUM, Integer, IQEV_Slider, TickerNum),
    FW_PAGE_FIELD(IDC_ACTUALRANGEVISIBLE, Check, IQEV_Slider, ActualRangeVisible),
    FW_PAGE_FIELD(IDC_SUBTICKERNUM, Integer, IQEV_Slider, SubTickerNum),
    FW_PAGE_FIELD(IDC_SHOWACTUALVALUE, Check, IQEV_Slider, ShowActualValue),
    FW_PAGE_FIELD(IDC_SCALEPRECISION, Integer, IQEV_Slider, ScalePrecision),
};

const fw::PageTarget kTargets[] = {fw::TargetOf(&IID_IQEV_Slider, kFields)};

const WORD kLoadOrder[] = {
    IDC_SCALEPRECISION, IDC_PERCENTAGESCALE, IDC_SHOWSETPOINTVALUE, IDC_ACTUALRANGEVISIBLE, IDC_SHOWACTUALVALUE,
    IDC_MAXVAL,         IDC_MINVAL,          IDC_TICKERNUM,         IDC_SUBTICKERNUM,
};
const WORD kApplyOrder[] = {
    IDC_PERCENTAGESCALE, IDC_SHOWSETPOINTVALUE, IDC_ACTUALRANGEVISIBLE, IDC_SHOWACTUALVALUE, IDC_MAXVAL,
    IDC_MINVAL,          IDC_TICKERNUM,         IDC_SUBTICKERNUM,       IDC_SCALEPRECISION,
};

const fw::PageList kLists[] = {{0, nullptr, 0}};

const fw::PageNumericEdit kNumericEdits[] = {
    {IDC_MAXVAL, true, true},
    {IDC_MINVAL, true, true},
};

// WM_INITDIALOG answers 0 after subclassing the numeric fields.
const fw::PageDescription kPage = fw::AnswerInitDialogFalse(
    fw::DescribePage(IDD_OTHERSPROP, IDS_TITLEOthersProp, IDS_HELPFILEOthersProp, IDS_DOCSTRINGOthersProp, kTargets,
                     kLoadOrder, kApplyOrder, kLists, kNumericEdits));

}  // namespace

COthersProp::COthersProp() : fw::PropertyPageBase(kPage) {}
