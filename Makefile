# Two entry points for people: `make run` and `make test`. Both install the
# build dependencies first (Debian), then configure and build with CMake.
BUILD ?= build
JOBS ?= 2

.PHONY: all deps build run test clean

all: build

deps:
	./tools/install-deps

build: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD) -j$(JOBS)

run: build
	./$(BUILD)/tavock $(ARGS)

test: build
	ctest --test-dir $(BUILD) --output-on-failure -j$(JOBS)

clean:
	rm -rf $(BUILD)
