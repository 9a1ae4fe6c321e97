// The platform's property frame as a control's Properties verb opens it:
// a timer inside the frame's modal loop notes what the frame shows and
// closes it.
#pragma once
#include <windows.h>
#include <ole2.h>
#include <string>
#include <vector>

namespace testsupport {

struct FrameSeen {
    bool closed = false;  // a frame appeared and was closed
    int tabs = -1;        // tabs of its tab control; -1 without one
    struct Item {
        int id;
        std::wstring windowClass;
    };
    std::vector<Item> items;  // every child window of the frame
    // A child window of that id and class (compared without case).
    bool Has(int id, const wchar_t* windowClass) const;
};

// DoVerb(OLEIVERB_PROPERTIES) on `object` with `parent`; returns its status
// and fills `seen`. Gives up on a frame after about ten seconds.
HRESULT OpenPropertiesVerb(IOleObject* object, HWND parent, FrameSeen& seen);

}  // namespace testsupport
