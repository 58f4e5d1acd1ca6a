"""A private desktop for one run of the shipped window program.

Each session has its own X display, its own D-Bus session bus with the accessibility bus
behind it, its own HOME and XDG folders, and its own copy of the program's folder, so
nothing of the developer's desktop or of a parallel run is touched. Everything runs
inside fresh PID, mount and network namespaces (see isolated_main): when the test process
ends, however it ends, the kernel ends every process it started.
"""
import ctypes
import os
import select
import shutil
import signal
import subprocess
import sys
import tempfile
import time
import unittest

_NS_MARK = "THEOLINK_GUI_NAMESPACE"
_X_SOCKETS = "/tmp/.X11-unix"

# A sanitizer build prints one of these when it finds a fault; the run then fails.
SANITIZER_MARKS = ("ERROR: AddressSanitizer", "ERROR: LeakSanitizer", "runtime error:",
                   "SUMMARY: UndefinedBehaviorSanitizer")


class Fatal(AssertionError):
    """A failure that waiting longer cannot mend."""


def isolated_main(time_limit_s):
    """Runs the calling test module's unittest main inside fresh PID, mount and network
    namespaces.

    The namespace's first process is this interpreter: when it dies, for a failure, a
    time limit or a kill by ctest, the kernel kills every process left in the namespace
    (Xvfb, the buses, the program, the simulator), so nothing outlives a run.
    """
    if os.environ.get(_NS_MARK) != "1":
        unshare = shutil.which("unshare")
        if unshare is None:
            sys.exit("gui tests: 'unshare' (util-linux) is needed")
        cmd = [unshare]
        if os.geteuid() != 0:
            cmd.append("--map-root-user")
        # A private network namespace and socket folder give the X server sockets of its
        # own: display :0 here is no other desktop's :0.
        cmd += ["--mount", "--pid", "--net", "--fork", "--kill-child", "--mount-proc",
                sys.executable] + ["-W" + w for w in sys.warnoptions] + sys.argv
        env = dict(os.environ, **{_NS_MARK: "1"})
        os.execve(unshare, cmd, env)
    os.makedirs(_X_SOCKETS, mode=0o1777, exist_ok=True)
    subprocess.run(["mount", "-t", "tmpfs", "-o", "mode=1777", "gui-x11", _X_SOCKETS], check=True)
    # A stuck step ends the run here, with its traceback and the clean-up, before ctest's
    # own limit would kill it without either.
    def on_alarm(_signo, _frame):
        raise TimeoutError("gui test: time limit of %d s reached" % time_limit_s)
    signal.signal(signal.SIGALRM, on_alarm)
    signal.alarm(time_limit_s)
    # As the namespace's first process, SIGTERM would otherwise be ignored.
    signal.signal(signal.SIGTERM, lambda *_: sys.exit("gui test: terminated"))
    unittest.main(verbosity=2)


def _die_with_parent():
    # PR_SET_PDEATHSIG = 1: a child still running when the test process dies is killed.
    ctypes.CDLL(None, use_errno=True).prctl(1, signal.SIGKILL)


class Session:
    """One private desktop; close() ends every process it started.

    One per test process: the accessibility library keeps its first bus for good.
    """

    def __init__(self, name):
        self.bin_dir = os.environ["THEOLINK_BIN_DIR"]
        self.data_dir = os.environ["THEOLINK_TEST_DATA"]
        # Short: the bus sockets live in here, and socket paths are limited to 108 bytes.
        self.dir = tempfile.mkdtemp(prefix="tl-", dir="/tmp")
        # Pictures and logs stay in the build folder, for a look after a run.
        self.out_dir = os.path.join(os.environ.get("THEOLINK_GUI_OUT") or self.dir, name)
        os.makedirs(self.out_dir, exist_ok=True)
        self._procs = []
        self.program_dir = os.path.join(self.dir, "X")
        for sub in ("home", "runtime", "X/bin"):
            os.makedirs(os.path.join(self.dir, sub))
        os.chmod(os.path.join(self.dir, "runtime"), 0o700)
        # The program keeps its settings beside itself when its folder's parent holds a
        # CMakeCache.txt, as in a build folder.
        open(os.path.join(self.program_dir, "CMakeCache.txt"), "w").close()
        for f in ("theolink", "HELP.txt"):
            shutil.copy2(os.path.join(self.bin_dir, f), os.path.join(self.program_dir, "bin", f))
        self.env = self._base_env()
        try:
            self._start_display()
            self._start_buses()
        except BaseException:
            self.close()
            raise

    # --- files ---------------------------------------------------------------------------

    def path(self, *parts):
        return os.path.join(self.dir, *parts)

    @property
    def ini_path(self):
        return os.path.join(self.program_dir, "bin", "theolink.INI")

    def write_ini(self, text):
        with open(self.ini_path, "wb") as f:
            f.write(text.replace("\n", "\r\n").encode("ascii"))

    def read_ini(self):
        with open(self.ini_path, "rb") as f:
            return f.read().decode("latin-1")

    def fake_tty_class(self, names):
        """A stand-in for /sys/class/tty holding serial devices of the given names."""
        root = self.path("sys-class-tty")
        shutil.rmtree(root, ignore_errors=True)
        os.makedirs(root)
        for n in names:
            os.makedirs(os.path.join(root, n, "device"), exist_ok=True)
        return root

    # --- processes ------------------------------------------------------------------------

    def _base_env(self):
        keep = ("PATH", "LANG", "LC_ALL", "ASAN_OPTIONS", "UBSAN_OPTIONS", "LSAN_OPTIONS",
                "THEOLINK_BIN_DIR", "THEOLINK_TEST_DATA", "THEOLINK_GUI_OUT", _NS_MARK)
        env = {k: v for k, v in os.environ.items() if k in keep}
        home = self.path("home")
        env.update(HOME=home, XDG_RUNTIME_DIR=self.path("runtime"),
                   XDG_CONFIG_HOME=os.path.join(home, ".config"),
                   XDG_CACHE_HOME=os.path.join(home, ".cache"),
                   XDG_DATA_HOME=os.path.join(home, ".local", "share"),
                   TMPDIR=self.dir, LANG=env.get("LANG", "C.UTF-8"),
                   # Qt's own dialogs, whatever desktop the developer runs.
                   QT_QPA_PLATFORM="xcb", QT_QPA_PLATFORMTHEME="",
                   NO_AT_BRIDGE="0")
        return env

    def spawn(self, cmd, log_name, env=None):
        log_path = self.path(log_name + ".log")
        with open(log_path, "wb") as log:
            p = subprocess.Popen(cmd, env=env or self.env, stdin=subprocess.DEVNULL, stdout=log, stderr=log,
                                 preexec_fn=_die_with_parent, start_new_session=True)
        p.log_path = log_path
        self._procs.append(p)
        return p

    def log(self, proc):
        with open(proc.log_path, "rb") as f:
            return f.read().decode("utf-8", "replace")

    def _start_display(self):
        read_fd, write_fd = os.pipe()
        with open(self.path("xvfb.log"), "wb") as log:
            # No lock files: they sit in the shared /tmp, and from inside this PID namespace
            # another desktop's lock would look stale.
            p = subprocess.Popen(["Xvfb", "-displayfd", str(write_fd), "-screen", "0", "1280x1024x24",
                                  "-nolisten", "tcp", "-noreset", "-nolock"],
                                 pass_fds=(write_fd,), env=self.env, stdin=subprocess.DEVNULL,
                                 stdout=subprocess.DEVNULL, stderr=log,
                                 preexec_fn=_die_with_parent, start_new_session=True)
        self._procs.append(p)
        os.close(write_fd)
        number = b""
        deadline = time.monotonic() + 30
        try:
            while not number.endswith(b"\n"):
                ready, _, _ = select.select([read_fd], [], [], max(0.0, deadline - time.monotonic()))
                chunk = os.read(read_fd, 16) if ready else b""
                if not chunk:
                    with open(self.path("xvfb.log")) as log:
                        raise RuntimeError("Xvfb reported no display: " + log.read())
                number += chunk
        finally:
            os.close(read_fd)
        self.env["DISPLAY"] = ":" + number.decode().strip()

    def _start_buses(self):
        address = "unix:path=" + self.path("runtime", "bus")
        self.env["DBUS_SESSION_BUS_ADDRESS"] = address
        self.spawn(["dbus-daemon", "--session", "--nofork", "--nopidfile", "--address=" + address],
                   "dbus")
        wait_until(lambda: os.path.exists(self.path("runtime", "bus")), 20, "the session bus")
        # The accessibility bus and its registry, started now rather than on first use, so
        # the program finds them at start.
        self.spawn(["/usr/libexec/at-spi-bus-launcher", "--launch-immediately", "--a11y=1"], "atspi")
        os.environ.update({k: self.env[k] for k in ("DISPLAY", "DBUS_SESSION_BUS_ADDRESS",
                                                     "XDG_RUNTIME_DIR")})

    def start_program(self, fake_tty=None, args=()):
        """Starts the copied program, with fake_tty (a folder) as its /sys/class/tty."""
        env = dict(self.env, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_ACCESSIBILITY="1")
        exe = os.path.join(self.program_dir, "bin", "theolink")
        cmd = [exe] + list(args)
        if fake_tty is not None:
            # Its own mount namespace: the fake list is seen by the program alone.
            cmd = ["unshare", "--mount", "sh", "-c",
                   'mount --bind "$0" /sys/class/tty && exec "$@"', fake_tty] + cmd
        return self.spawn(cmd, "theolink-%d" % len(self._procs), env)

    def start_simulator(self, mode, file, *options):
        """Starts theolink-sim and returns (process, device path it prints)."""
        sim = os.path.join(self.bin_dir, "theolink-sim")
        log_path = self.path("sim-%s.log" % mode)
        with open(log_path, "wb") as log:
            p = subprocess.Popen([sim, mode, file, "--open-timeout", "60000", "--linger", "30000"]
                                 + list(options), env=self.env, stdin=subprocess.DEVNULL,
                                 stdout=subprocess.PIPE, stderr=log,
                                 preexec_fn=_die_with_parent, start_new_session=True)
        p.log_path = log_path
        self._procs.append(p)
        line = p.stdout.readline().decode().strip()
        if not line.startswith("/dev/"):
            raise AssertionError("theolink-sim printed no device: %r %s" % (line, self.log(p)))
        return p, line

    def stop(self, proc):
        """Ends proc and its children if still running (a test that failed half way)."""
        if proc.poll() is None:
            os.killpg(proc.pid, signal.SIGKILL)
        proc.wait(timeout=10)

    def sanitizer_report(self, proc):
        text = self.log(proc)
        return text if any(m in text for m in SANITIZER_MARKS) else ""

    def screenshot(self, name):
        """The whole screen as PNG, kept beside the test's other output."""
        target = os.path.join(self.out_dir, name + ".png")
        subprocess.run(["import", "-window", "root", target], env=self.env, timeout=30,
                       check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        return target

    def close(self):
        for p in self._procs:
            if p.stdout is not None:
                p.stdout.close()
        for p in reversed(self._procs):
            if p.poll() is None:
                try:
                    os.killpg(p.pid, signal.SIGTERM)
                except ProcessLookupError:
                    pass
        for p in reversed(self._procs):
            try:
                p.wait(timeout=5)
            except subprocess.TimeoutExpired:
                os.killpg(p.pid, signal.SIGKILL)
                p.wait(timeout=5)
        # Whatever the buses activated on their own; only as the namespace's first process,
        # where every other process is one of ours.
        for entry in os.listdir("/proc") if os.getpid() == 1 else ():
            if entry.isdigit() and int(entry) != 1:
                try:
                    os.kill(int(entry), signal.SIGKILL)
                except (ProcessLookupError, PermissionError):
                    pass
        if self.out_dir != self.dir:
            for f in os.listdir(self.dir):
                if f.endswith(".log"):
                    shutil.copy2(self.path(f), self.out_dir)
            if os.path.exists(self.ini_path):
                shutil.copy2(self.ini_path, self.out_dir)
            shutil.rmtree(self.dir, ignore_errors=True)


def wait_until(predicate, timeout_s, what, interval_s=0.1):
    """Polls predicate until it gives a true value and returns it; fails after timeout_s."""
    deadline = time.monotonic() + timeout_s
    last_error = None
    while True:
        try:
            value = predicate()
            if value:
                return value
        except Fatal:
            raise
        except Exception as e:  # the tree changes under the reader while the program works
            last_error = e
        if time.monotonic() > deadline:
            detail = " (last error: %s)" % last_error if last_error else ""
            raise AssertionError("timed out after %.0f s waiting for %s%s" % (timeout_s, what, detail))
        time.sleep(interval_s)
