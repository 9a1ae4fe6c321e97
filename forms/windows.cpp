// The windows of forms and of their built-in parts: the MDI frame with its
// client and docked panel, child forms, top-level forms, and the labels,
// text boxes, buttons, images and lines inside them.
#include "forms/form.h"
#include "forms/runtime.h"
#include "forms/units.h"

namespace forms {

namespace {

const wchar_t kFrameClass[] = L"QevFormsFrame";
const wchar_t kChildClass[] = L"QevFormsChild";
const wchar_t kWindowClass[] = L"QevFormsWindow";
const wchar_t kPanelClass[] = L"QevFormsPanel";
constexpr OLE_COLOR kButtonFace = 0x8000000F;

Form* FormOf(HWND h) { return reinterpret_cast<Form*>(GetWindowLongPtrW(h, GWLP_USERDATA)); }

void Adopt(HWND h, LPARAM lp, bool mdiChild) {
    auto* cs = reinterpret_cast<CREATESTRUCTW*>(lp);
    LPARAM form = mdiChild ? reinterpret_cast<MDICREATESTRUCTW*>(cs->lpCreateParams)->lParam
                           : reinterpret_cast<LPARAM>(cs->lpCreateParams);
    SetWindowLongPtrW(h, GWLP_USERDATA, form);
}

// What every form window and the panel answer alike; true when handled.
bool CommonMessage(Form* form, HWND h, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    if (!form) return false;
    switch (msg) {
    case WM_COMMAND: {
        Control* c = form->FindByWindow(reinterpret_cast<HWND>(lp));
        // BN_CLICKED and STN_CLICKED are both 0.
        if (c && HIWORD(wp) == 0 && (c->kind() == Kind::Button || c->kind() == Kind::Label)) {
            form->Raise(c->name(), kClickEvent);
            result = 0;
            return true;
        }
        return false;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN:
        result = form->ColorMessage(reinterpret_cast<HDC>(wp), reinterpret_cast<HWND>(lp));
        return result != 0;
    case WM_ERASEBKGND: {
        if (h != form->hwnd() || form->def().mdiFrame) return false;
        RECT rc;
        GetClientRect(h, &rc);
        HBRUSH brush = CreateSolidBrush(ToRgb(form->def().back));
        FillRect(reinterpret_cast<HDC>(wp), &rc, brush);
        DeleteObject(brush);
        result = 1;
        return true;
    }
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(h, &ps);
        form->PaintLines(h, dc);
        EndPaint(h, &ps);
        result = 0;
        return true;
    }
    case WM_TIMER:
        form->OnTimerMessage(wp);
        result = 0;
        return true;
    }
    return false;
}

LRESULT CALLBACK FrameProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE) Adopt(h, lp, false);
    Form* form = FormOf(h);
    switch (msg) {
    case WM_SIZE:
        if (form) form->LayoutFrame();
        return 0;
    case WM_CLOSE:
        if (form) {
            form->runtime().UnloadAll();
            return 0;
        }
        break;
    }
    LRESULT r = 0;
    if (msg != WM_ERASEBKGND && msg != WM_PAINT && CommonMessage(form, h, msg, wp, lp, r)) return r;
    return DefFrameProcW(h, form ? form->mdiClient() : nullptr, msg, wp, lp);
}

// A child form (inside the frame) or a top-level one: closing unloads it.
template <bool MdiChild>
LRESULT CALLBACK FormProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE) Adopt(h, lp, MdiChild);
    Form* form = FormOf(h);
    if (msg == WM_CLOSE && form) {
        form->Unload();
        return 0;
    }
    LRESULT r = 0;
    if (CommonMessage(form, h, msg, wp, lp, r)) return r;
    return MdiChild ? DefMDIChildProcW(h, msg, wp, lp) : DefWindowProcW(h, msg, wp, lp);
}

LRESULT CALLBACK PanelProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE) Adopt(h, lp, false);
    LRESULT r = 0;
    if (msg != WM_ERASEBKGND && msg != WM_TIMER && CommonMessage(FormOf(h), h, msg, wp, lp, r)) return r;
    return DefWindowProcW(h, msg, wp, lp);
}

void RegisterClass1(HINSTANCE instance, const wchar_t* name, WNDPROC proc, int brush) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = proc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(brush + 1));
    wc.lpszClassName = name;
    RegisterClassExW(&wc);  // fails harmlessly when a second runtime registers again
}

RuntimeError WindowError(const std::string& control) {
    RuntimeError e;
    e.hr = HRESULT_FROM_WIN32(GetLastError());
    if (SUCCEEDED(e.hr)) e.hr = E_FAIL;
    e.control = control;
    e.member = "window";
    e.text = StatusText(e.hr);
    return e;
}

}  // namespace

void RegisterFormClasses(HINSTANCE instance) {
    RegisterClass1(instance, kFrameClass, FrameProc, COLOR_APPWORKSPACE);
    RegisterClass1(instance, kChildClass, FormProc<true>, COLOR_BTNFACE);
    RegisterClass1(instance, kWindowClass, FormProc<false>, COLOR_BTNFACE);
    RegisterClass1(instance, kPanelClass, PanelProc, COLOR_BTNFACE);
}

// ---------------------------------------------------------------- form windows

void Form::CreateWindowFor(HWND mdiClient) {
    HINSTANCE inst = GetModuleHandleW(nullptr);
    RECT r{0, 0, TwipsToPixelsX(m_def.width), TwipsToPixelsY(m_def.height)};
    const int x = TwipsToPixelsX(m_def.left), y = TwipsToPixelsY(m_def.top);
    if (m_def.mdiFrame) {
        const DWORD style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
        AdjustWindowRectEx(&r, style, FALSE, 0);
        m_hwnd = CreateWindowExW(0, kFrameClass, m_def.caption.c_str(), style, x, y, r.right - r.left,
                                 r.bottom - r.top, nullptr, nullptr, inst, this);
        if (!m_hwnd) throw WindowError(m_def.name);
        if (m_def.icon) {
            HICON big = static_cast<HICON>(LoadImageW(m_runtime.resources(), MAKEINTRESOURCEW(m_def.icon), IMAGE_ICON,
                                                      32, 32, LR_SHARED));
            if (big) {
                SendMessageW(m_hwnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));
                SendMessageW(m_hwnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(big));
            }
        }
        CLIENTCREATESTRUCT ccs{nullptr, 0xFF00};
        m_mdiClient = CreateWindowExW(WS_EX_CLIENTEDGE, L"MDICLIENT", nullptr,
                                      WS_CHILD | WS_CLIPCHILDREN | WS_VISIBLE | WS_HSCROLL | WS_VSCROLL |
                                          MDIS_ALLCHILDSTYLES,
                                      0, 0, 0, 0, m_hwnd, nullptr, inst, &ccs);
        if (!m_mdiClient) throw WindowError(m_def.name);
    } else if (mdiClient) {
        const DWORD style = WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME |
                            WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
        AdjustWindowRectEx(&r, style, FALSE, WS_EX_MDICHILD);
        MDICREATESTRUCTW mcs{kChildClass, L"", inst, x, y, r.right - r.left, r.bottom - r.top, style,
                             reinterpret_cast<LPARAM>(this)};
        m_hwnd = reinterpret_cast<HWND>(SendMessageW(mdiClient, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&mcs)));
        if (!m_hwnd) throw WindowError(m_def.name);
        m_mdiClient = mdiClient;
        m_mdiChild = true;
    } else {
        const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
        AdjustWindowRectEx(&r, style, FALSE, 0);
        m_hwnd = CreateWindowExW(0, kWindowClass, m_def.caption.c_str(), style, x, y, r.right - r.left,
                                 r.bottom - r.top, nullptr, nullptr, inst, this);
        if (!m_hwnd) throw WindowError(m_def.name);
    }
}

void Form::LayoutFrame() {
    if (!m_def.mdiFrame || !m_hwnd) return;
    RECT rc;
    GetClientRect(m_hwnd, &rc);
    int panel = 0;
    for (auto& c : m_controls) {
        if (c->kind() == Kind::Panel && c->m_hwnd) {
            panel = TwipsToPixelsX(c->def().width);
            c->m_rect = RECT{0, 0, panel, rc.bottom};
            MoveWindow(c->m_hwnd, 0, 0, panel, rc.bottom, TRUE);
        }
    }
    if (m_mdiClient) MoveWindow(m_mdiClient, panel, 0, rc.right - panel, rc.bottom, TRUE);
}

// ---------------------------------------------------------------- built-in parts

void Form::CreateBuiltIn(Control& c) {
    const ControlDef& d = c.def();
    HINSTANCE inst = GetModuleHandleW(nullptr);
    HWND parent = ContainerOf(d);
    const RECT& r = c.m_rect;
    const HMENU id = reinterpret_cast<HMENU>(static_cast<INT_PTR>(100 + c.m_index));
    auto make = [&](DWORD exStyle, const wchar_t* cls, DWORD style) {
        c.m_hwnd = CreateWindowExW(exStyle, cls, d.text.c_str(), WS_CHILD | WS_VISIBLE | style, r.left, r.top,
                                   r.right - r.left, r.bottom - r.top, parent, id, inst, nullptr);
        if (!c.m_hwnd) throw WindowError(d.name);
    };
    switch (d.kind) {
    case Kind::Panel: {
        RECT client;
        GetClientRect(m_hwnd, &client);
        c.m_hwnd = CreateWindowExW(0, kPanelClass, nullptr, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS,
                                   0, 0, TwipsToPixelsX(d.width), client.bottom, m_hwnd, id, inst, this);
        if (!c.m_hwnd) throw WindowError(d.name);
        break;
    }
    case Kind::Label:
        make(0, L"STATIC", SS_LEFT | SS_NOTIFY);
        break;
    case Kind::TextBox:
        make(WS_EX_CLIENTEDGE, L"EDIT",
             WS_TABSTOP | (d.multiLine ? ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN | WS_VSCROLL : ES_AUTOHSCROLL));
        break;
    case Kind::Button:
        make(0, L"BUTTON", WS_TABSTOP | BS_PUSHBUTTON | BS_MULTILINE);
        break;
    case Kind::Image: {
        make(0, L"STATIC", SS_BITMAP);
        c.m_picture = m_runtime.LoadPicture(d.resource);
        OLE_HANDLE handle = 0;
        c.m_picture->get_Handle(&handle);
        SendMessageW(c.m_hwnd, STM_SETIMAGE, IMAGE_BITMAP,
                     reinterpret_cast<LPARAM>(reinterpret_cast<HBITMAP>(static_cast<UINT_PTR>(handle))));
        break;
    }
    case Kind::Line:
    case Kind::Timer:
    case Kind::Hosted:
        break;
    }
    if (d.kind == Kind::Label || d.kind == Kind::TextBox || d.kind == Kind::Button) {
        c.m_font = CreateGdiFont(d.hasFont ? d.font : m_def.font);
        SendMessageW(c.m_hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(c.m_font), FALSE);
    }
}

LRESULT Form::ColorMessage(HDC dc, HWND child) {
    Control* c = FindByWindow(child);
    if (!c) return 0;
    const OLE_COLOR back = c->def().hasBack ? c->def().back : (m_def.mdiFrame ? kButtonFace : m_def.back);
    SetTextColor(dc, ToRgb(c->m_fore));
    SetBkColor(dc, ToRgb(back));
    if (!c->m_brush) c->m_brush = CreateSolidBrush(ToRgb(back));
    return reinterpret_cast<LRESULT>(c->m_brush);
}

void Form::PaintLines(HWND container, HDC dc) {
    for (auto& c : m_controls) {
        if (c->kind() != Kind::Line || ContainerOf(c->def()) != container) continue;
        HPEN pen = CreatePen(PS_SOLID, 1, ToRgb(c->m_fore));
        HGDIOBJ old = SelectObject(dc, pen);
        MoveToEx(dc, c->m_rect.left, c->m_rect.top, nullptr);
        LineTo(dc, c->m_rect.right, c->m_rect.bottom);
        SelectObject(dc, old);
        DeleteObject(pen);
    }
}

std::wstring Control::Text() const {
    if (!m_hwnd) return m_def->text;
    const int n = GetWindowTextLengthW(m_hwnd);
    std::wstring text(static_cast<size_t>(n) + 1, L'\0');
    GetWindowTextW(m_hwnd, &text[0], n + 1);
    text.resize(static_cast<size_t>(n));
    return text;
}

void Control::SetText(const std::wstring& text) {
    if (m_hwnd) SetWindowTextW(m_hwnd, text.c_str());
}

void Control::SetForeColor(OLE_COLOR c) {
    m_fore = c;
    if (m_hwnd) InvalidateRect(m_hwnd, nullptr, TRUE);
}

}  // namespace forms
