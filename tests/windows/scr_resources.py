#!/usr/bin/env python3
# Reads the application manifest and the version record back out of a built
# Windows program (its resource section, parsed from the PE file itself) and
# fails unless both are what lumenfall.scr must carry: per-monitor DPI
# awareness with the system-aware fallback, the systems from Vista to Windows
# 10 and 11, asInvoker, no dependent assembly, and VERSION (CMake's project
# version) in the manifest's identity and in every field of the version record.
# Usage: scr_resources.py PROGRAM VERSION
import struct
import sys
import xml.etree.ElementTree as ET

RT_VERSION, RT_MANIFEST = 16, 24
SUPPORTED_OS = {
    "{e2011457-1546-43c5-a5fe-008deee3d3f0}": "Vista",
    "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}": "7",
    "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}": "8",
    "{1f676c76-80e1-4239-95bb-83d0f6d0da78}": "8.1",
    "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}": "10 and 11",
}
NS = {"v1": "urn:schemas-microsoft-com:asm.v1", "v2": "urn:schemas-microsoft-com:asm.v2",
      "v3": "urn:schemas-microsoft-com:asm.v3", "c": "urn:schemas-microsoft-com:compatibility.v1",
      "ws05": "http://schemas.microsoft.com/SMI/2005/WindowsSettings",
      "ws16": "http://schemas.microsoft.com/SMI/2016/WindowsSettings"}


def resources(image):
    # {(type, id): data} of the numbered resources, first language of each.
    pe = struct.unpack_from("<I", image, 0x3C)[0]
    sections, optional_size = struct.unpack_from("<H12xH", image, pe + 6)
    optional = pe + 24
    if struct.unpack_from("<H", image, optional)[0] != 0x10B:
        raise ValueError("not a 32-bit PE program")
    rsrc_rva = struct.unpack_from("<I", image, optional + 96 + 2 * 8)[0]
    headers = optional + optional_size
    table = [struct.unpack_from("<8xIIII", image, headers + 40 * i) for i in range(sections)]

    def offset(rva):
        for _, address, raw_size, raw in table:
            if address <= rva < address + raw_size:
                return raw + rva - address
        raise ValueError(f"RVA {rva:#x} is in no section")

    if rsrc_rva == 0:
        return {}
    base = offset(rsrc_rva)

    def entries(directory):
        named, numbered = struct.unpack_from("<12xHH", image, base + directory)
        for i in range(named + numbered):
            name, target = struct.unpack_from("<II", image, base + directory + 16 + 8 * i)
            yield (None if name & 0x80000000 else name), target

    found = {}
    for type_id, type_dir in entries(0):
        for res_id, name_dir in entries(type_dir & 0x7FFFFFFF):
            _, leaf = next(entries(name_dir & 0x7FFFFFFF))
            rva, size = struct.unpack_from("<II", image, base + leaf)
            found[(type_id, res_id)] = image[offset(rva):offset(rva) + size]
    return found


def version_blocks(data, pos=0):
    # (key, value, children) of one VS_VERSIONINFO-style block and its length.
    length, value_length, text = struct.unpack_from("<HHH", data, pos)
    key_end = pos + 6
    while data[key_end:key_end + 2] != b"\0\0":
        key_end += 2
    key = data[pos + 6:key_end].decode("utf-16-le")
    value_pos = (key_end + 2 + 3) & ~3
    value_size = value_length * 2 if text else value_length
    value = data[value_pos:value_pos + value_size]
    children, child = [], (value_pos + value_size + 3) & ~3
    while child < pos + length:
        block, child_length = version_blocks(data, child)
        children.append(block)
        child = (child + child_length + 3) & ~3
    return (key, value.decode("utf-16-le").rstrip("\0") if text else value, children), length


def version_record(data):
    (key, fixed, children), _ = version_blocks(data)
    signature, _, file_ms, file_ls, product_ms, product_ls = struct.unpack_from("<6I", fixed)
    quad = lambda ms, ls: f"{ms >> 16}.{ms & 0xFFFF}.{ls >> 16}.{ls & 0xFFFF}"
    strings = {name: text for block, _, tables in children if block == "StringFileInfo"
               for _, _, entries in tables for name, text, _ in entries}
    return key, signature, quad(file_ms, file_ls), quad(product_ms, product_ls), strings


def main():
    program, version = sys.argv[1:3]
    quad = ".".join((version.split(".") + ["0"] * 4)[:4])
    found = resources(open(program, "rb").read())
    checks = []
    manifest = found.get((RT_MANIFEST, 1))
    root = None
    if manifest is None:
        checks.append((False, "a manifest resource (RT_MANIFEST 1)"))
    else:
        try:
            root = ET.fromstring(manifest)
        except ET.ParseError as error:
            # Windows refuses to start a program whose manifest it cannot parse.
            checks.append((False, f"the manifest is well-formed XML: {error}"))
    if root is not None:
        identity = root.find("v1:assemblyIdentity", NS)
        privileges = "v2:trustInfo/v2:security/v2:requestedPrivileges/"
        level = root.find(privileges + "v2:requestedExecutionLevel", NS)
        systems = [e.get("Id") for e in
                   root.iterfind("c:compatibility/c:application/c:supportedOS", NS)]
        settings = "v3:application/v3:windowsSettings/"
        aware = root.findtext(settings + "ws05:dpiAware", "", NS).strip()
        awareness = [v.strip() for v in
                     root.findtext(settings + "ws16:dpiAwareness", "", NS).split(",")]
        named = ", ".join(SUPPORTED_OS.get(s, s) for s in systems)
        checks += [
            (identity is not None and identity.get("version") == quad,
             f"manifest identity version {quad}"),
            (level is not None and level.get("level") == "asInvoker"
             and level.get("uiAccess") == "false", "execution level asInvoker, without UI access"),
            (sorted(systems) == sorted(SUPPORTED_OS), f"supported systems: Windows {named}"),
            (aware.lower() == "true/pm",
             f"dpiAware {aware!r}: per monitor from 8.1, else system aware"),
            (awareness[:2] == ["PerMonitorV2", "PerMonitor"], f"dpiAwareness {awareness}"),
            (root.find("v1:dependency", NS) is None, "no dependent assembly"),
        ]
    record = found.get((RT_VERSION, 1))
    if record is None:
        checks.append((False, "a version record (RT_VERSION 1)"))
    else:
        key, signature, file_quad, product_quad, strings = version_record(record)
        copyright_line = strings.get("LegalCopyright", "")
        checks += [
            (key == "VS_VERSION_INFO" and signature == 0xFEEF04BD, "a well-formed version record"),
            ((file_quad, product_quad) == (quad, quad),
             f"fixed versions {file_quad}, {product_quad}"),
            (strings.get("FileVersion") == strings.get("ProductVersion") == version,
             f"version strings {strings.get('FileVersion')!r} and "
             f"{strings.get('ProductVersion')!r}"),
            ("MIT License" in copyright_line and "2026 The Lumenfall developers" in copyright_line,
             f"copyright {copyright_line!r}"),
        ]
    for passed, what in checks:
        print(("ok   " if passed else "FAIL ") + what)
    sys.exit(0 if all(passed for passed, _ in checks) else 1)


if __name__ == "__main__":
    main()
