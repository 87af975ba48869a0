#!/usr/bin/env bash
# A first run as a user makes it, by keyboard alone: the locations wizard
# (Next, Finish), Yes to a new database, a new car with Ctrl+I, the window
# closed with Alt+F4. Then the database is read back with vandor-cli.
. "$(dirname "$0")/vdrE2E.sh"

e2e_first_run
e2e_keys ctrl+i           # Insert car on the Cars node
sleep 0.5

import -window root "$E2E_DIR/shot.png"
colours=$(convert "$E2E_DIR/shot.png" -format %k info:)
[ "$colours" -gt 16 ] || fail "the screenshot is blank ($colours colours)"
[ -n "${VANDOR_E2E_SHOT:-}" ] && cp "$E2E_DIR/shot.png" "$VANDOR_E2E_SHOT"

e2e_alt_f4
e2e_wait_exit

db="$E2E_DIR/prog/Vandor.dat"
[ -f "$db" ] || fail "no database"
cars=$("$VANDOR_CLI" cars "$db")
[ "$(echo "$cars" | wc -l)" -eq 1 ] || fail "expected one car, got: $cars"
grep -q "DBPath={AppPath}/Vandor.dat" "$E2E_DIR/prog/Vandor.ini" || fail "the .ini does not name the database"
grep -q "  DB closed" "$E2E_DIR/prog/vdrLog.txt" || fail "shut-down did not finish"
"$VANDOR_CLI" check "$db" || fail "the database does not check out"
echo "first run: passed"
