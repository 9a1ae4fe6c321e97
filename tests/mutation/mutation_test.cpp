// Every control against hostile input: a few thousand mutated saved streams
// and property bags each, from a fixed seed, with a paint and a save after
// every load; and the late-bound property get that hands arguments to a
// null object. A library adds its controls with one row each.
#include <doctest/doctest.h>

#include <windows.h>
#include <ole2.h>
#include <ocidl.h>
#include <olectl.h>

#include <string>

#include "host.h"
#include "mutation.h"

using namespace testsupport;

namespace {

// One row per control: name, library file, class id.
const MutationTarget kTargets[] = {
    // The knob family (Tarnik).
    {"knob", L"Tarnik.dll", L"{4239AE66-F4F8-4D5F-A26B-CF369C4EDEA6}"},
    {"switch knob", L"Tarnik.dll", L"{CF35E3ED-FFDB-4343-B0AE-C1073AA22190}"},
    // The slider library (Morvel).
    {"slider", L"Morvel.dll", L"{A47569DD-4B28-4388-857D-45874088FDC1}"},
    {"switch slider", L"Morvel.dll", L"{36ED955E-C45E-4B15-90D7-AC6494A085A4}"},
    // The button library (Pellan).
    {"smart button", L"Pellan.dll", L"{BA283D99-A0F2-45B2-94AD-A90D8F512F0E}"},
    // The switch library (Wendal).
    {"switch", L"Wendal.dll", L"{8350B0B5-E102-4E28-9E26-BA96CB522791}"},
};

IDispatch* Create(const MutationTarget& target) {
    CLSID clsid;
    REQUIRE(CLSIDFromString(const_cast<LPOLESTR>(target.clsid), &clsid) == S_OK);
    IDispatch* d = nullptr;
    REQUIRE(KeptLibrary(target.library).Create(clsid, IID_IDispatch, reinterpret_cast<void**>(&d)) == S_OK);
    IPersistStreamInit* init = nullptr;
    REQUIRE(d->QueryInterface(IID_IPersistStreamInit, reinterpret_cast<void**>(&init)) == S_OK);
    CHECK(init->InitNew() == S_OK);
    init->Release();
    return d;
}

HRESULT Call(IDispatch* d, DISPID id, WORD flags, VARIANT* args, UINT count, VARIANT* result) {
    DISPID put = DISPID_PROPERTYPUT;
    bool isPut = flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF);
    DISPPARAMS params{args, isPut ? &put : nullptr, count, isPut ? 1u : 0u};
    EXCEPINFO ei{};
    HRESULT hr = d->Invoke(id, IID_NULL, 0, flags, &params, result, &ei, nullptr);
    SysFreeString(ei.bstrSource);
    SysFreeString(ei.bstrDescription);
    SysFreeString(ei.bstrHelpFile);
    return hr;
}

}  // namespace

TEST_CASE("mutated streams and bags neither crash a control nor leave it unable to paint and save") {
    for (size_t i = 0; i < sizeof kTargets / sizeof kTargets[0]; ++i) {
        const MutationTarget& target = kTargets[i];
        const std::string name = target.name;
        CAPTURE(name);
        MutationCounts counts;
        counts.seed = 0x5EED0000 + i;
        MutationReport r = RunMutation(target, counts);
        CHECK(r.firstFailure == "");
        CHECK(r.streamLoads == counts.streams);
        CHECK(r.bagLoads == counts.bags);
        CHECK(r.failedPaints == 0);
        CHECK(r.failedSaves == 0);
        // The mutants reach past the first rows: some loads still succeed.
        CHECK(r.streamsAccepted > 0);
        CHECK(r.streamsAccepted < r.streamLoads);
        CHECK(r.bagsAccepted > 0);
        CHECK(r.bagsAccepted < r.bagLoads);
        MESSAGE(name << ": " << r.streamsAccepted << " of " << r.streamLoads << " streams and "
                            << r.bagsAccepted << " of " << r.bagLoads << " bags accepted");
    }
}

TEST_CASE("a late-bound get of Font with an argument answers DISP_E_BADPARAMCOUNT while the font is nothing") {
    for (const MutationTarget& target : kTargets) {
        const std::string name = target.name;
        CAPTURE(name);
        IDispatch* d = Create(target);
        LPOLESTR member = const_cast<LPOLESTR>(L"Font");
        DISPID font = 0;
        REQUIRE(d->GetIDsOfNames(IID_NULL, &member, 1, 0, &font) == S_OK);
        VARIANT arg;
        VariantInit(&arg);
        arg.vt = VT_I4;
        arg.lVal = 1;
        VARIANT result;
        VariantInit(&result);

        // With a font, the call goes on to the font's own default member.
        FONTDESC fd{sizeof(FONTDESC), const_cast<LPOLESTR>(L"Arial"), {}, FW_NORMAL, ANSI_CHARSET, FALSE, FALSE,
                    FALSE};
        fd.cySize.int64 = 12LL * 10000;
        VARIANT given;
        VariantInit(&given);
        REQUIRE(OleCreateFontIndirect(&fd, IID_IDispatch, reinterpret_cast<void**>(&given.pdispVal)) == S_OK);
        given.vt = VT_DISPATCH;
        REQUIRE(Call(d, font, DISPATCH_PROPERTYPUTREF, &given, 1, nullptr) == S_OK);
        VariantClear(&given);
        REQUIRE(Call(d, font, DISPATCH_PROPERTYGET, nullptr, 0, &result) == S_OK);
        REQUIRE(result.vt == VT_DISPATCH);
        REQUIRE(result.pdispVal != nullptr);
        VARIANT direct, viaControl;
        VariantInit(&direct);
        VariantInit(&viaControl);
        const WORD get = DISPATCH_PROPERTYGET | DISPATCH_METHOD;
        HRESULT expected = Call(result.pdispVal, DISPID_VALUE, get, &arg, 1, &direct);
        CHECK(Call(d, font, get, &arg, 1, &viaControl) == expected);
        VariantClear(&direct);
        VariantClear(&viaControl);
        VariantClear(&result);

        VARIANT nothing;
        VariantInit(&nothing);
        nothing.vt = VT_DISPATCH;
        nothing.pdispVal = nullptr;
        REQUIRE(Call(d, font, DISPATCH_PROPERTYPUTREF, &nothing, 1, nullptr) == S_OK);
        CHECK(Call(d, font, get, &arg, 1, &result) == DISP_E_BADPARAMCOUNT);
        CHECK(Call(d, font, DISPATCH_PROPERTYGET, &arg, 1, &result) == DISP_E_BADPARAMCOUNT);
        CHECK(result.vt == VT_EMPTY);
        // Without arguments the get still answers the null font.
        CHECK(Call(d, font, DISPATCH_PROPERTYGET, nullptr, 0, &result) == S_OK);
        CHECK(result.vt == VT_DISPATCH);
        CHECK(result.pdispVal == nullptr);
        VariantClear(&result);
        d->Release();
    }
}
