# Set-up, build and test entry points. Every target installs what it needs first.
BUILD_DIR    ?= build
SANITIZE_DIR ?= build-sanitize
TSAN_DIR     ?= build-tsan
RELEASE_DIR  ?= build-release
PREFIX       ?= /usr/local
JOBS         ?= $(shell nproc)
CTEST_JOBS   ?= 2
# The project's own builds treat warnings as errors; a plain cmake configure
# does not (see TROVENIX_WERROR).
CMAKE_FLAGS  ?= -DTROVENIX_WERROR=ON

.PHONY: all deps build test run test-sanitize test-tsan build-release install package bench clean

all: build

deps:
	bash scripts/install-deps

build: deps
	cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_FLAGS)
	cmake --build $(BUILD_DIR) -j $(JOBS)

test: build
	ctest --test-dir $(BUILD_DIR) --output-on-failure -j $(CTEST_JOBS)

run: build
	$(BUILD_DIR)/src/app/trovenix

test-sanitize: deps
	cmake -S . -B $(SANITIZE_DIR) -DCMAKE_BUILD_TYPE=Debug -DTROVENIX_SANITIZE=ON $(CMAKE_FLAGS)
	cmake --build $(SANITIZE_DIR) -j $(JOBS)
	LSAN_OPTIONS="print_suppressions=0 suppressions=$(CURDIR)/tests/lsan.supp" \
	  ctest --test-dir $(SANITIZE_DIR) --output-on-failure -j $(CTEST_JOBS)

# The threaded parts (engine component, batch driver, command line, player) under ThreadSanitizer.
test-tsan: deps
	cmake -S . -B $(TSAN_DIR) -DCMAKE_BUILD_TYPE=Debug -DTROVENIX_TSAN=ON $(CMAKE_FLAGS)
	cmake --build $(TSAN_DIR) -j $(JOBS) --target engine_component_test batch_driver_test cli_engine_test cli_batch_test trovenix-convert player_previewer_test player_engine_test
	TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1 suppressions=$(CURDIR)/tests/tsan.supp" \
	  ctest --test-dir $(TSAN_DIR) --output-on-failure -j $(CTEST_JOBS) -L 'component|cli|window|player' -R 'Component|TaskOptions|EngineCommand|BatchDriverTest|BatchCommand|Previewer|Player|PacketQueue'

# The optimiser of a Release build (-O3) finds warnings the others do not.
build-release: deps
	cmake -S . -B $(RELEASE_DIR) -DCMAKE_BUILD_TYPE=Release $(CMAKE_FLAGS)
	cmake --build $(RELEASE_DIR) -j $(JOBS)

# Installs trovenix-convert under PREFIX (DESTDIR is honoured).
install: build
	cmake --install $(BUILD_DIR) --prefix $(PREFIX)

# The Debian package, written into $(BUILD_DIR).
package: build
	cmake --build $(BUILD_DIR) --target package

bench: build
	bash bench/probe-speed.sh $(BUILD_DIR)

clean:
	rm -rf $(BUILD_DIR) $(SANITIZE_DIR) $(TSAN_DIR) $(RELEASE_DIR)
