# Bumperlux: make run | make test | make bench | make check-levels | make fuzz | make soak |
# make faults | make fuzz-quick | make soak-quick | make soak-build | make soak-programs |
# make field-sweep
JOBS ?= $(shell nproc)
CMAKE_GEN := -G Ninja

.PHONY: all deps run build test test-build bench check-levels fuzz soak soak-build soak-programs faults \
        clean fuzz-quick soak-quick field-sweep field-combinations

all: build

deps:
	@bash tools/install-deps

build: deps
	cmake -S . -B build $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Release -DBB_WERROR=ON
	cmake --build build -j $(JOBS)

run: build
	cd build && ./bumperlux --windowed

# Both builds make every compiler warning of the project's own code an error (BB_WERROR), so
# a new warning fails the build and CI.
# The test build compiles with clang when it is installed: a third faster than gcc here,
# and the compiler of the libFuzzer targets, which it then builds too (fuzz-quick). Line
# tables are all the debug information the sanitizers' reports need.
TEST_COMPILER := $(if $(shell command -v clang++ 2>/dev/null),CC=clang CXX=clang++,)
TEST_FUZZ := $(if $(TEST_COMPILER),-DBB_FUZZ_IN_TESTS=ON,)

test-build: deps
	$(TEST_COMPILER) cmake -S . -B build-test $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Debug \
	    -DBB_SANITIZE=ON -DBB_TESTS=ON -DBB_PCH=ON -DBB_WERROR=ON $(TEST_FUZZ) \
	    -DCMAKE_CXX_FLAGS_DEBUG=-g1 -DCMAKE_C_FLAGS_DEBUG=-g1
	cmake --build build-test -j $(JOBS)

# Every test program runs whole and shuffled, the longer ones in shards side by side, as
# many as their cost asks (tests/CMakeLists.txt); CTest runs JOBS processes at a time.
test: test-build
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

# The soak build (build-soak/), the other half of the test build: the other compiler (gcc),
# Release at -O2 (gcc's dangling-pointer and bounds warnings need its optimiser, and -O2 runs
# every pass they come from, in seven eighths of the time of -O3), file by file, so a file
# that builds only with clang, or only beside another file of its unity batch in the test
# build, or misses an include of the project's own, fails here; every program and test
# program, every warning an error. The engine's outside headers come precompiled, as in the
# test build: they are three quarters of what gcc reads of a file; `make build`, without
# the header, still shows a file that misses one of them.
# The test programs, half its work, compile without the optimiser: they are checked here,
# and run from the test build.
SOAK_CONFIGURE := CC=gcc CXX=g++ cmake -S . -B build-soak $(CMAKE_GEN) \
    -DCMAKE_BUILD_TYPE=Release "-DCMAKE_CXX_FLAGS_RELEASE=-O2 -DNDEBUG" \
    "-DCMAKE_C_FLAGS_RELEASE=-O2 -DNDEBUG" -DBB_TESTS=ON -DBB_PCH=ON -DBB_WERROR=ON \
    -DBB_TESTS_UNOPTIMISED=ON

soak-build: deps
	$(SOAK_CONFIGURE)
	cmake --build build-soak -j $(JOBS)

# The soak build's programs without the test programs (target `programs`): the game, its
# tools, the soak, the field sweep and the benchmarks, every file they are made of through gcc
# at its optimiser. CI builds this part, which fits beside the tests on two cores; a
# maintainer builds the whole soak build (above) before landing a change to the tests.
soak-programs: deps
	$(SOAK_CONFIGURE)
	cmake --build build-soak -j $(JOBS) --target programs

# Minutes the autoplay soak plays (tools/soak/Soak.cpp) in the soak build, over its own
# copy of the asset pack; the application's log in build-soak/soak-app.log.
SOAK_MINUTES ?= 60

soak: soak-programs
	cmake -DASSETGEN=$(CURDIR)/build-soak/tools/assetgen/assetgen \
	      -DASSETS_DIR=$(CURDIR)/build-soak/SoakPack -P cmake/AssetPack.cmake
	cd build-soak && BB_TEST_ASSET_PACK=$(CURDIR)/build-soak/SoakPack \
	      ./tools/soak/soak --minutes $(SOAK_MINUTES)

# Every written level played to its end with the seeds FIELD_SEEDS (tools/soak/FieldSweep.cpp)
# in the soak build: per level the games won and lost, the escapes (a ball past a
# wall's face) and stalls (a level that stops moving on), and the passes min-median-max.
# FIELD_SWEEP_ARGS adds options, for instance "--levels Bonus10 --without gravity".
FIELD_SEEDS ?= 1-8

field-sweep: soak-programs
	cmake -DASSETGEN=$(CURDIR)/build-soak/tools/assetgen/assetgen \
	      -DASSETS_DIR=$(CURDIR)/build-soak/SoakPack -P cmake/AssetPack.cmake
	cd build-soak && BB_TEST_ASSET_PACK=$(CURDIR)/build-soak/SoakPack \
	      ./tools/soak/fieldsweep --seeds $(FIELD_SEEDS) $(FIELD_SWEEP_ARGS)

# Range edges together (tools/soak/FieldSweep.cpp, --combinations) in the soak build, with
# FIELD_DRAWN triples drawn with FIELD_DRAW_SEED and the seeds FIELD_SEEDS.
FIELD_DRAWN ?= 300
FIELD_DRAW_SEED ?= 88

field-combinations: soak-programs
	cmake -DASSETGEN=$(CURDIR)/build-soak/tools/assetgen/assetgen \
	      -DASSETS_DIR=$(CURDIR)/build-soak/SoakPack -P cmake/AssetPack.cmake
	cd build-soak && BB_TEST_ASSET_PACK=$(CURDIR)/build-soak/SoakPack \
	      ./tools/soak/fieldsweep --combinations $(FIELD_DRAWN) --draw $(FIELD_DRAW_SEED) \
	      --seeds $(FIELD_SEEDS)

# The short runs CI makes from the test build (make test), which needs no build of its own:
# each fuzz target for FUZZ_QUICK_SECONDS with a fixed seed (clang only), and the soak for
# SOAK_QUICK_MINUTES under the sanitizers, over a pack of its own. The quarantine of 1 MB
# lets freed memory go back at once, so the resident size follows what lives: level
# backgrounds load as each level starts, and a larger quarantine filling up with the ones
# let go would look like growth.
FUZZ_QUICK_SECONDS ?= 10
SOAK_QUICK_MINUTES ?= 2

fuzz-quick: test-build
	@if [ -z "$(TEST_COMPILER)" ]; then echo "fuzz-quick: no clang, no fuzz targets"; \
	else FUZZ_BUILD=build-test FUZZ_SEED=1 JOBS=$(JOBS) fuzz/run-fuzz $(FUZZ_QUICK_SECONDS); fi

soak-quick: test-build
	cmake -DASSETS_FROM=$(CURDIR)/build-test/Assets \
	      -DASSETS_DIR=$(CURDIR)/build-test/SoakPack -P cmake/AssetPack.cmake
	cd build-test && BB_TEST_ASSET_PACK=$(CURDIR)/build-test/SoakPack \
	      ASAN_OPTIONS=quarantine_size_mb=1:detect_leaks=1 \
	      ./tools/soak/soak --minutes $(SOAK_QUICK_MINUTES)

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
