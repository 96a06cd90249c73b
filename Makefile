# Thin wrapper over CMake: every target sets up what is missing first.
BUILD ?= build
JOBS  ?= $(shell nproc)

.PHONY: all deps configure build run editor test bench clean

all: build

deps:
	@scripts/install-deps

configure: deps
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release > /dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

run: build
	$(BUILD)/bin/Tarnhollow

editor: build
	$(BUILD)/bin/editor

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

bench: build
	@for b in $(BUILD)/bench/*; do [ -x "$$b" ] && "$$b"; done

clean:
	rm -rf $(BUILD)
