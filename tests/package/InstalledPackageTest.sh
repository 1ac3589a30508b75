#!/usr/bin/env bash
# Builds the Debian package and runs it the way an ordinary user of an
# installed system would: unpacked into a temporary root, the programs'
# folder read-only, HOME a fresh folder.
#   InstalledPackageTest.sh BUILD_DIR EXPECTED_FILES
set -euo pipefail
build=$1
expected=$2
work=$(mktemp -d)
trap 'chmod -R u+w "$work"; rm -rf "$work"' EXIT
chmod 755 "$work"
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

# Root may write anywhere: the user's runs go through an unprivileged account.
as_user() { "$@"; }
if [ "$(id -u)" -eq 0 ]; then
  as_user() { setpriv --reuid=nobody --regid=nogroup --clear-groups -- "$@"; }
fi
# A folder the user owns.
user_folder() {
  mkdir -p "$1"
  [ "$(id -u)" -eq 0 ] && chown nobody:nogroup "$1"
  return 0
}

echo "== building the package"
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1 ||
  { cat "$work/cpack.log" >&2; exit 1; }
deb=$(ls "$work"/out/quorvel_*.deb)

echo "== file list"
dpkg-deb -c "$deb" | grep -v '^d' | sed -E 's/^([^ ]+ +){5}//' | sort >"$work/files"
sort "$expected" | diff -u - "$work/files" || fail "the package's files differ from $expected"

echo "== lintian"
lintian --fail-on error "$deb" >"$work/lintian" 2>&1 || fail "lintian reports errors"
grep -v 'running with root privileges' "$work/lintian" || true

root=$work/root
dpkg -x "$deb" "$root"
chmod -R a-w "$root/usr/lib/quorvel"
lib=$root/usr/lib/quorvel
quorvelcl=$root/usr/bin/quorvelcl

echo "== menu entries, icons, manual pages"
for entry in "$root"/usr/share/applications/*.desktop; do
  desktop-file-validate "$entry" || fail "$entry is not a valid desktop entry"
  command=$(sed -n 's/^Exec=//p' "$entry")
  [ -x "$root/usr/bin/$command" ] || fail "$entry starts $command, which the package lacks"
done
for icon in "$root"/usr/share/icons/hicolor/*/apps/quorvel.png; do
  size=$(basename "$(dirname "$(dirname "$icon")")")
  [ "$(identify -format '%wx%h' "$icon")" = "$size" ] || fail "$icon is not $size"
done
for page in "$root"/usr/share/man/man1/*.1.gz; do
  warnings=$(MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null)
  [ -z "$warnings" ] || fail "$page renders with warnings: $warnings"
  MANWIDTH=80 man -l "$page" 2>/dev/null | grep -q 'NAME' || fail "$page renders empty"
done

# Runs a command as the user with only HOME, PATH and the given variables
# (NAME=VALUE words before the command); its console goes to $work/console.
run_cl() {
  local home=$1
  shift
  as_user env -i PATH=/usr/bin:/bin HOME="$home" "$@" >"$work/console" 2>&1
}

echo "== export and import, log in the state folder"
home=$work/home
user_folder "$home"
as_user "$lib/esbsim" demo "$home/source.db" >/dev/null
printf 'server\tessdemo\nuser\tdemo\tdemo\t275\napp\tCopy\tloaded\ndb\tCopy\tBasic\n' >"$work/empty.txt"
chmod 644 "$work/empty.txt"
as_user "$lib/esbsim" load "$home/target.db" "$work/empty.txt"
run_cl "$home" ESBSIM_STORE="$home/source.db" "$quorvelcl" -s essdemo -a Sample -d Basic \
  -i demo -p demo -f "$home/basic.txt" -t export || fail "export ended with status $?"
log=$home/.local/state/quorvel/Log.txt
[ -s "$home/basic.txt" ] || fail "export wrote no filter file"
[ -f "$log" ] || fail "no run log in the state folder"
[ -e "$lib/Log.txt" ] && fail "a run log appeared in the read-only program folder"
run_cl "$home" ESBSIM_STORE="$home/target.db" "$quorvelcl" -s essdemo -a Copy -d Basic \
  -i demo -p demo -f "$home/basic.txt" -t import || fail "import ended with status $?"
run_cl "$home" ESBSIM_STORE="$home/target.db" "$quorvelcl" -s essdemo -a Copy -d Basic \
  -i demo -p demo -f "$home/copy.txt" -t export || fail "export of the copy ended with status $?"
# The application field differs by design; every other byte must come back.
cmp -s <(cut -f2- "$home/basic.txt") <(cut -f2- "$home/copy.txt") ||
  fail "the filters did not round-trip through an import"
[ "$(grep -c '^//Process starting at ' "$log" 2>/dev/null)" = 3 ] || fail "the run log lacks a block per run"
grep -v -e '^//' -e '^.$' "$log" >&2 && fail "the run log holds failure lines"
[ -s "$work/console" ] && { cat "$work/console" >&2; fail "a run wrote to the console"; }

echo "== a fresh user's default store is the demo server"
fresh=$work/fresh
user_folder "$fresh"
run_cl "$fresh" "$quorvelcl" -s essdemo -a Sample -d Basic -i demo -p demo \
  -f "$fresh/basic.txt" -t export || fail "export from the default store ended with status $?"
[ -f "$fresh/.local/share/essbase-sim/server.db" ] || fail "no default store was created"
cmp -s "$home/basic.txt" "$fresh/basic.txt" || fail "the default store is not the demo server"

echo "== no writable run log anywhere"
locked=$work/locked
mkdir -p "$locked"
chmod 555 "$locked"
status=0
run_cl "$locked" "$quorvelcl" -s essdemo -a Sample -d Basic -i demo -p demo \
  -f "$work/never.txt" -t export || status=$?
[ "$status" = 1 ] || fail "a run without a run log ended with status $status, not 1"
[ "$(wc -l <"$work/console")" = 1 ] || fail "a run without a run log did not say so in one line"
grep -q 'Log.txt' "$work/console" || fail "the console line does not name the run log"
[ -e "$work/never.txt" ] && fail "a run without a run log touched the server"

[ "$failures" -eq 0 ] || { echo "$failures check(s) failed" >&2; exit 1; }
echo "all checks passed"
