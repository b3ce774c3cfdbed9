# Thin wrappers over the CMake presets; each target installs what it needs first.
.PHONY: test native-test sanitize-test fuzz windows-test packages bench clean

# Configures, builds and tests the tree of one preset.
run-preset = cmake --preset $(1) >/dev/null && cmake --build --preset $(1) && ctest --preset $(1)

# Every tree, the Windows one last: its CTest summary ends the output.
test:
	@tools/install-packages all
	@$(call run-preset,native)
	@$(call run-preset,native-sanitize)
	@$(call fuzz-briefly)
	@$(call run-preset,windows64)
	@$(call run-preset,windows)

packages:
	@tools/install-packages native

native-test: packages
	@$(call run-preset,native)

# The native tree built with AddressSanitizer and UndefinedBehaviorSanitizer.
sanitize-test: packages
	@$(call run-preset,native-sanitize)

# Builds the libFuzzer targets and runs each for FUZZ_SECONDS (30), two at a time; see
# docs/fuzzing.md for longer runs.
FUZZ_SECONDS ?= 30
fuzz-briefly = cmake --preset fuzz >/dev/null && cmake --build --preset fuzz && tools/run-fuzzers --time $(FUZZ_SECONDS)

fuzz:
	@tools/install-packages fuzz
	@$(call fuzz-briefly)

# The Windows trees, their tests run under Wine. The 32-bit tree (Brindle as shipped) runs
# every test but those that show the Open dialog; the 64-bit tree of the same sources runs
# those. Where the kernel runs no 32-bit code, qemu-user runs Wine's 32-bit half, and there
# a process showing the Open dialog hangs in about half of all runs (5 of 8 measured);
# Wine's 64-bit half runs natively and has not hung.
windows-test:
	@tools/install-packages windows
	@$(call run-preset,windows64)
	@$(call run-preset,windows)

# The window framework's and Brindle.exe's tests in the 32-bit tree, Open dialog included:
# on a machine that runs 32-bit code natively, or to see how often qemu-user hangs.
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
