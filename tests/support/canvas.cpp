#include "canvas.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <utility>

namespace testsupport {

// ---------------------------------------------------------------- drawing a control

HRESULT DrawControl(IUnknown* control, HDC dc, const RECT& bounds) {
    if (!control) return E_POINTER;
    IViewObject* view = nullptr;
    HRESULT hr = control->QueryInterface(IID_IViewObject, reinterpret_cast<void**>(&view));
    if (FAILED(hr)) return hr;
    RECTL rc{bounds.left, bounds.top, bounds.right, bounds.bottom};
    hr = view->Draw(DVASPECT_CONTENT, -1, nullptr, nullptr, nullptr, dc, &rc, nullptr, nullptr, 0);
    view->Release();
    return hr;
}

DibCanvas DrawToDib(IUnknown* control, int w, int h, HRESULT* hr, COLORREF fill) {
    DibCanvas canvas(w, h, fill);
    RECT bounds{0, 0, w, h};
    HRESULT r = canvas.valid() ? DrawControl(control, canvas.dc(), bounds) : E_OUTOFMEMORY;
    GdiFlush();
    if (hr) *hr = r;
    return canvas;
}

// ---------------------------------------------------------------- Wmf

Wmf::~Wmf() { Reset(); }

void Wmf::Reset() {
    if (m_handle) DeleteMetaFile(m_handle);
    m_handle = nullptr;
    m_records.clear();
}

HRESULT Wmf::RecordWith(const std::function<void(HDC)>& draw) {
    Reset();
    HDC dc = CreateMetaFileW(nullptr);
    if (!dc) return E_FAIL;
    draw(dc);
    m_handle = CloseMetaFile(dc);
    if (!m_handle) return E_FAIL;
    return Parse() ? S_OK : E_FAIL;
}

HRESULT Wmf::Record(IUnknown* control, int w, int h) {
    HRESULT drawn = E_FAIL;
    HRESULT hr = RecordWith([&](HDC dc) { drawn = DrawControl(control, dc, RECT{0, 0, w, h}); });
    return FAILED(hr) ? hr : drawn;
}

bool Wmf::Parse() {
    UINT size = GetMetaFileBitsEx(m_handle, 0, nullptr);
    if (size < sizeof(METAHEADER)) return false;
    std::vector<BYTE> bytes(size);
    if (GetMetaFileBitsEx(m_handle, size, bytes.data()) != size) return false;
    METAHEADER header;
    memcpy(&header, bytes.data(), sizeof(header));
    size_t pos = static_cast<size_t>(header.mtHeaderSize) * 2;
    while (pos + 6 <= size) {
        DWORD words;
        WORD function;
        memcpy(&words, &bytes[pos], 4);
        memcpy(&function, &bytes[pos + 4], 2);
        if (words < 3 || pos + static_cast<size_t>(words) * 2 > size) return false;
        WmfRecord rec;
        rec.function = function;
        rec.params.resize(words - 3);
        if (!rec.params.empty()) memcpy(rec.params.data(), &bytes[pos + 6], rec.params.size() * 2);
        pos += static_cast<size_t>(words) * 2;
        if (function == 0) break;  // META_EOF
        m_records.push_back(std::move(rec));
    }
    return true;
}

size_t Wmf::Count(WORD function) const {
    size_t n = 0;
    for (const auto& r : m_records)
        if (r.function == function) ++n;
    return n;
}

const WmfRecord* Wmf::First(WORD function) const {
    for (const auto& r : m_records)
        if (r.function == function) return &r;
    return nullptr;
}

namespace {
// count bytes of text stored from parameter word `at`, padded to whole words.
std::string TextAt(const WmfRecord& r, size_t at, size_t count) {
    std::string s;
    const size_t avail = (r.params.size() - std::min(at, r.params.size())) * 2;
    count = std::min(count, avail);
    s.resize(count);
    if (count) memcpy(&s[0], &r.params[at], count);
    return s;
}
}  // namespace

std::vector<WmfText> Wmf::Texts() const {
    std::vector<WmfText> texts;
    for (size_t i = 0; i < m_records.size(); ++i) {
        const WmfRecord& r = m_records[i];
        WmfText t;
        t.function = r.function;
        t.index = i;
        if (r.function == META_TEXTOUT && r.params.size() >= 1) {
            const size_t count = r.params[0];
            const size_t words = (count + 1) / 2;
            if (r.params.size() < 1 + words + 2) continue;
            t.text = TextAt(r, 1, count);
            t.y = r.Param(1 + words);
            t.x = r.Param(2 + words);
        } else if (r.function == META_EXTTEXTOUT && r.params.size() >= 4) {
            t.y = r.Param(0);
            t.x = r.Param(1);
            const size_t count = r.params[2];
            t.options = r.params[3];
            size_t at = 4;
            if (t.options & (ETO_OPAQUE | ETO_CLIPPED)) {
                if (r.params.size() < at + 4) continue;
                t.rect = RECT{r.Param(4), r.Param(5), r.Param(6), r.Param(7)};
                at += 4;
            }
            const size_t words = (count + 1) / 2;
            t.text = TextAt(r, at, count);
            at += words;
            if (r.params.size() >= at + count)
                for (size_t k = 0; k < count; ++k) t.dx.push_back(r.Param(at + k));
        } else {
            continue;
        }
        texts.push_back(std::move(t));
    }
    return texts;
}

// ---------------------------------------------------------------- GDI object count

namespace {
// Wine keeps GDI objects in a per-process table indexed by the low word of
// the handle and accepts a handle without its upper (generation) word, so
// probing every index with GetObjectType counts the live objects. Checked
// once with a brush of our own before it is trusted.
bool HandleTableProbeWorks() {
    static int works = -1;
    if (works < 0) {
        works = 0;
        HBRUSH b = CreateSolidBrush(RGB(1, 2, 3));
        if (b) {
            auto bare = reinterpret_cast<HGDIOBJ>(static_cast<ULONG_PTR>(LOWORD(reinterpret_cast<ULONG_PTR>(b))));
            bool seen = GetObjectType(bare) == OBJ_BRUSH;
            DeleteObject(b);
            bool gone = GetObjectType(bare) == 0;
            works = seen && gone ? 1 : 0;
        }
    }
    return works == 1;
}

constexpr int kObjectTypes = OBJ_COLORSPACE + 1;
}  // namespace

std::vector<int> CountGdiObjectsByType() {
    std::vector<int> counts(kObjectTypes, 0);
    if (!HandleTableProbeWorks()) {
        counts[0] = static_cast<int>(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS));
        return counts;
    }
    for (ULONG_PTR i = 1; i <= 0xFFFF; ++i) {
        DWORD type = GetObjectType(reinterpret_cast<HGDIOBJ>(i));
        if (type) ++counts[type < static_cast<DWORD>(kObjectTypes) ? type : 0];
    }
    return counts;
}

int CountGdiObjects() {
    int n = 0;
    for (int c : CountGdiObjectsByType()) n += c;
    return n;
}

int GdiGrowth(const std::function<void()>& step, int reps) {
    step();
    int growth = 0;
    for (int attempt = 0; attempt < 3; ++attempt) {
        const int before = CountGdiObjects();
        for (int i = 0; i < reps; ++i) step();
        growth = CountGdiObjects() - before;
        if (growth <= 0) return 0;
        Sleep(50);
    }
    return growth;
}

const char* GdiCountMethod() { return HandleTableProbeWorks() ? "handle table" : "GetGuiResources"; }

}  // namespace testsupport
