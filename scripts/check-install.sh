#!/usr/bin/env bash
# Checks what `cmake --install` puts under a prefix.
#
#   scripts/check-install.sh BUILD_DIR desktop   the desktop entry and the AppStream
#       metainfo pass desktop-file-validate and appstreamcli (skipped, exit 77, when
#       those tools are not installed); the icon is there at every size, the two
#       commands and their manual pages too
#   scripts/check-install.sh BUILD_DIR readonly  the installed program, its folder made
#       read-only, starts up and records its version in the user's data folder, and
#       nothing under the prefix changes
#   scripts/check-install.sh BUILD_DIR uninstall  `make uninstall` after installing
#       twice leaves the prefix exactly as it was before and touches nothing in the
#       current folder; a folder holding a file of the user's stays
#   scripts/check-install.sh BUILD_DIR lintian   the Debian package passes lintian
#       with no error and no warning (skipped, exit 77, when lintian or cpack is not
#       installed)
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "$1" && pwd)
mode=$2

# Installing from the build folder rewrites its record of the last installation
# (install_manifest.txt, install_folders.txt), which `make uninstall` reads: the
# check runs inside keep-install-record.sh, which puts the user's own record back.
if [ -z "${TARVO_INSTALL_RECORD_KEPT:-}" ]; then
  TARVO_INSTALL_RECORD_KEPT=1 exec "$here/keep-install-record.sh" "$build" "$0" "$@"
fi
work=$(mktemp -d)
prefix=$work/usr
trap 'chmod -R u+w "$work" 2>/dev/null; rm -rf "$work"' EXIT

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

install_to_prefix() {
  cmake --install "$build" --prefix "$prefix" >/dev/null
}

# Every folder, file and link under a folder, by kind and name.
tree_of() {
  (cd "$1" && find . -printf '%y %p\n' | LC_ALL=C sort)
}

case $mode in
desktop)
  install_to_prefix
  for size in 16 22 24 32 48 64 128 256; do
    [ -s "$prefix/share/icons/hicolor/${size}x${size}/apps/tarvo2.png" ] ||
      fail "no ${size}x${size} icon"
  done
  [ -x "$prefix/bin/tarvo2" ] || fail "bin/tarvo2 does not lead to the program"
  [ -x "$prefix/bin/tarvo2-update" ] || fail "bin/tarvo2-update does not lead to the update checker"
  for page in tarvo2 tarvo2-update; do
    [ -s "$prefix/share/man/man1/$page.1.gz" ] || fail "no manual page $page(1)"
  done
  if ! command -v desktop-file-validate >/dev/null || ! command -v appstreamcli >/dev/null; then
    echo "SKIP: desktop-file-validate or appstreamcli is not installed"
    exit 77
  fi
  desktop-file-validate "$prefix/share/applications/tarvo2.desktop"
  for f in "$prefix"/share/metainfo/*.metainfo.xml; do
    appstreamcli validate --no-net "$f"
  done
  appstreamcli validate-tree --no-net "$prefix"
  ;;
readonly)
  install_to_prefix
  chmod -R a-w "$prefix"
  before=$(cd "$prefix" && find . -type f -exec sha256sum {} + | sort)
  home=$work/home
  mkdir -p "$home"
  # The start-up probe ends the program when the welcome window shows.
  env -i PATH="$PATH" HOME="$home" XDG_DATA_HOME="$home/.local/share" \
    QT_QPA_PLATFORM=offscreen TARVO_MEASURE_STARTUP=1 \
    timeout 60 "$prefix/bin/tarvo2" >"$work/out.txt" 2>&1 ||
    fail "the installed program did not start: $(cat "$work/out.txt")"
  grep -q '^welcome-painted' "$work/out.txt" || fail "no welcome window: $(cat "$work/out.txt")"
  versions=$home/.local/share/TARVO2/Data/versions.ini
  [ -f "$versions" ] || fail "no versions file in the user's data folder"
  grep -Eq '^program=[0-9]+\.[0-9]+\.[0-9]+' "$versions" || fail "no program version in $versions"
  after=$(cd "$prefix" && find . -type f -exec sha256sum {} + | sort)
  [ "$before" = "$after" ] || fail "files under the prefix changed"
  ;;
uninstall)
  # Folders that were there before: one empty, one holding a file of the user's.
  mkdir -p "$prefix/bin" "$prefix/share/applications"
  echo "the user's own" >"$prefix/share/notes.txt"
  before=$(tree_of "$prefix")
  # The current folder holds files named like the last words of installed names
  # with blanks ("Wood Elf.JPG", "The Lady.txt"): a removal that split names at
  # blanks would take them for its own.
  mkdir "$work/cwd"
  for f in Elf Elf.JPG Lady.txt Hunter.M3T Names; do echo keep >"$work/cwd/$f"; done
  install_to_prefix
  install_to_prefix
  grep -q ' ' "$build/install_manifest.txt" || fail "no installed name with a blank to check"
  (cd "$work/cwd" && "$here/uninstall.sh" "$build") >"$work/out.txt" 2>&1 ||
    fail "make uninstall failed: $(cat "$work/out.txt")"
  after=$(tree_of "$prefix")
  [ "$before" = "$after" ] ||
    fail "the prefix is not as before: $(diff <(echo "$before") <(echo "$after") | head -20)"
  [ "$(ls "$work/cwd" | wc -l)" -eq 5 ] || fail "files in the current folder were removed"

  # A file the user put in an installed folder keeps it and the folders above it.
  install_to_prefix
  echo "the user's own" >"$prefix/lib/tarvo2/Templates/Mine.M3T"
  (cd "$work/cwd" && "$here/uninstall.sh" "$build") >"$work/out.txt" 2>&1 ||
    fail "make uninstall failed: $(cat "$work/out.txt")"
  after=$(tree_of "$prefix")
  expected=$(printf '%s\n' "$before" "d ./lib" "d ./lib/tarvo2" "d ./lib/tarvo2/Templates" \
    "f ./lib/tarvo2/Templates/Mine.M3T" | LC_ALL=C sort)
  [ "$after" = "$expected" ] ||
    fail "not only the user's file is left: $(diff <(echo "$expected") <(echo "$after") | head -20)"
  grep -q "Left $prefix/lib: " "$work/out.txt" || fail "no word of the folder left: $(cat "$work/out.txt")"
  ;;
lintian)
  if ! command -v lintian >/dev/null || ! command -v cpack >/dev/null; then
    echo "SKIP: lintian or cpack is not installed"
    exit 77
  fi
  (cd "$build" && cpack -G DEB -B "$work/package") >"$work/out.txt" 2>&1 ||
    fail "cpack failed: $(cat "$work/out.txt")"
  debs=("$work"/package/*.deb)
  [ -f "${debs[0]}" ] || fail "cpack made no package: $(cat "$work/out.txt")"
  lintian --fail-on error,warning "${debs[0]}"
  ;;
*)
  fail "unknown mode $mode"
  ;;
esac
echo "OK: $mode"
