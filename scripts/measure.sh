#!/usr/bin/env bash
# Repeatable measurements of the figures that grow with a user's history and of start-up:
#   scripts/measure.sh startup [PAIRS]   exec to the painted main menu, paired with tipp10 (median
#                                        of the per-pair ratios), and peak RSS at that paint
#   scripts/measure.sh viewer [SESSIONS] RSS of the program with SESSIONS sessions of one title
#                                        listed in the record viewer (default 100000), then with
#                                        the graph of the scores open over them, by row and by date
#   scripts/measure.sh tool              keyrook-tool encode and records on 1 000 000 lines:
#                                        time, readings per second, peak RSS
#   scripts/measure.sh progress [SESSIONS] keyrook-tool progress over a generated history of
#                                        SESSIONS practice sessions (default 1000000): time,
#                                        peak RSS; the weak-key ranges and one key's weeks read
#                                        from a .kst of 10 000 / 100 000 lines; one graph metric over
#                                        1 000 000 sessions by row and by date (CPU time)
#   scripts/measure.sh bench             the Google benchmarks of each figure (CPU time)
#   scripts/measure.sh counts            callgrind instruction counts of the same steps at two
#                                        sizes, to compare as ratios on a noisy machine
#   scripts/measure.sh keys [N]          callgrind instructions of a correct key and of a counted
#                                        miss (flash and sounds on), each until the next key,
#                                        mean of N (default 10), beside tipp10's
#   scripts/measure.sh launch            callgrind instructions from exec until the main window
#                                        is idle: Keyrook, tipp10 and a bare Qt window (plain,
#                                        in Japanese, in Japanese with Keyrook's libraries), and
#                                        of each the part counted in the font libraries
#   scripts/measure.sh cold [PAIRS]      startup with the page cache dropped before each launch
#                                        (needs root); its "1 s later" RSS is the memory at rest,
#                                        shown with the part of it that is mapped font files
#   scripts/measure.sh heap              massif: the heap at its peak until 10 s after the window
#                                        shows, and the part of it the font libraries hold
#   scripts/measure.sh peer [PAIRS]      every row of the comparison with tipp10 in one run:
#                                        keys, launch, heap, cold (default 9 pairs)
# The build is KEYROOK_BUILD_DIR (default build/). Windows run on a private Xvfb display
# (MEASURE_DISPLAY, default :97). Needs xvfb, xdotool, valgrind, time; startup, keys, launch, heap, cold
# and peer need tipp10 with libqt6sql6-sqlite and sqlite3 (measurement tools, not part of Keyrook;
# each is named when missing).
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${KEYROOK_BUILD_DIR:-$here/build}
bin=$build/bin
display=${MEASURE_DISPLAY:-:97}
scratch=$(mktemp -d /tmp/keyrook-measure.XXXXXX)
xvfb=""
app=""

cleanup() {
  [ -n "$app" ] && kill "$app" 2>/dev/null || true
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null || true
  rm -rf "$scratch"
}
trap cleanup EXIT

need() { command -v "$1" >/dev/null || { echo "measure.sh: $1 is needed ($2)" >&2; exit 2; }; }

start_display() {
  export DISPLAY=$display
  xwininfo -root >/dev/null 2>&1 && return 0  # a server already runs there
  need Xvfb "apt-get install xvfb"
  Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb=$!
  sleep 1
}

# A copy of the program folder with one registered user, so that no first-run prompt appears.
program_copy() {
  local dir=$scratch/app
  mkdir -p "$dir/user"
  cp -r "$bin/keyrook" "$bin/data" "$bin/sound" "$bin/help.hlp" "$dir/"
  # The window modules beside the program (builds before them had none).
  if compgen -G "$bin/keyrook-*.so" >/dev/null; then cp "$bin"/keyrook-*.so "$dir/"; fi
  printf 'amy\r\namy\r\n' >"$dir/user/user.log"
  echo "$dir"
}

# A private HOME for tipp10 with its lesson database built (its first start takes a minute or
# two), the "Own Lessons" tab chosen with one lesson of a's, the audible signal on and its
# other settings at their defaults.
tipp10_home() {
  need tipp10 "apt-get install tipp10 libqt6sql6-sqlite"
  need sqlite3 "apt-get install sqlite3"
  local home=$scratch/tipp10 db
  [ -d "$home" ] && { echo "$home"; return; }
  mkdir -p "$home/.config/TIPP10"
  printf '[main]\ncheck_illustration=false\nlanguage_layout=us_qwerty_win\nlanguage_lesson=en_us_qwerty\n' \
    >"$home/.config/TIPP10/TIPP10.conf"
  echo "tipp10 builds its lesson database on its first start (a minute or two)..." >&2
  HOME=$home "$bin/keyrook_first_paint" --wait 600 --settle 0 tipp10 >/dev/null 2>&1 || true
  db=$home/.local/share/TIPP10/TIPP10/tipp10v2.db
  local a
  a=$(printf 'a%.0s' $(seq 1 200))
  sqlite3 "$db" "delete from own_content; delete from own_list;
    insert into own_list values (1, 'aaa', 'measure', 0);
    insert into own_content values (1, '$a', 1); insert into own_content values (2, '$a', 1);"
  cat >>"$home/.config/TIPP10/TIPP10.conf" <<'CONF'

[duration]
radio_lesson=true
radio_time=false
radio_token=false

[error]
check_beep=true
check_correct=false
check_stop=true

[lesson]
list_own=1
tab_current=2
CONF
  echo "$home"
}

# Drops the page cache (for cold starts) when COLD is set.
cold() {
  [ -n "${COLD:-}" ] || return 0
  sync
  echo 3 >/proc/sys/vm/drop_caches
}

median() { sort -g | awk '{v[NR]=$1} END {print (NR % 2) ? v[(NR+1)/2] : (v[NR/2]+v[NR/2+1])/2}'; }

startup() {
  local pairs=${1:-15}
  start_display
  local dir home
  dir=$(program_copy)
  home=$(tipp10_home)
  (cd "$dir" && "$bin/keyrook_first_paint" --settle 0 ./keyrook >/dev/null 2>&1) || true
  if [ -n "${COLD:-}" ]; then
    [ -w /proc/sys/vm/drop_caches ] || { echo "measure.sh: cold needs root (drop_caches)" >&2; exit 2; }
    echo "each launch starts with the page cache dropped"
  fi
  : >"$scratch/pairs"
  for i in $(seq 1 "$pairs"); do
    local k t
    # Alternate which program goes first, so that neither always finds the caches warmer.
    if [ $((i % 2)) -eq 0 ]; then
      cold; k=$(cd "$dir" && "$bin/keyrook_first_paint" ./keyrook 2>/dev/null) || true
      cold; t=$(HOME=$home "$bin/keyrook_first_paint" tipp10 2>/dev/null) || true
    else
      cold; t=$(HOME=$home "$bin/keyrook_first_paint" tipp10 2>/dev/null) || true
      cold; k=$(cd "$dir" && "$bin/keyrook_first_paint" ./keyrook 2>/dev/null) || true
    fi
    echo "$k $t" >>"$scratch/pairs"
    echo "pair $i: keyrook ${k%% *} ms, tipp10 ${t%% *} ms"
  done
  echo "keyrook: median $(cut -d' ' -f1 "$scratch/pairs" | median) ms to the painted menu;" \
       "peak RSS (KiB, medians) just before the paint $(cut -d' ' -f2 "$scratch/pairs" | median)," \
       "as it was seen $(cut -d' ' -f3 "$scratch/pairs" | median), 1 s later $(cut -d' ' -f4 "$scratch/pairs" | median)," \
       "of it font files $(cut -d' ' -f5 "$scratch/pairs" | median)"
  echo "tipp10:  median $(cut -d' ' -f6 "$scratch/pairs" | median) ms;" \
       "peak RSS just before $(cut -d' ' -f7 "$scratch/pairs" | median), 1 s later $(cut -d' ' -f9 "$scratch/pairs" | median)," \
       "of it font files $(cut -d' ' -f10 "$scratch/pairs" | median)"
  echo "paired median ratio keyrook / tipp10: $(awk '{print $1 / $6}' "$scratch/pairs" | median)"
  # The same program without its opening sound (a copy without sound/): what playing a sound
  # at start costs (Qt Multimedia's sound effect, the sound server's client).
  local quiet=$scratch/quiet
  cp -r "$dir" "$quiet"
  rm -rf "$quiet/sound"
  for _ in 1 2 3; do
    cold; (cd "$quiet" && "$bin/keyrook_first_paint" ./keyrook >>"$scratch/silent" 2>/dev/null) || true
  done
  echo "keyrook without its opening sound: median $(cut -d' ' -f1 "$scratch/silent" | median) ms," \
       "1 s later $(cut -d' ' -f4 "$scratch/silent" | median) KiB, of it font files $(cut -d' ' -f5 "$scratch/silent" | median)"
  for _ in 1 2 3; do
    cold; "$bin/keyrook_first_paint" "$bin/keyrook_bare_window" >>"$scratch/bare" 2>/dev/null || true
    cold; "$bin/keyrook_first_paint" "$bin/keyrook_bare_window" --japanese >>"$scratch/japanese" 2>/dev/null || true
    cold; "$bin/keyrook_first_paint" "$bin/keyrook_bare_window_libs" --japanese >>"$scratch/libs" 2>/dev/null || true
  done
  local f
  for f in bare japanese libs; do
    echo "a bare Qt window ($f): median $(cut -d' ' -f1 "$scratch/$f" | median) ms," \
         "1 s later $(cut -d' ' -f4 "$scratch/$f" | median) KiB, of it font files $(cut -d' ' -f5 "$scratch/$f" | median)"
  done
}

viewer() {
  local sessions=${1:-100000}
  need xdotool "apt-get install xdotool"
  start_display
  local dir
  dir=$(program_copy)
  "$bin/keyrook_bench_data" records "$dir/user/amy.rec" amy ことわざ集 "$sessions"
  (cd "$dir" && exec ./keyrook >/dev/null 2>&1) &
  app=$!
  local w=""
  for _ in $(seq 1 100); do
    w=$(xdotool search --onlyvisible --name '^Keyrook$' 2>/dev/null | head -1) && [ -n "$w" ] && break
    sleep 0.2
  done
  sleep 1
  echo "main menu: $(grep VmRSS /proc/$app/status | tr -s ' ')"
  xdotool windowfocus --sync "$w" key ctrl+r
  sleep 2
  local v x y
  v=$(xdotool search --onlyvisible --name '過去の記録' | head -1)
  eval "$(xdotool getwindowgeometry --shell "$v")"
  x=$X y=$Y
  xdotool mousemove $((x + 28)) $((y + 31)) click 1
  sleep 1
  xdotool mousemove $((x + 264)) $((y + 35)) click 1
  sleep 1
  xdotool key Home Return
  settle
  echo "$sessions sessions listed: $(rss)"
  # "グラフを見る", then in the graph's tool bar "総合得点", "日付" and "週平均".
  xdotool mousemove $((x + 586)) $((y + 30)) click 1
  local g=""
  for _ in $(seq 1 100); do
    g=$(xdotool search --onlyvisible --name 'ｸﾞﾗﾌ' 2>/dev/null | head -1) && [ -n "$g" ] && break
    sleep 0.2
  done
  eval "$(xdotool getwindowgeometry --shell "$g")"
  xdotool mousemove $((X + 50)) $((Y + 453)) click 1
  settle
  echo "  and the graph of the scores by row: $(rss)"
  xdotool mousemove $((X + 410)) $((Y + 453)) click 1
  settle
  xdotool mousemove $((X + 461)) $((Y + 453)) click 1
  settle
  echo "  and by date with weekly medians: $(rss)"
}

rss() { echo "$(grep VmRSS /proc/$app/status | tr -s ' '), $(grep VmHWM /proc/$app/status | tr -s ' ')"; }

# Waits until the program's RSS has stayed the same for two seconds (at most a minute).
settle() {
  local last="" same=0 now
  for _ in $(seq 1 120); do
    sleep 0.5
    now=$(grep VmRSS /proc/$app/status)
    if [ "$now" = "$last" ]; then same=$((same + 1)); else same=0; fi
    [ $same -ge 4 ] && return 0
    last=$now
  done
}

tool() {
  need /usr/bin/time "apt-get install time"
  "$bin/keyrook_bench_data" readings 1000000 >"$scratch/readings.txt"
  "$bin/keyrook_bench_data" records "$scratch/big.rec" amy ことわざ集 1000000
  echo "encode, 1 000 000 readings (best of 5):"
  for _ in 1 2 3 4 5; do
    /usr/bin/time -f "%e %U %S %M" "$bin/keyrook-tool" encode <"$scratch/readings.txt" \
      >/dev/null 2>>"$scratch/encode"
  done
  sort -g "$scratch/encode" | head -1 |
    awk '{printf "  %.2f s wall, %.2f s CPU, %.2f M readings/s wall, %.2f M/s CPU, peak RSS %d KiB\n", $1, $2 + $3, 1 / $1, 1 / ($2 + $3), $4}'
  echo "records, $(wc -c <"$scratch/big.rec") bytes, 1 000 000 lines:"
  /usr/bin/time -f "  %e s wall, peak RSS %M KiB" "$bin/keyrook-tool" records "$scratch/big.rec" >/dev/null
}

progress() {
  local sessions=${1:-1000000}
  need /usr/bin/time "apt-get install time"
  mkdir -p "$scratch/h"
  "$bin/keyrook_bench_data" history "$scratch/h" amy "$sessions" 1095
  for by in day week month; do
    /usr/bin/time -f "  progress --by $by, $sessions sessions: %e s wall, %U s user, peak RSS %M KiB" \
      "$bin/keyrook-tool" progress --by "$by" "$scratch/h/amy.rec" >"$scratch/$by.csv"
    echo "    $(($(wc -l <"$scratch/$by.csv") - 1)) periods"
  done
  "$bin/keyrook_bench" --benchmark_filter='WeakKeysRangeFromFile|KeyWeeksFromFile' 2>&1 | grep -E "WeakKeys|KeyWeeks"
  QT_QPA_PLATFORM=offscreen "$bin/keyrook_ui_bench" --benchmark_filter='GraphDraw(ByDate)?/1000000$' \
    --benchmark_min_time=1x 2>&1 | grep -E "GraphDraw"
}

bench() {
  "$bin/keyrook_bench" --benchmark_filter='ChooseTitle|SortColumn|TitleChoices|PaintTexts|StoreRecord|Encode|Cp932|Utf8' \
    --benchmark_repetitions=3 --benchmark_report_aggregates_only=true 2>&1 | grep -E "median|Benchmark"
  QT_QPA_PLATFORM=offscreen "$bin/keyrook_ui_bench" --benchmark_repetitions=3 \
    --benchmark_report_aggregates_only=true 2>&1 | grep -E "median|Benchmark"
}

# Instructions spent in one named step of a benchmark run once.
count() {
  local binary=$1 filter=$2 step=$3
  QT_QPA_PLATFORM=offscreen valgrind --tool=callgrind --collect-atstart=no --toggle-collect="$step" \
    --callgrind-out-file="$scratch/cg.out" "$binary" --benchmark_filter="$filter" \
    --benchmark_min_time=0 >/dev/null 2>&1
  callgrind_annotate "$scratch/cg.out" 2>/dev/null | awk '/PROGRAM TOTALS/ {gsub(",", "", $1); print $1}'
}

counts() {
  need valgrind "apt-get install valgrind"
  local a b
  a=$(count "$bin/keyrook_ui_bench" 'GraphDraw/10000$' '*drawMetric*')
  b=$(count "$bin/keyrook_ui_bench" 'GraphDraw/100000$' '*drawMetric*')
  echo "graph, one metric drawn: 10 000 points $a, 100 000 points $b instructions (ratio $(awk "BEGIN {print $b / $a}"))"
  a=$(count "$bin/keyrook_ui_bench" 'ViewerChooseTitle/100000$' '*chooseTitle*')
  b=$(count "$bin/keyrook_ui_bench" 'ViewerChooseTitle/1000000$' '*chooseTitle*')
  echo "viewer, title to painted list: 100 000 sessions $a, 1 000 000 $b instructions (ratio $(awk "BEGIN {print $b / $a}"))"
  for c in 5 8; do
    a=$(count "$bin/keyrook_ui_bench" "ViewerSort/$c/100000\$" '*sortBy*')
    echo "viewer, first sort by column $c of 100 000 rows, painted: $a instructions"
  done
  a=$(count "$bin/keyrook_ui_bench" 'MakerSave/10000$' '*saveSet*')
  echo "maker, convert and save 10 000 questions: $a instructions"
  "$bin/keyrook_bench_data" readings 100000 >"$scratch/r.txt"
  valgrind --tool=callgrind --callgrind-out-file="$scratch/enc.out" "$bin/keyrook-tool" encode \
    <"$scratch/r.txt" >/dev/null 2>&1
  a=$(callgrind_annotate "$scratch/enc.out" 2>/dev/null | awk '/PROGRAM TOTALS/ {gsub(",", "", $1); print $1}')
  echo "keyrook-tool encode, 100 000 readings end to end: $a instructions ($((a / 100000)) a reading)"
}

# Instructions of every thread of a program running under callgrind, counted so far.
cg_total() {
  callgrind_control -e "$1" 2>/dev/null | awk '/^ *Th/ {gsub(",", "", $3); s += $3} END {print s + 0}'
}

# Waits until a program under callgrind counts nothing for 3 s (at most LIMIT s); prints the
# count.
cg_idle() {
  local pid=$1 limit=${2:-120} last=-1 now waited=0
  while [ "$waited" -lt "$limit" ]; do
    now=$(cg_total "$pid")
    [ "$now" = "$last" ] && break
    last=$now
    sleep 3
    waited=$((waited + 3))
  done
  echo "$now"
}

# A window of a program, waited for: xdotool search's terms (--name TITLE, --class CLASS).
window_of() {
  local w=""
  for _ in $(seq 1 300); do
    w=$(xdotool search --onlyvisible "$@" 2>/dev/null | head -1) && [ -n "$w" ] && break
    sleep 0.5
  done
  echo "$w"
}

# Instructions of the program PID while it takes KEY and the SECONDS that follow, N times with
# BEFORE typed first (not counted) each time, minus what the same time costs at rest; the mean.
keys_cost() {
  local pid=$1 key=$2 before=$3 n=$4 seconds=$5 a b idle=0 total=0
  for _ in $(seq 1 "$n"); do
    a=$(cg_total "$pid"); sleep "$seconds"; b=$(cg_total "$pid")
    idle=$((idle + b - a))
  done
  for _ in $(seq 1 "$n"); do
    [ -n "$before" ] && { xdotool key "$before"; sleep "$seconds"; }
    a=$(cg_total "$pid"); xdotool key "$key"; sleep "$seconds"; b=$(cg_total "$pid")
    total=$((total + b - a))
  done
  echo $(((total - idle) / n))
}

# Ends the program started in the background as $app.
stop_app() {
  kill "$app"; wait "$app" 2>/dev/null || true
  app=""
}

# "<correct key> <counted miss>": keys_cost of "a" and of "q" after "a" in the program PID, whose
# session is running, after a few keys that are no steady state (a sound loaded, ...).
hit_and_miss() {
  local pid=$1 n=$2 seconds=$3
  xdotool key a a q a q a
  sleep "$seconds"
  echo "$(keys_cost "$pid" a "" "$n" "$seconds") $(keys_cost "$pid" q a "$n" "$seconds")"
}

keys() {
  local n=${1:-10} seconds=2
  need valgrind "apt-get install valgrind"
  need xdotool "apt-get install xdotool"
  start_display
  local dir home pid w
  dir=$(program_copy)
  # One set whose every question is typed with "a" ("q" is a miss anywhere), a line that fits
  # the window as the sample sets' lines do.
  rm -f "$dir"/data/*.std
  { printf 'measure/keyrook#\r\n'
    for _ in 1 2 3; do printf '%s\r\n%s\r\n' "$(printf 'a%.0s' $(seq 1 50))" "$(printf 'a%.0s' $(seq 1 50))"; done
  } >"$dir/data/measure.std"
  (cd "$dir" && exec valgrind --tool=callgrind --callgrind-out-file="$scratch/keys.%p" ./keyrook \
    >/dev/null 2>&1) &
  pid=$!
  app=$pid
  w=$(window_of --name '^Keyrook$')
  cg_idle "$pid" >/dev/null
  xdotool windowfocus --sync "$w" key ctrl+s
  w=$(window_of --name 'amy')
  xdotool windowfocus --sync "$w" key F1
  sleep 5
  cg_idle "$pid" 60 >/dev/null
  local hit miss
  read -r hit miss <<<"$(hit_and_miss "$pid" "$n" "$seconds")"
  stop_app
  echo "keyrook: a correct key $hit instructions, a counted miss $miss"

  home=$(tipp10_home)
  (HOME=$home exec valgrind --tool=callgrind --callgrind-out-file="$scratch/keys.%p" tipp10 \
    >/dev/null 2>&1) &
  pid=$!
  app=$pid
  w=$(window_of --class '^tipp10$')
  cg_idle "$pid" >/dev/null
  xdotool windowfocus --sync "$w" key alt+s  # "Start Training"
  sleep 5
  cg_idle "$pid" 60 >/dev/null
  xdotool key space  # the lesson starts
  sleep "$seconds"
  local thit tmiss
  read -r thit tmiss <<<"$(hit_and_miss "$pid" "$n" "$seconds")"
  stop_app
  echo "tipp10:  a correct key $thit instructions, a counted miss $tmiss"
  echo "ratio keyrook / tipp10: correct key $(awk "BEGIN {printf \"%.2f\", $hit / $thit}")," \
       "miss $(awk "BEGIN {printf \"%.2f\", $miss / $tmiss}")"
}

# Instructions a callgrind profile counted in the font libraries' own code (fontconfig,
# FreeType, HarfBuzz): matching faces, reading outlines, shaping.
font_instructions() {
  callgrind_annotate --threshold=100 --auto=no "$1" 2>/dev/null | awk '
    /\[[^]]*lib(fontconfig|freetype|harfbuzz)\.so[^]]*\]$/ {c = $1; gsub(",", "", c); s += c}
    END {print s + 0}'
}

# Instructions from exec until a program's main window is idle; prints "<instructions until
# idle> <of them in the font libraries>".
launch_cost() {
  local how=$1 name=$2 pid n
  shift 2
  (exec valgrind --tool=callgrind --callgrind-out-file="$scratch/launch.%p" "$@" >/dev/null 2>&1) &
  pid=$!
  app=$pid
  window_of "$how" "$name" >/dev/null
  n=$(cg_idle "$pid")
  stop_app
  echo "$n $(font_instructions "$scratch/launch.$pid")"
}

launch() {
  need valgrind "apt-get install valgrind"
  need xdotool "apt-get install xdotool"
  start_display
  local dir home k t b j l kf tf bf jf lf
  dir=$(program_copy)
  home=$(tipp10_home)
  read -r k kf < <(cd "$dir" && launch_cost --name '^Keyrook$' ./keyrook)
  read -r t tf < <(HOME=$home launch_cost --class '^tipp10$' tipp10)
  read -r b bf < <(launch_cost --class '^keyrook_bare_window$' "$bin/keyrook_bare_window")
  read -r j jf < <(launch_cost --class '^keyrook_bare_window$' "$bin/keyrook_bare_window" --japanese)
  read -r l lf < <(launch_cost --class '^keyrook_bare_window_libs$' "$bin/keyrook_bare_window_libs" --japanese)
  echo "launch to idle: keyrook $k instructions, tipp10 $t, a bare Qt window $b, the same in" \
       "Japanese $j, in Japanese with the program's libraries loaded $l;" \
       "ratio keyrook / tipp10 $(awk "BEGIN {printf \"%.2f\", $k / $t}")"
  echo "of them in the font libraries (fontconfig, FreeType, HarfBuzz): keyrook $kf, tipp10 $tf," \
       "bare $bf, Japanese $jf, with the libraries $lf; everything else: keyrook $((k - kf))," \
       "tipp10 $((t - tf)), ratio $(awk "BEGIN {printf \"%.2f\", ($k - $kf) / ($t - $tf)}")"
}

# "<heap at its peak> <of it held through the font libraries>" in bytes (useful heap, without
# the allocator's overhead), from a massif profile:
# the peak's allocation sites whose own frame or first caller is in fontconfig, FreeType or
# HarfBuzz (Qt hands HarfBuzz the font tables it copies).
heap_split() {
  ms_print "$1" | awk '
    function flush() { if (font) fonts += bytes; font = 0; child = 0 }
    /Detailed snapshots:/ { if (match($0, /[0-9]+ \(peak\)/)) peak = substr($0, RSTART, RLENGTH - 7) + 0; next }
    $1 ~ /^[0-9]+$/ && NF == 6 { flush(); in_peak = ($1 == peak); if (in_peak) { all = $4; gsub(",", "", all) }; next }
    in_peak && /^->/ { flush(); bytes = $2; gsub(/[(B,)]/, "", bytes); font = /lib(freetype|harfbuzz|fontconfig)\./; next }
    in_peak && /^\| ->/ && !child { child = 1; if (/lib(freetype|harfbuzz|fontconfig)\./) font = 1; next }
    END { flush(); print all + 0, fonts + 0 }'
}

# Prints heap_split of a program run under massif until its window shows and 10 s more.
heap_cost() {
  local how=$1 name=$2 pid
  shift 2
  (exec valgrind --tool=massif --threshold=0.1 --massif-out-file="$scratch/heap.%p" "$@" \
     >/dev/null 2>&1) &
  pid=$!
  app=$pid
  window_of "$how" "$name" >/dev/null
  sleep 10
  stop_app
  heap_split "$scratch/heap.$pid"
}

heap() {
  need valgrind "apt-get install valgrind"
  need xdotool "apt-get install xdotool"
  start_display
  local dir home k kf t tf j jf
  dir=$(program_copy)
  home=$(tipp10_home)
  read -r k kf < <(cd "$dir" && heap_cost --name '^Keyrook$' ./keyrook)
  read -r t tf < <(HOME=$home heap_cost --class '^tipp10$' tipp10)
  read -r j jf < <(heap_cost --class '^keyrook_bare_window$' "$bin/keyrook_bare_window" --japanese)
  echo "heap at its peak (massif, bytes): keyrook $k, of it through the font libraries $kf;" \
       "tipp10 $t, $tf; the Japanese bare window $j, $jf"
}

peer() {
  keys
  launch
  heap
  COLD=1 startup "${1:-9}"
}

case "${1:-}" in
  startup) shift; startup "$@" ;;
  viewer) shift; viewer "$@" ;;
  tool) tool ;;
  progress) shift; progress "$@" ;;
  bench) bench ;;
  counts) counts ;;
  keys) shift; keys "$@" ;;
  launch) launch ;;
  cold) shift; COLD=1 startup "$@" ;;
  heap) heap ;;
  peer) shift; peer "$@" ;;
  *) sed -n '2,35p' "$0" >&2; exit 2 ;;
esac
