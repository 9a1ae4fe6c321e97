#include "forms/runtime.h"

#include <algorithm>
#include <cstdio>

#include "forms/site.h"
#include "forms/units.h"

namespace forms {

void RegisterFormClasses(HINSTANCE instance);  // windows.cpp

Runtime::Runtime(HINSTANCE resources) : m_resources(resources) { RegisterFormClasses(GetModuleHandleW(nullptr)); }

Runtime::~Runtime() { UnloadAll(); }

std::shared_ptr<Form> Runtime::Load(const FormDef& def) {
    auto form = std::make_shared<Form>(*this, def);
    HWND mdiClient = !def.mdiFrame && m_frame ? m_frame->mdiClient() : nullptr;
    if (def.mdiFrame) m_frame = form;
    m_forms.push_back(form);
    try {
        form->Open(mdiClient);
    } catch (...) {
        Forget(form.get());
        throw;
    }
    return form;
}

std::shared_ptr<Form> Runtime::Find(const std::string& name) const {
    for (const auto& f : m_forms)
        if (f->name() == name) return f;
    return nullptr;
}

void Runtime::Forget(Form* form) {
    auto it = std::find_if(m_forms.begin(), m_forms.end(), [&](const auto& f) { return f.get() == form; });
    std::shared_ptr<Form> keep;
    if (it != m_forms.end()) {
        keep = *it;
        m_forms.erase(it);
    }
    if (m_frame.get() == form) m_frame.reset();
}

void Runtime::UnloadAll() {
    // The latest first; a frame unloads its child forms before itself.
    while (!m_forms.empty()) {
        std::shared_ptr<Form> last = m_forms.back();
        last->Unload();
        Forget(last.get());
    }
}

int Runtime::Run() {
    MSG msg;
    while (m_frame && m_frame->Loaded() && GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (m_frame && m_frame->mdiClient() && TranslateMDISysAccel(m_frame->mdiClient(), &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    UnloadAll();
    return 0;
}

void Runtime::Advance(DWORD ms) {
    std::vector<std::shared_ptr<Form>> open = m_forms;
    for (auto& f : open)
        if (f->Loaded()) f->Advance(ms);
}

void Runtime::Report(const Form& form, const HandlerDef& handler, const RuntimeError& error) {
    std::string line = form.name() + "." + handler.name + ": " + error.Describe();
    std::fprintf(stderr, "%s\n", line.c_str());
    std::fflush(stderr);
    errors.push_back(line);
    if (onError) onError(line);
}

// ---------------------------------------------------------------- pictures

IPicture* Runtime::LoadPicture(int resource) {
    RuntimeError error;
    error.member = "picture " + std::to_string(resource);
    HRSRC found = FindResourceW(m_resources, MAKEINTRESOURCEW(resource), MAKEINTRESOURCEW(10) /* RT_RCDATA */);
    HGLOBAL loaded = found ? LoadResource(m_resources, found) : nullptr;
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    const DWORD size = found ? SizeofResource(m_resources, found) : 0;
    if (!bytes || !size) {
        error.hr = HRESULT_FROM_WIN32(ERROR_RESOURCE_NAME_NOT_FOUND);
        error.text = StatusText(error.hr);
        throw error;
    }
    IStream* stream = nullptr;
    HRESULT hr = CreateStreamOnHGlobal(nullptr, TRUE, &stream);
    if (SUCCEEDED(hr)) hr = stream->Write(bytes, size, nullptr);
    LARGE_INTEGER zero{};
    if (SUCCEEDED(hr)) hr = stream->Seek(zero, STREAM_SEEK_SET, nullptr);
    IPicture* picture = nullptr;
    if (SUCCEEDED(hr)) hr = OleLoadPicture(stream, static_cast<LONG>(size), FALSE, IID_IPicture, reinterpret_cast<void**>(&picture));
    if (stream) stream->Release();
    if (FAILED(hr) || !picture) {
        error.hr = FAILED(hr) ? hr : E_FAIL;
        error.text = StatusText(error.hr);
        throw error;
    }
    return picture;
}

// ---------------------------------------------------------------- saved properties

namespace {

// Puts one design-time setting by name.
void PutSetting(Runtime& rt, IDispatch* disp, const ControlDef& row, const Prop& p) {
    const DISPID id = IdOfName(disp, p.name.c_str(), row.name);
    const std::string member = Narrow(p.name);
    switch (p.type) {
    case Prop::I2: Invoke(disp, id, DISPATCH_PROPERTYPUT, {Arg::I2(static_cast<short>(p.number))}, row.name, member, nullptr); break;
    case Prop::I4: Invoke(disp, id, DISPATCH_PROPERTYPUT, {Arg::I4(static_cast<LONG>(static_cast<long long>(p.number)))}, row.name, member, nullptr); break;
    case Prop::R4: Invoke(disp, id, DISPATCH_PROPERTYPUT, {Arg::R4(static_cast<float>(p.number))}, row.name, member, nullptr); break;
    case Prop::R8: Invoke(disp, id, DISPATCH_PROPERTYPUT, {Arg::R8(p.number)}, row.name, member, nullptr); break;
    case Prop::Bool: Invoke(disp, id, DISPATCH_PROPERTYPUT, {Arg::Bool(p.number != 0)}, row.name, member, nullptr); break;
    case Prop::Str: Invoke(disp, id, DISPATCH_PROPERTYPUT, {Arg::Str(p.text)}, row.name, member, nullptr); break;
    case Prop::Font: {
        IFontDisp* font = CreateFontObject(p.font);
        Arg a = Arg::Object(font);
        if (font) font->Release();
        Invoke(disp, id, DISPATCH_PROPERTYPUT, {a}, row.name, member, nullptr);
        break;
    }
    case Prop::Picture: {
        IPicture* picture = rt.LoadPicture(p.resource);
        IDispatch* pd = nullptr;
        picture->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&pd));
        picture->Release();
        Arg a = Arg::Object(pd);
        if (pd) pd->Release();
        Invoke(disp, id, DISPATCH_PROPERTYPUTREF, {a}, row.name, member, nullptr);
        break;
    }
    }
}

}  // namespace

const std::vector<BYTE>& Runtime::SavedProperties(const FormDef& form, const ControlDef& row, HWND host,
                                                  IFontDisp* formFont) {
    auto cached = m_saved.find(&row);
    if (cached != m_saved.end()) return cached->second;

    RuntimeError error;
    error.control = row.name;
    IUnknown* object = nullptr;
    ControlSite* site = nullptr;
    IDispatch* disp = nullptr;
    IStream* stream = nullptr;
    std::vector<BYTE> bytes;
    auto cleanup = [&] {
        if (disp) disp->Release();
        if (site) {
            site->Detach();
            site->Release();
        }
        if (object) object->Release();
        if (stream) stream->Release();
    };
    auto check = [&](HRESULT hr, const char* step) {
        if (SUCCEEDED(hr)) return;
        cleanup();
        error.hr = hr;
        error.member = step;
        error.text = StatusText(hr);
        throw error;
    };
    check(CoCreateInstance(row.cls->clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                           reinterpret_cast<void**>(&object)), "create");
    check(ControlSite::Create(host, &site), "site");
    site->ambients().userMode = false;
    site->ambients().answerBackColor = true;
    site->ambients().backColor = form.back;
    site->ambients().font = formFont;
    check(site->Attach(object), "SetClientSite");
    check(site->InitNew(), "InitNew");
    check(object->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&disp)), "IDispatch");
    try {
        for (const Prop& p : row.props) PutSetting(*this, disp, row, p);
    } catch (...) {
        cleanup();
        throw;
    }
    check(CreateStreamOnHGlobal(nullptr, TRUE, &stream), "stream");
    check(site->SaveToStream(stream, TRUE), "Save");
    HGLOBAL memory = nullptr;
    STATSTG stat{};
    check(stream->Stat(&stat, STATFLAG_NONAME), "stream");
    check(GetHGlobalFromStream(stream, &memory), "stream");
    const BYTE* data = static_cast<const BYTE*>(GlobalLock(memory));
    bytes.assign(data, data + stat.cbSize.QuadPart);
    GlobalUnlock(memory);
    cleanup();
    return m_saved.emplace(&row, std::move(bytes)).first->second;
}

}  // namespace forms
