#!/usr/bin/env bash
# Configures and builds one build folder.
#   scripts/build.sh [--sanitize] [--fuzz] [--dir DIR] [TARGET...]
# --sanitize: clang with AddressSanitizer + UndefinedBehaviorSanitizer (Debug), in build-asan.
# --fuzz: also the libFuzzer targets (implies --sanitize).
set -euo pipefail
cd "$(dirname "$0")/.."

# Let ccache reuse objects across checkouts in other folders (CI builds a fresh clone).
export CCACHE_BASEDIR="$PWD"
export CCACHE_NOHASHDIR=1

sanitize=0
fuzz=0
dir=""
targets=()
while [ $# -gt 0 ]; do
    case "$1" in
        --sanitize) sanitize=1 ;;
        --fuzz) fuzz=1; sanitize=1 ;;
        --dir) dir="$2"; shift ;;
        *) targets+=("$1") ;;
    esac
    shift
done

args=(-G Ninja -DCMAKE_EXPORT_COMPILE_COMMANDS=ON)
if [ $sanitize -eq 1 ]; then
    dir="${dir:-build-asan}"
    args+=(-DCMAKE_BUILD_TYPE=Debug -DORYN_SANITIZE=ON -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++)
    [ $fuzz -eq 1 ] && args+=(-DORYN_FUZZ=ON)
else
    dir="${dir:-build}"
    args+=(-DCMAKE_BUILD_TYPE=Release)
fi

cmake -S . -B "$dir" "${args[@]}" > "$dir.configure.log" 2>&1 || { cat "$dir.configure.log"; exit 1; }
if [ ${#targets[@]} -gt 0 ]; then
    cmake --build "$dir" --target "${targets[@]}"
else
    cmake --build "$dir"
fi
