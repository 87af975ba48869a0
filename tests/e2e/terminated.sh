#!/usr/bin/env bash
# A session that ends (SIGTERM) closes Vandor as the user would: what was
# typed into the open car view reaches the database.
. "$(dirname "$0")/vdrE2E.sh"

e2e_first_run
e2e_keys ctrl+i
xdotool type --delay 60 "1998"
e2e_keys Tab
xdotool type --delay 60 "Volvo"
sleep 0.3
kill -TERM "$VANDOR_PID"
e2e_wait_exit

cars=$("$VANDOR_CLI" cars "$E2E_DIR/prog/Vandor.dat")
echo "$cars" | grep -q "1998.*Volvo" || fail "the typed car was lost: $cars"
grep -q "  DB closed" "$E2E_DIR/prog/vdrLog.txt" || fail "shut-down did not finish"
echo "terminated: passed"
