# Sourced by the end-to-end scripts: a virtual display of their own, the viewer started on it,
# and the waits, keys and checks they share. Each step waits for what it must bring about, for
# a generous time, so that a loaded machine only makes a run slower.
# Needs SCENOVA_BUILD_DIR and SCENOVA_SOURCE_DIR (set by CTest).
set -euo pipefail
build=${SCENOVA_BUILD_DIR:?}
top=${SCENOVA_SOURCE_DIR:?}
shots="$build/e2e-screenshots"
run=""
viewer=""
xvfb=""
failure_shot=""

e2e_cleanup() {
  [ -n "$viewer" ] && kill "$viewer" 2>/dev/null || true
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null || true
  if [ -n "$run" ]; then
    chmod -R u+w "$run" 2>/dev/null || true
    rm -rf "$run"
  fi
}
trap e2e_cleanup EXIT

fail() {
  echo "e2e: $*" >&2
  if [ -n "$failure_shot" ] && import -window root "$failure_shot" 2>/dev/null; then
    echo "e2e: the screen is in $failure_shot" >&2
  fi
  exit 1
}

wait_for() {  # wait_for SECONDS COMMAND...: until the command succeeds, for at most SECONDS
  local deadline=$((SECONDS + $1)); shift
  until "$@"; do
    ((SECONDS < deadline)) || return 1
    sleep 0.2
  done
}

# e2e_begin NAME: a scratch folder in the build tree ($run) and a display of its own, so that
# windows other tests show at the same time neither take the keyboard nor receive its keys.
# A failure leaves the screen in build/e2e-screenshots/NAME-failure.png.
e2e_begin() {
  mkdir -p "$shots"
  run=$(mktemp -d "$build/e2e-$1.XXXXXX")
  failure_shot="$shots/$1-failure.png"
  Xvfb -displayfd 9 -screen 0 1280x800x24 -nolisten tcp 9>"$run/display" >/dev/null 2>&1 &
  xvfb=$!
  displayed() { [ -s "$run/display" ]; }
  wait_for 30 displayed || { echo "e2e: Xvfb did not start" >&2; exit 1; }
  export DISPLAY=":$(head -n 1 "$run/display")"
}

winpath() { echo "Z:$(echo "$1" | tr / '\\')"; }

# scenova-probe, inside the Wine desktop named $desktop when the viewer runs in one.
desktop=""
probe() { "$top/scripts/wine" "$build/bin/scenova-probe.exe" ${desktop:+--desktop "$desktop"} "$@" </dev/null 2>/dev/null; }

# Only this program's windows count.
own_windows() { xdotool search --all --onlyvisible --pid "$viewer" --name "$1" 2>/dev/null; }
key() { xdotool key --window "$1" "$2" 2>/dev/null || true; }  # what it brings about is waited for

# start_viewer PROGRAM_FILE: starts the viewer ($viewer, its Windows path in $program) and
# waits for its main window ($window). Once in a full test run on a loaded machine the viewer
# showed no window at all for 90 s (it shows it within seconds otherwise): it is then ended and
# started once more, and what happened is said on standard error.
window=""
program=""
start_viewer() {
  local attempt started state
  program=$(winpath "$1")
  found_main() { window=$(own_windows '^SCENOVA$' | head -n 1); [ -n "$window" ]; }
  shown_or_ended() { found_main || ! kill -0 "$viewer" 2>/dev/null; }
  for attempt in 1 2; do
    started=$SECONDS
    "$top/scripts/wine" "$1" </dev/null >/dev/null 2>&1 &
    viewer=$!
    wait_for 120 shown_or_ended || true
    if [ -n "$window" ]; then
      echo "e2e: the main window appeared after $((SECONDS - started)) s"
      return 0
    fi
    state="still running"
    kill -0 "$viewer" 2>/dev/null || { wait "$viewer" && state="ended with exit code 0" || state="ended with exit code $?"; }
    echo "e2e: SCENOVA.exe showed no window within $((SECONDS - started)) s ($state)" >&2
    import -window root "$shots/$(basename "$failure_shot" -failure.png)-no-window-$attempt.png" 2>/dev/null || true
    kill "$viewer" 2>/dev/null || true
    wait "$viewer" 2>/dev/null || true
    viewer=""
  done
  fail "the main window did not appear"
}

# found_other [NAME...]: a visible window of the viewer with a name, other than the main
# window, the IME's and those named ($other).
other=""
found_other() {
  local w name skip excluded
  other=""
  for w in $(own_windows '.'); do
    [ "$w" = "$window" ] && continue
    name=$(xdotool getwindowname "$w" 2>/dev/null || true)
    case "$name" in "Default IME"|"") continue ;; esac
    skip=""
    for excluded in "$@"; do [ "$name" = "$excluded" ] && skip=1; done
    [ -n "$skip" ] || { other=$w; return 0; }
  done
  return 1
}

menu_open() { probe menu "$program" >/dev/null; }
# open_menu ACCELERATOR (alt+f, alt+s): again until the menu shows, as a new window may not
# take keys at first. The caller then sends the item's key, which goes only to an open menu
# and is never taken back with Escape: on a loaded machine the window it opens can take many
# seconds to show, and an Escape meant for the menu would cancel it.
open_menu() {
  local attempt
  for attempt in 1 2 3 4 5 6; do
    xdotool windowfocus "$window" 2>/dev/null || true
    key "$window" "$1"
    wait_for 30 menu_open && return 0
  done
  fail "the menu $1 did not open"
}

# The viewer's control with the keyboard focus as the probe reads it: "CLASS#ID<tab>TEXT".
focus=""
read_focus() { focus=$(probe focus "$program" | tr -d '\r'); }
focus_class_is() { read_focus && [[ "${focus%%$'\t'*}" == "$1#"* ]]; }
focus_text_is() { read_focus && [ "${focus#*$'\t'}" = "$1" ]; }

# The viewer's folder dialog as the probe reads it: "SELECTED<tab>FOCUS-CLASS#ID<tab>KIND".
dialog=""
read_dialog() { dialog=$(probe folder-dialog "$program" | tr -d '\r'); }
selected() { read_dialog && [ "${dialog%%$'\t'*}" = "$1" ]; }
focused() { read_dialog && [[ "$(cut -f 2 <<<"$dialog")" == "$1#"* ]]; }
kind_chosen() { read_dialog && [ "$(cut -f 3 <<<"$dialog")" = "$1" ]; }
dialog_changed() { local before=$dialog; read_dialog && [ "$dialog" != "$before" ]; }

# open_folder_dialog START [FINDER]: ファイル → 開く... until the folder dialog ($other, found
# by FINDER, found_other by default) has selected the folder it starts in, named START. Wine's
# dialog walks its tree to that folder comparing each level's modification time with what it
# listed: a folder on the way that changes meanwhile stops the walk for good, so another dialog
# is opened then.
open_folder_dialog() {
  local start=$1 finder=${2:-found_other} attempt
  for attempt in 1 2 3; do
    open_menu alt+f
    key "$window" o
    wait_for 120 "$finder" || fail "the folder dialog did not appear"
    wait_for 60 selected "$start" && return 0
    echo "e2e: the folder dialog stopped at \"${dialog%%$'\t'*}\" on its way to $start: once more" >&2
    key "$other" Escape
    dialog_closed() { ! "$finder"; }
    wait_for 60 dialog_closed || fail "the folder dialog did not close"
  done
  fail "the folder dialog did not select $start (${dialog:-no dialog})"
}

# walk_folder_tree BROWSER START STEP...: in the folder dialog BROWSER, which starts on the
# folder named START with its kind list holding the focus, back to the tree one control at a
# time, then down it: each STEP is "KEYS:FOLDER", the keys that go to FOLDER and the name the
# tree must select then.
walk_folder_tree() {
  local browser=$1 start=$2 step k
  shift 2
  wait_for 60 selected "$start" || fail "the folder dialog did not select $start (${dialog:-no dialog})"
  for _ in 1 2 3 4 5 6; do
    focused SysTreeView32 && break
    key "$browser" shift+Tab
    wait_for 30 dialog_changed || true
  done
  focused SysTreeView32 || fail "the folder tree did not take the focus (${dialog:-no dialog})"
  for step in "$@"; do
    for k in ${step%%:*}; do key "$browser" "$k"; done
    wait_for 30 selected "${step#*:}" || fail "the tree did not select ${step#*:} (${dialog:-no dialog})"
  done
}

# choose_kind BROWSER KIND: picks entry KIND (0 event, 1 image, 2 continuous) of the folder
# dialog's kind list, which holds the focus when the dialog opens.
choose_kind() {
  local browser=$1 want=$2 now
  wait_for 60 focused ComboBox || fail "the kind list does not have the focus (${dialog:-no dialog})"
  now=$(cut -f 3 <<<"$dialog")
  while [ "$now" -lt "$want" ]; do key "$browser" Down; now=$((now + 1)); done
  while [ "$now" -gt "$want" ]; do key "$browser" Up; now=$((now - 1)); done
  wait_for 30 kind_chosen "$want" || fail "the kind list did not choose entry $want (${dialog:-no dialog})"
}

caption=""
caption_is() { caption=$(xdotool getwindowname "$window" 2>/dev/null); [ "$caption" = "$1" ]; }

# exit_viewer [asks]: ファイル → 終了, confirming the question the viewer asks when a record is
# open; the viewer must end with exit code 0.
exit_viewer() {
  local asks=${1:-} question="" code=0
  found_question() { question=$(own_windows '^確認$' | head -n 1); [ -n "$question" ]; }
  open_menu alt+f
  key "$window" x
  if [ "$asks" = asks ]; then
    wait_for 120 found_question || fail "closing did not ask for confirmation"
    key "$question" Return
  fi
  ended() { ! kill -0 "$viewer" 2>/dev/null; }
  wait_for 120 ended || fail "SCENOVA.exe did not end"
  wait "$viewer" || code=$?
  viewer=""
  [ "$code" -eq 0 ] || fail "SCENOVA.exe ended with exit code $code"
}
