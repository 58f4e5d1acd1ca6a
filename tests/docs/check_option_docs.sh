#!/usr/bin/env bash
# Every option a program's --help prints is in its manual page and in its bash completion,
# and neither names an option the program does not print. Each cli command and each
# simulator mode is compared on its own, so an option offered to the wrong command shows.
# Usage: check_option_docs.sh DATA_DIR THEOLINK_CLI THEOLINK_SIM [THEOLINK]
set -uo pipefail
data=$1 cli=$2 sim=$3 window=${4:-}
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

option_pattern='--[a-z][a-z0-9-]*'
words() { tr ' ' '\n' <<<"$*" | sed '/^$/d' | sort -u | tr '\n' ' '; }

# The options a help text documents: those in its usage lines and those that start an
# indented line. An option only named in a sentence may belong to another command.
usage_lines() { awk '/^Usage:/ { u = 1 } u && !/^Usage:/ && !/^[ \t]/ { u = 0 } u'; }
usage_options() { usage_lines | grep -o -- "$option_pattern"; }
listed_options() { grep -oE -- "^[[:space:]]+$option_pattern" | tr -d ' \t'; }
documented() { { usage_options <<<"$1"; listed_options <<<"$1"; } | sort -u | tr '\n' ' '; }
mentioned() { grep -o -- "$option_pattern" <<<"$1" | sort -u | tr '\n' ' '; }

# The options a manual page names, read from its source (\- is a minus sign there); a line
# that names another of the programs (an example, a reference) may show that one's options.
man_options() {  # PAGE NAME
  local others
  others=$(printf '%s\n' theolink theolink-cli theolink-sim | grep -vx -- "$2" | paste -sd'|')
  sed -e 's/\\-/-/g' -e 's/\\f[BIRP]//g' "$1" | grep -vE -- "(^|[^a-z-])($others)([^a-z-]|\$)" |
    grep -o -- "$option_pattern" | sort -u | tr '\n' ' '
}

# What the completion script offers for the last of WORDS, as bash would ask it.
offered() {
  local script=$1
  shift
  bash --norc --noprofile -c '
    source "$1" || exit 1
    registered=$(complete -p "$2") || exit 1
    function=${registered#*-F }
    function=${function%% *}
    shift
    COMP_WORDS=("$@")
    COMP_CWORD=$(($# - 1))
    COMP_LINE="$*"
    COMP_POINT=${#COMP_LINE}
    "$function" "$1" "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}" 2>/dev/null
    printf "%s\n" "${COMPREPLY[@]}"
  ' _ "$script" "$@" || echo "(no completion for $1)"
}
offered_options() { offered "$@" | grep -E -- "^$option_pattern\$" | sort -u | tr '\n' ' '; }
offered_words() { offered "$@" | grep -vE -- '^-' | sed '/^$/d' | sort -u | tr '\n' ' '; }

same() {  # WHAT EXPECTED ACTUAL
  [ "$(words "$2")" = "$(words "$3")" ] || fail "$1: expected '$(words "$2")', got '$(words "$3")'"
}

# A program's texts together: every option its help names anywhere is documented somewhere,
# its manual page names each of them and nothing else.
check_program() {  # NAME ALL_HELP_TEXT ALL_DOCUMENTED
  local name=$1 text=$2 known option
  known=" $(words "$3 --help") "
  for option in $(mentioned "$text"); do
    [[ $known == *" $option "* ]] ||
      fail "$name: --help names $option only in a sentence, not as an option of its own"
  done
  local page="$data/man/$name.1"
  [ -f "$page" ] || { fail "$name has no manual page $page"; return; }
  local in_page=" $(man_options "$page" "$name") "
  for option in $3; do
    [[ $in_page == *" $option "* ]] || fail "$name.1 lacks $option"
  done
  for option in $in_page; do
    [[ $known == *" $option "* ]] || fail "$name.1 names $option, which $name --help does not print"
  done
}

help_of() {
  local text
  text=$("$@" 2>&1) || fail "'$*' ended with status $?"
  printf '%s' "$text"
}

# theolink-cli: its own options, then each command's; --lang goes with every command.
completion="$data/theolink-cli.bash-completion"
top=$(help_of "$cli" --help)
all_text=$top
all_documented=$(documented "$top")
same "theolink-cli: completion of the first word's options" "$all_documented --help" \
  "$(offered_options "$completion" theolink-cli -)"
global=$(words "$(documented "$top" | tr ' ' '\n' | grep -vx -e --help -e --version)")
commands=$(grep -oE '^  [a-z]+[ :]' <<<"$top" | tr -d ' :' | tr '\n' ' ')
[ -n "$commands" ] || fail "theolink-cli --help lists no commands"
same "theolink-cli: completion of the command" "$commands" "$(offered_words "$completion" theolink-cli '')"
for command in $commands; do
  text=$(help_of "$cli" "$command" --help)
  all_text+=$'\n'"$text"
  all_documented+=" $(documented "$text")"
  same "theolink-cli $command: completion of its options" "$(documented "$text") $global --help" \
    "$(offered_options "$completion" theolink-cli "$command" -)"
done
check_program theolink-cli "$all_text" "$(words "$all_documented")"

# theolink-sim: the first word is a mode or --version; every option follows the mode.
completion="$data/theolink-sim.bash-completion"
text=$(help_of "$sim" --help)
modes=$(usage_lines <<<"$text" | grep -oE 'theolink-sim [a-z]+' | cut -d' ' -f2 | sort -u | tr '\n' ' ')
[ -n "$modes" ] || fail "theolink-sim --help names no mode"
same "theolink-sim: completion of the first word's options" "$(usage_options <<<"$text") --help" \
  "$(offered_options "$completion" theolink-sim -)"
same "theolink-sim: completion of the mode" "$modes" "$(offered_words "$completion" theolink-sim '')"
for mode in $modes; do
  same "theolink-sim $mode: completion of its options" "$(listed_options <<<"$text")" \
    "$(offered_options "$completion" theolink-sim "$mode" FILE -)"
done
check_program theolink-sim "$text" "$(documented "$text")"

# theolink, the window program, when this build has it.
if [ -n "$window" ]; then
  completion="$data/theolink.bash-completion"
  text=$(help_of "$window" --help)
  same "theolink: completion of its options" "$(documented "$text") --help" \
    "$(offered_options "$completion" theolink -)"
  check_program theolink "$text" "$(documented "$text")"
fi

if [ "$failures" -ne 0 ]; then
  echo "$failures option documentation check(s) failed" >&2
  exit 1
fi
echo "every option of --help is in the manual pages and the completions, and nothing else"
