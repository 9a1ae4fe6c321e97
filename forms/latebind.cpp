#include "forms/latebind.h"

#include <cstdio>

namespace forms {

Arg Arg::Str(const std::wstring& s) {
    Arg a;
    V_VT(&a.m_v.v) = VT_BSTR;
    V_BSTR(&a.m_v.v) = SysAllocStringLen(s.data(), static_cast<UINT>(s.size()));
    return a;
}

Arg Arg::Object(IDispatch* d) {
    Arg a;
    V_VT(&a.m_v.v) = VT_DISPATCH;
    V_DISPATCH(&a.m_v.v) = d;
    if (d) d->AddRef();
    return a;
}

std::string Narrow(const std::wstring& s) {
    if (s.empty()) return std::string();
    int n = WideCharToMultiByte(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), &out[0], n, nullptr, nullptr);
    return out;
}

std::wstring StatusText(HRESULT hr) {
    wchar_t* buffer = nullptr;
    DWORD n = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                             nullptr, static_cast<DWORD>(hr), 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::wstring text = n && buffer ? std::wstring(buffer, n) : std::wstring();
    if (buffer) LocalFree(buffer);
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' ')) text.pop_back();
    return text;
}

std::string RuntimeError::Describe() const {
    char status[16];
    snprintf(status, sizeof status, "0x%08lX", static_cast<unsigned long>(hr));
    std::string line = control.empty() ? member : control + "." + member;
    line += ": ";
    line += status;
    if (!text.empty()) line += " " + Narrow(text);
    return line;
}

namespace {

std::string MemberName(DISPID id, const std::string& member) {
    return member.empty() ? "dispid " + std::to_string(id) : member;
}

void Record(CallLog* log, const std::string& control, DISPID id, WORD flags,
            const std::vector<const VARIANT*>& args) {
    if (!log || !log->enabled) return;
    CallRecord rec;
    rec.control = control;
    rec.dispid = id;
    rec.flags = flags;
    for (const VARIANT* a : args) {
        rec.types.push_back(V_VT(a));
        if (V_VT(a) == (VT_BYREF | VT_BOOL)) {
            VARIANT b;
            VariantInit(&b);
            V_VT(&b) = VT_BOOL;
            V_BOOL(&b) = *V_BOOLREF(a);
            rec.values.emplace_back(b);
        } else {
            rec.values.emplace_back(*a);
        }
    }
    log->calls.push_back(std::move(rec));
}

}  // namespace

Variant Invoke(IDispatch* target, DISPID id, WORD flags, const std::vector<const VARIANT*>& args,
               const std::string& control, const std::string& member, CallLog* log) {
    Record(log, control, id, flags, args);
    RuntimeError error;
    error.control = control;
    error.member = MemberName(id, member);
    if (!target) {
        error.hr = E_POINTER;
        error.text = L"Object variable not set";
        throw error;
    }
    // Invoke takes the arguments last first.
    std::vector<VARIANT> reversed(args.size());
    for (size_t i = 0; i < args.size(); ++i) reversed[args.size() - 1 - i] = *args[i];
    DISPID named = DISPID_PROPERTYPUT;
    const bool put = (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) != 0;
    DISPPARAMS params{reversed.empty() ? nullptr : reversed.data(), put ? &named : nullptr,
                      static_cast<UINT>(reversed.size()), put ? 1u : 0u};
    Variant result;
    EXCEPINFO excep{};
    UINT argErr = 0;
    HRESULT hr = target->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, put ? nullptr : &result.v,
                                &excep, &argErr);
    if (hr == DISP_E_EXCEPTION) {
        if (excep.pfnDeferredFillIn) excep.pfnDeferredFillIn(&excep);
        error.hr = excep.scode ? excep.scode : (excep.wCode ? MAKE_HRESULT(1, FACILITY_CONTROL, excep.wCode) : hr);
        if (excep.bstrDescription) error.text.assign(excep.bstrDescription, SysStringLen(excep.bstrDescription));
        SysFreeString(excep.bstrSource);
        SysFreeString(excep.bstrDescription);
        SysFreeString(excep.bstrHelpFile);
        if (error.text.empty()) error.text = StatusText(error.hr);
        throw error;
    }
    if (FAILED(hr)) {
        error.hr = hr;
        error.text = StatusText(hr);
        throw error;
    }
    return result;
}

Variant Invoke(IDispatch* target, DISPID id, WORD flags, std::initializer_list<Arg> args,
               const std::string& control, const std::string& member, CallLog* log) {
    std::vector<const VARIANT*> list;
    for (const Arg& a : args) list.push_back(&a.v());
    return Invoke(target, id, flags, list, control, member, log);
}

DISPID IdOfName(IDispatch* target, const wchar_t* name, const std::string& control) {
    DISPID id = DISPID_UNKNOWN;
    LPOLESTR names[1] = {const_cast<LPOLESTR>(name)};
    HRESULT hr = target ? target->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id) : E_POINTER;
    if (FAILED(hr)) {
        RuntimeError error;
        error.hr = hr;
        error.control = control;
        error.member = Narrow(name);
        error.text = L"Object doesn't support this property or method";
        throw error;
    }
    return id;
}

}  // namespace forms
