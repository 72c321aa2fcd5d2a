# Two entry points for people: `make run` and `make test`. Both install the
# build dependencies first (Debian), then configure and build with CMake.
BUILD ?= build
JOBS ?= 2

.PHONY: all deps build run test install deb clean sanitize-test fuzz stress

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

# `make install PREFIX=~/.local`: the program, its manual page and the
# example resource file under PREFIX (bin, share/man/man1, share/doc/tavock).
PREFIX ?= /usr/local

install: build
	cmake --install $(BUILD) --prefix $(PREFIX)

# `make deb`: the Debian package in $(BUILD)/deb, built from a copy of this
# tree and checked with lintian; `sudo apt install ./$(BUILD)/deb/tavock_*.deb`.
deb: deps
	./tools/build-deb $(BUILD)/deb $(JOBS)

# The stress passes CI runs after `make test` (which itself runs the clock
# once under valgrind): the whole suite under AddressSanitizer and
# UndefinedBehaviorSanitizer, and bounded fuzzing of the two parsers.
FUZZ_SECONDS ?= 60
# CI sets FUZZ_WERROR=ON so that a clang warning fails its run; a user's
# build only ever warns.
FUZZ_WERROR ?= OFF

sanitize-test: deps
	cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DTAVOCK_SANITIZE=ON
	cmake --build build-asan -j$(JOBS)
	ctest --test-dir build-asan --output-on-failure -j$(JOBS)

fuzz: deps
	CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTAVOCK_FUZZ=ON \
	  -DTAVOCK_WERROR=$(FUZZ_WERROR)
	cmake --build build-fuzz -j$(JOBS)
	./tools/run-fuzzers build-fuzz $(FUZZ_SECONDS)

stress: sanitize-test fuzz

clean:
	rm -rf $(BUILD) build-asan build-fuzz
