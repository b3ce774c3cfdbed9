# Thin wrappers over the CMake presets; each target installs what it needs first.
.PHONY: test native-test windows-test packages bench clean

# Configures, builds and tests the tree of one preset.
run-preset = cmake --preset $(1) >/dev/null && cmake --build --preset $(1) && ctest --preset $(1)

# Both trees, the Windows one last: its CTest summary ends the output.
test:
	@tools/install-packages all
	@$(call run-preset,native)
	@$(call run-preset,windows)

packages:
	@tools/install-packages native

native-test: packages
	@$(call run-preset,native)

# The 32-bit Windows tree, its tests run under Wine.
windows-test:
	@tools/install-packages windows
	@$(call run-preset,windows)

# The window framework's and Brindle.exe's tests under Wine. Not yet part of `make test`:
# under qemu-user a 32-bit Wine process can hang or die when an exception meets a second
# thread, which these tests' watchdogs and dialogs provoke.
.PHONY: gui-test
gui-test:
	@tools/install-packages windows
	@cmake --preset windows >/dev/null
	@cmake --build --preset windows
	@ctest --preset windows-gui

# The engine's throughput table (a few minutes); not part of the tests.
bench:
	@bench/run

# brindle-check over the bundled examples; some are broken on purpose, so exit status 1
# (conflicts found) is the expected outcome and only 2 (an error) fails the target.
.PHONY: check-examples
check-examples: packages
	@cmake --preset native >/dev/null
	@cmake --build --preset native --target brindle-check
	@build/native/cli/brindle-check examples || [ $$? -eq 1 ]

# Builds Brindle.exe and starts it under Wine on this display. Without a display there is
# nothing to show a window on: the console checker then checks the bundled examples.
.PHONY: run package
run:
ifdef DISPLAY
	@tools/install-packages all
	@cmake --preset windows >/dev/null
	@cmake --build --preset windows --target Brindle
	@cd build/windows/app && ../../../tools/wine-run --prefix ../wineprefix ./Brindle.exe
else
	@$(MAKE) --no-print-directory check-examples
endif

# build/windows/Brindle-1.0.zip: Brindle.exe, its languages and a short readme.
package:
	@tools/install-packages all
	@cmake --preset windows >/dev/null
	@cmake --build --preset windows --target package_zip

# An interrupted Windows test run can leave its Wine session (and Xvfb) running.
clean:
	@[ ! -d build/windows/wineprefix.session ] || tools/wine-run --prefix build/windows/wineprefix --stop
	rm -rf build
