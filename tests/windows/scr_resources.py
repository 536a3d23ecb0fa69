#!/usr/bin/env python3
# Reads the application manifest and the version record back out of a built
# Windows program (the resource tree as objdump lists it, the bytes from the
# file) and fails unless both are what lumenfall.scr must carry: per-monitor
# DPI awareness with the system-aware fallback, asInvoker, no dependent
# assembly, and VERSION (CMake's project version) in the manifest's identity
# and the version record.
# Usage: scr_resources.py OBJDUMP PROGRAM VERSION
import re, struct, subprocess, sys
import xml.etree.ElementTree as ET

objdump, program, version = sys.argv[1:4]
QUAD = ".".join((version.split(".") + ["0"] * 4)[:4])
RT_MANIFEST, RT_VERSION = 24, 16
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
    return [("identity", root.find("{*}assemblyIdentity").get("version"), QUAD),
            ("execution level", level.get("level"), "asInvoker"),
            ("UI access", level.get("uiAccess"), "false"),
            ("dpiAware", root.findtext(settings + "dpiAware").strip(), "true/pm"),
            ("dpiAwareness", root.findtext(settings + "dpiAwareness"), "PerMonitorV2, PerMonitor"),
            ("dependent assembly", root.find("{*}dependency"), None)]


def record(data):
    # VS_FIXEDFILEINFO follows the key "VS_VERSION_INFO"; each string's value
    # follows its key and the padding after it.
    signature, _, *numbers = struct.unpack_from("<6I", data, 40)
    strings = dict(re.findall(r"(FileVersion|ProductVersion)\0+([^\0]+)",
                              data.decode("utf-16-le")))
    fixed = [f"{ms >> 16}.{ms & 0xFFFF}.{ls >> 16}.{ls & 0xFFFF}"
             for ms, ls in (numbers[:2], numbers[2:])]
    return [("signature", hex(signature), hex(0xFEEF04BD)),
            ("fixed versions", fixed, [QUAD, QUAD]),
            ("FileVersion", strings.get("FileVersion"), version),
            ("ProductVersion", strings.get("ProductVersion"), version)]


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
