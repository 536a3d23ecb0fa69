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
SYSTEMS = {"e2011457-1546-43c5-a5fe-008deee3d3f0": "Vista",
           "35138b9a-5d96-4fbd-8e2d-a2440225f93a": "7",
           "4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38": "8",
           "1f676c76-80e1-4239-95bb-83d0f6d0da78": "8.1",
           "8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a": "10 and 11"}
NS = {"v1": "urn:schemas-microsoft-com:asm.v1", "v2": "urn:schemas-microsoft-com:asm.v2",
      "v3": "urn:schemas-microsoft-com:asm.v3", "c": "urn:schemas-microsoft-com:compatibility.v1",
      "a": "http://schemas.microsoft.com/SMI/2005/WindowsSettings",
      "b": "http://schemas.microsoft.com/SMI/2016/WindowsSettings"}
image, headers = open(program, "rb").read(), subprocess.run(
    [objdump, "-p", "-h", program], capture_output=True, text=True, check=True).stdout
base = int(re.search(r"^ImageBase\s+([0-9a-f]+)", headers, re.M).group(1), 16)
# Index, name, size, VMA, LMA and file offset of each section.
sections = [(int(vma, 16) - base, int(size, 16), int(raw, 16)) for size, vma, raw in re.findall(
    r"^\s*\d+ \.\w+\s+([0-9a-f]+)\s+([0-9a-f]+)\s+[0-9a-f]+\s+([0-9a-f]+)", headers, re.M)]
# Type entries are indented by 3, name entries by 5 (languages by 7).
resources, kind, name = {}, None, None
ENTRY = r"^[0-9a-f]+( +)(?:Entry: ID: 0x([0-9a-f]+)|Leaf: Addr: 0x([0-9a-f]+), Size: 0x([0-9a-f]+))"
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

quad = ".".join((version.split(".") + ["0"] * 4)[:4])
checks, manifest, record = [], resources.get((24, 1)), resources.get((16, 1))
try:
    root = ET.fromstring(manifest) if manifest else None
except ET.ParseError as error:  # Windows refuses to start such a program
    root = checks.append((False, f"the manifest is well-formed XML: {error}"))
if manifest is None:
    checks.append((False, "a manifest resource (RT_MANIFEST 1)"))
if root is not None:
    level = root.find("v2:trustInfo/v2:security/v2:requestedPrivileges/"
                      "v2:requestedExecutionLevel", NS)
    systems = [e.get("Id").strip("{}")
               for e in root.iterfind("c:compatibility/c:application/c:supportedOS", NS)]
    settings = "v3:application/v3:windowsSettings/"
    aware = root.findtext(settings + "a:dpiAware", "", NS).strip()
    awareness = root.findtext(settings + "b:dpiAwareness", "", NS).replace(" ", "")
    named = ", ".join(SYSTEMS.get(s, s) for s in systems)
    checks += [(root.find("v1:assemblyIdentity", NS).get("version") == quad, f"identity {quad}"),
               (level is not None and level.get("level") == "asInvoker"
                and level.get("uiAccess") == "false", "execution level asInvoker, no UI access"),
               (sorted(systems) == sorted(SYSTEMS), f"systems: {named}"),
               (aware == "true/pm", f"dpiAware {aware!r}: per monitor from 8.1, else system"),
               (awareness.startswith("PerMonitorV2,PerMonitor"), f"dpiAwareness {awareness!r}"),
               (root.find("v1:dependency", NS) is None, "no dependent assembly")]
if record is None:
    checks.append((False, "a version record (RT_VERSION 1)"))
else:
    # VS_FIXEDFILEINFO follows the key "VS_VERSION_INFO"; each string's value
    # follows its key and the padding after it.
    signature, _, *numbers = struct.unpack_from("<6I", record, 40)
    fixed = {f"{ms >> 16}.{ms & 0xFFFF}.{ls >> 16}.{ls & 0xFFFF}"
             for ms, ls in (numbers[:2], numbers[2:])}
    strings = dict(re.findall(r"(FileVersion|ProductVersion|LegalCopyright)\0+([^\0]+)",
                              record.decode("utf-16-le")))
    texts = [strings.get("FileVersion"), strings.get("ProductVersion")]
    legal = strings.get("LegalCopyright", "")
    checks += [(signature == 0xFEEF04BD and fixed == {quad}, f"fixed versions {sorted(fixed)}"),
               (texts == [version, version], f"version strings {texts}"),
               ("2026 The Lumenfall developers. MIT License" in legal, f"copyright {legal!r}")]
print("\n".join(("ok   " if passed else "FAIL ") + what for passed, what in checks))
sys.exit(0 if all(passed for passed, _ in checks) else 1)
