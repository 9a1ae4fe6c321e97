// Property pages of the knob library: General (knob or switch knob), Scale
// (knob) and Others (switch knob).
#pragma once
#include "framework/proppage.h"

class CGeneralProp : public fw::PropertyPageBase {
public:
    CGeneralProp();
};

class CKnobScale : public fw::PropertyPageBase {
public:
    CKnobScale();
};

class CSwitchOthersProp : public fw::PropertyPageBase {
public:
    CSwitchOthersProp();
};
