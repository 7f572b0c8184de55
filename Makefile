BUILD ?= build
JOBS ?= $(shell nproc)

.PHONY: all deps configure build run test bench package format clean

all: build

deps:
	@bash scripts/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

# Only the program and the trace tool: a first start need not wait for the tests and benchmarks.
run: configure
	@cmake --build $(BUILD) -j $(JOBS) --target tulvane tulvane-trace
	./$(BUILD)/src/tulvane

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

# The .deb in $(BUILD)/: builds only what it holds (the programs, their manual pages and the help).
package: configure
	@cmake --build $(BUILD) -j $(JOBS) --target tulvane tulvane-trace tulvane_docs
	cd $(BUILD) && cpack

# make bench BENCH_ARGS="--benchmark_filter=Step --benchmark_repetitions=5"
bench: configure
	@cmake --build $(BUILD) -j $(JOBS) --target tulvane-bench
	./$(BUILD)/bench/tulvane-bench $(BENCH_ARGS)

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf $(BUILD)
