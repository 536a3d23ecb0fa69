#!/usr/bin/env python3
# Fails unless PROGRAM would load and run on Windows 95 with the OpenGL 1.1
# runtime: a subsystem of 4.0 at most, every import a named function on its
# system DLL's list in LIST_DIR (so no runtime DLL of our own), and no
# instruction on SSE or MMX registers nor one of SSE's that names none. The
# exception tables that the linker places among the code are not code.
# Usage: check_scr.py OBJDUMP PROGRAM LIST_DIR
import os, re, subprocess, sys

objdump, program, list_dir = sys.argv[1:]
WINDOWS_95_SUBSYSTEM = (4, 0)
SSE = r"%[xy]?mm\d|^((ld|st)mxcsr|[slm]fence|movnti|clflush|prefetch)"


def dump(*flags):
    return subprocess.run([objdump, *flags, program], check=True, capture_output=True,
                          text=True).stdout


def allowed(dll):
    path = os.path.join(list_dir, dll.lower().removesuffix(".dll") + ".txt")
    return {line.strip() for line in open(path) if not line.startswith("#")
            } if os.path.exists(path) else set()


headers, failures, function = dump("-p"), [], "?"
version = tuple(int(v) for v in re.findall(r"^M(?:aj|in)orSubsystemVersion\s+(\d+)", headers, re.M))
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
            instruction = " ".join(m.group(2).split())
            failures.append(f"first SSE instruction: {instruction} at {m.group(1)} in {function}")
            break
print("\n".join(f"FAIL {failure}" for failure in failures) or
      f"{len(tables)} DLLs, all on the lists; no SSE")
sys.exit(1 if failures else 0)
