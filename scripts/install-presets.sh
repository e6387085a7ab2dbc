#!/usr/bin/env bash
# Copies the factory presets into the factory folder (the first of $XDG_DATA_DIRS, default
# /usr/local/share, then Morvak/Oryn/presets).
#   scripts/install-presets.sh                      install
#   scripts/install-presets.sh --print-demo-preset  print the installed preset the demo uses
set -euo pipefail
cd "$(dirname "$0")/.."

base="${XDG_DATA_DIRS:-/usr/local/share}"
base="${base%%:*}"
[ -n "$base" ] || base=/usr/local/share
target="$base/Morvak/Oryn/presets"
demo_preset="Shimmer/Octave Cascade.mvpreset"

if [ "${1:-}" = "--print-demo-preset" ]; then
    echo "$target/$demo_preset"
    exit 0
fi

if [ ! -d resources/presets ] || [ -z "$(ls -A resources/presets 2>/dev/null)" ]; then
    exit 0
fi

if mkdir -p "$target" 2>/dev/null && [ -w "$target" ]; then
    cp -R resources/presets/. "$target/"
    echo "Factory presets installed in $target"
else
    echo "Cannot write $target: install the factory presets with: sudo cp -R resources/presets/. \"$target/\"" >&2
    exit 1
fi
