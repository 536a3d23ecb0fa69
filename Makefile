# The two commands a newcomer needs: `make run` and `make test`. Both first
# install what they need (scripts/setup is idempotent and quick when nothing
# is missing).
.PHONY: setup run test native win32 clean fuzz fuzz-short

setup:
	@scripts/setup

native: setup
	cmake --preset native
	cmake --build --preset native

win32: setup
	cmake --preset win32
	cmake --build --preset win32

test: native win32 fuzz-short
	ctest --preset native
	ctest --preset win32

# The command-line fuzzer: the saver's entry and dispatch over test doubles,
# built with clang's libFuzzer and sanitizers. New inputs it finds go to the
# build tree's corpus; the seeds in the source tree are only read.
FUZZ_DIR = build/fuzz
FUZZER = $(FUZZ_DIR)/command_line_fuzzer
FUZZ_SOURCES = tests/fuzz/command_line_fuzzer.cpp tests/support/fake_saver_platform.cpp \
  src/framework/entry.cpp src/framework/close_rules.cpp src/framework/password_hooks.cpp \
  src/platform/x11/entry_linux.cpp src/platform/x11/close_rules_linux.cpp \
  src/platform/x11/password_hooks_linux.cpp src/platform/x11/shared_library_linux.cpp
FUZZ_HEADERS = $(wildcard src/framework/*.h src/platform/*.h src/platform/x11/*.h tests/support/fake_saver_platform.h)

$(FUZZER): $(FUZZ_SOURCES) $(FUZZ_HEADERS) | setup
	mkdir -p $(FUZZ_DIR)/corpus
	clang++ -std=c++17 -g -O1 -Wall -Wextra -fsanitize=fuzzer,address,undefined \
	  -fno-sanitize-recover=undefined -Isrc -Itests $(FUZZ_SOURCES) -ldl -o $@

# A short fixed-time run, part of `make test`; `make fuzz` searches longer.
fuzz-short: $(FUZZER)
	$(FUZZER) -max_total_time=20 -print_final_stats=1 $(FUZZ_DIR)/corpus tests/fuzz/seeds

fuzz: $(FUZZER)
	$(FUZZER) -max_total_time=600 -print_final_stats=1 $(FUZZ_DIR)/corpus tests/fuzz/seeds

run: native
	@echo "The saver's windows are not built yet; this build holds the scene and its tests."

clean:
	rm -rf build out
