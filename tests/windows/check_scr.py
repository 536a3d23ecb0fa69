#!/usr/bin/env python3
"""Fails unless PROGRAM would load and run on Windows 95 with the OpenGL 1.1
runtime: a subsystem of 4.0 at most, every import a named function of a
system DLL on that DLL's list in LIST_DIR (so no runtime DLL of our own),
and no instruction on SSE or MMX registers nor one of SSE's register-less
instructions. Names what fails.
Usage: check_scr.py OBJDUMP PROGRAM LIST_DIR
"""
import os
import re
import subprocess
import sys

objdump, program, list_dir = sys.argv[1:]
dump = lambda *flags: subprocess.run([objdump, *flags, program], check=True, capture_output=True, text=True).stdout
headers, failures = dump("-p"), []
version = tuple(int(v) for v in re.findall(r"^M(?:aj|in)orSubsystemVersion\s+(\d+)", headers, re.M))
if not version or version > (4, 0):
    failures.append(f"subsystem version {version}: Windows 95 loads 4.0 at most")
tables = re.findall(r"^\tDLL Name: (\S+)\n\tvma:.*\n((?:\t.*\n)*)", headers, re.M)
for dll, entries in tables or [("(none)", "")]:
    path = os.path.join(list_dir, dll.lower().removesuffix(".dll") + ".txt")
    if not os.path.exists(path):
        failures.append(f"{dll}: not a system DLL of Windows 95")
        continue
    allowed = {line.strip() for line in open(path) if not line.startswith("#")}
    for entry in entries.splitlines():
        name = re.fullmatch(r"\t[0-9a-f]+\t\s*\d+\s+(\S+)\s*", entry)
        if not name or name.group(1) not in allowed:
            failures.append(f"{dll}: {name.group(1) if name else 'an import by ordinal'} is not on the Windows 95 list")

function, sse = "?", []
for line in dump("-d", "--no-show-raw-insn").splitlines():
    if m := re.match(r"^[0-9a-f]+ <(.+)>:$", line):
        function = m.group(1)
    elif (m := re.match(r"^\s*([0-9a-f]+):\s+(.+)$", line)) and function != ".gcc_except_table":
        if re.search(r"%[xy]?mm\d", m.group(2)) or re.match(r"(ld|st)mxcsr|[slm]fence|movnti|clflush|prefetch", m.group(2)):
            sse.append(f"first SSE instruction: {' '.join(m.group(2).split())} at {m.group(1)} in {function}")
failures += sse[:1]
for failure in failures:
    print("FAIL", failure)
print(f"{len(tables)} import tables, {len(sse)} SSE instructions")
sys.exit(1 if failures else 0)
