// Registrar: runs the registration scripts that a library keeps as REGISTRY
// resources.
//
// Script text, e.g.
//     HKCR
//     {
//         NoRemove CLSID
//         {
//             ForceRemove {GUID} = s 'Name'
//             {
//                 InprocServer32 = s '%MODULE%'
//                 {
//                     val ThreadingModel = s 'Apartment'
//                 }
//             }
//         }
//     }
// Roots: HKCR, HKCU, HKLM, HKU (or their HKEY_ names). A key is a bare or
// 'quoted' name ('' inside quotes is one quote), optionally followed by
// `= s 'text'` (its default value) and a { } block of subkeys and named
// values (`val Name = s 'text'` or `val Name = d 'number'`). Braces and `=`
// stand alone between blanks, so `{GUID}` is a key name.
//
// Register: creates the keys and values; a ForceRemove key is deleted with
// everything below it first. Unregister: deletes every key that is not
// NoRemove with everything below it; of a NoRemove key only its listed
// subkeys and values go.
//
// %NAME% inside names and values is replaced from the variable table after
// the script is split into words, so a replacement may hold any character
// (quotes included); %% is one percent sign. The whole script is parsed before
// the registry is touched: a syntax error or an unknown variable changes
// nothing.
#pragma once
#include <windows.h>

namespace fw {

struct RegistryVariable {
    const wchar_t* name;   // without the percent signs
    const wchar_t* value;
};

enum class RegistryMode { Register, Unregister };

// Fails with HRESULT_FROM_WIN32(ERROR_INVALID_DATA) for a malformed script or
// an unknown variable, else with the first failing registry call's status.
// Registering stops at the first failure; unregistering goes on and returns
// the first failure. Keys or values that are already absent are no failure.
HRESULT RunRegistryScript(const wchar_t* script, const RegistryVariable* vars, size_t varCount,
                          RegistryMode mode);

// The same for the REGISTRY resource `id` of `module` (8-bit text in the
// ANSI code page). A missing resource gives HRESULT_FROM_WIN32(ERROR_RESOURCE_NAME_NOT_FOUND).
HRESULT RunRegistryResource(HINSTANCE module, UINT id, const RegistryVariable* vars, size_t varCount,
                            RegistryMode mode);

}  // namespace fw
