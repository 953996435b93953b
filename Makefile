# Topicsmith: `make run` builds and starts the editor, `make test` builds and
# runs every test, `make bench` runs the benchmarks on a release build.
# `make test-asan` runs every test built with AddressSanitizer and
# UndefinedBehaviorSanitizer; `make fuzz` builds the fuzz targets with clang
# and `make fuzz-smoke` runs each of them briefly (FUZZ_SECONDS, 30).

BUILD      ?= build
BENCH_DIR  ?= build-release
FUZZ_DIR   ?= build-fuzz
ASAN_DIR   ?= build-asan
FUZZ_SECONDS ?= 30
JOBS       ?= $(shell nproc)
CMAKE_ARGS ?=

# Debian packages the build, the program and the tests need.
PACKAGES = cmake ninja-build pkg-config g++ qt6-base-dev libgtest-dev libgmock-dev \
           libbenchmark-dev libhunspell-dev hunspell-en-us fonts-liberation \
           unrtf xvfb xauth desktop-file-utils libxml2-utils fp-utils tidy chromium

# What the fuzz targets need besides: clang with its fuzzer and sanitizer
# runtimes, and llvm-symbolizer for readable reports.
FUZZ_PACKAGES = clang-14 libclang-rt-14-dev llvm-14

SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)
# ccache speeds up rebuilds where it is installed; it is not required. It
# caches files built with precompiled headers only when told these are safe.
LAUNCHER := $(shell command -v ccache >/dev/null 2>&1 && echo -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
export CCACHE_SLOPPINESS ?= pch_defines,time_macros

# A sanitizer report stops the program and so fails the test. Only reports
# from system libraries are suppressed, in tests/sanitizers/.
SANITIZER_ENV = ASAN_OPTIONS=halt_on_error=1:detect_leaks=1:detect_stack_use_after_return=1 \
  UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1:suppressions=$(CURDIR)/tests/sanitizers/ubsan.supp \
  LSAN_OPTIONS=suppressions=$(CURDIR)/tests/sanitizers/lsan.supp

.PHONY: all deps fuzz-deps configure build run test test-asan bench fuzz fuzz-smoke clean

all: build

# Installs what is missing; as root directly, otherwise through sudo when it
# is available. Without either, the build reports what it lacks.
deps fuzz-deps: WANTED = $(if $(filter fuzz-deps,$@),$(FUZZ_PACKAGES),$(PACKAGES))
deps fuzz-deps:
	@missing=$$(for p in $(WANTED); do dpkg-query -W -f='$${Status}\n' $$p 2>/dev/null | grep -q 'install ok installed' || echo $$p; done); \
	if [ -n "$$missing" ]; then \
	  if [ "$$(id -u)" = 0 ] || command -v sudo >/dev/null; then \
	    echo "Installing:" $$missing; \
	    $(SUDO) apt-get update && DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y $$missing; \
	  else \
	    echo "Missing Debian packages (install them as root):" $$missing; \
	  fi; \
	fi

$(BUILD)/build.ninja:
	cmake -S . -B $(BUILD) -G Ninja $(LAUNCHER) $(CMAKE_ARGS)

configure: $(BUILD)/build.ninja

build: configure
	cmake --build $(BUILD) -j $(JOBS)

run: deps build
	./$(BUILD)/topicsmith $(ARGS)

test: deps build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

bench: deps
	cmake -S . -B $(BENCH_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Release -DTOPICSMITH_GUI=OFF -DTOPICSMITH_BENCH=ON
	cmake --build $(BENCH_DIR) -j $(JOBS) --target topicsmith_bench topicsmith
	./$(BENCH_DIR)/bench/topicsmith_bench $(BENCH_ARGS)

# The whole suite, core and GUI, in its own build folder; -O1 and line
# tables only (-g1) keep the instrumented build and run reasonably quick.
test-asan: deps
	cmake -S . -B $(ASAN_DIR) -G Ninja $(LAUNCHER) -DTOPICSMITH_SANITIZE=ON -DTOPICSMITH_BENCH=OFF \
	  -DCMAKE_BUILD_TYPE=RelWithDebInfo "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O1 -g1"
	$(SANITIZER_ENV) cmake --build $(ASAN_DIR) -j $(JOBS)
	cd $(ASAN_DIR) && $(SANITIZER_ENV) ctest --output-on-failure -j $(JOBS)

fuzz: deps fuzz-deps
	CXX=clang++-14 cmake -S . -B $(FUZZ_DIR) -G Ninja $(LAUNCHER) -DTOPICSMITH_FUZZ=ON -DTOPICSMITH_GUI=OFF \
	  -DTOPICSMITH_BENCH=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O1 -g1"
	cmake --build $(FUZZ_DIR) -j $(JOBS)

fuzz-smoke: fuzz
	fuzz/smoke.sh $(FUZZ_DIR) $(FUZZ_SECONDS)

clean:
	rm -rf $(BUILD) $(BENCH_DIR) $(FUZZ_DIR) $(ASAN_DIR)
