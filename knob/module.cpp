// Module of the knob library Tarnik: identity and object map.
#include "framework/module.h"

#include "Tarnik.h"
#include "resource.h"
#include "pages.h"

HRESULT CreateKnob(IUnknown* outer, REFIID iid, void** ppv);
HRESULT CreateSwitchKnob(IUnknown* outer, REFIID iid, void** ppv);

namespace {

// OLEMISC_SETCLIENTSITEFIRST | OLEMISC_INSIDEOUT | OLEMISC_ACTIVATEWHENVISIBLE
// | OLEMISC_CANTLINKINSIDE | OLEMISC_RECOMPOSEONRESIZE
const DWORD kControlMiscStatus = 131473;

fw::ObjectEntry g_objects[] = {
    {&CLSID_QEV_Knob, IDR_QEV_KNOB, true, CreateKnob, nullptr},
    {&CLSID_QEV_SwitchKnob, IDR_QEV_SWITCHKNOB, true, CreateSwitchKnob, nullptr},
    {&CLSID_GeneralProp, IDR_GENERALPROP, false, fw::CreateObject<CGeneralProp>, nullptr},
    {&CLSID_KnobScale, IDR_KNOBSCALE, false, fw::CreateObject<CKnobScale>, nullptr},
    {&CLSID_SwitchOthersProp, IDR_SWITCHOTHERSPROP, false, fw::CreateObject<CSwitchOthersProp>, nullptr},
};

}  // namespace

fw::ModuleInfo& fw::LibraryInfo() {
    static ModuleInfo info = {
        &LIBID_TarnikLib,
        IDR_TARNIK,
        L"{5A6C30EC-E09A-42FD-9CEB-351AC28E8C89}",
        kControlMiscStatus,
        g_objects,
        sizeof(g_objects) / sizeof(g_objects[0]),
    };
    return info;
}
