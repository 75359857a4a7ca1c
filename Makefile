# make        both builds: build/ (32-bit, x86) and build64/ (64-bit, x64), each
#             with vantrel.dll, vantrel.exe and the tests in bin/
# make test   install what is missing, build, run every test under Wine on Xvfb
# make demo   install what is missing, build, show the dialogs through vantrel.exe
# make bench  run the benchmarks in bench/
# make dist   build/dist/vantrel-<version>.zip: x86/ and x64/ (DLL, console host,
#             .def, import libraries), the header, the CMake package, the
#             examples, the docs, README and licence
# make fuzz   the parsers' fuzz targets (Linux host, clang), FUZZ_SECONDS each (60)
# make soak   the endurance run with SOAK_CALLS dialog calls (10,000), not in the tests;
#             SOAK_ONLY=0..6 calls one dialog only (6: the about box)
#
# make test32 the whole 32-bit suite in an emulated machine (tools/emulated-machine),
#             for a release: its kernel runs 32-bit code wherever this one does not
#
# Both architectures ship. The tests, the demo, the benchmarks and the soak
# run the 64-bit build under 64-bit Wine on every machine; where the machine
# runs 32-bit code, the tests and the benchmarks run the 32-bit build too.
# Where it does not, make test runs a 32-bit set (the tests labelled
# emulated32) in an emulated machine whose own kernel does, and the 64-bit
# suite checks the 32-bit files without running them (x86_calls, e2e_load,
# dist). VANTREL_EMULATE_32=1 takes the emulated path on any machine.
BUILD := build
BUILD64 := build64
FUZZ_BUILD := build-fuzz
FUZZ_SECONDS ?= 60
SOAK_CALLS ?= 10000
SOAK_ONLY ?=
FUZZ_TARGETS := fuzz_drop_block fuzz_picture_checks fuzz_string_functions fuzz_item_list fuzz_table \
  fuzz_dates fuzz_sort_keys fuzz_line_reader fuzz_utf
WINE64 := VANTREL_BUILD_DIR=$(CURDIR)/$(BUILD64) VANTREL_WINE_ARCH=win64 tools/wine-session
CTEST := ctest --output-on-failure --timeout 300 --test-dir

.PHONY: all deps configure configure64 test test32 demo bench dist fuzz fuzz-build fuzz-replay soak clean

all: deps configure configure64
	cmake --build $(BUILD) -j 2
	cmake --build $(BUILD64) -j 2

deps:
	@tools/install-deps

configure:
	@test -f $(BUILD)/CMakeCache.txt || cmake -S . -B $(BUILD) \
	  -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DCMAKE_BUILD_TYPE=Release \
	  -DVANTREL_X64_BUILD=$(CURDIR)/$(BUILD64)

configure64:
	@test -f $(BUILD64)/CMakeCache.txt || cmake -S . -B $(BUILD64) \
	  -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake -DCMAKE_BUILD_TYPE=Release \
	  -DVANTREL_X86_BUILD=$(CURDIR)/$(BUILD)

# The emulated machine's time limits: the 32-bit set, and the whole suite.
EMULATED_SET_SECONDS ?= 2100
EMULATED_SUITE_SECONDS ?= 21600

test: all fuzz-build
	@$(WINE64) $(CTEST) $(BUILD64)
	@if tools/runs-32bit && [ -z "$$VANTREL_EMULATE_32" ]; then tools/wine-session $(CTEST) $(BUILD) -LE emulated32; \
	else echo "This machine runs no 32-bit code: the 32-bit set runs in an emulated machine."; \
	  tools/emulated-machine --timeout $(EMULATED_SET_SECONDS) -- tools/wine-session $(CTEST) $(BUILD) -L emulated32; fi
	@$(MAKE) --no-print-directory fuzz-replay

test32: all
	@tools/emulated-machine --timeout $(EMULATED_SUITE_SECONDS) -- tools/wine-session $(CTEST) $(BUILD) -LE emulated32

fuzz-build: deps
	@test -f $(FUZZ_BUILD)/CMakeCache.txt || cmake -S fuzz -B $(FUZZ_BUILD) -DCMAKE_CXX_COMPILER=clang++
	cmake --build $(FUZZ_BUILD) -j 2

# Every seed of the corpus once through its target: a fixed crash stays fixed.
fuzz-replay: fuzz-build
	@for t in $(FUZZ_TARGETS); do \
	  $(FUZZ_BUILD)/$$t fuzz/corpus/$$t/* >$(FUZZ_BUILD)/$$t.replay.log 2>&1 \
	    || { cat $(FUZZ_BUILD)/$$t.replay.log; exit 1; }; \
	  echo "fuzz corpus of $$t: $$(ls fuzz/corpus/$$t | wc -l) inputs replayed"; \
	done

# New inputs go to build-fuzz/corpus/, not into the repository's seeds.
fuzz: fuzz-build
	@for t in $(FUZZ_TARGETS); do \
	  mkdir -p $(FUZZ_BUILD)/corpus/$$t; \
	  $(FUZZ_BUILD)/$$t -max_total_time=$(FUZZ_SECONDS) -print_final_stats=1 \
	    $(FUZZ_BUILD)/corpus/$$t fuzz/corpus/$$t || exit 1; \
	done

# The endurance test's host, calling the dialogs SOAK_CALLS times in turn.
SOAK_ENV := VANTREL_ENDURANCE_CALLS=$(SOAK_CALLS) $(if $(SOAK_ONLY),VANTREL_ENDURANCE_ONLY=$(SOAK_ONLY))
soak: all
	@$(SOAK_ENV) $(WINE64) /usr/lib/wine/wine64 $(BUILD64)/bin/e2e_endurance.exe

demo: all
	@$(WINE64) --demo tools/demo $(BUILD64)/bin

# Each build's figures, the 64-bit ones first; each benchmark names its build.
BENCHES := list_fill_bench drop_bench sort_bench multi_list_bench
bench: all
	@$(WINE64) tools/run-benches /usr/lib/wine/wine64 $(BUILD64)/bin $(BENCHES)
	@if tools/runs-32bit; then tools/wine-session tools/run-benches wine $(BUILD)/bin $(BENCHES); \
	else echo "This machine runs no 32-bit code: no figures of the 32-bit build."; fi

dist: all
	cmake --build $(BUILD64) --target dist_arch
	cmake --build $(BUILD) --target dist

clean:
	rm -rf $(BUILD) $(BUILD64) $(FUZZ_BUILD) build-emulated
