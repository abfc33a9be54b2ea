# The two commands of the README, and a few more:
#   make run    install what is missing, build, play
#   make test   install what is missing, build, run every test, then again
#               under AddressSanitizer and UndefinedBehaviorSanitizer
#   make build, make bench, make fuzz, make clean

SHELL := /bin/bash
.SHELLFLAGS := -eu -o pipefail -c

BUILD := build
ASAN_BUILD := build-asan
JOBS := $(shell nproc 2>/dev/null || echo 2)
CMAKE_CONFIG := -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo

# UBSan stops at the first fault; LeakSanitizer skips the leaks listed in the
# suppression file (the toolkit's own, not ours) when there is one.
LSAN_SUPP := $(wildcard $(CURDIR)/tests/lsan.supp)
SANITIZER_ENV := ASAN_OPTIONS=detect_leaks=1:halt_on_error=1:print_stacktrace=1:strict_string_checks=1 \
	UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
	LSAN_OPTIONS=$(if $(LSAN_SUPP),suppressions=$(LSAN_SUPP):)print_suppressions=0

.PHONY: all deps build run test bench fuzz clean

all: build

deps:
	scripts/install-deps

build: deps
	cmake -S . -B $(BUILD) $(CMAKE_CONFIG)
	cmake --build $(BUILD) -j$(JOBS)

run: build
	$(BUILD)/src/zindra

# The end-to-end tests run only in the normal build: they drive the real
# binary, and under the sanitizers its timing is not the game's.
test: build
	ctest --test-dir $(BUILD) --output-on-failure
	cmake -S . -B $(ASAN_BUILD) $(CMAKE_CONFIG) -DZINDRA_SANITIZE=ON -DZINDRA_BENCH=OFF
	cmake --build $(ASAN_BUILD) -j$(JOBS)
	$(SANITIZER_ENV) ctest --test-dir $(ASAN_BUILD) --output-on-failure -LE e2e

bench: build
	@if [[ -x $(BUILD)/bench/zindra_bench ]]; then $(BUILD)/bench/zindra_bench; \
	else echo "bench: no micro benchmarks built yet"; fi
	@if [[ -f bench/measure.sh ]]; then bash bench/measure.sh; \
	else echo "bench: no whole-process measurement yet"; fi

# Each fuzz target found under the build runs for FUZZ_SECONDS.
FUZZ_SECONDS := 60
fuzz: build
	@fuzzers=$$(find $(BUILD)/tests -type f -executable -name '*fuzz*' 2>/dev/null); \
	if [[ -z $$fuzzers ]]; then echo "fuzz: no fuzz targets yet; they come later"; exit 0; fi; \
	for fuzzer in $$fuzzers; do echo "fuzz: $$fuzzer"; "$$fuzzer" -max_total_time=$(FUZZ_SECONDS); done

clean:
	rm -rf $(BUILD) $(ASAN_BUILD)
