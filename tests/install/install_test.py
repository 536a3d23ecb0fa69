#!/usr/bin/env python3
# What the native saver installs, checked without an X display:
#
#     install_test.py version SOURCE_DIR BUILD_DIR LUMENFALL VERSION
#         --version, the manual page and debian/changelog all give VERSION,
#         CMake's project version
#     install_test.py settings SOURCE_DIR
#         the settings file's frame-rate slider starts at the program's default
#         cap and stays within the program's limits
#     install_test.py tree SOURCE_DIR BUILD_DIR
#         `cmake --install` into a scratch DESTDIR under two prefixes lays out
#         one program, a relative link to it and its data files; the uninstall
#         script removes them all, and keeps a directory another saver still uses
#     install_test.py package SOURCE_DIR OUT_DIR STATE_DIR
#         the Debian package, built from a clean copy of the sources as `make
#         deb` builds it (tools/build_deb.sh, whose dh_auto_test runs the tests
#         that need no display, and which runs lintian); its files; and its
#         program unpacked into a scratch root and run once in a window on
#         the test run's display, as a daemon runs it
# Every wait polls with a deadline; what a check starts it stops by its id.
import glob, os, re, signal, stat, subprocess, sys, tempfile
import xml.etree.ElementTree as ET

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path[:0] = [os.path.join(HERE, "..", "support"), os.path.join(HERE, "..", "x11")]
from e2e import FAILURES, check, model_pixels, wait_for  # noqa: E402
from host_window import HostWindow  # noqa: E402

PROGRAM, DATA = "-rwxr-xr-x", "-rw-r--r--"
INSTALLED = {"bin/lumenfall": "../libexec/xscreensaver/lumenfall",
             "libexec/xscreensaver/lumenfall": PROGRAM,
             "share/xscreensaver/config/lumenfall.xml": DATA,
             "share/applications/screensavers/lumenfall.desktop": DATA,
             "share/man/man6/lumenfall.6": DATA}
# The package's: the same under /usr, the manual page compressed, and the
# Debian documents.
PACKAGED = {"usr/" + path.replace(".6", ".6.gz"): mode for path, mode in INSTALLED.items()} | {
    "usr/share/doc/lumenfall/changelog.Debian.gz": DATA,
    "usr/share/doc/lumenfall/copyright": DATA}


def run(*args, env=None):
    return subprocess.run(args, capture_output=True, text=True, timeout=60,
                          env=dict(os.environ, **(env or {})))


def listing(root):
    # {relative path: link target, or mode} of every file and link under root.
    paths = [os.path.join(d, n) for d, _, names in os.walk(root) for n in names]
    return {os.path.relpath(p, root): os.readlink(p) if os.path.islink(p)
            else stat.filemode(os.stat(p).st_mode) for p in paths}


def version(source, build, saver, expected):
    changelog = open(os.path.join(source, "debian", "changelog")).readline()
    manual = open(os.path.join(build, "generated", "lumenfall.6")).read()
    places = [("lumenfall --version", run(saver, "--version").stdout, r"^lumenfall (.+)$"),
              ("the manual page", manual, r'^\.TH LUMENFALL 6 "[^"]*" "Lumenfall ([^"]+)"'),
              ("debian/changelog", changelog, r"^lumenfall \((?:\d+:)?([^)-]+)(?:-[^)]*)?\)")]
    for place, text, pattern in places:
        found = re.findall(pattern, text, re.M)
        check(found == [expected], f"{place}: {found}, the project's {expected}")


def settings(source):
    root = ET.parse(os.path.join(source, "src", "resources", "linux", "lumenfall.xml")).getroot()
    # The program's default and limit, wherever the Linux host keeps its options.
    header = "".join(open(p).read() for p in
                     glob.glob(os.path.join(source, "src", "platform", "*", "command_options.h")))
    default, highest = (int(re.search(name + r"\s*=\s*(\d+)", header).group(1))
                        for name in ("DEFAULT_MAX_FPS", "HIGHEST_MAX_FPS"))
    slider = root.find("number[@arg='--max-fps %']")
    low, high, start = (int(slider.get(a)) for a in ("low", "high", "default"))
    check(start == default, f"the slider starts at the program's default {default}: {start}")
    # 0 would take the cap away, which is not the end of a scale of rates.
    check(1 <= low < start < high <= highest, f"its range {low}..{high} within 1..{highest}")


def tree(source, build):
    for prefix in ("/usr", "/usr/local"):
        uninstall = ("cmake", "-DPREFIX=" + prefix, "-P",
                     os.path.join(source, "cmake", "uninstall.cmake"))
        with tempfile.TemporaryDirectory(prefix="lumenfall-install.") as scratch:
            env, other = {"DESTDIR": scratch}, scratch + prefix + "/libexec/xscreensaver/gears"
            run("cmake", "--install", build, "--prefix", prefix, "--component", "lumenfall",
                env=env)
            # Nothing outside the prefix either.
            check(listing(scratch) == {prefix[1:] + "/" + k: v for k, v in INSTALLED.items()},
                  f"{prefix}: installed {sorted(listing(scratch).items())}")
            open(other, "w").close()
            removed = run(*uninstall, env=env)
            left = sorted(listing(scratch))
            check(removed.returncode == 0 and left == [os.path.relpath(other, scratch)],
                  f"{prefix}: uninstall leaves only another saver's file: {left}")
            os.remove(other)
            run(*uninstall, env=env)
            gone = [os.path.dirname(other), scratch + prefix + "/share/xscreensaver"]
            check(not any(map(os.path.exists, gone)), f"{prefix}: and then its directories")


def build(source, out):
    log = os.path.join(out, "build.log")
    with open(log, "w") as f:
        built = subprocess.run([os.path.join(source, "tools", "build_deb.sh"), out], stdout=f,
                               stderr=subprocess.STDOUT, timeout=1700).returncode == 0
    # The build removes the packages of earlier builds first.
    debs = glob.glob(os.path.join(out, "lumenfall_*.deb"))
    check(built and len(debs) == 1, f"the package builds (log: {log}): {debs}")
    return debs[0] if built and len(debs) == 1 else None


def run_once(scratch, state):
    env = dict(os.environ, DISPLAY=open(os.path.join(state, "display")).read().strip())
    host = HostWindow(env["DISPLAY"], 320, 240)
    saver = subprocess.Popen([os.path.join(scratch, "usr", "bin", "lumenfall"), "--root"],
                             stderr=subprocess.PIPE, text=True,
                             env=dict(env, XSCREENSAVER_WINDOW=str(host.id)))
    grab = ["import", "-window", str(host.id), "-depth", "8", "rgb:-"]
    shot = lambda: subprocess.run(grab, env=env, capture_output=True, timeout=20).stdout
    try:
        drawn = wait_for(lambda: model_pixels(shot()), 20)
        check(drawn, "the unpacked program draws the scene into the daemon's window")
        saver.send_signal(signal.SIGTERM)
        check(saver.wait(timeout=10) == -signal.SIGTERM,
              f"SIGTERM ends it in order, by the signal {saver.stderr.read().strip()}")
    finally:
        saver.kill()  # nothing once it has ended
        saver.wait()


def package(source, out, state):
    os.makedirs(out, exist_ok=True)
    with tempfile.TemporaryDirectory(prefix="lumenfall-unpacked.") as scratch:
        if deb := build(source, out):
            run("dpkg-deb", "-x", deb, scratch)
            check(listing(scratch) == PACKAGED, f"the package's files: {listing(scratch)}")
            run_once(scratch, state)


if __name__ == "__main__":
    modes = {"version": version, "settings": settings, "tree": tree, "package": package}
    modes[sys.argv[1]](*sys.argv[2:])
    print(f"{len(FAILURES)} failed" if FAILURES else "all passed")
    sys.exit(1 if FAILURES else 0)
