#include "slider_support.h"
#include <algorithm>

namespace slidertest {

Bytes SaveBytes(IUnknown* control) {
    Ptr<IPersistStreamInit> ps;
    QueryOwned(control, IID_IPersistStreamInit, ps);
    Ptr<IStream> s;
    REQUIRE(CreateStreamOnHGlobal(nullptr, TRUE, s.out()) == S_OK);
    REQUIRE(ps->Save(s, TRUE) == S_OK);
    STATSTG st{};
    s->Stat(&st, STATFLAG_NONAME);
    Bytes out((size_t)st.cbSize.QuadPart);
    LARGE_INTEGER zero{};
    s->Seek(zero, STREAM_SEEK_SET, nullptr);
    ULONG read = 0;
    if (!out.empty()) s->Read(out.data(), (ULONG)out.size(), &read);
    return out;
}

HRESULT LoadBytes(IUnknown* control, const Bytes& bytes) {
    Ptr<IPersistStreamInit> ps;
    QueryOwned(control, IID_IPersistStreamInit, ps);
    Ptr<IStream> s;
    REQUIRE(CreateStreamOnHGlobal(nullptr, TRUE, s.out()) == S_OK);
    ULONG written = 0;
    s->Write(bytes.data(), (ULONG)bytes.size(), &written);
    LARGE_INTEGER zero{};
    s->Seek(zero, STREAM_SEEK_SET, nullptr);
    return ps->Load(s);
}

size_t Find(const Bytes& hay, const Bytes& needle, size_t from) {
    for (size_t i = from; i + needle.size() <= hay.size(); ++i)
        if (std::equal(needle.begin(), needle.end(), hay.begin() + i)) return i;
    return std::string::npos;
}

STDMETHODIMP Bag::QueryInterface(REFIID iid, void** ppv) {
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IPropertyBag)) {
        *ppv = this;
        return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP Bag::Read(LPCOLESTR name, VARIANT* v, IErrorLog*) {
    auto it = values.find(name);
    if (it == values.end()) return E_INVALIDARG;
    VARTYPE want = V_VT(v);
    VariantClear(v);
    if (want == VT_EMPTY || want == it->second.vt()) return VariantCopy(v, &it->second.v);
    return VariantChangeType(v, &it->second.v, 0, want);
}

STDMETHODIMP Bag::Write(LPCOLESTR name, VARIANT* v) {
    values[name] = Variant(*v);
    order.push_back(name);
    return S_OK;
}

HRESULT PutProperty(IUnknown* control, DISPID id, const VARIANT& value) {
    Ptr<IDispatch> d;
    QueryOwned(control, IID_IDispatch, d);
    VARIANT arg = value;
    DISPID named = DISPID_PROPERTYPUT;
    DISPPARAMS params{&arg, &named, 1, 1};
    return d->Invoke(id, IID_NULL, 0, DISPATCH_PROPERTYPUT, &params, nullptr, nullptr, nullptr);
}

Variant GetProperty(IUnknown* control, DISPID id) {
    Ptr<IDispatch> d;
    QueryOwned(control, IID_IDispatch, d);
    Variant result;
    DISPPARAMS none{nullptr, nullptr, 0, 0};
    CHECK(d->Invoke(id, IID_NULL, 0, DISPATCH_PROPERTYGET, &none, &result.v, nullptr, nullptr) == S_OK);
    return result;
}

Hosted::Hosted(REFCLSID clsid, REFIID eventIid, int w, int h, bool userMode, bool answerUserMode)
    : window(w > 0 ? w + 40 : 400, h > 0 ? h + 40 : 300), events(eventIid) {
    const IID& dual = IsEqualCLSID(clsid, CLSID_QEV_Slider) ? IID_IQEV_Slider : IID_IQEV_SwitchSlider;
    REQUIRE(Morvel().Create(clsid, dual, reinterpret_cast<void**>(&control)) == S_OK);
    REQUIRE(forms::ControlSite::Create(window, &site) == S_OK);
    site->ambients().userMode = userMode;
    site->ambients().answerUserMode = answerUserMode;
    REQUIRE(site->Attach(control) == S_OK);
    REQUIRE(site->InitNew() == S_OK);
    REQUIRE(events.Connect(control) == S_OK);
    if (w > 0) Activate(w, h);
}

Hosted::~Hosted() {
    events.Disconnect();
    site->Detach();
    site->Release();
    control->Release();
}

void Hosted::Activate(int w, int h) {
    REQUIRE(site->Activate(RECT{0, 0, w, h}) == S_OK);
    hwnd = site->ControlWindow();
    REQUIRE(hwnd);
    Paint();
}

void Hosted::Paint() {
    RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    PumpPending();
}

}  // namespace slidertest
