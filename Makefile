BUILD ?= build
SANITIZE_BUILD ?= build-sanitize
JOBS ?= $(shell nproc)

.PHONY: all deps configure build run test bench package translations format check-format tidy sanitize clean

all: build

deps:
	@bash scripts/install-deps.sh

# Configures only a new build folder, or after CMakeLists.txt changed: that takes seconds, and the build
# re-runs CMake by itself whenever anything else it reads has changed.
configure: deps $(BUILD)/CMakeCache.txt

$(BUILD)/CMakeCache.txt: CMakeLists.txt
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release >/dev/null
	@touch $@

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

# Only the program and the trace tool: a first start need not wait for the tests and benchmarks.
run: configure
	@cmake --build $(BUILD) -j $(JOBS) --target tulvane tulvane-trace
	./$(BUILD)/src/tulvane

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

# The .deb in $(BUILD)/: builds only what it holds (the programs, their manual pages and the help).
# Its time stamps are the last commit's time, or outside a git checkout the changelog's date, so that the
# same sources give the same bytes; a SOURCE_DATE_EPOCH already set wins.
package: export SOURCE_DATE_EPOCH ?= $(shell git -C $(CURDIR) log -1 --format=%ct 2>/dev/null || \
	dpkg-parsechangelog -l packaging/changelog -S Timestamp)
package: configure
	@cmake --build $(BUILD) -j $(JOBS) --target tulvane tulvane-trace tulvane_docs
	cd $(BUILD) && cpack

# make bench BENCH_ARGS="--benchmark_filter=Step --benchmark_repetitions=5"
bench: configure
	@cmake --build $(BUILD) -j $(JOBS) --target tulvane-bench
	./$(BUILD)/bench/tulvane-bench $(BENCH_ARGS)

# Brings translations/*.ts up to date with the texts in the sources (lupdate); commit them with the change.
translations: configure
	@cmake --build $(BUILD) --target update_translations

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

check-format: deps
	clang-format --dry-run -Werror $$(git ls-files '*.cpp' '*.h')

# clang-tidy and clazy over every C++ file, or with TIDY_BASE=<commit> over those changed since it.
tidy: build
	JOBS=$(JOBS) bash scripts/tidy.sh $(BUILD) $(TIDY_BASE)

# The core, settings-file and trace tests and every fault-injecting case (label faults) under AddressSanitizer
# and UBSan, in a build folder of their own that builds only the programs they need.
sanitize: deps
	@cmake -S . -B $(SANITIZE_BUILD) -DCMAKE_BUILD_TYPE=Release -DTULVANE_SANITIZE=address,undefined >/dev/null
	@cmake --build $(SANITIZE_BUILD) -j $(JOBS) \
		--target core_tests settings_file_tests trace_tests tulvane-trace tools_tests export_faults_qtest
	cd $(SANITIZE_BUILD) && UBSAN_OPTIONS=print_stacktrace=1 \
		ctest --output-on-failure -j $(JOBS) -L '^(core|settings_file|trace|tools|faults)$$'

clean:
	rm -rf $(BUILD) $(SANITIZE_BUILD)
