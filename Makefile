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
  src/platform/x11/password_hooks_linux.cpp src/platform/x11/shared_library_linux.cpp \
  src/platform/x11/x11_display.cpp src/platform/x11/x11_windows.cpp src/platform/x11/message_queue.cpp \
  src/platform/x11/event_translation.cpp src/platform/x11/glx_pixel_format.cpp \
  src/platform/x11/dialog_layout.cpp src/platform/x11/about_box_gtk.cpp src/platform/x11/message_box_gtk.cpp \
  src/utility/diagnostics.cpp src/platform/x11/diagnostics_linux.cpp
# The Linux tables reach the X11 host's windows and its GTK dialogs.
FUZZ_LIBS = $(shell pkg-config --cflags --libs gtk+-3.0) -lGL -lX11 -ldl
FUZZ_HEADERS = $(wildcard src/framework/*.h src/platform/*.h src/platform/x11/*.h tests/support/fake_saver_platform.h)

$(FUZZER): $(FUZZ_SOURCES) $(FUZZ_HEADERS) | setup
	mkdir -p $(FUZZ_DIR)/corpus
	clang++ -std=c++17 -g -O1 -Wall -Wextra -fsanitize=fuzzer,address,undefined \
	  -fno-sanitize-recover=undefined -Isrc -Itests $(FUZZ_SOURCES) $(FUZZ_LIBS) -o $@

# A short fixed-time run, part of `make test`; `make fuzz` searches longer.
fuzz-short: $(FUZZER)
	$(FUZZER) -max_total_time=20 -print_final_stats=1 $(FUZZ_DIR)/corpus tests/fuzz/seeds

fuzz: $(FUZZER)
	$(FUZZER) -max_total_time=600 -print_final_stats=1 $(FUZZ_DIR)/corpus tests/fuzz/seeds

# Full screen on $DISPLAY; without a display, a few seconds on a private Xvfb
# recorded under out/.
run: native
	@scripts/run-native build/native/src/lumenfall

clean:
	rm -rf build out
