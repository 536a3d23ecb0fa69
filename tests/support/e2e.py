# What the end-to-end scripts share. Every wait polls, with a deadline, for
# the condition that is checked after it; every process started is stopped
# again by its id.
import os, re, subprocess, sys, time

FAILURES = []


def check(condition, what):
    print(("ok   " if condition else "FAIL ") + what, flush=True)
    if not condition:
        FAILURES.append(what)


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
    # The signed exit code (a signal's death below 0), or None while the process still runs.
    try:
        code = process.wait(timeout=seconds)
    except subprocess.TimeoutExpired:
        return None
    return code - 256 if code > 127 else code


def stop(process, seconds=10):
    if process.poll() is None:
        process.terminate()
        try:
            process.wait(timeout=seconds)
        except subprocess.TimeoutExpired:
            process.kill()
            process.wait()


def ppm(data):
    # (width, height, pixel bytes r g b ...) of a binary PPM; (0, 0, b"") for anything else.
    header = re.match(rb"P6\s+(\d+)\s+(\d+)\s+255\s", data)
    return (int(header[1]), int(header[2]), data[header.end():]) if header else (0, 0, b"")


def model_pixels(pixels):
    # Where the model's warm colours show; None while hardly any do.
    found = {i // 3 for i in range(0, len(pixels), 3)
             if pixels[i] > 80 and pixels[i + 2] * 2 < pixels[i]}
    return found if len(found) > 50 else None


def shows_and_moves(model):
    # `model` gives where the model shows now.
    first = wait_for(model, 20)
    check(first, "the model shows, lit")
    moved = lambda: len(first ^ (model() or set())) > len(first) // 2
    check(first and wait_for(moved, 5), "the flyers move")


def run(area, clean_up):
    try:
        area()
    finally:
        clean_up()
    print(f"{len(FAILURES)} failed" if FAILURES else "all passed")
    sys.exit(1 if FAILURES else 0)
