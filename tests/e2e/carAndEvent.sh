#!/usr/bin/env bash
# An owner enters a car with a user-defined value and a maintenance event
# with two repairs and a note, by keyboard alone, and closes the program;
# the tables hold all of it. Each dialog gets the keyboard as a window
# manager would give it.
. "$(dirname "$0")/vdrE2E.sh"

e2e_first_run
e2e_keys ctrl+i                       # a new car; its year is selected
xdotool type --delay 40 "2004"; e2e_keys Tab
xdotool type --delay 40 "Ford"; e2e_keys Tab
xdotool type --delay 40 "Taurus"
e2e_keys alt+e e                      # Edit > User-defined fields...
e2e_window "User-defined fields"
e2e_keys Tab space                    # the Add button
e2e_window "Add a user-defined field"
xdotool type --delay 40 "Color"; e2e_keys Return
e2e_window "User-defined fields"
e2e_keys Return                       # OK
e2e_window "^Vandor - "
xdotool type --delay 40 "red"         # the new field's value is open for typing
e2e_keys Tab                          # the last row hands over to the tree
e2e_keys Down                         # the car's Maintenance node
e2e_keys ctrl+i                       # a new event
e2e_window "Add a maintenance event"
e2e_keys Tab
xdotool type --delay 40 "12345"; e2e_keys Tab
xdotool type --delay 40 "45.50"
e2e_keys alt+i
e2e_window "Choose a repair description"
xdotool type --delay 40 "Oil change"; e2e_keys Return
e2e_window "Add a maintenance event"
e2e_keys alt+i
e2e_window "Choose a repair description"
xdotool type --delay 40 "Air filter"; e2e_keys Return
e2e_window "Add a maintenance event"
e2e_keys alt+n
xdotool type --delay 30 "Done at the dealer"
e2e_keys alt+o                        # OK
e2e_window "^Vandor - "
e2e_alt_f4
e2e_wait_exit

db="$E2E_DIR/prog/Vandor.dat"
cars=$("$VANDOR_CLI" cars "$db")
[ "$cars" = "$(printf '0\t2004\tFord\tTaurus\t')" ] || fail "the car: $cars"
events=$("$VANDOR_CLI" events "$db" 0)
echo "$events" | grep -q "$(printf '\t12345\t45.50\tAir filter; Oil change\tDone at the dealer')" || fail "the event: $events"
"$VANDOR_CLI" cat "$db" TvdrUDF | grep -q "Color" || fail "the field"
"$VANDOR_CLI" cat "$db" TvdrCarsUDF | grep -q "red" || fail "the field's value"
"$VANDOR_CLI" check "$db" >/dev/null || fail "the database does not check out"
echo "car and event: passed"
