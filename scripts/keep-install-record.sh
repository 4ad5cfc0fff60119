#!/usr/bin/env bash
# Runs a command that installs from the build folder elsewhere (cpack), and puts back
# the build folder's record of the last installation (install_manifest.txt,
# install_folders.txt), which `make uninstall` reads.
#
#   scripts/keep-install-record.sh BUILD_DIR COMMAND [ARGUMENTS...]
set -euo pipefail

build=$1
shift
saved=$(mktemp -d)
records=(install_manifest.txt install_folders.txt)
for r in "${records[@]}"; do
  if [ -f "$build/$r" ]; then cp -p "$build/$r" "$saved/"; fi
done
restore() {
  for r in "${records[@]}"; do
    if [ -f "$saved/$r" ]; then cp -p "$saved/$r" "$build/$r"; else rm -f "$build/$r"; fi
  done
  rm -rf "$saved"
}
trap restore EXIT
"$@"
