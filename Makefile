# The two set-up commands of the README: `make run` and `make test`.
BUILD ?= build
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?=

.PHONY: all deps build run test bench bench-cpu fuzz format format-check clean

all: build

deps:
	@scripts/install-deps

$(BUILD)/build.ninja:
	cmake -S . -B $(BUILD) -G Ninja $(CMAKE_FLAGS)

build: deps $(BUILD)/build.ninja
	cmake --build $(BUILD) -j $(JOBS)

# The demo runs on its own settings (its button group), copied once so that
# what the user changes in the demo stays there and the user's own file is
# never touched.
DEMO_CONFIG = $(BUILD)/demo/ZelSim.ini

run: build
	@mkdir -p $(dir $(DEMO_CONFIG))
	@[ -f $(DEMO_CONFIG) ] || cp demo/ZelSim.ini $(DEMO_CONFIG)
	$(BUILD)/zelsim --demo --config $(DEMO_CONFIG)

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

bench: deps
	cmake -S . -B $(BUILD)-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DZELSIM_BENCH=ON
	cmake --build $(BUILD)-bench -j $(JOBS) --target zelsim_bench
	$(BUILD)-bench/bench/zelsim_bench

# The fuzz targets of fuzz/, built with clang and libFuzzer in $(BUILD)-fuzz
# and run one after another for FUZZ_SECONDS each; corpora and findings stay
# there between runs. FUZZ_TARGETS picks some of them.
FUZZ_SECONDS ?= 60
FUZZ_TARGETS ?= $(basename $(notdir $(wildcard fuzz/*Fuzz.cpp)))

fuzz: deps
	cmake -S . -B $(BUILD)-fuzz -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DZELSIM_FUZZ=ON \
	  -DZELSIM_CORE_ONLY=ON -DZELSIM_BENCH=OFF
	cmake --build $(BUILD)-fuzz -j $(JOBS)
	fuzz/run $(BUILD)-fuzz $(FUZZ_SECONDS) $(FUZZ_TARGETS)

# CPU of the whole program, side by side with the shared harness's peer
# terminals, in rounds of: the peers, then zelsim at full rate, idle, with
# the graph window and in the demo (scripts/bench-cpu). One line per case,
# against its target. Not part of `make test`: a run takes minutes.
SHARED_BENCH ?= ../shared/bench
CPU_RUNS ?= 3
CPU_SECONDS ?= 30
# More arguments for the program, e.g. CPU_ARGS="--log /tmp/cpu.log" to
# measure logging every line.
CPU_ARGS ?=

bench-cpu: deps
	@if [ ! -x "$(SHARED_BENCH)/serial_cpu.sh" ]; then \
	  echo "bench-cpu: SKIPPED: no harness at $(SHARED_BENCH) (set SHARED_BENCH=dir)"; exit 0; fi; \
	cmake -S . -B $(BUILD)-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DZELSIM_BENCH=ON && \
	cmake --build $(BUILD)-bench -j $(JOBS) --target zelsim zelsim-sim zelsim_line_floor && \
	CPU_ARGS="$(CPU_ARGS)" scripts/bench-cpu "$(SHARED_BENCH)" $(BUILD)-bench $(CPU_RUNS) $(CPU_SECONDS)

# The style of .clang-format, kept by a machine.
SOURCES = $(shell find src sim tests bench fuzz -name '*.cpp' -o -name '*.h')

format: deps
	@clang-format -i $(SOURCES)

format-check: deps
	@clang-format --dry-run --Werror $(SOURCES) && echo "format-check: $(words $(SOURCES)) files in style"
	@scripts/check-test-macros tests

clean:
	rm -rf $(BUILD) $(BUILD)-bench $(BUILD)-asan $(BUILD)-fuzz
