// Resource identifiers of the switch library.
#pragma once

#define IDS_PROJNAME                100
#define IDR_WENDAL                  101  // AppID script
#define IDB_QEV_SWITCH              102  // toolbox bitmap of the switch
#define IDR_QEV_SWITCH              103
#define IDD_GENERALPROP             104
#define IDS_TITLEGeneralProp        105
#define IDS_HELPFILEGeneralProp     106
#define IDS_DOCSTRINGGeneralProp    107
#define IDR_GENERALPROP             108
#define IDD_OTHERSPROP              109
#define IDS_TITLEOthersProp         110
#define IDS_HELPFILEOthersProp      111
#define IDS_DOCSTRINGOthersProp     112
#define IDR_OTHERSPROP              113
