# Entry points for people and CI. The real build is CMake + Ninja in build/<kind>.
JOBS ?= 2
FUZZ_SECONDS ?= 60

.PHONY: all bootstrap release test demo gui bench fuzz clean

all: release

bootstrap:
	./scripts/bootstrap

release: bootstrap
	cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DKORVEL_TESTS=OFF
	cmake --build build/release -j$(JOBS)

# Checks the bundled example projects with korvelc, prints the model of one of them, and
# compiles the drilled example: the report and the first lines of its program. The flange plate
# is compiled too; its top face, bore and threads are machined by later versions, and korvelc
# says so.
demo: release
	@for f in examples/*.kvp; do ./build/release/korvelc check $$f && echo "$$f: no problems found"; done
	./build/release/korvelc dump examples/stepped-boss.kvp
	./build/release/korvelc make examples/drilled-plate.kvp -o build/release/drilled-plate.cnc
	head -n 40 build/release/drilled-plate.cnc
	-./build/release/korvelc make examples/flange-plate.kvp -o build/release/flange-plate.cnc

# Starts the desktop program on an example project.
gui: release
	./build/release/korvel examples/stepped-boss.kvp

# Builds with AddressSanitizer and UndefinedBehaviorSanitizer and runs every test.
test: bootstrap
	cmake -S . -B build/test -G Ninja -DCMAKE_BUILD_TYPE=Debug -DKORVEL_SANITIZE=ON -DKORVEL_TESTS=ON
	cmake --build build/test -j$(JOBS)
	ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
		ctest --test-dir build/test --output-on-failure -j$(JOBS)

bench: bootstrap
	cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DKORVEL_TESTS=OFF -DKORVEL_BENCH=ON
	cmake --build build/release -j$(JOBS)
	@for b in build/release/bench_*; do "$$b" || exit 1; done

# Runs each libFuzzer target for FUZZ_SECONDS on its own corpus folder.
fuzz: bootstrap
	CC=clang CXX=clang++ cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
		-DKORVEL_FUZZ=ON -DKORVEL_TESTS=OFF -DKORVEL_GUI=OFF
	cmake --build build/fuzz -j$(JOBS)
	@for f in build/fuzz/fuzz_*; do \
		name=$$(basename $$f); mkdir -p $(CURDIR)/fuzz/corpus-$$name; \
		echo "== $$name"; \
		$$f -max_total_time=$(FUZZ_SECONDS) -print_final_stats=1 \
			$(CURDIR)/fuzz/corpus-$$name $(CURDIR)/fuzz/seeds || exit 1; \
	done

clean:
	rm -rf build
