# The two commands a new user needs: `make run` and `make test`.
# Both install any missing Debian packages first, then configure and build.

BUILD_DIR ?= build
BUILD_TYPE ?= RelWithDebInfo
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
PREFIX ?= /usr/local

# Ninja where it is installed (make deps installs it): quieter, and faster
# to rebuild. A build folder keeps the generator it was made with.
GENERATOR ?= $(shell command -v ninja >/dev/null 2>&1 && echo Ninja || echo "Unix Makefiles")

.PHONY: all deps configure build program run test sanitize bench install uninstall package clean

all: build

deps:
	@bash tools/install-deps.sh

configure: deps
	@if [ -f $(BUILD_DIR)/CMakeCache.txt ]; then \
	    cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) >/dev/null; \
	else \
	    cmake -S . -B $(BUILD_DIR) -G "$(GENERATOR)" -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) >/dev/null; \
	fi

build: configure
	@cmake --build $(BUILD_DIR) -j $(JOBS)

# Only what the window needs: the program, the generator and the database.
program: configure
	@cmake --build $(BUILD_DIR) --target tilewright -j $(JOBS)

run: program
	@$(BUILD_DIR)/bin/tilewright

test: build
	@cd $(BUILD_DIR) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)
	@tools/test-share

# The whole suite under AddressSanitizer and UndefinedBehaviorSanitizer.
sanitize: deps
	@cmake --preset asan-ubsan >/dev/null
	@cmake --build --preset asan-ubsan -j $(JOBS)
	@ctest --preset asan-ubsan -j $(JOBS)

# Installs into $(PREFIX) (make install PREFIX=$$HOME/.local for one user).
install: build
	@bash tools/install.sh install $(BUILD_DIR) $(PREFIX)

# Removes what make install put there, never a file a package owns.
uninstall:
	@bash tools/install.sh uninstall $(BUILD_DIR)

# A Debian package in $(BUILD_DIR): apt-get install ./$(BUILD_DIR)/tilewright_*.deb
package: build
	@cd $(BUILD_DIR) && cpack -G DEB

bench: build
	@cmake --build $(BUILD_DIR) --target benchmarks -j $(JOBS)
	@for b in $(BUILD_DIR)/bench/bench_*; do echo "== $$b"; QT_QPA_PLATFORM=offscreen $$b; done

clean:
	@rm -rf $(BUILD_DIR) build-asan-ubsan
