# The two commands a newcomer needs: `make run` and `make test`. Both first
# install what they need (scripts/setup is idempotent and quick when nothing
# is missing): `make run` and `make native` only what builds the program,
# `make test` the test toolchain besides. `make install` installs nothing but
# the saver: it names missing build dependencies instead.
.PHONY: setup setup-build run test install uninstall deb native win32 win32-release clean fuzz \
  fuzz-short bench controller-plot leak-check soak mutants format-check

setup:
	@scripts/setup test

setup-build:
	@scripts/setup build

native: setup-build
	cmake --preset native
	cmake --build --preset native

win32: setup
	cmake --preset win32
	cmake --build --preset win32

# The release .scr, which the win32 tests check too (the win32 preset names it).
win32-release: setup
	cmake --preset win32-release
	cmake --build --preset win32-release

# The layout first: a file that clang-format would change fails the run.
format-check: setup
	tools/check_format.sh

test: format-check native win32 win32-release fuzz-short leak-check
	ctest --preset native
	ctest --preset win32

# The command-line fuzzer: both command-line grammars, built with clang's
# libFuzzer and sanitizers. New inputs it finds go to the build tree's corpus;
# the seeds in the source tree are only read.
FUZZ_DIR = build/fuzz
FUZZER = $(FUZZ_DIR)/command_line_fuzzer
FUZZ_SOURCES = tests/fuzz/command_line_fuzzer.cpp src/framework/command_line.cpp \
  src/platform/linux/command_options.cpp
FUZZ_HEADERS = src/framework/command_line.h src/platform/wintypes.h \
  src/platform/win32_vocabulary.h src/platform/linux/command_options.h

$(FUZZER): $(FUZZ_SOURCES) $(FUZZ_HEADERS) | setup
	mkdir -p $(FUZZ_DIR)/corpus
	clang++ -std=c++20 -g -O1 -Wall -Wextra -Werror -fsanitize=fuzzer,address,undefined \
	  -fno-sanitize-recover=undefined -Isrc $(FUZZ_SOURCES) -o $@

# A short fixed-time run, part of `make test`; `make fuzz` searches longer.
fuzz-short: $(FUZZER)
	$(FUZZER) -max_total_time=20 -print_final_stats=1 $(FUZZ_DIR)/corpus tests/fuzz/seeds

fuzz: $(FUZZER)
	$(FUZZER) -max_total_time=600 -print_final_stats=1 $(FUZZ_DIR)/corpus tests/fuzz/seeds

# The saver under AddressSanitizer and LeakSanitizer for half a minute of
# frames, closed by a key press; any report of the program's own fails.
LEAK_CHECK_SECONDS ?= 30
leak-check: setup
	cmake --preset native-asan
	cmake --build --preset native-asan --target lumenfall
	tools/leak_check.sh build/native-asan/src/lumenfall $(LEAK_CHECK_SECONDS)

# Benchmarks of the scene (release build, real Mesa OpenGL on a private
# Xvfb). `make bench BENCH_OUT=docs` refreshes the figures in docs/.
BENCH_OUT ?= build/bench/results
bench: setup
	cmake --preset bench
	cmake --build --preset bench --target scene_bench
	tools/bench_run.sh build/bench/bench/scene_bench $(BENCH_OUT) \
	  --benchmark_repetitions=3 --benchmark_report_aggregates_only=true

# The population controller over its whole climb (about 380 s), from a debug
# build that traces it once a second; writes a table and a plot.
CONTROLLER_SECONDS ?= 390
CONTROLLER_OUT ?= docs
controller-plot: setup
	cmake --preset native-controller
	cmake --build --preset native-controller --target lumenfall
	tools/controller_run.sh build/native-controller/src/lumenfall $(CONTROLLER_SECONDS) $(CONTROLLER_OUT)

# Ten minutes of the release saver, its resident memory and X resources
# sampled every 10 s; growth beyond start-up fails.
SOAK_SECONDS ?= 600
SOAK_OUT ?= build/native-release/results
soak: setup
	cmake --preset native-release
	cmake --build --preset native-release --target lumenfall
	tools/soak.py build/native-release/src/lumenfall $(SOAK_SECONDS) 10 $(SOAK_OUT)

# What the tests catch: a seeded sample of single-line faults planted in the
# sources, each built and tested in a copy of the tree under build/mutants.
# MUTANTS_ARGS="--windows" also samples the Windows-only sources and judges
# them by the tests under Wine.
MUTANTS_SEED ?= 1
MUTANTS_COUNT ?= 25
mutants: native
	tools/mutants.py --seed $(MUTANTS_SEED) --count $(MUTANTS_COUNT) $(MUTANTS_ARGS)

# Installs the release build: the program, its XScreenSaver settings file,
# its desktop entry and its manual page (cmake/install.cmake). `make install
# PREFIX=/usr` puts it where Debian's XScreenSaver finds it; DESTDIR stages
# the tree elsewhere, as any user. `make uninstall` with the same PREFIX and
# DESTDIR removes it again.
PREFIX ?= /usr/local
install:
	@scripts/setup --check build
	cmake --preset native-release
	cmake --build --preset native-release --target lumenfall
	DESTDIR="$(DESTDIR)" cmake --install build/native-release --prefix "$(PREFIX)" \
	  --component lumenfall

uninstall:
	DESTDIR="$(DESTDIR)" cmake -DPREFIX="$(PREFIX)" -P cmake/uninstall.cmake

# The Debian package, built from a clean copy of the tree in build/deb/
# (tools/build_deb.sh); dpkg-checkbuilddeps names any missing build dependency.
deb:
	tools/build_deb.sh build/deb

# Full screen on $DISPLAY; without a display, a few seconds on a private Xvfb
# recorded under out/.
run: native
	@scripts/run-native build/native/src/lumenfall

clean:
	rm -rf build out
