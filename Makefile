# make        build into build/ (build/bin/vantrel.dll, build/bin/vantrel.exe)
# make test   install what is missing, build, run every test under Wine on Xvfb
# make demo   install what is missing, build, show the dialogs through vantrel.exe
# make bench  run the benchmarks in bench/
# make dist   build/dist/vantrel-<version>.zip: DLL, console host, header, .def, import libraries
#
# The product is 32-bit, and so are the tests where this machine can run
# 32-bit code. Where it cannot, the tests, the demo and the benchmarks run a
# 64-bit build of the same sources (build64/) under 64-bit Wine, and the
# 32-bit product is still built and its file checked.
BUILD := build
BUILD64 := build64
WINE64 := VANTREL_BUILD_DIR=$(CURDIR)/$(BUILD64) VANTREL_WINE_ARCH=win64 tools/wine-session
CTEST := ctest --output-on-failure --timeout 300 --test-dir

.PHONY: all all64 deps configure configure64 test demo bench dist clean

all: deps configure
	cmake --build $(BUILD) -j 2

deps:
	@tools/install-deps

configure:
	@test -f $(BUILD)/CMakeCache.txt || cmake -S . -B $(BUILD) \
	  -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DCMAKE_BUILD_TYPE=Release

configure64:
	@test -f $(BUILD64)/CMakeCache.txt || cmake -S . -B $(BUILD64) \
	  -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake -DCMAKE_BUILD_TYPE=Release \
	  -DVANTREL_PRODUCT_BIN=$(CURDIR)/$(BUILD)/bin

all64: all configure64
	cmake --build $(BUILD64) -j 2

test: all
	@if tools/runs-32bit; then tools/wine-session $(CTEST) $(BUILD); \
	else $(MAKE) --no-print-directory all64 && $(WINE64) $(CTEST) $(BUILD64); fi

demo: all
	@if tools/runs-32bit; then tools/wine-session --demo tools/demo $(BUILD)/bin; \
	else $(MAKE) --no-print-directory all64 && $(WINE64) --demo tools/demo $(BUILD64)/bin; fi

BENCHES := list_fill_bench drop_bench sort_bench multi_list_bench
bench: all
	@if tools/runs-32bit; then tools/wine-session tools/run-benches wine $(BUILD)/bin $(BENCHES); \
	else $(MAKE) --no-print-directory all64 && \
	  $(WINE64) tools/run-benches /usr/lib/wine/wine64 $(BUILD64)/bin $(BENCHES); fi

dist: all
	cmake --build $(BUILD) --target dist

clean:
	rm -rf $(BUILD) $(BUILD64)
