// Sinks that record what a control tells its container: events through its
// event connection point, property notifications through IPropertyNotifySink.
//
// The recorders are plain objects (on the stack or as members): their
// reference count is kept for inspection (RefCount) but never deletes them.
// The destructor disconnects, so a recorder must outlive its connection.
#pragma once
#include <windows.h>
#include <ole2.h>
#include <olectl.h>
#include <ocidl.h>
#include <functional>
#include <string>
#include <vector>
#include "forms/idonlydispatch.h"
#include "forms/variant.h"

namespace testsupport {

using Variant = forms::Variant;

// One connection of a sink to a source's connection point.
class SinkConnection {
public:
    SinkConnection() = default;
    ~SinkConnection() { Disconnect(); }
    SinkConnection(const SinkConnection&) = delete;
    SinkConnection& operator=(const SinkConnection&) = delete;
    // FindConnectionPoint(iid) on source's IConnectionPointContainer, Advise(sink).
    HRESULT Connect(IUnknown* source, REFIID iid, IUnknown* sink);
    HRESULT Disconnect();  // Unadvise; S_FALSE when not connected
    bool Connected() const { return m_point != nullptr; }
    DWORD Cookie() const { return m_cookie; }

private:
    IConnectionPoint* m_point = nullptr;
    DWORD m_cookie = 0;
};

// One IDispatch::Invoke a sink received.
struct RecordedEvent {
    DISPID dispid = 0;
    WORD flags = 0;
    LCID lcid = 0;
    UINT namedArgs = 0;
    std::vector<VARTYPE> types;  // as passed, natural order (VT_BYREF kept)
    std::vector<Variant> args;   // natural order (first argument first), by-reference values dereferenced
    double Num(size_t i) const { return args.at(i).AsDouble(); }
    LONG Long(size_t i) const { return args.at(i).AsLong(); }
    bool Bool(size_t i) const { return args.at(i).AsBool(); }
    std::wstring Str(size_t i) const { return args.at(i).AsString(); }
};

// Event sink for a control's event (dispatch) interface: answers QI for
// IUnknown, IDispatch and the event IID, records every Invoke.
class EventRecorder : public forms::IdOnlyDispatch {
public:
    explicit EventRecorder(REFIID eventIid) : m_iid(eventIid) {}
    virtual ~EventRecorder() { Disconnect(); }
    EventRecorder(const EventRecorder&) = delete;
    EventRecorder& operator=(const EventRecorder&) = delete;

    HRESULT Connect(IUnknown* control) { return m_connection.Connect(control, m_iid, static_cast<IDispatch*>(this)); }
    HRESULT Disconnect() { return m_connection.Disconnect(); }
    bool Connected() const { return m_connection.Connected(); }

    const std::vector<RecordedEvent>& Events() const { return m_events; }
    size_t Count() const { return m_events.size(); }
    size_t Count(DISPID dispid) const;
    const RecordedEvent* Last() const { return m_events.empty() ? nullptr : &m_events.back(); }
    const RecordedEvent* Last(DISPID dispid) const;  // null when none
    std::vector<DISPID> Dispids() const;              // the dispids in firing order
    void Clear() { m_events.clear(); }
    LONG RefCount() const { return m_refs; }

    // Runs inside Invoke after the event is recorded (gets a copy of it), for
    // re-entrancy tests; may call back into the control.
    std::function<void(const RecordedEvent&)> onEvent;
    // What Invoke returns.
    HRESULT answer = S_OK;
    bool mutateArgs = false;  // overwrite the in-arguments after recording them

    STDMETHODIMP QueryInterface(REFIID iid, void** ppv) override;
    STDMETHODIMP_(ULONG) AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&m_refs)); }
    STDMETHODIMP_(ULONG) Release() override { return static_cast<ULONG>(InterlockedDecrement(&m_refs)); }
    STDMETHODIMP Invoke(DISPID id, REFIID iid, LCID lcid, WORD flags, DISPPARAMS* params, VARIANT* result,
                        EXCEPINFO* excep, UINT* argErr) override;

private:
    IID m_iid;
    LONG m_refs = 0;
    SinkConnection m_connection;
    std::vector<RecordedEvent> m_events;
};

// One property notification: OnChanged or OnRequestEdit.
struct NotifyEntry {
    enum Kind { Changed, Request };
    Kind kind;
    DISPID dispid;
    bool operator==(const NotifyEntry& o) const { return kind == o.kind && dispid == o.dispid; }
    bool operator!=(const NotifyEntry& o) const { return !(*this == o); }
};

// IPropertyNotifySink that keeps OnChanged and OnRequestEdit in one ordered log.
class NotifyRecorder : public IPropertyNotifySink {
public:
    NotifyRecorder() = default;
    virtual ~NotifyRecorder() { Disconnect(); }
    NotifyRecorder(const NotifyRecorder&) = delete;
    NotifyRecorder& operator=(const NotifyRecorder&) = delete;

    HRESULT Connect(IUnknown* control) {
        return m_connection.Connect(control, IID_IPropertyNotifySink, static_cast<IPropertyNotifySink*>(this));
    }
    HRESULT Disconnect() { return m_connection.Disconnect(); }
    bool Connected() const { return m_connection.Connected(); }

    const std::vector<NotifyEntry>& Log() const { return m_log; }
    size_t Changed(DISPID dispid) const;   // OnChanged count for dispid
    size_t Requests(DISPID dispid) const;  // OnRequestEdit count for dispid
    std::vector<DISPID> ChangedDispids() const;  // OnChanged dispids in order
    void Clear() { m_log.clear(); }
    LONG RefCount() const { return m_refs; }

    bool veto = false;                       // OnRequestEdit answers S_FALSE
    std::function<void(DISPID)> onChanged;   // runs inside OnChanged, after logging

    STDMETHODIMP QueryInterface(REFIID iid, void** ppv) override;
    STDMETHODIMP_(ULONG) AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&m_refs)); }
    STDMETHODIMP_(ULONG) Release() override { return static_cast<ULONG>(InterlockedDecrement(&m_refs)); }
    STDMETHODIMP OnChanged(DISPID dispid) override;
    STDMETHODIMP OnRequestEdit(DISPID dispid) override;

private:
    LONG m_refs = 0;
    SinkConnection m_connection;
    std::vector<NotifyEntry> m_log;
};

// A property page site that records the page's status changes.
struct RecordingPageSite : IPropertyPageSite {
    std::vector<DWORD> statuses;
    STDMETHODIMP QueryInterface(REFIID iid, void** ppv) override {
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IPropertyPageSite)) {
            *ppv = static_cast<IPropertyPageSite*>(this);
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return 2; }
    STDMETHODIMP_(ULONG) Release() override { return 1; }
    STDMETHODIMP OnStatusChange(DWORD flags) override {
        statuses.push_back(flags);
        return S_OK;
    }
    STDMETHODIMP GetLocaleID(LCID* lcid) override {
        *lcid = 0x409;
        return S_OK;
    }
    STDMETHODIMP GetPageContainer(IUnknown** out) override {
        *out = nullptr;
        return E_NOTIMPL;
    }
    STDMETHODIMP TranslateAccelerator(MSG*) override { return S_FALSE; }
    size_t Count(DWORD status) const {
        size_t n = 0;
        for (DWORD s : statuses) n += s == status;
        return n;
    }
};

}  // namespace testsupport
