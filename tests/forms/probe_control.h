// A small windowed control of the tests' own, written straight against the
// OLE interfaces, so the control site can be tested without any control
// library. It records what it learnt from its site and lets a test make it
// notify, fire events and draw.
#pragma once
#include <windows.h>
#include <ole2.h>
#include <olectl.h>
#include <string>
#include <vector>

// Event interface of the probe (a dispinterface; only its IID matters).
extern const IID DIID_ProbeEvents;
extern const CLSID CLSID_Probe;
// Dispatch identifier the probe notifies for its colour.
constexpr DISPID kProbeColorDispid = 1;

class ProbeConnectionPoint;

// Its automation members (IDispatch with names, no type information).
enum ProbeMember : DISPID {
    kProbeColor = 1,    // "Color" get/put VT_I4 (saved)
    kProbeCaption = 2,  // "Caption" get/put VT_BSTR
    kProbePicture = 3,  // "Picture" get/putref VT_DISPATCH
    kProbeFail = 4,     // "Fail" method: raises an exception "probe refused" (E_INVALIDARG)
    kProbeFire = 5,     // "Fire" method (VT_I4 id): fires that event with no arguments
};

// One Invoke the probe received.
struct ProbeCall {
    DISPID id;
    WORD flags;
    std::vector<VARTYPE> types;  // natural order
    bool namedPut;               // the named argument DISPID_PROPERTYPUT was passed
};

// Probes created through CoRegisterClassObject: the class object is offered
// while the returned cookie is registered (CoRevokeClassObject).
HRESULT RegisterProbeClass(DWORD* cookie);
// What every probe did, in order ("SetClientSite", "Load", "Activate",
// "Advise", "Unadvise", "InPlaceDeactivate", "Close", "SetClientSite(null)",
// "Destroyed"), and how many probes live.
std::vector<std::string>& ProbeJournal();
LONG LiveProbes();

class ProbeControl final : public IOleObject,
                     public IOleInPlaceObject,
                     public IViewObject2,
                     public IPersistStreamInit,
                     public IConnectionPointContainer,
                     public IDataObject,
                     public IDispatch {
public:
    static ProbeControl* Create();  // one reference
    IUnknown* unknown() { return static_cast<IOleObject*>(this); }

    // What the probe saw.
    IOleClientSite* site = nullptr;       // owned reference while set
    bool sawUserMode = false;             // ambient user mode answered at SetClientSite
    bool userMode = false;
    bool sawFont = false;                 // ambient font answered at SetClientSite
    IUnknown* ambientFont = nullptr;      // the font object answered (owned)
    bool sawBackColor = false;            // ambient back colour answered at InitNew
    COLORREF color = 0;                   // its fill colour
    HWND hwnd = nullptr;
    HWND parent = nullptr;                // from the in-place site's GetWindow
    RECT contextPos{}, contextClip{};     // from GetWindowContext
    OLEINPLACEFRAMEINFO frameInfo{};
    HWND frameWindow = nullptr;           // frame->GetWindow
    HWND uiWindow = nullptr;              // doc->GetWindow (null when no doc window)
    SIZEL extent{2540, 2540};
    LONG closes = 0;
    std::wstring caption;
    IDispatch* picture = nullptr;         // owned
    std::vector<ProbeCall> calls;
    bool fireOnLoad = false;              // Load fires event 7 (every new probe takes fireOnLoadDefault)
    static bool fireOnLoadDefault;

    // Test drivers.
    void SetColor(COLORREF c);            // notify, view change, data change
    HRESULT RequestEdit(DISPID id);       // S_FALSE when a sink vetoes
    HRESULT Fire(DISPID id, std::vector<VARIANT> args);  // natural order; reversed for Invoke
    size_t EventSinks() const;

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID iid, void** ppv) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

    // IOleObject
    STDMETHODIMP SetClientSite(IOleClientSite* site) override;
    STDMETHODIMP GetClientSite(IOleClientSite** site) override;
    STDMETHODIMP SetHostNames(LPCOLESTR, LPCOLESTR) override { return S_OK; }
    STDMETHODIMP Close(DWORD) override;
    STDMETHODIMP SetMoniker(DWORD, IMoniker*) override { return E_NOTIMPL; }
    STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker**) override { return E_NOTIMPL; }
    STDMETHODIMP InitFromData(IDataObject*, BOOL, DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP GetClipboardData(DWORD, IDataObject**) override { return E_NOTIMPL; }
    STDMETHODIMP DoVerb(LONG verb, LPMSG, IOleClientSite*, LONG, HWND, LPCRECT) override;
    STDMETHODIMP EnumVerbs(IEnumOLEVERB**) override { return E_NOTIMPL; }
    STDMETHODIMP Update() override { return S_OK; }
    STDMETHODIMP IsUpToDate() override { return S_OK; }
    STDMETHODIMP GetUserClassID(CLSID* clsid) override { return GetClassID(clsid); }
    STDMETHODIMP GetUserType(DWORD, LPOLESTR*) override { return E_NOTIMPL; }
    STDMETHODIMP SetExtent(DWORD, SIZEL* size) override;
    STDMETHODIMP GetExtent(DWORD, SIZEL* size) override;
    STDMETHODIMP Advise(IAdviseSink* sink, DWORD* cookie) override;
    STDMETHODIMP Unadvise(DWORD cookie) override;
    STDMETHODIMP EnumAdvise(IEnumSTATDATA**) override { return E_NOTIMPL; }
    STDMETHODIMP GetMiscStatus(DWORD, DWORD* status) override;
    STDMETHODIMP SetColorScheme(LOGPALETTE*) override { return E_NOTIMPL; }

    // IOleWindow / IOleInPlaceObject
    STDMETHODIMP GetWindow(HWND* out) override;
    STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP InPlaceDeactivate() override;
    STDMETHODIMP UIDeactivate() override { return S_OK; }
    STDMETHODIMP SetObjectRects(LPCRECT pos, LPCRECT clip) override;
    STDMETHODIMP ReactivateAndUndo() override { return E_NOTIMPL; }

    // IViewObject2
    STDMETHODIMP Draw(DWORD aspect, LONG, void*, DVTARGETDEVICE*, HDC, HDC dc, LPCRECTL bounds, LPCRECTL,
                      BOOL(STDMETHODCALLTYPE*)(ULONG_PTR), ULONG_PTR) override;
    STDMETHODIMP GetColorSet(DWORD, LONG, void*, DVTARGETDEVICE*, HDC, LOGPALETTE**) override { return E_NOTIMPL; }
    STDMETHODIMP Freeze(DWORD, LONG, void*, DWORD*) override { return E_NOTIMPL; }
    STDMETHODIMP Unfreeze(DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP SetAdvise(DWORD aspects, DWORD advf, IAdviseSink* sink) override;
    STDMETHODIMP GetAdvise(DWORD* aspects, DWORD* advf, IAdviseSink** sink) override;
    STDMETHODIMP GetExtent(DWORD, LONG, DVTARGETDEVICE*, LPSIZEL size) override;

    // IPersistStreamInit
    STDMETHODIMP GetClassID(CLSID* clsid) override;
    STDMETHODIMP IsDirty() override { return S_FALSE; }
    STDMETHODIMP Load(LPSTREAM s) override;
    STDMETHODIMP Save(LPSTREAM s, BOOL) override;
    STDMETHODIMP GetSizeMax(ULARGE_INTEGER* size) override;
    STDMETHODIMP InitNew() override;

    // IConnectionPointContainer
    STDMETHODIMP EnumConnectionPoints(IEnumConnectionPoints**) override { return E_NOTIMPL; }
    STDMETHODIMP FindConnectionPoint(REFIID iid, IConnectionPoint** cp) override;

    // IDataObject (advise only)
    STDMETHODIMP GetData(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    STDMETHODIMP GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    STDMETHODIMP QueryGetData(FORMATETC*) override { return E_NOTIMPL; }
    STDMETHODIMP GetCanonicalFormatEtc(FORMATETC*, FORMATETC*) override { return E_NOTIMPL; }
    STDMETHODIMP SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP EnumFormatEtc(DWORD, IEnumFORMATETC**) override { return E_NOTIMPL; }
    STDMETHODIMP DAdvise(FORMATETC* fmt, DWORD advf, IAdviseSink* sink, DWORD* cookie) override;
    STDMETHODIMP DUnadvise(DWORD cookie) override;
    STDMETHODIMP EnumDAdvise(IEnumSTATDATA**) override { return E_NOTIMPL; }

    // IDispatch
    STDMETHODIMP GetTypeInfoCount(UINT* count) override;
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo** info) override;
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override;
    STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                        EXCEPINFO* excep, UINT* argErr) override;

private:
    ProbeControl();
    ~ProbeControl();
    static LRESULT CALLBACK WndProc(HWND, UINT, WPARAM, LPARAM);
    HRESULT Ambient(DISPID id, VARIANT* out);
    void Paint(HDC dc, const RECT& rc);

    LONG m_refs = 1;
    IOleInPlaceSite* m_inPlaceSite = nullptr;
    IAdviseSink* m_viewSink = nullptr;
    IOleAdviseHolder* m_oleAdvise = nullptr;
    IDataAdviseHolder* m_dataAdvise = nullptr;
    ProbeConnectionPoint* m_events = nullptr;
    ProbeConnectionPoint* m_notify = nullptr;
};
