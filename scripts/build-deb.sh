#!/usr/bin/env bash
# Builds the Debian package into build/deb/ and checks it:
#   - lintian finds no error (warnings are shown),
#   - the desktop entry and the AppStream metadata validate,
#   - the systemd unit is where debhelper looks, verifies, and its example
#     settings are a conffile,
#   - from the package's files extracted into a temporary root: both programs
#     print the version, qelvarctl sends a settings file in full to its own
#     virtual switcher and reads the same file back, and both manual pages
#     render without a warning.
# Installs the packaging tools it needs, as ./run and ./test do.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/ensure-packages.sh $(grep -v '^#' scripts/packages.txt) \
    dpkg-dev debhelper fakeroot lintian desktop-file-utils appstream man-db systemd

fail() {
    echo "build-deb: $*" >&2
    exit 1
}
step() { echo "== $*"; }

# One version everywhere: the changelog's upstream part, the project, the
# newest release of the metadata.
version=$(dpkg-parsechangelog -S Version)
upstream=${version%-*}
project=$(sed -n 's/^project(Qelvar VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
release=$(grep -o -m1 '<release version="[^"]*"' data/*.metainfo.xml | cut -d'"' -f2)
[ "$upstream" = "$project" ] || fail "debian/changelog has $upstream, CMakeLists.txt $project"
[ "$upstream" = "$release" ] || fail "debian/changelog has $upstream, the metainfo's newest release $release"

# The package is built from a copy of the tree as git sees it (tracked and new
# files, nothing ignored), so no build folder or stray file gets in, and
# dpkg-buildpackage leaves its results in build/deb/, the copy's parent.
out=build/deb
rm -rf "$out"
mkdir -p "$out/src"
git ls-files -z --cached --others --exclude-standard |
    tar --null --files-from=- --ignore-failed-read -cf - | tar -xf - -C "$out/src"

# debhelper gives the build a HOME of its own; keep ccache's store where it is.
if command -v ccache >/dev/null; then
    export CCACHE_DIR="${CCACHE_DIR:-$(ccache -k cache_dir)}"
fi
step "dpkg-buildpackage (log: $out/build.log)"
start=$SECONDS
if ! (cd "$out/src" && DEB_BUILD_OPTIONS="parallel=$(nproc)" \
    dpkg-buildpackage -b -us -uc) >"$out/build.log" 2>&1; then
    tail -n 40 "$out/build.log" >&2
    fail "the package build failed"
fi
echo "built in $((SECONDS - start)) s"
deb=$(ls "$out"/qelvar_"${version}"_*.deb)
changes=$(ls "$out"/qelvar_"${version}"_*.changes)

step "lintian"
lintian --fail-on error "$changes" || fail "lintian reports errors"

step "contents"
dpkg-deb -c "$deb" | awk '{print $6}'
if dpkg-deb -c "$deb" | awk '{print $6}' | grep -E '\.a$|/include/|_tests$|bench'; then
    fail "the package holds libraries, headers, tests or benchmarks"
fi

work=$(mktemp -d)
sim_pid=
cleanup() {
    [ -z "$sim_pid" ] || kill "$sim_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
root="$work/root"
dpkg -x "$deb" "$root"

step "desktop-file-validate, appstreamcli validate"
desktop-file-validate "$root"/usr/share/applications/*.desktop
appstreamcli validate --no-net "$root"/usr/share/metainfo/*.metainfo.xml

step "the extracted programs"
ctl="$root/usr/bin/qelvarctl"
# The version on the first line, then the licence, as GNU programs print them.
ctl_version=$("$ctl" --version)
[ "$(head -n 1 <<<"$ctl_version")" = "qelvarctl (Qelvar) $upstream" ] || fail "qelvarctl --version: $ctl_version"
grep -qx 'License GPLv3+: .*' <<<"$ctl_version" || fail "qelvarctl --version names no licence"
app_version=$(env -u DISPLAY -u WAYLAND_DISPLAY "$root/usr/bin/qelvar" --version)
[ "$app_version" = "${ctl_version/qelvarctl/qelvar}" ] || fail "qelvar --version without a display: $app_version"
# A profile of its own: never the user's, and no port of the user's is opened.
export QELVAR_PROFILE="$work/Qelvar.ini"

# Starts 'qelvarctl sim' and sets $pty to the pseudo-terminal it serves.
start_sim() {
    "$ctl" sim >"$work/sim.out" 2>"$work/sim.err" &
    sim_pid=$!
    for _ in $(seq 100); do
        pty=$(head -n 1 "$work/sim.out")
        [ -z "$pty" ] || return 0
        sleep 0.1
    done
    fail "qelvarctl sim printed no device: $(cat "$work/sim.err")"
}
stop_sim() {
    kill "$sim_pid"
    wait "$sim_pid" || true
    sim_pid=
}

# A settings file away from the defaults: memory 01 routes the inputs in
# reverse order on a first virtual switcher, and is read back from it.
start_sim
"$ctl" --port "$pty" line "TP01$(for i in $(seq 32 -1 1); do printf 'I%02d' "$i"; done)" >/dev/null
"$ctl" --port "$pty" read "$work/sent.dat" --pace ack >/dev/null
stop_sim
# A full send to a second one, which then holds exactly that file.
start_sim
"$ctl" --port "$pty" read "$work/defaults.dat" --pace ack >/dev/null
! cmp -s "$work/sent.dat" "$work/defaults.dat" || fail "the settings file to send holds only defaults"
"$ctl" --port "$pty" send "$work/sent.dat" --pace ack
"$ctl" --port "$pty" read "$work/received.dat" --pace ack >/dev/null
stop_sim
cmp "$work/sent.dat" "$work/received.dat" || fail "the switcher does not hold the file that was sent"
echo "send of $(wc -l <"$work/sent.dat") lines: the switcher holds the file"

step "the service unit"
# The template unit where debhelper looks for units, the example settings a
# conffile, and a unit systemd accepts (run against the extracted program).
unit="$root/lib/systemd/system/qelvar-serve@.service"
[ -f "$unit" ] || fail "no qelvar-serve@.service in /lib/systemd/system"
dpkg-deb --ctrl-tarfile "$deb" | tar -xO ./conffiles | grep -qx /etc/qelvar/example.conf ||
    fail "/etc/qelvar/example.conf is not a conffile"
mkdir "$work/units"
sed "s|/usr/bin/qelvarctl|$ctl|" "$unit" >"$work/units/qelvar-serve@.service"
verify=$(systemd-analyze verify --man=no "$work/units/qelvar-serve@.service" 2>&1) ||
    fail "systemd-analyze verify: $verify"
! grep 'qelvar-serve@' <<<"$verify" || fail "systemd-analyze verify warns about the unit"
echo "qelvar-serve@.service: verified"

step "manual pages"
for page in "$root"/usr/share/man/man1/qelvar.1.gz "$root"/usr/share/man/man1/qelvarctl.1.gz; do
    [ -f "$page" ] || fail "no $page"
    warnings=$(MANWIDTH=80 man --warnings=w -E UTF-8 -l "$page" 2>&1 >/dev/null)
    [ -z "$warnings" ] || fail "$(basename "$page"): $warnings"
    echo "$(basename "$page"): $(MANWIDTH=80 man -l "$page" 2>/dev/null | wc -l) lines, no warnings"
done

step "done: $(ls "$out"/*.deb)"
