#!/usr/bin/env python3
"""Memory of Tovali Explorer over many menu clicks across the sample site.

    python3 bench/soak_memory.py [--build build] [--clicks 500] [--first 100]
    python3 bench/soak_memory.py --smoke       # a few clicks, no target check

The real program runs on a private Xvfb display with fresh HOME and XDG
folders, against a copy of the sample home site (site/) served by
site/serve.py on a free port of 127.0.0.1. The copy's menu page carries a small
script that asks the server for bench/click.txt ten times a second; each time
that file changes, it clicks the site link the file names. This script names
the menu's four site links (Count the Stars, Animal Friends, Colour Fun, Story
Time) in turn, as a child's clicks would; the program itself is untouched.

After each click it waits until the server receives the request for that
link's page (the request log is a pipe read as the lines arrive; a click that
opens nothing within 10 s is repeated, at most twice, and counted) and lets
the page finish (--pace) before the next click. After the first
--first clicks and after all --clicks clicks, once a settle time has passed,
it sums the proportional set size (PSS, /proc/PID/smaps_rollup) of the
program and of every process below it (web processes, network process).

Target: PSS after the last click at most 1.10 times the PSS after the first
sample. Other WebKit programs running at the same time share the engine's
library pages and so lower the PSS; when their number differs between the two
samples, the target applies to the anonymous memory instead (heap, stacks,
JavaScript heap: pages no other program maps), which is shown beside it. Exit status 0 when it is met (or after a successful --smoke run), 1
otherwise. Every wait is bounded; every process started here is stopped on
exit, also on Ctrl-C.
"""

import argparse
import os
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import startup_memory as common  # noqa: E402  (its processes, request log, memory helpers)

SITE_PORT = "8470"  # the port the sample site's pages name; the copy names the real one
MENU_PAGE = "tovali/v200/group1/teindex.php3"
CLICK_FILE = "bench/click.txt"
# The menu page's site links in the order they are clicked, with the path of
# the page each one opens in the right frame.
LINK_PATHS = ("/kids/counting/", "/kids/animals/", "/kids/colours/", "/kids/stories/")

GROWTH_TARGET = 1.10
CLICK_TIMEOUT = 10.0
CLICK_ATTEMPTS = 3

CLICK_DRIVER = """
<script>
(function () {
  var links = Array.prototype.filter.call(document.querySelectorAll('a.site'),
      function (a) { return /^HTTP\\d\\d\\d:/i.test(a.getAttribute('href')); });
  var done = null;
  function poll() {
    var request = new XMLHttpRequest();
    request.open('GET', '/%(click_file)s?t=' + Date.now());
    request.onloadend = function () {
      var fields = request.responseText.trim().split(' ');
      if (request.status === 200 && fields.length === 2) {
        if (done === null) done = fields[0];
        if (fields[0] !== done && links.length) {
          done = fields[0];
          links[parseInt(fields[1], 10) %% links.length].dispatchEvent(new MouseEvent('click',
              {bubbles: true, cancelable: true, view: window}));
        }
      }
      setTimeout(poll, 100);
    };
    request.send();
  }
  window.addEventListener('load', poll);
})();
</script>
"""


class SoakBench(common.Bench):
    def check_prerequisites(self):
        missing = [p for p in (self.explorer, self.settings_tool) if not os.access(p, os.X_OK)]
        if missing:
            raise common.BenchError("not built: " + ", ".join(missing))
        if not os.path.isfile(os.path.join(self.site, "serve.py")):
            raise common.BenchError("no site/serve.py in " + common.REPO)
        if common.shutil.which("Xvfb") is None:
            raise common.BenchError("Xvfb is not installed")

    def set_up(self):
        super().set_up()
        self.adapt_site()

    def adapt_site(self):
        """Points the copied site's pages at the port the server took, adds
        the click driver to its menu page and writes click number 0."""
        root = os.path.join(self.tmp, "site")
        for folder, _, names in os.walk(root):
            for name in names:
                path = os.path.join(folder, name)
                try:
                    with open(path, encoding="utf-8") as f:
                        text = f.read()
                except (UnicodeDecodeError, OSError):
                    continue
                if ":" + SITE_PORT in text:
                    with open(path, "w", encoding="utf-8") as f:
                        f.write(text.replace(":" + SITE_PORT, f":{self.port}"))
        menu = os.path.join(root, MENU_PAGE)
        with open(menu, encoding="utf-8") as f:
            text = f.read()
        driver = CLICK_DRIVER % {"click_file": CLICK_FILE}
        at = text.lower().rfind("</body>")
        if at < 0:
            raise common.BenchError("the sample menu page has no </body>")
        with open(menu, "w", encoding="utf-8") as f:
            f.write(text[:at] + driver + text[at:])
        self.click_path = os.path.join(root, CLICK_FILE)
        self.order = 0
        self.write_click(0)

    def write_click(self, link):
        """Asks the menu page for a click on its site link number `link`."""
        self.order += 1
        temporary = self.click_path + ".new"
        with open(temporary, "w", encoding="ascii") as f:
            f.write(f"{self.order} {link}\n")
        os.replace(temporary, self.click_path)

    def sample(self, label, clicks):
        time.sleep(self.args.settle)
        if self.running.poll() is not None:
            raise common.BenchError(f"the program exited before the sample {label}")
        pss, private, parts, others = common.memory_of_tree(self.running.pid)
        anonymous = sum(anonymous_kib(pid) for _, pid, _ in parts)
        print(f"{label:>18}: PSS {pss / 1024:7.1f} MiB  private {private / 1024:7.1f} MiB"
              f"  anonymous {anonymous / 1024:7.1f} MiB  (other WebKit processes: {others})",
              flush=True)
        if self.args.verbose:
            print(f"{'':>20}{common.summarise_processes(parts)}", flush=True)
        return {"clicks": clicks, "pss_kib": pss, "uss_kib": private, "anon_kib": anonymous,
                "parts": parts, "other_webkit": others}

    def run(self):
        run_dir = os.path.join(self.tmp, "runs", "soak")
        os.makedirs(run_dir)
        env = self.run_environment(run_dir)
        self.write_settings(env, run_dir)
        output = os.path.join(run_dir, "output.txt")
        since = self.watcher.mark()
        self.running = common.start_process(
            [os.path.join(self.program_dir, "tovali-explorer")], env, output)
        alive = lambda: self.running.poll() is None  # noqa: E731
        menu = "/" + MENU_PAGE
        if self.watcher.wait_for(since, lambda t: t.startswith(menu), common.HOME_PAGE_TIMEOUT,
                                 alive) is None:
            raise common.BenchError(self.failure("program", "the menu page was not requested",
                                                 output))
        # The driver is running once it asks for the click number.
        if self.watcher.wait_for(since, lambda t: t.startswith("/" + CLICK_FILE),
                                 common.HOME_PAGE_TIMEOUT, alive) is None:
            raise common.BenchError(self.failure("program", "the menu page's script did not run",
                                                 output))
        samples = []
        self.retries = 0
        started = time.monotonic()
        time.sleep(self.args.settle)  # the program takes its first menu click once settled
        for click in range(1, self.args.clicks + 1):
            link = (click - 1) % len(LINK_PATHS)
            path = LINK_PATHS[link]
            opened = False
            for _ in range(CLICK_ATTEMPTS):
                since = self.watcher.mark()
                self.write_click(link)
                opened = self.watcher.wait_for(since, lambda t, p=path: t.split("?")[0] == p,
                                               CLICK_TIMEOUT, alive) is not None
                if opened or not alive():
                    break
                self.retries += 1
            if not opened:
                common.take_screenshot(self.display_name, os.path.join(self.tmp, "failed.png"))
                raise common.BenchError(self.failure(
                    "program", f"click {click} did not open {path}", output))
            time.sleep(self.args.pace)
            if click % 50 == 0 and not self.args.smoke:
                print(f"{click} clicks, {time.monotonic() - started:.0f} s", flush=True)
            if click in (self.args.first, self.args.clicks):
                samples.append(self.sample(f"after {click} clicks", click))
        if self.retries:
            print(f"{self.retries} click(s) repeated after opening nothing", flush=True)
        return samples


def anonymous_kib(pid):
    """Anonymous memory (heap, stacks, JavaScript heap) of one process in
    KiB: pages no other program maps, so other programs do not move it."""
    try:
        with open(f"/proc/{pid}/smaps_rollup", encoding="ascii") as f:
            for line in f:
                if line.startswith("Anonymous:"):
                    return int(line.split()[1])
    except (OSError, ValueError, IndexError):
        pass
    return 0


def report(samples, check_target):
    first, last = samples[0], samples[-1]

    def growth(key):
        return last[key] / first[key] if first[key] else float("inf")

    print()
    for key, label in (("pss_kib", "PSS"), ("uss_kib", "private"), ("anon_kib", "anonymous")):
        print(f"{label:>9} after {first['clicks']} clicks {first[key] / 1024:7.1f} MiB, "
              f"after {last['clicks']} {last[key] / 1024:7.1f} MiB: x{growth(key):.3f}")
    print(f"processes at the last sample (MiB): {common.summarise_processes(last['parts'])}")
    # Other WebKit programs share the engine's library pages, which lowers the
    # PSS (and the private part) of this one; when their number changed
    # between the samples, only the anonymous memory compares.
    key, label = "pss_kib", "PSS"
    if first["other_webkit"] != last["other_webkit"]:
        key, label = "anon_kib", "anonymous memory"
        print("Note: the number of other programs' WebKit processes changed between the samples "
              f"({first['other_webkit']}, then {last['other_webkit']}); the PSS figures do not "
              "compare, the target applies to the anonymous memory.")
    if not check_target:
        return True
    ok = growth(key) <= GROWTH_TARGET
    print(f"{label}: x{growth(key):.3f}, target <= x{GROWTH_TARGET:.2f}: "
          + ("met." if ok else "NOT met."))
    return ok


def parse_args(argv):
    parser = argparse.ArgumentParser(
        description="Memory of Tovali Explorer over many menu clicks across the sample site, "
        "under a private Xvfb display.")
    parser.add_argument("--build", default=os.path.join(common.REPO, "build"),
                        help="build folder holding tovali-explorer and tovali-settings "
                        "(default: build)")
    parser.add_argument("--clicks", type=int, default=500, help="menu clicks in all (default 500)")
    parser.add_argument("--first", type=int, default=100,
                        help="clicks before the first memory sample (default 100)")
    parser.add_argument("--pace", type=float, default=0.5,
                        help="seconds between a page's request and the next click (default 0.5)")
    parser.add_argument("--settle", type=float, default=3.0,
                        help="seconds between the last click and a memory sample (default 3)")
    parser.add_argument("--smoke", action="store_true",
                        help="6 clicks, samples after 3 and 6, no target check: proves it works")
    parser.add_argument("--keep", action="store_true",
                        help="keep the temporary folder (logs, request log) for inspection")
    parser.add_argument("-v", "--verbose", action="store_true",
                        help="show the processes and their PSS at each sample")
    args = parser.parse_args(argv)
    if args.smoke:
        args.clicks, args.first, args.pace, args.settle = 6, 3, 0.2, 0.5
    if not 1 <= args.first < args.clicks or not 0 <= args.pace <= 10 \
            or not 0 <= args.settle <= 60:
        parser.error("need 1 <= --first < --clicks, --pace 0 to 10, --settle 0 to 60")
    return args


def main(argv):
    args = parse_args(argv)
    bench = SoakBench(args)
    return common.run_bench(
        "soak_memory", bench,
        lambda: f"Sample site on 127.0.0.1:{bench.port}, display {bench.display_name}, "
                f"{args.clicks} clicks, samples after {args.first} and {args.clicks}.",
        lambda: report(bench.run(), check_target=not args.smoke))

if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
