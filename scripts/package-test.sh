#!/usr/bin/env bash
# Builds the Debian package from build/, installs it with apt-get and checks
# what was installed: lintian, appstreamcli, desktop-file-validate, man -l.
# Then runs the installed program as an ordinary user, the way a child's
# account runs it:
#   - under Xvfb against the sample site: the menu page is requested, a link
#     the menu's rules refuse is followed (through AT-SPI, as a click would)
#     and never requested, and once the program has been ended with SIGTERM
#     the refusal is in $XDG_STATE_HOME/tovali-explorer/prohurl.log;
#   - as the Wayland session does, inside cage with its headless back end:
#     the menu page is requested, and cage ends when the program ends.
# Needs root (or sudo) for apt-get; run after scripts/test.sh has built.
set -euo pipefail
cd "$(dirname "$0")/.."

# How long to wait for something the program must do (seconds).
timeout_s=${TOVALI_PACKAGE_TEST_TIMEOUT:-60}
user=nobody
group=nogroup

SUDO=""
if [ "$(id -u)" != 0 ]; then SUDO=sudo; fi

say() { printf '== %s\n' "$*"; }
fail() {
  printf 'FAILED: %s\n' "$*" >&2
  exit 1
}

# Waits until the command succeeds, at most $timeout_s seconds.
wait_for() {
  local deadline=$((SECONDS + timeout_s))
  until "$@"; do
    ((SECONDS < deadline)) || return 1
    sleep 0.2
  done
}

requested() { grep -q -- "$2" "$1" 2>/dev/null; }
request_count() { grep -c -- "$2" "$1" 2>/dev/null || true; }

scripts/install-deps.sh lintian cage xwayland desktop-file-utils appstream man-db util-linux

say "building the package"
cmake --build build --target package
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build/CMakeCache.txt)
deb="build/tovali-explorer_${version}_amd64.deb"
[ -f "$deb" ] || fail "$deb was not written"

say "lintian"
lintian --fail-on error --info "$deb"

say "installing $deb"
# --reinstall: a rerun installs the package just built even when its version
# is already installed.
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y --reinstall "./$deb"

say "checking what was installed"
for file in /usr/bin/tovali-explorer /usr/bin/tovali-settings /usr/bin/tovali-rules \
  /usr/share/tovali-explorer/welcome.html /usr/share/tovali-explorer/help.html \
  /usr/share/tovali-explorer/setuphelp/setuphelp.html \
  /usr/share/tovali-explorer/welcome.de.html /usr/share/tovali-explorer/help.de.html \
  /usr/share/tovali-explorer/setuphelp/setuphelp.de.html \
  /usr/share/locale/de/LC_MESSAGES/tovali-explorer.mo \
  /usr/lib/tovali-explorer/web-extensions/tovali-page-guard.so \
  /usr/share/icons/hicolor/scalable/apps/org.tovali.Explorer.svg \
  /usr/share/doc/tovali-explorer/examples/50-tovali-explorer-kiosk.conf; do
  [ -f "$file" ] || fail "$file is missing"
done
appstreamcli validate --no-net /usr/share/metainfo/org.tovali.Explorer.metainfo.xml
# The installed catalogue: the tools speak German in a German session and
# English otherwise.
env -i LANG=C.UTF-8 LANGUAGE=de tovali-settings --help | grep -q '^Aufruf: tovali-settings' ||
  fail "tovali-settings does not speak German with LANGUAGE=de"
env -i LANG=C.UTF-8 tovali-settings --help | grep -q '^Usage: tovali-settings' ||
  fail "tovali-settings does not speak English without LANGUAGE"
desktop-file-validate /usr/share/applications/org.tovali.Explorer.desktop \
  /usr/share/xsessions/tovali-explorer.desktop /usr/share/wayland-sessions/tovali-explorer.desktop
for page in tovali-explorer tovali-settings tovali-rules; do
  warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "/usr/share/man/man1/$page.1.gz" 2>&1 >/dev/null)
  [ -z "$warnings" ] || fail "man -l $page.1.gz: $warnings"
  LC_ALL=C.UTF-8 MANWIDTH=80 man -l "/usr/share/man/man1/$page.1.gz" | grep -q "EXIT STATUS" ||
    fail "$page.1 has no exit status section"
done

# A private tree the ordinary user can reach: its home, the sample site on a
# free port (the site's own address, port 8470, rewritten), the request log.
work=$(mktemp -d /tmp/tovali-package-test.XXXXXX)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
chmod 755 "$work"
port=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
cp -r site "$work/site"
cp tests/support/atspi_probe.py "$work/atspi_probe.py"
grep -rl ':8470' "$work/site" | xargs sed -i "s/:8470/:$port/g"
log="$work/requests.log"
python3 "$work/site/serve.py" --port "$port" --root "$work/site" --log "$log" >"$work/server.out" 2>&1 &
pids+=($!)
wait_for bash -c "exec 3<>/dev/tcp/127.0.0.1/$port" 2>/dev/null || fail "the sample site did not start"
child_home="$work/home"
mkdir -p "$child_home"
chown "$user:$group" "$child_home"

# Runs a command as the ordinary user with a clean environment.
as_child() {
  setpriv --reuid="$user" --regid="$group" --clear-groups \
    env -i HOME="$child_home" PATH=/usr/local/bin:/usr/bin:/bin LANG=C.UTF-8 \
    XDG_STATE_HOME="$child_home/state" "$@"
}

as_child tovali-settings set num-sites 1 >/dev/null
as_child tovali-settings set site-0 "http://127.0.0.1:$port" >/dev/null
as_child tovali-settings set prevent_switch 0 >/dev/null
menu=/tovali/v200/group1/teindex.php3

say "the installed program under Xvfb, as $user"
cat >"$work/x-session.sh" <<EOF
set -euo pipefail
follow() { /usr/bin/python3 "$work/atspi_probe.py" follow "\$1" 2>/dev/null; }
wait_for() {
  local deadline=\$((SECONDS + $timeout_s))
  until "\$@"; do
    ((SECONDS < deadline)) || return 1
    sleep 0.2
  done
}
requested() { grep -q -- "\$1" "$log"; }
exec 3>"$child_home/xvfb-display"
Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp >"$child_home/xvfb.out" 2>&1 &
xvfb=\$!
trap 'kill \$xvfb 2>/dev/null || true' EXIT
wait_for test -s "$child_home/xvfb-display" || { echo "Xvfb did not start"; exit 1; }
export DISPLAY=:\$(head -n1 "$child_home/xvfb-display")
/usr/bin/tovali-explorer >"$child_home/explorer.out" 2>&1 &
explorer=\$!
wait_for requested "$menu" || { echo "the menu page was not requested"; exit 1; }
# Count the Stars, then its answers page, which the menu's rules refuse,
# then a page that is admitted: once that one has been asked for, the
# refused one would have been too.
wait_for follow "Count the Stars" || { echo "no Count the Stars link"; exit 1; }
wait_for requested "/kids/counting/[[:space:]]" || { echo "the counting site was not opened"; exit 1; }
wait_for follow "Peek at the answers" || { echo "no answers link"; exit 1; }
wait_for follow "3" || { echo "no link 3"; exit 1; }
wait_for requested "/kids/counting/yes1.html" || { echo "the admitted page was not opened"; exit 1; }
if requested "/kids/counting/answers.html"; then echo "the refused page was requested"; exit 1; fi
kill -TERM \$explorer
status=0
wait \$explorer || status=\$?
[ \$status -eq 0 ] || { echo "tovali-explorer exited with status \$status"; exit 1; }
EOF
as_child dbus-run-session -- bash "$work/x-session.sh" ||
  fail "X session run: $(tail -n 20 "$child_home/explorer.out" 2>/dev/null)"
state_log="$child_home/state/tovali-explorer/prohurl.log"
[ -f "$state_log" ] || fail "$state_log was not written"
grep -q "/kids/counting/answers.html" "$state_log" || fail "the refusal is not in $state_log"
grep -q "/kids/counting/answers.html" "$log" && fail "the refused page reached the server"
say "refusal logged in $state_log"

say "the installed program inside cage (headless), as $user"
runtime="$work/runtime"
mkdir -m 700 "$runtime"
chown "$user:$group" "$runtime"
menus_before=$(request_count "$log" "$menu")
as_child env XDG_RUNTIME_DIR="$runtime" WLR_BACKENDS=headless WLR_RENDERER=pixman \
  WLR_LIBINPUT_NO_DEVICES=1 cage -- tovali-explorer >"$work/cage.out" 2>&1 &
cage=$!
pids+=("$cage")
menu_again() { (($(request_count "$log" "$menu") > menus_before)); }
wait_for menu_again || fail "inside cage the menu page was not requested: $(tail -n 20 "$work/cage.out")"
# The session ends when the program ends: end the program, cage follows.
# The process called $2 below process $1 (its own children, theirs, ...).
descendant_named() {
  local pid
  for pid in $(cat /proc/"$1"/task/*/children 2>/dev/null); do
    if [ "$(cat "/proc/$pid/comm" 2>/dev/null)" = "$2" ]; then
      echo "$pid"
      return
    fi
    descendant_named "$pid" "$2"
  done
}
explorer=$(descendant_named "$cage" tovali-explorer | head -n1)
[ -n "$explorer" ] || fail "cage runs no program"
kill -TERM "$explorer"
cage_gone() { ! kill -0 "$cage" 2>/dev/null; }
wait_for cage_gone || fail "cage did not end with the program"
wait "$cage" || true

say "package test passed"
