# The two commands a newcomer needs: `make run` and `make test`. Both first
# install what they need (scripts/setup is idempotent and quick when nothing
# is missing).
.PHONY: setup run test native win32 clean

setup:
	@scripts/setup

native: setup
	cmake --preset native
	cmake --build --preset native

win32: setup
	cmake --preset win32
	cmake --build --preset win32

test: native win32
	ctest --preset native
	ctest --preset win32

run: native
	@echo "The saver's windows are not built yet; this build holds the scene and its tests."

clean:
	rm -rf build out
