# Entry points for newcomers and CI. Everything goes through CMake presets.
PRESET ?= ci

.PHONY: all deps configure build test bench asan screenshots demo demo-cli format clean

all: build

deps:
	scripts/install-deps

configure: deps
	cmake --preset $(PRESET)

build: configure
	cmake --build --preset $(PRESET)

# Installs what is missing, configures, builds and runs every test.
test: build
	ctest --preset $(PRESET)

# The whole suite under address and undefined-behaviour sanitizers.
asan:
	$(MAKE) test PRESET=asan

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

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf build
