// A property page of a control library on a hidden window, driven the way a
// property frame and a user drive it: objects, activation, typed keys,
// list choices, check box clicks, and what the page reports to its site.
#pragma once
#include <windows.h>
#include <ole2.h>
#include <olectl.h>
#include <string>
#include <vector>
#include "host.h"
#include "recorders.h"

namespace testsupport {

class PageHost {
public:
    HWND host = nullptr;
    RecordingPageSite site;
    IPropertyPage* page = nullptr;  // null when the page could not be made

    PageHost(const LoadedLibrary& library, REFCLSID clsid) {
        host = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 700, 400, nullptr, nullptr, nullptr, nullptr);
        if (FAILED(library.Create(clsid, IID_IPropertyPage, reinterpret_cast<void**>(&page)))) page = nullptr;
        if (page) page->SetPageSite(&site);
    }
    ~PageHost() {
        if (page) {
            page->Deactivate();
            page->SetObjects(0, nullptr);
            page->SetPageSite(nullptr);
            page->Release();
        }
        DestroyWindow(host);
    }
    PageHost(const PageHost&) = delete;
    PageHost& operator=(const PageHost&) = delete;

    HRESULT Objects(std::vector<IUnknown*> objects) {
        return page->SetObjects((ULONG)objects.size(), objects.data());
    }
    HRESULT Activate() {
        RECT rc = {10, 10, 610, 310};
        return page->Activate(host, &rc, FALSE);
    }
    HWND Dialog() const { return GetWindow(host, GW_CHILD); }
    HWND Item(int id) const { return GetDlgItem(Dialog(), id); }

    std::wstring Text(int id) const {
        wchar_t buf[512] = {};
        GetDlgItemTextW(Dialog(), id, buf, 512);
        return buf;
    }
    // What the user does: each sends the notification a real control sends.
    void SetText(int id, const wchar_t* text) { SetDlgItemTextW(Dialog(), id, text); }
    void Type(int id, const wchar_t* keys) {
        for (; *keys; ++keys) SendMessageW(Item(id), WM_CHAR, *keys, 1);
    }
    int Selection(int id) const { return (int)SendMessageW(Item(id), CB_GETCURSEL, 0, 0); }
    void Choose(int id, int index) {
        SendMessageW(Item(id), CB_SETCURSEL, index, 0);
        SendMessageW(Dialog(), WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), (LPARAM)Item(id));
    }
    std::vector<std::wstring> ListTexts(int id) const {
        std::vector<std::wstring> texts;
        int n = (int)SendMessageW(Item(id), CB_GETCOUNT, 0, 0);
        for (int i = 0; i < n; ++i) {
            wchar_t buf[128] = {};
            SendMessageW(Item(id), CB_GETLBTEXT, i, (LPARAM)buf);
            texts.push_back(buf);
        }
        return texts;
    }
    bool Checked(int id) const { return IsDlgButtonChecked(Dialog(), id) == BST_CHECKED; }
    void Click(int id) {
        CheckDlgButton(Dialog(), id, Checked(id) ? BST_UNCHECKED : BST_CHECKED);
        SendMessageW(Dialog(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)Item(id));
    }
    bool Dirty() const { return page->IsPageDirty() == S_OK; }
};

}  // namespace testsupport
