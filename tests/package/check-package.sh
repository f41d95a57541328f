#!/usr/bin/env bash
# Checks the Debian package that scripts/package wrote: lintian, the desktop entry and the
# AppStream metadata as packaged; then, as root, installs it, runs the installed programs (the
# desktop entry on the real-input tier's X server), asks xdg-mime which program opens race files,
# and removes it again, checking that no installed file is left.
# Usage: tests/package/check-package.sh [DEB]   (default build/package/tarmioview_*_amd64.deb)
set -uo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
built=("$root"/build/package/tarmioview_*_amd64.deb)
deb=${1:-${built[0]}}
out="$root/build/package-checks"
package=tarmioview
failures=0

pass() { echo "ok   $*"; }
fail() {
  echo "FAIL $*"
  failures=$((failures + 1))
}

if [ ! -f "$deb" ]; then
  echo "no package to check (scripts/package writes build/package/tarmioview_VERSION_amd64.deb)"
  exit 1
fi
version=$(dpkg-deb -f "$deb" Version)
rm -rf "$out"
mkdir -p "$out/contents"
dpkg-deb -x "$deb" "$out/contents"

# ---- the package as built
# Lintian refuses to fail on warnings only; the warnings left are listed in the report.
if lintian --fail-on error --display-info --tag-display-limit 0 "$deb" >"$out/lintian.txt" 2>&1; then
  pass "lintian reports no error ($(grep -c '^W:' "$out/lintian.txt") warnings)"
else
  fail "lintian reports errors"
fi
sed 's/^/    /' "$out/lintian.txt"

desktop_entry="$out/contents/usr/share/applications/tarmioview.desktop"
if desktop-file-validate "$desktop_entry" >"$out/desktop-file-validate.txt" 2>&1 &&
  [ ! -s "$out/desktop-file-validate.txt" ]; then
  pass "desktop-file-validate"
else
  fail "desktop-file-validate: $(cat "$out/desktop-file-validate.txt")"
fi

metainfo=("$out"/contents/usr/share/metainfo/*.metainfo.xml)
if appstreamcli validate --no-net "${metainfo[@]}" >"$out/appstream.txt" 2>&1; then
  pass "appstreamcli validate --no-net"
else
  fail "appstreamcli validate --no-net: $(cat "$out/appstream.txt")"
fi

# ---- installed
if [ "$(id -u)" -ne 0 ]; then
  echo "skip installing the package: dpkg -i needs root (this is uid $(id -u))"
  [ "$failures" -eq 0 ]
  exit
fi

if dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "ok installed"; then
  echo "removing the $package package installed before these checks"
  dpkg -r "$package" >/dev/null
fi
installed=""
# Whatever happens, the machine is left without the package.
trap '[ -n "$installed" ] && dpkg -r "$package" >/dev/null 2>&1' EXIT

if dpkg -i "$deb" >"$out/dpkg-install.txt" 2>&1; then
  installed=yes
  pass "dpkg -i installs $(basename "$deb")"
else
  fail "dpkg -i: $(tail -n5 "$out/dpkg-install.txt")"
  exit 1
fi
dpkg -L "$package" | sort >"$out/installed-paths.txt"
while read -r path; do [ -d "$path" ] || echo "$path"; done <"$out/installed-paths.txt" >"$out/installed-files.txt"

# A shell of a user: PATH without the build folders, a private home without file type choices.
user_home="$out/home"
mkdir -p "$user_home"
as_user() { env -i PATH=/usr/local/bin:/usr/bin:/bin HOME="$user_home" "$@"; }

printed=$(as_user tarmioview-cli --version 2>&1)
where=$(as_user sh -c 'command -v tarmioview-cli')
if [ "$where" = /usr/bin/tarmioview-cli ] && [ "$printed" = "tarmioview-cli $version" ]; then
  pass "tarmioview-cli --version from PATH prints '$printed'"
else
  fail "tarmioview-cli --version from PATH ($where) printed '$printed', not 'tarmioview-cli $version'"
fi

# Drawing goes through every part the package needs for it, without a display.
if as_user tarmioview-cli render -o "$out/installed-render.png" "$root/samples/sample-race.ra3" \
  >"$out/installed-render.txt" 2>&1 && [ "$(identify -format %m "$out/installed-render.png")" = PNG ]; then
  pass "the installed tarmioview-cli renders the sample race to a PNG"
else
  fail "the installed tarmioview-cli render: $(cat "$out/installed-render.txt")"
fi

manuals=$(as_user man -w tarmioview tarmioview-cli 2>&1 | tr '\n' ' ')
if [ "$manuals" = "/usr/share/man/man1/tarmioview.1.gz /usr/share/man/man1/tarmioview-cli.1.gz " ]; then
  pass "man finds tarmioview(1) and tarmioview-cli(1)"
else
  fail "man -w tarmioview tarmioview-cli: $manuals"
fi

# bash-completion loads a command's completion by the command's name when it is first completed.
loaded=$(as_user bash -c 'source /usr/share/bash-completion/bash_completion
  __load_completion tarmioview-cli && complete -p tarmioview-cli' 2>&1)
if [[ $loaded == "complete -F "*" tarmioview-cli" ]]; then
  pass "bash-completion loads the completion of tarmioview-cli"
else
  fail "bash-completion did not load a completion for tarmioview-cli: $loaded"
fi

# Which program a file manager offers: the file's type from the MIME database, then its default.
check_file_type() {
  local file=$1 expected_type=$2 type handler
  type=$(as_user xdg-mime query filetype "$file" 2>&1)
  handler=$(as_user xdg-mime query default "$type" 2>&1)
  if [ "$type" = "$expected_type" ] && [ "$handler" = "$3" ]; then
    pass "xdg-mime: $(basename "$file") is $type, opened by $handler"
  else
    fail "xdg-mime: $(basename "$file") is '$type' (not $expected_type), opened by '$handler' (not '$3')"
  fi
}
check_file_type "$root/samples/sample-race.ra3" application/x-gravik-race tarmioview.desktop
check_file_type "$root/samples/sample-race.zq3" application/x-lodrun-log tarmioview.desktop

if TARMIO_DESKTOP_ENTRY=/usr/share/applications/tarmioview.desktop TARMIO_DESKTOP_PROGRAM=/usr/bin/tarmioview \
  TARMIO_REALINPUT_ONLY='95-*' TARMIO_REALINPUT_OUT="$out/realinput" PATH=/usr/local/bin:/usr/bin:/bin \
  "$root/tests/realinput/run.sh" /usr/bin/tarmioview; then
  pass "the installed desktop entry starts the installed program (screenshot in $out/realinput/shots)"
else
  fail "the installed desktop entry did not start the installed program"
fi

if dpkg -r "$package" >"$out/dpkg-remove.txt" 2>&1; then
  installed=""
  left=$(while read -r path; do [ -e "$path" ] && echo "$path"; done <"$out/installed-files.txt")
  record=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null)
  if [ -z "$left" ] && { [ -z "$record" ] || [[ $record == *not-installed ]]; }; then
    pass "dpkg -r removes all $(wc -l <"$out/installed-files.txt") installed files"
  else
    fail "dpkg -r left ${left:-the record: $record}"
  fi
else
  fail "dpkg -r: $(tail -n5 "$out/dpkg-remove.txt")"
fi
handler=$(as_user xdg-mime query default application/x-gravik-race 2>&1)
if [ -z "$handler" ]; then
  pass "after removal no program opens race files"
else
  fail "after removal race files are opened by '$handler'"
fi

[ "$failures" -eq 0 ]
