#!/usr/bin/env bash
# Installs, builds and speaks the text given (or a greeting) with the ORVIA engine.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh
if [ $# -eq 0 ]; then set -- "Bom dia! Este é o TIRLA, que fala português."; fi
exec build/bin/orvia "$@"
