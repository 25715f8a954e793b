#!/usr/bin/env bash
# The built program in a real terminal: the overview and the prompt in yellow on blue,
# Alt-D, CS and Q; exit code 0, a 42-line configuration file, the terminal restored.
set -u
. "$(dirname "$0")/lib.bash"
e2e_start "$1"

e2e_wait_row 24 "ZORVAT>"
e2e_screen | sed -n 4p | grep -qF "╔═══════════════GENERAL" || e2e_fail "the overview box is not drawn"
row24=$(e2e_screen -e | sed -n 24p)
case "$row24" in
  *ZORVAT*) ;;
  *) e2e_fail "no prompt on row 24" ;;
esac
sgr=$(printf '%s' "${row24%%ZORVAT*}" | grep -o $'\e\\[[0-9;]*m' | tr -d '\033[m' | tr ';' '\n')
echo "$sgr" | grep -qx 93 || e2e_fail "the prompt is not yellow: $(printf '%q' "$row24")"
echo "$sgr" | grep -qx 44 || e2e_fail "the prompt is not on blue: $(printf '%q' "$row24")"

e2e_keys M-d
e2e_wait_for "ZORVAT> Displaymode set to signs."
e2e_keys c s
e2e_wait_row 1 "ZORVAT>"
e2e_keys q
status=$(e2e_wait_exit)
[ "$status" = 0 ] || e2e_fail "exit code $status, stderr: $(cat "$E2E_DIR/stderr")"
cmp -s "$E2E_DIR/stty.before" "$E2E_DIR/stty.after" || e2e_fail "the terminal settings were not restored"

cfg=$E2E_DIR/work/zorvat.cfg
[ -f "$cfg" ] || e2e_fail "no zorvat.cfg written"
[ "$(wc -l < "$cfg")" -eq 42 ] || e2e_fail "zorvat.cfg has $(wc -l < "$cfg") lines"
[ "$(grep -c $'\r$' "$cfg")" -eq 42 ] || e2e_fail "zorvat.cfg lines do not end in CR LF"
[ "$(head -c 3 "$cfg")" = $'1\r\n' ] || e2e_fail "zorvat.cfg does not keep the display mode"
echo "PASS"
