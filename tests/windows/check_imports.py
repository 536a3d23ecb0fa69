#!/usr/bin/env python3
"""Fails unless every function that PROGRAM imports is one that the oldest
Windows it is for (Windows 95 with the OpenGL 1.1 runtime and msvcrt.dll)
has: the system's loader refuses a program that imports a single function
its DLLs lack. Each DLL is held to one list in LIST_DIR (the table below); a
DLL without a list (a MinGW runtime DLL that would have to travel beside the
program, or any other) fails too, as does an import by ordinal. The loader
of Windows 95 also refuses a program that asks for a subsystem newer than
4.0.

Usage: check_imports.py OBJDUMP PROGRAM LIST_DIR
"""
import os
import re
import subprocess
import sys

# Which list each system DLL is held to.
LISTS = {
    "kernel32.dll": "kernel32.txt",
    "user32.dll": "user32.txt",
    "gdi32.dll": "gdi32.txt",
    "advapi32.dll": "advapi32.txt",
    "shell32.dll": "shell32.txt",
    "winmm.dll": "winmm.txt",
    "opengl32.dll": "opengl32.txt",
    "glu32.dll": "glu32.txt",
    "msvcrt.dll": "msvcrt.txt",
}

DLL_LINE = re.compile(r"^\tDLL Name: (\S+)")
NAMED_IMPORT = re.compile(r"^\t[0-9a-f]+\t\s*\d+\s+(\S+)\s*$")
ANY_IMPORT = re.compile(r"^\t[0-9a-f]+\t")


def read_list(path):
    with open(path) as f:
        return {line.strip() for line in f if line.strip() and not line.startswith("#")}


def subsystem_version(text):
    """(major, minor) of the subsystem version in the headers, or None."""
    major = re.search(r"^MajorSubsystemVersion\s+(\d+)", text, re.M)
    minor = re.search(r"^MinorSubsystemVersion\s+(\d+)", text, re.M)
    return (int(major.group(1)), int(minor.group(1))) if major and minor else None


def read_imports(text):
    """The import table as {dll: [entries]}; an entry is a name, or None for an
    import by ordinal."""
    imports = {}
    dll = None
    for line in text.splitlines():
        m = DLL_LINE.match(line)
        if m:
            dll = m.group(1)
            imports.setdefault(dll, [])
            continue
        if dll is None:
            continue
        if not line.strip():
            dll = None
            continue
        m = NAMED_IMPORT.match(line)
        if m:
            imports[dll].append(m.group(1))
        elif ANY_IMPORT.match(line):
            imports[dll].append(None)
    return imports


def main():
    if len(sys.argv) != 4:
        sys.exit(__doc__)
    objdump, program, list_dir = sys.argv[1:]
    headers = subprocess.run([objdump, "-p", program], check=True, capture_output=True, text=True).stdout
    imports = read_imports(headers)
    if not imports:
        print(f"no import table found in {program}")
        return 1
    failures = 0
    version = subsystem_version(headers)
    if version is None or version > (4, 0):
        print(f"FAIL subsystem version {version}: Windows 95 loads 4.0 at most")
        failures += 1
    for dll, entries in sorted(imports.items(), key=lambda item: item[0].lower()):
        list_name = LISTS.get(dll.lower())
        if list_name is None:
            print(f"FAIL {dll}: not a system DLL of Windows 95 ({len(entries)} functions imported)")
            failures += 1
            continue
        allowed = read_list(os.path.join(list_dir, list_name))
        outside = [e if e is not None else "(an import by ordinal)" for e in entries if e not in allowed]
        for name in outside:
            print(f"FAIL {dll}: {name} is not on the Windows 95 list {list_name}")
        failures += len(outside)
        named = sorted(e for e in entries if e is not None)
        print(f"{dll} ({len(entries)}, held to {list_name}): {' '.join(named)}")
    if failures:
        print(f"{failures} thing(s) that keep Windows 95 from loading {os.path.basename(program)}")
        return 1
    print("every import is on the Windows 95 lists")
    return 0


if __name__ == "__main__":
    sys.exit(main())
