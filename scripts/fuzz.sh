#!/usr/bin/env bash
# Runs every fuzz target of a fuzz build for the given number of seconds, starting from its seed corpus.
# Usage: scripts/fuzz.sh BUILD_DIR SECONDS
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-fuzz}
seconds=${2:-60}
shopt -s nullglob
ran=0
for target in "$build"/fuzz/*; do
  [[ -x "$target" && -f "$target" ]] || continue
  name=$(basename "$target")
  corpus="$build/fuzz-corpus/$name"
  mkdir -p "$corpus"
  seeds=()
  [[ -d fuzz/seeds/$name ]] && seeds=("fuzz/seeds/$name")
  echo "-- $name"
  "$target" -max_total_time="$seconds" -print_final_stats=0 "$corpus" "${seeds[@]}" 2>&1 | tail -n 3
  ran=$((ran + 1))
done
echo "fuzz: $ran targets ran"
