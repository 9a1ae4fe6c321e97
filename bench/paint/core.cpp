#include "bench.h"
#include <olectl.h>
#include <commctrl.h>
#include <algorithm>
#include <cstdio>
#include <cstring>

namespace bench {

namespace {

double Now() {
    static LARGE_INTEGER freq = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) / static_cast<double>(freq.QuadPart);
}

typedef HRESULT(STDAPICALLTYPE* GetClassObjectFn)(REFCLSID, REFIID, void**);

std::vector<Group>& GroupList() {
    static std::vector<Group> groups;
    return groups;
}

}  // namespace

double MedianMs(const std::function<void()>& work, int repeats) {
    work();
    work();
    std::vector<double> t;
    t.reserve(repeats);
    for (int i = 0; i < repeats; ++i) {
        double start = Now();
        work();
        GdiFlush();
        t.push_back((Now() - start) * 1000.0);
    }
    std::sort(t.begin(), t.end());
    return t[t.size() / 2];
}

Canvas::Canvas(int w, int h) {
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = -h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    m_dc = CreateCompatibleDC(nullptr);
    m_bitmap = CreateDIBSection(m_dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    m_old = SelectObject(m_dc, m_bitmap);
    PatBlt(m_dc, 0, 0, w, h, WHITENESS);
}

Canvas::~Canvas() {
    SelectObject(m_dc, m_old);
    DeleteObject(m_bitmap);
    DeleteDC(m_dc);
}

References MeasureReferences(Size size) {
    References r{};
    Canvas source(size.w, size.h), target(size.w, size.h);
    r.blt = MedianMs([&] { BitBlt(target.dc(), 0, 0, size.w, size.h, source.dc(), 0, 0, SRCCOPY); });
    const DWORD orientation = size.w >= size.h ? TBS_HORZ : TBS_VERT;
    HWND tb = CreateWindowExW(0, TRACKBAR_CLASSW, L"", WS_POPUP | orientation | TBS_AUTOTICKS, 0, 0, size.w, size.h,
                              nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    SendMessageW(tb, TBM_SETRANGE, TRUE, MAKELPARAM(0, 100));
    SendMessageW(tb, TBM_SETPOS, TRUE, 50);
    r.track = MedianMs([&] {
        SendMessageW(tb, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(target.dc()), PRF_CLIENT | PRF_ERASEBKGND);
    });
    DestroyWindow(tb);
    return r;
}

void* NewControl(const wchar_t* dll, const CLSID& clsid, const IID& iid) {
    HMODULE module = LoadLibraryW(dll);
    if (!module) return nullptr;
    auto get = reinterpret_cast<GetClassObjectFn>(GetProcAddress(module, "DllGetClassObject"));
    IClassFactory* cf = nullptr;
    if (!get || FAILED(get(clsid, IID_IClassFactory, reinterpret_cast<void**>(&cf)))) return nullptr;
    IUnknown* control = nullptr;
    HRESULT hr = cf->CreateInstance(nullptr, IID_IUnknown, reinterpret_cast<void**>(&control));
    cf->Release();
    if (FAILED(hr) || !control) return nullptr;
    IPersistStreamInit* init = nullptr;
    if (SUCCEEDED(control->QueryInterface(IID_IPersistStreamInit, reinterpret_cast<void**>(&init)))) {
        init->InitNew();
        init->Release();
    }
    FONTDESC fd{sizeof(FONTDESC), const_cast<LPOLESTR>(L"Times New Roman"), {{100000, 0}}, 500, ANSI_CHARSET,
                FALSE, FALSE, FALSE};
    IFontDisp* font = nullptr;
    IDispatch* disp = nullptr;
    if (SUCCEEDED(OleCreateFontIndirect(&fd, IID_IFontDisp, reinterpret_cast<void**>(&font))) &&
        SUCCEEDED(control->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&disp)))) {
        VARIANT arg;
        V_VT(&arg) = VT_DISPATCH;
        V_DISPATCH(&arg) = font;
        DISPID named = DISPID_PROPERTYPUT;
        DISPPARAMS params{&arg, &named, 1, 1};
        disp->Invoke(DISPID_FONT, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYPUTREF, &params, nullptr, nullptr,
                     nullptr);
    }
    if (disp) disp->Release();
    if (font) font->Release();
    void* out = nullptr;
    control->QueryInterface(iid, &out);
    control->Release();
    return out;
}

double PaintMs(IUnknown* control, Size size, int repeats) {
    IViewObject* view = nullptr;
    if (!control || FAILED(control->QueryInterface(IID_IViewObject, reinterpret_cast<void**>(&view)))) return -1;
    Canvas target(size.w, size.h);
    RECTL bounds{0, 0, size.w, size.h};
    const double ms = MedianMs(
        [&] {
            view->Draw(DVASPECT_CONTENT, -1, nullptr, nullptr, nullptr, target.dc(), &bounds, nullptr, nullptr, 0);
        },
        repeats);
    view->Release();
    return ms;
}

double MetafilePaintMs(IUnknown* control, Size size, int repeats) {
    IViewObject* view = nullptr;
    if (!control || FAILED(control->QueryInterface(IID_IViewObject, reinterpret_cast<void**>(&view)))) return -1;
    RECTL bounds{0, 0, size.w, size.h};
    const double ms = MedianMs(
        [&] {
            HDC meta = CreateMetaFileW(nullptr);
            view->Draw(DVASPECT_CONTENT, -1, nullptr, nullptr, nullptr, meta, &bounds, nullptr, nullptr, 0);
            DeleteMetaFile(CloseMetaFile(meta));
        },
        repeats);
    view->Release();
    return ms;
}

IPictureDisp* PatternPicture(int w, int h) {
    const int row = (w * 3 + 3) & ~3;
    std::vector<BYTE> f(54 + row * h, 0);
    auto put32 = [&](size_t at, DWORD v) { std::memcpy(&f[at], &v, 4); };
    f[0] = 'B';
    f[1] = 'M';
    put32(2, (DWORD)f.size());
    put32(10, 54);
    put32(14, 40);
    put32(18, w);
    put32(22, h);
    f[26] = 1;
    f[28] = 24;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            BYTE* p = &f[54 + y * row + x * 3];
            p[0] = (BYTE)(x * 8);
            p[1] = (BYTE)(y * 8);
            p[2] = (BYTE)((x ^ y) * 8);
        }
    IStream* stream = nullptr;
    if (FAILED(CreateStreamOnHGlobal(nullptr, TRUE, &stream))) return nullptr;
    ULONG written = 0;
    stream->Write(f.data(), (ULONG)f.size(), &written);
    LARGE_INTEGER zero{};
    stream->Seek(zero, STREAM_SEEK_SET, nullptr);
    IPictureDisp* pic = nullptr;
    OleLoadPicture(stream, 0, FALSE, IID_IPictureDisp, reinterpret_cast<void**>(&pic));
    stream->Release();
    return pic;
}

bool AddGroup(Group group) {
    GroupList().push_back(std::move(group));
    return true;
}

const std::vector<Group>& Groups() {
    std::vector<Group>& groups = GroupList();
    std::stable_sort(groups.begin(), groups.end(), [](const Group& a, const Group& b) { return a.order < b.order; });
    return groups;
}

void PrintRow(const std::string& name, const std::vector<double>& ms, const std::vector<References>& refs) {
    std::printf("%-32s", name.c_str());
    for (size_t s = 0; s < ms.size(); ++s) std::printf(" | %15.4f %7.1f %9.2f", ms[s], ms[s] / refs[s].blt, ms[s] / refs[s].track);
    std::printf("\n");
}

}  // namespace bench
