#!/usr/bin/env python3
"""Start-up time and memory of Tovali Explorer next to a two-view WebKitGTK baseline.

    python3 bench/startup_memory.py [--build build] [--runs 5] [--screenshots DIR]
    python3 bench/startup_memory.py --smoke       # one run of each, no target check

Tovali Explorer and the baseline, bench/TwoViewBaseline.cpp (two web views side
by side: the home menu page on the left, a local page on the right), run in
turn (the first of each pair swapping) on a private Xvfb display, each run with fresh HOME and XDG folders, against the
sample home site served by site/serve.py on a free port of 127.0.0.1.

What is measured, without touching the program:

- start page time: from starting the process to the request for a tiny image
  that the start page loads. The program runs from a copy of its folder whose
  "welcome.html" carries that image; the baseline's local page is the same
  file. The server writes each request to its log as soon as it arrives; the
  log is a pipe read here, so each request is timed when it arrives.
- memory: proportional set size (PSS, /proc/PID/smaps_rollup) of the process
  and every process below it (the web processes, the network process, their
  sandbox helpers), summed, once the home menu page has been requested and a
  settle time has passed.

Targets: memory at most 1.15 times the baseline's, start page time at most the
baseline's plus 250 ms (medians). Exit status 0 when both are met (or after a
successful --smoke run), 1 otherwise. Every wait is bounded; every process
started here is stopped on exit, also on Ctrl-C.
"""

import argparse
import ctypes
import os
import re
import select
import shutil
import signal
import statistics
import subprocess
import sys
import tempfile
import threading
import time

HERE = os.path.dirname(os.path.abspath(__file__))
REPO = os.path.dirname(HERE)

HOME_PATH = "/tovali/v200/group1/teindex.php3"  # the home site's menu page
HOME_QUERY = "menu"  # the query word the program puts on the menu page's URL
MARKER_PATH = "/bench/start-page-loaded.gif"
SCREEN = "1280x800x24"

MEMORY_RATIO_TARGET = 1.15
TIME_MARGIN_TARGET_MS = 250.0

SERVER_TIMEOUT = 15.0
DISPLAY_TIMEOUT = 15.0
START_PAGE_TIMEOUT = 30.0
HOME_PAGE_TIMEOUT = 60.0
STOP_TIMEOUT = 5.0
COMMAND_TIMEOUT = 30.0

# A transparent 1x1 GIF.
TINY_GIF = (
    b"GIF89a\x01\x00\x01\x00\x80\x00\x00\x00\x00\x00\xff\xff\xff!\xf9\x04\x01\x00\x00\x00\x00"
    b",\x00\x00\x00\x00\x01\x00\x01\x00\x00\x02\x02D\x01\x00;"
)


class BenchError(Exception):
    """A run could not be measured (missing file, time-out, crashed program)."""


# ----------------------------------------------------------------------------
# Processes


def become_subreaper():
    """Orphaned descendants (a web process whose parent died) come back to us."""
    try:
        libc = ctypes.CDLL(None, use_errno=True)
        PR_SET_CHILD_SUBREAPER = 36
        libc.prctl(PR_SET_CHILD_SUBREAPER, 1, 0, 0, 0)
    except (OSError, AttributeError):
        pass  # then a stray process is found through its session instead


_STARTED = set()  # pids of the processes started here (each one a Popen)


def process_table():
    """{pid: (parent pid, session id)} of every process now running."""
    table = {}
    for name in os.listdir("/proc"):
        if not name.isdigit():
            continue
        try:
            with open(f"/proc/{name}/stat", "rb") as f:
                stat = f.read().decode("ascii", "replace")
        except OSError:
            continue
        fields = stat[stat.rfind(")") + 2:].split()
        table[int(name)] = (int(fields[1]), int(fields[3]))  # ppid, session
    return table


def descendants(roots, table):
    """The roots that still run and every process below them."""
    children = {}
    for pid, (ppid, _) in table.items():
        children.setdefault(ppid, []).append(pid)
    found, todo = set(), list(roots)
    while todo:
        pid = todo.pop()
        if pid in table and pid not in found:
            found.add(pid)
            todo.extend(children.get(pid, []))
    return found


def orphans(table):
    """Processes handed to this script when their parent died (it is their
    subreaper): a web process that outlived its program, say."""
    me = os.getpid()
    return {pid for pid, (ppid, _) in table.items() if ppid == me and pid not in _STARTED}


def reap_orphans():
    for pid in orphans(process_table()):
        try:
            os.waitpid(pid, os.WNOHANG)
        except ChildProcessError:
            pass


def process_tree(root, table):
    """root, everything below it, everything left in its session, and the
    orphans (with what is below them)."""
    in_session = {pid for pid, (_, session) in table.items() if session == root}
    return descendants({root} | in_session | orphans(table), table)


def stop_process_tree(proc):
    """Ends a process started in its own session and everything that came
    from it: SIGTERM first, SIGKILL after a grace time."""
    if proc is None:
        return
    for sig in (signal.SIGTERM, signal.SIGKILL):
        pids = process_tree(proc.pid, process_table())
        if not pids:
            break
        try:
            os.killpg(proc.pid, sig)
        except (ProcessLookupError, PermissionError):
            pass
        for pid in pids:
            try:
                os.kill(pid, sig)
            except (ProcessLookupError, PermissionError):
                pass
        deadline = time.monotonic() + STOP_TIMEOUT
        while time.monotonic() < deadline:
            proc.poll()
            reap_orphans()
            if not process_tree(proc.pid, process_table()):
                break
            time.sleep(0.05)
    proc.poll()
    reap_orphans()


def start_process(argv, env, output_path, pass_fds=()):
    with open(output_path, "ab") as out:
        proc = subprocess.Popen(
            argv,
            env=env,
            stdin=subprocess.DEVNULL,
            stdout=out,
            stderr=subprocess.STDOUT,
            start_new_session=True,  # its own session and process group
            pass_fds=pass_fds,
        )
    _STARTED.add(proc.pid)
    return proc


# ----------------------------------------------------------------------------
# Request log


class RequestWatcher:
    """Reads the server's request log from a pipe and notes when each request
    arrived. The lines are also kept in a plain file."""

    def __init__(self, fifo_path, copy_path):
        os.mkfifo(fifo_path, 0o600)
        # Opened for reading and writing, so that it never reports end of file
        # and the server's open for writing never blocks.
        self._fd = os.open(fifo_path, os.O_RDWR)
        self._copy = open(copy_path, "w", encoding="utf-8")
        self._requests = []  # (arrival, method, target)
        self._cond = threading.Condition()
        self._stop = False
        self._thread = threading.Thread(target=self._read, daemon=True)
        self._thread.start()

    def _read(self):
        pending = b""
        while not self._stop:
            ready, _, _ = select.select([self._fd], [], [], 0.2)
            if not ready:
                continue
            chunk = os.read(self._fd, 65536)
            now = time.monotonic()
            pending += chunk
            *lines, pending = pending.split(b"\n")
            with self._cond:
                for raw in lines:
                    line = raw.decode("utf-8", "replace")
                    fields = line.split("\t")
                    if len(fields) >= 2:
                        self._requests.append((now, fields[0], fields[1]))
                    self._copy.write(f"{now:.4f}\t{line}\n")
                self._copy.flush()
                self._cond.notify_all()

    def mark(self):
        """A position: later waits look only at requests after it."""
        with self._cond:
            return len(self._requests)

    def wait_for(self, since, predicate, timeout, alive=lambda: True):
        """Arrival time of the first request after `since` whose target
        satisfies predicate, or None after timeout (or when alive() fails)."""
        deadline = time.monotonic() + timeout
        with self._cond:
            while True:
                for arrival, _, target in self._requests[since:]:
                    if predicate(target):
                        return arrival
                left = deadline - time.monotonic()
                if left <= 0 or not alive():
                    return None
                self._cond.wait(min(left, 0.2))

    def close(self):
        self._stop = True
        self._thread.join(timeout=1.0)
        os.close(self._fd)
        self._copy.close()


# ----------------------------------------------------------------------------
# Memory


def memory_kib(pid):
    """(PSS, private) of one process in KiB. PSS counts each shared page in
    part, so it moves with whatever else on the machine maps the same
    libraries; the private part (USS) does not."""
    values = {}
    try:
        with open(f"/proc/{pid}/smaps_rollup", encoding="ascii") as f:
            for line in f:
                name, _, rest = line.partition(":")
                if name in ("Pss", "Private_Clean", "Private_Dirty"):
                    values[name] = int(rest.split()[0])
    except (OSError, ValueError, IndexError):
        pass
    return values.get("Pss", 0), values.get("Private_Clean", 0) + values.get("Private_Dirty", 0)


def process_name(pid):
    try:
        with open(f"/proc/{pid}/cmdline", "rb") as f:
            argv0 = f.read().split(b"\0")[0].decode("utf-8", "replace")
        if argv0:
            return os.path.basename(argv0)
        with open(f"/proc/{pid}/comm", encoding="utf-8") as f:
            return f.read().strip()
    except OSError:
        return "?"


def memory_of_tree(root):
    """(total PSS, total private, [(name, pid, PSS)]) in KiB of root and every
    process that came from it, and the number of other WebKit processes on the
    machine (they share the engine's library pages and so lower the PSS)."""
    table = process_table()
    pids = process_tree(root, table)
    measured = {p: memory_kib(p) for p in pids}
    parts = sorted(((process_name(p), p, m[0]) for p, m in measured.items()), key=lambda e: -e[2])
    others = sum(1 for p in table if p not in pids and process_name(p).startswith("WebKit"))
    return (sum(m[0] for m in measured.values()), sum(m[1] for m in measured.values()), parts,
            others)


def summarise_processes(parts):
    groups = {}
    for name, _, kib in parts:
        count, total = groups.get(name, (0, 0))
        groups[name] = (count + 1, total + kib)
    items = sorted(groups.items(), key=lambda e: -e[1][1])
    return ", ".join(
        f"{name}{' x' + str(count) if count > 1 else ''} {total / 1024:.1f}"
        for name, (count, total) in items
    )


# ----------------------------------------------------------------------------
# The bench


class Bench:
    def __init__(self, args):
        self.args = args
        self.build = os.path.abspath(args.build)
        self.explorer = os.path.join(self.build, "tovali-explorer")
        self.settings_tool = os.path.join(self.build, "tovali-settings")
        self.baseline = os.path.join(self.build, "bench", "two_view_baseline")
        self.site = os.path.join(REPO, "site")
        self.tmp = None
        self.server = None
        self.display = None
        self.display_name = None
        self.watcher = None
        self.port = None
        self.running = None
        self.run_counter = 0

    # -- set-up ----------------------------------------------------------------

    def check_prerequisites(self):
        missing = [
            p
            for p in (self.explorer, self.settings_tool, self.baseline)
            if not os.access(p, os.X_OK)
        ]
        if missing:
            raise BenchError("not built: " + ", ".join(missing))
        if not os.path.isfile(os.path.join(self.site, "serve.py")):
            raise BenchError("no site/serve.py in " + REPO)
        if shutil.which("Xvfb") is None:
            raise BenchError("Xvfb is not installed")

    def set_up(self):
        self.tmp = tempfile.mkdtemp(prefix="tovali-bench-")
        self.prepare_site()
        self.watcher = RequestWatcher(
            os.path.join(self.tmp, "requests.fifo"), os.path.join(self.tmp, "requests.log")
        )
        self.start_server()
        self.start_display()
        self.prepare_program_dir()

    def prepare_site(self):
        root = os.path.join(self.tmp, "site")
        shutil.copytree(self.site, root, ignore=shutil.ignore_patterns("__pycache__"))
        os.makedirs(os.path.join(root, "bench"), exist_ok=True)
        with open(os.path.join(root, MARKER_PATH.lstrip("/")), "wb") as f:
            f.write(TINY_GIF)

    def start_server(self):
        port_file = os.path.join(self.tmp, "port")
        self.server = start_process(
            [
                sys.executable,
                os.path.join(self.site, "serve.py"),
                "--port", "0",
                "--root", os.path.join(self.tmp, "site"),
                "--log", os.path.join(self.tmp, "requests.fifo"),
                "--port-file", port_file,
            ],
            base_environment(),
            os.path.join(self.tmp, "server.out"),
        )
        deadline = time.monotonic() + SERVER_TIMEOUT
        while time.monotonic() < deadline and self.server.poll() is None:
            try:
                with open(port_file, encoding="ascii") as f:
                    self.port = int(f.read().strip())
                return
            except (OSError, ValueError):
                time.sleep(0.05)
        raise BenchError("the sample site server did not start (see server.out)")

    def start_display(self):
        read_end, write_end = os.pipe()
        try:
            self.display = start_process(
                ["Xvfb", "-displayfd", str(write_end), "-screen", "0", SCREEN,
                 "-nolisten", "tcp", "-noreset"],
                base_environment(),
                os.path.join(self.tmp, "xvfb.out"),
                pass_fds=(write_end,),
            )
        finally:
            os.close(write_end)
        reply = b""
        deadline = time.monotonic() + DISPLAY_TIMEOUT
        try:
            while b"\n" not in reply and time.monotonic() < deadline:
                ready, _, _ = select.select([read_end], [], [], 0.2)
                if ready:
                    chunk = os.read(read_end, 32)
                    if not chunk:
                        break
                    reply += chunk
        finally:
            os.close(read_end)
        if b"\n" not in reply:
            raise BenchError("Xvfb did not report a display (see xvfb.out)")
        number = int(reply.strip())
        self.display_name = f":{number}"
        socket_path = f"/tmp/.X11-unix/X{number}"
        while not os.path.exists(socket_path):
            if time.monotonic() > deadline:
                raise BenchError(f"Xvfb {self.display_name} does not accept connections")
            time.sleep(0.05)

    def prepare_program_dir(self):
        """A copy of the build's program folder: the executable and the pages
        that go beside it. Its welcome.html is instrumented before each run."""
        self.program_dir = os.path.join(self.tmp, "program")
        os.makedirs(self.program_dir)
        shutil.copy2(self.explorer, self.program_dir)
        for name in supplied_page_names(self.build):
            source = os.path.join(self.build, name)
            target = os.path.join(self.program_dir, name)
            if os.path.isdir(source):
                shutil.copytree(source, target)
            elif os.path.isfile(source):
                shutil.copy2(source, target)
        welcome = os.path.join(self.program_dir, "welcome.html")
        if not os.path.isfile(welcome):
            raise BenchError("no welcome.html beside " + self.explorer)
        with open(welcome, encoding="utf-8") as f:
            self.welcome_text = f.read()
        self.welcome_path = welcome

    def instrument_welcome(self, run_id):
        image = (
            f'<img src="http://127.0.0.1:{self.port}{MARKER_PATH}?run={run_id}"'
            ' width="1" height="1" alt="">\n'
        )
        text = self.welcome_text
        at = text.lower().rfind("</body>")
        text = text[:at] + image + text[at:] if at >= 0 else text + image
        with open(self.welcome_path, "w", encoding="utf-8") as f:
            f.write(text)

    # -- one run ---------------------------------------------------------------

    def run_environment(self, run_dir):
        env = base_environment()
        for var, sub in (("HOME", "home"), ("XDG_CONFIG_HOME", "config"),
                         ("XDG_DATA_HOME", "data"), ("XDG_CACHE_HOME", "cache"),
                         ("XDG_RUNTIME_DIR", "runtime")):
            path = os.path.join(run_dir, sub)
            os.makedirs(path, mode=0o700)
            env[var] = path
        env["DISPLAY"] = self.display_name
        return env

    def write_settings(self, env, run_dir):
        for key, value in (("site-0", f"http://127.0.0.1:{self.port}"), ("num-sites", "1"),
                           ("prevent_switch", "0")):
            try:
                result = subprocess.run(
                    [self.settings_tool, "set", key, value], env=env, cwd=run_dir,
                    stdin=subprocess.DEVNULL, capture_output=True, timeout=COMMAND_TIMEOUT,
                )
            except subprocess.TimeoutExpired:
                raise BenchError(f"tovali-settings set {key} did not finish") from None
            if result.returncode != 0:
                raise BenchError(
                    f"tovali-settings set {key} failed: "
                    + (result.stdout + result.stderr).decode("utf-8", "replace")
                )

    def run_once(self, kind, screenshot=None):
        """Start-up time (ms) and memory (KiB, breakdown) of one run."""
        self.run_counter += 1
        run_id = f"{self.run_counter}-{kind}"
        run_dir = os.path.join(self.tmp, "runs", run_id)
        os.makedirs(run_dir)
        env = self.run_environment(run_dir)
        self.instrument_welcome(run_id)
        home_url = f"http://127.0.0.1:{self.port}{HOME_PATH}?{HOME_QUERY}"
        if kind == "program":
            self.write_settings(env, run_dir)
            argv = [os.path.join(self.program_dir, "tovali-explorer")]
        else:
            argv = [self.baseline, home_url, "file://" + self.welcome_path]
        output = os.path.join(run_dir, "output.txt")

        since = self.watcher.mark()
        started = time.monotonic()
        self.running = start_process(argv, env, output)
        try:
            alive = lambda: self.running.poll() is None  # noqa: E731
            marker = f"{MARKER_PATH}?run={run_id}"
            loaded = self.watcher.wait_for(since, lambda t: t == marker, START_PAGE_TIMEOUT, alive)
            if loaded is None:
                raise BenchError(self.failure(kind, "the start page did not load", output))
            home = self.watcher.wait_for(
                since, lambda t: t.startswith(HOME_PATH), HOME_PAGE_TIMEOUT, alive
            )
            if home is None:
                raise BenchError(self.failure(kind, "the home menu page was not requested", output))
            time.sleep(self.args.settle)
            if not alive():
                raise BenchError(self.failure(kind, "exited before the memory sample", output))
            pss, private, parts, others = memory_of_tree(self.running.pid)
            if screenshot:
                take_screenshot(self.display_name, screenshot)
            return {
                "start_ms": (loaded - started) * 1000.0,
                "home_ms": (home - started) * 1000.0,
                "pss_kib": pss,
                "uss_kib": private,
                "parts": parts,
                "other_webkit": others,
            }
        finally:
            stop_process_tree(self.running)
            self.running = None

    def failure(self, kind, what, output):
        try:
            with open(output, encoding="utf-8", errors="replace") as f:
                tail = f.read()[-2000:]
        except OSError:
            tail = ""
        return f"{kind}: {what}" + (f"\n--- its output:\n{tail}" if tail.strip() else "")

    # -- whole bench -----------------------------------------------------------

    def run(self):
        runs = 1 if self.args.smoke else self.args.runs
        warmup = 0 if self.args.smoke else self.args.warmup
        results = {"program": [], "baseline": []}
        shots = {}
        if self.args.screenshots:
            os.makedirs(self.args.screenshots, exist_ok=True)
            for kind in results:
                shots[kind] = os.path.join(self.args.screenshots, f"startup-{kind}.png")
        for i in range(warmup + runs):
            order = ("program", "baseline") if i % 2 == 0 else ("baseline", "program")
            measured = i >= warmup
            for kind in order:
                shot = shots.pop(kind, None) if measured else None
                result = self.run_once(kind, shot)
                label = f"run {i - warmup + 1}/{runs}" if measured else "warm-up"
                print(
                    f"{label:>10} {kind:<8}  start page {result['start_ms']:7.0f} ms"
                    f"  home page {result['home_ms']:7.0f} ms"
                    f"  PSS {result['pss_kib'] / 1024:7.1f} MiB"
                    f"  private {result['uss_kib'] / 1024:7.1f} MiB",
                    flush=True,
                )
                if self.args.verbose:
                    print(f"{'':>12}{summarise_processes(result['parts'])}", flush=True)
                if measured:
                    results[kind].append(result)
        return results

    def tear_down(self):
        if self.running is not None:
            stop_process_tree(self.running)
        for proc in (self.server, self.display):
            if proc is not None:
                stop_process_tree(proc)
        if self.watcher is not None:
            self.watcher.close()
        if self.tmp and not self.args.keep:
            shutil.rmtree(self.tmp, ignore_errors=True)
        elif self.tmp:
            print(f"kept {self.tmp}")


def supplied_page_names(build):
    """The entries of the source tree's data/ folder, which the build copies
    beside the executable (the usual pages when the source is not found), and
    the page guard's folder web-extensions/, without which the program opens
    no network page."""
    source = None
    try:
        with open(os.path.join(build, "CMakeCache.txt"), encoding="utf-8") as f:
            for line in f:
                if line.startswith("CMAKE_HOME_DIRECTORY:"):
                    source = line.split("=", 1)[1].strip()
    except OSError:
        pass
    data = os.path.join(source or REPO, "data")
    if os.path.isdir(data):
        return sorted(os.listdir(data)) + ["web-extensions"]
    return ["welcome.html", "help.html", "setuphelp", "web-extensions"]


def base_environment():
    """The caller's environment without anything of a desktop session or a proxy."""
    env = dict(os.environ)
    for name in ("WAYLAND_DISPLAY", "XAUTHORITY", "DBUS_SESSION_BUS_ADDRESS", "SESSION_MANAGER",
                 "GDK_BACKEND", "DISPLAY", "http_proxy", "https_proxy", "ftp_proxy", "all_proxy",
                 "HTTP_PROXY", "HTTPS_PROXY", "FTP_PROXY", "ALL_PROXY", "no_proxy", "NO_PROXY"):
        env.pop(name, None)
    env["NO_AT_BRIDGE"] = "1"
    env["GSETTINGS_BACKEND"] = "memory"
    return env


def take_screenshot(display, path):
    if shutil.which("import") is None:
        print("  (no screenshot: ImageMagick's import is not installed)")
        return
    try:
        subprocess.run(["import", "-display", display, "-window", "root", path],
                       stdin=subprocess.DEVNULL, capture_output=True, timeout=COMMAND_TIMEOUT)
    except subprocess.TimeoutExpired:
        print("  (screenshot timed out)")


# ----------------------------------------------------------------------------
# Report


def stats(values):
    return statistics.median(values), min(values), max(values)


def report(results, check_targets):
    prog, base = results["program"], results["baseline"]
    p_time = stats([r["start_ms"] for r in prog])
    b_time = stats([r["start_ms"] for r in base])
    p_mem = stats([r["pss_kib"] / 1024 for r in prog])
    b_mem = stats([r["pss_kib"] / 1024 for r in base])
    p_uss = stats([r["uss_kib"] / 1024 for r in prog])
    b_uss = stats([r["uss_kib"] / 1024 for r in base])
    uss_ratio = p_uss[0] / b_uss[0] if b_uss[0] else float("inf")
    time_diff = p_time[0] - b_time[0]
    mem_ratio = p_mem[0] / b_mem[0] if b_mem[0] else float("inf")
    time_ok = time_diff <= TIME_MARGIN_TARGET_MS
    mem_ok = mem_ratio <= MEMORY_RATIO_TARGET

    def cell(s, fmt):
        return f"{fmt.format(s[0])} ({fmt.format(s[1])}-{fmt.format(s[2])})"

    runs = len(prog)
    print()
    print(f"Median (min-max) of {runs} run{'s' if runs != 1 else ''} each:")
    rows = [
        ("", "Tovali Explorer", "two-view baseline", "difference", "target", ""),
        ("start page loaded (ms)", cell(p_time, "{:.0f}"), cell(b_time, "{:.0f}"),
         f"{time_diff:+.0f} ms", f"<= +{TIME_MARGIN_TARGET_MS:.0f} ms",
         ("met" if time_ok else "MISSED") if check_targets else ""),
        ("memory, PSS total (MiB)", cell(p_mem, "{:.1f}"), cell(b_mem, "{:.1f}"),
         f"x{mem_ratio:.3f} ({p_mem[0] - b_mem[0]:+.1f} MiB)", f"<= x{MEMORY_RATIO_TARGET:.2f}",
         ("met" if mem_ok else "MISSED") if check_targets else ""),
        ("memory, private (MiB)", cell(p_uss, "{:.1f}"), cell(b_uss, "{:.1f}"),
         f"x{uss_ratio:.3f} ({p_uss[0] - b_uss[0]:+.1f} MiB)", "(for information)", ""),
    ]
    widths = [max(len(r[i]) for r in rows) for i in range(len(rows[0]))]
    for r in rows:
        print("  ".join(v.ljust(w) for v, w in zip(r, widths)).rstrip())
    print()
    for kind, label in (("program", "Tovali Explorer"), ("baseline", "two-view baseline")):
        print(f"{label} processes at the last memory sample (MiB): "
              f"{summarise_processes(results[kind][-1]['parts'])}")
    others = max(r["other_webkit"] for r in prog + base)
    if others:
        print(f"Note: WebKit processes of other programs were running (up to {others} at a "
              "memory sample). They share the engine's library pages, which lowers the PSS of "
              "both programs; compare PSS figures only from runs on an otherwise idle machine.")
    if not check_targets:
        return True
    print()
    if not time_ok:
        print(f"Start page target missed by {time_diff - TIME_MARGIN_TARGET_MS:.0f} ms.")
    if not mem_ok:
        print(f"Memory target missed: x{mem_ratio:.3f} is "
              f"{(p_mem[0] - MEMORY_RATIO_TARGET * b_mem[0]):.1f} MiB above x{MEMORY_RATIO_TARGET}.")
    print("Targets met." if time_ok and mem_ok else "Targets NOT met.")
    return time_ok and mem_ok


# ----------------------------------------------------------------------------


def parse_args(argv):
    parser = argparse.ArgumentParser(
        description="Start-up time and memory of Tovali Explorer next to a two-view WebKitGTK "
        "baseline, under a private Xvfb display.")
    parser.add_argument("--build", default=os.path.join(REPO, "build"),
                        help="build folder holding tovali-explorer, tovali-settings and "
                        "bench/two_view_baseline (default: build)")
    parser.add_argument("--runs", type=int, default=5,
                        help="measured runs of each program (default 5)")
    parser.add_argument("--warmup", type=int, default=1,
                        help="unmeasured runs of each before them (default 1)")
    parser.add_argument("--settle", type=float, default=1.5,
                        help="seconds between the home page request and the memory sample "
                        "(default 1.5)")
    parser.add_argument("--smoke", action="store_true",
                        help="one run of each, no warm-up, no target check: proves it works")
    parser.add_argument("--screenshots", metavar="DIR",
                        help="save a screenshot of each program's first measured run here")
    parser.add_argument("--keep", action="store_true",
                        help="keep the temporary folder (logs, request log) for inspection")
    parser.add_argument("-v", "--verbose", action="store_true",
                        help="show each run's processes and their PSS")
    args = parser.parse_args(argv)
    if args.runs < 1 or args.warmup < 0 or not 0 <= args.settle <= 60:
        parser.error("--runs must be at least 1, --warmup at least 0, --settle 0 to 60")
    return args


def run_bench(name, bench, describe, measure):
    """Runs `bench` under the signal handling every benchmark script needs:
    SIGTERM and SIGHUP end the run, and its processes are stopped whatever
    happens. `describe()` gives the line printed once it is set up;
    `measure()` runs it and says whether the targets were met. Returns the
    exit status: 0 when met, 1 otherwise or on an error."""

    def on_terminate(signum, _frame):
        raise KeyboardInterrupt  # ends the run; tear_down stops everything

    signal.signal(signal.SIGTERM, on_terminate)
    signal.signal(signal.SIGHUP, on_terminate)
    become_subreaper()
    try:
        bench.check_prerequisites()
        bench.set_up()
        print(describe(), flush=True)
        return 0 if measure() else 1
    except BenchError as e:
        print(f"{name}: {e}", file=sys.stderr)
        return 1
    except KeyboardInterrupt:
        print(f"{name}: interrupted", file=sys.stderr)
        return 1
    finally:
        # A second Ctrl-C must not leave processes behind.
        signal.signal(signal.SIGINT, signal.SIG_IGN)
        signal.signal(signal.SIGTERM, signal.SIG_IGN)
        bench.tear_down()


def main(argv):
    args = parse_args(argv)
    bench = Bench(args)
    runs = "smoke run" if args.smoke else f"{args.runs} runs + {args.warmup} warm-up"
    return run_bench(
        "startup_memory", bench,
        lambda: f"Sample site on 127.0.0.1:{bench.port}, display {bench.display_name}, "
                f"{runs} of each.",
        lambda: report(bench.run(), check_targets=not args.smoke))

if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
