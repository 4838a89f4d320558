#!/usr/bin/env bash
# Generates the locale named as the argument (for example ja_JP.UTF-8) unless
# the system has it already. ./test runs the suite once more under it, so that
# a test that relies on English system texts or a particular locale shows.
# Needs the locales package (scripts/packages.txt); quiet when nothing is to do.
set -euo pipefail

name="${1:?usage: ensure-locale.sh LANGUAGE_TERRITORY.CHARSET}"
lang="${name%%.*}"
charset="${name#*.}"

# "locale -a" spells ja_JP.UTF-8 as ja_JP.utf8.
spelled() { echo "$1" | tr '[:upper:]' '[:lower:]' | sed 's/utf-8$/utf8/'; }
if locale -a 2>/dev/null | tr '[:upper:]' '[:lower:]' | grep -qxF "$(spelled "$name")"; then
    exit 0
fi

echo "Generating the locale $name" >&2
sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
    command -v sudo >/dev/null || { echo "Need root or sudo to generate $name" >&2; exit 1; }
    sudo_cmd=(sudo)
fi
if [ -f /etc/locale.gen ] && command -v locale-gen >/dev/null; then
    # Enabled in /etc/locale.gen, so that a later locale-gen keeps it.
    if grep -qE "^# *$name $charset\$" /etc/locale.gen; then
        "${sudo_cmd[@]}" sed -i -E "s/^# *($name $charset)\$/\\1/" /etc/locale.gen
    elif ! grep -qE "^$name $charset\$" /etc/locale.gen; then
        echo "$name $charset" | "${sudo_cmd[@]}" tee -a /etc/locale.gen >/dev/null
    fi
    "${sudo_cmd[@]}" locale-gen >/dev/null
else
    "${sudo_cmd[@]}" localedef -i "$lang" -c -f "$charset" -A /usr/share/locale/locale.alias "$name"
fi
