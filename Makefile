# SPDX-FileCopyrightText: 2026 The Zindra developers
#
# SPDX-License-Identifier: GPL-2.0-or-later

# The two commands of the README, and a few more:
#   make run    install what is missing, build, play
#   make test   install what is missing, build, run every test, then again
#               under AddressSanitizer and UndefinedBehaviorSanitizer
#   make fuzz   ten million random events against the game's rules
#   make soak   ten million ticks of robot play, watching the memory
#   make package  the Debian package, build/zindra_<version>_<arch>.deb
#   make build, make bench, make clean

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

.PHONY: all deps build run test package bench fuzz soak clean

all: build

deps:
	scripts/install-deps

build: deps
	cmake -S . -B $(BUILD) $(CMAKE_CONFIG)
	cmake --build $(BUILD) -j$(JOBS)

run: build
	$(BUILD)/src/zindra

# CPack gives the package's own parts (the members of the .deb) the modes the
# umask leaves them: the usual one, so that the package comes out the same.
package: build
	umask 022 && cmake --build $(BUILD) --target package

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
	@if [[ -f bench/sound.sh ]]; then bash bench/sound.sh; fi

# The long runs of the tests that make test runs short. A failed fuzz run
# prints its seed: make fuzz FUZZ_SEED=<seed> replays it.
FUZZ_EVENTS := 10000000
FUZZ_SEED :=
SOAK_TICKS := 10000000
fuzz: build
	ZINDRA_FUZZ_EVENTS=$(FUZZ_EVENTS) $(if $(FUZZ_SEED),ZINDRA_FUZZ_SEED=$(FUZZ_SEED)) $(BUILD)/tests/fuzz_tests

soak: build
	ZINDRA_SOAK_TICKS=$(SOAK_TICKS) $(BUILD)/tests/soak_tests

clean:
	rm -rf $(BUILD) $(ASAN_BUILD)
