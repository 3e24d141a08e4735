# The two commands of the README, and a few more for developers.
#   make demo     run the program on the bundled sample boot.ini in a private Wine prefix
#   make test     build the win32, win64 and native presets and run every test (the native
#                 ones build the release twice and compare the bytes), then fuzz
#                 each fuzz target briefly (FUZZ_TEST_SECONDS) so that they stay alive
#   make fuzz     fuzz each target for FUZZ_SECONDS (180) under libFuzzer, two at a time
#   make analyze  clang-tidy and cppcheck alone, as the three builds compile the sources
#   make bench    start-up time, reads per byte and sizes of the program under Wine
#   make dist     the release: dist/brisvane-<version>.zip and dist/SHA256SUMS
.PHONY: all deps test demo fuzz analyze bench dist clean

all: test

deps:
	@tools/install-deps

FUZZ_TEST_SECONDS ?= 20
FUZZ_SECONDS ?= 180

# The Windows programs first: the native tests include an audit of the built executables.
test: deps
	cmake --workflow --preset win32
	cmake --workflow --preset win64
	cmake --workflow --preset native
	cmake --preset fuzz -DBRISVANE_FUZZ_SECONDS=$(FUZZ_TEST_SECONDS)
	cmake --build --preset fuzz
	ctest --preset fuzz

demo: deps
	@tools/demo

# New inputs collect in build/fuzz/fuzz-found/<target>, inputs that broke something in
# build/fuzz/fuzz-found/crashes; a fixed one belongs in tests/fuzz/corpus/<target> for good.
fuzz: deps
	cmake --preset fuzz -DBRISVANE_FUZZ_SECONDS=$(FUZZ_SECONDS)
	cmake --build --preset fuzz
	ctest --preset fuzz

analyze: deps
	for p in native win32 win64; do cmake --preset $$p >/dev/null && tools/analyze build/$$p || exit 1; done

bench: deps
	@tools/bench

# Both programs in their own build folders (build/dist-win32, build/dist-win64), the product
# target alone; the native tests build the release twice more and compare the bytes.
dist: deps
	@tools/dist

clean:
	rm -rf build dist
