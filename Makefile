# Set-up, build and test entry points. Every target installs what it needs first.
BUILD_DIR    ?= build
SANITIZE_DIR ?= build-sanitize
TSAN_DIR     ?= build-tsan
JOBS         ?= $(shell nproc)
CTEST_JOBS   ?= 2

.PHONY: all deps build test run test-sanitize test-tsan bench clean

all: build

deps:
	bash scripts/install-deps

build: deps
	cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD_DIR) -j $(JOBS)

test: build
	ctest --test-dir $(BUILD_DIR) --output-on-failure -j $(CTEST_JOBS)

run: build
	$(BUILD_DIR)/src/app/trovenix

test-sanitize: deps
	cmake -S . -B $(SANITIZE_DIR) -DCMAKE_BUILD_TYPE=Debug -DTROVENIX_SANITIZE=ON
	cmake --build $(SANITIZE_DIR) -j $(JOBS)
	ctest --test-dir $(SANITIZE_DIR) --output-on-failure -j $(CTEST_JOBS)

# The threaded parts (engine component, command line) under ThreadSanitizer.
test-tsan: deps
	cmake -S . -B $(TSAN_DIR) -DCMAKE_BUILD_TYPE=Debug -DTROVENIX_TSAN=ON
	cmake --build $(TSAN_DIR) -j $(JOBS) --target engine_component_test cli_engine_test trovenix-convert
	TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1 suppressions=$(CURDIR)/tests/tsan.supp" \
	  ctest --test-dir $(TSAN_DIR) --output-on-failure -j $(CTEST_JOBS) -L 'component|cli' -R 'Component|TaskOptions|EngineCommand'

bench: build
	bash bench/probe-speed.sh $(BUILD_DIR)

clean:
	rm -rf $(BUILD_DIR) $(SANITIZE_DIR) $(TSAN_DIR)
