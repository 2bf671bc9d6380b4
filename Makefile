# The two everyday commands: `make demo` and `make test`.
PRESET ?= default
BUILD_DIR := build/$(PRESET)
JOBS ?= $(shell nproc)

.PHONY: all deps configure build test test-asan fuzz demo demo-station clean bench gui-demo screenshots windows \
    test-windows

all: build

deps:
	@bash scripts/install-deps.sh

configure: deps
	cmake --preset $(PRESET)

build: configure
	cmake --build --preset $(PRESET) -j $(JOBS)

test: build
	ctest --preset $(PRESET) -j $(JOBS)

# The whole suite again under AddressSanitizer and UndefinedBehaviorSanitizer.
test-asan: deps
	cmake --preset asan
	cmake --build --preset asan -j $(JOBS)
	ctest --preset asan -j $(JOBS)

# Each fuzz target for FUZZ_SECONDS; a crash, a leak, a slow input or a sanitizer report fails.
FUZZ_SECONDS ?= 60
fuzz: deps
	cmake --preset fuzz
	cmake --build --preset fuzz -j $(JOBS) --target fuzz_targets
	bash fuzz/run_fuzzers.sh build/fuzz $(FUZZ_SECONDS)

# quarvel.exe and quarvel-cli.exe for Windows, cross-built with MinGW-w64 and statically linked,
# and the zip that holds both with the manual.
windows:
	@bash scripts/install-deps.sh windows
	cmake --preset windows
	cmake --build --preset windows -j $(JOBS) --target quarvel-cli quarvel
	cd build/windows && cpack -G ZIP > /dev/null
	@echo "$(CURDIR)/build/windows/src/app/quarvel.exe"
	@echo "$(CURDIR)/build/windows/src/cli/quarvel-cli.exe"
	@echo "$(CURDIR)/build/windows/quarvel-1.20.0-windows-x64.zip"

# The build for Windows tested under Wine: unit suites, then loads through Wine's COM1 into ktv-sim.
test-windows:
	bash scripts/test-windows.sh $(JOBS)

# ktv-sim on a pseudo-terminal, examples/demo.a21 loaded into it, its flash checked with srec_cat.
demo: build
	@bash scripts/demo.sh $(BUILD_DIR)

# A production bench: a station loads three units at each of two ktv-sim devices, one unit
# failing, and prints its log.
demo-station: deps configure
	cmake --build --preset $(PRESET) -j $(JOBS) --target quarvel-cli ktv-sim
	@bash scripts/demo-station.sh $(BUILD_DIR)

# The desktop program against ktv-sim, with COM1 pointed at the stand-in device.
gui-demo: build
	bash scripts/gui-demo.sh $(BUILD_DIR)

# Every dialog rendered to PNG under docs/screenshots/.
screenshots: build
	bash scripts/screenshots.sh $(BUILD_DIR)

# Benchmarks: an optimised build of the programs they time, then one table (bench/README.md).
BENCH_TARGETS := quarvel-cli ktv-sim bench_logo_speed bench_scan_speed bench_wire_bytes \
    bench_ideal_line bench_dialog_load bench_child_usage
bench: deps
	cmake --preset release
	cmake --build --preset release -j $(JOBS) --target $(BENCH_TARGETS)
	bash bench/run.sh build/release

clean:
	rm -rf build
