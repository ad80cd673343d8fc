#!/usr/bin/env bash
# Installs, builds and runs every test. Tests need neither a display nor a sound card.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh
cd build
ctest --output-on-failure -j"$(nproc)"
