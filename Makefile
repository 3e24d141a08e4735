# The two commands of the README, and a few more for developers.
#   make demo   run the program on the bundled sample boot.ini in a private Wine prefix
#   make test   build the native, win32 and win64 presets and run every test
.PHONY: all deps test demo fuzz bench clean

all: test

deps:
	@tools/install-deps

# The Windows programs first: the native tests include an audit of the built executables.
test: deps
	cmake --workflow --preset win32
	cmake --workflow --preset win64
	cmake --workflow --preset native

demo: deps
	@tools/demo

clean:
	rm -rf build
