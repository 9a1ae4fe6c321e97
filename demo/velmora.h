// The forms of Velmora, the demonstration program: the frame MDIFrmVelmora
// with its link panel, and the child forms it opens one at a time.
#pragma once
#include <memory>
#include "forms/runtime.h"

namespace velmora {

extern const forms::FormDef MDIFrmVelmora;
extern const forms::FormDef frmIntro;
extern const forms::FormDef frmSmartButton1;
extern const forms::FormDef frmSmartButton2;
extern const forms::FormDef frmSwitch;
extern const forms::FormDef frmSlider;
extern const forms::FormDef frmSwitchSlider;
extern const forms::FormDef frmKnob;
extern const forms::FormDef frmSwitchKnob;

// The link labels in the panel's order, with the form each opens.
struct Link {
    const char* label;
    const forms::FormDef* target;
};
extern const Link kLinks[8];

// The child form the frame holds now (null when none).
std::shared_ptr<forms::Form> CurrentChild(forms::Form& frame);

}  // namespace velmora
