# make run   installs what is missing, builds, and analyses the bundled example frame
# make test  installs what is missing, builds, runs all tests, then again under the sanitizers
# make desktop      builds and starts the desktop program tarvel
# make screenshots  writes a picture of every window of the desktop program to docs/screenshots/
# make bench       the in-process benchmarks, then tarvel-cli as whole processes
#                  (CPU time, fsync calls, peak memory, wall medians)
# make bench-desktop  times start to disclaimer window to main window

JOBS    ?= $(shell nproc)
BUILD   ?= build
ASAN    ?= build-asan
EXAMPLE ?= examples/FRAME3X4.TVL

.PHONY: run test setup build build-asan bench clean desktop screenshots bench-desktop

setup:
	@bash scripts/setup.sh

build: setup
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release -DTARVEL_BUILD_APP=ON
	cmake --build $(BUILD) -j $(JOBS)

build-asan: setup
	cmake -S . -B $(ASAN) -DCMAKE_BUILD_TYPE=Debug -DTARVEL_SANITIZE=ON -DTARVEL_BUILD_BENCH=OFF -DTARVEL_BUILD_APP=ON
	cmake --build $(ASAN) -j $(JOBS)

run: build
	@rm -rf $(BUILD)/example && mkdir -p $(BUILD)/example && cp $(EXAMPLE) $(BUILD)/example/
	$(BUILD)/src/cli/tarvel-cli run $(BUILD)/example/$(notdir $(EXAMPLE))
	@echo "Result files written to $(BUILD)/example/"
	@echo "Start the desktop program with: make desktop   (or $(BUILD)/src/app/tarvel)"

test: build build-asan
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)
	cd $(ASAN) && ctest --output-on-failure -j $(JOBS)

bench: build
	$(BUILD)/bench/tarvel-bench
	python3 bench/whole_process.py $(BUILD)

desktop: build
	$(BUILD)/src/app/tarvel

screenshots: build
	QT_QPA_PLATFORM=offscreen $(BUILD)/tests/app/app_screenshots docs/screenshots

bench-desktop: build
	hyperfine --warmup 3 --runs 20 -N 'env QT_QPA_PLATFORM=offscreen $(BUILD)/bench/tarvel-startup'

clean:
	rm -rf $(BUILD) $(ASAN)
