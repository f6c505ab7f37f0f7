# make run   installs what is missing, builds, and analyses the bundled example frame
# make test  installs what is missing, builds, runs all tests, then again under the sanitizers
# make desktop      builds and starts the desktop program tarvel
# make screenshots  writes a picture of every window of the desktop program to docs/screenshots/
# make bench       the in-process benchmarks, then tarvel-cli as whole processes
#                  (CPU time, fsync calls, peak memory, wall medians)
# make bench-desktop  times start to disclaimer window to main window
# make deb   builds the Debian package build/tarvel_<version>_<arch>.deb
# make bench-input    times opening a large job in the data-preparation window, every tab shown
# make fuzz         builds the fuzzing targets (clang, libFuzzer, both sanitizers) in build-fuzz
# make fuzz-campaign  runs each fuzzing target FUZZ_SECONDS seconds on one core, grows the
#                   corpora in fuzz/corpus/ and appends executions and coverage to fuzz/campaigns.md
# make fuzz-replay  runs every corpus input once through its target (part of make test)
# make fuzz-totals  executions per target over all campaigns, against the goal of 10 million

JOBS    ?= $(shell nproc)
BUILD   ?= build
ASAN    ?= build-asan
EXAMPLE ?= examples/FRAME3X4.TVL
FUZZ    ?= build-fuzz
FUZZ_SECONDS ?= 60

.PHONY: run test setup build build-asan bench clean desktop screenshots bench-desktop deb bench-input \
        fuzz fuzz-campaign fuzz-replay fuzz-totals

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

test: build build-asan fuzz
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)
	cd $(ASAN) && ctest --output-on-failure -j $(JOBS)
	FUZZ_BUILD=$(FUZZ) bash scripts/fuzz_replay.sh

fuzz: setup
	cmake -S . -B $(FUZZ) -DCMAKE_CXX_COMPILER=clang++-14 -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DTARVEL_FUZZ=ON -DTARVEL_BUILD_TESTS=OFF -DTARVEL_BUILD_BENCH=OFF
	cmake --build $(FUZZ) -j $(JOBS) --target tarvel_fuzz_targets

fuzz-campaign: fuzz
	FUZZ_BUILD=$(FUZZ) FUZZ_SECONDS=$(FUZZ_SECONDS) bash scripts/fuzz_campaign.sh

fuzz-replay: fuzz
	FUZZ_BUILD=$(FUZZ) bash scripts/fuzz_replay.sh

fuzz-totals:
	python3 scripts/fuzz_totals.py fuzz/campaigns.md

bench: build
	$(BUILD)/bench/tarvel-bench
	python3 bench/whole_process.py $(BUILD)

desktop: build
	$(BUILD)/src/app/tarvel

screenshots: build
	QT_QPA_PLATFORM=offscreen $(BUILD)/tests/app/app_screenshots docs/screenshots

bench-input: build
	QT_QPA_PLATFORM=offscreen $(BUILD)/bench/tarvel-bench-input

bench-desktop: build
	hyperfine --warmup 3 --runs 20 -N 'env QT_QPA_PLATFORM=offscreen $(BUILD)/bench/tarvel-startup'

deb: build
	cd $(BUILD) && cpack -G DEB

clean:
	rm -rf $(BUILD) $(ASAN) $(FUZZ)
