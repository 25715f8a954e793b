#!/usr/bin/env bash
# The built program in a real terminal: the overview and the prompt in yellow on blue,
# Alt-D, CS and Q; exit code 0, a 42-line configuration file, the terminal restored.
set -u
. "$(dirname "$0")/lib.bash"
e2e_start "$1"

e2e_wait_row 24 "ZORVAT>"
e2e_screen | sed -n 4p | grep -qF "╔═══════════════GENERAL" || e2e_fail "the overview box is not drawn"
# The colours in force where the prompt stands: the last SGR codes before it.
upto=$(e2e_screen -e | sed -n 1,24p)
upto=${upto%ZORVAT*}
fg=39 bg=49
for code in $(printf '%s' "$upto" | grep -o $'\e\\[[0-9;]*m' | tr -d '\033[m' | tr ';' ' '); do
  case "$code" in
    0) fg=39 bg=49 ;;
    3[0-9]|9[0-7]) fg=$code ;;
    4[0-9]|10[0-7]) bg=$code ;;
  esac
done
[ "$fg" = 93 ] || e2e_fail "the prompt is not yellow (foreground $fg)"
[ "$bg" = 44 ] || e2e_fail "the prompt is not on blue (background $bg)"

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
[ "$(head -n 1 "$cfg")" = $'1\r' ] || e2e_fail "zorvat.cfg does not keep the display mode"
echo "PASS"
