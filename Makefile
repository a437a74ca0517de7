# Two commands: `make run` and `make test`. Both install what is missing first.
BUILD   := build
NATIVE  := $(BUILD)/native
WIN32   := $(BUILD)/win32
WIN64   := $(BUILD)/win64
ASAN    := $(BUILD)/asan
FUZZ    := $(BUILD)/fuzz
# Seconds per fuzz target for `make fuzz`, or executions with FUZZ_RUNS
# (`make fuzz FUZZ_RUNS=10000000`); `make test` replays each corpus and a
# fixed number of mutations from a fixed seed.
FUZZ_SECONDS ?= 300
export FUZZ_RUNS
FUZZ_TARGETS := datafile dayreport editrules settings import
JOBS    ?= 2
# CI treats warnings as errors.
WERROR  := $(if $(CI),-DTOLVARI_WERROR=ON,)
# The Windows build run under Wine here: the PE32 one, or the x86-64 one where
# this machine cannot run 32-bit programs (scripts/wine-arch; asked after the
# packages are in, TOLVARI_E2E_ARCH=x86_64 forces it).
E2E_ARCH = $(shell scripts/wine-arch)
E2E_DIR  = $(if $(filter x86_64,$(E2E_ARCH)),$(WIN64),$(WIN32))

# configure DIR ARCH: the cross build for i686 or x86_64 Windows in DIR.
# A tree configured with other toolchain files starts afresh: CMake keeps the
# compilers it found first.
configure = tc="$$(cat cmake/mingw.cmake cmake/mingw-$(2).cmake | cksum)"; \
	if [ "$$(cat $(1)/.toolchain 2>/dev/null)" != "$$tc" ]; then rm -rf $(1)/CMakeCache.txt $(1)/CMakeFiles; fi; \
	cmake -S . -B $(1) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-$(2).cmake \
	  -DCMAKE_BUILD_TYPE=Release $(WERROR) >/dev/null && echo "$$tc" >$(1)/.toolchain

.PHONY: all bootstrap build win32 win64 e2e-build program native test run clean dist asan fuzz-build fuzz format

all: build

bootstrap:
	@scripts/bootstrap

win32: bootstrap
	@$(call configure,$(WIN32),i686)
	cmake --build $(WIN32) -j$(JOBS)

win64: bootstrap
	@$(call configure,$(WIN64),x86_64)
	cmake --build $(WIN64) -j$(JOBS)

# The Windows build that runs under Wine here, when it is not the PE32 one.
e2e-build: bootstrap
	@if [ "$(E2E_ARCH)" = x86_64 ]; then $(MAKE) --no-print-directory win64; fi

# The program alone, of the build that runs here, for `make run`.
program: bootstrap
	@$(call configure,$(E2E_DIR),$(E2E_ARCH))
	cmake --build $(E2E_DIR) -j$(JOBS) --target Tolvari

native: bootstrap
	@cmake -S . -B $(NATIVE) -DTOLVARI_WIN32_DIR=$(abspath $(WIN32)) \
	  -DTOLVARI_E2E_DIR=$(abspath $(E2E_DIR)) -DTOLVARI_E2E_ARCH=$(E2E_ARCH) $(WERROR) >/dev/null
	cmake --build $(NATIVE) -j$(JOBS)

build: win32 e2e-build native

test: build dist asan fuzz-build
	@scripts/wine-arch -v
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

run: program
	scripts/run $(E2E_DIR)/Tolvari.exe

# The Windows release, dist/Tolvari-<version>-win32.zip, always the PE32
# programs. e2e.Dist unpacks and runs a zip made the same way.
dist: bootstrap
	@$(call configure,$(WIN32),i686)
	cmake --build $(WIN32) -j$(JOBS) --target Tolvari TolvariImport
	scripts/dist $(WIN32)/Tolvari.exe dist

clean:
	rm -rf $(BUILD) dist

# Formats the C++ sources with the project's .clang-format.
format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i
