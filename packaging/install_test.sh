#!/usr/bin/env bash
# Installs the component "quillet" of the build folder BUILD under the prefix
# /usr into a temporary DESTDIR and checks what lands there: the file list
# against EXPECTED, the installed quillet-cli against the build tree's, the
# desktop entry, the metainfo, both manual pages and the bash completion.
# Every check runs; each failure is one "FAIL:" line and the status is 1.
#
# Usage: install_test.sh BUILD EXPECTED_FILE_LIST VERSION
set -uo pipefail
build=$1 expected=$2 version=$3
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

if ! DESTDIR=$root cmake --install "$build" --component quillet --prefix /usr >"$root.log" 2>&1; then
  cat "$root.log"; rm -f "$root.log"; fail "cmake --install"; exit 1
fi
rm -f "$root.log"
usr=$root/usr
app_id=org.quillet.Quillet

diff -u "$expected" <(cd "$root" && find . ! -type d | sed 's|^\.||' | LC_ALL=C sort) ||
  fail "the installed files differ from $expected"

# The installed program summarises as the build tree's does.
for sample in initial chinese english; do
  want=$("$build/bin/quillet-cli" --sample "$sample" --json) || fail "build tree: --sample $sample"
  got=$("$usr/bin/quillet-cli" --sample "$sample" --json) || fail "installed: --sample $sample"
  [[ -n $got && $got == "$want" ]] || fail "installed quillet-cli --sample $sample differs"
done
[[ $("$usr/bin/quillet-cli" --version) == "quillet-cli $version" ]] || fail "--version is not $version"

desktop=$usr/share/applications/$app_id.desktop
desktop-file-validate "$desktop" || fail "desktop-file-validate"
exec_program=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$desktop")
[[ -x $usr/bin/$exec_program ]] || fail "Exec=$exec_program is not an installed program"
grep -qx "Icon=$app_id" "$desktop" || fail "the desktop entry's icon is not $app_id"

metainfo=$usr/share/metainfo/$app_id.metainfo.xml
appstreamcli validate --no-net "$metainfo" >"$root/as.log" 2>&1 || { cat "$root/as.log"; fail "appstreamcli validate"; }
grep -q "<release version=\"$version\"" "$metainfo" || fail "the metainfo has no release $version"

# Both pages render without a warning; the pages hold Chinese, so they are
# rendered in a UTF-8 locale.
for page in quillet quillet-cli; do
  warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$usr/share/man/man1/$page.1.gz" 2>&1 >/dev/null)
  [[ -z $warnings ]] || { echo "$warnings"; fail "man -l $page.1.gz warns"; }
done

# Every long option of --help is in the manual page and is completed.
options=$("$usr/bin/quillet-cli" --help | grep -oE -- '--[a-z][a-z-]*' | LC_ALL=C sort -u)
page=$(LC_ALL=C.UTF-8 MANWIDTH=200 man -l "$usr/share/man/man1/quillet-cli.1.gz" 2>/dev/null)
for option in $options; do
  grep -qF -- "$option" <<<"$page" || fail "man quillet-cli lacks $option"
done

# complete WORD... prints what the completion offers for the last word.
complete_words() {
  bash -c 'source /usr/share/bash-completion/bash_completion && source "$0" &&
           COMP_WORDS=("$@") COMP_CWORD=$(($# - 1)) COMP_LINE="$*" COMP_POINT=${#COMP_LINE} &&
           _comp_quillet_cli && printf "%s\n" "${COMPREPLY[@]}"' \
    "$usr/share/bash-completion/completions/quillet-cli" quillet-cli "$@"
}
completed=$(complete_words -- | LC_ALL=C sort -u)
[[ $completed == "$options" ]] ||
  fail "the completion of -- offers$(echo $completed), --help has$(echo $options)"
for sample in $(complete_words --sample ''); do
  "$usr/bin/quillet-cli" --sample "$sample" >/dev/null || fail "completed sample $sample fails"
done
[[ $(complete_words -e g | LC_ALL=C sort | xargs) == "gb18030 gbk" ]] ||
  fail "-e g does not complete to gb18030 and gbk"

[[ $failures -eq 0 ]] && echo "the installed tree is complete and works"
exit $((failures > 0))
