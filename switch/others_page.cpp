// The "Others" page: toggle height, gradient rate, corner sizes, the four
// drawing flags and the offsets of the status lamp of a switch.
#include "pages.h"
#include "Wendal.h"
#include "resource.h"

namespace {

enum : WORD {
    IDC_TOGGLEHEIGHT = 217,
    IDC_GRADIENTRATE = 219,
    IDC_ROUNDWIDTH = 221,
    IDC_ROUNDHEIGHT = 223,
    IDC_SHOWSTATUS = 224,
    IDC_CIRCLESTATUS = 225,
    IDC_VERTICALTOGGLE = 226,
    IDC_FOREGRADIENTTOGGLE = 227,
    IDC_STATUSXOFFSET = 229,
    IDC_STATUSYOFFSET = 231,
};

const fw::PageField kFields[] = {
    FW_PAGE_FIELD(IDC_SHOWSTATUS, Check, IQEV_Switch, bShowStatus),
    FW_PAGE_FIELD(IDC_CIRCLESTATUS, Check, IQEV_Switch, bCircleStatus),
    FW_PAGE_FIELD(IDC_VERTICALTOGGLE, Check, IQEV_Switch, bVerticalToggle),
    FW_PAGE_FIELD(IDC_FOREGRADIENTTOGGLE, Check, IQEV_Switch, bForeGradientToggle),
    FW_PAGE_DECIMAL(IDC_GRADIENTRATE, IQEV_Switch, GradientRate, 2, 0),
    FW_PAGE_FIELD(IDC_TOGGLEHEIGHT, Integer, IQEV_Switch, ToggleHeight),
    FW_PAGE_FIELD(IDC_ROUNDWIDTH, Integer, IQEV_Switch, RoundWidth),
    FW_PAGE_FIELD(IDC_ROUNDHEIGHT, Integer, IQEV_Switch, RoundHeight),
    FW_PAGE_FIELD(IDC_STATUSXOFFSET, Integer, IQEV_Switch, StatusXOffset),
    FW_PAGE_FIELD(IDC_STATUSYOFFSET, Integer, IQEV_Switch, StatusYOffset),
};

const fw::PageTarget kTargets[] = {fw::TargetOf(&IID_IQEV_Switch, kFields)};

// Loaded and applied in the same order.
const WORD kOrder[] = {
    IDC_SHOWSTATUS,   IDC_CIRCLESTATUS, IDC_VERTICALTOGGLE, IDC_FOREGRADIENTTOGGLE, IDC_GRADIENTRATE,
    IDC_TOGGLEHEIGHT, IDC_ROUNDWIDTH,   IDC_ROUNDHEIGHT,    IDC_STATUSXOFFSET,      IDC_STATUSYOFFSET,
};

const fw::PageNumericEdit kNumericEdits[] = {
    {IDC_GRADIENTRATE, false, true},
    {IDC_STATUSXOFFSET, true, false},
    {IDC_STATUSYOFFSET, true, false},
};

const fw::PageDescription kPage =
    fw::DescribePage(IDD_OTHERSPROP, IDS_TITLEOthersProp, IDS_HELPFILEOthersProp, IDS_DOCSTRINGOthersProp,
                     kTargets, kOrder, kOrder, kNumericEdits);

}  // namespace

COthersProp::COthersProp() : fw::PropertyPageBase(kPage) {}
