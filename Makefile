# The two commands of the README: `make run` and `make test`.
# `make test SANITIZE=1` builds and tests with AddressSanitizer and UndefinedBehaviorSanitizer.
ifeq ($(SANITIZE),1)
BUILD_DIR ?= build-sanitize
CMAKE_FLAGS := -DKOVARO_SANITIZE=ON
else
BUILD_DIR ?= build
CMAKE_FLAGS :=
endif
PACKAGES := g++ make cmake ninja-build libgtest-dev libgmock-dev libbenchmark-dev \
            qt6-base-dev qt6-charts-dev libqt6opengl6-dev libeigen3-dev nlohmann-json3-dev fonts-liberation \
            xvfb xauth python3-xlib imagemagick ngspice dpkg-dev clang-format shared-mime-info

.PHONY: deps configure build run test bench package fuzz clean

deps:
	@tools/install-deps.sh $(PACKAGES)

configure: deps
	cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Release -DKOVARO_WERROR=ON $(CMAKE_FLAGS)

build: configure
	cmake --build $(BUILD_DIR) --parallel

run: configure
	cmake --build $(BUILD_DIR) --parallel --target kovaro
	$(BUILD_DIR)/kovaro

test: build
	ctest --test-dir $(BUILD_DIR) --output-on-failure --timeout 300 --parallel $$(nproc)

fuzz:
	@tools/install-deps.sh $(PACKAGES) clang libclang-rt-14-dev
	fuzz/run.sh 60

package: build
	cd $(BUILD_DIR) && cpack -G DEB

bench: build
	$(BUILD_DIR)/bench/kovaro_bench
	$(BUILD_DIR)/bench/kovaro_plot_bench
	$(BUILD_DIR)/bench/kovaro_geometry_bench
	$(BUILD_DIR)/bench/kovaro_frequency_bench
	$(BUILD_DIR)/bench/kovaro_sweep_bench

clean:
	rm -rf $(BUILD_DIR)
