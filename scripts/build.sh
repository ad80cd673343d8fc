#!/usr/bin/env bash
# Installs what is missing, then configures and builds TIRLA into build/. Arguments are handed
# to the configure step (scripts/test.sh adds -DTIRLA_WERROR=ON).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
cmake --build build -j"$(nproc)"
