// Font-change sink: watches a control's font and asks the control to repaint
// when the font changes.
#pragma once
#include "framework/control.h"

// One design under two names, so that each control class of a library has
// its own sink class.
template <int Tag>
class CFontNotifyImplT : public fw::ObjectRoot, public IPropertyNotifySink {
public:
    FW_DELEGATING_IUNKNOWN

    DWORD m_dwCookie = 0;                // cookie of the font's connection
    fw::ControlBase* m_pOwner = nullptr;  // not a counted reference

    void* FindInterface(REFIID iid) override {
        if (IsEqualIID(iid, IID_IPropertyNotifySink)) return static_cast<IPropertyNotifySink*>(this);
        return nullptr;
    }
    STDMETHODIMP OnChanged(DISPID) override {
        if (m_pOwner) m_pOwner->FireViewChange();
        return S_OK;
    }
    STDMETHODIMP OnRequestEdit(DISPID) override { return S_OK; }

    // Created with reference count 0 and a module lock; null on failure (the
    // control then only loses the repaint on font changes).
    static CFontNotifyImplT* Create(fw::ControlBase* owner) {
        auto* sink = new (std::nothrow) CFontNotifyImplT();
        if (sink) sink->m_pOwner = owner;
        return sink;
    }
    // The control takes the sink: the base keeps a reference and connects it.
    static void AttachTo(fw::ControlBase* owner) {
        if (auto* sink = Create(owner)) owner->AttachFontSink(sink, &sink->m_dwCookie);
    }
};

typedef CFontNotifyImplT<1> CFontNotifyImpl;
typedef CFontNotifyImplT<2> CFontNotifyImpl2;
