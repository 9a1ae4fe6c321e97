// The mutation run: mutated streams and bags loaded into one control after
// another, each followed by a paint and a save.
#include <olectl.h>

#include <cmath>
#include <iterator>
#include <limits>
#include <string>

#include "canvas.h"
#include "host.h"
#include "mutation.h"
#include "persistence.h"
#include "ptr.h"

namespace testsupport {
namespace {

// A fresh control every this many loads: the others load over what the last
// mutant left.
constexpr int kLoadsPerControl = 200;

// Objects a hostile bag hands out: fonts of normal and extreme size, a
// picture, a stream and another control (neither a font nor a picture).
struct HostileObjects {
    Ptr<IDispatch> hugeFont, font, picture, otherControl;
    Ptr<IStream> stream;

    explicit HostileObjects(IUnknown* control) {
        FONTDESC fd{sizeof(FONTDESC), const_cast<LPOLESTR>(L"Arial"), {}, FW_BOLD, ANSI_CHARSET, TRUE, FALSE, FALSE};
        fd.cySize.int64 = 32766LL * 10000;
        OleCreateFontIndirect(&fd, IID_IDispatch, hugeFont.pv());
        fd.cySize.int64 = 12LL * 10000;
        OleCreateFontIndirect(&fd, IID_IDispatch, font.pv());
        PICTDESC pd{sizeof(PICTDESC), PICTYPE_BITMAP};
        pd.bmp.hbitmap = CreateBitmap(4, 4, 1, 32, nullptr);
        OleCreatePictureIndirect(&pd, IID_IDispatch, TRUE, picture.pv());
        CreateStreamOnHGlobal(nullptr, TRUE, stream.out());
        control->QueryInterface(IID_IDispatch, otherControl.pv());
    }
};

VARIANT HostileValue(Rng& rng, const HostileObjects& objects) {
    VARIANT v;
    VariantInit(&v);
    const double nan = std::numeric_limits<double>::quiet_NaN(), inf = std::numeric_limits<double>::infinity();
    switch (rng.Below(9)) {
    case 0: {
        const SHORT values[] = {0, -1, 1, 32767, -32768, 1000};
        v.vt = VT_I2;
        v.iVal = values[rng.Below(6)];
        break;
    }
    case 1: {
        const LONG values[] = {0, -1, 0x7FFFFFFF, LONG(0x80000000), LONG(0x80000005), LONG(0xCCCCCCCC), 100000};
        v.vt = rng.OneIn(2) ? VT_I4 : VT_UI4;
        v.lVal = values[rng.Below(7)];
        break;
    }
    case 2: {
        const double values[] = {nan, inf, -inf, 1e308, -1e308, 0.0, -0.0, 1e-308, 32766.0, 2147483648.0};
        v.vt = rng.OneIn(3) ? VT_R4 : VT_R8;
        double d = values[rng.Below(10)];
        if (v.vt == VT_R4) v.fltVal = static_cast<float>(d);
        else v.dblVal = d;
        break;
    }
    case 3: {
        const wchar_t* texts[] = {L"", L"abc", L"1e400", L"-99999999999", L"NaN", L"&H80000005", L"32766", L"-1"};
        v.vt = VT_BSTR;
        uint32_t pick = rng.Below(10);
        if (pick < 8) v.bstrVal = SysAllocString(texts[pick]);
        else if (pick == 8) v.bstrVal = nullptr;
        else v.bstrVal = SysAllocStringLen(std::wstring(20000, L'W').c_str(), 20000);
        break;
    }
    case 4:
        v.vt = VT_BOOL;
        v.boolVal = static_cast<VARIANT_BOOL>(rng.OneIn(2) ? 5 : VARIANT_TRUE);
        break;
    case 5: {
        IDispatch* const choices[] = {objects.hugeFont.p, objects.font.p, objects.picture.p, objects.otherControl.p,
                                      nullptr};
        v.vt = VT_DISPATCH;
        v.pdispVal = choices[rng.Below(5)];
        if (v.pdispVal) v.pdispVal->AddRef();
        break;
    }
    case 6:
        v.vt = VT_UNKNOWN;
        v.punkVal = objects.stream.p;
        if (v.punkVal) v.punkVal->AddRef();
        break;
    case 7:
        v.vt = rng.OneIn(2) ? VT_EMPTY : VT_NULL;
        break;
    default:
        v.vt = VT_ERROR;
        v.scode = DISP_E_PARAMNOTFOUND;
        break;
    }
    return v;
}

// One to three values of the bag replaced, removed or added.
void MutateBag(MapBag& bag, Rng& rng, const HostileObjects& objects) {
    bag.coerce = !rng.OneIn(3);
    for (uint32_t i = 0, k = 1 + rng.Below(3); i < k; ++i) {
        VARIANT v = HostileValue(rng, objects);
        const uint32_t op = rng.Below(8);
        if (op == 1 || bag.values.empty()) {
            bag.values[L"Unknown"] = Variant(v);
        } else {
            auto at = std::next(bag.values.begin(), rng.Below(static_cast<uint32_t>(bag.values.size())));
            if (op == 0) bag.values.erase(at);
            else at->second = Variant(v);
        }
        VariantClear(&v);
    }
}

void GiveFont(IUnknown* control) {
    Ptr<IDispatch> d;
    if (FAILED(control->QueryInterface(IID_IDispatch, d.pv()))) return;
    LPOLESTR name = const_cast<LPOLESTR>(L"Font");
    DISPID id = 0;
    if (FAILED(d->GetIDsOfNames(IID_NULL, &name, 1, 0, &id))) return;
    FONTDESC fd{sizeof(FONTDESC), const_cast<LPOLESTR>(L"Arial"), {}, FW_NORMAL, ANSI_CHARSET, FALSE, FALSE, FALSE};
    fd.cySize.int64 = 10LL * 10000;
    VARIANT font;
    VariantInit(&font);
    if (FAILED(OleCreateFontIndirect(&fd, IID_IDispatch, reinterpret_cast<void**>(&font.pdispVal)))) return;
    font.vt = VT_DISPATCH;
    DISPID put = DISPID_PROPERTYPUT;
    DISPPARAMS params{&font, &put, 1, 1};
    d->Invoke(id, IID_NULL, 0, DISPATCH_PROPERTYPUTREF, &params, nullptr, nullptr, nullptr);
    VariantClear(&font);
}

// Runs one load and checks what follows it.
class Session {
public:
    Session(const MutationTarget& target, MutationReport& report) : m_target(target), m_report(report) {
        CLSIDFromString(const_cast<LPOLESTR>(target.clsid), &m_clsid);
    }

    // A new control, initialised, with a font (a control without a site has
    // none) so that saved data holds font data to mutate.
    bool Fresh() {
        m_control.reset();
        if (FAILED(KeptLibrary(m_target.library).Create(m_clsid, IID_IUnknown, m_control.pv()))) return false;
        Ptr<IPersistStreamInit> ps;
        if (FAILED(m_control->QueryInterface(IID_IPersistStreamInit, ps.pv())) || FAILED(ps->InitNew())) return false;
        GiveFont(m_control.p);
        return true;
    }
    IUnknown* control() const { return m_control.p; }

    HRESULT SaveStream(Bytes& out) { return SaveControl(m_control.p, out); }
    HRESULT LoadStream(const Bytes& bytes) { return LoadControl(m_control.p, bytes); }
    HRESULT SaveBag(MapBag& bag) {
        Ptr<IPersistPropertyBag> pb;
        HRESULT hr = m_control->QueryInterface(IID_IPersistPropertyBag, pb.pv());
        return SUCCEEDED(hr) ? pb->Save(&bag, TRUE, TRUE) : hr;
    }
    HRESULT LoadBag(MapBag& bag) {
        Ptr<IPersistPropertyBag> pb;
        HRESULT hr = m_control->QueryInterface(IID_IPersistPropertyBag, pb.pv());
        return SUCCEEDED(hr) ? pb->Load(&bag, nullptr) : hr;
    }

    // After any load, accepted or not, the control paints and saves.
    void After(const char* kind, int index) {
        HRESULT paint = E_FAIL;
        DrawToDib(m_control.p, 48, 48, &paint);
        Bytes saved;
        HRESULT save = SaveStream(saved);
        if (FAILED(paint)) ++m_report.failedPaints;
        if (FAILED(save)) ++m_report.failedSaves;
        if ((FAILED(paint) || FAILED(save)) && m_report.firstFailure.empty()) {
            char text[160];
            wsprintfA(text, "%s %s %d: paint 0x%08lX, save 0x%08lX", m_target.name, kind, index,
                      static_cast<unsigned long>(paint), static_cast<unsigned long>(save));
            m_report.firstFailure = text;
        }
    }

private:
    const MutationTarget& m_target;
    MutationReport& m_report;
    CLSID m_clsid{};
    Ptr<IUnknown> m_control;
};

}  // namespace

MutationReport RunMutation(const MutationTarget& target, const MutationCounts& counts) {
    MutationReport report;
    Session session(target, report);
    if (!session.Fresh()) {
        report.firstFailure = std::string(target.name) + ": the control could not be created";
        return report;
    }
    Bytes seed;
    MapBag seedBag;
    if (FAILED(session.SaveStream(seed)) || FAILED(session.SaveBag(seedBag))) {
        report.firstFailure = std::string(target.name) + ": the new control could not be saved";
        return report;
    }
    HostileObjects objects(session.control());
    Rng rng(counts.seed);
    for (int i = 0; i < counts.streams; ++i) {
        if (i % kLoadsPerControl == 0 && i && !session.Fresh()) break;
        ++report.streamLoads;
        if (SUCCEEDED(session.LoadStream(MutateBytes(seed, rng)))) ++report.streamsAccepted;
        session.After("stream", i);
    }
    for (int i = 0; i < counts.bags; ++i) {
        if (i % kLoadsPerControl == 0 && !session.Fresh()) break;
        MapBag bag;
        bag.values = seedBag.values;
        MutateBag(bag, rng, objects);
        ++report.bagLoads;
        if (SUCCEEDED(session.LoadBag(bag))) ++report.bagsAccepted;
        session.After("bag", i);
    }
    return report;
}

}  // namespace testsupport
