// Late binding: calls into a hosted control through IDispatch::Invoke by
// dispatch id or by name, with arguments of exactly the types the caller
// gives. A failing call raises the runtime's run-time error (RuntimeError),
// which stops the handler that made it.
#pragma once
#include <windows.h>
#include <oaidl.h>
#include <initializer_list>
#include <string>
#include <vector>
#include "forms/variant.h"

namespace forms {

// One argument as the caller types it.
class Arg {
public:
    static Arg I2(short v) { Arg a; V_VT(&a.m_v.v) = VT_I2; V_I2(&a.m_v.v) = v; return a; }
    static Arg I4(LONG v) { Arg a; V_VT(&a.m_v.v) = VT_I4; V_I4(&a.m_v.v) = v; return a; }
    static Arg R4(float v) { Arg a; V_VT(&a.m_v.v) = VT_R4; V_R4(&a.m_v.v) = v; return a; }
    static Arg R8(double v) { Arg a; V_VT(&a.m_v.v) = VT_R8; V_R8(&a.m_v.v) = v; return a; }
    static Arg Bool(bool v) { Arg a; V_VT(&a.m_v.v) = VT_BOOL; V_BOOL(&a.m_v.v) = v ? VARIANT_TRUE : VARIANT_FALSE; return a; }
    static Arg Str(const std::wstring& s);
    // By reference: the callee reads (and may write) the caller's variable.
    static Arg BoolRef(VARIANT_BOOL* p) { Arg a; V_VT(&a.m_v.v) = VT_BYREF | VT_BOOL; V_BOOLREF(&a.m_v.v) = p; return a; }
    static Arg Object(IDispatch* d);
    const VARIANT& v() const { return m_v.v; }

private:
    Variant m_v;
};

struct RuntimeError {
    HRESULT hr = S_OK;        // the call's status (DISP_E_EXCEPTION: the exception's code)
    std::wstring text;        // the exception's description, or the system's text of hr
    std::string control;      // who was called
    std::string member;       // the member name, or "dispid N"
    std::string Describe() const;
};

// One late-bound call, as tests read it back.
struct CallRecord {
    std::string control;
    DISPID dispid = 0;
    WORD flags = 0;
    std::vector<VARTYPE> types;  // natural order
    std::vector<Variant> values; // natural order (by-reference values as passed: the pointer's target at call time)
};

class CallLog {
public:
    bool enabled = false;
    std::vector<CallRecord> calls;
    void Clear() { calls.clear(); }
};

// IDispatch::Invoke of id with args (natural order). DISPATCH_PROPERTYPUT and
// DISPATCH_PROPERTYPUTREF pass the named argument DISPID_PROPERTYPUT. Throws
// RuntimeError on failure; records the call into log when it is enabled.
Variant Invoke(IDispatch* target, DISPID id, WORD flags, std::initializer_list<Arg> args,
               const std::string& control, const std::string& member, CallLog* log);
Variant Invoke(IDispatch* target, DISPID id, WORD flags, const std::vector<const VARIANT*>& args,
               const std::string& control, const std::string& member, CallLog* log);

// GetIDsOfNames of one name; throws RuntimeError when the object has no such member.
DISPID IdOfName(IDispatch* target, const wchar_t* name, const std::string& control);

// The system's message text of a status ("" when it has none).
std::wstring StatusText(HRESULT hr);
std::string Narrow(const std::wstring& s);

}  // namespace forms
