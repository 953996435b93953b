# Topicsmith: `make run` builds and starts the editor, `make test` builds and
# runs every test, `make bench` runs the benchmarks on a release build.

BUILD      ?= build
BENCH_DIR  ?= build-release
FUZZ_DIR   ?= build-fuzz
JOBS       ?= $(shell nproc)
CMAKE_ARGS ?=

# Debian packages the build, the program and the tests need.
PACKAGES = cmake ninja-build pkg-config g++ qt6-base-dev libgtest-dev libgmock-dev \
           libbenchmark-dev libhunspell-dev hunspell-en-us fonts-liberation \
           unrtf xvfb xauth desktop-file-utils libxml2-utils

SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)

.PHONY: all deps configure build run test bench fuzz clean

all: build

# Installs what is missing; as root directly, otherwise through sudo when it
# is available. Without either, the build reports what it lacks.
deps:
	@missing=$$(for p in $(PACKAGES); do dpkg-query -W -f='$${Status}\n' $$p 2>/dev/null | grep -q 'install ok installed' || echo $$p; done); \
	if [ -n "$$missing" ]; then \
	  if [ "$$(id -u)" = 0 ] || command -v sudo >/dev/null; then \
	    echo "Installing:" $$missing; \
	    $(SUDO) apt-get update && DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y $$missing; \
	  else \
	    echo "Missing Debian packages (install them as root):" $$missing; \
	  fi; \
	fi

$(BUILD)/build.ninja:
	cmake -S . -B $(BUILD) -G Ninja $(CMAKE_ARGS)

configure: $(BUILD)/build.ninja

build: configure
	cmake --build $(BUILD) -j $(JOBS)

run: deps build
	./$(BUILD)/topicsmith $(ARGS)

test: deps build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

bench: deps
	cmake -S . -B $(BENCH_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Release -DTOPICSMITH_GUI=OFF
	cmake --build $(BENCH_DIR) -j $(JOBS) --target topicsmith_bench topicsmith
	./$(BENCH_DIR)/bench/topicsmith_bench $(BENCH_ARGS)

fuzz:
	CXX=clang++-14 cmake -S . -B $(FUZZ_DIR) -G Ninja -DTOPICSMITH_FUZZ=ON -DTOPICSMITH_GUI=OFF \
	  -DTOPICSMITH_BENCH=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(FUZZ_DIR) -j $(JOBS)

clean:
	rm -rf $(BUILD) $(BENCH_DIR) $(FUZZ_DIR)
