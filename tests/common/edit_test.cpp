// The numeric edit field: which typed characters reach a real edit box.
#include <doctest/doctest.h>

#include <windows.h>
#include <string>

#include "common/editcntl.h"

namespace {

// A hidden edit box with the filter on it.
struct FilteredEdit {
    HWND parent = nullptr;
    HWND edit = nullptr;
    CQEVEditCntl filter;

    FilteredEdit(BYTE mode, bool allowMinus, bool allowDot) : filter(mode, allowMinus, allowDot) {
        parent = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 200, 60, nullptr, nullptr, nullptr, nullptr);
        REQUIRE(parent != nullptr);
        edit = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, 0, 0, 150, 20, parent,
                               reinterpret_cast<HMENU>(232), nullptr, nullptr);
        REQUIRE(edit != nullptr);
        REQUIRE(filter.SubclassWindow(edit));
    }
    ~FilteredEdit() {
        if (parent) DestroyWindow(parent);
    }
    void Type(const wchar_t* keys) {
        for (; *keys; ++keys) SendMessageW(edit, WM_CHAR, *keys, 1);
    }
    void Key(WPARAM ch) { SendMessageW(edit, WM_CHAR, ch, 1); }
    void SetText(const wchar_t* text) { SetWindowTextW(edit, text); }
    void Select(int from, int to) { SendMessageW(edit, EM_SETSEL, from, to); }
    std::wstring Text() const {
        wchar_t buf[256] = {};
        GetWindowTextW(edit, buf, 256);
        return buf;
    }
};

const WPARAM kCtrlC = 0x03, kCtrlV = 0x16, kCtrlX = 0x18;

}  // namespace

TEST_CASE("a decimal field takes digits, one minus sign and one point") {
    FilteredEdit f(1, true, true);
    f.Type(L"-12.5");
    CHECK(f.Text() == L"-12.5");

    SUBCASE("a second point or minus is dropped") {
        f.Type(L".-");
        CHECK(f.Text() == L"-12.5");
    }
    SUBCASE("letters and blanks are dropped") {
        f.Type(L"a 7x");
        CHECK(f.Text() == L"-12.57");
    }
    SUBCASE("backspace always works, and frees the point again") {
        f.Key(8);
        f.Key(8);
        CHECK(f.Text() == L"-12");
        f.Type(L".25");
        CHECK(f.Text() == L"-12.25");
    }
    SUBCASE("tab and enter do not reach the box") {
        f.Type(L"\t\r");
        CHECK(f.Text() == L"-12.5");
    }
}

TEST_CASE("an angle field takes a minus sign but no point") {
    FilteredEdit f(1, true, false);
    f.Type(L"-30.5");
    CHECK(f.Text() == L"-305");
}

TEST_CASE("the minus sign is judged by the whole text, not by the caret or selection") {
    FilteredEdit f(1, true, true);
    SUBCASE("it may be typed in the middle") {
        f.SetText(L"12");
        f.Select(1, 1);
        f.Key(L'-');
        CHECK(f.Text() == L"1-2");
    }
    SUBCASE("a selected minus still refuses a new one") {
        f.SetText(L"5-");
        f.Select(0, -1);
        f.Key(L'-');
        CHECK(f.Text() == L"5-");
    }
}

TEST_CASE("copy, cut and paste keys are refused") {
    FilteredEdit f(1, true, true);
    f.SetText(L"123");
    f.Select(0, -1);
    f.Key(kCtrlX);
    CHECK(f.Text() == L"123");
    f.Key(kCtrlC);
    f.Key(kCtrlV);
    CHECK(f.Text() == L"123");
}

TEST_CASE("a field in another mode filters nothing") {
    FilteredEdit f(0, false, false);
    f.Type(L"a-.");
    CHECK(f.Text() == L"a-.");
    // The plain box cuts on Ctrl+X: what the numeric mode prevents.
    f.Select(0, -1);
    f.Key(kCtrlX);
    CHECK(f.Text() == L"");
}

TEST_CASE("a character is compared whole, not by its low byte") {
    FilteredEdit f(1, true, true);
    f.Key(0x0131);  // low byte '1'
    f.Key(0x012D);  // low byte '-'
    f.Key(0x0A2E);  // low byte '.'
    CHECK(f.Text() == L"");
}

TEST_CASE("the filter lets go of the edit box") {
    SUBCASE("on request, and the box takes everything again") {
        FilteredEdit f(1, false, false);
        CHECK(f.filter.UnsubclassWindow() == f.edit);
        f.Type(L"ab");
        CHECK(f.Text() == L"ab");
    }
    SUBCASE("when the box is destroyed first") {
        FilteredEdit f(1, false, false);
        DestroyWindow(f.parent);
        f.parent = nullptr;
        CHECK(f.filter.Window() == nullptr);
    }
    SUBCASE("a second subclass of a filtered field is refused") {
        FilteredEdit f(1, false, false);
        CHECK_FALSE(f.filter.SubclassWindow(f.edit));
    }
}
