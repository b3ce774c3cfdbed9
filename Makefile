# Thin wrappers over the CMake presets; each target installs what it needs first.
.PHONY: test native-test packages clean

test: native-test

packages:
	@tools/install-packages native

native-test: packages
	@cmake --preset native >/dev/null
	@cmake --build --preset native
	@ctest --preset native

clean:
	rm -rf build
