#!/usr/bin/env bash
# Builds the fuzz targets with clang and libFuzzer, then runs each for SECONDS
# seconds over a scratch copy of its seeds and of its saved regressions.
# Exits non-zero when any target reports a crash, leak, timeout or failed check.
#
#   tests/fuzz/run.sh SECONDS
#
# Needs clang++ with libFuzzer (on Debian 12: clang libclang-rt-14-dev).
# Builds into build-fuzz/ at the repository root; the logs and any crashing
# inputs end up in build-fuzz/work/<target>/.
set -euo pipefail

seconds=${1:?usage: tests/fuzz/run.sh SECONDS}
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=$root/build-fuzz
cxx=${CXX:-clang++}

targets=(fuzz_int_list fuzz_parameters fuzz_run)
declare -A max_len=([fuzz_int_list]=2048 [fuzz_parameters]=65536 [fuzz_run]=4096)

common=(-std=c++17 -g -O1 -fno-omit-frame-pointer -fno-sanitize-recover=all -I"$root/src")

build_engine() {
  local source pids=() status=0 pid
  mkdir -p "$build/engine"
  rm -f "$build"/engine/*.o
  for source in "$root"/src/containers/*.cc "$root"/src/model/*.cc "$root"/src/reports/*.cc; do
    [[ $(basename "$source") == main.cc ]] && continue
    # Instrumented for coverage, without the libFuzzer main that the targets link.
    "$cxx" "${common[@]}" -fsanitize=fuzzer-no-link,address,undefined -c "$source" \
      -o "$build/engine/$(basename "$(dirname "$source")")_$(basename "$source" .cc).o" &
    pids+=($!)
  done
  for pid in "${pids[@]}"; do wait "$pid" || status=1; done
  return "$status"
}

build_target() {
  "$cxx" "${common[@]}" -fsanitize=fuzzer,address,undefined \
    "$here/$1.cc" "$build"/engine/*.o -o "$build/$1"
}

# Runs one target; returns non-zero when libFuzzer reports a finding.
run_target() {
  local target=$1 work=$build/work/$1
  rm -rf "$work"
  mkdir -p "$work/corpus"
  # A scratch copy: libFuzzer adds what it finds to its corpus folder, and the
  # committed seeds must stay as they are.
  cp "$here/corpus/$target"/* "$work/corpus/"
  if [[ -d $here/regressions/$target ]]; then
    cp "$here/regressions/$target"/* "$work/corpus/" 2>/dev/null || true
  fi
  echo "== $target: ${seconds}s"
  if (cd "$work" && "$build/$target" -max_total_time="$seconds" -max_len="${max_len[$target]}" \
    -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$work/" \
    "$work/corpus" >"$work/log" 2>&1); then
    grep -E '^(Done|stat::number_of_executed_units|stat::peak_rss_mb)' "$work/log" || true
    return 0
  fi
  echo "!! $target found a problem; last lines of $work/log:"
  tail -n 60 "$work/log"
  ls "$work"/crash-* "$work"/leak-* "$work"/timeout-* "$work"/oom-* 2>/dev/null || true
  return 1
}

echo "== building into $build"
build_engine
for target in "${targets[@]}"; do build_target "$target"; done

failed=0
for target in "${targets[@]}"; do run_target "$target" || failed=1; done
exit "$failed"
