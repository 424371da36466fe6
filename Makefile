# Astrevo: the two commands a new machine needs are `make run` and `make test`.
BUILD      ?= build
BUILD_ASAN ?= build-asan
BUILD_BENCH ?= build-bench
BUILD_FUZZ ?= build-fuzz
FUZZ_SECONDS ?= 60
FUZZ_SMOKE_SECONDS ?= 5
JOBS       ?= $(shell nproc)
CMAKE_FLAGS ?=
# Where `make install` puts things (the configured prefix, /usr/local, when empty).
PREFIX     ?=

.PHONY: all deps configure build run gallery designer test install package package-check test-asan bench fuzz-build fuzz fuzz-smoke format clean

all: build

deps:
	@scripts/install-deps

$(BUILD)/build.ninja: | deps
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_FLAGS)

configure: deps $(BUILD)/build.ninja

build: configure
	cmake --build $(BUILD) -j $(JOBS)

run: build
	$(BUILD)/astrevo

gallery: build
	$(BUILD)/astrevo-gallery

# Qt Designer with the palette page "Custom" of this build.
designer: build
	QT_PLUGIN_PATH=$(abspath $(BUILD))/plugins /usr/lib/qt6/bin/designer

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

# The two programs, their menu entries and icons, and the Designer plugin;
# DESTDIR is honoured as cmake --install honours it.
install: build
	cmake --install $(BUILD) $(if $(PREFIX),--prefix $(PREFIX))

# The Debian package, $(BUILD)/astrevo_<version>_amd64.deb.
package: build
	cd $(BUILD) && cpack -G DEB

# The package unpacked into a scratch folder and both programs started from it.
package-check: package
	scripts/check-package $(BUILD)

test-asan: deps
	cmake -S . -B $(BUILD_ASAN) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DASTREVO_SANITIZE=ON -DASTREVO_BENCH=OFF $(CMAKE_FLAGS)
	cmake --build $(BUILD_ASAN) -j $(JOBS)
	cd $(BUILD_ASAN) && QT_QPA_PLATFORM=offscreen \
	  ASAN_OPTIONS=detect_leaks=0:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	  ctest --output-on-failure -j $(JOBS)

bench: deps
	cmake -S . -B $(BUILD_BENCH) -G Ninja -DCMAKE_BUILD_TYPE=Release $(CMAKE_FLAGS)
	cmake --build $(BUILD_BENCH) -j $(JOBS)
	@for b in $(BUILD_BENCH)/bench/bench_*; do \
	  echo "== $$b"; QT_QPA_PLATFORM=offscreen $$b --benchmark_min_time=0.2 || exit 1; done

# The fuzz targets (fuzz/, clang's libFuzzer with ASan and UBSan), each run
# for FUZZ_SECONDS; fuzz-smoke runs each for a few seconds, as CI does.
fuzz-build: deps
	cmake -S . -B $(BUILD_FUZZ) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DASTREVO_FUZZ=ON -DASTREVO_BENCH=OFF $(CMAKE_FLAGS)
	cmake --build $(BUILD_FUZZ) -j $(JOBS) --target fuzzers

fuzz: fuzz-build
	scripts/run-fuzz $(BUILD_FUZZ) $(FUZZ_SECONDS)

fuzz-smoke: fuzz-build
	scripts/run-fuzz $(BUILD_FUZZ) $(FUZZ_SMOKE_SECONDS)

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD) $(BUILD_ASAN) $(BUILD_BENCH) $(BUILD_FUZZ)
