#!/usr/bin/env python3
"""The cost of the page guard: a page with 200 loads, with and without it.

Serves a page of 200 images (each its own small file) from a local server, then runs build/bench/page_load_timer in
pairs, once with the page guard (build/web-extensions) and once without,
alternating which goes first, on a display of its own (Xvfb). Each run loads
the page several times in one web view; the median of its loads is the
run's figure. Prints the medians of both and their ratio.

  bench/page_loads.py [--pairs N] [--loads N] [--build DIR]

Run it on a quiet machine with a release build (docs/benchmarks.md).
"""
import argparse
import functools
import http.server
import os
import shutil
import socketserver
import statistics
import subprocess
import sys
import tempfile
import threading

LOADS_PER_PAGE = 200


def make_site(root):
    os.makedirs(os.path.join(root, "items"))
    png = bytes.fromhex(
        "89504e470d0a1a0a0000000d4948445200000001000000010806000000"
        "1f15c4890000000d49444154789c6360f8cf000000030101001835"
        "a9f40000000049454e44ae426082")
    body = []
    for i in range(LOADS_PER_PAGE):
        with open(os.path.join(root, "items", "%d.png" % i), "wb") as f:
            f.write(png)
        body.append('<img src="/items/%d.png" width="8" height="8">' % i)
    with open(os.path.join(root, "page.html"), "w") as f:
        f.write("<!doctype html><title>Loads</title>" + "".join(body))


def serve(root):
    handler = functools.partial(QuietHandler, directory=root)
    server = socketserver.ThreadingTCPServer(("127.0.0.1", 0), handler)
    server.daemon_threads = True
    threading.Thread(target=server.serve_forever, daemon=True).start()
    return server


class QuietHandler(http.server.SimpleHTTPRequestHandler):
    def log_message(self, *args):
        pass


def run(timer, guard, url, loads, env):
    out = subprocess.run([timer, guard, url, str(loads)], env=env, capture_output=True,
                         text=True, timeout=300, check=True).stdout
    times = [float(line) for line in out.split()]
    return statistics.median(times[1:] if len(times) > 1 else times)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--pairs", type=int, default=9)
    parser.add_argument("--loads", type=int, default=5)
    parser.add_argument("--build", default=os.path.join(os.path.dirname(__file__), "..", "build"))
    parser.add_argument("--smoke", action="store_true", help="one short pair: proves it runs")
    args = parser.parse_args()
    if args.smoke:
        args.pairs, args.loads = 1, 2
    timer = os.path.join(args.build, "bench", "page_load_timer")
    guard = os.path.join(args.build, "web-extensions")
    if not os.access(timer, os.X_OK):
        sys.exit("build the benchmarks first: " + timer)
    root = tempfile.mkdtemp(prefix="tovali-page-loads-")
    xvfb = None
    try:
        make_site(root)
        server = serve(root)
        url = "http://127.0.0.1:%d/page.html" % server.server_address[1]
        env = dict(os.environ)
        # A display of its own: Xvfb picks a free number and writes it here.
        read_end, write_end = os.pipe()
        xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write_end), "-screen", "0",
                                 "1280x800x24", "-nolisten", "tcp"], pass_fds=(write_end,),
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_end)
        with os.fdopen(read_end) as number:
            env["DISPLAY"] = ":" + number.readline().strip()
        with_guard, without = [], []
        for pair in range(args.pairs):
            order = [(guard, with_guard), ("none", without)]
            if pair % 2:
                order.reverse()
            for folder, figures in order:
                figures.append(run(timer, folder, url, args.loads, env))
        a, b = statistics.median(with_guard), statistics.median(without)
        print("page of %d loads, %d pairs of %d loads each" %
              (LOADS_PER_PAGE, args.pairs, args.loads))
        print("with the page guard:    %8.1f ms (median)" % a)
        print("without the page guard: %8.1f ms (median)" % b)
        print("ratio:                  %8.3f" % (a / b))
    finally:
        if xvfb:
            xvfb.terminate()
            xvfb.wait()
        shutil.rmtree(root, ignore_errors=True)


if __name__ == "__main__":
    main()
