// Resource identifiers of the button library.
#pragma once

#define IDS_PROJNAME                100
#define IDR_PELLAN                  101  // AppID script
#define IDB_QEV_SMARTBUTTON         102  // toolbox bitmap of the smart button
#define IDR_QEV_SMARTBUTTON         103
#define IDD_SBGENERALPROP           104
#define IDS_TITLESBGeneralProp      105
#define IDS_HELPFILESBGeneralProp   106
#define IDS_DOCSTRINGSBGeneralProp  107
#define IDR_SBGENERALPROP           108
#define IDD_SBTEXTPROP              109
#define IDS_TITLESBTextProp         110
#define IDS_HELPFILESBTextProp      111
#define IDS_DOCSTRINGSBTextProp     112
#define IDR_SBTEXTPROP              113
