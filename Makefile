# Bumperlux: make run | make test | make bench | make check-levels | make fuzz | make soak |
# make faults
JOBS ?= $(shell nproc)
CMAKE_GEN := -G Ninja

.PHONY: all deps run build test bench check-levels fuzz soak faults clean

all: build

deps:
	@bash tools/install-deps

build: deps
	cmake -S . -B build $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Release
	cmake --build build -j $(JOBS)

run: build
	cd build && ./bumperlux --windowed

test: deps
	cmake -S . -B build-test $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Debug -DBB_SANITIZE=ON -DBB_TESTS=ON
	cmake --build build-test -j $(JOBS)
	cd build-test && SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy ctest --output-on-failure -j $(JOBS)

bench: deps
	cmake -S . -B build-bench $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Release -DBB_BENCH=ON
	cmake --build build-bench -j $(JOBS)
	cmake --build build-bench --target run_benchmarks

# Checks every level file of the pack (builds the checker and the pack into build/ first).
check-levels: deps
	bash tools/check-levels

# Seconds each fuzz target runs (fuzz/run-fuzz).
FUZZ_SECONDS ?= 20

fuzz: deps
	JOBS=$(JOBS) fuzz/run-fuzz $(FUZZ_SECONDS)

# Minutes the autoplay soak plays (tools/soak/Soak.cpp): a Release build with the tests'
# support, its own copy of the asset pack, the application's log in build-soak/soak-app.log.
SOAK_MINUTES ?= 60

soak: deps
	cmake -S . -B build-soak $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Release -DBB_TESTS=ON
	cmake --build build-soak -j $(JOBS) --target soak assetgen
	cmake -DASSETGEN=$(CURDIR)/build-soak/tools/assetgen/assetgen \
	      -DASSETS_DIR=$(CURDIR)/build-soak/SoakPack -P cmake/AssetPack.cmake
	cd build-soak && BB_TEST_ASSET_PACK=$(CURDIR)/build-soak/SoakPack \
	      ./tools/soak/soak --minutes $(SOAK_MINUTES)

# Kills a process saving player cards and the configuration this many times (the test
# suite runs 40) and prints the tally.
KILL_TRIALS ?= 200

faults: deps
	cmake -S . -B build-test $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Debug -DBB_SANITIZE=ON -DBB_TESTS=ON
	cmake --build build-test -j $(JOBS) --target test_faults
	cd build-test && BB_KILL_TRIALS=$(KILL_TRIALS) SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy \
		./tests/test_faults --gtest_filter='KillTrial*'

clean:
	rm -rf build build-test build-bench build-fuzz build-soak
