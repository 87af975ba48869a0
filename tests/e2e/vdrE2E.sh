# Sourced by the end-to-end tests: a private X server, a program folder of
# the test's own with a copy of Vandor, and keyboard helpers.
set -euo pipefail

VANDOR_EXE="$1"
VANDOR_CLI="$2"
VANDOR_LANG="$3"
E2E_DIR="$(mktemp -d /tmp/vandor-e2e.XXXXXX)"
E2E_PIDS=()

e2e_cleanup() {
    for pid in "${E2E_PIDS[@]}"; do kill "$pid" 2>/dev/null || true; done
    rm -rf "$E2E_DIR"
}
trap e2e_cleanup EXIT

fail() { echo "FAILED: $*" >&2; [ -f "$E2E_DIR/prog/vdrLog.txt" ] && cat "$E2E_DIR/prog/vdrLog.txt" >&2; exit 1; }

# An X server on the first free display from 70 on.
e2e_start_x() {
    local fd_file="$E2E_DIR/display"
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$fd_file" >/dev/null 2>&1 &
    E2E_PIDS+=($!)
    for _ in $(seq 50); do [ -s "$fd_file" ] && break; sleep 0.1; done
    [ -s "$fd_file" ] || fail "Xvfb did not start"
    export DISPLAY=":$(head -n1 "$fd_file")"
    unset QT_QPA_PLATFORM
}

# The program runs from a folder of its own, so its .ini, log and database
# land there.
e2e_program_folder() {
    # A temporary folder of its own keeps the single-instance guard apart
    # from a copy of Vandor the user may be running.
    mkdir -p "$E2E_DIR/prog" "$E2E_DIR/tmp"
    export TMPDIR="$E2E_DIR/tmp"
    cp "$VANDOR_EXE" "$E2E_DIR/prog/Vandor"
    cp "$VANDOR_LANG" "$E2E_DIR/prog/vdrLang.dat"
}

e2e_start_vandor() {
    "$E2E_DIR/prog/Vandor" >"$E2E_DIR/vandor.out" 2>&1 &
    VANDOR_PID=$!
    E2E_PIDS+=($VANDOR_PID)
}

# Waits for a window whose title matches, and gives it the keyboard.
e2e_window() {
    local id=""
    for _ in $(seq 100); do
        id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n1 || true)
        [ -n "$id" ] && break
        sleep 0.1
    done
    [ -n "$id" ] || fail "no window titled '$1'"
    xdotool windowfocus --sync "$id" 2>/dev/null || xdotool windowfocus "$id"
    sleep 0.3
}

e2e_keys() { xdotool key --delay 80 "$@"; sleep 0.3; }

# A first start in a fresh program folder: both folders as proposed, Yes to
# the new database; the main window then has the keyboard.
e2e_first_run() {
    e2e_start_x
    e2e_program_folder
    e2e_start_vandor
    e2e_window "Vandor file locations"
    e2e_keys Return           # Next: the database folder is the program's
    e2e_keys Return           # Finish: so is the log folder
    e2e_window "^Vandor$"     # the question whether to create the database
    e2e_keys Return           # Yes
    e2e_window "^Vandor$"
}

e2e_alt_f4() { xdotool keydown alt key F4 keyup alt; }

e2e_wait_exit() {
    for _ in $(seq 100); do kill -0 "$VANDOR_PID" 2>/dev/null || break; sleep 0.1; done
    kill -0 "$VANDOR_PID" 2>/dev/null && fail "Vandor did not end"
    wait "$VANDOR_PID" || fail "Vandor ended with $?"
}
