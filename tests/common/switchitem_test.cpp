// Item lists of the multi-position controls: key order, insert, replace, remove.
#include <doctest.h>
#include <string>
#include <vector>
#include "common/switchitem.h"

namespace {

// A BSTR that frees itself; null stays null.
struct Str {
    BSTR b;
    explicit Str(const wchar_t* s) : b(s ? SysAllocString(s) : nullptr) {}
    Str(const wchar_t* s, UINT len) : b(SysAllocStringLen(s, len)) {}
    ~Str() { SysFreeString(b); }
    operator BSTR() const { return b; }
};

std::wstring Text(BSTR b) { return b ? std::wstring(b, SysStringLen(b)) : std::wstring(L"<null>"); }

std::vector<std::wstring> Keys(const CSwitchItemList& list) {
    std::vector<std::wstring> keys;
    for (const CSwitchItem& item : list) keys.push_back(Text(item.m_key));
    return keys;
}

void Add(CSwitchItemList& list, const wchar_t* key, const wchar_t* name = L"n", OLE_COLOR color = 0) {
    Str k(key), n(name);
    REQUIRE(list.Add(k, n, color) == S_OK);
}

}  // namespace

TEST_CASE("keys are listed in code-unit order whatever the order of adding") {
    CSwitchItemList list;
    for (int i = 10; i >= 1; --i) Add(list, (L"Key" + std::to_wstring(i)).c_str());
    std::vector<std::wstring> expected = {L"Key1", L"Key10", L"Key2", L"Key3", L"Key4",
                                          L"Key5", L"Key6",  L"Key7", L"Key8", L"Key9"};
    CHECK(Keys(list) == expected);

    CSwitchItemList mixed;
    for (const wchar_t* k : {L"b", L"abc", L"B", L"ab", L"a", L"A", L"", L"Z"}) Add(mixed, k);
    Add(mixed, nullptr);
    // null first, then the empty key; upper case before lower case; a key
    // before every longer key that begins with it.
    std::vector<std::wstring> order = {L"<null>", L"", L"A", L"B", L"Z", L"a", L"ab", L"abc", L"b"};
    CHECK(Keys(mixed) == order);
}

TEST_CASE("code units compare unsigned, embedded nulls included") {
    // U+00E9 and U+FF21 sort after ASCII; a signed comparison of U+FF21 would put it first.
    CSwitchItemList list;
    Add(list, L"\xFF21");
    Add(list, L"\x00E9");
    Add(list, L"z");
    CHECK(Keys(list) == std::vector<std::wstring>{L"z", L"\x00E9", L"\xFF21"});

    const wchar_t withNul[] = {L'a', 0, L'b'};
    Str a(L"a"), anb(withNul, 3);
    CHECK(CompareSwitchKeys(a, anb) < 0);
    CHECK(CompareSwitchKeys(anb, a) > 0);
    CHECK(CompareSwitchKeys(nullptr, nullptr) == 0);
    Str empty(L"");
    CHECK(CompareSwitchKeys(nullptr, empty) < 0);
    CHECK(CompareSwitchKeys(empty, nullptr) > 0);
}

TEST_CASE("adding an existing key replaces the item in place") {
    CSwitchItemList list;
    Add(list, L"K1", L"one", 1);
    Add(list, L"K2", L"two", 2);
    Add(list, L"K3", L"three", 3);
    Add(list, L"K2", L"TWO", 0x123456);
    REQUIRE(list.Count() == 3);
    CHECK(Keys(list) == std::vector<std::wstring>{L"K1", L"K2", L"K3"});
    CHECK(Text(list[1].m_name) == L"TWO");
    CHECK(list[1].m_color == 0x123456);

    SUBCASE("the list keeps its own copies") {
        BSTR key = SysAllocString(L"K4"), name = SysAllocString(L"four");
        REQUIRE(list.Add(key, name, 4) == S_OK);
        SysFreeString(key);
        SysFreeString(name);
        CHECK(Text(list[3].m_key) == L"K4");
        CHECK(Text(list[3].m_name) == L"four");
    }
    SUBCASE("null names and keys are items like any other") {
        Add(list, nullptr, nullptr, 9);
        Add(list, L"K5", nullptr, 5);
        CHECK(list.Find(nullptr) == 0);
        CHECK(list[0].m_name == nullptr);
        Str k5(L"K5");
        CHECK(list[(size_t)list.Find(k5)].m_name == nullptr);
    }
}

TEST_CASE("removing takes out only the named item") {
    CSwitchItemList list;
    Add(list, L"a");
    Add(list, L"b");
    Add(list, nullptr);
    Str b(L"b"), absent(L"B");
    CHECK_FALSE(list.Remove(absent));
    CHECK(list.Count() == 3);
    CHECK(list.Remove(b));
    CHECK(Keys(list) == std::vector<std::wstring>{L"<null>", L"a"});
    CHECK(list.Find(b) == -1);
    CHECK(list.Remove(nullptr));
    CHECK(Keys(list) == std::vector<std::wstring>{L"a"});
    CHECK_FALSE(list.Remove(nullptr));
}
