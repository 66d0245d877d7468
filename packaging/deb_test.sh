#!/usr/bin/env bash
# Makes the Debian package of the build folder BUILD with CPack into a
# temporary folder and checks it: its name, its control fields, its file list
# against EXPECTED, quillet-cli unpacked from it with dpkg-deb -x, and lintian,
# whose every error fails the test (its warnings are printed).
#
# Usage: deb_test.sh BUILD EXPECTED_FILE_LIST VERSION
set -uo pipefail
build=$1 expected=$2 version=$3
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

deb=$tmp/out/quillet_${version}_$(dpkg --print-architecture).deb
if ! cpack --config "$build/CPackConfig.cmake" -B "$tmp/out" >"$tmp/cpack.log" 2>&1 || [[ ! -f $deb ]]; then
  cat "$tmp/cpack.log"; ls "$tmp/out"; fail "cpack made no $(basename "$deb")"; exit 1
fi

[[ $(dpkg-deb -f "$deb" Package) == quillet ]] || fail "the package is not named quillet"
[[ $(dpkg-deb -f "$deb" Version) == "$version" ]] || fail "the package version is not $version"
depends=$(dpkg-deb -f "$deb" Depends)
for dependency in fonts-noto-cjk libc6 libstdc++6 libqt6widgets6; do
  [[ $depends == *"$dependency"* ]] || fail "Depends lacks $dependency: $depends"
done

diff -u "$expected" <(dpkg-deb --fsys-tarfile "$deb" | tar -t | grep -v '/$' | sed 's|^\.||' | LC_ALL=C sort) ||
  fail "the package's files differ from $expected"

# quillet-cli is static apart from system libraries: it runs where unpacked.
dpkg-deb -x "$deb" "$tmp/root"
cli=$tmp/root/usr/bin/quillet-cli
[[ $("$cli" --version) == "quillet-cli $version" ]] || fail "unpacked --version is not $version"
for sample in initial english; do
  got=$("$cli" --sample "$sample" -l 2) || fail "unpacked quillet-cli --sample $sample"
  [[ -n $got && $got == "$("$build/bin/quillet-cli" --sample "$sample" -l 2)" ]] ||
    fail "unpacked quillet-cli --sample $sample differs from the build tree's"
done

lintian --tag-display-limit 0 "$deb" >"$tmp/lintian.log" 2>&1
status=$?
cat "$tmp/lintian.log"
grep -q '^E: ' "$tmp/lintian.log" && fail "lintian reports errors"
[[ $status -eq 0 ]] || fail "lintian ended with status $status"

[[ $failures -eq 0 ]] && echo "the package is complete and works"
exit $((failures > 0))
