// Module of the switch library Wendal: identity and object map.
#include "framework/module.h"

#include "Wendal.h"
#include "resource.h"
#include "pages.h"

HRESULT CreateSwitch(IUnknown* outer, REFIID iid, void** ppv);

namespace {

// OLEMISC_SETCLIENTSITEFIRST | OLEMISC_INSIDEOUT | OLEMISC_ACTIVATEWHENVISIBLE
// | OLEMISC_CANTLINKINSIDE | OLEMISC_RECOMPOSEONRESIZE
const DWORD kControlMiscStatus = 131473;

fw::ObjectEntry g_objects[] = {
    {&CLSID_QEV_Switch, IDR_QEV_SWITCH, true, CreateSwitch, nullptr},
    {&CLSID_GeneralProp, IDR_GENERALPROP, false, fw::CreateObject<CGeneralProp>, nullptr},
    {&CLSID_OthersProp, IDR_OTHERSPROP, false, fw::CreateObject<COthersProp>, nullptr},
};

}  // namespace

fw::ModuleInfo& fw::LibraryInfo() {
    static ModuleInfo info = {
        &LIBID_WendalLib,
        IDR_WENDAL,
        L"{5D29E1FE-93FA-4FA2-A4D2-8A119C434F5A}",
        kControlMiscStatus,
        g_objects,
        sizeof(g_objects) / sizeof(g_objects[0]),
    };
    return info;
}
