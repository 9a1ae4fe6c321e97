// The forms runtime: loads forms from their tables, owns the loaded ones,
// builds each hosted control's saved properties once per run, keeps the
// clock of the timers, the log of run-time errors and the call record.
//
//     forms::Runtime rt(GetModuleHandleW(nullptr));
//     rt.Load(frmMain)->Show();      // throws forms::RuntimeError
//     return rt.Run();               // until the frame is closed
// Destroy the runtime before OLE is uninitialised: it releases every control.
#pragma once
#include <windows.h>
#include <ole2.h>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>
#include "forms/form.h"

namespace forms {

class Runtime {
public:
    explicit Runtime(HINSTANCE resources);
    ~Runtime();
    Runtime(const Runtime&) = delete;
    Runtime& operator=(const Runtime&) = delete;

    // Creates and loads a form (not shown). An MDI frame becomes frame();
    // other forms open inside the frame when there is one, else as top-level
    // windows. Throws RuntimeError when the form cannot be loaded (nothing
    // of it is left).
    std::shared_ptr<Form> Load(const FormDef& def);
    Form* frame() const { return m_frame.get(); }
    std::vector<std::shared_ptr<Form>> forms() const { return m_forms; }
    std::shared_ptr<Form> Find(const std::string& name) const;
    void UnloadAll();
    // Message loop until the frame is unloaded (closed); then unloads the rest.
    int Run();

    // Timers: the real clock (SetTimer) or, once this is called before any
    // form loads, a test clock that only Advance moves.
    void UseTestClock() { m_testClock = true; }
    bool testClock() const { return m_testClock; }
    void Advance(DWORD ms);
    UINT_PTR NewTimerId() { return ++m_lastTimerId; }

    // The saved properties of a hosted row, built on first use: a design-mode
    // instance (user mode off, the form's ambients) gets InitNew, the row's
    // settings by name, and saves itself. Throws RuntimeError.
    const std::vector<BYTE>& SavedProperties(const FormDef& form, const ControlDef& row, HWND host,
                                             IFontDisp* formFont);
    // A picture from an RCDATA resource holding an image file. Throws RuntimeError.
    IPicture* LoadPicture(int resource);
    HINSTANCE resources() const { return m_resources; }

    // A run-time error that stopped a handler: one line on standard error,
    // kept in errors and handed to onError.
    void Report(const Form& form, const HandlerDef& handler, const RuntimeError& error);
    std::vector<std::string> errors;
    std::function<void(const std::string&)> onError;
    CallLog calls;

    void Forget(Form* form);

private:
    HINSTANCE m_resources;
    std::shared_ptr<Form> m_frame;
    std::vector<std::shared_ptr<Form>> m_forms;
    std::map<const ControlDef*, std::vector<BYTE>> m_saved;
    bool m_testClock = false;
    UINT_PTR m_lastTimerId = 0;
};

}  // namespace forms
