#!/usr/bin/env bash
# wine-run.sh PREFIX [--dlls FOLDER]... PROGRAM [ARGS...]: runs a Windows program under Wine,
# in a prefix of the build's own rather than the user's ~/.wine, which tests must neither need
# nor disturb, with the DLLs of each FOLDER found as if they were beside the program (the
# compiler's run-time, Qt's). The prefix is made at the first use; parallel test runs wait for
# each other while it is.
set -euo pipefail

prefix="$1"
shift
dll_path=""
while [ "${1:-}" = "--dlls" ]; do
    dll_path="${dll_path:+$dll_path;}Z:${2//\//\\}"
    shift 2
done
wine=""
for candidate in wine64 /usr/lib/wine/wine64 wine; do
    if command -v "$candidate" >/dev/null 2>&1; then
        wine="$(command -v "$candidate")"
        break
    fi
done
if [ -z "$wine" ]; then
    echo "wine-run.sh: Wine is missing (Debian: apt-get install wine64)" >&2
    exit 127
fi
wineserver="$(dirname "$wine")/wineserver"
[ -x "$wineserver" ] || wineserver="$(command -v wineserver)"

# No Mono or Gecko: nothing here needs them, and their installers would ask questions.
# Wine names Linux files in the locale's encoding: under the C locale a Windows name such as
# "relevé-Ω.dat" would have no Linux form at all.
export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" LC_ALL=C.UTF-8
export WINEPATH="$dll_path${WINEPATH:+;$WINEPATH}"
ready="$prefix/.ombrelis-ready"
if [ ! -f "$ready" ]; then
    mkdir -p "$(dirname "$prefix")"
    exec 9>"$prefix.lock"
    flock 9
    if [ ! -f "$ready" ]; then
        "$wine" wineboot -i >/dev/null 2>&1
        touch "$ready"
    fi
    flock -u 9
    exec 9>&-
fi
# Starting Wine's server and its services costs seconds; a test suite starts hundreds of
# programs, so the server is asked to stay a while after the last one ends (this returns at
# once when it is already running).
"$wineserver" -p30 >/dev/null 2>&1 || true
# Wine's server and services outlive the program and keep every descriptor it had: were
# they the caller's pipes, ctest would wait for their end before seeing the test end. The
# program writes to files instead, shown once it is done.
out="$(mktemp)"
err="$(mktemp)"
trap 'rm -f "$out" "$err"' EXIT
status=0
"$wine" "$@" </dev/null >"$out" 2>"$err" || status=$?
cat "$out"
cat "$err" >&2
exit "$status"
