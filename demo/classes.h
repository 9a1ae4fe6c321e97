// The control classes Velmora hosts, and the dispatch ids of every member its
// forms call or bind. The program reaches the controls only through their
// registration and COM: nothing here links a control library.
#pragma once
#include <windows.h>
#include "forms/formdef.h"

namespace velmora {

extern const forms::ClassDef kKnob;
extern const forms::ClassDef kSwitchKnob;
extern const forms::ClassDef kSlider;
extern const forms::ClassDef kSwitchSlider;
extern const forms::ClassDef kSmartButton;
extern const forms::ClassDef kSwitch;

namespace knob {
constexpr DISPID SetScaleRangeColor = 45;  // (VT_I2 index, VT_R8 start, VT_R8 end, VT_I4 colour)
constexpr DISPID UpdateValue = 47;         // (VT_R8)
constexpr DISPID GetValue = 48;            // read by the tests
}  // namespace knob
namespace switchknob {
constexpr DISPID UpdateSetpoint = 32;      // (VT_BSTR key)
constexpr DISPID GetSetpoint = 33;
constexpr DISPID AddItem = 34;             // (VT_BSTR key, VT_BSTR name, VT_I4 colour)
}  // namespace switchknob
namespace slider {
constexpr DISPID UpdateActualValue = 32;   // (VT_R8)
constexpr DISPID UpdateSetpoint = 33;      // (VT_R8)
constexpr DISPID GetSetpoint = 34;         // result read as a double
constexpr DISPID SetpointChange = 1;       // event (double)
}  // namespace slider
namespace switchslider {
constexpr DISPID GetSetpoint = 24;
constexpr DISPID AddItem = 25;             // (VT_BSTR key, VT_BSTR name, VT_I4 colour)
constexpr DISPID ValueChange = 1;          // event (key)
}  // namespace switchslider
namespace sw {
constexpr DISPID EdgeColor = 4;            // written VT_I4
constexpr DISPID Value = 7;                // VT_BOOL
constexpr DISPID Status = 8;               // VT_BOOL
constexpr DISPID ButtonHeight = 9;         // VT_I2
constexpr DISPID SideDarkColor = 11;       // VT_I4
constexpr DISPID GradientRate = 15;        // VT_R4
constexpr DISPID Click = 2;                // event
}  // namespace sw
namespace button {
constexpr DISPID Caption = 7;              // VT_BSTR
constexpr DISPID Enabled = 22;             // written VT_BYREF | VT_BOOL
constexpr DISPID Click = 2;                // event
}  // namespace button

// Every member the forms call or bind, for checking against the type libraries.
struct Member {
    const forms::ClassDef* cls;
    const wchar_t* name;
    DISPID id;
    bool event;  // on the class's event interface
};
extern const Member kMembers[];
extern const size_t kMemberCount;

}  // namespace velmora
