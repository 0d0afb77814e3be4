#!/usr/bin/env bash
# Times the program's own fast search, advanced search and physical-disk
# scan (SearchBench under Wine, the image mapped as drive S:, read as a
# volume and as a whole disk) against the engine alone (NtfsBench, natively)
# on the same NTFS images: the benchmark image of make-ntfs-bench-image.sh
# (100,000 files) and one with 200,000 files, both with all their folders in
# the root, and one with 200,000 files in 20,220 folders three deep, as a
# disk has them; made in WORK_DIR unless they are there. The advanced search
# and the disk scan choose every shipped signature, on both sides.
#   search-bench.sh WORK_DIR [IMAGE...]
# IMAGE: some of ntfs-100k.img, ntfs-200k.img, ntfs-200k-deep.img (default all).
# QV_BENCH_RUNS (default 5) rounds are run, each the native engine once and
# then each of the app's searches once, and the best time of each figure is
# kept; QV_BENCH_KINDS names the searches (some of "search advanced disk",
# default all); QV_BENCH_FREE=0 leaves out the run on every CPU. Each image
# ends with a line of the three ratios, app under Wine to engine natively.
# What each figure includes:
#   app search         the shown main window, drawn and idle as the wizard's
#                      Finish finds it, from the search's start message
#                      until the search has ended and every message it left
#                      is handled: the MFT walk, the engine's tree handed to
#                      the folder tree and the file list, the reset to the
#                      root (file list of the root filled) and the drawing of
#                      the tree, the list and the bars. Its phases follow it.
#   engine under Wine  the same engine in the same process on the same drive,
#                      its finds kept in a plain list: walk and engine tree,
#                      no window.
#   search (native)    NtfsBench: the engine alone built natively reading the
#                      image file, walk and engine tree kept in a plain list;
#                      "advanced search" and "disk scan" likewise.
#   app advanced,      the same as "app search" for the advanced search (MFT
#   app disk scan      walk, tree, cluster bitmap and the signature pass over
#                      the free clusters) and the disk scan (the signature
#                      pass over every sector), each beside the engine under
#                      Wine and natively.
#   every CPU          the app search again with Wine free to run on every
#                      CPU (see below).
# Wine runs a window program as three processes: the program, the Wine
# server (every window and device context operation is a request to it and
# a wait for its answer) and the X server. Where a process woken on another
# CPU takes long to run (an idle virtual CPU of a virtual machine sleeps in
# its host), each of the ~2,300 requests of a search waits on that wake-up
# and the window work takes three to six times longer from one run to the
# next. The program's own work is what is measured: Wine's three processes
# share one CPU (QV_BENCH_CPU, default the last), where a request is a
# switch between processes, and the free figure follows for comparison.
# Needs the windows build (build/windows/bin/SearchBench.exe) and a native
# Release build (build/release/engine/bench/NtfsBench; see the README).
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
work=${1:?usage: search-bench.sh WORK_DIR [IMAGE...]}
shift
images=("$@")
[ ${#images[@]} -gt 0 ] || images=(ntfs-100k.img ntfs-200k.img ntfs-200k-deep.img)
app_bench=$root/build/windows/bin/SearchBench.exe
engine_bench=$root/build/release/engine/bench/NtfsBench
for program in "$app_bench" "$engine_bench"; do
  [ -x "$program" ] || { echo "missing $program: build it first" >&2; exit 1; }
done
mkdir -p "$work"
work=$(cd "$work" && pwd)

make_image() { # files image
  [ -f "$2" ] || QV_BENCH_FILES=$1 "$root/engine/bench/make-ntfs-bench-image.sh" "$2"
}

# 20 top folders of 10 folders of 100 folders of 10 files, every third
# file deleted.
make_deep_image() { # image
  [ -f "$1" ] && return
  truncate -s 2G "$1"
  mkntfs -F -Q -q -c 4096 "$1" >/dev/null 2>&1
  local mnt
  mnt=$(mktemp -d)
  ntfs-3g "$1" "$mnt"
  python3 - "$mnt" <<'PY'
import os, sys
mnt, files = sys.argv[1], []
for a in range(20):
    for b in range(10):
        for c in range(100):
            folder = os.path.join(mnt, 'top%02d' % a, 'mid%02d' % b, 'leaf%03d' % c)
            os.makedirs(folder)
            for f in range(10):
                files.append(os.path.join(folder, 'file%02d.txt' % f))
                with open(files[-1], 'wb') as out:
                    out.write(b'%d/%d/%d/%d ' % (a, b, c, f) * (1 + f * 7))
for path in files[::3]:
    os.remove(path)
PY
  umount "$mnt"
  rmdir "$mnt"
}

# One wineserver for all runs of a setting, as the tests have it: a prefix
# that starts its services during a timed search makes that search many
# times slower.
export QV_WINE_DIR=$work/wine
source "$root/tools/wine-env"
cpu=${QV_BENCH_CPU:-$(($(nproc) - 1))}
every_cpu=0-$(($(nproc) - 1))
# Starts the Wine server and the virtual screen afresh on CPUS: the
# processes Wine starts inherit them.
start_wine() { # CPUS
  "$root/tools/wine-fixture" stop "$QV_WINE_DIR" >/dev/null
  taskset -c "$1" "$root/tools/wine-fixture" start "$QV_WINE_DIR" >/dev/null
}
start_wine "$cpu"
mkdir -p "$work/root-s" "$WINEPREFIX/dosdevices"
ln -sfn "$work/root-s" "$WINEPREFIX/dosdevices/s:"
trap 'rm -f "$WINEPREFIX/dosdevices/s::" "$WINEPREFIX/dosdevices/s:"; "$root/tools/wine-fixture" stop "$QV_WINE_DIR"' EXIT

seconds() { sed -nE "s/^$1: ([0-9.]+) s.*/\1/p"; }
less() { [ -z "$2" ] || [ "$(echo "$1 < $2" | bc)" = 1 ]; }
ratio() { echo "scale=2; $1 / $2" | bc; }
# The best of the runs: other work on the machine only ever adds time.
best() { # label command...
  local label=$1 best_out="" best_time="" out time
  shift
  for _ in $(seq "$runs"); do
    out=$("$@")
    time=$(seconds "$label" <<<"$out")
    if less "$time" "$best_time"; then
      best_time=$time best_out=$out
    fi
  done
  echo "$best_out"
}

# QV_BENCH_RUNS: the runs of each figure, the best kept (default 5).
# QV_BENCH_KINDS: the searches timed, some of "search advanced disk" (default all).
# QV_BENCH_FREE=0 leaves out the run with Wine on every CPU.
runs=${QV_BENCH_RUNS:-5}
kinds=${QV_BENCH_KINDS:-search advanced disk}
declare -A option=([search]="" [advanced]=--advanced [disk]=--disk)
declare -A native_label=([search]=search [advanced]="advanced search" [disk]="disk scan")
declare -A app_label=([search]="app search" [advanced]="app advanced" [disk]="app disk scan")
declare -A app_best_out app_best_time native_best_time

# Each round runs the native engine once and then each app search once, so
# a busy minute of the machine weighs on both sides alike; the best of the
# rounds is kept for each figure, the app's with the output of its run.
# Sets app_best_out/app_best_time and native_best_time by kind.
timed_rounds() { # image
  local kind out time native_out
  app_best_out=() app_best_time=() native_best_time=()
  for _ in $(seq "$runs"); do
    native_out=$("$engine_bench" --bench "$1")
    for kind in $kinds; do
      time=$(seconds "${native_label[$kind]}" <<<"$native_out")
      if less "$time" "${native_best_time[$kind]:-}"; then native_best_time[$kind]=$time; fi
      # shellcheck disable=SC2086
      out=$(taskset -c "$cpu" "$root/tools/wine-run" "$app_bench" S NTFS ${option[$kind]})
      time=$(seconds "app search" <<<"$out")
      if less "$time" "${app_best_time[$kind]:-}"; then
        app_best_time[$kind]=$time app_best_out[$kind]=$out
      fi
    done
  done
}

for image in "${images[@]}"; do
  image=$work/$image
  case $image in
  *-deep.img) files=200000 shape="in 20,220 folders three deep" && make_deep_image "$image" ;;
  *) files=$(($(basename "$image" | tr -dc 0-9) * 1000)) shape="in the root's folders" &&
    make_image "$files" "$image" ;;
  esac
  ln -sfn "$image" "$WINEPREFIX/dosdevices/s::"
  start_wine "$cpu"
  # Settles the prefix and the page cache.
  for kind in $kinds; do
    # shellcheck disable=SC2086
    taskset -c "$cpu" "$root/tools/wine-run" "$app_bench" S NTFS ${option[$kind]} >/dev/null
  done
  timed_rounds "$image"
  echo "== $(basename "$image"): $files files $shape, every third deleted (best of $runs runs)"
  summary=""
  for kind in $kinds; do
    out=${app_best_out[$kind]:-}
    app=${app_best_time[$kind]:-}
    engine=${native_best_time[$kind]:-}
    echo "$out" | sed -n "s/^app search/${app_label[$kind]}/p; s/^  start/  start/p; s/^  in the window/  in the window/p; s/^engine under Wine/  engine under Wine/p"
    [ -n "$engine" ] && echo "  ${native_label[$kind]} (native): $engine s"
    if [ -n "$app" ] && [ -n "$engine" ]; then
      echo "  app under Wine / engine natively: $(ratio "$app" "$engine")x"
      summary+=" ${native_label[$kind]} $(ratio "$app" "$engine")x;"
    fi
  done
  echo "ratios (app under Wine / engine natively, best of $runs):${summary%;}"
  if [ "${QV_BENCH_FREE:-1}" != 0 ] && [[ " $kinds " == *" search "* ]]; then
    start_wine "$every_cpu"
    "$root/tools/wine-run" "$app_bench" S NTFS >/dev/null
    free_out=$(best "app search" "$root/tools/wine-run" "$app_bench" S NTFS)
    free=$(seconds "app search" <<<"$free_out")
    engine=${native_best_time[search]:-}
    if [ -n "$free" ] && [ -n "$engine" ]; then
      echo "every CPU: $(echo "$free_out" | grep -E '^(app search|  start)' | tr -s ' \n' ' ')"
      echo "  app under Wine on every CPU / engine natively: $(ratio "$free" "$engine")x"
    fi
  fi
done
