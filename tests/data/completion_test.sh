#!/usr/bin/env bash
# bash completion of qelvarctl: what it offers must be what the program's own
# help lists, and file and device arguments complete to the right names.
#   completion_test.sh QELVARCTL COMPLETION-FILE
set -uo pipefail
qelvarctl=$1
completion=$2

source /usr/share/bash-completion/bash_completion
source "$completion"

failures=0

# The sorted completions for a command line; the cursor is at its end.
complete_line() {
    COMP_LINE=$1
    COMP_POINT=${#COMP_LINE}
    read -r -a COMP_WORDS <<<"$COMP_LINE"
    [[ $COMP_LINE == *' ' ]] && COMP_WORDS+=("")
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    COMPREPLY=()
    _qelvarctl qelvarctl "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}"
    printf '%s\n' "${COMPREPLY[@]}" | sort | tr '\n' ' ' | sed 's/ $//'
}

expect() {
    local line=$1 want=$2 got
    got=$(complete_line "$line")
    if [[ $got != "$want" ]]; then
        echo "FAIL: '$line'"$'\n'"  want: $want"$'\n'"  got:  $got"
        failures=$((failures + 1))
    fi
}

sorted() { tr ' ' '\n' | grep -v '^$' | sort -u | tr '\n' ' ' | sed 's/ $//'; }

# What the program's help names: the commands under "Commands:", the options
# under "Options:", and each command's options in its usage lines.
tool_help=$("$qelvarctl" --help)
commands=$(sed -n '/^Commands:/,/^$/p' <<<"$tool_help" | sed -n 's/^  \([a-z]\+\).*/\1/p' | sorted)
options=$(sed -n '/^Options:/,/^$/p' <<<"$tool_help" | grep -o '^  --[a-z0-9-]\+' | sorted)
[[ -n $commands && -n $options ]] || { echo "FAIL: no commands or options in --help"; exit 1; }

expect "qelvarctl " "$commands"
expect "qelvarctl --" "$options"
expect "qelvarctl --port /dev/ttyS0 --rs485 05 " "$commands"
for command in $commands; do
    usage=$("$qelvarctl" "$command" --help | sed '/^$/,$d')
    want=$( (grep -o -- '--[a-z-]\+' <<<"$usage"; echo --help) | sorted)
    expect "qelvarctl $command --" "$want"
done

expect "qelvarctl --model " "32 64"
expect "qelvarctl sim --model 6" "64"
expect "qelvarctl --rs485 1" "10 11 12 13 14 15 16 17 18 19"
expect "qelvarctl address 3" "30 31"
expect "qelvarctl send --pace " "ack timer"
expect "qelvarctl send --interval " ""
expect "qelvarctl scan --timeout " ""
expect "qelvarctl sim --switcher 0" "00 01 02 03 04 05 06 07 08 09"
expect "qelvarctl --rs485 05 serve --unit 1" "10 11 12 13 14 15 16 17 18 19"
expect "qelvarctl serve --listen 127" "127.0.0.1"

# Settings files: .dat in either case, and folders to descend into.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/backups"
touch "$work/a.dat" "$work/B.DAT" "$work/notes.txt" "$work/profile.ini"
cd "$work" || exit 1
expect "qelvarctl send " "B.DAT a.dat backups"
expect "qelvarctl read " "B.DAT a.dat backups"
expect "qelvarctl diff " "B.DAT a.dat backups"
expect "qelvarctl read out.dat --base " "B.DAT a.dat backups"
expect "qelvarctl sim --state " "B.DAT a.dat backups"
expect "qelvarctl serve --state-from " "B.DAT a.dat backups"
expect "qelvarctl serve --state " "B.DAT a.dat backups notes.txt profile.ini"
expect "qelvarctl --profile " "backups profile.ini"
# fleet: the inventory, its command, then backup's folder
expect "qelvarctl fleet " "backups profile.ini"
expect "qelvarctl fleet profile.ini " "backup check diff send"
expect "qelvarctl fleet profile.ini --only rack-1 --jobs 2 " "backup check diff send"
expect "qelvarctl fleet profile.ini backup " "backups"
expect "qelvarctl fleet profile.ini send --json " "B.DAT a.dat backups notes.txt profile.ini"
expect "qelvarctl diff --json " "B.DAT a.dat backups"
# titles: the verb, the settings file, then the spreadsheet
mkdir "$work/sheets"
touch "$work/sheets/a.csv" "$work/sheets/b.CSV" "$work/sheets/c.dat" "$work/sheets/d.txt"
cd "$work/sheets" || exit 1
expect "qelvarctl titles " "export import"
expect "qelvarctl titles import " "c.dat"
expect "qelvarctl titles import c.dat " "a.csv b.CSV"
expect "qelvarctl titles export --out x c.dat " "a.csv b.CSV"
expect "qelvarctl titles import c.dat a.csv --out " "c.dat"
expect "qelvarctl titles import c.dat a.csv --skip-bad " ""
cd "$work" || exit 1

# Devices: the pseudo-terminals exist wherever the tests run; a path that
# names none of the usual devices completes as a file.
pts=$(compgen -G '/dev/pts/[0-9]*' | sorted)
[[ -n $pts ]] && expect "qelvarctl --port /dev/pts/" "$pts"
expect "qelvarctl --port ./backups/" ""
expect "qelvarctl --port ./b" "./backups"
expect "qelvarctl --port /dev/ttyUSB" "$(compgen -G '/dev/ttyUSB*' | sorted)"

if ((failures > 0)); then
    echo "$failures completion checks failed"
    exit 1
fi
echo "all completion checks passed"
