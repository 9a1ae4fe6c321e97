// Late-bound calls the platform's type-library Invoke gets wrong.
#include "dispatch.h"

namespace fw {
namespace {

// True when `id` has a property getter that takes no arguments (its result
// parameter and a locale parameter are not arguments).
bool IsPlainGetter(ITypeInfo* ti, DISPID id) {
    TYPEATTR* attr = nullptr;
    if (FAILED(ti->GetTypeAttr(&attr))) return false;
    const WORD funcs = attr->cFuncs;
    ti->ReleaseTypeAttr(attr);
    bool plain = false;
    for (WORD i = 0; i < funcs && !plain; ++i) {
        FUNCDESC* fd = nullptr;
        if (FAILED(ti->GetFuncDesc(i, &fd))) continue;
        if (fd->memid == id && fd->invkind == INVOKE_PROPERTYGET) {
            int arguments = 0;
            for (SHORT p = 0; p < fd->cParams; ++p) {
                if (!(fd->lprgelemdescParam[p].paramdesc.wParamFlags & (PARAMFLAG_FRETVAL | PARAMFLAG_FLCID)))
                    ++arguments;
            }
            plain = arguments == 0;
        }
        ti->ReleaseFuncDesc(fd);
    }
    return plain;
}

}  // namespace

bool ArgumentsForNullObject(ITypeInfo* ti, void* self, DISPID id, WORD flags, const DISPPARAMS* params) {
    if (!(flags & DISPATCH_PROPERTYGET) || !params || params->cArgs == 0) return false;
    if (!IsPlainGetter(ti, id)) return false;
    DISPPARAMS none{nullptr, nullptr, 0, 0};
    VARIANT value;
    VariantInit(&value);
    HRESULT hr = ti->Invoke(self, id, DISPATCH_PROPERTYGET, &none, &value, nullptr, nullptr);
    const bool null = SUCCEEDED(hr) && (value.vt == VT_DISPATCH || value.vt == VT_UNKNOWN) && !value.punkVal;
    VariantClear(&value);
    return null;
}

}  // namespace fw
