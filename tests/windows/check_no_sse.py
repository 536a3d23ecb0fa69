#!/usr/bin/env python3
"""Fails if PROGRAM's code holds any instruction on SSE (or MMX) registers,
or one of the SSE instructions that name none: the processors of the
Windows 95 era lack them, and Windows 95 does not enable SSE. Names the first
offender, with its address and function, and counts them all. The C++
exception tables, which the linker places among the code, are data and are
not read as instructions.

Usage: check_no_sse.py OBJDUMP PROGRAM
"""
import re
import subprocess
import sys

FUNCTION = re.compile(r"^[0-9a-f]+ <(.+)>:$")
INSTRUCTION = re.compile(r"^\s*([0-9a-f]+):\s+(.+)$")
SSE_REGISTER = re.compile(r"%[xy]?mm\d")
SSE_WITHOUT_REGISTERS = re.compile(
    r"^(ldmxcsr|stmxcsr|sfence|lfence|mfence|movnti|clflush|prefetch(nta|t0|t1|t2))\b")

DATA_AMONG_CODE = {".gcc_except_table"}


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    objdump, program = sys.argv[1:]
    text = subprocess.run([objdump, "-d", "--no-show-raw-insn", program], check=True, capture_output=True,
                          text=True).stdout
    function = "?"
    instructions = 0
    offenders = []
    for line in text.splitlines():
        m = FUNCTION.match(line)
        if m:
            function = m.group(1)
            continue
        m = INSTRUCTION.match(line)
        if not m or function in DATA_AMONG_CODE:
            continue
        instructions += 1
        address, instruction = m.groups()
        if SSE_REGISTER.search(instruction) or SSE_WITHOUT_REGISTERS.match(instruction):
            offenders.append((address, " ".join(instruction.split()), function))
    if instructions == 0:
        print(f"no code found in {program}")
        return 1
    if offenders:
        address, instruction, function = offenders[0]
        print(f"FAIL first SSE instruction: {instruction} at {address} in {function}")
        print(f"{len(offenders)} SSE instruction(s) among {instructions}")
        return 1
    print(f"no SSE instruction among {instructions}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
