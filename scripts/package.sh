#!/usr/bin/env bash
# Builds the Debian packages tirla and tirla-data (and tirla-dbgsym) from debian/, the Debian
# way: dpkg-buildpackage -us -uc -b. Like every Debian tool it leaves them beside the source
# folder. Arguments go to dpkg-buildpackage; DEB_BUILD_OPTIONS=nocheck skips the tests.
set -euo pipefail
cd "$(dirname "$0")/.."
for tool in dpkg-buildpackage dh; do
  command -v "$tool" >/dev/null || { echo "Falta $tool: instale debhelper e dpkg-dev (apt install debhelper dpkg-dev)." >&2; exit 1; }
done
dpkg-buildpackage -us -uc -b "$@"
version=$(dpkg-parsechangelog -S Version)
parent=$(cd .. && pwd)
echo "Pacotes prontos em $parent/:"
ls -1 "$parent"/tirla*_"${version}"_*.deb
