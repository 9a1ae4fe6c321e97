// Control base: every OLE control interface a container uses, the setter
// protocol, events, ambient properties, the window and the redraw path.
// A control supplies its dual interface, property map, drawing and input.
#pragma once
#include <olectl.h>
#include <objsafe.h>
#include <functional>
#include <vector>
#include "object.h"
#include "propmap.h"
#include "module.h"
#include "picture.h"
#include "common/winregion.h"

namespace fw {

class ControlBase;

// One connection point of a control (events or IPropertyNotifySink).
class ConnectionPoint : public IConnectionPoint {
public:
    ConnectionPoint(ControlBase* owner, const IID& iid) : m_owner(owner), m_iid(iid) {}
    ~ConnectionPoint();
    STDMETHODIMP QueryInterface(REFIID iid, void** ppv) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;
    STDMETHODIMP GetConnectionInterface(IID* iid) override;
    STDMETHODIMP GetConnectionPointContainer(IConnectionPointContainer** cpc) override;
    STDMETHODIMP Advise(IUnknown* sink, DWORD* cookie) override;
    STDMETHODIMP Unadvise(DWORD cookie) override;
    STDMETHODIMP EnumConnections(IEnumConnections** out) override;

    const IID& Iid() const { return m_iid; }
    // Calls visit with each sink as Itf, in connection order, holding a
    // reference for the call; stops when visit returns false. A sink may
    // disconnect any sink, itself included: the walk covers the slots there
    // were at its start and skips those emptied since.
    template <class Itf, class Visit>
    void ForEachSink(Visit visit) const {
        const size_t n = m_sinks.size();
        for (size_t i = 0; i < n && i < m_sinks.size(); ++i) {
            auto* s = static_cast<Itf*>(m_sinks[i]);
            if (!s) continue;
            s->AddRef();
            const bool more = visit(s);
            s->Release();
            if (!more) return;
        }
    }
    void Clear();

private:
    ControlBase* m_owner;
    IID m_iid;
    std::vector<IUnknown*> m_sinks;  // cookie = index + 1
};

// What OnDraw receives: the target and the bounds (null for the own window).
struct DrawInfo {
    HDC hdcDraw;
    const RECTL* prcBounds;
    DWORD aspect;
};

// Where one paint goes, as the base resolves it for the control's paint.
struct RenderTarget {
    HDC hdc;        // the DC to paint into
    RECT bounds;    // the area to paint, in hdc's coordinates
    bool metafile;  // hdc records a metafile: draw into it directly
    bool own;       // the paint shows in the control's own window
    bool given;     // the DC came with the paint (OnDraw), not from the redraw path
};

// Dispatch identifiers of a control's font properties.
struct FontDispids {
    DISPID font, name, size, bold, italic, underline, strikethrough, weight, charset;
};

class ControlBase : public ObjectRoot,
                    public IOleControl,
                    public IOleObject,
                    public IOleInPlaceActiveObject,
                    public IViewObjectEx,
                    public IOleInPlaceObjectWindowless,
                    public IPersistStreamInit,
                    public IPersistStorage,
                    public IPersistPropertyBag,
                    public IConnectionPointContainer,
                    public ISpecifyPropertyPages,
                    public IQuickActivate,
                    public IDataObject,
                    public IProvideClassInfo2,
                    public IObjectSafety,
                    public ISupportErrorInfo,
                    public IObjectWithSite,
                    public IPerPropertyBrowsing,
                    public IOleLink,
                    public IRunnableObject {
public:
    FW_DELEGATING_IUNKNOWN

    // What each control tells the base.
    struct Traits {
        const CLSID* clsid;
        const IID* dualIid;    // its dual interface
        const IID* eventIid;   // its event dispinterface
        const PropMap* map;
        FontDispids fontIds;
        const wchar_t* windowClass;  // name of the window class it registers
    };

    explicit ControlBase(const Traits& traits);
    ~ControlBase() override;

    void* FindInterface(REFIID iid) override;

    // ----- what a control implements
    virtual IDispatch* Dispatch() = 0;  // its dual interface (no AddRef)
    // Its paint into a target the base has resolved. Only a paint that is
    // target.own may change what input reads or the window region.
    virtual void Paint(const RenderTarget& target) = 0;
    // Its own message rows; return true when the message was handled.
    virtual bool ProcessWindowMessage(HWND, UINT, WPARAM, LPARAM, LRESULT&) { return false; }
    virtual HRESULT OnDraw(DrawInfo& di);
    // What InitNew sets (the ambient back colour, for most controls).
    virtual HRESULT InitNewProperties() { return S_OK; }
    // Runs when Enabled has been stored, before the container is told.
    virtual void OnEnabledChanged() {}

    // ----- setter protocol and notifications
    HRESULT FireOnRequestEdit(DISPID id);  // S_FALSE when a sink vetoes
    void FireOnChanged(DISPID id);
    void FireViewChange();
    void SetDirty(bool dirty) { m_requiresSave = dirty; }
    bool IsDirtyFlag() const { return m_requiresSave; }
    void SendOnDataChange(DWORD advf = 0);
    // Steps 2 to 5 of the setter protocol.
    void PropertyChanged(DISPID id) {
        FireOnChanged(id);
        FireViewChange();
        SetDirty(true);
        SendOnDataChange(0);
    }
    // Value methods and input: FireViewChange after a metafile paint, else
    // render into the own window at once. A window nobody can see is only
    // marked for its paint when it shows: filling a list item by item on a
    // hidden form would otherwise paint the whole list for every item.
    void RedrawNow() {
        if (m_metafile) FireViewChange();
        else if (m_hwnd && !IsWindowVisible(m_hwnd)) InvalidateRect(m_hwnd, nullptr, FALSE);
        else Render(nullptr, nullptr, false);
    }
    // Resolves where a paint goes and runs Paint. A null hdc means the own
    // window: its DC (released afterwards) and client rectangle, never a
    // metafile, and nothing without a window. Otherwise hdc with bounds, and
    // nothing without bounds. A paint is the own one when it goes to the own
    // window; prints and metafiles leave input and the window region alone.
    void Render(HDC hdc, const RECT* bounds, bool metafile);

    // Fires an event to every connected sink in connection order; `build`
    // fills the arguments (last first, as IDispatch wants them) anew for each
    // sink. Returns the status of the last sink.
    static const UINT kMaxEventArgs = 8;
    HRESULT FireEvent(DISPID id, UINT count, const std::function<void(VARIANT*)>& build);
    // Fires with arguments given in natural order: doubles as VT_R8, longs
    // as VT_I4, strings as VT_BSTR copies, bools as VT_BOOL.
    template <class... A>
    HRESULT Fire(DISPID id, A... args) {
        static_assert(sizeof...(A) <= kMaxEventArgs, "too many event arguments");
        return FireEvent(id, sizeof...(A), [&](VARIANT* v) {
            UINT i = sizeof...(A);
            int expand[] = {0, (MakeArg(v[--i], args), 0)...};
            (void)expand;
            (void)i;
            (void)v;
        });
    }

    // Dispatch identifiers of the events every control fires alike.
    struct CommonEventIds {
        DISPID click, dblClick, mouseDown, mouseUp, mouseMove, keyDown, keyUp;
    };
    // Key and double-click rows shared by the controls: fired only while
    // enabled; returns true when the message was one of them.
    bool HandleCommonInput(UINT msg, WPARAM wp, LPARAM lp, const CommonEventIds& ids, LRESULT& result);
    // Left-button press and release of the controls that drag a part of
    // themselves. Nothing happens while disabled (false). A press fires
    // MouseDown and starts a drag inside `grip`; a release fires MouseUp, and
    // Click when it ends a drag.
    bool PressAt(int x, int y, HRGN grip, const CommonEventIds& ids);
    // The same with a rectangular grip whose edges count as inside (a press
    // on the right or bottom edge starts the drag too).
    bool PressAt(int x, int y, const RECT& grip, const CommonEventIds& ids);
    bool ReleaseAt(int x, int y, const CommonEventIds& ids);
    // True within two pixels of the own window's client edge, and always
    // without a window: with no capture, a drag that gets there lets go.
    bool AtClientEdge(int x, int y) const;

    // ----- ambient properties of the client site
    HRESULT GetAmbientProperty(DISPID id, VARIANT* out);
    HRESULT GetAmbientUserMode(BOOL& userMode);
    HRESULT GetAmbientBackColor(OLE_COLOR& color);
    // The container's back colour, or the window colour when it does not say.
    OLE_COLOR AmbientBackColor();
    // True unless the container says it is in design mode.
    bool AmbientUserMode();
    HRESULT GetAmbientFont(IFont** font);

    // ----- stock properties shared by every control
    HRESULT GetFont(IFontDisp** out);
    HRESULT PutFont(IFontDisp* font);
    HRESULT PutRefFont(IFontDisp* font);
    HRESULT GetFontName(BSTR* out);
    HRESULT PutFontName(BSTR name);
    HRESULT GetFontSize(short* out);
    HRESULT PutFontSize(short size);
    HRESULT GetFontBold(VARIANT_BOOL* out);
    HRESULT PutFontBold(VARIANT_BOOL v);
    HRESULT GetFontItalic(VARIANT_BOOL* out);
    HRESULT PutFontItalic(VARIANT_BOOL v);
    HRESULT GetFontUnderline(VARIANT_BOOL* out);
    HRESULT PutFontUnderline(VARIANT_BOOL v);
    HRESULT GetFontStrikethrough(VARIANT_BOOL* out);
    HRESULT PutFontStrikethrough(VARIANT_BOOL v);
    HRESULT GetFontWeight(short* out);
    HRESULT PutFontWeight(short w);
    HRESULT GetFontCharset(short* out);
    HRESULT PutFontCharset(short c);
    // Picture properties (framework/picture.h): put holds a copy of the
    // picture, putref the caller's object, both with the setter protocol of id.
    HRESULT PutPicture(Picture& held, DISPID id, IPictureDisp* picture) {
        return PutPictureCopy(held, picture, PictureSetterFor(id));
    }
    HRESULT PutRefPicture(Picture& held, DISPID id, IPictureDisp* picture) {
        return PutPictureRef(held, picture, PictureSetterFor(id));
    }
    HRESULT GetEnabled(VARIANT_BOOL* out);
    HRESULT PutEnabled(VARIANT_BOOL v, DISPID id);
    HRESULT GetHwnd(LONG* out);

    // The font-change sink created by the control's constructor. The base
    // keeps one reference, connects it to the font that SetClientSite
    // supplies and disconnects it when that font is released.
    void AttachFontSink(IPropertyNotifySink* sink, DWORD* cookie);

    // Window-only controls never activate windowless.
    HWND Window() const { return m_hwnd; }
    IFontDisp* FontObject() const { return m_font; }
    bool Enabled() const { return m_enabled != 0; }
    bool MetafileFlag() const { return m_metafile; }
    void SetMetafileFlag(bool v) { m_metafile = v; }
    bool DragFlag() const { return m_drag != 0; }
    void SetDragFlag(bool v) { m_drag = v ? 1 : 0; }
    IOleClientSite* ClientSite() const { return m_clientSite; }
    const SIZEL& Extent() const { return m_extent; }

    // ----- IOleObject
    STDMETHODIMP SetClientSite(IOleClientSite* site) override;
    STDMETHODIMP GetClientSite(IOleClientSite** site) override;
    STDMETHODIMP SetHostNames(LPCOLESTR, LPCOLESTR) override;
    STDMETHODIMP Close(DWORD saveOption) override;
    STDMETHODIMP SetMoniker(DWORD, IMoniker*) override;
    STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker**) override;
    STDMETHODIMP InitFromData(IDataObject*, BOOL, DWORD) override;
    STDMETHODIMP GetClipboardData(DWORD, IDataObject**) override;
    STDMETHODIMP DoVerb(LONG verb, LPMSG, IOleClientSite* site, LONG, HWND parent, LPCRECT rect) override;
    STDMETHODIMP EnumVerbs(IEnumOLEVERB** out) override;
    STDMETHODIMP Update() override;
    STDMETHODIMP IsUpToDate() override;
    STDMETHODIMP GetUserClassID(CLSID* clsid) override;
    STDMETHODIMP GetUserType(DWORD form, LPOLESTR* type) override;
    STDMETHODIMP SetExtent(DWORD aspect, SIZEL* size) override;
    STDMETHODIMP GetExtent(DWORD aspect, SIZEL* size) override;
    STDMETHODIMP Advise(IAdviseSink* sink, DWORD* cookie) override;
    STDMETHODIMP Unadvise(DWORD cookie) override;
    STDMETHODIMP EnumAdvise(IEnumSTATDATA** out) override;
    STDMETHODIMP GetMiscStatus(DWORD aspect, DWORD* status) override;
    STDMETHODIMP SetColorScheme(LOGPALETTE*) override;

    // ----- IOleControl
    STDMETHODIMP GetControlInfo(CONTROLINFO* ci) override;
    STDMETHODIMP OnMnemonic(MSG*) override;
    STDMETHODIMP OnAmbientPropertyChange(DISPID id) override;
    STDMETHODIMP FreezeEvents(BOOL freeze) override;

    // ----- IOleWindow, IOleInPlaceObject(Windowless), IOleInPlaceActiveObject
    STDMETHODIMP GetWindow(HWND* hwnd) override;
    STDMETHODIMP ContextSensitiveHelp(BOOL) override;
    STDMETHODIMP InPlaceDeactivate() override;
    STDMETHODIMP UIDeactivate() override;
    STDMETHODIMP SetObjectRects(LPCRECT pos, LPCRECT clip) override;
    STDMETHODIMP ReactivateAndUndo() override;
    STDMETHODIMP OnWindowMessage(UINT, WPARAM, LPARAM, LRESULT*) override;
    STDMETHODIMP GetDropTarget(IDropTarget** out) override;
    STDMETHODIMP TranslateAccelerator(LPMSG msg) override;
    STDMETHODIMP OnFrameWindowActivate(BOOL) override;
    STDMETHODIMP OnDocWindowActivate(BOOL) override;
    STDMETHODIMP ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL) override;
    STDMETHODIMP EnableModeless(BOOL) override;

    // ----- IViewObjectEx
    STDMETHODIMP Draw(DWORD aspect, LONG index, void* aspectInfo, DVTARGETDEVICE* target, HDC hdcTargetDev,
                      HDC hdcDraw, LPCRECTL bounds, LPCRECTL wBounds, BOOL(STDMETHODCALLTYPE* cont)(ULONG_PTR),
                      ULONG_PTR contArg) override;
    STDMETHODIMP GetColorSet(DWORD, LONG, void*, DVTARGETDEVICE*, HDC, LOGPALETTE**) override;
    STDMETHODIMP Freeze(DWORD, LONG, void*, DWORD*) override;
    STDMETHODIMP Unfreeze(DWORD) override;
    STDMETHODIMP SetAdvise(DWORD aspects, DWORD advf, IAdviseSink* sink) override;
    STDMETHODIMP GetAdvise(DWORD* aspects, DWORD* advf, IAdviseSink** sink) override;
    STDMETHODIMP GetExtent(DWORD aspect, LONG index, DVTARGETDEVICE*, LPSIZEL size) override;
    STDMETHODIMP GetRect(DWORD aspect, LPRECTL rect) override;
    STDMETHODIMP GetViewStatus(DWORD* status) override;
    STDMETHODIMP QueryHitPoint(DWORD aspect, LPCRECT bounds, POINT pt, LONG, DWORD* result) override;
    STDMETHODIMP QueryHitRect(DWORD aspect, LPCRECT bounds, LPCRECT loc, LONG, DWORD* result) override;
    STDMETHODIMP GetNaturalExtent(DWORD, LONG, DVTARGETDEVICE*, HDC, DVEXTENTINFO*, LPSIZEL) override;

    // ----- IPersist*, shared GetClassID
    STDMETHODIMP GetClassID(CLSID* clsid) override;
    STDMETHODIMP IsDirty() override;
    STDMETHODIMP Load(IStream* stream) override;
    STDMETHODIMP Save(IStream* stream, BOOL clearDirty) override;
    STDMETHODIMP GetSizeMax(ULARGE_INTEGER* size) override;
    STDMETHODIMP InitNew() override;
    // IPersistStorage
    STDMETHODIMP InitNew(IStorage* storage) override;
    STDMETHODIMP Load(IStorage* storage) override;
    STDMETHODIMP Save(IStorage* storage, BOOL sameAsLoad) override;
    STDMETHODIMP SaveCompleted(IStorage* storage) override;
    STDMETHODIMP HandsOffStorage() override;
    // IPersistPropertyBag
    STDMETHODIMP Load(IPropertyBag* bag, IErrorLog* log) override;
    STDMETHODIMP Save(IPropertyBag* bag, BOOL clearDirty, BOOL saveAll) override;

    // ----- IConnectionPointContainer
    STDMETHODIMP EnumConnectionPoints(IEnumConnectionPoints** out) override;
    STDMETHODIMP FindConnectionPoint(REFIID iid, IConnectionPoint** out) override;

    // ----- ISpecifyPropertyPages
    STDMETHODIMP GetPages(CAUUID* pages) override;

    // ----- IQuickActivate
    STDMETHODIMP QuickActivate(QACONTAINER* container, QACONTROL* control) override;
    STDMETHODIMP SetContentExtent(LPSIZEL size) override;
    STDMETHODIMP GetContentExtent(LPSIZEL size) override;

    // ----- IDataObject (advise only)
    STDMETHODIMP GetData(FORMATETC*, STGMEDIUM*) override;
    STDMETHODIMP GetDataHere(FORMATETC*, STGMEDIUM*) override;
    STDMETHODIMP QueryGetData(FORMATETC*) override;
    STDMETHODIMP GetCanonicalFormatEtc(FORMATETC*, FORMATETC*) override;
    STDMETHODIMP SetData(FORMATETC*, STGMEDIUM*, BOOL) override;
    STDMETHODIMP EnumFormatEtc(DWORD, IEnumFORMATETC**) override;
    STDMETHODIMP DAdvise(FORMATETC* fmt, DWORD advf, IAdviseSink* sink, DWORD* cookie) override;
    STDMETHODIMP DUnadvise(DWORD cookie) override;
    STDMETHODIMP EnumDAdvise(IEnumSTATDATA** out) override;

    // ----- IProvideClassInfo2
    STDMETHODIMP GetClassInfo(ITypeInfo** out) override;
    STDMETHODIMP GetGUID(DWORD kind, GUID* guid) override;

    // ----- IObjectSafety
    STDMETHODIMP GetInterfaceSafetyOptions(REFIID, DWORD* supported, DWORD* enabled) override;
    STDMETHODIMP SetInterfaceSafetyOptions(REFIID, DWORD mask, DWORD enabled) override;

    // ----- ISupportErrorInfo
    STDMETHODIMP InterfaceSupportsErrorInfo(REFIID iid) override;

    // ----- IObjectWithSite
    STDMETHODIMP SetSite(IUnknown* site) override;
    STDMETHODIMP GetSite(REFIID iid, void** out) override;

    // ----- IPerPropertyBrowsing
    STDMETHODIMP GetDisplayString(DISPID, BSTR*) override;
    STDMETHODIMP MapPropertyToPage(DISPID id, CLSID* page) override;
    STDMETHODIMP GetPredefinedStrings(DISPID, CALPOLESTR*, CADWORD*) override;
    STDMETHODIMP GetPredefinedValue(DISPID, DWORD, VARIANT*) override;

    // ----- IOleLink (not a link object: every operation answers E_NOTIMPL)
    STDMETHODIMP SetUpdateOptions(DWORD) override;
    STDMETHODIMP GetUpdateOptions(DWORD*) override;
    STDMETHODIMP SetSourceMoniker(IMoniker*, REFCLSID) override;
    STDMETHODIMP GetSourceMoniker(IMoniker**) override;
    STDMETHODIMP SetSourceDisplayName(LPCOLESTR) override;
    STDMETHODIMP GetSourceDisplayName(LPOLESTR*) override;
    STDMETHODIMP BindToSource(DWORD, IBindCtx*) override;
    STDMETHODIMP BindIfRunning() override;
    STDMETHODIMP GetBoundSource(IUnknown**) override;
    STDMETHODIMP UnbindSource() override;
    STDMETHODIMP Update(IBindCtx*) override;

    // ----- IRunnableObject
    STDMETHODIMP GetRunningClass(LPCLSID clsid) override;
    STDMETHODIMP Run(LPBINDCTX) override;
    STDMETHODIMP_(BOOL) IsRunning() override;
    STDMETHODIMP LockRunning(BOOL, BOOL) override;
    STDMETHODIMP SetContainedObject(BOOL) override;

protected:
    static void MakeArg(VARIANT& v, double d) { V_VT(&v) = VT_R8; V_R8(&v) = d; }
    static void MakeArg(VARIANT& v, LONG l) { V_VT(&v) = VT_I4; V_I4(&v) = l; }
    static void MakeArg(VARIANT& v, int l) { V_VT(&v) = VT_I4; V_I4(&v) = l; }
    static void MakeArg(VARIANT& v, bool b) { V_VT(&v) = VT_BOOL; V_BOOL(&v) = b ? VARIANT_TRUE : VARIANT_FALSE; }
    static void MakeArg(VARIANT& v, const wchar_t* s) {
        V_VT(&v) = VT_BSTR;
        V_BSTR(&v) = s ? SysAllocString(s) : nullptr;
    }
    static void MakeArg(VARIANT& v, BSTR s) {
        V_VT(&v) = VT_BSTR;
        V_BSTR(&v) = s ? SysAllocStringLen(s, SysStringLen(s)) : nullptr;
    }

    bool Press(int x, int y, const CommonEventIds& ids, const std::function<bool()>& onGrip);
    PictureSetter PictureSetterFor(DISPID id) {
        return PictureSetter{[this, id] { return FireOnRequestEdit(id); }, [this, id] { PropertyChanged(id); }};
    }
    HRESULT InPlaceActivate(LONG verb, const RECT* rect = nullptr);
    HWND CreateControlWindow(HWND parent, const RECT& pos);
    LRESULT WindowProc(HWND, UINT, WPARAM, LPARAM);
    static LRESULT CALLBACK StaticWndProc(HWND, UINT, WPARAM, LPARAM);
    HRESULT ShowPropertyFrame(HWND parent);
    void ReleaseFont(IFontDisp* next = nullptr);

    Traits m_traits;
    IFontDisp* m_font = nullptr;
    LONG m_enabled = 1;
    BYTE m_drag = 0;
    bool m_metafile = false;
    HWND m_hwnd = nullptr;
    SIZEL m_extent{5080, 5080};
    // The region the control gave its window (the base forgets it whenever
    // the window may have changed).
    WindowShape m_windowShape;

private:
    friend class ConnectionPoint;
    bool m_requiresSave = false;
    bool m_inPlaceActive = false;
    bool m_uiActive = false;
    bool m_eventsFrozen = false;
    IOleClientSite* m_clientSite = nullptr;
    IOleInPlaceSite* m_inPlaceSite = nullptr;
    IAdviseSink* m_viewSink = nullptr;
    DWORD m_viewAdvf = 0;
    IOleAdviseHolder* m_oleAdvise = nullptr;
    IDataAdviseHolder* m_dataAdvise = nullptr;
    IUnknown* m_site = nullptr;  // IObjectWithSite
    IOleInPlaceFrame* m_frame = nullptr;
    IOleInPlaceUIWindow* m_uiWindow = nullptr;
    ConnectionPoint m_eventCP;
    ConnectionPoint m_notifyCP;
    IPropertyNotifySink* m_fontSink = nullptr;
    DWORD* m_fontSinkCookie = nullptr;
    IFontDisp* m_connectedFont = nullptr;  // the font the sink is advised on (not counted)
    DWORD m_safety = 0;
};

}  // namespace fw

// Stock property pages named by property maps.
namespace fw {
extern const CLSID kStockColorPage;
extern const CLSID kStockFontPage;
extern const CLSID kStockPicturePage;
}

// ----- accessor generators for a control's property table
// Every getter answers E_POINTER for a null result pointer.
#define FW_GETTER(Name, T, expr)                        \
    STDMETHODIMP get_##Name(T* p) override {            \
        if (!p) return E_POINTER;                       \
        *p = (expr);                                    \
        return S_OK;                                    \
    }

// Plain value property: store and run the setter protocol.
#define FW_PROP_VALUE(Name, T, member, dispid)          \
    FW_GETTER(Name, T, member)                          \
    STDMETHODIMP put_##Name(T v) override {             \
        member = v;                                     \
        PropertyChanged(dispid);                        \
        return S_OK;                                    \
    }

// Enumeration stored as a 32-bit integer, whatever value it is given.
#define FW_PROP_ENUM(Name, EnumT, member, dispid)       \
    FW_GETTER(Name, EnumT, static_cast<EnumT>(member))  \
    STDMETHODIMP put_##Name(EnumT v) override {         \
        member = static_cast<LONG>(v);                  \
        PropertyChanged(dispid);                        \
        return S_OK;                                    \
    }

// Boolean: -1 at the interface, 0/1 inside; only VARIANT_TRUE counts as true.
#define FW_PROP_BOOL(Name, member, dispid)                                   \
    FW_GETTER(Name, VARIANT_BOOL, (member == 1 ? VARIANT_TRUE : VARIANT_FALSE)) \
    STDMETHODIMP put_##Name(VARIANT_BOOL v) override {                       \
        member = (v == VARIANT_TRUE) ? 1 : 0;                                \
        PropertyChanged(dispid);                                             \
        return S_OK;                                                         \
    }

// String kept as the control's own copy; the getter hands out a new copy.
#define FW_PROP_BSTR(Name, member, dispid)                                    \
    STDMETHODIMP get_##Name(BSTR* p) override {                               \
        if (!p) return E_POINTER;                                             \
        if (!member) { *p = nullptr; return S_OK; }                           \
        *p = SysAllocStringLen(member, SysStringLen(member));                 \
        return *p ? S_OK : E_OUTOFMEMORY;                                     \
    }                                                                         \
    STDMETHODIMP put_##Name(BSTR v) override {                                \
        BSTR copy = nullptr;                                                  \
        if (v && !(copy = SysAllocStringLen(v, SysStringLen(v)))) return E_OUTOFMEMORY; \
        SysFreeString(member);                                                \
        member = copy;                                                        \
        PropertyChanged(dispid);                                              \
        return S_OK;                                                          \
    }

// Picture property held in a fw::Picture member: get, put (a copy) and putref
// (the caller's object).
#define FW_PROP_PICTURE(Name, member, dispid)                                                     \
    STDMETHODIMP get_##Name(IPictureDisp** p) override { return member.CopyOut(p); }             \
    STDMETHODIMP put_##Name(IPictureDisp* v) override { return PutPicture(member, dispid, v); }  \
    STDMETHODIMP putref_##Name(IPictureDisp* v) override { return PutRefPicture(member, dispid, v); }

// Accessor kinds named by the property tables (X-macro rows); STOCK rows get
// their accessors from FW_STOCK_PROPERTIES.
#define FW_ACCESSOR_VALUE(Name, T, member, dispid) FW_PROP_VALUE(Name, T, member, dispid)
#define FW_ACCESSOR_ENUM(Name, T, member, dispid) FW_PROP_ENUM(Name, T, member, dispid)
#define FW_ACCESSOR_BOOL(Name, T, member, dispid) FW_PROP_BOOL(Name, member, dispid)
#define FW_ACCESSOR_BSTR(Name, T, member, dispid) FW_PROP_BSTR(Name, member, dispid)
#define FW_ACCESSOR_PICTURE(Name, T, member, dispid) FW_PROP_PICTURE(Name, member, dispid)
#define FW_ACCESSOR_STOCK(Name, T, member, dispid)

// A control's property table is an X-macro of rows
//   X(dispid, Name, accessor kind, interface type, member, tag, bag key, page).
// FW_PROPERTY_ACCESSORS(TABLE) in the class body gives every row its accessors;
// FW_PROPERTY_MAP(name, TABLE, page rows...) at namespace scope defines the
// PropMap `name`: the extent data rows, the page rows, then a property row for
// every table row, in table order. A row's interface type names the class of
// the object it holds (fw::ObjectClass): IFontDisp* the standard font,
// IPictureDisp* the standard picture.
#define FW_TABLE_ACCESSOR(id, Name, kind, T, member, vt, key, page) FW_ACCESSOR_##kind(Name, T, member, id)
#define FW_PROPERTY_ACCESSORS(TABLE) TABLE(FW_TABLE_ACCESSOR)
#define FW_TABLE_PROPERTY_ROW(id, Name, kind, T, member, vt, key, page) \
    fw::PropertyRow(key, id, vt, page, fw::ObjectClass<T>::value),
#define FW_PROPERTY_MAP(name, TABLE, ...)                                                                 \
    const fw::PropRow name##Rows[] = {fw::DataRow(L"_cx", 0, 4, VT_UI4), fw::DataRow(L"_cy", 4, 4, VT_UI4), \
                                      __VA_ARGS__, TABLE(FW_TABLE_PROPERTY_ROW)};                         \
    const fw::PropMap name = {name##Rows, sizeof(name##Rows) / sizeof(name##Rows[0])}

// The stock font, its eight parts, Enabled and hWnd, shared by every control.
#define FW_STOCK_PROPERTIES(enabledDispid)                                                    \
    STDMETHODIMP get_Font(IFontDisp** p) override { return GetFont(p); }                     \
    STDMETHODIMP put_Font(IFontDisp* f) override { return PutFont(f); }                      \
    STDMETHODIMP putref_Font(IFontDisp* f) override { return PutRefFont(f); }                \
    STDMETHODIMP get_FontName(BSTR* p) override { return GetFontName(p); }                   \
    STDMETHODIMP put_FontName(BSTR v) override { return PutFontName(v); }                    \
    STDMETHODIMP get_FontSize(short* p) override { return GetFontSize(p); }                  \
    STDMETHODIMP put_FontSize(short v) override { return PutFontSize(v); }                   \
    STDMETHODIMP get_FontBold(VARIANT_BOOL* p) override { return GetFontBold(p); }           \
    STDMETHODIMP put_FontBold(VARIANT_BOOL v) override { return PutFontBold(v); }            \
    STDMETHODIMP get_FontItalic(VARIANT_BOOL* p) override { return GetFontItalic(p); }       \
    STDMETHODIMP put_FontItalic(VARIANT_BOOL v) override { return PutFontItalic(v); }        \
    STDMETHODIMP get_FontUnderline(VARIANT_BOOL* p) override { return GetFontUnderline(p); } \
    STDMETHODIMP put_FontUnderline(VARIANT_BOOL v) override { return PutFontUnderline(v); }  \
    STDMETHODIMP get_FontStrikethrough(VARIANT_BOOL* p) override { return GetFontStrikethrough(p); } \
    STDMETHODIMP put_FontStrikethrough(VARIANT_BOOL v) override { return PutFontStrikethrough(v); }  \
    STDMETHODIMP get_FontWeight(short* p) override { return GetFontWeight(p); }              \
    STDMETHODIMP put_FontWeight(short v) override { return PutFontWeight(v); }               \
    STDMETHODIMP get_FontCharset(short* p) override { return GetFontCharset(p); }            \
    STDMETHODIMP put_FontCharset(short v) override { return PutFontCharset(v); }             \
    STDMETHODIMP get_Enabled(VARIANT_BOOL* p) override { return GetEnabled(p); }             \
    STDMETHODIMP put_Enabled(VARIANT_BOOL v) override { return PutEnabled(v, enabledDispid); } \
    STDMETHODIMP get_hWnd(LONG* p) override { return GetHwnd(p); }
