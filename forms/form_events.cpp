// Events, handlers and timers of a form.
#include "forms/eventsink.h"
#include "forms/form.h"
#include "forms/runtime.h"

namespace forms {

// ---------------------------------------------------------------- EventSink

STDMETHODIMP EventSink::QueryInterface(REFIID iid, void** ppv) {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    if (!IsEqualIID(iid, IID_IUnknown) && !IsEqualIID(iid, IID_IDispatch) && !IsEqualIID(iid, m_iid))
        return E_NOINTERFACE;
    *ppv = static_cast<IDispatch*>(this);
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) EventSink::Release() {
    LONG n = InterlockedDecrement(&m_refs);
    if (n == 0) delete this;
    return static_cast<ULONG>(n);
}

STDMETHODIMP EventSink::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT* result, EXCEPINFO*,
                               UINT*) {
    if (result) VariantInit(result);
    if (m_form) m_form->OnControlEvent(m_index, id, params);
    return S_OK;
}

// ---------------------------------------------------------------- handlers

void Form::OnControlEvent(size_t index, DISPID id, const DISPPARAMS* params) {
    if (!m_live || index >= m_controls.size()) return;
    Raise(m_controls[index]->name(), id, params);
}

void Form::Raise(const std::string& control, DISPID event, const DISPPARAMS* params) {
    if (!m_live) return;
    for (const HandlerDef& h : m_def.handlers) {
        if (h.event == event && h.control == control) {
            RunHandler(h, params);
            return;
        }
    }
}

void Form::RunHandler(const HandlerDef& handler, const DISPPARAMS* params) {
    // The handler may unload this form (navigation); it lives until the handler returns.
    std::shared_ptr<Form> keep = weak_from_this().lock();
    EventArgs args(params);
    try {
        handler.fn(*this, args);
    } catch (const RuntimeError& e) {
        m_runtime.Report(*this, handler, e);
    }
}

// ---------------------------------------------------------------- timers

void Form::StartTimers() {
    for (auto& c : m_controls) {
        if (c->kind() != Kind::Timer || !c->def().enabled || c->def().interval == 0) continue;
        c->m_timerOn = true;
        c->m_elapsed = 0;
        if (!m_runtime.testClock()) {
            c->m_timerId = m_runtime.NewTimerId();
            SetTimer(m_hwnd, c->m_timerId, c->def().interval, nullptr);
        }
    }
}

void Form::StopTimers() {
    for (auto& c : m_controls) {
        if (c->m_timerId && m_hwnd) KillTimer(m_hwnd, c->m_timerId);
        c->m_timerId = 0;
        c->m_timerOn = false;
    }
}

void Form::OnTimerMessage(UINT_PTR id) {
    if (!m_live || id == 0) return;
    for (size_t i = 0; i < m_controls.size(); ++i) {
        Control& c = *m_controls[i];
        if (c.m_timerOn && c.m_timerId == id) {
            Raise(c.name(), kTimerEvent);
            return;
        }
    }
}

void Form::Advance(DWORD ms) {
    std::shared_ptr<Form> keep = weak_from_this().lock();
    for (size_t i = 0; i < m_controls.size() && m_live; ++i) {
        Control& c = *m_controls[i];
        if (!c.m_timerOn) continue;
        c.m_elapsed += ms;
        while (m_live && c.m_timerOn && c.m_elapsed >= c.def().interval) {
            c.m_elapsed -= c.def().interval;
            Raise(c.name(), kTimerEvent);
        }
    }
}

}  // namespace forms
