#!/usr/bin/env bash
# Installs what TIRLA needs on Debian 12. Safe to run again: quiet when all is present.
set -euo pipefail

packages=(
  g++ clang libclang-rt-14-dev cmake make pkg-config dpkg-dev
  debhelper lintian
  libgtest-dev libgmock-dev libbenchmark-dev
  libsdl2-dev libsdl2-ttf-dev libfontconfig-dev fontconfig fonts-dejavu-core
  libncurses-dev tmux orca gir1.2-gtk-3.0 libbrlapi-dev brltty liblouis-dev
  xvfb xdotool x11-apps xclip
  mbrola mbrola-br1 mbrola-br2 mbrola-br3 mbrola-br4 espeak-ng sox
  fortunes-br wbrazilian python3
  libespeak-ng-dev libspeechd-dev speech-dispatcher python3-speechd librhvoice-dev rhvoice-brazilian-portuguese
)

as_root() { if [ "$(id -u)" = 0 ]; then "$@"; else sudo "$@"; fi; }

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Instalando: ${missing[*]}"

# No documentation files: a packager's machine does not need them.
nodoc=/etc/dpkg/dpkg.cfg.d/01-tirla-nodoc
if [ ! -f "$nodoc" ]; then
  printf 'path-exclude /usr/share/doc/*\npath-include /usr/share/doc/*/copyright\n' | as_root tee "$nodoc" >/dev/null
fi

# MBROLA lives in contrib; its voices and the RHVoice voice in non-free.
sources=/etc/apt/sources.list.d/debian.sources
if [ -f "$sources" ]; then
  if grep -q '^Components:' "$sources" && grep '^Components:' "$sources" | grep -vq 'non-free\b'; then
    as_root sed -i -E '/^Components:/{/contrib/!s/$/ contrib/; / non-free( |$)/!s/$/ non-free/}' "$sources"
  fi
elif [ -f /etc/apt/sources.list ] && ! grep -Eq '^deb .* non-free( |$)' /etc/apt/sources.list; then
  as_root sed -i -E '/^deb /{/contrib/!s/$/ contrib/; / non-free( |$)/!s/$/ non-free/}' /etc/apt/sources.list
fi

export DEBIAN_FRONTEND=noninteractive
as_root apt-get update -qq
as_root apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
