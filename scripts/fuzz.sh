#!/usr/bin/env bash
# Runs every fuzz target of the sanitizer build for a short while each.
#   scripts/fuzz.sh [SECONDS_PER_TARGET]
set -euo pipefail
cd "$(dirname "$0")/.."

seconds="${1:-20}"
export ASAN_OPTIONS="detect_leaks=0:abort_on_error=1"
status=0
for fuzzer in $(find build-asan/tests/fuzz -maxdepth 1 -type f -name 'oryn_fuzz_*' -perm -u+x 2>/dev/null | sort); do
    corpus="build-asan/fuzz-corpus/$(basename "$fuzzer")"
    mkdir -p "$corpus"
    echo "fuzzing $(basename "$fuzzer") for ${seconds}s"
    if ! "$fuzzer" -max_total_time="$seconds" -rss_limit_mb=4096 -max_len=65536 -artifact_prefix="$corpus/../" "$corpus" > "$corpus.log" 2>&1; then
        tail -40 "$corpus.log"
        status=1
    fi
done
exit $status
