#!/bin/bash
# The manual page and --help are made from one table: they list the same
# options, the page has the sections a manual page has and man renders it
# without a warning; --version prints the project's version.
# Usage: test_man_page.sh BUILD_DIR
set -uo pipefail
BUILD=${1:?usage: $0 BUILD_DIR}
V=$BUILD/vistrel
PAGE=$BUILD/packaging/vistrel.1
fail() { echo "FAIL: $*"; exit 1; }
[[ -s $PAGE ]] || fail "no manual page at $PAGE"

help=$("$V" --help) || fail "--help failed"
# An option's entry starts at column 3 (5 for one that goes with the one above).
help_options=$(sed -n 's/^ \{2,4\}\(--[a-z-]*\).*/\1/p' <<<"$help" | sort)
page=$(cat "$PAGE")
# In the page each entry is a tagged paragraph: ".TP", then ".B --option ...".
man_options=$(awk '/^\.SH OPTIONS/ {on = 1; next} /^\.SH/ {on = 0} on && tp && /^\.B / {print $2} {tp = /^\.TP/}' \
    <<<"$page" | sed 's/\\-/-/g' | sort)
[[ $(wc -l <<<"$help_options") -ge 20 ]] || fail "--help lists only: $help_options"
[[ $help_options == "$man_options" ]] ||
    fail "--help and the manual page differ: $(diff <(echo "$help_options") <(echo "$man_options"))"
[[ $page == "$("$V" --print-man)" ]] || fail "the built page is not what --print-man prints"
for option in --select --record-dialog --version --print-man; do
    grep -qx -- "$option" <<<"$help_options" || fail "--help does not list $option"
done

for section in NAME SYNOPSIS DESCRIPTION OPTIONS "EXIT STATUS" ENVIRONMENT FILES EXAMPLES; do
    grep -qx ".SH $section" <<<"$page" || fail "the page has no $section section"
done
# Every preference --help names is in the page too.
while read -r name; do
    grep -qx ".B $name" <<<"$page" || fail "the page lacks the preference $name"
done < <(sed -n '/^Preferences/,$s/^  \([A-Za-z][A-Za-z0-9_]*\) .*/\1/p' <<<"$help")

warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$PAGE" 2>&1 >/dev/null)
[[ -z $warnings ]] || fail "man warns: $warnings"
rendered=$(LC_ALL=C.UTF-8 MANWIDTH=80 man -l "$PAGE" 2>/dev/null)
grep -q -- '--capture SHAPE \[POINTS\]' <<<"$rendered" || fail "the rendered page lacks --capture: $rendered"

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$BUILD/CMakeCache.txt")
[[ -n $version ]] || fail "no project version in the build's cache"
out=$("$V" --version) || fail "--version failed"
[[ $out == "vistrel $version" ]] || fail "--version printed '$out', not the version $version"
echo "ok: $(wc -l <<<"$help_options") options in both"
