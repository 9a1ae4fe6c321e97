// Resource identifiers of the knob library.
#pragma once

#define IDS_PROJNAME                100
#define IDR_TARNIK                  101  // AppID script
#define IDB_QEV_KNOB                102  // toolbox bitmap of the knob
#define IDR_QEV_KNOB                103
#define IDB_QEV_SWITCHKNOB          104  // toolbox bitmap of the switch knob
#define IDR_QEV_SWITCHKNOB          105
#define IDD_GENERALPROP             106
#define IDS_TITLEGeneralProp        107
#define IDS_HELPFILEGeneralProp     108
#define IDS_DOCSTRINGGeneralProp    109
#define IDR_GENERALPROP             110
#define IDD_KNOBSCALE               111
#define IDS_TITLEKnobScale          112
#define IDS_HELPFILEKnobScale       113
#define IDS_DOCSTRINGKnobScale      114
#define IDR_KNOBSCALE               115
#define IDD_SWITCHOTHERSPROP        116
#define IDS_TITLESwitchOthersProp   117
#define IDS_HELPFILESwitchOthersProp 118
#define IDS_DOCSTRINGSwitchOthersProp 119
#define IDR_SWITCHOTHERSPROP        120
