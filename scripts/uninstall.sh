#!/usr/bin/env bash
# Removes what `cmake --install BUILD_DIR` put under its prefix (`make uninstall`):
# every file named in BUILD_DIR/install_manifest.txt, read line by line so that
# names with blanks stay whole, then the folders that installation made
# (BUILD_DIR/install_folders.txt) once they are empty. The prefix itself, folders
# that were there before and folders that hold anything else are left as they are.
#
#   scripts/uninstall.sh [BUILD_DIR]   (default: build)
set -euo pipefail

build=${1:-build}
manifest=$build/install_manifest.txt
record=$build/install_folders.txt

if [ ! -f "$manifest" ]; then
  echo "Nothing to remove: $manifest does not exist (nothing was installed from $build)." >&2
  exit 1
fi

# Every line must name a file by its absolute path; anything else would be taken
# relative to the current folder. Checked before anything is removed.
while IFS= read -r f || [ -n "$f" ]; do
  case $f in
  '') ;;
  /*) ;;
  *)
    echo "Not removing anything: '$f' in $manifest is not an absolute path." >&2
    exit 1
    ;;
  esac
done <"$manifest"

files=0
while IFS= read -r f || [ -n "$f" ]; do
  [ -n "$f" ] || continue
  if [ -L "$f" ] || [ -f "$f" ]; then
    rm -f -- "$f"
    files=$((files + 1))
  elif [ -e "$f" ]; then
    echo "Left $f: not a file." >&2
  fi
done <"$manifest"

folders=0
left=()
if [ -f "$record" ]; then
  root=
  made=()
  while IFS= read -r d || [ -n "$d" ]; do
    [ -n "$d" ] || continue
    if [ -z "$root" ]; then
      root=$d
      continue
    fi
    # Only folders below the prefix, named without "..".
    case $d in
    */../* | */..) continue ;;
    esac
    if [[ $root == /* && $d == "$root"/?* ]]; then
      made+=("$d")
    fi
  done <"$record"
  for d in "${made[@]}"; do
    [ -d "$d" ] && [ ! -L "$d" ] || continue
    # Deepest first (-delete implies -depth): a folder goes once the folders in
    # it have gone.
    n=$(find "$d" -xdev -type d -empty -delete -print0 | tr -cd '\0' | wc -c)
    folders=$((folders + n))
    [ ! -e "$d" ] || left+=("$d")
  done
  rm -f -- "$record"
else
  echo "No record of the folders the installation made ($record): folders are left as they are." >&2
fi

echo "Removed $files files and $folders folders."
for d in "${left[@]}"; do
  echo "Left $d: it holds files that were not installed from $build." >&2
done
