#include "slider_support.h"

namespace slidertest {

HRESULT PutProperty(IUnknown* control, DISPID id, const VARIANT& value) {
    Ptr<IDispatch> d;
    QueryOwned(control, IID_IDispatch, d);
    return PutById(d, id, value);
}

Variant GetProperty(IUnknown* control, DISPID id) {
    Ptr<IDispatch> d;
    QueryOwned(control, IID_IDispatch, d);
    Variant result;
    CHECK(GetById(d, id, result) == S_OK);
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
