#!/usr/bin/env bash
# Installs the Debian 12 packages the build, the tests and the fuzzers need. Run as root.
set -euo pipefail
packages=(
  build-essential cmake ninja-build pkg-config
  clang libclang-rt-14-dev
  # fonts-dejavu-core: the dialog font where Verdana is missing, which the text-fit check measures
  qt6-base-dev qt6-svg-dev libgl-dev fonts-dejavu-core
  libsqlite3-dev libssl-dev nlohmann-json3-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth
  freeradius eapoltest
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
