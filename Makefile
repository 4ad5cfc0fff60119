# make run   installs what is missing, builds, stages the program folder and starts TARVO2
# make test  the same set-up, then every test headless
# make package  the same set-up, then the Debian package build/tarvo2_<version>_<arch>.deb
BUILD ?= build
JOBS ?= $(shell nproc 2>/dev/null || echo 2)

.PHONY: all deps configure build run test package bench screenshots format clean

all: build

deps:
	@scripts/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null

build: configure
	@cmake --build $(BUILD) -j$(JOBS)

run: build
	$(BUILD)/AppFolder/prjTARVO2

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j$(JOBS)

package: build
	cd $(BUILD) && cpack -G DEB

bench: build
	scripts/bench.sh $(BUILD)

screenshots: build
	scripts/screenshots.sh $(BUILD)

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf $(BUILD)
