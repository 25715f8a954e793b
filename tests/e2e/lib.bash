# Helpers for end-to-end runs of the built program in a private tmux server.
# A test sources this file, calls e2e_start, sends keys, and waits for the screen.

e2e_fail() {
  echo "FAIL: $*" >&2
  if [ -n "${E2E_SOCK:-}" ]; then
    echo "--- screen:" >&2
    tmux -S "$E2E_SOCK" capture-pane -p -t e2e 2>/dev/null >&2 || true
  fi
  exit 1
}

e2e_cleanup() {
  [ -n "${E2E_SOCK:-}" ] && tmux -S "$E2E_SOCK" kill-server 2>/dev/null
  [ -n "${E2E_DIR:-}" ] && rm -rf "$E2E_DIR"
  return 0
}

# e2e_start BINARY [ARGS...]: runs the program in an 80 x 25 pane inside a fresh, empty
# directory; the wrapper records the terminal settings before and after and the exit code.
# A test that defines the function e2e_prepare has it called in that directory first.
e2e_start() {
  command -v tmux >/dev/null || e2e_fail "tmux is not installed (scripts/setup installs it)"
  E2E_DIR=$(mktemp -d)
  E2E_SOCK=$E2E_DIR/tmux.sock
  trap e2e_cleanup EXIT
  mkdir "$E2E_DIR/work"
  if declare -F e2e_prepare >/dev/null; then
    (cd "$E2E_DIR/work" && e2e_prepare) || e2e_fail "the preparation failed"
  fi
  local bin=$1
  shift
  cat >"$E2E_DIR/wrapper.sh" <<WRAP
cd "$E2E_DIR/work"
stty -g > "$E2E_DIR/stty.before"
"$bin" $* 2> "$E2E_DIR/stderr"
echo \$? > "$E2E_DIR/status"
stty -g > "$E2E_DIR/stty.after"
WRAP
  tmux -S "$E2E_SOCK" -f /dev/null new-session -d -s e2e -x 80 -y 25 \
    "TERM=xterm-256color bash $E2E_DIR/wrapper.sh"
  tmux -S "$E2E_SOCK" set-option -t e2e remain-on-exit on >/dev/null
}

e2e_screen() { tmux -S "$E2E_SOCK" capture-pane -p -t e2e "$@"; }

e2e_keys() { tmux -S "$E2E_SOCK" send-keys -t e2e "$@"; }

# e2e_wait_for TEXT: polls the screen until TEXT appears (at most 10 seconds).
e2e_wait_for() {
  local i
  for i in $(seq 1 200); do
    e2e_screen | grep -qF -- "$1" && return 0
    sleep 0.05
  done
  e2e_fail "the screen never showed: $1"
}

# e2e_wait_row N TEXT: polls until row N (1-based) starts with TEXT.
e2e_wait_row() {
  local i
  for i in $(seq 1 200); do
    [ "$(e2e_screen | sed -n "${1}p")" = "$2" ] && return 0
    sleep 0.05
  done
  e2e_fail "row $1 never read: $2"
}

# e2e_wait_exit: polls until the program has ended; prints its exit code.
e2e_wait_exit() {
  local i
  for i in $(seq 1 200); do
    if [ -s "$E2E_DIR/stty.after" ]; then
      cat "$E2E_DIR/status"
      return 0
    fi
    sleep 0.05
  done
  e2e_fail "the program did not end"
}
