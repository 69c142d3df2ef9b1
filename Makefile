# The two commands of this project (see README.md):
#   make run    build, then start sutakiba.exe (with the application image) under
#               Wine, with a simulated modem on COM1 and a local mail server
#   make test   build, then run every test
#   make dist   build, then make the Windows package (a zip)
# Both first install whatever this machine lacks (scripts/setup.sh).

BUILD ?= build
HOST := $(BUILD)/host
WIN32 := $(BUILD)/win32
JOBS ?= $(shell nproc)

.PHONY: all setup build test run demo dist bench clean

all: build

setup:
	@./scripts/setup.sh

build: setup
	cmake -S . -B $(HOST) -G Ninja -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ >/dev/null
	cmake --build $(HOST) -j $(JOBS)
	cmake -S . -B $(WIN32) -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/i686-mingw32.cmake \
	      -DSUTAKIBA_HOST_BUILD=$(abspath $(HOST)) >/dev/null
	cmake --build $(WIN32) -j $(JOBS)

test: build
	ctest --test-dir $(HOST) --output-on-failure -j $(JOBS)
	ctest --test-dir $(WIN32) --output-on-failure -j $(JOBS)

# RUN_DISPLAY=:N shows the application on an existing display; RUN_SECONDS=N
# ends it after N seconds.
run: build
	RUN_DISPLAY="$(RUN_DISPLAY)" RUN_SECONDS="$(RUN_SECONDS)" ./scripts/run-app.sh $(WIN32) $(HOST)

# The whole path without hardware: the application with preferences and an
# address book that point at the simulated modem and the local mail server.
demo: build
	RUN_DEMO=1 RUN_DISPLAY="$(RUN_DISPLAY)" RUN_SECONDS="$(RUN_SECONDS)" ./scripts/run-app.sh $(WIN32) $(HOST)

# The Windows package: a zip of the stripped sutakiba.exe and its read-me files.
dist: build
	cmake --build $(WIN32) --target dist
	@test -s $(WIN32)/dist/sutakiba.zip
	@echo "The Windows package: $(abspath $(WIN32))/dist/sutakiba.zip"

bench: build
	./scripts/wine-run.sh $(WIN32)/bench/pool_bench.exe
	./scripts/wine-run.sh $(WIN32)/bench/loop_bench.exe
	./scripts/run.sh $(WIN32)/bench/window_loop_bench.exe
	./scripts/run.sh $(WIN32)/bench/control_layout_bench.exe
	SUTAKIBA_CODEPAGE=1252 ./scripts/wine-run.sh $(WIN32)/bench/string_search_bench.exe
	SUTAKIBA_CODEPAGE=932 ./scripts/wine-run.sh $(WIN32)/bench/string_search_bench.exe
	./scripts/wine-run.sh $(WIN32)/bench/array_bench.exe
	./scripts/wine-run.sh $(WIN32)/bench/kej_strings_bench.exe
	./scripts/comm-bench.sh $(WIN32)
	./scripts/app-bench.sh $(WIN32) .

clean:
	rm -rf $(BUILD)
