#!/usr/bin/env python3
# Reads the application manifest and the version record back out of a built
# Windows program (the resource tree as objdump lists it, the bytes from the
# file) and fails unless both are what lumenfall.scr must carry: per-monitor
# DPI awareness with the system-aware fallback, the systems from Vista to
# Windows 10 and 11, asInvoker, no dependent assembly, and VERSION (CMake's
# project version) in the manifest's identity and the version record.
# Usage: scr_resources.py OBJDUMP PROGRAM VERSION
import re
import struct
import subprocess
import sys
import xml.etree.ElementTree as ET

objdump, program, version = sys.argv[1:4]
RT_VERSION, RT_MANIFEST = 16, 24
VS_FIXEDFILEINFO_SIGNATURE = 0xFEEF04BD
# The supportedOS identifiers of Vista, 7, 8, 8.1, and 10 and 11.
SYSTEMS = ["e2011457-1546-43c5-a5fe-008deee3d3f0", "35138b9a-5d96-4fbd-8e2d-a2440225f93a",
           "4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38", "1f676c76-80e1-4239-95bb-83d0f6d0da78",
           "8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a"]
QUAD = ".".join((version.split(".") + ["0"] * 4)[:4])
image = open(program, "rb").read()
headers = subprocess.run([objdump, "-p", "-h", program], capture_output=True, text=True,
                         check=True).stdout
base = int(re.search(r"^ImageBase\s+([0-9a-f]+)", headers, re.M).group(1), 16)
# Each section's start relative to the image, size and file offset (from the
# index, name, size, VMA, LMA and file offset that objdump lists).
SECTION = r"^\s*\d+ \.\w+\s+([0-9a-f]+)\s+([0-9a-f]+)\s+[0-9a-f]+\s+([0-9a-f]+)"
sections = [(int(vma, 16) - base, int(size, 16), int(raw, 16))
            for size, vma, raw in re.findall(SECTION, headers, re.M)]
# Type entries are indented by 3, name entries by 5 (languages by 7).
ENTRY = r"^[0-9a-f]+( +)(?:Entry: ID: 0x([0-9a-f]+)|Leaf: Addr: 0x([0-9a-f]+), Size: 0x([0-9a-f]+))"
resources, kind, name = {}, None, None
for depth, number, address, size in re.findall(ENTRY, headers, re.M):
    if len(depth) == 3:
        kind = int(number, 16)
    elif len(depth) == 5:
        name = int(number, 16)
    elif address:
        rva = int(address, 16)
        offset = next(raw + rva - start for start, length, raw in sections
                      if start <= rva < start + length)
        resources.setdefault((kind, name), image[offset:offset + int(size, 16)])


def manifest(text):
    # Windows refuses to start a program whose manifest is not well-formed.
    root = ET.fromstring(text)
    level = root.find("{*}trustInfo/{*}security/{*}requestedPrivileges/{*}requestedExecutionLevel")
    settings = "{*}application/{*}windowsSettings/{*}"
    return {"identity": root.find("{*}assemblyIdentity").get("version"),
            "execution level": (level.get("level"), level.get("uiAccess")),
            "systems": [e.get("Id").strip("{}") for e in
                        root.iterfind("{*}compatibility/{*}application/{*}supportedOS")],
            "dpiAware": root.findtext(settings + "dpiAware", "").strip(),
            "dpiAwareness": root.findtext(settings + "dpiAwareness", "").replace(" ", ""),
            "dependent assembly": root.find("{*}dependency")}


def record(data):
    # VS_FIXEDFILEINFO follows the key "VS_VERSION_INFO"; each string's value
    # follows its key and the padding after it.
    signature, _, *numbers = struct.unpack_from("<6I", data, 40)
    strings = dict(re.findall(r"(FileVersion|ProductVersion|LegalCopyright)\0+([^\0]+)",
                              data.decode("utf-16-le")))
    return {"signature": hex(signature),
            "fixed versions": [f"{ms >> 16}.{ms & 0xFFFF}.{ls >> 16}.{ls & 0xFFFF}"
                               for ms, ls in (numbers[:2], numbers[2:])],
            "version strings": [strings.get("FileVersion"), strings.get("ProductVersion")],
            "copyright": strings.get("LegalCopyright")}


EXPECTED = {
    (RT_MANIFEST, 1): ("a manifest resource (RT_MANIFEST 1)", manifest, {
        "identity": QUAD,
        "execution level": ("asInvoker", "false"),
        "systems": SYSTEMS,
        "dpiAware": "true/pm",
        "dpiAwareness": "PerMonitorV2,PerMonitor",
        "dependent assembly": None,
    }),
    (RT_VERSION, 1): ("a version record (RT_VERSION 1)", record, {
        "signature": hex(VS_FIXEDFILEINFO_SIGNATURE),
        "fixed versions": [QUAD, QUAD],
        "version strings": [version, version],
        "copyright": "Copyright (C) 2026 The Lumenfall developers. MIT License.",
    }),
}
failed = False
for (kind, name), (what, read, expected) in EXPECTED.items():
    if (kind, name) not in resources:
        print(f"FAIL {what}")
        failed = True
        continue
    for field, found in read(resources[(kind, name)]).items():
        ok = found == expected[field]
        print(("ok   " if ok else "FAIL ") + f"{field}: {found!r}, expected {expected[field]!r}")
        failed = failed or not ok
sys.exit(1 if failed else 0)
