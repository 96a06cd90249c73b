# Thin wrapper over CMake: every target sets up what is missing first.
BUILD ?= build
JOBS  ?= $(shell nproc)

.PHONY: all deps configure build run editor test bench fuzz package capturas clean

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

# The fuzzers of the map, clipboard, saved-match, replay and network message
# readers, in a clang build folder of its own; FUZZ_SECONDS is shared among
# the five, the map reader taking three tenths: `make fuzz FUZZ_SECONDS=600`
# for a longer run.
FUZZ_BUILD   ?= fuzz-build
FUZZ_SECONDS ?= 60
fuzz:
	@TARNHOLLOW_FUZZ=1 scripts/install-deps
	@cmake -S . -B $(FUZZ_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
		-DCMAKE_CXX_COMPILER=clang++ -DTARNHOLLOW_FUZZ=ON > /dev/null
	@cmake --build $(FUZZ_BUILD) -j $(JOBS) --target fuzzmapa fuzzrecorte fuzzinstantanea fuzzrepeticion fuzzred
	fuzz/correr $(FUZZ_BUILD) $$(( $(FUZZ_SECONDS) * 3 / 10 )) fuzzmapa
	fuzz/correr $(FUZZ_BUILD) $$(( $(FUZZ_SECONDS) / 10 )) fuzzrecorte
	fuzz/correr $(FUZZ_BUILD) $$(( $(FUZZ_SECONDS) / 5 )) fuzzinstantanea
	fuzz/correr $(FUZZ_BUILD) $$(( $(FUZZ_SECONDS) / 5 )) fuzzrepeticion
	fuzz/correr $(FUZZ_BUILD) $$(( $(FUZZ_SECONDS) / 5 )) fuzzred

# The Debian package tarnhollow_VERSION_ARCH.deb in $(BUILD), checked by
# lintian (no error) and appstreamcli. `packaging/probar-paquete` installs,
# tries and removes it (as root; CI does).
package: build
	@TARNHOLLOW_PAQUETE=1 scripts/install-deps
	rm -f $(BUILD)/tarnhollow_*.deb
	cd $(BUILD) && cpack -G DEB
	rm -rf $(BUILD)/paquete/arbol && dpkg-deb -x $(BUILD)/tarnhollow_*.deb $(BUILD)/paquete/arbol
	appstreamcli validate-tree --no-net $(BUILD)/paquete/arbol
	lintian --fail-on error $(BUILD)/tarnhollow_*.deb

# The software centre's screenshots, taken with the programs themselves.
capturas: build
	packaging/capturas.sh $(BUILD)/bin/Tarnhollow $(BUILD)/bin/editor $(BUILD)/bin/mapas \
		packaging/capturas

clean:
	rm -rf $(BUILD) $(FUZZ_BUILD)
