// What several of Velmora's forms share: a child form's frame of settings
// and item lists added through AddItem.
#pragma once
#include <vector>
#include "forms/form.h"

namespace velmora {

// A child form at the design position 60, 60 with its design client size.
forms::FormDef ChildForm(const char* name, int width, int height);

// The settings common to a form's controls, then a control's own (later
// settings of the same name win: they are put later).
std::vector<forms::Prop> Joined(std::vector<forms::Prop> common, const std::vector<forms::Prop>& own);

struct Item {
    const wchar_t* key;
    const wchar_t* name;
    LONG colour;
};
// AddItem(key VT_BSTR, name VT_BSTR, colour VT_I4) for each item, in order.
void AddItems(forms::Control& c, DISPID addItem, const std::vector<Item>& items);

}  // namespace velmora
