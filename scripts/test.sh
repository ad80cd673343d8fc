#!/usr/bin/env bash
# Installs, builds and runs every test. Tests need neither a display nor a sound card.
# Then the same tests again in build-fuzz/: clang with AddressSanitizer and
# UndefinedBehaviorSanitizer, where any report fails its test; and a few seconds of each fuzz
# target from its kept inputs, so that a new crash in a known target fails too.
# TIRLA_QUICK=1 skips the second part. The Debian packages are built and checked once, in build/
# (tests/package; label package).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh -DTIRLA_WERROR=ON
(cd build && ctest --output-on-failure -j"$(nproc)")
[ "${TIRLA_QUICK:-0}" = 1 ] && exit 0

CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DTIRLA_FUZZ=ON -DTIRLA_WERROR=ON -DTIRLA_BENCH=OFF -DTIRLA_PACKAGE_TEST=OFF >/dev/null
cmake --build build-fuzz -j"$(nproc)"
(cd build-fuzz && ctest --output-on-failure -j"$(nproc)")
bash scripts/fuzz.sh smoke
