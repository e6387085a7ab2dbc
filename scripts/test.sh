#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test.
#   scripts/test.sh              Release build in build/
#   scripts/test.sh --sanitize   clang ASan + UBSan build in build-asan/, with the fuzz targets
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh

if [ "${1:-}" = "--sanitize" ]; then
    dir=build-asan
    scripts/build.sh --fuzz
    export ASAN_OPTIONS="detect_leaks=0:abort_on_error=1"
    export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
else
    dir=build
    scripts/build.sh
fi

# A second try only for a test that failed: the loopback-network tests share the machine.
ctest --test-dir "$dir" --output-on-failure --timeout 300 -j2 --repeat until-pass:2
