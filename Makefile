# make run   installs what is missing, builds, and analyses the bundled example frame
# make test  installs what is missing, builds, runs all tests, then again under the sanitizers

JOBS    ?= $(shell nproc)
BUILD   ?= build
ASAN    ?= build-asan
EXAMPLE ?= examples/FRAME3X4.TVL

.PHONY: run test setup build build-asan bench clean

setup:
	@bash scripts/setup.sh

build: setup
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release
	cmake --build $(BUILD) -j $(JOBS)

build-asan: setup
	cmake -S . -B $(ASAN) -DCMAKE_BUILD_TYPE=Debug -DTARVEL_SANITIZE=ON -DTARVEL_BUILD_BENCH=OFF
	cmake --build $(ASAN) -j $(JOBS)

run: build
	@rm -rf $(BUILD)/example && mkdir -p $(BUILD)/example && cp $(EXAMPLE) $(BUILD)/example/
	$(BUILD)/src/cli/tarvel-cli run $(BUILD)/example/$(notdir $(EXAMPLE))
	@echo "Result files written to $(BUILD)/example/"

test: build build-asan
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)
	cd $(ASAN) && ctest --output-on-failure -j $(JOBS)

bench: build
	$(BUILD)/bench/tarvel-bench

clean:
	rm -rf $(BUILD) $(ASAN)
