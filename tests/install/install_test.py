#!/usr/bin/env python3
# What the native saver installs, checked without an X display:
#
#     install_test.py version SOURCE_DIR BUILD_DIR LUMENFALL VERSION
#         --version, the manual page and debian/changelog all give VERSION,
#         CMake's project version
#     install_test.py settings SOURCE_DIR LUMENFALL
#         the settings file's frame-rate slider starts at the program's default
#         cap and stays within what the program takes
#     install_test.py tree SOURCE_DIR BUILD_DIR
#         `cmake --install` into a scratch DESTDIR under two prefixes lays out
#         one program, a relative link to it and its data files; the uninstall
#         script removes them all, and keeps a directory another saver still uses
import glob, os, re, shutil, stat, subprocess, sys, tempfile
import xml.etree.ElementTree as ET

FAILURES = []
PROGRAM, DATA = "-rwxr-xr-x", "-rw-r--r--"


def check(condition, what):
    print(("ok   " if condition else "FAIL ") + what, flush=True)
    condition or FAILURES.append(what)


def finish():
    print(f"{len(FAILURES)} failed" if FAILURES else "all passed")
    sys.exit(1 if FAILURES else 0)


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
    debian = re.match(r"lumenfall \((?:\d+:)?([^)-]+)(?:-[^)]*)?\)", changelog)
    manual = re.search(r'^\.TH LUMENFALL 6 "[^"]*" "Lumenfall ([^"]+)"',
                       open(os.path.join(build, "generated", "lumenfall.6")).read(), re.M)
    for place, found in [("lumenfall --version", run(saver, "--version").stdout.strip()),
                         ("the manual page", manual and "lumenfall " + manual.group(1)),
                         ("debian/changelog", debian and "lumenfall " + debian.group(1))]:
        check(found == "lumenfall " + expected, f"{place}: {found!r}, the project's {expected}")


def settings(source, saver):
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
    for rate in (low, high):
        taken = run(saver, "--max-fps", str(rate), "--version")
        check(taken.returncode == 0, f"the program takes --max-fps {rate} {taken.stderr.strip()}")


def tree(source, build):
    program = "libexec/xscreensaver/lumenfall"
    installed = {"bin/lumenfall": "../" + program, program: PROGRAM,
                 "share/xscreensaver/config/lumenfall.xml": DATA,
                 "share/applications/screensavers/lumenfall.desktop": DATA,
                 "share/man/man6/lumenfall.6": DATA}
    for prefix in ("/usr", "/usr/local"):
        scratch = tempfile.mkdtemp(prefix="lumenfall-install.")
        env, root = {"DESTDIR": scratch}, scratch + prefix
        uninstall = ("cmake", "-DPREFIX=" + prefix, "-P",
                     os.path.join(source, "cmake", "uninstall.cmake"))
        try:
            run("cmake", "--install", build, "--prefix", prefix, "--component", "lumenfall",
                env=env)
            # Nothing outside the prefix either.
            check(listing(scratch) == {prefix[1:] + "/" + k: v for k, v in installed.items()},
                  f"{prefix}: installed {sorted(listing(scratch).items())}")
            check(run(os.path.join(root, "bin", "lumenfall"), "--version").returncode == 0,
                  f"{prefix}: bin/lumenfall runs the program")
            other = os.path.join(root, "libexec", "xscreensaver", "gears")
            open(other, "w").close()
            removed = run(*uninstall, env=env)
            left = sorted(listing(scratch))
            check(removed.returncode == 0 and left == [os.path.relpath(other, scratch)],
                  f"{prefix}: uninstall leaves only another saver's file: {left}")
            os.remove(other)
            run(*uninstall, env=env)
            check(not os.path.exists(os.path.dirname(other))
                  and not os.path.exists(os.path.join(root, "share", "xscreensaver")),
                  f"{prefix}: uninstall removes the saver's directories once empty")
        finally:
            shutil.rmtree(scratch)


if __name__ == "__main__":
    {"version": version, "settings": settings, "tree": tree}[sys.argv[1]](*sys.argv[2:])
    finish()
