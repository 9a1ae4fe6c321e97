// Picture properties of controls (IPictureDisp objects): the held reference,
// the copy a put makes, and the setter protocol of put and put-by-reference.
#pragma once
#include <windows.h>
#include <ole2.h>
#include <olectl.h>
#include <functional>

namespace fw {

// One counted reference to a picture, or none; released when it ends.
class Picture {
public:
    Picture() = default;
    ~Picture() { reset(); }
    Picture(const Picture&) = delete;
    Picture& operator=(const Picture&) = delete;

    IPictureDisp* get() const { return m_picture; }
    explicit operator bool() const { return m_picture != nullptr; }
    // Takes over the reference `picture` carries (null empties it).
    void reset(IPictureDisp* picture = nullptr);
    // The held picture with a reference added, or null. E_POINTER for a null out.
    HRESULT CopyOut(IPictureDisp** out) const;

private:
    IPictureDisp* m_picture = nullptr;
};

// A picture of the control's own, loaded from what `source` saves into a
// growable memory stream (the standard picture's GetSizeMax is not
// implemented under Wine, so no fixed-size block). Fails with the status of
// the step that failed: no IPersistStream, a picture that cannot save itself
// (Wine saves no metafile pictures), saved data whose structure would lead
// the platform's reader out of bounds (E_FAIL), or a failed load; *copy is
// null then.
HRESULT CopyPicture(IUnknown* source, IPictureDisp** copy);

// The setter protocol of picture properties, with the control's own steps:
// requestEdit answers S_FALSE for a veto, changed runs the rest of the
// protocol (notify, repaint, dirty, data change).
struct PictureSetter {
    std::function<HRESULT()> requestEdit;
    std::function<void()> changed;
};

// put: after a veto S_OK and nothing changes. A picture is copied before the
// held one is released; when the copy fails the held picture stays, nothing
// is notified and the failing status is returned. Null empties the property.
HRESULT PutPictureCopy(Picture& held, IPictureDisp* picture, const PictureSetter& setter);
// putref: after a veto S_OK and nothing changes; else holds `picture` itself
// (null allowed) and runs the protocol.
HRESULT PutPictureRef(Picture& held, IPictureDisp* picture, const PictureSetter& setter);

}  // namespace fw
