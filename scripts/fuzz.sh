#!/usr/bin/env bash
# Builds the fuzz targets with clang (ASan, UBSan, libFuzzer) into build-fuzz/ and runs them.
#
#   scripts/fuzz.sh smoke [SECONDS]  every target for a few seconds (4) from its kept inputs;
#                                    fails on any finding (CI runs this)
#   scripts/fuzz.sh campaign         every target up to 1 million executions or 10 minutes
#   scripts/fuzz.sh long             every target up to 10 million executions, no time limit
#                                    (unattended: `nohup scripts/fuzz.sh long &`)
#   scripts/fuzz.sh report           the table of the last run again
#
# FUZZ_TARGETS="wav cmdline" picks targets, FUZZ_JOBS (2) runs that many at once, all under
# `nice`; FUZZ_SECONDS caps each target's time in a campaign (to fit a campaign in the time
# there is; 0 is no cap); FUZZ_BUILD (build-fuzz) is the build folder, so that a long campaign
# can run in a folder of its own while the tests rebuild build-fuzz. The corpus of each target grows in build-fuzz/corpus/<target>; anything found is in
# build-fuzz/findings/<target>/ and, once fixed, belongs in tests/fuzz/regressions/<target>/,
# which every build's tests replay. The table (executions, coverage, findings per target) is
# printed at the end and kept in build-fuzz/fuzz-report.txt.
set -euo pipefail
# Read whole before running: a long campaign must not pick up an edit of this file half-way.
{
cd "$(dirname "$0")/.."
top=$PWD
mode=${1:-smoke}
build=${FUZZ_BUILD:-$top/build-fuzz}
jobs=${FUZZ_JOBS:-2}
all_targets="profile translator_rules translator_exceptions translator_text orvia_nrl orvia_exc
  orvia_abr orvia_pro orvia_dfn orvia_text wav cmdline speechd_ssml terminal_keys"
targets=${FUZZ_TARGETS:-$all_targets}

case $mode in
  smoke) runs=-1; seconds=${2:-4} ;;
  campaign) runs=1000000; seconds=${FUZZ_SECONDS:-600} ;;
  long) runs=10000000; seconds=0 ;;
  report) ;;
  *) echo "uso: scripts/fuzz.sh smoke [SEGUNDOS] | campaign | long | report" >&2; exit 2 ;;
esac

report() {
  printf '%-22s %12s %8s %8s %8s %9s\n' alvo execuções cobertura features corpus achados
  for t in $targets; do
    local log=$build/logs/$t.log
    [ -f "$log" ] || continue
    local runs cov ft corp found
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
    # the last status line: "#N ... cov: C ft: F corp: K/..."
    read -r cov ft corp < <(grep -aE '^#[0-9]+' "$log" | tail -1 |
      sed -E 's/.*cov: ([0-9]+) ft: ([0-9]+) corp: ([0-9]+).*/\1 \2 \3/') || true
    found=$(find "$build/findings/$t" -type f 2>/dev/null | wc -l)
    printf '%-22s %12s %8s %8s %8s %9s\n' "$t" "${runs:-?}" "${cov:-?}" "${ft:-?}" "${corp:-?}" \
      "$found"
  done
}

if [ "$mode" = report ]; then report; exit 0; fi

# Configure and build only the fuzz programs.
if [ ! -f "$build/CMakeCache.txt" ]; then
  CC=clang CXX=clang++ cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DTIRLA_FUZZ=ON -DTIRLA_WERROR=ON -DTIRLA_BENCH=OFF >/dev/null
fi
nice -n 10 cmake --build "$build" -j2 --target $(for t in $targets; do echo "fuzz_$t"; done)

# Seeds: the project's data and golden files, and real Portuguese text from the system's
# fortunes and word list (converted to cp1252, as the programs see text inside).
seeds=$build/seeds
rm -rf "$seeds"
mkdir -p "$seeds"
to_cp1252() { iconv -f UTF-8 -t CP1252//TRANSLIT 2>/dev/null || true; }
split_lines() {  # split_lines FOLDER PREFIX: one file per non-empty line of standard input
  local n=0 line
  mkdir -p "$1"
  while IFS= read -r line; do
    [ -n "$line" ] || continue
    n=$((n + 1))
    printf '%s' "$line" >"$1/$2$n"
  done
}
text_seeds() {  # text_seeds FOLDER: golden inputs, fortunes and words
  local dir=$1
  mkdir -p "$dir"
  { sed -n 's/^in  \[\(.*\)\]$/\1/p' tests/golden/*/*.txt; cat tests/golden/preproc/regression/*.txt; } \
    2>/dev/null | split_lines "$dir" golden
  if [ -f /usr/share/games/fortunes/brasil ]; then
    awk -v dir="$dir" 'BEGIN { RS = "\n%\n" } NR % 5 == 0 { print > (dir "/fortune" NR) }' \
      /usr/share/games/fortunes/brasil
    for f in "$dir"/fortune*; do to_cp1252 <"$f" >"$f.cp" && mv "$f.cp" "$f"; done
  fi
  if [ -f /usr/share/dict/brazilian ]; then
    awk 'NR % 2000 == 0' /usr/share/dict/brazilian | to_cp1252 | split_lines "$dir" word
  fi
}
for t in $all_targets; do mkdir -p "$seeds/$t"; done  # every folder: the copies below name them
cp data/TOLVAN.INI "$seeds/profile/"
cp data/diphone/regras.rgr "$seeds/translator_rules/" 2>/dev/null || true
cp data/diphone/portug.exc "$seeds/translator_exceptions/" 2>/dev/null || true
for ext in nrl exc abr pro dfn; do cp "data/orvia/portug.$ext" "$seeds/orvia_$ext/"; done
text_seeds "$seeds/translator_text"
text_seeds "$seeds/orvia_text"
if command -v sox >/dev/null; then
  sox -n -r 11025 -b 8 -c 1 "$seeds/wav/mono8.wav" synth 0.01 sine 440
  sox -n -r 16000 -b 16 -c 2 "$seeds/wav/stereo16.wav" synth 0.01 sine 440
fi
printf '"/usr/local/bin/tirla" Bom dia' >"$seeds/cmdline/quoted"
printf 'tirla  dois  brancos\0e mais' >"$seeds/cmdline/plain"

# One target: its corpus, then every seed folder.
run_one() {
  local t=$1 max_len=16384
  case $t in orvia_text|translator_text|cmdline|wav|terminal_keys) max_len=4096 ;; esac
  mkdir -p "$build/corpus/$t" "$build/findings/$t" "$build/logs"
  local time_flags=(-max_total_time="$seconds")
  [ "$seconds" = 0 ] && time_flags=()
  local run_flags=(-runs="$runs")
  [ "$runs" = -1 ] && run_flags=()
  local corpus=("$build/corpus/$t")
  # a smoke run starts from the kept inputs and keeps nothing
  if [ "$mode" = smoke ]; then
    corpus=("$build/smoke-$t")
    rm -rf "${corpus[0]}" && mkdir -p "${corpus[0]}"
  fi
  local kept=()
  for d in "$seeds/$t" tests/fuzz/seeds/$t tests/fuzz/regressions/$t; do
    [ -d "$d" ] && kept+=("$d")
  done
  if nice -n 10 "$build/fuzz/fuzz_$t" "${corpus[@]}" "${kept[@]}" "${run_flags[@]}" \
      "${time_flags[@]}" -max_len="$max_len" -timeout=10 -rss_limit_mb=2048 \
      -print_final_stats=1 -artifact_prefix="$build/findings/$t/" \
      >"$build/logs/$t.log" 2>&1; then
    echo "$t: sem achados"
  else
    # a target that fails without leaving an input (it could not start) is a finding too
    find "$build/findings/$t" -type f | grep -q . || tail -20 "$build/logs/$t.log" \
      >"$build/findings/$t/falhou-sem-entrada.txt"
    echo "$t: ACHADO (veja $build/logs/$t.log e $build/findings/$t/)"
  fi
}
export -f run_one
export build seeds mode runs seconds

rm -rf "$build/findings" "$build/logs"
echo $targets | tr ' ' '\n' | grep . | xargs -P "$jobs" -I{} bash -c 'run_one {}'
report | tee "$build/fuzz-report.txt"
! grep -q . <(find "$build/findings" -type f)
exit
}
