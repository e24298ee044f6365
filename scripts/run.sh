#!/usr/bin/env bash
# Installs what is needed, builds the program folder and starts the utility on the simulated adapter.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build -G Ninja
cmake --build build
exec build/bin/vuzideza "$@"
