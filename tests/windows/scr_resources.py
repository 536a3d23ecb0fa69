#!/usr/bin/env python3
# Reads the application manifest and the version record back out of a built
# Windows program (the resource tree as objdump lists it, the bytes from the
# file) and fails unless both are what lumenfall.scr must carry: per-monitor
# DPI awareness with the system-aware fallback, the systems from Vista to
# Windows 10 and 11, asInvoker, no dependent assembly, and VERSION (CMake's
# project version) in the manifest's identity and the version record.
# Usage: scr_resources.py OBJDUMP PROGRAM VERSION
import re, struct, subprocess, sys
import xml.etree.ElementTree as ET

objdump, program, version = sys.argv[1:4]
QUAD = ".".join((version.split(".") + ["0"] * 4)[:4])
# The supportedOS identifiers of Vista, 7, 8, 8.1, and 10 and 11.
SYSTEMS = ["e2011457-1546-43c5-a5fe-008deee3d3f0", "35138b9a-5d96-4fbd-8e2d-a2440225f93a",
           "4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38", "1f676c76-80e1-4239-95bb-83d0f6d0da78",
           "8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a"]
RT_MANIFEST, RT_VERSION = 24, 16
COPYRIGHT = "Copyright (C) 2026 The Lumenfall developers. MIT License."
image = open(program, "rb").read()
tree = subprocess.run([objdump, "-p", program], capture_output=True, text=True, check=True).stdout
# The size of each resource by type and name: in the tree, types are indented
# by 3, names by 5 and languages by 7, and the leaves give the sizes.
sizes, kind, name = {}, None, None
ENTRY = r"^[0-9a-f]+( +)(?:Entry: ID: 0x([0-9a-f]+)|Leaf: Addr: .*, Size: 0x([0-9a-f]+))"
for depth, number, size in re.findall(ENTRY, tree, re.M):
    if len(depth) == 3:
        kind = int(number, 16)
    elif len(depth) == 5:
        name = int(number, 16)
    elif size:
        sizes[(kind, name)] = int(size, 16)


def manifest(text):
    # (what, found, expected); Windows refuses to start a program whose
    # manifest is not well-formed.
    root = ET.fromstring(text)
    level = root.find("{*}trustInfo/{*}security/{*}requestedPrivileges/{*}requestedExecutionLevel")
    settings = "{*}application/{*}windowsSettings/{*}"
    systems = root.iterfind("{*}compatibility/{*}application/{*}supportedOS")
    return [("identity", root.find("{*}assemblyIdentity").get("version"), QUAD),
            ("execution level", level.get("level"), "asInvoker"),
            ("UI access", level.get("uiAccess"), "false"),
            ("systems", [system.get("Id").strip("{}") for system in systems], SYSTEMS),
            ("dpiAware", root.findtext(settings + "dpiAware").strip(), "true/pm"),
            ("dpiAwareness", root.findtext(settings + "dpiAwareness"), "PerMonitorV2, PerMonitor"),
            ("dependent assembly", root.find("{*}dependency"), None)]


def record(data):
    # VS_FIXEDFILEINFO follows the key "VS_VERSION_INFO"; each string's value
    # follows its key and the padding after it.
    signature, _, *numbers = struct.unpack_from("<6I", data, 40)
    strings = dict(re.findall(r"(FileVersion|ProductVersion|LegalCopyright)\0+([^\0]+)",
                              data.decode("utf-16-le")))
    fixed = [f"{ms >> 16}.{ms & 0xFFFF}.{ls >> 16}.{ls & 0xFFFF}"
             for ms, ls in (numbers[:2], numbers[2:])]
    return [("signature", hex(signature), hex(0xFEEF04BD)),
            ("fixed versions", fixed, [QUAD, QUAD]),
            ("FileVersion", strings.get("FileVersion"), version),
            ("ProductVersion", strings.get("ProductVersion"), version),
            ("LegalCopyright", strings.get("LegalCopyright"), COPYRIGHT)]


# Each resource: the bytes that it opens with, after how many of its own
# (the record's length, value length and type come before its key), and its
# reader.
RECORD_KEY = "VS_VERSION_INFO".encode("utf-16-le")
RESOURCES = [
    ("a manifest resource (RT_MANIFEST 1)", RT_MANIFEST, b"<?xml", 0, manifest),
    ("a version record (RT_VERSION 1)", RT_VERSION, RECORD_KEY, 6, record),
]
failed = False
for what, kind, opening, before, read in RESOURCES:
    start = image.find(opening) - before
    if (kind, 1) not in sizes or start < 0:
        print(f"FAIL {what}")
        failed = True
        continue
    for field, found, expected in read(image[start:start + sizes[(kind, 1)]]):
        verdict = "ok  " if found == expected else "FAIL"
        print(f"{verdict} {field}: {found!r}, expected {expected!r}")
        failed = failed or found != expected
sys.exit(1 if failed else 0)
