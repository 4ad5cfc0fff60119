#!/usr/bin/env bash
# Checks what `cmake --install` puts under a prefix.
#
#   scripts/check-install.sh BUILD_DIR desktop   the desktop entry and the AppStream
#       metainfo pass desktop-file-validate and appstreamcli (skipped, exit 77, when
#       those tools are not installed); the icon is there at every size
#   scripts/check-install.sh BUILD_DIR readonly  the installed program, its folder made
#       read-only, starts up and records its version in the user's data folder, and
#       nothing under the prefix changes
set -euo pipefail

build=$(cd "$1" && pwd)
mode=$2
work=$(mktemp -d)
trap 'chmod -R u+w "$work" 2>/dev/null; rm -rf "$work"' EXIT
prefix=$work/usr

cmake --install "$build" --prefix "$prefix" >/dev/null

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

case $mode in
desktop)
  for size in 16 22 24 32 48 64 128 256; do
    [ -s "$prefix/share/icons/hicolor/${size}x${size}/apps/tarvo2.png" ] ||
      fail "no ${size}x${size} icon"
  done
  [ -x "$prefix/bin/tarvo2" ] || fail "bin/tarvo2 does not lead to the program"
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
*)
  fail "unknown mode $mode"
  ;;
esac
echo "OK: $mode"
