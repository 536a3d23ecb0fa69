#!/usr/bin/env bash
# Fails unless PROGRAM imports system DLLs only: a MinGW runtime DLL (libstdc++,
# libgcc, libwinpthread) would have to travel beside the .scr.
# Usage: check_imports.sh OBJDUMP PROGRAM
set -euo pipefail
objdump=$1
program=$2
imports=$("$objdump" -p "$program" | sed -n 's/^[[:space:]]*DLL Name: //p')
if [ -z "$imports" ]; then
    echo "no import table found in $program" >&2
    exit 1
fi
status=0
while read -r dll; do
    case "${dll,,}" in
    kernel32.dll | user32.dll | gdi32.dll | opengl32.dll | glu32.dll | winmm.dll | shell32.dll | \
        advapi32.dll | msvcrt.dll | comctl32.dll | comdlg32.dll | ole32.dll | imm32.dll | version.dll)
        echo "system: $dll" ;;
    *)
        echo "not a system DLL: $dll" >&2
        status=1 ;;
    esac
done <<<"$imports"
exit $status
