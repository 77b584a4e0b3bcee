# The two commands of the README, and a few helpers. CMake presets do the real work.
.PHONY: deps build run test test-release test-asan package package-check bench fuzz clean

FUZZ_SECONDS ?= 300

deps:
	@scripts/install-deps

build: deps
	cmake --preset release
	cmake --build --preset release

run: build
	./build/vesk3

test: test-release test-asan

test-release: deps
	cmake --preset release
	cmake --build --preset release
	ctest --preset release

test-asan: deps
	cmake --preset asan
	cmake --build --preset asan
	ctest --preset asan

package: deps
	cmake --preset release
	cmake --build --preset release --target package

package-check: package
	scripts/check-package build

bench: deps
	cmake --preset bench
	cmake --build --preset bench
	scripts/run-bench build-bench

fuzz: deps
	cmake --preset fuzz
	cmake --build --preset fuzz
	scripts/run-fuzz build-fuzz $(FUZZ_SECONDS)

clean:
	rm -rf build build-debug build-asan build-bench build-fuzz
