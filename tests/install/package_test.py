#!/usr/bin/env python3
# The Debian package end to end: built from a clean copy of the sources as
# `make deb` builds it (tools/build_deb.sh, with its own tests run by
# dh_auto_test), its file list, control fields and lintian's report, and the
# program unpacked into a scratch root (dpkg-deb -x) and run once in a window
# on the test run's display, as a daemon runs it.
#
#     package_test.py SOURCE_DIR OUT_DIR STATE_DIR VERSION
#
# VERSION is CMake's project version, the upstream part of the package's.
#
# Every wait polls with a deadline; what is started here is stopped by id and
# the scratch root is removed.
import os, re, shutil, signal, subprocess, sys, tempfile, time

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "x11"))
from host_window import HostWindow  # noqa: E402

SOURCE, OUT, STATE, VERSION = sys.argv[1:5]
FAILURES = []
ARCH = subprocess.run(["dpkg", "--print-architecture"], capture_output=True,
                      text=True).stdout.strip()
CHANGELOG = os.path.join(SOURCE, "debian", "changelog")
PACKAGE_VERSION = subprocess.run(["dpkg-parsechangelog", "-l", CHANGELOG, "-S", "Version"],
                                 capture_output=True, text=True).stdout.strip()
DEB = os.path.join(OUT, f"lumenfall_{PACKAGE_VERSION}_{ARCH}.deb")
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
LIBRARIES = ("libc6", "libgtk-3-0", "libx11-6", "libglx0", "libopengl0", "libglu1-mesa")


def check(condition, what):
    print(("ok   " if condition else "FAIL ") + what, flush=True)
    condition or FAILURES.append(what)


def output(*args, **kw):
    return subprocess.run(args, capture_output=True, text=True, timeout=300, **kw)


def build():
    log = os.path.join(OUT, "build.log")
    os.makedirs(OUT, exist_ok=True)
    with open(log, "w") as f:
        built = subprocess.run([os.path.join(SOURCE, "tools", "build_deb.sh"), OUT], stdout=f,
                               stderr=subprocess.STDOUT, timeout=1700)
    text = open(log).read()
    check(built.returncode == 0 and os.path.exists(DEB), f"the package builds (log: {log})")
    tested = re.search(r"100% tests passed, 0 tests failed out of (\d+)", text)
    check(tested is not None and int(tested.group(1)) >= 20,
          f"dh_auto_test ran the tests without a display: {tested and tested.group(0)}")
    check("render_scene" not in text and "scene_bench" not in text,
          "neither the developer tools nor the benchmarks are built")
    return built.returncode == 0 and os.path.exists(DEB)


def contents():
    found, owners = {}, set()
    for line in output("dpkg-deb", "-c", DEB).stdout.splitlines():
        mode, owner, _, _, _, path, *link = line.split()
        owners.add(owner)
        if not mode.startswith("d"):
            found[path.removeprefix("./")] = " ".join(link) if link else mode
    check(found == FILES, f"the package's files: {sorted(found.items())}")
    check(owners == {"root/root"}, f"owned by {sorted(owners)}")
    fields = dict(re.findall(r"^(\w+): (.*)$", output("dpkg-deb", "-f", DEB).stdout, re.M))
    depends = {d.split()[0] for d in fields.get("Depends", "").split(", ")}
    check(fields.get("Version", "").startswith(VERSION + "-"),
          f"Version {fields.get('Version')}, from {VERSION}")
    check(set(LIBRARIES) <= depends, f"Depends {fields.get('Depends')}")
    check(fields.get("Recommends") == "xscreensaver", f"Recommends {fields.get('Recommends')}")


def lintian():
    dsc = os.path.join(OUT, f"lumenfall_{PACKAGE_VERSION}.dsc")
    check(os.path.exists(dsc), "the source package's .dsc is built beside the .deb")
    report = output("lintian", "--info", dsc, DEB)
    print(report.stdout, end="")
    # There is no Debian bug for a first upload to close.
    faults = [line for line in report.stdout.splitlines()
              if line[:2] in ("E:", "W:") and "initial-upload-closes-no-bugs" not in line]
    check(report.returncode == 0 and not faults,
          "lintian on the .dsc and the .deb: no error, no warning but the first upload's")


def model_pixels(rgb):
    # Pixels in the model's colours, its yellow middle or brown ends (as the
    # end-to-end tests find them); the host window's white has none.
    return sum(1 for r, g, b in zip(rgb[0::3], rgb[1::3], rgb[2::3])
               if r >= 40 and b * 2 <= g and (r > 100 < g or r > g > b))


def run_unpacked():
    scratch = tempfile.mkdtemp(prefix="lumenfall-unpacked.")
    saver, host = None, None
    try:
        output("dpkg-deb", "-x", DEB, scratch)
        program = os.path.join(scratch, "usr", "bin", "lumenfall")
        version = output(program, "--version").stdout.strip()
        check(version == f"lumenfall {VERSION}", f"the unpacked program: {version!r}")
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
        check(drawn, "it draws the scene into the daemon's window")
        saver.send_signal(signal.SIGTERM)
        check(saver.wait(timeout=10) == 0, f"SIGTERM ends it with 0: {saver.stderr.read().strip()}")
        saver = None
    finally:
        if saver is not None:
            saver.kill()
            saver.wait()
        shutil.rmtree(scratch)


if build():
    contents()
    lintian()
    run_unpacked()
print(f"{len(FAILURES)} failed" if FAILURES else "all passed")
sys.exit(1 if FAILURES else 0)
