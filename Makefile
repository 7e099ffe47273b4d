BUILD ?= build
JOBS ?= $(shell nproc)

.PHONY: configure build run test bench package bootstrap clean format

configure: bootstrap
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo

build: configure
	cmake --build $(BUILD) -j $(JOBS)

# Only the program: the first game should not wait for the tests and benchmarks to build.
run: configure
	cmake --build $(BUILD) -j $(JOBS) --target plimb
	./$(BUILD)/plimb

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

# The Debian package, build/plimb_<version>_<arch>.deb.
package: build
	cmake --build $(BUILD) --target package

bench: build
	@for b in $(BUILD)/bench/plimb_bench_*; do echo "== $$b"; $$b; done

bootstrap:
	@tools/bootstrap.sh

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf $(BUILD)

# libFuzzer harnesses (fuzz/, built with clang and the sanitizers in build-fuzz/), each run for
# FUZZ_SECONDS on the committed seeds plus what earlier runs found; any finding fails.
FUZZ_SECONDS ?= 60
FUZZ_BUILD ?= build-fuzz
.PHONY: fuzz
fuzz:
	@tools/bootstrap.sh fuzz
	cmake -S fuzz -B $(FUZZ_BUILD) -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(FUZZ_BUILD) -j $(JOBS)
	@for f in $(FUZZ_BUILD)/fuzz_*; do \
	    name=$${f##*/fuzz_}; log=$(FUZZ_BUILD)/$$name.log; \
	    mkdir -p $(FUZZ_BUILD)/corpus/$$name $(FUZZ_BUILD)/findings; \
	    echo "== $$name ($(FUZZ_SECONDS) s)"; \
	    if $$f -max_total_time=$(FUZZ_SECONDS) -print_final_stats=1 -artifact_prefix=$(FUZZ_BUILD)/findings/$$name- \
	        $(FUZZ_BUILD)/corpus/$$name fuzz/corpus/$$name > $$log 2>&1; then \
	        grep -E '^stat::number_of_executed_units|DONE' $$log; \
	    else \
	        tail -40 $$log; echo "fuzz_$$name found a fault: see $$log and $(FUZZ_BUILD)/findings"; exit 1; \
	    fi; \
	done
