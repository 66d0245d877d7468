# make run   install what is missing, build, start the window
# make test  install what is missing, build, run every test: the plain
#            build, the same tests under AddressSanitizer and
#            UndefinedBehaviorSanitizer, and each fuzz target for 20 s
# make fuzz  run each fuzz target for FUZZ_SECONDS (default 600)
# make bench build Release and print the benchmark table
# make package  build the Debian package build/quillet_<version>_<arch>.deb
# make install  install into PREFIX (default /usr/local); make uninstall
#               removes what it installed

BUILD  ?= build
JOBS   ?= $(shell nproc)
FUZZ_SECONDS ?= 600
PREFIX ?= /usr/local

.PHONY: all deps build build-asan build-fuzz run test test-plain test-asan test-fuzz fuzz bench \
        package install uninstall clean

all: build

deps:
	@scripts/install-deps

build: deps
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	@cmake --build $(BUILD) -j $(JOBS)

build-asan: deps
	@cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DQUILLET_SANITIZE=ON -DQUILLET_BUILD_BENCH=OFF >/dev/null
	@cmake --build build-asan -j $(JOBS)

build-fuzz: deps
	@cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUILLET_FUZZ=ON \
	  -DCMAKE_CXX_COMPILER=clang++ -DQUILLET_FUZZ_SECONDS=$(FUZZ_SECONDS) >/dev/null
	@cmake --build build-fuzz -j $(JOBS)

run: build
	@scripts/run-window $(BUILD)

test: test-plain test-asan test-fuzz

test-plain: build
	@ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

test-asan: build-asan
	@ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
	  ctest --test-dir build-asan --output-on-failure -j $(JOBS)

test-fuzz: FUZZ_SECONDS = 20
test-fuzz: build-fuzz
	@ctest --test-dir build-fuzz --output-on-failure -j $(JOBS) -L fuzz

fuzz: build-fuzz
	@ctest --test-dir build-fuzz --output-on-failure -j $(JOBS) -L fuzz

bench: deps
	@bench/run

package: build
	@cmake --build $(BUILD) --target package

install: build
	@cmake --install $(BUILD) --component quillet --prefix $(PREFIX) --strip
	@if [ -d $(BUILD)/python/quillet ]; then \
	  cmake --install $(BUILD) --component python3-quillet --prefix $(PREFIX) --strip; fi

# Removes the files listed by the last install, then the folders of Quillet
# alone that it left empty.
uninstall:
	@xargs -r -d '\n' rm -fv < $(BUILD)/install_manifest_quillet.txt
	@if [ -f $(BUILD)/install_manifest_python3-quillet.txt ]; then \
	  xargs -r -d '\n' rm -fv < $(BUILD)/install_manifest_python3-quillet.txt; \
	  grep -E '/quillet/|/python3-quillet/' $(BUILD)/install_manifest_python3-quillet.txt | \
	    xargs -r -d '\n' dirname | sort -ru | xargs -r -d '\n' rmdir -v --ignore-fail-on-non-empty; fi
	@rmdir -v --ignore-fail-on-non-empty $(PREFIX)/share/doc/quillet 2>/dev/null || true

clean:
	rm -rf $(BUILD) build-asan build-fuzz build-release
