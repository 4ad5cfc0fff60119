#!/usr/bin/env bash
# Saves a picture of each window in docs/screenshots/, rendered offscreen.
set -euo pipefail
build="${1:-build}"
root="$(cd "$(dirname "$0")/.." && pwd)"
QT_QPA_PLATFORM=offscreen "$build/tools/screenshots/tarvo_screenshots" \
  "$build/AppFolder" "$root/docs/screenshots"
