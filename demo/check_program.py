#!/usr/bin/env python3
"""Checks a built program imports only system DLLs (none of the control
libraries: it reaches them through COM). On failure the program is deleted,
so the next build links and checks it again."""

import argparse
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "cmake"))
from check_control_library import ALLOWED_IMPORTS, imports_of, objdump_p  # noqa: E402


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--program", required=True)
    ap.add_argument("--objdump", required=True)
    a = ap.parse_args()
    bad = sorted({d for d in imports_of(objdump_p(a.objdump, a.program)) if d.lower() not in ALLOWED_IMPORTS})
    if bad:
        print(f"{os.path.basename(a.program)}: error: imports non-system DLLs: {', '.join(bad)}", file=sys.stderr)
        try:
            os.remove(a.program)
        except OSError:
            pass
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
