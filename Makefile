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
# compiles every example: each program's tools-and-time report, and the first lines of the
# drilled example's program.
demo: release
	@for f in examples/*.kvp; do ./build/release/korvelc check $$f && echo "$$f: no problems found"; done
	./build/release/korvelc dump examples/stepped-boss.kvp
	@for f in examples/*.kvp; do \
		n=$$(basename $$f .kvp); echo "== $$f"; \
		./build/release/korvelc make $$f -o build/release/$$n.cnc || echo "$$f: not compiled"; \
	done
	head -n 40 build/release/drilled-plate.cnc

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
		name=$$(basename $$f); kind=$${name#fuzz_}; mkdir -p $(CURDIR)/fuzz/corpus-$$name; \
		echo "== $$name"; \
		if [ -d $(CURDIR)/fuzz/regress/$$kind ]; then \
			$$f $(CURDIR)/fuzz/regress/$$kind/* || exit 1; \
		fi; \
		$$f -max_total_time=$(FUZZ_SECONDS) -print_final_stats=1 \
			$(CURDIR)/fuzz/corpus-$$name $(CURDIR)/fuzz/seeds/$$kind || exit 1; \
	done

clean:
	rm -rf build
