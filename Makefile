# The two commands of README.md: `make` builds everything and runs the demo; `make test` runs
# every test. CMake presets do the work (CMakePresets.json).
.PHONY: all demo build test deps host host-asan win32 win64 clean

all: demo

deps:
	@scripts/deps.sh

host host-asan win32 win64: deps
	cmake --preset $@ >/dev/null
	cmake --build --preset $@

build: host win32 win64

# The road of one event on the simulated board first, then the panel and setup on the simulation.
demo: build
	build/host/tools/vextdemo
	@echo
	tools/demo.sh build/host

test: build host-asan
	ctest --preset host
	ctest --preset host-asan
	ctest --preset win32
	ctest --preset win64

clean:
	rm -rf build
