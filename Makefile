# The two commands of the README, plus benchmarks, the sanitizer run and the fuzzers.
BUILD_DIR ?= build
JOBS ?= 2

.PHONY: all deps build program run demo test test-clean-root bench test-asan fuzz package

all: build

deps:
	@scripts/install-deps

build: deps
	@cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=Release >/dev/null
	@cmake --build $(BUILD_DIR) -j $(JOBS)

# Only what the demo runs: the program and the stand-in emulator, not the tests and benchmarks.
program: deps
	@cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=Release >/dev/null
	@cmake --build $(BUILD_DIR) -j $(JOBS) --target lanvo corvane_standin

demo: program
	@scripts/make-demo $(BUILD_DIR)

run: demo
	cd $(BUILD_DIR)/demo && ../src/app/lanvo

test: build
	cd $(BUILD_DIR) && ctest --output-on-failure -j $(JOBS)

# `make test` on a fresh clone of the current commit in a minimal Debian root (needs root or sudo):
# proves that scripts/install-deps installs everything the build and the tests use.
test-clean-root:
	@scripts/test-clean-root

# The Debian package, lanvo_<version>_<arch>.deb in $(BUILD_DIR).
package: build
	cd $(BUILD_DIR) && cpack

bench: build
	@for b in $(BUILD_DIR)/bench/bench_*; do \
	  [ -f "$$b" ] && [ -x "$$b" ] || continue; echo "== $$b"; $$b || exit 1; done

# The whole test suite under AddressSanitizer and UndefinedBehaviorSanitizer, in its own folder.
# Reports also go to files, so that one from a child process (the stand-in emulator) fails the run
# even when the test itself passes; the leak suppressions cover Qt and system libraries only.
ASAN_BUILD_DIR ?= build-asan
SANITIZER_REPORTS = $(CURDIR)/$(ASAN_BUILD_DIR)/sanitizer-reports
SANITIZER_ENV = \
  ASAN_OPTIONS=detect_leaks=1:halt_on_error=1:abort_on_error=1:detect_stack_use_after_return=1:check_initialization_order=1:log_path=$(SANITIZER_REPORTS)/asan \
  UBSAN_OPTIONS=halt_on_error=1:abort_on_error=1:print_stacktrace=1:log_path=$(SANITIZER_REPORTS)/ubsan \
  LSAN_OPTIONS=suppressions=$(CURDIR)/scripts/lsan.supp:print_suppressions=0

test-asan: deps
	@cmake -S . -B $(ASAN_BUILD_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLANVO_SANITIZE=ON >/dev/null
	@cmake --build $(ASAN_BUILD_DIR) -j $(JOBS)
	@rm -rf $(SANITIZER_REPORTS) && mkdir -p $(SANITIZER_REPORTS)
	@cd $(ASAN_BUILD_DIR) && $(SANITIZER_ENV) ctest --output-on-failure -j $(JOBS); status=$$?; \
	  if [ -n "$$(ls -A $(SANITIZER_REPORTS))" ]; then \
	    cat $(SANITIZER_REPORTS)/*; echo "test-asan: sanitizer reports above"; exit 1; fi; \
	  exit $$status

# libFuzzer targets of fuzz/, built with clang in their own folder and run for FUZZ_SECONDS each on
# a scratch copy of their seed corpus; a crash, leak or hang fails.
FUZZ_BUILD_DIR ?= build-fuzz
FUZZ_SECONDS ?= 30

fuzz: deps
	@cmake -S . -B $(FUZZ_BUILD_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
	  -DLANVO_FUZZ=ON >/dev/null
	@cmake --build $(FUZZ_BUILD_DIR) -j $(JOBS) --target lanvo_fuzzers
	@fuzz/run-fuzzers $(FUZZ_BUILD_DIR) $(FUZZ_SECONDS)
