#!/usr/bin/env bash
# Runs one end-to-end case of the research commands: run_case.sh CASE BIN ROOT.
#
# CASE/cmd is a bash script run in a scratch copy of CASE (cmd and expected/
# left out), with BIN first on PATH and ROOT (the source tree) in $ROOT. The
# case passes when its standard output equals expected/stdout, its exit code
# expected/status (0 when absent), its standard error expected/stderr (when
# present), every other file under expected/ the file of that name left in
# the scratch folder, and the run leaves no file beyond the inputs and those.
set -u
case_dir=$1 bin=$2 root=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp -R "$case_dir"/. "$work"/
rm -rf "$work/expected" "$work/cmd"
inputs=$(cd "$work" && find . -type f | sort)
(cd "$work" && ROOT=$root PATH="$bin:$PATH" bash "$case_dir/cmd" >"$work/.stdout" 2>"$work/.stderr")
status=$?
failed=0
expected_status=0
[ -f "$case_dir/expected/status" ] && expected_status=$(cat "$case_dir/expected/status")
if [ "$status" != "$expected_status" ]; then
  echo "exit code $status, expected $expected_status"; failed=1
fi
if ! cmp -s "$work/.stdout" "$case_dir/expected/stdout" 2>/dev/null; then
  echo "standard output differs:"; diff "$case_dir/expected/stdout" "$work/.stdout" | head -20; failed=1
fi
if [ -f "$case_dir/expected/stderr" ] && ! cmp -s "$work/.stderr" "$case_dir/expected/stderr"; then
  echo "standard error differs:"; diff "$case_dir/expected/stderr" "$work/.stderr" | head -20; failed=1
fi
allowed=$inputs
if [ -d "$case_dir/expected" ]; then
  while IFS= read -r file; do
    case $file in ./stdout|./stderr|./status) continue ;; esac
    allowed=$(printf '%s\n%s' "$allowed" "$file")
    if ! cmp -s "$case_dir/expected/$file" "$work/$file"; then
      echo "$file differs or is missing:"; diff "$case_dir/expected/$file" "$work/$file" 2>&1 | head -20; failed=1
    fi
  done < <(cd "$case_dir/expected" && find . -type f | sort)
fi
left=$(cd "$work" && find . -type f ! -name .stdout ! -name .stderr | sort)
extra=$(comm -13 <(printf '%s\n' "$allowed" | sort -u) <(printf '%s\n' "$left"))
if [ -n "$extra" ]; then echo "files left that no one expects:"; echo "$extra"; failed=1; fi
if [ "$failed" != 0 ]; then echo "--- standard error:"; head -20 "$work/.stderr"; exit 1; fi
echo "1 passed, 0 failed"
