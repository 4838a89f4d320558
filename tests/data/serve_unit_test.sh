#!/usr/bin/env bash
# The systemd unit of the network control server: it is a unit systemd
# accepts, and its command line, expanded with the example settings the way
# systemd expands it, is one qelvarctl takes: every link option one that
# qelvarctl lists, every serve option one that 'serve --help' lists.
#   serve_unit_test.sh QELVARCTL UNIT-FILE EXAMPLE-SETTINGS
set -uo pipefail
qelvarctl=$(realpath "$1")
unit=$2
settings=$3
instance=example

failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The value of a key in the unit (the last one given).
unit_value() { sed -n "s/^$1=//p" "$unit" | tail -n 1; }

exec_start=$(unit_value ExecStart)
[[ $exec_start == /usr/bin/qelvarctl\ * ]] || fail "ExecStart does not run /usr/bin/qelvarctl: $exec_start"
[[ $(unit_value EnvironmentFile) == "/etc/qelvar/%i.conf" ]] || fail "EnvironmentFile is not /etc/qelvar/%i.conf"
[[ $(unit_value StateDirectory) == qelvar ]] || fail "StateDirectory is not qelvar"
[[ $(unit_value SupplementaryGroups) == dialout ]] || fail "the service cannot open serial devices (dialout)"
# Serial devices must stay reachable: these would hide or fence them off.
for key in PrivateDevices DeviceAllow DevicePolicy ProtectClock; do
    [[ -z $(unit_value $key) ]] || fail "$key= would keep the service from its serial device"
done

# A unit systemd itself accepts, where systemd-analyze is at hand, with the
# program path made one that exists; else a check of its syntax.
if command -v systemd-analyze >/dev/null; then
    sed "s|/usr/bin/qelvarctl|$qelvarctl|" "$unit" >"$work/qelvar-serve@.service"
    if ! systemd-analyze verify --man=no "$work/qelvar-serve@.service" >"$work/verify.out" 2>&1; then
        fail "systemd-analyze verify: $(cat "$work/verify.out")"
    elif grep -q 'qelvar-serve@' "$work/verify.out"; then
        fail "systemd-analyze verify warns: $(grep 'qelvar-serve@' "$work/verify.out")"
    fi
else
    section=
    while IFS= read -r line; do
        [[ -z $line || $line == [#\;]* ]] && continue
        if [[ $line =~ ^\[(Unit|Service|Install)\]$ ]]; then
            section=${BASH_REMATCH[1]}
        elif [[ -z $section || ! $line =~ ^[A-Z][A-Za-z]+= ]]; then
            fail "not a unit line: $line"
        fi
    done <"$unit"
fi

# The settings as systemd reads an environment file: KEY=VALUE lines, the
# single or double quotes around a value dropped (a double-quoted one's
# backslash escapes taken), comments and blank lines skipped.
declare -A env
while IFS= read -r line; do
    [[ -z ${line// /} || $line == [#\;]* ]] && continue
    if [[ ! $line =~ ^([A-Za-z_][A-Za-z0-9_]*)=(.*)$ ]]; then
        fail "not a setting: $line"
        continue
    fi
    name=${BASH_REMATCH[1]} value=${BASH_REMATCH[2]}
    if [[ $value =~ ^\'(.*)\'$ ]]; then
        value=${BASH_REMATCH[1]}
    elif [[ $value =~ ^\"(.*)\"$ ]]; then
        value=$(sed 's/\\\(.\)/\1/g' <<<"${BASH_REMATCH[1]}")
    fi
    env[$name]=$value
done <"$settings"
[[ -n ${env[QELVAR_LINK]:-} ]] || fail "the example settings have no QELVAR_LINK"
[[ -n ${env[QELVAR_SERVE]+set} ]] || fail "the example settings have no QELVAR_SERVE"

# ExecStart as systemd expands it: %i is the instance, a word that is only
# $NAME becomes the value split at whitespace (quotes in it group words and
# are dropped, as xargs does it), ${NAME} stays within its word.
[[ $exec_start != *[\"\'\\]* ]] || fail "ExecStart quotes or escapes: the expansion here does not"
args=()
for word in $exec_start; do
    word=${word//%i/$instance}
    if [[ $word =~ ^\$([A-Za-z_][A-Za-z0-9_]*)$ ]]; then
        readarray -t split < <(xargs -r printf '%s\n' <<<"${env[${BASH_REMATCH[1]}]:-}")
        args+=("${split[@]}")
    else
        while [[ $word =~ \$\{([A-Za-z_][A-Za-z0-9_]*)\} ]]; do
            word=${word//"${BASH_REMATCH[0]}"/${env[${BASH_REMATCH[1]}]:-}}
        done
        args+=("$word")
    fi
done
printf "expanded:"; printf " %q" "${args[@]}"; echo

# Split at "serve": the link options before it, the command's after.
serve_at=-1
for i in "${!args[@]}"; do
    if [[ ${args[$i]} == serve ]]; then
        serve_at=$i
        break
    fi
done
if ((serve_at < 0)); then
    fail "no serve command in: ${args[*]}"
else
    link=("${args[@]:1:serve_at-1}")
    serve=("${args[@]:serve_at+1}")
    [[ " ${serve[*]} " == *" --state /var/lib/qelvar/$instance.state "* ]] ||
        fail "the state file is not /var/lib/qelvar/$instance.state in the state directory"

    # The link options are ones qelvarctl lists, taken with serve's help.
    tool_help=$("$qelvarctl" --help)
    for option in "${link[@]}"; do
        [[ $option != --* ]] || grep -q -- "^  $option " <<<"$tool_help" ||
            fail "qelvarctl lists no option $option"
    done
    if ! help=$("$qelvarctl" "${link[@]}" serve --help); then
        fail "qelvarctl ${link[*]} serve --help exits with status $?"
    fi
    if [[ $(head -n 1 <<<"$help") != "usage: qelvarctl serve"* ]]; then
        fail "qelvarctl ${link[*]} serve --help does not print serve's help"
    else
        for option in "${serve[@]}"; do
            [[ $option != --* ]] || grep -qE -- "(^|[[ ])$option([] =]|$)" <<<"$help" ||
                fail "'serve --help' lists no option $option"
        done
    fi
fi

if ((failures > 0)); then
    echo "$failures checks of the service unit failed"
    exit 1
fi
echo "all checks of the service unit passed"
