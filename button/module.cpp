// Module of the button library Pellan: identity and object map.
#include "framework/module.h"

#include "Pellan.h"
#include "resource.h"
#include "pages.h"

HRESULT CreateSmartButton(IUnknown* outer, REFIID iid, void** ppv);

namespace {

fw::ObjectEntry g_objects[] = {
    {&CLSID_QEV_SmartButton, IDR_QEV_SMARTBUTTON, true, CreateSmartButton, nullptr},
    {&CLSID_SBGeneralProp, IDR_SBGENERALPROP, false, fw::CreateObject<CSBGeneralProp>, nullptr},
    {&CLSID_SBTextProp, IDR_SBTEXTPROP, false, fw::CreateObject<CSBTextProp>, nullptr},
};

}  // namespace

fw::ModuleInfo& fw::LibraryInfo() {
    // OLEMISC_SETCLIENTSITEFIRST | OLEMISC_INSIDEOUT | OLEMISC_ACTIVATEWHENVISIBLE
    // | OLEMISC_CANTLINKINSIDE | OLEMISC_RECOMPOSEONRESIZE, as every control of the family
    static ModuleInfo info = {
        &LIBID_PellanLib,
        IDR_PELLAN,
        L"{867438A2-117E-48A8-BC60-BDC4621B8FAF}",
        131473,
        g_objects,
        sizeof(g_objects) / sizeof(g_objects[0]),
    };
    return info;
}
