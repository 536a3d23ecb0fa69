#!/usr/bin/env python3
# The Debian package end to end: built from a clean copy of the sources as
# `make deb` builds it (tools/build_deb.sh, whose dh_auto_test runs the tests
# that need no display, and which runs lintian), its file list and control
# fields, and the program unpacked into a scratch root (dpkg-deb -x) and run
# once in a window on the test run's display, as a daemon runs it.
#
#     package_test.py SOURCE_DIR OUT_DIR STATE_DIR VERSION
#
# VERSION is CMake's project version, the upstream part of the package's.
# Every wait polls with a deadline; the saver is stopped by its id and the
# scratch root removed.
import os, re, shutil, signal, subprocess, sys, tempfile, time

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "x11"))
from host_window import HostWindow  # noqa: E402

SOURCE, OUT, STATE, VERSION = sys.argv[1:5]
FAILURES = []
# Every file and link of the package, with its mode (links: their target).
FILES = {
    "usr/bin/lumenfall": "-> ../libexec/xscreensaver/lumenfall",
    "usr/libexec/xscreensaver/lumenfall": "-rwxr-xr-x",
    "usr/share/applications/screensavers/lumenfall.desktop": "-rw-r--r--",
    "usr/share/doc/lumenfall/changelog.Debian.gz": "-rw-r--r--",
    "usr/share/doc/lumenfall/copyright": "-rw-r--r--",
    "usr/share/man/man6/lumenfall.6.gz": "-rw-r--r--",
    "usr/share/xscreensaver/config/lumenfall.xml": "-rw-r--r--",
}
# Libraries the program links, which the inferred Depends must name.
LIBRARIES = {"libc6", "libgtk-3-0", "libx11-6", "libglx0", "libopengl0", "libglu1-mesa"}
FEWEST_TESTS_WITHOUT_A_DISPLAY = 20


def check(condition, what):
    print(("ok   " if condition else "FAIL ") + what, flush=True)
    condition or FAILURES.append(what)


def output(*args):
    return subprocess.run(args, capture_output=True, text=True, timeout=300).stdout


def build(deb):
    os.makedirs(OUT, exist_ok=True)
    log = os.path.join(OUT, "build.log")
    with open(log, "w") as f:
        built = subprocess.run([os.path.join(SOURCE, "tools", "build_deb.sh"), OUT], stdout=f,
                               stderr=subprocess.STDOUT, timeout=1700).returncode == 0
    text = open(log).read()
    check(built and os.path.exists(deb), f"the package builds (log: {log})")
    tested = re.search(r"100% tests passed, 0 tests failed out of (\d+)", text)
    check(tested is not None and int(tested.group(1)) >= FEWEST_TESTS_WITHOUT_A_DISPLAY,
          f"dh_auto_test ran the tests without a display: {tested and tested.group(0)}")
    check("render_scene" not in text and "scene_bench" not in text,
          "neither the developer tools nor the benchmarks are built")
    # There is no Debian bug for a first upload to close.
    faults = [line for line in text.splitlines()
              if line[:2] in ("E:", "W:") and "initial-upload-closes-no-bugs" not in line]
    check(not faults, f"lintian: no error, no warning but the first upload's: {faults}")
    return built and os.path.exists(deb)


def contents(deb, package_version):
    found = {}
    for line in output("dpkg-deb", "-c", deb).splitlines():
        mode, _, _, _, _, path, *link = line.split()
        if not mode.startswith("d"):
            found[path.removeprefix("./")] = " ".join(link) if link else mode
    check(found == FILES, f"the package's files: {sorted(found.items())}")
    fields = dict(re.findall(r"^(\w+): (.*)$", output("dpkg-deb", "-f", deb), re.M))
    depends = {d.split()[0] for d in fields.get("Depends", "").split(", ")}
    check(package_version.startswith(VERSION + "-"), f"{package_version} is of {VERSION}")
    check(fields.get("Version") == package_version, f"Version {fields.get('Version')}")
    check(LIBRARIES <= depends, f"Depends {fields.get('Depends')} names {sorted(LIBRARIES)}")
    check(fields.get("Recommends") == "xscreensaver", f"Recommends {fields.get('Recommends')}")


def model_pixels(rgb):
    # Pixels in the model's colours, its yellow middle or brown ends (as the
    # end-to-end tests find them); the host window's white has none.
    return sum(1 for r, g, b in zip(rgb[0::3], rgb[1::3], rgb[2::3])
               if r >= 40 and b * 2 <= g and (r > 100 < g or r > g > b))


def run_unpacked(deb):
    scratch, saver = tempfile.mkdtemp(prefix="lumenfall-unpacked."), None
    try:
        output("dpkg-deb", "-x", deb, scratch)
        program = os.path.join(scratch, "usr", "bin", "lumenfall")
        env = dict(os.environ, DISPLAY=open(os.path.join(STATE, "display")).read().strip())
        host = HostWindow(env["DISPLAY"], 320, 240)
        saver = subprocess.Popen([program, "--root"], stdout=subprocess.PIPE,
                                 stderr=subprocess.PIPE, text=True,
                                 env=dict(env, XSCREENSAVER_WINDOW=str(host.id)))
        deadline, drawn = time.monotonic() + 20, False
        while not drawn and time.monotonic() < deadline and saver.poll() is None:
            shot = subprocess.run(["import", "-window", str(host.id), "-depth", "8", "rgb:-"],
                                  env=env, capture_output=True, timeout=20).stdout
            drawn = model_pixels(shot) > 50
            time.sleep(0.2)
        check(drawn, "the unpacked program draws the scene into the daemon's window")
        saver.send_signal(signal.SIGTERM)
        check(saver.wait(timeout=10) == -signal.SIGTERM,
              f"SIGTERM ends it in order, by the signal {saver.stderr.read().strip()}")
        saver = None
    finally:
        if saver is not None:
            saver.kill()
            saver.wait()
        shutil.rmtree(scratch)


if __name__ == "__main__":
    changelog = os.path.join(SOURCE, "debian", "changelog")
    package_version = output("dpkg-parsechangelog", "-l", changelog, "-S", "Version").strip()
    arch = output("dpkg", "--print-architecture").strip()
    deb = os.path.join(OUT, f"lumenfall_{package_version}_{arch}.deb")
    if build(deb):
        contents(deb, package_version)
        run_unpacked(deb)
    print(f"{len(FAILURES)} failed" if FAILURES else "all passed")
    sys.exit(1 if FAILURES else 0)
