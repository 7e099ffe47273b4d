BUILD ?= build
JOBS ?= $(shell nproc)

.PHONY: build run test bench bootstrap clean format

build: bootstrap
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD) -j $(JOBS)

run: build
	./$(BUILD)/plimb

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

bench: build
	@for b in $(BUILD)/bench/plimb_bench_*; do echo "== $$b"; $$b; done

bootstrap:
	@tools/bootstrap.sh

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf $(BUILD)
