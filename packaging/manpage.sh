#!/usr/bin/env bash
# manpage.sh QUILLFERN VERSION: writes the tool's man page to standard output,
# made from its own --help texts so the two never disagree. The commands are
# the ones its --help lists under "commands:".
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/reproducible.sh"
tool=$1 version=$2

# Help text as troff: kept as it stands, with backslashes and leading dots
# and quotes made literal.
verbatim() {
  echo '.nf'
  sed -e 's/\\/\\e/g' -e "s/^\([.']\)/\\\\\&\1/"
  echo '.fi'
}

help=$("$tool" --help)
summary=$(sed -n '1s/ - .*//p' <<<"$help")
commands=$(sed -n '/^commands:/,/^$/s/^  \([a-z][a-z-]*\)  .*/\1/p' <<<"$help")
[ -n "$commands" ] || { echo "manpage: no commands in '$tool --help'" >&2; exit 1; }

echo ".TH QUILLFERN 1 \"$(date -u -d "@$SOURCE_DATE_EPOCH" +%Y-%m-%d)\" \"quillfern $version\" \"User Commands\""
echo '.SH NAME'
echo "quillfern \\- $summary command-line tool"
echo '.SH SYNOPSIS'
for c in $commands; do echo ".B quillfern $c"; echo '.RI [ options ]'; echo '.br'; done
echo '.SH DESCRIPTION'
verbatim <<<"$help"
echo '.SH COMMANDS'
for c in $commands; do
  echo ".SS $c"
  "$tool" "$c" --help | verbatim
done
