# Two commands: `make run` and `make test`. Both install what is missing first.
BUILD   := build
NATIVE  := $(BUILD)/native
WIN32   := $(BUILD)/win32
ASAN    := $(BUILD)/asan
FUZZ    := $(BUILD)/fuzz
# Seconds per fuzz target for `make fuzz`; `make test` runs each 4 s.
FUZZ_SECONDS ?= 300
FUZZ_TARGETS := settings datafile dayreport editrules
JOBS    ?= 2
# CI treats warnings as errors.
WERROR  := $(if $(CI),-DTOLVARI_WERROR=ON,)

.PHONY: all bootstrap build win32 native test run screenshot clean dist asan fuzz-build fuzz

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

test: build dist asan fuzz-build
	cd $(NATIVE) && ctest --output-on-failure
	cd $(ASAN) && ctest -L unit --output-on-failure
	cd $(FUZZ) && ctest -L fuzz --output-on-failure

# The unit tests again under AddressSanitizer and UndefinedBehaviorSanitizer.
asan: bootstrap
	@cmake -S . -B $(ASAN) -DTOLVARI_SANITIZE=address,undefined $(WERROR) >/dev/null
	cmake --build $(ASAN) -j$(JOBS) --target tolvari_unit

# libFuzzer targets (clang); `make fuzz FUZZ_SECONDS=900` fuzzes each target
# for that long from the committed corpus, keeping new inputs in the build tree.
fuzz-build: bootstrap
	@cmake -S . -B $(FUZZ) -DCMAKE_CXX_COMPILER=clang++ -DTOLVARI_FUZZ=ON $(WERROR) >/dev/null
	cmake --build $(FUZZ) -j$(JOBS) --target fuzz_targets

fuzz: fuzz-build
	@for t in $(FUZZ_TARGETS); do \
	  scripts/fuzz run $(FUZZ)/tests/fuzz/fuzz_$$t tests/fuzz/corpus/$$t $(FUZZ)/tests/fuzz/work/$$t \
	    $(FUZZ_SECONDS) || exit 1; \
	done

run: win32
	scripts/run $(WIN32)/Tolvari.exe

# The Windows release, dist/Tolvari-<version>-win32.zip. e2e.Dist unpacks and
# runs a zip made the same way from the build under test.
dist: win32
	scripts/dist $(WIN32)/Tolvari.exe dist

clean:
	rm -rf $(BUILD) dist
