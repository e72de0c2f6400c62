# Entry points for newcomers and CI. Everything goes through CMake presets.
PRESET ?= ci
# Seconds per fuzz target: `make fuzz` and the short run inside `make test`.
FUZZ_SECONDS ?= 60
CI_FUZZ_SECONDS ?= 20

.PHONY: all deps configure build test suite bench asan fuzz screenshots demo demo-cli package package-check format clean

all: build

deps:
	scripts/install-deps

configure: deps
	cmake --preset $(PRESET)

build: configure
	cmake --build --preset $(PRESET)

# Installs what is missing, configures, builds and runs every test: the
# suite, the suite again under address and undefined-behaviour sanitizers,
# and every fuzz target for CI_FUZZ_SECONDS (docs/RELIABILITY.md). CI runs it.
test: suite
	$(MAKE) asan
	$(MAKE) fuzz FUZZ_SECONDS=$(CI_FUZZ_SECONDS)

# The suite alone, in the optimised build: the quick check while working.
# qmllint checks the views first (warnings fail it).
suite: build
	cmake --build --preset $(PRESET) --target all_qmllint
	ctest --preset $(PRESET)

# The whole suite under address and undefined-behaviour sanitizers.
asan: deps
	cmake --preset asan
	cmake --build --preset asan
	ctest --preset asan

# Every fuzz target (clang, libFuzzer) for FUZZ_SECONDS each; fails on any finding.
fuzz: deps
	cmake --preset fuzz
	cmake --build --preset fuzz
	scripts/run-fuzzers build/fuzz $(FUZZ_SECONDS)

# Optimised build, then every benchmark program; results in bench-results/.
bench: deps
	cmake --preset release
	cmake --build --preset release
	scripts/run-benchmarks build/release bench-results

# The panel with the development sample, light and dark, as PNG files in
# build/screenshots/ (rendered offscreen; no display needed).
screenshots: build
	build/$(PRESET)/orvel/shell/orvel-screenshots build/screenshots

# Orvel against a local development service while a sample agent posts for
# about a minute and a half (scripts/demo; Ctrl-C stops it). The updates show
# in the desktop app's tray item and panel when there is a display, otherwise
# in this terminal through orvelctl.
demo:
	PRESET=$(PRESET) scripts/demo

# The same demo in the terminal, whatever shows it by default.
demo-cli:
	PRESET=$(PRESET) ORVEL_DEMO_FRONTEND=cli scripts/demo

# The Debian packages (orvel, orvel-service) from the optimised build, in
# build/release/packages/.
package: deps
	cmake --preset release
	cmake --build --preset release --target orvel orvelctl orvel-send orvel-server orvel-devserver orvel_docs
	cd build/release && cpack -B packages

# Installs the built package into a minimal Debian 12 root (debootstrap,
# needs the network and root) and starts orvelctl there.
package-check: package
	scripts/package-check build/release/packages

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf build
