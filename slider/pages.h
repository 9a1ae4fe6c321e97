// Property pages of the slider library: General (slider or switch slider)
// and Others (slider).
#pragma once
#include "framework/proppage.h"

class CGeneralProp : public fw::PropertyPageBase {
public:
    CGeneralProp();
};

class COthersProp : public fw::PropertyPageBase {
public:
    COthersProp();
};
