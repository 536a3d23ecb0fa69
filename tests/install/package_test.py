#!/usr/bin/env python3
# The Debian package end to end: built from a clean copy of the sources as
# `make deb` builds it (tools/build_deb.sh, whose dh_auto_test runs the tests
# that need no display, and which runs lintian), its files and control fields,
# and the program unpacked into a scratch root (dpkg-deb -x) and run once in a
# window on the test run's display, as a daemon runs it.
#
#     package_test.py SOURCE_DIR OUT_DIR STATE_DIR
#
# Every wait polls with a deadline; the saver is stopped by its id and the
# scratch root removed.
import os, re, shutil, signal, subprocess, sys, tempfile, time

from install_test import DATA, PROGRAM, check, finish, listing, run

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "x11"))
from host_window import HostWindow  # noqa: E402

SOURCE, OUT, STATE = sys.argv[1:4]
# Every file and link of the package, with its mode (links: their target).
FILES = {
    "usr/bin/lumenfall": "../libexec/xscreensaver/lumenfall",
    "usr/libexec/xscreensaver/lumenfall": PROGRAM,
    "usr/share/applications/screensavers/lumenfall.desktop": DATA,
    "usr/share/doc/lumenfall/changelog.Debian.gz": DATA,
    "usr/share/doc/lumenfall/copyright": DATA,
    "usr/share/man/man6/lumenfall.6.gz": DATA,
    "usr/share/xscreensaver/config/lumenfall.xml": DATA,
}
# Libraries the program links, which the inferred Depends must name.
LIBRARIES = {"libc6", "libgtk-3-0", "libx11-6", "libglx0", "libopengl0", "libglu1-mesa"}
FEWEST_TESTS_WITHOUT_A_DISPLAY = 20


def build(deb):
    log = os.path.join(OUT, "build.log")
    with open(log, "w") as f:
        built = subprocess.run([os.path.join(SOURCE, "tools", "build_deb.sh"), OUT], stdout=f,
                               stderr=subprocess.STDOUT, timeout=1700).returncode == 0
    text = open(log).read()
    check(built and os.path.exists(deb), f"the package builds (log: {log})")
    tested = re.search(r"100% tests passed, 0 tests failed out of (\d+)", text)
    check(tested is not None and int(tested.group(1)) >= FEWEST_TESTS_WITHOUT_A_DISPLAY,
          f"dh_auto_test ran the tests without a display: {tested and tested.group(0)}")
    # There is no Debian bug for a first upload to close.
    faults = [line for line in text.splitlines()
              if line[:2] in ("E:", "W:") and "initial-upload-closes-no-bugs" not in line]
    check(not faults, f"lintian: no error, no warning but the first upload's: {faults}")
    return built and os.path.exists(deb)


def fields(deb):
    found = dict(re.findall(r"^(\w+): (.*)$", run("dpkg-deb", "-f", deb).stdout, re.M))
    depends = {d.split()[0] for d in found.get("Depends", "").split(", ")}
    check(LIBRARIES <= depends, f"Depends {found.get('Depends')} names {sorted(LIBRARIES)}")
    check(found.get("Recommends") == "xscreensaver", f"Recommends {found.get('Recommends')}")


def model_pixels(rgb):
    # Pixels in the model's colours, its yellow middle or brown ends (as the
    # end-to-end tests find them); the host window's white has none.
    return sum(1 for r, g, b in zip(rgb[0::3], rgb[1::3], rgb[2::3])
               if r >= 40 and b * 2 <= g and (r > 100 < g or r > g > b))


def run_once(scratch):
    env = dict(os.environ, DISPLAY=open(os.path.join(STATE, "display")).read().strip())
    host = HostWindow(env["DISPLAY"], 320, 240)
    saver = subprocess.Popen([os.path.join(scratch, "usr", "bin", "lumenfall"), "--root"],
                             stderr=subprocess.PIPE, text=True,
                             env=dict(env, XSCREENSAVER_WINDOW=str(host.id)))
    try:
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
    finally:
        saver.kill()  # nothing once it has ended
        saver.wait()


if __name__ == "__main__":
    changelog = os.path.join(SOURCE, "debian", "changelog")
    package = run("dpkg-parsechangelog", "-l", changelog, "-S", "Version").stdout.strip()
    arch = run("dpkg", "--print-architecture").stdout.strip()
    deb = os.path.join(OUT, f"lumenfall_{package}_{arch}.deb")
    os.makedirs(OUT, exist_ok=True)
    scratch = tempfile.mkdtemp(prefix="lumenfall-unpacked.")
    try:
        if build(deb):
            fields(deb)
            run("dpkg-deb", "-x", deb, scratch)
            check(listing(scratch) == FILES, f"the package's files: {listing(scratch)}")
            run_once(scratch)
    finally:
        shutil.rmtree(scratch)
    finish()
