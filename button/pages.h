// Property pages of the button library: General (shape, border, face, icon,
// sizes) and Text (caption, auxiliary texts, their positions and offsets).
#pragma once
#include "framework/proppage.h"

class CSBGeneralProp : public fw::PropertyPageBase {
public:
    CSBGeneralProp();
};

class CSBTextProp : public fw::PropertyPageBase {
public:
    CSBTextProp();
};
