#include "forms/form.h"

#include <algorithm>

#include "forms/eventsink.h"
#include "forms/runtime.h"
#include "forms/site.h"
#include "forms/units.h"

namespace forms {

// ---------------------------------------------------------------- EventArgs

Variant EventArgs::At(size_t i) const {
    if (!m_params || i >= m_params->cArgs) return Variant();
    const VARIANT& a = m_params->rgvarg[m_params->cArgs - 1 - i];
    if (V_VT(&a) & VT_BYREF) {
        Variant copy;
        VariantCopyInd(&copy.v, const_cast<VARIANT*>(&a));
        return copy;
    }
    return Variant(a);
}

// ---------------------------------------------------------------- Control: hosted, late-bound

HWND Control::hwnd() const { return m_site ? m_site->ControlWindow() : m_hwnd; }

Variant Control::Late(DISPID id, WORD flags, std::initializer_list<Arg> args, const wchar_t* member) {
    return Invoke(m_dispatch, id, flags, args, name(), member ? Narrow(member) : std::string(),
                  &m_form->runtime().calls);
}

Variant Control::Call(DISPID id, std::initializer_list<Arg> args) { return Late(id, DISPATCH_METHOD, args, nullptr); }
Variant Control::Get(DISPID id) { return Late(id, DISPATCH_PROPERTYGET, {}, nullptr); }
void Control::Put(DISPID id, const Arg& value) { Late(id, DISPATCH_PROPERTYPUT, {value}, nullptr); }
void Control::PutRef(DISPID id, const Arg& value) { Late(id, DISPATCH_PROPERTYPUTREF, {value}, nullptr); }

Variant Control::Call(const wchar_t* member, std::initializer_list<Arg> args) {
    return Late(IdOf(member), DISPATCH_METHOD, args, member);
}
Variant Control::Get(const wchar_t* member) { return Late(IdOf(member), DISPATCH_PROPERTYGET, {}, member); }
void Control::Put(const wchar_t* member, const Arg& value) { Late(IdOf(member), DISPATCH_PROPERTYPUT, {value}, member); }
void Control::PutRef(const wchar_t* member, const Arg& value) {
    Late(IdOf(member), DISPATCH_PROPERTYPUTREF, {value}, member);
}

DISPID Control::IdOf(const wchar_t* member) { return IdOfName(m_dispatch, member, name()); }

// ---------------------------------------------------------------- Form

Form::Form(Runtime& runtime, const FormDef& def) : m_runtime(runtime), m_def(def) {
    if (def.newState) m_state = def.newState();
}

Form::~Form() {
    if (!m_unloaded) Unload();
}

Control* Form::Find(const std::string& name) {
    for (auto& c : m_controls)
        if (c->name() == name) return c.get();
    return nullptr;
}

Control& Form::operator[](const std::string& name) {
    Control* c = Find(name);
    if (!c) {
        RuntimeError e;
        e.hr = DISP_E_MEMBERNOTFOUND;
        e.member = name;
        e.text = L"Control not found on " + std::wstring(m_def.name.begin(), m_def.name.end());
        throw e;
    }
    return *c;
}

Control* Form::FindByWindow(HWND hwnd) {
    if (!hwnd) return nullptr;
    for (auto& c : m_controls)
        if (c->m_hwnd == hwnd) return c.get();
    return nullptr;
}

HWND Form::ContainerOf(const ControlDef& def) {
    if (def.parent.empty()) return m_hwnd;
    Control* parent = Find(def.parent);
    return parent && parent->m_hwnd ? parent->m_hwnd : m_hwnd;
}

void Form::Open(HWND mdiClient) {
    try {
        CreateWindowFor(mdiClient);
        m_ambientFont = CreateFontObject(m_def.font);
        for (size_t i = 0; i < m_def.controls.size(); ++i) {
            auto c = std::make_unique<Control>();
            c->m_form = this;
            c->m_def = &m_def.controls[i];
            c->m_index = i;
            c->m_fore = c->m_def->fore;
            c->m_rect = TwipsRect(c->m_def->left, c->m_def->top, c->m_def->width, c->m_def->height);
            Control& ref = *c;
            m_controls.push_back(std::move(c));
            if (ref.kind() == Kind::Hosted)
                CreateHosted(ref);
            else
                CreateBuiltIn(ref);
            // Later rows lie above earlier ones.
            if (HWND w = ref.hwnd()) SetWindowPos(w, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        }
        if (m_def.mdiFrame) LayoutFrame();
    } catch (...) {
        Unload();
        throw;
    }
    m_live = true;
    Raise("", kLoadEvent);
    if (m_live) StartTimers();
}

void Form::Show() {
    if (!m_hwnd || !m_live) return;
    ShowWindow(m_hwnd, SW_SHOW);
    if (m_mdiChild) SendMessageW(m_mdiClient, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(m_hwnd), 0);
    UpdateWindow(m_hwnd);
}

void Form::CreateHosted(Control& c) {
    const ControlDef& d = c.def();
    const std::vector<BYTE>& saved = m_runtime.SavedProperties(m_def, d, m_hwnd, m_ambientFont);
    RuntimeError error;
    error.control = d.name;
    auto fail = [&](HRESULT hr, const char* step) {
        error.hr = hr;
        error.member = step;
        error.text = StatusText(hr);
        throw error;
    };
    HRESULT hr = CoCreateInstance(d.cls->clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                                  reinterpret_cast<void**>(&c.m_object));
    if (FAILED(hr)) fail(hr, "create");
    hr = ControlSite::Create(ContainerOf(d), &c.m_site);
    if (FAILED(hr)) fail(hr, "site");
    Ambients& amb = c.m_site->ambients();
    amb.userMode = true;
    amb.answerBackColor = true;
    amb.backColor = m_def.back;
    amb.font = m_ambientFont;
    hr = c.m_site->Attach(c.m_object);
    if (FAILED(hr)) fail(hr, "SetClientSite");
    IStream* stream = nullptr;
    hr = CreateStreamOnHGlobal(nullptr, TRUE, &stream);
    if (SUCCEEDED(hr)) hr = stream->Write(saved.data(), static_cast<ULONG>(saved.size()), nullptr);
    LARGE_INTEGER zero{};
    if (SUCCEEDED(hr)) hr = stream->Seek(zero, STREAM_SEEK_SET, nullptr);
    if (SUCCEEDED(hr)) hr = c.m_site->LoadFromStream(stream);
    if (stream) stream->Release();
    if (FAILED(hr)) fail(hr, "Load");
    hr = c.m_site->Activate(c.m_rect);
    if (FAILED(hr)) fail(hr, "activate");
    // Overlapping controls must not paint over the ones above them.
    if (HWND w = c.m_site->ControlWindow())
        SetWindowLongPtrW(w, GWL_STYLE, GetWindowLongPtrW(w, GWL_STYLE) | WS_CLIPSIBLINGS);
    if (FAILED(c.m_object->QueryInterface(d.cls->iid, reinterpret_cast<void**>(&c.m_dispatch))))
        c.m_object->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&c.m_dispatch));
    // Events only now: a control may fire while it loads.
    IConnectionPointContainer* cpc = nullptr;
    hr = c.m_object->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(&cpc));
    if (SUCCEEDED(hr)) {
        hr = cpc->FindConnectionPoint(d.cls->events, &c.m_point);
        cpc->Release();
    }
    if (SUCCEEDED(hr)) {
        c.m_sink = new EventSink(this, c.m_index, d.cls->events);
        hr = c.m_point->Advise(static_cast<IDispatch*>(c.m_sink), &c.m_cookie);
    }
    if (FAILED(hr)) fail(hr, "connect events");
}

void Form::ReleaseHosted(Control& c) {
    if (c.m_dispatch) c.m_dispatch->Release();
    c.m_dispatch = nullptr;
    if (c.m_site) {
        c.m_site->Detach();
        c.m_site->Release();
        c.m_site = nullptr;
    }
    if (c.m_object) c.m_object->Release();
    c.m_object = nullptr;
}

void Form::Unload() {
    if (m_unloaded) return;
    // A frame's child forms go first: their controls before the windows they live in.
    if (m_def.mdiFrame && m_mdiClient)
        for (const auto& f : m_runtime.forms())
            if (f.get() != this && f->m_mdiChild && f->m_mdiClient == m_mdiClient) f->Unload();
    m_unloaded = true;
    m_live = false;
    StopTimers();
    for (auto& c : m_controls) {
        if (c->m_point) {
            if (c->m_cookie) c->m_point->Unadvise(c->m_cookie);
            c->m_point->Release();
            c->m_point = nullptr;
        }
        if (c->m_sink) {
            c->m_sink->Orphan();
            c->m_sink->Release();
            c->m_sink = nullptr;
        }
    }
    for (auto it = m_controls.rbegin(); it != m_controls.rend(); ++it) ReleaseHosted(**it);
    if (m_hwnd) {
        HWND w = m_hwnd;
        SetWindowLongPtrW(w, GWLP_USERDATA, 0);
        if (m_mdiChild)
            SendMessageW(m_mdiClient, WM_MDIDESTROY, reinterpret_cast<WPARAM>(w), 0);
        else
            DestroyWindow(w);
        m_hwnd = nullptr;
    }
    for (auto& c : m_controls) {
        if (c->m_font) DeleteObject(c->m_font);
        if (c->m_brush) DeleteObject(c->m_brush);
        if (c->m_picture) c->m_picture->Release();
        c->m_font = nullptr;
        c->m_brush = nullptr;
        c->m_picture = nullptr;
        c->m_hwnd = nullptr;
    }
    if (m_ambientFont) m_ambientFont->Release();
    m_ambientFont = nullptr;
    m_runtime.Forget(this);
}

}  // namespace forms
