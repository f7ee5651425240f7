# Sourced by the scenova-cli scripts: the sample card and the program checked first, a scratch
# folder in the build tree removed at the end, and the way they run scenova-cli and report.
# Needs SCENOVA_BUILD_DIR and SCENOVA_SOURCE_DIR (set by CTest).
set -euo pipefail
build="${SCENOVA_BUILD_DIR:?}"
top="${SCENOVA_SOURCE_DIR:?}"
card="$build/sample-card"
cli="$build/bin/scenova-cli.exe"

fail() { echo "FAIL: $*" >&2; exit 1; }

[ -f "$cli" ] || fail "no $cli (build the scenova-cli target)"
[ -f "$card/EVENT/EVT00001/Video.dvt" ] || fail "no sample card in $card (build the sample-card target)"
work=$(mktemp -d "$build/cli-test.XXXXXX")
trap 'rm -rf "$work"' EXIT

# Wine's Z: drive is the Unix root.
win() { local p="$1"; echo "Z:${p//\//\\}"; }
run() { "$top/scripts/wine" "$cli" "$@"; }
# Runs the program and checks its exit status; its output goes to $work/stdout and $work/stderr.
expect_status() {
    local want="$1"; shift
    local got=0
    run "$@" >"$work/stdout" 2>"$work/stderr" || got=$?
    [ "$got" = "$want" ] || fail "scenova-cli $* exited $got, expected $want: $(cat "$work/stderr")"
}
