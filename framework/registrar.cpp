#include "registrar.h"

#include <cwchar>
#include <memory>
#include <string>
#include <vector>

namespace fw {
namespace {

const HRESULT kBadScript = HRESULT_FROM_WIN32(ERROR_INVALID_DATA);

struct Value {
    std::wstring name;   // empty: the key's default value
    DWORD type = REG_SZ;
    std::wstring text;   // REG_SZ
    DWORD number = 0;    // REG_DWORD
};

struct Key {
    std::wstring name;
    bool noRemove = false;
    bool forceRemove = false;
    bool hasDefault = false;
    Value defaultValue;
    std::vector<Value> values;
    std::vector<std::unique_ptr<Key>> subkeys;
};

struct Root {
    HKEY hive;
    std::vector<std::unique_ptr<Key>> keys;
};

struct Token {
    std::wstring raw;
    bool quoted;
};

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n'; }

bool Tokenize(const wchar_t* p, std::vector<Token>& out) {
    while (*p) {
        if (IsBlank(*p)) { ++p; continue; }
        Token t;
        if (*p == L'\'') {
            t.quoted = true;
            ++p;
            for (;;) {
                if (!*p) return false;  // unterminated
                if (*p == L'\'') {
                    if (p[1] != L'\'') { ++p; break; }
                    p += 2;
                    t.raw += L'\'';
                    continue;
                }
                t.raw += *p++;
            }
        } else {
            t.quoted = false;
            while (*p && !IsBlank(*p)) t.raw += *p++;
        }
        out.push_back(std::move(t));
    }
    return true;
}

class Parser {
public:
    Parser(std::vector<Token>& tokens, const RegistryVariable* vars, size_t varCount)
        : m_tokens(tokens), m_vars(vars), m_varCount(varCount) {}

    bool ParseScript(std::vector<Root>& roots) {
        while (m_pos < m_tokens.size()) {
            const Token& t = m_tokens[m_pos++];
            Root root;
            if (t.quoted || !HiveOf(t.raw, &root.hive)) return false;
            if (!Expect(L"{")) return false;
            while (!IsStructural(L"}")) {
                if (AtEnd()) return false;
                std::unique_ptr<Key> key(new Key);
                if (!ParseKey(*key)) return false;
                root.keys.push_back(std::move(key));
            }
            ++m_pos;
            roots.push_back(std::move(root));
        }
        return true;
    }

private:
    static bool HiveOf(const std::wstring& name, HKEY* hive) {
        static const struct { const wchar_t* name; HKEY hive; } hives[] = {
            {L"HKCR", HKEY_CLASSES_ROOT}, {L"HKEY_CLASSES_ROOT", HKEY_CLASSES_ROOT},
            {L"HKCU", HKEY_CURRENT_USER}, {L"HKEY_CURRENT_USER", HKEY_CURRENT_USER},
            {L"HKLM", HKEY_LOCAL_MACHINE}, {L"HKEY_LOCAL_MACHINE", HKEY_LOCAL_MACHINE},
            {L"HKU", HKEY_USERS}, {L"HKEY_USERS", HKEY_USERS},
        };
        for (const auto& h : hives)
            if (_wcsicmp(name.c_str(), h.name) == 0) { *hive = h.hive; return true; }
        return false;
    }

    bool AtEnd() const { return m_pos >= m_tokens.size(); }
    bool IsStructural(const wchar_t* s) const {
        return !AtEnd() && !m_tokens[m_pos].quoted && m_tokens[m_pos].raw == s;
    }
    bool IsKeyword(const wchar_t* s) const {
        return !AtEnd() && !m_tokens[m_pos].quoted && _wcsicmp(m_tokens[m_pos].raw.c_str(), s) == 0;
    }
    bool Expect(const wchar_t* s) {
        if (!IsStructural(s)) return false;
        ++m_pos;
        return true;
    }

    // A name or value word with its %VARIABLES% replaced.
    bool Word(std::wstring& out) {
        if (AtEnd()) return false;
        const Token& t = m_tokens[m_pos];
        if (!t.quoted && (t.raw == L"{" || t.raw == L"}" || t.raw == L"=")) return false;
        ++m_pos;
        out.clear();
        const std::wstring& s = t.raw;
        for (size_t i = 0; i < s.size(); ++i) {
            if (s[i] != L'%') { out += s[i]; continue; }
            size_t end = s.find(L'%', i + 1);
            if (end == std::wstring::npos) return false;
            if (end == i + 1) { out += L'%'; i = end; continue; }
            std::wstring name = s.substr(i + 1, end - i - 1);
            const RegistryVariable* found = nullptr;
            for (size_t v = 0; v < m_varCount; ++v)
                if (_wcsicmp(m_vars[v].name, name.c_str()) == 0) { found = &m_vars[v]; break; }
            if (!found || !found->value) return false;
            out += found->value;
            i = end;
        }
        return true;
    }

    bool ParseValue(Value& v) {
        if (IsKeyword(L"s")) {
            ++m_pos;
            v.type = REG_SZ;
            return Word(v.text);
        }
        if (IsKeyword(L"d")) {
            ++m_pos;
            std::wstring text;
            if (!Word(text) || text.empty()) return false;
            wchar_t* end = nullptr;
            v.type = REG_DWORD;
            v.number = (DWORD)wcstoul(text.c_str(), &end, 0);
            return *end == 0;
        }
        return false;
    }

    bool ParseKey(Key& key) {
        if (IsKeyword(L"NoRemove")) { key.noRemove = true; ++m_pos; }
        else if (IsKeyword(L"ForceRemove")) { key.forceRemove = true; ++m_pos; }
        if (!Word(key.name) || key.name.empty()) return false;
        if (IsStructural(L"=")) {
            ++m_pos;
            key.hasDefault = true;
            if (!ParseValue(key.defaultValue)) return false;
        }
        if (!IsStructural(L"{")) return true;
        ++m_pos;
        while (!IsStructural(L"}")) {
            if (AtEnd()) return false;
            if (IsKeyword(L"val")) {
                ++m_pos;
                Value v;
                if (!Word(v.name) || !Expect(L"=") || !ParseValue(v)) return false;
                key.values.push_back(std::move(v));
            } else {
                std::unique_ptr<Key> sub(new Key);
                if (!ParseKey(*sub)) return false;
                key.subkeys.push_back(std::move(sub));
            }
        }
        ++m_pos;
        return true;
    }

    std::vector<Token>& m_tokens;
    const RegistryVariable* m_vars;
    size_t m_varCount;
    size_t m_pos = 0;
};

bool IsAbsent(LONG err) { return err == ERROR_FILE_NOT_FOUND || err == ERROR_PATH_NOT_FOUND; }

// Deletes parent\name with everything below it; an absent key is no failure.
LONG DeleteTree(HKEY parent, const wchar_t* name) {
    HKEY key;
    LONG err = RegOpenKeyExW(parent, name, 0, KEY_READ | KEY_WRITE, &key);
    if (IsAbsent(err)) return ERROR_SUCCESS;
    if (err != ERROR_SUCCESS) return err;
    wchar_t sub[256];
    for (;;) {
        DWORD len = 256;
        err = RegEnumKeyExW(key, 0, sub, &len, nullptr, nullptr, nullptr, nullptr);
        if (err == ERROR_NO_MORE_ITEMS) break;
        if (err == ERROR_SUCCESS) err = DeleteTree(key, sub);
        if (err != ERROR_SUCCESS) { RegCloseKey(key); return err; }
    }
    RegCloseKey(key);
    err = RegDeleteKeyW(parent, name);
    return IsAbsent(err) ? ERROR_SUCCESS : err;
}

LONG SetValue(HKEY key, const Value& v) {
    const wchar_t* name = v.name.empty() ? nullptr : v.name.c_str();
    if (v.type == REG_DWORD)
        return RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&v.number), sizeof(DWORD));
    return RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(v.text.c_str()),
                          (DWORD)((v.text.size() + 1) * sizeof(wchar_t)));
}

LONG RegisterKey(HKEY parent, const Key& k) {
    LONG err;
    if (k.forceRemove && (err = DeleteTree(parent, k.name.c_str())) != ERROR_SUCCESS) return err;
    HKEY key;
    err = RegCreateKeyExW(parent, k.name.c_str(), 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr, &key, nullptr);
    if (err != ERROR_SUCCESS) return err;
    if (k.hasDefault) err = SetValue(key, k.defaultValue);
    for (size_t i = 0; err == ERROR_SUCCESS && i < k.values.size(); ++i) err = SetValue(key, k.values[i]);
    for (size_t i = 0; err == ERROR_SUCCESS && i < k.subkeys.size(); ++i) err = RegisterKey(key, *k.subkeys[i]);
    RegCloseKey(key);
    return err;
}

// Removes what the script wrote: a ForceRemove key whole; any other key its
// listed values and subkeys, and then the key itself when nothing of anyone
// else's is left in it (never a NoRemove key).
LONG UnregisterKey(HKEY parent, const Key& k) {
    if (k.forceRemove && !k.noRemove) return DeleteTree(parent, k.name.c_str());
    HKEY key;
    LONG err = RegOpenKeyExW(parent, k.name.c_str(), 0, KEY_READ | KEY_WRITE, &key);
    if (IsAbsent(err)) return ERROR_SUCCESS;
    if (err != ERROR_SUCCESS) return err;
    LONG first = ERROR_SUCCESS;
    auto removeValue = [&](const std::wstring& name) {
        LONG e = RegDeleteValueW(key, name.empty() ? nullptr : name.c_str());
        if (!IsAbsent(e) && e != ERROR_SUCCESS && first == ERROR_SUCCESS) first = e;
    };
    if (k.hasDefault) removeValue(std::wstring());
    for (const Value& v : k.values) removeValue(v.name);
    for (const auto& sub : k.subkeys) {
        err = UnregisterKey(key, *sub);
        if (err != ERROR_SUCCESS && first == ERROR_SUCCESS) first = err;
    }
    DWORD subkeys = 0, values = 0;
    bool empty = RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values, nullptr,
                                  nullptr, nullptr, nullptr) == ERROR_SUCCESS &&
                 subkeys == 0 && values == 0;
    RegCloseKey(key);
    if (!k.noRemove && empty) {
        err = RegDeleteKeyW(parent, k.name.c_str());
        if (!IsAbsent(err) && err != ERROR_SUCCESS && first == ERROR_SUCCESS) first = err;
    }
    return first;
}

}  // namespace

HRESULT RunRegistryScript(const wchar_t* script, const RegistryVariable* vars, size_t varCount,
                          RegistryMode mode) {
    if (!script) return E_POINTER;
    std::vector<Token> tokens;
    std::vector<Root> roots;
    if (!Tokenize(script, tokens)) return kBadScript;
    Parser parser(tokens, vars, varCount);
    if (!parser.ParseScript(roots)) return kBadScript;

    LONG first = ERROR_SUCCESS;
    for (const Root& root : roots) {
        for (const auto& key : root.keys) {
            LONG err = mode == RegistryMode::Register ? RegisterKey(root.hive, *key) : UnregisterKey(root.hive, *key);
            if (err == ERROR_SUCCESS) continue;
            if (mode == RegistryMode::Register) return HRESULT_FROM_WIN32(err);
            if (first == ERROR_SUCCESS) first = err;
        }
    }
    return first == ERROR_SUCCESS ? S_OK : HRESULT_FROM_WIN32(first);
}

HRESULT RunRegistryResource(HINSTANCE module, UINT id, const RegistryVariable* vars, size_t varCount,
                            RegistryMode mode) {
    HRSRC res = FindResourceW(module, MAKEINTRESOURCEW(id), L"REGISTRY");
    if (!res) return HRESULT_FROM_WIN32(ERROR_RESOURCE_NAME_NOT_FOUND);
    HGLOBAL data = LoadResource(module, res);
    const char* text = data ? static_cast<const char*>(LockResource(data)) : nullptr;
    DWORD size = SizeofResource(module, res);
    if (!text) return HRESULT_FROM_WIN32(GetLastError());
    std::wstring script;
    if (size) {
        int n = MultiByteToWideChar(CP_ACP, 0, text, (int)size, nullptr, 0);
        if (n <= 0) return kBadScript;
        script.resize(n);
        MultiByteToWideChar(CP_ACP, 0, text, (int)size, &script[0], n);
    }
    // The resource may carry a terminating zero of its own.
    size_t zero = script.find(L'\0');
    if (zero != std::wstring::npos) script.resize(zero);
    return RunRegistryScript(script.c_str(), vars, varCount, mode);
}

}  // namespace fw
