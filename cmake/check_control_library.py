#!/usr/bin/env python3
"""Checks a built control library: the type library carries the LIBID of the
IDL's library block, the DLL imports only system DLLs, and it exports exactly
the four COM server entry points. On failure the DLL is deleted, so the next
build links and checks it again instead of taking it as up to date."""

import argparse
import os
import re
import struct
import subprocess
import sys

ALLOWED_IMPORTS = {"kernel32.dll", "user32.dll", "gdi32.dll", "advapi32.dll", "ole32.dll",
                   "oleaut32.dll", "rpcrt4.dll", "msvcrt.dll", "comctl32.dll"}
EXPECTED_EXPORTS = {1: "DllCanUnloadNow", 2: "DllGetClassObject",
                    3: "DllRegisterServer", 4: "DllUnregisterServer"}

GUID_RE = r"[0-9A-Fa-f]{8}-[0-9A-Fa-f]{4}-[0-9A-Fa-f]{4}-[0-9A-Fa-f]{4}-[0-9A-Fa-f]{12}"


def strip_comments(text):
    # Keeps string literals intact; removes // and /* */ comments.
    out, i, n = [], 0, len(text)
    while i < n:
        c = text[i]
        if c == '"':
            j = i + 1
            while j < n and text[j] != '"':
                j += 2 if text[j] == "\\" else 1
            out.append(text[i:j + 1])
            i = j + 1
        elif text.startswith("//", i):
            j = text.find("\n", i)
            i = n if j < 0 else j
        elif text.startswith("/*", i):
            j = text.find("*/", i + 2)
            i = n if j < 0 else j + 2
        else:
            out.append(c)
            i += 1
    return "".join(out)


def idl_libid(path):
    """uuid(...) of the attribute block right before `library Name {`."""
    text = strip_comments(open(path, encoding="utf-8", errors="replace").read())
    i, n = 0, len(text)
    last_attrs, last_attrs_end = None, -1
    while i < n:
        c = text[i]
        if c == '"':
            j = i + 1
            while j < n and text[j] != '"':
                j += 2 if text[j] == "\\" else 1
            i = j + 1
        elif c == "[":
            depth, j = 1, i + 1
            while j < n and depth:
                if text[j] == '"':
                    k = j + 1
                    while k < n and text[k] != '"':
                        k += 2 if text[k] == "\\" else 1
                    j = k
                elif text[j] == "[":
                    depth += 1
                elif text[j] == "]":
                    depth -= 1
                j += 1
            last_attrs, last_attrs_end = text[i + 1:j - 1], j
            i = j
        else:
            m = re.compile(r"library\s+\w+\s*\{").match(text, i)
            if m and (i == 0 or not (text[i - 1].isalnum() or text[i - 1] == "_")):
                if last_attrs is None or text[last_attrs_end:i].strip():
                    raise SystemExit(f"{path}: library block without an attribute list")
                u = re.search(r"\buuid\s*\(\s*(" + GUID_RE + r")\s*\)", last_attrs)
                if not u:
                    raise SystemExit(f"{path}: library block has no uuid")
                return u.group(1).upper()
            i += 1
    raise SystemExit(f"{path}: no library block")


def format_guid(raw):
    d1, d2, d3 = struct.unpack_from("<IHH", raw, 0)
    d4 = raw[8:16]
    return "%08X-%04X-%04X-%s-%s" % (d1, d2, d3, d4[:2].hex().upper(), d4[2:].hex().upper())


def tlb_libid(path):
    """LIBID of an MSFT type library: header.posguid indexes the GUID table."""
    data = open(path, "rb").read()
    if data[:4] != b"MSFT":
        raise SystemExit(f"{path}: not an MSFT type library")
    posguid, = struct.unpack_from("<i", data, 8)
    varflags, = struct.unpack_from("<i", data, 20)
    nrtypeinfos, = struct.unpack_from("<i", data, 32)
    offset = 0x54
    if varflags & 0x100:          # a help string DLL offset follows the header
        offset += 4
    offset += 4 * nrtypeinfos     # typeinfo offset array
    seg_guidtab = offset + 5 * 16  # segment directory: typeinfo, impinfo, impfiles, reftab, guidhash, guidtab
    guid_offset, guid_length = struct.unpack_from("<ii", data, seg_guidtab)
    if posguid < 0 or posguid + 24 > guid_length or posguid % 24:
        raise SystemExit(f"{path}: LIBID position {posguid} outside the GUID table ({guid_length} bytes)")
    return format_guid(data[guid_offset + posguid:guid_offset + posguid + 16])


def objdump_p(objdump, dll):
    return subprocess.run([objdump, "-p", dll], check=True, capture_output=True, text=True).stdout


def imports_of(dump):
    return [m.group(1) for m in re.finditer(r"^\s*DLL Name:\s*(\S+)", dump, re.M)]


def exports_of(dump):
    """(ordinal, name) pairs from the export name table."""
    base = 1
    m = re.search(r"^Ordinal Base\s+(\d+)", dump, re.M)
    if m:
        base = int(m.group(1))
    table = dump.split("[Ordinal/Name Pointer] Table", 1)
    if len(table) < 2:
        return []
    result = []
    for line in table[1].splitlines()[1:]:
        m = re.match(r"\s*\[\s*(\d+)\]\s+(?:\+base\[\s*(\d+)\]\s+[0-9a-fA-F]+\s+)?(\S+)", line)
        if not m:
            break
        ordinal = int(m.group(2)) if m.group(2) else int(m.group(1)) + base
        result.append((ordinal, m.group(3)))
    return result


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--idl", required=True)
    ap.add_argument("--tlb", required=True)
    ap.add_argument("--dll", required=True)
    ap.add_argument("--objdump", required=True)
    a = ap.parse_args()

    errors = []
    want, got = idl_libid(a.idl), tlb_libid(a.tlb)
    if want != got:
        errors.append(f"type library LIBID {{{got}}} differs from the IDL's library uuid {{{want}}} "
                      f"({os.path.basename(a.tlb)}); name the dual interfaces first in the library block")

    dump = objdump_p(a.objdump, a.dll)
    bad = sorted({d for d in imports_of(dump) if d.lower() not in ALLOWED_IMPORTS})
    if bad:
        errors.append("imports non-system DLLs: " + ", ".join(bad))
    exports = sorted(exports_of(dump))
    expected = sorted(EXPECTED_EXPORTS.items())
    if exports != expected:
        errors.append("exports " + (", ".join(f"{n} @{o}" for o, n in exports) or "nothing")
                      + "; expected " + ", ".join(f"{n} @{o}" for o, n in expected))

    if errors:
        for e in errors:
            print(f"{os.path.basename(a.dll)}: error: {e}", file=sys.stderr)
        try:
            os.remove(a.dll)
        except OSError:
            pass
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
