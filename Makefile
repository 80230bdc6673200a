# Two commands a newcomer needs: `make run` and `make test`.
# Both install what is missing (Debian packages) before they build.
BUILD      ?= build
ASAN_BUILD ?= build-asan
JOBS       ?= 2
# CI treats warnings as errors; a local build only shows them.
WERROR     ?= $(if $(filter true,$(CI)),ON,OFF)

CMAKE_FLAGS = -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBREVIX_WERROR=$(WERROR)

.PHONY: deps build run test format-check test-main test-install test-asan package bench fuzz clean

deps:
	@bash tools/install-deps.sh

build: deps
	cmake -S . -B $(BUILD) $(CMAKE_FLAGS)
	cmake --build $(BUILD) -j $(JOBS)

run: build
	$(BUILD)/app/brevix samples

test: format-check test-main test-install test-asan

# Every C++ source follows the checked-in .clang-format.
format-check: deps
	git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run --Werror

test-main: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

# Installs into a temporary folder and builds the .deb, then checks what a
# user would get: layout, menu entry, file type, metadata, manual pages,
# completion and package dependencies.
test-install: build
	bash tests/install/check-install.sh $(BUILD)

# The Debian package brevix_VERSION_ARCH.deb, in $(BUILD).
package: build
	cmake --build $(BUILD) --target package

# The core library, its tests, brevix-dump and the fuzz corpus replay under
# AddressSanitizer + UBSan, built without the GUI (which also proves the core
# needs no Qt).
test-asan: deps
	cmake -S . -B $(ASAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug \
	  -DBREVIX_SANITIZE=ON -DBREVIX_BUILD_GUI=OFF -DBREVIX_BUILD_BENCH=OFF \
	  -DBREVIX_WERROR=$(WERROR)
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	cd $(ASAN_BUILD) && ctest --output-on-failure -j $(JOBS)

bench: build
	@for b in $(BUILD)/bench/bench_*; do echo "== $$b"; $$b; done

fuzz: deps
	bash fuzz/run-fuzzer.sh

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) build-fuzz
