#!/usr/bin/env bash
# The main job: install what is missing, build, install the plug-in, and render the built-in
# demo through the installed bundle. Prints where the WAV went.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
scripts/build.sh Oryn_VST3 oryn-host
cmake --install build > /dev/null

bundle="$HOME/.vst3/Oryn.vst3"
host=build/tools/host/oryn-host
out="${ORYN_DEMO_DIR:-$PWD/out}"
mkdir -p "$out"

scripts/install-presets.sh || true

"$host" demo-input "$out/demo-input.wav" > /dev/null
render=("$host" render "$out/demo-input.wav" "$out/demo-oryn.wav" --plugin "$bundle" --tail 8)

preset="$(scripts/install-presets.sh --print-demo-preset 2>/dev/null || true)"
if [ -n "$preset" ] && [ -f "$preset" ]; then
    render+=(--preset "$preset")
else
    # The shimmer: an octave and two octaves up at their default levels, long feedback.
    render+=(--set pitchNote1=+1\ Oct. --set pitchNote2=+2\ Oct. --set feedback=70)
fi

"${render[@]}" > /dev/null
echo "Oryn is installed in $bundle"
echo "Demo rendered: $out/demo-oryn.wav (input: $out/demo-input.wav)"
