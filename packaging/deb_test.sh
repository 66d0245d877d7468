#!/usr/bin/env bash
# Makes the Debian package of the build folder BUILD with CPack into a
# temporary folder and checks it: its name, its control fields, its file list
# against EXPECTED, quillet-cli unpacked from it with dpkg-deb -x, and lintian,
# whose every error fails the test (its warnings are printed); then the same
# for the package python3-quillet, when the build made the Python module.
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

# The Python package, when the build made the module: its control fields,
# its files, the module imported from the unpacked tree, and lintian.
if compgen -G "$build/python/quillet/_quillet*.so" >/dev/null; then
  pydeb=$tmp/out/python3-quillet_${version}_$(dpkg --print-architecture).deb
  if [[ ! -f $pydeb ]]; then
    fail "cpack made no $(basename "$pydeb")"
  else
    depends=$(dpkg-deb -f "$pydeb" Depends)
    for dependency in python3 libc6 libstdc++6; do
      [[ $depends == *"$dependency"* ]] || fail "python3-quillet's Depends lacks $dependency: $depends"
    done
    [[ $(dpkg-deb -f "$pydeb" Recommends) == *python3-distributed* ]] ||
      fail "python3-quillet does not recommend python3-distributed"
    site=/usr/lib/python3/dist-packages/quillet
    module=$(basename "$build"/python/quillet/_quillet*.so)
    diff -u <(printf '%s\n' "$site/$module" "$site/__init__.py" "$site/_quillet.pyi" \
                "$site/py.typed" "$site/dask/__init__.py" "$site/dask/__main__.py" \
                /usr/share/doc/python3-quillet/changelog.gz \
                /usr/share/doc/python3-quillet/copyright | LC_ALL=C sort) \
      <(dpkg-deb --fsys-tarfile "$pydeb" | tar -t | grep -v '/$' | sed 's|^\.||' | LC_ALL=C sort) ||
      fail "python3-quillet's files differ from the expected ones"
    dpkg-deb -x "$pydeb" "$tmp/pyroot"
    want=$("$build/bin/quillet-cli" --sample english --json)
    WANT=$want PYTHONPATH=$tmp/pyroot/usr/lib/python3/dist-packages /usr/bin/python3 -c '
import json, os, quillet, quillet.dask
s = quillet.samples["english"]
assert quillet.__file__.startswith(os.environ["PYTHONPATH"]), quillet.__file__
assert quillet.summarize(s.article, s.title).to_dict() == {**json.loads(os.environ["WANT"]), "replaced": 0}
' || fail "the unpacked module does not summarise as quillet-cli"
    lintian --tag-display-limit 0 "$pydeb" >"$tmp/pylintian.log" 2>&1
    status=$?
    cat "$tmp/pylintian.log"
    grep -q '^E: ' "$tmp/pylintian.log" && fail "lintian reports errors on python3-quillet"
    [[ $status -eq 0 ]] || fail "lintian on python3-quillet ended with status $status"
  fi
fi

[[ $failures -eq 0 ]] && echo "the package is complete and works"
exit $((failures > 0))
