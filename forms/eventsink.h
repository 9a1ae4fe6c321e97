// The form's sink on one hosted control's event interface: routes each event
// by dispatch id to the form, which runs the bound handler (unbound ids are
// ignored). Orphaned when the form unloads: later events reach nobody.
#pragma once
#include <windows.h>
#include "forms/idonlydispatch.h"

namespace forms {

class Form;

class EventSink : public IdOnlyDispatch {
public:
    EventSink(Form* form, size_t index, REFIID iid) : m_form(form), m_index(index), m_iid(iid) {}
    void Orphan() { m_form = nullptr; }

    STDMETHODIMP QueryInterface(REFIID iid, void** ppv) override;
    STDMETHODIMP_(ULONG) AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&m_refs)); }
    STDMETHODIMP_(ULONG) Release() override;
    STDMETHODIMP Invoke(DISPID id, REFIID iid, LCID lcid, WORD flags, DISPPARAMS* params, VARIANT* result,
                        EXCEPINFO* excep, UINT* argErr) override;

private:
    virtual ~EventSink() = default;
    LONG m_refs = 1;
    Form* m_form;
    size_t m_index;
    IID m_iid;
};

}  // namespace forms
