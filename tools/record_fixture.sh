#!/usr/bin/env bash
# Records the expected outputs of an end-to-end case folder by running a given
# syllex binary on it: tools/record_fixture.sh BINARY CASE_DIR.
# Used only for golden cases, whose reference is the straightforward engine.
set -euo pipefail
bin=$(realpath "$1")
case_dir=$(realpath "$2")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for f in param03.tmp corpus.tmp; do [ -f "$case_dir/$f" ] && cp "$case_dir/$f" "$work/"; done
[ -d "$case_dir/before" ] && cp "$case_dir/before/"* "$work/"
runs=1; [ -f "$case_dir/runs" ] && runs=$(cat "$case_dir/runs")
stdin=/dev/null; [ -f "$case_dir/stdin" ] && stdin="$case_dir/stdin"
for ((i = 0; i < runs; i++)); do (cd "$work" && "$bin" <"$stdin" >>stdout.out); done
rm -rf "$case_dir/expected" && mkdir -p "$case_dir/expected"
mv "$work/stdout.out" "$case_dir/expected/stdout"
for f in result03.tmp graph03.tmp; do [ -f "$work/$f" ] && cp "$work/$f" "$case_dir/expected/"; done
echo "recorded $case_dir"
