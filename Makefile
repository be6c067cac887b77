# Two entry points for a fresh Debian machine: `make run` and `make test`.
BUILD ?= build
ASAN_BUILD ?= build-asan
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?=

.PHONY: all deps configure build run test sanitize bench install clean

all: build

deps:
	./scripts/install-deps.sh

configure: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_FLAGS)

build: configure
	cmake --build $(BUILD) -j$(JOBS)

run: build
	./$(BUILD)/src/app/zelvar

test: build
	cd $(BUILD) && ctest --output-on-failure -j$(JOBS) --timeout 600

# The tests again, built with AddressSanitizer and UndefinedBehaviorSanitizer.
# Of the every-model table only the CRS and VRS models: the NDR and NIR LPs
# differ from the VRS ones only in the sign of the free weight, their radial
# models run here in other tables, and the 24 of them cost minutes under the
# sanitizers' allocator (make test runs them all).
SANITIZE_SKIP ?= EveryModel\..*/N[DI]R_
sanitize: deps
	cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DZELVAR_SANITIZE=ON -DZELVAR_BUILD_BENCH=OFF $(CMAKE_FLAGS)
	cmake --build $(ASAN_BUILD) -j$(JOBS)
	cd $(ASAN_BUILD) && ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1 \
		ctest --output-on-failure -j$(JOBS) --timeout 900 -E '$(SANITIZE_SKIP)'

bench: build
	set -e; for b in $(BUILD)/bench/zelvar-bench-*; do echo "== $$b"; "$$b"; done

install: build
	cmake --install $(BUILD)

clean:
	rm -rf $(BUILD) $(ASAN_BUILD)
