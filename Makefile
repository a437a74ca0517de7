# Two commands: `make run` and `make test`. Both install what is missing first.
BUILD   := build
NATIVE  := $(BUILD)/native
WIN32   := $(BUILD)/win32
JOBS    ?= 2
# CI treats warnings as errors.
WERROR  := $(if $(CI),-DTOLVARI_WERROR=ON,)

.PHONY: all bootstrap build win32 native test run screenshot clean dist

all: build

bootstrap:
	@scripts/bootstrap

win32: bootstrap
	@cmake -S . -B $(WIN32) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake \
	  -DCMAKE_BUILD_TYPE=Release $(WERROR) >/dev/null
	cmake --build $(WIN32) -j$(JOBS)

native: bootstrap
	@cmake -S . -B $(NATIVE) -DTOLVARI_WIN32_DIR=$(abspath $(WIN32)) $(WERROR) >/dev/null
	cmake --build $(NATIVE) -j$(JOBS)

build: win32 native

test: build dist
	cd $(NATIVE) && ctest --output-on-failure

run: win32
	scripts/run $(WIN32)/Tolvari.exe

# The Windows release, dist/Tolvari-<version>-win32.zip. e2e.Dist unpacks and
# runs a zip made the same way from the build under test.
dist: win32
	scripts/dist $(WIN32)/Tolvari.exe dist

clean:
	rm -rf $(BUILD) dist
