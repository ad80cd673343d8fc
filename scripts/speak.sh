#!/usr/bin/env bash
# Installs, builds and speaks the text given (or a greeting) with TIRLA.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh
if [ $# -eq 0 ]; then set -- "Bom dia! Este é o TIRLA."; fi
exec build/bin/tirla "$@"
