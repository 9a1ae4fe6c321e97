// Resource identifiers of the slider library.
#pragma once

#define IDS_PROJNAME                100
#define IDR_MORVEL                  101  // AppID script
#define IDB_QEV_SLIDER              102  // toolbox bitmap of the slider
#define IDR_QEV_SLIDER              103
#define IDB_QEV_SWITCHSLIDER        104  // toolbox bitmap of the switch slider
#define IDR_QEV_SWITCHSLIDER        105
#define IDD_GENERALPROP             106
#define IDS_TITLEGeneralProp        107
#define IDS_HELPFILEGeneralProp     108
#define IDS_DOCSTRINGGeneralProp    109
#define IDR_GENERALPROP             110
#define IDD_OTHERSPROP              111
#define IDS_TITLEOthersProp         112
#define IDS_HELPFILEOthersProp      113
#define IDS_DOCSTRINGOthersProp     114
#define IDR_OTHERSPROP              115
