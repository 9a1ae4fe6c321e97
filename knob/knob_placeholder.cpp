// Stand-in for the knob until knob.cpp exists: an object answering IUnknown
// only, enough for the class factory, lock and aggregation tests.
#include "framework/object.h"

namespace {

class KnobStandIn : public fw::ObjectRoot {
public:
    void* FindInterface(REFIID) override { return nullptr; }
};

}  // namespace

HRESULT CreateKnob(IUnknown* outer, REFIID iid, void** ppv) {
    return fw::CreateObject<KnobStandIn>(outer, iid, ppv);
}
