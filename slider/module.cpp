// Module of the slider library Morvel: identity and object map.
#include "framework/module.h"

#include "Morvel.h"
#include "resource.h"
#include "pages.h"

HRESULT CreateSlider(IUnknown* outer, REFIID iid, void** ppv);
HRESULT CreateSwitchSlider(IUnknown* outer, REFIID iid, void** ppv);

namespace {

// OLEMISC_SETCLIENTSITEFIRST | OLEMISC_INSIDEOUT | OLEMISC_ACTIVATEWHENVISIBLE
// | OLEMISC_CANTLINKINSIDE | OLEMISC_RECOMPOSEONRESIZE
const DWORD kControlMiscStatus = 131473;

fw::ObjectEntry g_objects[] = {
    {&CLSID_QEV_Slider, IDR_QEV_SLIDER, true, CreateSlider, nullptr},
    {&CLSID_QEV_SwitchSlider, IDR_QEV_SWITCHSLIDER, true, CreateSwitchSlider, nullptr},
    {&CLSID_GeneralProp, IDR_GENERALPROP, false, fw::CreateObject<CGeneralProp>, nullptr},
    {&CLSID_OthersProp, IDR_OTHERSPROP, false, fw::CreateObject<COthersProp>, nullptr},
};

}  // namespace

fw::ModuleInfo& fw::LibraryInfo() {
    static ModuleInfo info = {
        &LIBID_MorvelLib,
        IDR_MORVEL,
        L"{ACD9E84F-FD7D-4C17-B3B3-5DD9BCDD20FB}",
        kControlMiscStatus,
        g_objects,
        sizeof(g_objects) / sizeof(g_objects[0]),
    };
    return info;
}
