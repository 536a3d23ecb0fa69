#!/usr/bin/env python3
# Reads a built Windows program back with objdump and fails unless it is what
# lumenfall.scr must be.
#   check_scr.py loads OBJDUMP PROGRAM LIST_DIR
#       it would load and run on Windows 95 with the OpenGL 1.1 runtime: a
#       subsystem of 4.0 at most, every import a named function on its system
#       DLL's list in LIST_DIR (so no runtime DLL of our own), and no
#       instruction on SSE or MMX registers nor one of SSE's that names none
#       (the exception tables that the linker places among the code are not
#       code)
#   check_scr.py resources OBJDUMP PROGRAM VERSION
#       its application manifest and version record (from the resource tree
#       and the file's bytes): per-monitor DPI awareness with the system-aware
#       fallback, asInvoker, no dependent assembly, and VERSION (CMake's
#       project version) in the manifest's identity and the version record
import os, re, struct, subprocess, sys
import xml.etree.ElementTree as ET

mode, objdump, program, argument = sys.argv[1:5]
WINDOWS_95_SUBSYSTEM = (4, 0)
SSE = r"%[xy]?mm\d|^((ld|st)mxcsr|[slm]fence|movnti|clflush|prefetch)"
RT_MANIFEST, RT_VERSION = 24, 16
QUAD = ".".join((argument.split(".") + ["0"] * 4)[:4])


def dump(*flags):
    return subprocess.run([objdump, *flags, program], check=True, capture_output=True,
                          text=True).stdout


def allowed(dll):
    path = os.path.join(argument, dll.lower().removesuffix(".dll") + ".txt")
    return {line.strip() for line in open(path) if not line.startswith("#")
            } if os.path.exists(path) else set()


def loads():
    headers, failures, function = dump("-p"), [], "?"
    version = tuple(int(v) for v in
                    re.findall(r"^M(?:aj|in)orSubsystemVersion\s+(\d+)", headers, re.M))
    if not version or version > WINDOWS_95_SUBSYSTEM:
        failures.append(f"subsystem version {version}: Windows 95 loads 4.0 at most")
    tables = re.findall(r"^\tDLL Name: (\S+)\n\tvma:.*\n((?:\t.*\n)*)", headers, re.M)
    for dll, entries in tables or [("(no import table)", "")]:
        for entry in entries.splitlines() or [""]:
            name = re.fullmatch(r"\t[0-9a-f]+\t\s*\d+\s+(\S+)\s*", entry)
            if not name or name.group(1) not in allowed(dll):
                what = name.group(1) if name else "an import by ordinal"
                failures.append(f"{dll}: {what} is not on the Windows 95 list")
    for line in dump("-d", "--no-show-raw-insn").splitlines():
        if m := re.match(r"^[0-9a-f]+ <(.+)>:$", line):
            function = m.group(1)
        elif (m := re.match(r"^\s*([0-9a-f]+):\s+(.+)$", line)) and function != ".gcc_except_table":
            if re.search(SSE, m.group(2)):
                instruction, address = " ".join(m.group(2).split()), m.group(1)
                failures.append(f"first SSE instruction: {instruction} at {address} in {function}")
                break
    print("\n".join(f"FAIL {failure}" for failure in failures) or
          f"{len(tables)} DLLs, all on the lists; no SSE")
    return not failures


def manifest(text):
    # (what, found, expected); Windows refuses to start a program whose
    # manifest is not well-formed.
    root = ET.fromstring(text)
    level = root.find("{*}trustInfo/{*}security/{*}requestedPrivileges/{*}requestedExecutionLevel")
    settings = "{*}application/{*}windowsSettings/{*}"
    return [("identity", root.find("{*}assemblyIdentity").get("version"), QUAD),
            ("execution level", level.get("level"), "asInvoker"),
            ("dpiAware", root.findtext(settings + "dpiAware").strip(), "true/pm"),
            ("dpiAwareness", root.findtext(settings + "dpiAwareness"), "PerMonitorV2, PerMonitor"),
            ("dependent assembly", root.find("{*}dependency"), None)]


def record(data):
    # VS_FIXEDFILEINFO follows the key "VS_VERSION_INFO" (its file and
    # product versions after its signature and structure version); each
    # string's value follows its key and the padding after it.
    numbers = struct.unpack_from("<4I", data, 48)
    strings = dict(re.findall(r"(FileVersion|ProductVersion)\0+([^\0]+)",
                              data.decode("utf-16-le")))
    fixed = [f"{ms >> 16}.{ms & 0xFFFF}.{ls >> 16}.{ls & 0xFFFF}"
             for ms, ls in (numbers[:2], numbers[2:])]
    return [("fixed versions", fixed, [QUAD, QUAD]),
            ("FileVersion", strings.get("FileVersion"), argument),
            ("ProductVersion", strings.get("ProductVersion"), argument)]


def resources():
    image = open(program, "rb").read()
    # The size of each resource by type and name: in the tree, types are
    # indented by 3, names by 5 and languages by 7, and the leaves give sizes.
    sizes, kind, name = {}, None, None
    entry = r"^[0-9a-f]+( +)(?:Entry: ID: 0x([0-9a-f]+)|Leaf: Addr: .*, Size: 0x([0-9a-f]+))"
    for depth, number, size in re.findall(entry, dump("-p"), re.M):
        if len(depth) == 3:
            kind = int(number, 16)
        elif len(depth) == 5:
            name = int(number, 16)
        elif size:
            sizes[(kind, name)] = int(size, 16)
    # Each resource: the bytes that it opens with, after how many of its own
    # (the record's length, value length and type come before its key), and
    # its reader.
    record_key = "VS_VERSION_INFO".encode("utf-16-le")
    results = []
    for what, kind, opening, before, read in [
            ("a manifest resource (RT_MANIFEST 1)", RT_MANIFEST, b"<?xml", 0, manifest),
            ("a version record (RT_VERSION 1)", RT_VERSION, record_key, 6, record)]:
        start = image.find(opening) - before
        present = (kind, 1) in sizes and start >= 0
        results += read(image[start:start + sizes[(kind, 1)]]) if present else [(what, None, "")]
    for field, found, expected in results:
        verdict = "ok  " if found == expected else "FAIL"
        print(f"{verdict} {field}: {found!r}, expected {expected!r}")
    return all(found == expected for _, found, expected in results)


sys.exit(0 if {"loads": loads, "resources": resources}[mode]() else 1)
