#!/usr/bin/env python3
"""Start-up time and memory of Tovali Explorer against a two-view baseline.

    python3 bench/startup_memory.py [--build build] [--runs 5]

Both programs run on a private Xvfb display against one local server
(site/serve.py) in turn, each run in fresh private HOME and XDG folders:

  * Tovali Explorer from a private program folder (its executable and the
    supplied pages, with a start page that reports when it has loaded),
    its sites pointed at the server with tovali-settings;
  * two_view_baseline (bench/TwoViewBaseline.cpp) loading the same start page
    on the right and the same home menu page on the left.

Measured per run:
  start  time from starting the process to the start page loaded (its
         picture requested from the server);
  home   time to the home menu page loaded in the left frame;
  PSS    proportional set size of the program and all its processes (web and
         network processes), read from /proc/PID/smaps_rollup one second
         after the home page has loaded.
Prints the medians and the ratios against the targets: PSS at most 1.15 times
the baseline's, start at most the baseline's plus 250 ms.
"""

import argparse
import os
import shutil
import signal
import socket
import statistics
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
SOURCE = os.path.dirname(HERE)
SITE_PATH = "tovali/v200/group1"

START_PAGE = """<!DOCTYPE html>
<html><head><title>Welcome to Tovali Explorer</title></head>
<body><h1>Hello, Explorer!</h1>
<img src="http://127.0.0.1:{port}/bench/start-loaded.png" alt="">
</body></html>
"""

MENU_PAGE = """<!DOCTYPE html>
<html><head><title>Menu</title></head>
<body><p>Menu</p>
<img src="http://127.0.0.1:{port}/bench/home-loaded.png" alt="">
</body></html>
"""


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def start_xvfb():
    for number in range(90, 120):
        if os.path.exists("/tmp/.X11-unix/X%d" % number) or os.path.exists("/tmp/.X%d-lock" % number):
            continue
        proc = subprocess.Popen(["Xvfb", ":%d" % number, "-screen", "0", "1280x800x24", "-nolisten", "tcp"],
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        for _ in range(100):
            if os.path.exists("/tmp/.X11-unix/X%d" % number):
                return proc, ":%d" % number
            time.sleep(0.05)
        proc.kill()
    sys.exit("no free X display")


def children_of(pid):
    """The process and all its descendants."""
    parents = {}
    for entry in os.listdir("/proc"):
        if not entry.isdigit():
            continue
        try:
            with open("/proc/%s/stat" % entry) as f:
                fields = f.read().rsplit(")", 1)[1].split()
            parents.setdefault(int(fields[1]), []).append(int(entry))
        except OSError:
            pass
    result, todo = [], [pid]
    while todo:
        p = todo.pop()
        result.append(p)
        todo.extend(parents.get(p, []))
    return result


def pss_kib(pid):
    total = 0
    for p in children_of(pid):
        try:
            with open("/proc/%d/smaps_rollup" % p) as f:
                for line in f:
                    if line.startswith("Pss:"):
                        total += int(line.split()[1])
        except OSError:
            pass
    return total


def wait_for_log(log_path, needle, deadline):
    while time.monotonic() < deadline:
        with open(log_path) as f:
            if needle in f.read():
                return time.monotonic()
        time.sleep(0.005)
    return None


def one_run(kind, build, display, port, log_path, work):
    root = tempfile.mkdtemp(prefix="run-", dir=work)
    env = dict(os.environ)
    for name in ("DBUS_SESSION_BUS_ADDRESS", "WAYLAND_DISPLAY", "http_proxy", "https_proxy"):
        env.pop(name, None)
    env.update({"DISPLAY": display, "HOME": root + "/home", "XDG_CONFIG_HOME": root + "/config",
                "XDG_DATA_HOME": root + "/data", "XDG_CACHE_HOME": root + "/cache",
                "XDG_RUNTIME_DIR": root + "/runtime"})
    for name in ("home", "config", "data", "cache", "runtime"):
        os.makedirs(root + "/" + name, mode=0o700)
    program_dir = root + "/program"
    os.makedirs(program_dir)
    start_page = program_dir + "/welcome.html"
    if kind == "tovali":
        for entry in os.listdir(os.path.join(build)):
            if entry.endswith(".html") or entry == "setuphelp":
                src = os.path.join(build, entry)
                (shutil.copytree if os.path.isdir(src) else shutil.copy)(src, os.path.join(program_dir, entry))
        shutil.copy(os.path.join(build, "tovali-explorer"), program_dir)
        with open(start_page, "w") as f:
            f.write(START_PAGE.format(port=port))
        settings = os.path.join(build, "tovali-settings")
        for key, value in (("num-sites", "1"), ("site-0", "http://127.0.0.1:%d" % port)):
            subprocess.run([settings, "set", key, value], env=env, check=True, stdout=subprocess.DEVNULL)
        argv = [program_dir + "/tovali-explorer"]
    else:
        with open(start_page, "w") as f:
            f.write(START_PAGE.format(port=port))
        argv = [os.path.join(build, "bench", "two_view_baseline"),
                "http://127.0.0.1:%d/%s/teindex.php3?menu" % (port, SITE_PATH), "file://" + start_page]
    open(log_path, "w").close()
    t0 = time.monotonic()
    proc = subprocess.Popen(argv, env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                            start_new_session=True)
    deadline = t0 + 60
    t_start = wait_for_log(log_path, "/bench/start-loaded.png", deadline)
    t_home = wait_for_log(log_path, "/bench/home-loaded.png", deadline)
    time.sleep(1.0)
    pss = pss_kib(proc.pid)
    os.killpg(proc.pid, signal.SIGTERM)
    try:
        proc.wait(timeout=10)
    except subprocess.TimeoutExpired:
        os.killpg(proc.pid, signal.SIGKILL)
        proc.wait()
    shutil.rmtree(root, ignore_errors=True)
    if t_start is None or t_home is None:
        sys.exit("%s did not load its pages" % kind)
    return (t_start - t0) * 1000, (t_home - t0) * 1000, pss / 1024.0


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--build", default=os.path.join(SOURCE, "build"))
    parser.add_argument("--runs", type=int, default=5)
    args = parser.parse_args()
    build = os.path.abspath(args.build)
    for needed in ("tovali-explorer", "tovali-settings", "bench/two_view_baseline"):
        if not os.access(os.path.join(build, needed), os.X_OK):
            sys.exit("missing %s (build first)" % os.path.join(build, needed))

    work = tempfile.mkdtemp(prefix="tovali-bench-")
    site = work + "/site"
    os.makedirs(site + "/" + SITE_PATH)
    os.makedirs(site + "/bench")
    port = free_port()
    with open(site + "/" + SITE_PATH + "/teconfig.dat", "w") as f:
        f.write("program-version=200\r\n")
    with open(site + "/" + SITE_PATH + "/teindex.php3", "w") as f:
        f.write(MENU_PAGE.format(port=port))
    for name in ("start-loaded.png", "home-loaded.png"):
        open(site + "/bench/" + name, "wb").close()
    log_path = work + "/requests.log"
    xvfb, display = start_xvfb()
    server = subprocess.Popen([sys.executable, os.path.join(SOURCE, "site", "serve.py"), "--port", str(port),
                               "--root", site, "--log", log_path],
                              stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    time.sleep(0.5)
    results = {"baseline": [], "tovali": []}
    try:
        for run in range(args.runs):
            for kind in ("baseline", "tovali"):
                results[kind].append(one_run(kind, build, display, port, log_path, work))
                print("run %d %-8s start %6.0f ms  home %6.0f ms  PSS %6.1f MiB" %
                      ((run + 1, kind) + results[kind][-1]), flush=True)
    finally:
        server.terminate()
        xvfb.terminate()
        server.wait()
        xvfb.wait()
        shutil.rmtree(work, ignore_errors=True)

    med = {k: [statistics.median(x[i] for x in v) for i in range(3)] for k, v in results.items()}
    print()
    print("| program | start page loaded (median) | home page loaded (median) | PSS, all processes (median) |")
    print("|---|---|---|---|")
    for kind, name in (("baseline", "two-view baseline"), ("tovali", "Tovali Explorer")):
        print("| %s | %.0f ms | %.0f ms | %.1f MiB |" % ((name,) + tuple(med[kind])))
    start_extra = med["tovali"][0] - med["baseline"][0]
    ratio = med["tovali"][2] / med["baseline"][2]
    print()
    print("start page: +%.0f ms against the baseline (target: at most +250 ms) -> %s" %
          (start_extra, "met" if start_extra <= 250 else "NOT met"))
    print("memory: %.2f times the baseline (target: at most 1.15) -> %s" %
          (ratio, "met" if ratio <= 1.15 else "NOT met"))


if __name__ == "__main__":
    main()
