# make        build into build/ (build/bin/vantrel.dll, build/bin/vantrel.exe)
# make test   install what is missing, build, run every test under Wine on Xvfb
# make demo   install what is missing, build, show the dialogs through vantrel.exe
# make bench  run the benchmarks in bench/
BUILD := build

.PHONY: all deps configure test demo bench clean

all: deps configure
	cmake --build $(BUILD) -j 2

deps:
	@tools/install-deps

configure:
	@test -f $(BUILD)/CMakeCache.txt || cmake -S . -B $(BUILD) \
	  -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DCMAKE_BUILD_TYPE=Release

test: all
	tools/wine-session ctest --test-dir $(BUILD) --output-on-failure --timeout 300

demo: all
	tools/wine-session --demo tools/demo $(BUILD)/bin

bench: all
	tools/wine-session wine $(BUILD)/bin/list_fill_bench.exe

clean:
	rm -rf $(BUILD)
