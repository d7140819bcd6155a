# The two commands of the README, plus benchmarks, the sanitizer run and the fuzzers.
BUILD_DIR ?= build
JOBS ?= 2

.PHONY: all deps build run demo test bench

all: build

deps:
	@scripts/install-deps

build: deps
	@cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=Release >/dev/null
	@cmake --build $(BUILD_DIR) -j $(JOBS)

demo: build
	@scripts/make-demo $(BUILD_DIR)

run: demo
	cd $(BUILD_DIR)/demo && ../src/app/lanvo

test: build
	cd $(BUILD_DIR) && ctest --output-on-failure -j $(JOBS)

bench: build
	@for b in $(BUILD_DIR)/bench/bench_*; do echo "== $$b"; $$b || exit 1; done
