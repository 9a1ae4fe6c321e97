// The paint benchmark's shared parts: the timing routine, the canvas, the
// two references measured in the same run at the same sizes (a BitBlt of the
// area, the floor, and the platform's trackbar painting itself, horizontal
// or vertical), control creation, and the table every library's rows print
// into. Each library adds its rows in a source file of its own
// (paint/rows_<library>.cpp), which includes only that library's generated
// header and names its classes and interfaces with __uuidof, so one program
// holds every library's rows without linking any IID target.
#pragma once
#include <windows.h>
#include <ole2.h>
#include <olectl.h>
#include <functional>
#include <string>
#include <vector>

namespace bench {

const int kRepeats = 41;

// Median time in milliseconds of `repeats` runs of `work`, after two warm-up runs.
double MedianMs(const std::function<void()>& work, int repeats = kRepeats);

// A 32-bit top-down DIB section of w x h in its own memory DC, white.
class Canvas {
public:
    Canvas(int w, int h);
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;
    HDC dc() const { return m_dc; }

private:
    HDC m_dc = nullptr;
    HBITMAP m_bitmap = nullptr;
    HGDIOBJ m_old = nullptr;
};

struct Size {
    int w, h;
};

// The references at one size: BitBlt of the area, and the trackbar painting
// itself into the same kind of DC (WM_PRINTCLIENT), horizontal when the area
// is at least as wide as it is high, else vertical.
struct References {
    double blt;
    double track;
};
References MeasureReferences(Size size);

// A new control of the library file `dll` (loaded from the program's
// folder) by class id, initialised (InitNew) with the default font of a form
// (Times New Roman 10), as `iid`; null when any step fails.
void* NewControl(const wchar_t* dll, const CLSID& clsid, const IID& iid);

// Median time of a paint of `control` through IViewObject::Draw into a
// canvas of `size`; negative when it offers no IViewObject.
double PaintMs(IUnknown* control, Size size, int repeats = kRepeats);
// The same into a new Windows metafile each time (recorded and closed).
double MetafilePaintMs(IUnknown* control, Size size, int repeats = kRepeats);

// A new picture (the caller's reference) loaded from the data of a w x h
// (32 x 32 unless given) 24-bit BMP file with a pattern, as forms load
// theirs; null on failure.
IPictureDisp* PatternPicture(int w = 32, int h = 32);

// One row: a name, and a paint of a new control with the row's settings at a
// size (the median in ms, negative for a failure).
struct Row {
    std::string name;
    std::function<double(Size size, int repeats)> paint;
};

// A library's rows: one table with the references at its sizes, then the
// rows; `summary` receives the medians (per row, per size) after the table.
struct Group {
    std::string title;        // the table's heading
    int order;                // tables print in this order
    std::vector<Size> sizes;
    std::function<std::vector<Row>()> rows;
    std::function<void(const std::vector<Row>& rows, const std::vector<std::vector<double>>& ms,
                       const std::vector<References>& refs)>
        summary;
    std::string how;  // how a row paints ("" = through IViewObject::Draw into a 32-bit DIB)
};

// Registers a group at start-up: `static const bool added = bench::AddGroup(...)`.
bool AddGroup(Group group);
const std::vector<Group>& Groups();

// Prints one row of the table: the name, then per size the median, its
// ratio to the BitBlt and to the trackbar.
void PrintRow(const std::string& name, const std::vector<double>& ms, const std::vector<References>& refs);

}  // namespace bench
