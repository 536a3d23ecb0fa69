# What the end-to-end scripts wait with: every wait polls, with a deadline,
# for the condition that is checked after it.
import os, subprocess, time


def wait_for(predicate, seconds=10.0):
    # The predicate's first true value, or None once the deadline has passed.
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        value = predicate()
        if value:
            return value
        time.sleep(0.1)
    return None


def exit_code(process, seconds):
    # The signed exit code, or None while the process still runs.
    try:
        code = process.wait(timeout=seconds)
    except subprocess.TimeoutExpired:
        return None
    return code - 256 if code > 127 else code


def program_of(pid):
    # What the process runs, or None once it has gone (as it may have since it was listed).
    try:
        return os.readlink(f"/proc/{pid}/exe")
    except OSError:
        return None
