// Control site: the container side of one hosted ActiveX control.
//
// A ControlSite gives one control its client site, in-place site, control
// site, view and data advise sink, and the ambient properties the caller
// sets. The frame it hands to the control lives on the top-level window
// above the container window. Event binding is not done here: whoever needs
// the control's events connects to its connection points itself.
//
// Typical use:
//     forms::ControlSite* site;
//     forms::ControlSite::Create(containerHwnd, &site);
//     site->ambients().backColor = RGB(1, 2, 3); site->ambients().answerBackColor = true;
//     site->Attach(control);          // SetClientSite(site), advises
//     site->InitNew();                // or LoadFromStream(stream)
//     site->Activate({10, 10, 110, 110});
//     ... site->ControlWindow() ...
//     site->Detach();                 // deactivate, close, SetClientSite(NULL)
//     site->Release();
// The control holds a reference on the site while attached, so a site lives
// until Detach and the caller's Release.
//
// The order of some containers (initialise first, give the site after):
//     site->Adopt(control); site->InitNew(); site->ConnectSite(); site->Activate(pos);
#pragma once
#include <windows.h>
#include <ole2.h>
#include <olectl.h>
#include <vector>
#include "forms/idonlydispatch.h"

namespace forms {

// Ambient properties answered through the site's IDispatch. Changing them
// takes effect on the next query; nothing is pushed to the control.
struct Ambients {
    bool answerUserMode = true;   // false: DISPID_AMBIENT_USERMODE is absent
    bool userMode = true;         // answered as VT_BOOL
    bool answerBackColor = false; // false: DISPID_AMBIENT_BACKCOLOR is absent
    OLE_COLOR backColor = 0;      // answered as VT_I4
    IFontDisp* font = nullptr;    // borrowed; null: DISPID_AMBIENT_FONT is absent
    bool noDispatch = false;      // the site offers no IDispatch at all
};

// Calls the control made on the site, counted (and partly recorded) so tests
// can check what the control asked for and told its container.
struct SiteCounters {
    LONG viewChanges = 0;         // IAdviseSink::OnViewChange
    LONG dataChanges = 0;         // IAdviseSink::OnDataChange (through DAdvise)
    LONG closes = 0;              // IAdviseSink::OnClose (through IOleObject::Advise)
    LONG saves = 0;               // IAdviseSink::OnSave
    LONG saveObjects = 0;         // IOleClientSite::SaveObject
    LONG showObjects = 0;         // IOleClientSite::ShowObject
    LONG inPlaceActivations = 0;  // OnInPlaceActivate / OnInPlaceActivateEx
    LONG inPlaceDeactivations = 0;
    LONG uiActivations = 0;
    LONG uiDeactivations = 0;
    LONG posRectChanges = 0;      // OnPosRectChange
    LONG controlInfoChanges = 0;  // IOleControlSite::OnControlInfoChanged
    LONG focusGained = 0;         // IOleControlSite::OnFocus(TRUE)
    LONG focusLost = 0;           // IOleControlSite::OnFocus(FALSE)
    LONG activeObjectSets = 0;    // frame SetActiveObject with an object
    DWORD lastViewAspect = 0;
    LONG lastViewIndex = 0;
    std::vector<DISPID> ambientQueries;  // every ambient Invoke, in order
};

class InPlaceFrame;

class ControlSite : public IOleClientSite,
                    public IOleInPlaceSiteEx,
                    public IOleControlSite,
                    public IAdviseSink,
                    public IdOnlyDispatch {
public:
    // container: the window that parents the control's window. The frame
    // is the top-level window above it. Returns the site with one reference.
    static HRESULT Create(HWND container, ControlSite** out);

    Ambients& ambients() { return m_ambients; }
    SiteCounters& counters() { return m_counters; }
    void ResetCounters() { m_counters = SiteCounters(); }

    // Remembers the control and gives it the site (IOleObject::SetClientSite),
    // then advises for view changes (IViewObject::SetAdvise), data changes
    // (IDataObject::DAdvise, ADVF_NODATA) and OLE notifications
    // (IOleObject::Advise); advises the control lacks are skipped.
    HRESULT Attach(IUnknown* control);
    // Remembers the control without giving it the site; ConnectSite does that.
    HRESULT Adopt(IUnknown* control);
    HRESULT ConnectSite();

    HRESULT InitNew();                  // IPersistStreamInit::InitNew, else IPersistPropertyBag::InitNew
    HRESULT LoadFromStream(IStream* s); // IPersistStreamInit::Load
    HRESULT SaveToStream(IStream* s, BOOL clearDirty = TRUE);  // IPersistStreamInit::Save

    // Sets the extent (HIMETRIC of pos's size) and activates in place at pos
    // (container client coordinates): the control creates its window.
    HRESULT Activate(const RECT& pos);
    HRESULT UIActivate();               // DoVerb(OLEIVERB_UIACTIVATE) at the current position
    HRESULT Move(const RECT& pos);      // SetExtent + IOleInPlaceObject::SetObjectRects
    HRESULT Deactivate();               // IOleInPlaceObject::InPlaceDeactivate
    // Deactivates, IOleObject::Close(OLECLOSE_NOSAVE), removes the advises,
    // SetClientSite(NULL) and releases the control. Returns Close's result
    // (S_FALSE when nothing is attached).
    HRESULT Detach();

    IUnknown* Control() const { return m_control; }   // borrowed
    HWND ControlWindow();               // the control's window while in-place active, else null
    HWND ContainerWindow() const { return m_container; }
    HWND FrameWindow() const;
    const RECT& Position() const { return m_pos; }
    bool InPlaceActive() const { return m_inPlaceActive; }
    bool UIActive() const { return m_uiActive; }
    IOleInPlaceActiveObject* ActiveObject() const;  // what the control gave the frame (borrowed), or null

    // Shortcuts of the counters.
    LONG viewChanges() const { return m_counters.viewChanges; }
    LONG dataChanges() const { return m_counters.dataChanges; }

    // Pixel <-> HIMETRIC of the screen, as TransformCoords uses them.
    static LONG PixelsToHimetricX(LONG px);
    static LONG PixelsToHimetricY(LONG px);
    static LONG HimetricToPixelsX(LONG him);
    static LONG HimetricToPixelsY(LONG him);

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID iid, void** ppv) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

    // IOleClientSite
    STDMETHODIMP SaveObject() override;
    STDMETHODIMP GetMoniker(DWORD assign, DWORD which, IMoniker** mk) override;
    STDMETHODIMP GetContainer(IOleContainer** container) override;
    STDMETHODIMP ShowObject() override;
    STDMETHODIMP OnShowWindow(BOOL show) override;
    STDMETHODIMP RequestNewObjectLayout() override;

    // IOleWindow
    STDMETHODIMP GetWindow(HWND* hwnd) override;
    STDMETHODIMP ContextSensitiveHelp(BOOL enter) override;

    // IOleInPlaceSite
    STDMETHODIMP CanInPlaceActivate() override;
    STDMETHODIMP OnInPlaceActivate() override;
    STDMETHODIMP OnUIActivate() override;
    STDMETHODIMP GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** doc, RECT* pos, RECT* clip,
                                  OLEINPLACEFRAMEINFO* info) override;
    STDMETHODIMP Scroll(SIZE extent) override;
    STDMETHODIMP OnUIDeactivate(BOOL undoable) override;
    STDMETHODIMP OnInPlaceDeactivate() override;
    STDMETHODIMP DiscardUndoState() override;
    STDMETHODIMP DeactivateAndUndo() override;
    STDMETHODIMP OnPosRectChange(LPCRECT pos) override;

    // IOleInPlaceSiteEx
    STDMETHODIMP OnInPlaceActivateEx(BOOL* noRedraw, DWORD flags) override;
    STDMETHODIMP OnInPlaceDeactivateEx(BOOL noRedraw) override;
    STDMETHODIMP RequestUIActivate() override;

    // IOleControlSite
    STDMETHODIMP OnControlInfoChanged() override;
    STDMETHODIMP LockInPlaceActive(BOOL lock) override;
    STDMETHODIMP GetExtendedControl(IDispatch** disp) override;
    STDMETHODIMP TransformCoords(POINTL* himetric, POINTF* container, DWORD flags) override;
    STDMETHODIMP TranslateAccelerator(MSG* msg, DWORD modifiers) override;
    STDMETHODIMP OnFocus(BOOL gotFocus) override;
    STDMETHODIMP ShowPropertyFrame() override;

    // IAdviseSink
    STDMETHODIMP_(void) OnDataChange(FORMATETC* fmt, STGMEDIUM* medium) override;
    STDMETHODIMP_(void) OnViewChange(DWORD aspect, LONG index) override;
    STDMETHODIMP_(void) OnRename(IMoniker* mk) override;
    STDMETHODIMP_(void) OnSave() override;
    STDMETHODIMP_(void) OnClose() override;

    // IDispatch (ambient properties, by dispatch id only)
    STDMETHODIMP Invoke(DISPID id, REFIID iid, LCID lcid, WORD flags, DISPPARAMS* params, VARIANT* result,
                        EXCEPINFO* excep, UINT* argErr) override;

protected:
    explicit ControlSite(HWND container);
    virtual ~ControlSite();

private:
    ControlSite(const ControlSite&) = delete;
    ControlSite& operator=(const ControlSite&) = delete;

    HRESULT DoVerb(LONG verb);
    void Unadvise();
    RECT ClipRect() const;
    // Hands the control its position m_pos and the clip rectangle.
    HRESULT PushObjectRects();

    LONG m_refs = 1;
    HWND m_container;
    InPlaceFrame* m_frame = nullptr;
    Ambients m_ambients;
    SiteCounters m_counters;

    IUnknown* m_control = nullptr;
    IOleObject* m_oleObject = nullptr;
    bool m_siteGiven = false;
    DWORD m_dataCookie = 0;
    DWORD m_oleCookie = 0;
    bool m_viewAdvised = false;

    RECT m_pos{};
    bool m_inPlaceActive = false;
    bool m_uiActive = false;
};

}  // namespace forms
