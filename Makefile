# make run        installs what is missing, builds the programs, stages the program folder
#                 and starts TARVO2
# make test       the same set-up, builds everything, then runs every test headless
# make package    the same set-up, then the Debian package build/tarvo2_<version>_<arch>.deb
# make uninstall  removes what `cmake --install build` installed (scripts/uninstall.sh)
BUILD ?= build
JOBS ?= $(shell nproc 2>/dev/null || echo 2)

# The build's own make runs as a sub-make: without this it announces every folder it
# enters and leaves, which buries the compiler's warnings.
MAKEFLAGS += --no-print-directory

.PHONY: all deps configure build programs run test package bench screenshots format clean \
	uninstall

all: build

deps:
	@scripts/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null

build: configure
	@cmake --build $(BUILD) -j$(JOBS)

programs: configure
	@cmake --build $(BUILD) -j$(JOBS) --target tarvo_programs

run: programs
	$(BUILD)/AppFolder/prjTARVO2

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j$(JOBS)

# cpack installs into a folder of its own; the build folder's record of the last
# installation (install_manifest.txt), which `make uninstall` reads, stays as it was.
package: build
	@scripts/keep-install-record.sh $(BUILD) \
		cpack -G DEB --config $(BUILD)/CPackConfig.cmake -B $(BUILD)

bench: build
	scripts/bench.sh $(BUILD)

screenshots: build
	scripts/screenshots.sh $(BUILD)

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

uninstall:
	@scripts/uninstall.sh $(BUILD)

clean:
	rm -rf $(BUILD)
