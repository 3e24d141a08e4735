# The two commands of the README, and a few more for developers.
#   make demo   run the program on the bundled sample boot.ini in a private Wine prefix
#   make test   build the native, win32 and win64 presets and run every test
.PHONY: all deps test demo fuzz bench clean

all: test

deps:
	@tools/install-deps

test: deps
	cmake --workflow --preset native
	cmake --workflow --preset win32
	cmake --workflow --preset win64

demo: deps
	@tools/demo

clean:
	rm -rf build
