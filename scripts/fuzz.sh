#!/usr/bin/env bash
# Runs every fuzz target of a fuzz build for the given number of seconds, starting from its seed corpus.
# Any sanitizer report, crash, leak or timeout fails the run; the target's whole report is printed.
# Usage: scripts/fuzz.sh BUILD_DIR SECONDS
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-fuzz}
seconds=${2:-60}
shopt -s nullglob
# A report that lets the target run on would otherwise scroll past unseen.
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
export ASAN_OPTIONS=abort_on_error=1:detect_leaks=1
logs="$build/fuzz-logs"
artifacts="$build/fuzz-artifacts"
mkdir -p "$logs" "$artifacts"
ran=0
failed=()
for target in "$build"/fuzz/*; do
  [[ -x "$target" && -f "$target" ]] || continue
  name=$(basename "$target")
  corpus="$build/fuzz-corpus/$name"
  log="$logs/$name.log"
  mkdir -p "$corpus"
  seeds=()
  [[ -d fuzz/seeds/$name ]] && seeds=("fuzz/seeds/$name")
  echo "-- $name"
  status=0
  "$target" -max_total_time="$seconds" -print_final_stats=0 -artifact_prefix="$artifacts/$name-" \
    "$corpus" "${seeds[@]}" >"$log" 2>&1 || status=$?
  if [[ $status -ne 0 ]] ||
     grep -qE 'runtime error:|ERROR: (AddressSanitizer|LeakSanitizer|libFuzzer)|SUMMARY: ' "$log"; then
    cat "$log"
    echo "fuzz: $name FAILED (exit status $status; artifacts in $artifacts)"
    failed+=("$name")
  else
    tail -n 2 "$log"
  fi
  ran=$((ran + 1))
done
echo "fuzz: $ran targets ran"
if [[ ${#failed[@]} -gt 0 ]]; then
  echo "fuzz: failed: ${failed[*]}"
  exit 1
fi
