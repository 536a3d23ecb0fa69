# A headless sway of the test's own, for the Wayland saver's end-to-end
# tests: run as an unprivileged user (sway refuses root), with a runtime
# directory of its own, so that nothing reaches the developer's session.
# Every process started here is recorded and stopped again by its id.
import json, os, pwd, shutil, subprocess, sys, tempfile, threading

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from e2e import exit_code, ppm, stop, wait_for  # noqa: E402,F401  (stop, wait_for: for tools/)

USER, GROUP = "nobody", "nogroup"


class Program:
    # A client of the compositor, with its standard error gathered as it comes.
    def __init__(self, command):
        self.process = subprocess.Popen(command, text=True, stdout=subprocess.PIPE,
                                        stderr=subprocess.PIPE)
        # Extended a line at a time, as each comes.
        self.lines = []
        threading.Thread(target=self.lines.extend, args=(self.process.stderr,), daemon=True).start()

    def said(self, text):
        return any(text in line for line in self.lines)

    def exit_code(self, seconds):
        return exit_code(self.process, seconds)


class Sway:
    # Headless, or `inside` another one: then its outputs are windows there
    # (WL-1, ...), which go when those windows are closed.
    def __init__(self, xwayland=False, size="640x480", inside=None):
        self.started = []
        user = pwd.getpwnam(USER)
        self.home = tempfile.mkdtemp(prefix="lumenfall-sway-")
        os.chmod(self.home, 0o755)
        self.runtime = os.path.join(self.home, "runtime")
        os.mkdir(self.runtime, 0o700)
        os.chown(self.runtime, user.pw_uid, user.pw_gid)
        config = os.path.join(self.home, "config")
        with open(config, "w") as f:
            f.write(f"xwayland {'enable' if xwayland else 'disable'}\n")
            if inside is None:
                f.write(f"output HEADLESS-1 resolution {size}\n")
        self.base = {"HOME": self.home, "PATH": "/usr/bin:/bin", "XDG_RUNTIME_DIR": self.runtime}
        self.log = open(os.path.join(self.home, "sway.log"), "w")
        env = dict(self.base, WLR_RENDERER="pixman", WLR_LIBINPUT_NO_DEVICES="1")
        if inside is None:
            env.update(WLR_BACKENDS="headless", WLR_HEADLESS_OUTPUTS="1")
        else:
            outer_socket = os.path.join(inside.runtime, inside.env["WAYLAND_DISPLAY"])
            env.update(WLR_BACKENDS="wayland", WAYLAND_DISPLAY=outer_socket)
        self.sway = subprocess.Popen(self.as_user(["sway", "-c", config], env),
                                     stdout=self.log, stderr=subprocess.STDOUT)
        sockets = wait_for(self._sockets, 20)
        if not sockets:
            self.close()
            raise RuntimeError("sway did not start: " + open(self.log.name).read()[-2000:])
        self.env = dict(self.base, WAYLAND_DISPLAY=sockets[0], SWAYSOCK=sockets[1])

    def _sockets(self):
        names = os.listdir(self.runtime)
        wayland = [n for n in names if n.startswith("wayland-") and not n.endswith(".lock")]
        ipc = [os.path.join(self.runtime, n) for n in names if n.startswith("sway-ipc.")]
        return (wayland[0], ipc[0]) if wayland and ipc else None

    @staticmethod
    def as_user(command, env):
        pairs = [f"{k}={v}" for k, v in env.items()]
        return ["setpriv", f"--reuid={USER}", f"--regid={GROUP}", "--clear-groups", "env", "-i",
                *pairs, *command]

    def start(self, *command, extra=None):
        # The program runs as the compositor's user: the socket is theirs.
        program = Program(self.as_user(list(command), dict(self.env, **(extra or {}))))
        self.started.append(program.process)
        return program

    def run(self, *command):
        return subprocess.run(self.as_user(list(command), self.env), capture_output=True,
                              timeout=20)

    def message(self, *words):
        return json.loads(self.run("swaymsg", "-r", *words).stdout or "null")

    def views(self):
        # (app_id, output, pid) of every window.
        found = []

        def walk(node, output):
            if node.get("type") == "output":
                output = node["name"]
            if node.get("app_id"):
                found.append((node["app_id"], output, node.get("pid")))
            for child in node.get("nodes", []) + node.get("floating_nodes", []):
                walk(child, output)

        walk(self.message("-t", "get_tree") or {}, None)
        return found

    def screenshot(self, output=None):
        # (width, height, pixel bytes r g b ...) of one output, or of the whole layout.
        command = ["grim", "-t", "ppm", *(["-o", output] if output else []), "-"]
        return ppm(self.run(*command).stdout)

    def close(self):
        for process in reversed(self.started):
            stop(process)
        stop(self.sway)
        self.log.close()
        shutil.rmtree(self.home, ignore_errors=True)
