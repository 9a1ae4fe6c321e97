// Property pages of the switch library: General and Others, each editing
// the first switch it is given.
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
