# The two commands of the README: `make run` and `make test`.
BUILD_DIR ?= build
PACKAGES := g++ make cmake ninja-build libgtest-dev libgmock-dev libbenchmark-dev \
            qt6-base-dev fonts-liberation xvfb xauth python3-xlib imagemagick ngspice

.PHONY: deps configure build run test bench clean

deps:
	@tools/install-deps.sh $(PACKAGES)

configure: deps
	cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Release -DKOVARO_WERROR=ON

build: configure
	cmake --build $(BUILD_DIR) --parallel

run: configure
	cmake --build $(BUILD_DIR) --parallel --target kovaro
	$(BUILD_DIR)/kovaro

test: build
	ctest --test-dir $(BUILD_DIR) --output-on-failure --timeout 300

bench: build
	$(BUILD_DIR)/bench/kovaro_bench

clean:
	rm -rf $(BUILD_DIR)
