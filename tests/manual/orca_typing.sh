#!/usr/bin/env bash
# TIRLA: a screen reader typing trial. Orca runs under Xvfb with a D-Bus session of its own and
# speaks through a private Speech Dispatcher whose default module is sd_orvia; a GTK dialog with
# two text fields and a button gets keys from xdotool, typed fast (every key cancels what is
# still being said, as a user typing does) and Tab / Shift+Tab between the fields. Then it
# counts, from the module's log, the messages the server sent and those heard (sound went out
# before the message ended), and the messages that ended in silence without being cancelled,
# which must be none.
# Usage: tests/manual/orca_typing.sh [BUILD]   (needs orca, xvfb, xdotool, python3-gi,
#        gir1.2-gtk-3.0, dbus, speech-dispatcher; exit 77 when one is missing)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source=$(cd "$here/../.." && pwd)
build=$(cd "${1:-$source/build}" && pwd)
for program in orca Xvfb xdotool dbus-run-session speech-dispatcher /usr/bin/python3; do
  command -v "$program" >/dev/null || { echo "SKIP: $program não está instalado"; exit 77; }
done
/usr/bin/python3 -c 'import gi; gi.require_version("Gtk", "3.0")' 2>/dev/null ||
  { echo "SKIP: gir1.2-gtk-3.0 não está instalado"; exit 77; }

work=$(mktemp -d /tmp/tirla-orca-XXXXXX)
export HOME=$work/home XDG_RUNTIME_DIR=$work/run XDG_CONFIG_HOME=$work/home/.config
mkdir -p "$HOME" "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
export TOLVAN_WINDIR=${TOLVAN_WINDIR:-$build/etc/tolvan}
cleanup() {
  "$source/scripts/speechd-private.sh" stop "$work/spd" >/dev/null 2>&1 || true
  [ -n "${xvfb:-}" ] && kill "$xvfb" 2>/dev/null || true
  [ "${KEEP:-0}" = 1 ] && echo "arquivos em $work" || rm -rf "$work"
}
trap cleanup EXIT

SPEECHD_ADDRESS=$(SD_ORVIA="$build/bin/sd_orvia" DEFAULT_MODULE=orvia LOGLEVEL=5 \
  "$source/scripts/speechd-private.sh" start "$work/spd")
export SPEECHD_ADDRESS
display=:$(( 90 + RANDOM % 400 ))
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb=$!
export DISPLAY=$display
for _ in $(seq 50); do xdotool getdisplaygeometry >/dev/null 2>&1 && break; sleep 0.1; done

# Orca's own settings: speech through Speech Dispatcher, Brazilian Portuguese, key echo on.
mkdir -p "$HOME/.local/share/orca"
cat > "$HOME/.local/share/orca/user-settings.conf" <<'JSON'
{
  "general": {
    "speechServerFactory": "orca.speechdispatcherfactory",
    "speechServerInfo": ["Default Synthesizer", "default"],
    "enableSpeech": true, "enableKeyEcho": true, "enableEchoByCharacter": false,
    "enableEchoByWord": false, "enableTutorialMessages": false, "firstStart": false,
    "voices": {"default": {"established": false, "family": {"name": "br4", "lang": "pt",
               "dialect": "BR", "variant": null}}}
  },
  "keybindings": {}, "profiles": {"default": {"profile": ["Padrão", "default"]}},
  "pronunciations": {}
}
JSON

dialog=$(cat <<'PY'
import gi
gi.require_version("Gtk", "3.0")
from gi.repository import Gtk
window = Gtk.Window(title="Cadastro de leitor")
box = Gtk.Box(orientation=Gtk.Orientation.VERTICAL, spacing=6)
for label in ("Nome completo", "Cidade"):
    box.pack_start(Gtk.Label(label=label), False, False, 0)
    entry = Gtk.Entry()
    entry.get_accessible().set_name(label)
    box.pack_start(entry, False, False, 0)
box.pack_start(Gtk.Button(label="Salvar cadastro"), False, False, 0)
window.add(box)
window.connect("destroy", Gtk.main_quit)
window.show_all()
Gtk.main()
PY
)

dbus-run-session -- bash -s "$work" "$dialog" <<'SESSION'
set -u
work=$1; dialog=$2
export GTK_MODULES=gail:atk-bridge NO_AT_BRIDGE=0 GSETTINGS_BACKEND=memory
/usr/libexec/at-spi-bus-launcher --launch-immediately >"$work/atspi.log" 2>&1 &
sleep 1
orca --replace --debug-file="$work/orca-debug.txt" >"$work/orca.log" 2>&1 &
orca=$!
sleep 4
/usr/bin/python3 -c "$dialog" >"$work/dialog.log" 2>&1 &
app=$!
sleep 3
window=$(xdotool search --sync --name "Cadastro de leitor" | head -n 1)
xdotool windowactivate --sync "$window" 2>/dev/null || xdotool windowfocus "$window"
sleep 2
for round in 1 2 3; do
  xdotool type --delay 40 "Maria da Silva Santos"
  sleep 0.3
  xdotool key Tab
  sleep 0.15
  xdotool type --delay 25 "Belo Horizonte"
  xdotool key shift+Tab
  sleep 0.1
  xdotool key Tab Tab
  sleep 0.6
  xdotool key shift+Tab shift+Tab
  sleep 0.2
  xdotool key ctrl+a BackSpace
  sleep 0.4
done
sleep 5
kill "$app" "$orca" 2>/dev/null
wait "$orca" 2>/dev/null
true
SESSION

/usr/bin/python3 - "$work/spd/log/orvia.log" "$work/spd/out/server.raw" <<'PY'
import os, re, sys
log = open(sys.argv[1], encoding="utf-8", errors="replace").read().splitlines()
sent = heard = silent = cancelled = 0
speaking = sound = False
for line in log:
    if re.search(r"-> 200 OK SPEAKING", line):
        sent += 1; speaking, sound = True, False
    elif speaking and "705 AUDIO" in line:
        sound = True
    elif speaking and re.search(r"-> 70[234] ", line):
        speaking = False
        heard += sound
        if not sound and "702 END" in line: silent += 1
        if not sound and "702 END" not in line: cancelled += 1
seconds = os.path.getsize(sys.argv[2]) / 32000 if os.path.exists(sys.argv[2]) else 0
print(f"mensagens enviadas ao módulo: {sent}; ouvidas: {heard}; "
      f"cortadas antes do som por outra tecla: {cancelled}; terminadas em silêncio: {silent}")
print(f"som tocado pelo servidor: {seconds:.1f} s")
sys.exit(0 if sent > 10 and silent == 0 and heard + cancelled == sent else 1)
PY
