#!/usr/bin/env python3
# What the native saver installs, checked without an X display:
#
#     install_test.py version SOURCE_DIR BUILD_DIR LUMENFALL VERSION
#         --version, the manual page and debian/changelog all give VERSION,
#         CMake's project version
#     install_test.py settings SOURCE_DIR LUMENFALL
#         the XScreenSaver settings file's frame-rate slider drives --max-fps
#         within what the program accepts, from the program's own default
#     install_test.py tree SOURCE_DIR BUILD_DIR
#         `cmake --install` into a scratch DESTDIR under two prefixes lays out
#         one program, a relative link to it and its data files; the uninstall
#         script then removes them all, and keeps a directory that another
#         saver still uses
import glob, os, re, shutil, subprocess, sys, tempfile
import xml.etree.ElementTree as ET

FAILURES = []


def check(condition, what):
    print(("ok   " if condition else "FAIL ") + what, flush=True)
    condition or FAILURES.append(what)


def run(*args, env=None):
    return subprocess.run(args, capture_output=True, text=True, timeout=60,
                          env=dict(os.environ, **(env or {})))


def version(source, build, saver, expected):
    changelog = open(os.path.join(source, "debian", "changelog")).readline()
    debian = re.match(r"lumenfall \((?:\d+:)?([^)-]+)(?:-[^)]*)?\)", changelog)
    manual = re.search(r'^\.TH LUMENFALL 6 "[^"]*" "Lumenfall ([^"]+)"',
                       open(os.path.join(build, "generated", "lumenfall.6")).read(), re.M)
    places = [("lumenfall --version", run(saver, "--version").stdout.strip()),
              ("the manual page", manual and "lumenfall " + manual.group(1)),
              ("debian/changelog", debian and "lumenfall " + debian.group(1))]
    for place, found in places:
        check(found == "lumenfall " + expected, f"{place}: {found!r}, the project's {expected}")


def settings(source, saver):
    root = ET.parse(os.path.join(source, "src", "resources", "linux", "lumenfall.xml")).getroot()
    # The program's default and limit, wherever the Linux host keeps its options.
    header = "".join(open(p).read() for p in
                     glob.glob(os.path.join(source, "src", "platform", "*", "command_options.h")))
    default, highest = (int(re.search(name + r"\s*=\s*(\d+)", header).group(1))
                        for name in ("DEFAULT_MAX_FPS", "HIGHEST_MAX_FPS"))
    help_default = re.search(r"--max-fps N .*\(default (\d+)", run(saver, "--help").stdout)
    check(help_default and int(help_default.group(1)) == default,
          f"--help gives the default cap {default}")
    check(root.find("command").get("arg") == "--root", "the daemon starts it with --root")
    check(root.find("boolean[@id='showfps']").get("arg-set") == "--fps", "Show frame rate: --fps")
    sliders = [n for n in root.iter("number") if n.get("arg") == "--max-fps %"]
    check(len(sliders) == 1 and sliders[0].get("type") == "slider", "one slider gives --max-fps")
    if len(sliders) != 1:
        return
    slider = sliders[0]
    low, high, start = (int(slider.get(a)) for a in ("low", "high", "default"))
    check(start == default, f"the slider starts at the program's default {default}: {start}")
    # 0 would take the cap away, which is not the end of a scale of rates.
    check(1 <= low < start < high <= highest,
          f"the slider's range {low}..{high} within 1..{highest}")
    check(slider.get("convert") is None, "more frames to the right (no inverted scale)")
    for rate in (low, start, high):
        result = run(saver, "--max-fps", str(rate), "--version")
        check(result.returncode == 0,
              f"the program takes --max-fps {rate}: {result.stderr.strip()}")


def listing(root):
    # {relative path: link target or None} of every file and link under root.
    found = {}
    for directory, _, files in os.walk(root):
        for name in files:
            path = os.path.join(directory, name)
            found[os.path.relpath(path, root)] = os.readlink(path) if os.path.islink(path) else None
    return found


def desktop_entry(path):
    return dict(line.split("=", 1) for line in open(path).read().splitlines()
                if "=" in line and not line.startswith("#"))


def tree(source, build):
    saver = open(os.path.join(build, "src", "lumenfall"), "rb").read()
    for prefix in ("/usr", "/usr/local"):
        scratch = tempfile.mkdtemp(prefix="lumenfall-install.")
        try:
            root = scratch + prefix
            env = {"DESTDIR": scratch}
            installed = run("cmake", "--install", build, "--prefix", prefix,
                            "--component", "lumenfall", env=env)
            check(installed.returncode == 0,
                  f"{prefix}: cmake --install {installed.stderr.strip()}")
            program = "libexec/xscreensaver/lumenfall"
            expected = {"bin/lumenfall": "../" + program, program: None,
                        "share/xscreensaver/config/lumenfall.xml": None,
                        "share/applications/screensavers/lumenfall.desktop": None,
                        "share/man/man6/lumenfall.6": None}
            # Nothing outside the prefix either.
            check(listing(scratch) == {prefix[1:] + "/" + k: v for k, v in expected.items()},
                  f"{prefix}: installed {sorted(listing(scratch))}")
            check(open(os.path.join(root, "bin", "lumenfall"), "rb").read() == saver
                  and os.access(os.path.join(root, program), os.X_OK),
                  f"{prefix}: bin/lumenfall reaches the program, which is executable")
            entry = desktop_entry(
                os.path.join(root, "share", "applications", "screensavers", "lumenfall.desktop"))
            check((entry.get("Type"), entry.get("Exec"), entry.get("Categories")) ==
                  ("Application", "lumenfall --root", "Screensaver;"),
                  f"{prefix}: desktop entry {entry.get('Exec')!r}, {entry.get('Categories')!r}")

            # Another saver in the shared directory keeps it; ours go.
            other = os.path.join(root, "libexec", "xscreensaver", "gears")
            open(other, "w").close()
            uninstall = ("cmake", "-DPREFIX=" + prefix, "-P",
                         os.path.join(source, "cmake", "uninstall.cmake"))
            removed = run(*uninstall, env=env)
            left = listing(scratch)
            check(removed.returncode == 0 and left == {os.path.relpath(other, scratch): None},
                  f"{prefix}: uninstall leaves only the other saver: {sorted(left)}")
            os.remove(other)
            again = run(*uninstall, env=env)
            check(again.returncode == 0 and not os.path.exists(os.path.dirname(other))
                  and not os.path.exists(os.path.join(root, "share", "xscreensaver")),
                  f"{prefix}: a second uninstall removes the saver's empty directories")
        finally:
            shutil.rmtree(scratch)


AREAS = {"version": version, "settings": settings, "tree": tree}
if __name__ == "__main__":
    AREAS[sys.argv[1]](*sys.argv[2:])
    print(f"{len(FAILURES)} failed" if FAILURES else "all passed")
    sys.exit(1 if FAILURES else 0)
