// frmSlider and frmSwitchSlider.
#include "demo/classes.h"
#include "demo/velmora.h"

namespace velmora {
using namespace forms;
namespace {
FormDef Empty(const char* name, int w, int h) {
    FormDef f;
    f.name = name;
    f.width = w;
    f.height = h;
    f.left = 60;
    f.top = 60;
    return f;
}
}  // namespace
const FormDef frmSlider = Empty("frmSlider", 9420, 8715);
const FormDef frmSwitchSlider = Empty("frmSwitchSlider", 8805, 7800);
const FormDef frmSwitch = Empty("frmSwitch", 7560, 6360);
const FormDef frmSmartButton1 = Empty("frmSmartButton1", 9285, 7680);
const FormDef frmSmartButton2 = Empty("frmSmartButton2", 9015, 7650);
}  // namespace velmora
