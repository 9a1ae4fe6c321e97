// A loaded form: its window, one Control per row of its table, its event
// sinks and timers, and the handlers bound to them.
//
// Lifecycle. Open: the window, then every row in table order (a hosted
// control is created by class id, given its site, loaded from its saved
// properties, activated in place and only then connected to the form's
// sink), Form_Load, the enabled timers, and the window is shown by Show.
// Unload, the reverse: timers stop (a tick already queued runs nothing),
// sinks are disconnected, each hosted control is deactivated, closed and
// released, the window goes. Events that arrive meanwhile run no handler.
#pragma once
#include <windows.h>
#include <ole2.h>
#include <any>
#include <memory>
#include <string>
#include <vector>
#include "forms/formdef.h"
#include "forms/latebind.h"

namespace forms {

class ControlSite;
class EventSink;
class Runtime;

// The arguments of an event, first argument first.
class EventArgs {
public:
    explicit EventArgs(const DISPPARAMS* params = nullptr) : m_params(params) {}
    size_t Count() const { return m_params ? m_params->cArgs : 0; }
    Variant At(size_t i) const;  // empty when there is no such argument
    double Num(size_t i) const { return At(i).AsDouble(); }
    std::wstring Str(size_t i) const { return At(i).AsString(); }

private:
    const DISPPARAMS* m_params;
};

class Control {
public:
    const ControlDef& def() const { return *m_def; }
    const std::string& name() const { return m_def->name; }
    Kind kind() const { return m_def->kind; }
    // The control's window: a built-in part's own, or the hosted control's
    // while it is in place (null for lines and timers).
    HWND hwnd() const;
    // The rectangle in pixels of the container.
    const RECT& rect() const { return m_rect; }

    // Built-in parts.
    std::wstring Text() const;                 // caption or text
    void SetText(const std::wstring& text);
    OLE_COLOR ForeColor() const { return m_fore; }
    void SetForeColor(OLE_COLOR c);
    bool TimerEnabled() const { return m_timerOn; }

    // Hosted controls, late-bound (run-time error on failure).
    IUnknown* Object() const { return m_object; }   // borrowed
    IDispatch* Dispatch() const { return m_dispatch; }
    Variant Call(DISPID id, std::initializer_list<Arg> args = {});
    Variant Get(DISPID id);
    void Put(DISPID id, const Arg& value);
    void PutRef(DISPID id, const Arg& value);
    DISPID IdOf(const wchar_t* name);
    Variant Call(const wchar_t* name, std::initializer_list<Arg> args = {});
    Variant Get(const wchar_t* name);
    void Put(const wchar_t* name, const Arg& value);
    void PutRef(const wchar_t* name, const Arg& value);

private:
    friend class Form;
    Variant Late(DISPID id, WORD flags, std::initializer_list<Arg> args, const wchar_t* name);
    Form* m_form = nullptr;
    const ControlDef* m_def = nullptr;
    size_t m_index = 0;
    RECT m_rect{};
    HWND m_hwnd = nullptr;            // built-in window
    HFONT m_font = nullptr;
    HBRUSH m_brush = nullptr;
    OLE_COLOR m_fore = 0;
    IPicture* m_picture = nullptr;    // image
    // hosted
    ControlSite* m_site = nullptr;
    IUnknown* m_object = nullptr;
    IDispatch* m_dispatch = nullptr;
    EventSink* m_sink = nullptr;
    IConnectionPoint* m_point = nullptr;
    DWORD m_cookie = 0;
    // timer
    bool m_timerOn = false;
    UINT_PTR m_timerId = 0;
    DWORD m_elapsed = 0;              // test clock
};

class Form : public std::enable_shared_from_this<Form> {
public:
    Form(Runtime& runtime, const FormDef& def);
    ~Form();
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    const FormDef& def() const { return m_def; }
    const std::string& name() const { return m_def.name; }
    Runtime& runtime() const { return m_runtime; }
    HWND hwnd() const { return m_hwnd; }
    HWND mdiClient() const { return m_mdiClient; }   // the frame's
    bool Loaded() const { return m_live; }

    Control& operator[](const std::string& name);   // run-time error when there is none
    Control* Find(const std::string& name);
    Control* FindByWindow(HWND hwnd);
    const std::vector<std::unique_ptr<Control>>& controls() const { return m_controls; }

    template <class T> T& State() { return std::any_cast<T&>(m_state); }

    // Loads the form (see above); throws RuntimeError, after undoing what
    // was done, when a control cannot be created, loaded or activated.
    void Open(HWND mdiClient);
    void Show();
    void Unload();

    // Fires a built-in part's event or the form's Load through the bindings.
    void Raise(const std::string& control, DISPID event, const DISPPARAMS* params = nullptr);
    // Timer ticks of the test clock: ms more have passed.
    void Advance(DWORD ms);
    void OnTimerMessage(UINT_PTR id);

    // Window procedures' helpers.
    LRESULT ColorMessage(HDC dc, HWND child);
    void PaintLines(HWND container, HDC dc);
    void LayoutFrame();

private:
    friend class EventSink;
    void CreateWindowFor(HWND mdiClient);
    void CreateBuiltIn(Control& c);
    void CreateHosted(Control& c);
    void ReleaseHosted(Control& c);
    void StartTimers();
    void StopTimers();
    HWND ContainerOf(const ControlDef& def);
    void OnControlEvent(size_t index, DISPID id, const DISPPARAMS* params);
    void RunHandler(const HandlerDef& handler, const DISPPARAMS* params);

    Runtime& m_runtime;
    const FormDef& m_def;
    std::any m_state;
    HWND m_hwnd = nullptr;
    HWND m_mdiClient = nullptr;
    bool m_mdiChild = false;
    bool m_live = false;
    bool m_unloaded = false;
    IFontDisp* m_ambientFont = nullptr;
    std::vector<std::unique_ptr<Control>> m_controls;
};

}  // namespace forms
