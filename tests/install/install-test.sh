#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks what a user's
# system gets: both programs (and that they run from there), the desktop
# entry (valid, naming an installed program and icon), the icon, the
# manual pages, the package documents, the translations; and that the
# sample book is not installed.
# Usage: install-test.sh BUILD_DIR SOURCE_DIR GUI(ON|OFF)
set -uo pipefail
build=$1 source=$2 gui=$3
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

if ! cmake --install "$build" --prefix "$prefix" >"$prefix.log" 2>&1; then
  cat "$prefix.log"; rm -f "$prefix.log"
  echo "FAIL: cmake --install"; exit 1
fi
rm -f "$prefix.log"

expect_file() { [ -f "$prefix/$1" ] || fail "missing $1"; }
expect_exec() { [ -x "$prefix/$1" ] && [ -f "$prefix/$1" ] || fail "missing or not executable: $1"; }
expect_gzip() { expect_file "$1"; gzip -t "$prefix/$1" 2>/dev/null || fail "not gzip: $1"; }

expect_exec bin/q7addr-cli
expect_gzip share/man/man1/q7addr-cli.1.gz
expect_file share/doc/q7addr/copyright
expect_gzip share/doc/q7addr/changelog.gz
"$prefix/bin/q7addr-cli" --version >/dev/null 2>&1 || fail "installed q7addr-cli --version does not run"
zcat "$prefix/share/man/man1/q7addr-cli.1.gz" | grep -q '^\.TH' || fail "q7addr-cli.1.gz is no manual page"

if [ "$gui" = ON ]; then
  expect_exec bin/q7addr
  expect_gzip share/man/man1/q7addr.1.gz
  desktop=share/applications/q7addr.desktop
  icon=share/icons/hicolor/scalable/apps/q7addr.svg
  expect_file "$desktop"
  expect_file "$icon"
  if [ -f "$prefix/$desktop" ]; then
    out=$(desktop-file-validate "$prefix/$desktop" 2>&1) || fail "desktop-file-validate: $out"
    [ -z "$out" ] || fail "desktop-file-validate says: $out"
    value() { sed -n "s/^$1=//p" "$prefix/$desktop" | head -n 1; }
    exec_prog=$(value Exec | cut -d' ' -f1)
    [ -x "$prefix/bin/$exec_prog" ] || fail "Exec=$exec_prog names no installed program"
    [ "$(value Icon)" = q7addr ] || fail "Icon= does not name the installed icon"
    [ "$(value Terminal)" = false ] || fail "Terminal= is not false"
    grep -q '^Categories=.*Office;.*ContactManagement;' "$prefix/$desktop" || fail "Categories"
    grep -q '^Name\[ja\]=' "$prefix/$desktop" || fail "no Japanese Name"
    grep -q '^Comment\[ja\]=' "$prefix/$desktop" || fail "no Japanese Comment"
  fi
  if [ -f "$prefix/$icon" ]; then
    rsvg-convert -w 48 -h 48 "$prefix/$icon" >/dev/null 2>&1 || fail "the icon does not render"
  fi
  # Every translation kept in the sources is installed, compiled.
  for ts in "$source"/translations/*.ts; do
    [ -e "$ts" ] || continue
    qm=$(basename "${ts%.ts}.qm")
    expect_file "share/q7addr/translations/$qm"
  done
fi

# The sample book is for trying the program out, not the user's data.
if find "$prefix" \( -iname '*.bab' -o -iname 'AddrBook' -o -iname 'Q7Addr.ini' \) | grep -q .; then
  fail "the sample book was installed"
fi

if [ "$failures" -gt 0 ]; then
  echo "$failures failed"; exit 1
fi
echo "install test: all checks passed"
