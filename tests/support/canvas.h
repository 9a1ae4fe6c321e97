// Reading back what a control drew: pixels of a memory DIB or of a real
// window, the records of a Windows metafile, and the process's count of GDI
// objects for leak checks.
#pragma once
#include <windows.h>
#include <ole2.h>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "forms/capture.h"

namespace testsupport {

using forms::CaptureWindow;
using forms::DibCanvas;
using forms::kUnpainted;

// IViewObject::Draw(DVASPECT_CONTENT) of control into dc with bounds.
HRESULT DrawControl(IUnknown* control, HDC dc, const RECT& bounds);
// A w x h canvas filled with fill, then the control drawn into all of it.
DibCanvas DrawToDib(IUnknown* control, int w, int h, HRESULT* hr = nullptr, COLORREF fill = kUnpainted);
// One metafile record: the function number (META_...) and its parameter words.
struct WmfRecord {
    WORD function = 0;
    std::vector<WORD> params;
    short Param(size_t i) const { return static_cast<short>(params.at(i)); }
};

// A text output found in a metafile (META_TEXTOUT or META_EXTTEXTOUT).
struct WmfText {
    WORD function = 0;     // META_TEXTOUT or META_EXTTEXTOUT
    int x = 0, y = 0;      // reference point, logical units
    std::string text;      // the bytes as recorded (ANSI)
    WORD options = 0;      // ETO_ flags (META_EXTTEXTOUT)
    RECT rect{};           // clip/opaque rectangle when options carry ETO_CLIPPED or ETO_OPAQUE
    std::vector<short> dx; // character advances when present
    size_t index = 0;      // position in Records()
};

// A Windows metafile recorded from a control (or any drawing) and read back.
class Wmf {
public:
    Wmf() = default;
    ~Wmf();
    Wmf(const Wmf&) = delete;
    Wmf& operator=(const Wmf&) = delete;

    // Draws the control through IViewObject::Draw into CreateMetaFileW(NULL)
    // with bounds (0, 0, w, h), closes it and reads the records.
    HRESULT Record(IUnknown* control, int w, int h);
    // Same for any drawing code.
    HRESULT RecordWith(const std::function<void(HDC)>& draw);

    const std::vector<WmfRecord>& Records() const { return m_records; }
    size_t Count(WORD function) const;
    const WmfRecord* First(WORD function) const;  // null when none
    std::vector<WmfText> Texts() const;
    HMETAFILE Handle() const { return m_handle; }
    // Plays the metafile into dc (for pixel checks of the recorded drawing).
    bool Play(HDC dc) const { return m_handle && PlayMetaFile(dc, m_handle); }

private:
    void Reset();
    bool Parse();
    HMETAFILE m_handle = nullptr;
    std::vector<WmfRecord> m_records;
};

// Live GDI objects of this process (pens, brushes, fonts, bitmaps, regions,
// DCs, palettes, ...), for leak checks: measure, run the code, measure again.
// Warm the code up once first: window DCs, cached fonts and the like are
// created on first use and kept by the system.
int CountGdiObjects();
// The same split by GetObjectType type (index OBJ_PEN .. OBJ_COLORSPACE).
std::vector<int> CountGdiObjectsByType();
// How the count is taken: "handle table" (every 16-bit handle index probed
// with GetObjectType) or "GetGuiResources".
const char* GdiCountMethod();

// Objects a repeated step leaves behind, for leak checks of code that paints
// into windows: the window system creates some objects of its own at times
// nobody controls (surfaces of windows being mapped, cached DCs), so the step
// runs once to warm up and then up to three times `reps` times; any run that
// ends where it started proves no leak, while a real leak grows in every run.
int GdiGrowth(const std::function<void()>& step, int reps = 5);

}  // namespace testsupport
