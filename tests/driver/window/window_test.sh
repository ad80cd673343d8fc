#!/usr/bin/env bash
# The tirla program in a real X window (Xvfb): keys typed by an X client, colours read back.
# Usage: window_test.sh <build dir>
set -u
build=$1
tirla=$build/bin/tirla
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FALHA: $*"; failures=$((failures + 1)); }

# A configuration folder with the shipped file, optionally changed by sed expressions.
config() {
  mkdir -p "$work/$1"
  sed "${@:2}" "$build/etc/tolvan/TOLVAN.INI" >"$work/$1/TOLVAN.INI"
  echo "$work/$1"
}

# Runs tirla in Xvfb; types the given xdotool commands; leaves the window dump and the
# window height in $work/<name>.xwd and .height, the exit code in .code. The window may take
# seconds to come on a busy machine or under the sanitizers; the wait ends once it is there.
run_in_x_once() {
  local name=$1 windir=$2 keys=$3
  shift 3
  xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
    TOLVAN_WINDIR="$1" SDL_VIDEODRIVER=x11 SDL_AUDIODRIVER=dummy "$2" "${@:6}" &
    pid=$!
    for _ in $(seq 300); do
      wid=$(xdotool search --name "^TIRLA$" 2>/dev/null | head -1)
      [ -n "$wid" ] && break
      kill -0 $pid 2>/dev/null || break
      sleep 0.1
    done
    if [ -n "$wid" ]; then
      xdotool getwindowgeometry "$wid" | sed -n "s/.*Geometry: [0-9]*x\([0-9]*\)/\1/p" >"$3.height"
      # SDL may replace its first window by one fit for its renderer: keys go to the shown one
      for _ in $(seq 100); do
        shown=$(xdotool search --onlyvisible --name "^TIRLA$" 2>/dev/null | head -1)
        [ -n "$shown" ] && wid=$shown && break
        kill -0 $pid 2>/dev/null || break
        sleep 0.1
      done
      eval "$4"
      # the dump is taken once the typed text is drawn (more than one colour), which a slow
      # machine or the sanitizers may take a while to do
      for _ in $(seq 10); do
        sleep 0.3
        xwd -silent -id "$wid" >"$3.xwd" 2>/dev/null || break
        [ "$(python3 "$6" "$3.xwd" 2>/dev/null | wc -l)" -gt 1 ] && break
        kill -0 $pid 2>/dev/null || break
      done
      xdotool type --window "$wid" --delay 20 "fim" 2>/dev/null; xdotool key --window "$wid" Return 2>/dev/null
    fi
    ( sleep 20; kill $pid 2>/dev/null ) & watchdog=$!
    wait $pid; echo $? >"$3.code"; kill $watchdog 2>/dev/null
  ' _ "$windir" "$tirla" "$work/$name" "$keys" "$here/xwd_colours.py" "$@" >/dev/null 2>"$work/$name.err"
}

# An X server that could not start (a display number still held by the server before it)
# shows no window at all: that run is made once more before its checks fail.
run_in_x() {
  run_in_x_once "$@"
  if [ ! -s "$work/$1.xwd" ] && [ ! -s "$work/$1.height" ]; then
    echo "janela: \"$1\" não apareceu; de novo" >&2
    run_in_x_once "$@"
  fi
}

# 1. Default colours: typed lines appear, "fim" ends with code 0, white on black.
run_in_x plain "$(config plain -e s/x/x/)" 'xdotool type --window $wid --delay 20 "bom dia"; xdotool key --window $wid Return'
[ "$(cat "$work/plain.code" 2>/dev/null)" = 0 ] || fail "fim não terminou com código 0: $(cat "$work/plain.err")"
colours=$(python3 "$here/xwd_colours.py" "$work/plain.xwd" 2>&1)
echo "$colours" | head -1 | grep -q '^0,0,0 ' || fail "fundo não é preto: $colours"
echo "$colours" | grep -q '^255,255,255 ' || fail "sem letras brancas: $colours"

# 2. CORFUNDO=1, CORLETRA=14: yellow letters on blue.
run_in_x yellow "$(config yellow -e s/^CORFUNDO=.*/CORFUNDO=1/ -e s/^CORLETRA=.*/CORLETRA=14/)" 'xdotool type --window $wid --delay 20 "amarelo"; xdotool key --window $wid Return'
colours=$(python3 "$here/xwd_colours.py" "$work/yellow.xwd" 2>&1)
echo "$colours" | head -1 | grep -q '^0,0,255 ' || fail "fundo não é azul: $colours"
echo "$colours" | grep -q '^255,255,0 ' || fail "sem letras amarelas: $colours"

# 3. TABCORES remaps colour numbers: 0 -> entry 4 (red) for the background, 15 -> entry 14.
run_in_x remap "$(config remap -e 's/^TABCORES=.*/TABCORES=4,1,2,3,4,5,6,7,8,9,10,11,12,13,14,14/')" 'xdotool type --window $wid --delay 20 "vermelho"; xdotool key --window $wid Return'
colours=$(python3 "$here/xwd_colours.py" "$work/remap.xwd" 2>&1)
echo "$colours" | head -1 | grep -q '^255,0,0 ' || fail "TABCORES não mudou o fundo: $colours"
echo "$colours" | grep -q '^255,255,0 ' || fail "TABCORES não mudou as letras: $colours"

# 4. Text on the command line: a window three rows high, code 0.
run_in_x words "$(config words -e s/x/x/)" 'true' bom dia
[ "$(cat "$work/words.code" 2>/dev/null)" = 0 ] || fail "tirla bom dia: código $(cat "$work/words.code" 2>/dev/null)"
if [ -s "$work/words.height" ] && [ -s "$work/plain.height" ]; then
  [ "$(cat "$work/words.height")" -lt "$(( $(cat "$work/plain.height") / 4 ))" ] ||
    fail "janela de 3 linhas tem altura $(cat "$work/words.height") (25 linhas: $(cat "$work/plain.height"))"
fi

# 5. The line editor: each line that reaches the driver is written with its transcription;
# screen review (Ctrl+Shift+Alt+F9, which X lets through) copies the screen to the clipboard.
# Entering review beeps, and a beep drops the keys typed ahead: the script waits after it.
if command -v xclip >/dev/null; then
  editing='printf "linha1\nlinha2" | xclip -i -selection clipboard
    k() { xdotool key --window $wid --delay 30 "$@"; }
    t() { xdotool type --window $wid --delay 30 "$@"; }
    t "bom dia"; k BackSpace BackSpace Return; sleep 0.3
    t "um dois tres"; k ctrl+Left ctrl+Left; t X; k ctrl+Right; t Y; k Return; sleep 0.3
    t abcde; k Home shift+Right shift+Right shift+Delete Return; sleep 0.3
    k ctrl+v Return; sleep 0.3
    t pqr; k Home F1 Return
    sleep 0.3; k ctrl+shift+alt+F9; sleep 0.5; k ctrl+c; sleep 0.5
    xclip -o -selection clipboard >"$3.clip"; k Escape'
  run_in_x editing "$(config editing -e s/x/x/)" "$editing"
  for line in "bom d" "um Xdois Ytres" "cde" "linha1" "pqr"; do
    grep -q "^$line\[" "$work/editing.clip" 2>/dev/null ||
      fail "a linha '$line' não chegou: $(head -8 "$work/editing.clip" 2>/dev/null | tr '\r' ' ')"
  done
else
  fail "xclip ausente (scripts/setup.sh o instala)"
fi

# 6. No display: a message and code 1.
env -u DISPLAY -u WAYLAND_DISPLAY SDL_VIDEODRIVER=x11 "$tirla" bom dia >/dev/null 2>"$work/nodisplay.err" </dev/null
code=$?
[ $code = 1 ] || fail "sem tela: código $code"
grep -qi 'janela' "$work/nodisplay.err" || fail "sem tela: mensagem '$(cat "$work/nodisplay.err")'"

if [ $failures = 0 ]; then echo "janela: tudo certo"; exit 0; fi
exit 1
