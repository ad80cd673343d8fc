#!/usr/bin/env bash
# Builds the Debian packages from a copy of the source tree (the tree itself stays clean), then
# checks them as a packager would: file lists, control fields, the installed orvia running
# from a throw-away root, and lintian with no error and no warning.
# Usage: package_test.sh SOURCE_DIR WORK_DIR
set -euo pipefail
src=$1 work=$2
rm -rf "$work" && mkdir -p "$work/tirla"
tar -C "$src" -c --exclude=./.git --exclude='./build*' --exclude='./obj-*' . | tar -C "$work/tirla" -x
# a developer's compiler cache serves the package build too (the copy's path stays the same)
if [ -n "${CCACHE_DIR:-}" ] && command -v ccache >/dev/null; then
  export CMAKE_C_COMPILER_LAUNCHER=ccache CMAKE_CXX_COMPILER_LAUNCHER=ccache
fi
(cd "$work/tirla" && DEB_BUILD_OPTIONS="nocheck parallel=2" dpkg-buildpackage -us -uc -b) \
  >"$work/build.log" 2>&1 || { tail -40 "$work/build.log"; echo "FAIL: dpkg-buildpackage"; exit 1; }
version=$(dpkg-parsechangelog -l "$src/debian/changelog" -S Version)
arch=$(dpkg --print-architecture)
multiarch=$(dpkg-architecture -qDEB_HOST_MULTIARCH)
main=$work/tirla_${version}_${arch}.deb data=$work/tirla-data_${version}_all.deb
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# Files each package must hold (one per line); none may be a .keep.
expect_files() {
  local deb=$1; shift
  local list; list=$(dpkg-deb -c "$deb" | awk '{print substr($6, 2)}')
  for f in "$@"; do grep -qxF "$f" <<<"$list" || fail "$(basename "$deb") lacks $f"; done
  if grep -q '/\.keep$' <<<"$list"; then fail "$(basename "$deb") installs .keep files"; fi
}
expect_files "$main" /usr/bin/tirla /usr/bin/orvia /usr/bin/fonetica /usr/bin/tirla-vozes \
  /usr/bin/units_to_wav "/usr/lib/$multiarch/speech-dispatcher-modules/sd_orvia" \
  /etc/tolvan/TOLVAN.INI /etc/speech-dispatcher/modules/orvia.conf \
  /usr/share/doc/tirla/copyright /usr/share/doc/tirla/changelog.Debian.gz \
  /usr/share/doc/tirla/README.md.gz \
  /usr/share/man/man1/tirla.1.gz /usr/share/man/man1/orvia.1.gz /usr/share/man/man1/fonetica.1.gz \
  /usr/share/man/man1/tirla-vozes.1.gz /usr/share/man/man1/units_to_wav.1.gz \
  /usr/share/man/man1/sd_orvia.1.gz
expect_files "$data" /usr/share/tolvan/orviatts/portug.nrl /usr/share/tolvan/orviatts/portug.voz \
  /usr/share/tolvan/orviatts/br1.dfn /usr/share/tolvan/orviatts/br2.dfn \
  /usr/share/tolvan/orviatts/br3.dfn /usr/share/tolvan/som/difones/DIFONES3.DIF \
  /usr/share/tolvan/som/letras/_um.wav /usr/share/tolvan/teclas.md /usr/share/doc/tirla-data/copyright
if dpkg-deb -c "$main" | awk '{print $6}' | grep -q '^\./usr/share/tolvan/'; then
  fail "tirla holds data that belongs to tirla-data"
fi

# Control fields: "package field expected-pattern" (extended regular expressions).
while read -r deb field pattern; do
  value=$(dpkg-deb -f "$work/$deb" "$field")
  grep -Eq "$pattern" <<<"$value" || fail "$deb $field: '$value' does not match $pattern"
done <<EOF_FIELDS
tirla_${version}_${arch}.deb Depends ^tirla-data \(= ${version}\), mbrola, mbrola-br4, fonts-dejavu-core, .*libsdl2
tirla_${version}_${arch}.deb Recommends ^mbrola-br1, mbrola-br2, mbrola-br3, speech-dispatcher$
tirla_${version}_${arch}.deb Suggests xdg-utils
tirla_${version}_${arch}.deb Maintainer ^[^<]+ <[^@]+@[a-z0-9.-]+\.[a-z]+>$
tirla-data_${version}_all.deb Architecture ^all$
tirla-data_${version}_all.deb Multi-Arch ^foreign$
EOF_FIELDS
if dpkg-deb -f "$main" Depends Recommends | grep -q xdg-utils; then fail "xdg-utils above Suggests"; fi
[ -f "$work/tirla-dbgsym_${version}_${arch}.deb" ] || fail "no -dbgsym package"
conffiles=$(dpkg-deb -I "$main" conffiles | sort | tr '\n' ' ')
[ "$conffiles" = "/etc/speech-dispatcher/modules/orvia.conf /etc/tolvan/TOLVAN.INI " ] ||
  fail "conffiles: $conffiles"

# The installed program runs from a throw-away root, finding its data through the variables
# the programs honour.
root=$work/root
dpkg -x "$main" "$root" && dpkg -x "$data" "$root"
out=$(TOLVAN_WINDIR="$root/etc/tolvan" TOLVAN_DATADIR="$root/usr/share/tolvan" \
  "$root/usr/bin/orvia" --version 2>&1) || fail "installed orvia --version: $out"
grep -q "$(dpkg-parsechangelog -l "$src/debian/changelog" -S Version | sed 's/-[^-]*$//')" <<<"$out" ||
  fail "orvia --version does not name the version: $out"

# lintian as a packager runs it: errors and warnings fail, information tags must be overridden.
lint=$(lintian -I -E --pedantic \
  "$work/tirla_${version}_${arch}.changes" 2>&1) || true
if grep -E "^[EWIPX]:" <<<"$lint"; then fail "lintian reports the tags above"; fi

[ "$failures" = 0 ] && echo "package test: all checks passed" || exit 1
