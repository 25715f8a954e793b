#!/usr/bin/env bash
# A zij named on the command line is read at start (GT with a range), two of its tables
# are saved with ST into a new zij, and Q quits at once. Both zijes are assembled here
# byte by byte from the block layout, so the new file is checked against the layout and not
# against the program's own writer.
set -u
. "$(dirname "$0")/lib.bash"

emit() { printf "$(printf '\\x%02x' "$@")"; }
le16() { local v=$(($1 & 0xFFFF)); emit $((v & 255)) $((v >> 8)); }
le32() {
  local v=$(($1 & 0xFFFFFFFF))
  emit $((v & 255)) $(((v >> 8) & 255)) $(((v >> 16) & 255)) $(((v >> 24) & 255))
}
zeros() { head -c "$1" /dev/zero; }
# sxg DEGREES PLACE...: 14 bytes
sxg() { le32 "$1"; shift; local n=0 d; for d in "$@"; do emit $((d & 255)); n=$((n + 1)); done; zeros $((10 - n)); }
CHECK=$((0x80000030))
# first NAME ERA-CODE MPD-DEGREES MPD-PLACES(3) PERIOD OFFSET NUMVAL NUMSEX EPOCH STEP GIVEN
#       CRSET-BYTE0 TOTNUMVAL NUMBLOCKS: a first block with at most one subtable
first() {
  local name=$1 era=$2 d=$3 m1=$4 m2=$5 m3=$6 period=$7 p
  shift 7
  emit 1 ${#name}; printf '%s' "$name"; zeros $((60 - ${#name}))
  sxg "$d" "$m1" "$m2" "$m3"
  emit "$era"; zeros 4
  for p in 1 2 3 4 5 6 7 8 9 10; do
    if [ "$p" = "$period" ]; then le16 "$1"; le16 "$2"; le16 "$3"; le16 "$4"; le16 "$5"; emit "$6"
    else zeros 11; fi
  done
  emit "$7"; zeros 25
  le16 "$8"; le16 "$9"; le32 "$CHECK"; zeros 4
}
value_start() { emit 0; }
value_end() { zeros $((14 * $1)); le32 "$CHECK"; }

sun() {  # days, two values
  first Sun 65 0 59 8 20 4  0 2 2 0 1 0  0 2 2
  value_start; sxg 0; sxg 0 59 8; sxg 1 58 17; value_end 13
}
moon() {  # collected years with an epoch value, a correction at index 1
  first Moon 65 13 10 35 2 10  0 3 2 601 30 1  2 3 2
  value_start; sxg 100 1 2; sxg 110 2 3; sxg 110 2 4; sxg 120 3 4; sxg 130 4 5; value_end 11
}
empty() {  # no values: files of old carry NUMBLOCKS 2, the program writes 1
  first Empty 65 0 0 0 0 0  0 0 0 0 0 0  0 0 "$1"
}

e2e_prepare() {
  { sun; moon; empty 2; } > SRC.ZVT
  { moon; empty 1; } > ../expected.ZVT
  [ "$(stat -c %s SRC.ZVT)" = $((5 * 229)) ] && [ "$(stat -c %s ../expected.ZVT)" = $((3 * 229)) ]
}
e2e_start "$1" SRC

e2e_wait_for "Read which tables from $E2E_DIR/work/SRC.ZVT?"
e2e_screen | grep -qF " 3   Empty" || e2e_fail "the tables of the zij are not listed"
e2e_keys 2-3 Enter
e2e_wait_for "The numbers of these tables are 1 to 2."
e2e_wait_row 25 "ZORVAT>"
e2e_keys s t
e2e_wait_for "Save which tables?"
e2e_keys Enter
e2e_wait_for "Save in which zij?"
e2e_keys N E W Enter
e2e_wait_for "2 tables were saved in the file $E2E_DIR/work/NEW.ZVT."
e2e_keys q
status=$(e2e_wait_exit)
[ "$status" = 0 ] || e2e_fail "exit code $status, stderr: $(cat "$E2E_DIR/stderr")"
cmp "$E2E_DIR/expected.ZVT" "$E2E_DIR/work/NEW.ZVT" || e2e_fail "NEW.ZVT is not what the layout prescribes"
cmp -s <({ sun; moon; empty 2; }) "$E2E_DIR/work/SRC.ZVT" || e2e_fail "the source zij changed"
echo "PASS"
