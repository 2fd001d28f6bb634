#!/usr/bin/env bash
# build.sh DIR [cmake options...] [-- targets...]: configures and builds one
# build tree; every target unless targets are named.
set -euo pipefail
cd "$(dirname "$0")/.."
dir=$1; shift
options=()
while (($#)) && [[ $1 != -- ]]; do options+=("$1"); shift; done
targets=()
if (($#)); then shift; for t in "$@"; do targets+=(--target "$t"); done; fi
cmake -S . -B "$dir" -G Ninja "${options[@]}" > "$dir.configure.log" 2>&1 || { cat "$dir.configure.log"; exit 1; }
cmake --build "$dir" -j "$(nproc)" "${targets[@]}"
