#!/usr/bin/env bash
# desktop-file-validate FILE, failing on errors and warnings, and the
# launcher actions there. Hints pass: the
# entry names two main categories (Graphics and Utility) on purpose.
set -u
validator=$1 file=$2
out=$("$validator" "$file" 2>&1)
status=$?
[ -n "$out" ] && printf '%s\n' "$out"
if [ $status -ne 0 ] || grep -qE ': (error|warning):' <<<"$out"; then
  echo "FAIL: $file is not a valid desktop entry"
  exit 1
fi
grep -qx 'Exec=vistrel' "$file" && grep -qx 'Icon=vistrel' "$file" && grep -qx 'Name=Vistrel' "$file" \
  || { echo "FAIL: $file does not start vistrel with its icon"; exit 1; }
# The launcher's actions, each a command of ours with a Chinese name.
for action in FullScreen Rectangle Object Record; do
  group=$(sed -n "/^\[Desktop Action $action\]/,/^\[/p" "$file")
  { grep -q '^Exec=vistrel --' <<<"$group" && grep -q '^Name\[zh_CN\]=' <<<"$group" &&
    grep -q "^Actions=.*\b$action;" "$file"; } ||
    { echo "FAIL: action $action missing, without a command or without its Chinese name"; exit 1; }
done
echo "ok"
