# The two commands a newcomer needs: `make run` and `make test`. Both install what is missing,
# configure and build first.
BUILD ?= build
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?=

.PHONY: all deps configure build run demo test package translations clean format sanitize fuzz bench

all: build

deps:
	scripts/install-deps

configure: deps
	cmake -S . -B $(BUILD) $(CMAKE_FLAGS)

build: configure
	cmake --build $(BUILD) -j$(JOBS)

# The editor broadcasts discovery requests on the real network: this is the command for real
# keypads. The editor draws only widgets, so Qt's OpenGL integration is not loaded.
run: build
	QT_XCB_GL_INTEGRATION=$${QT_XCB_GL_INTEGRATION:-none} $(BUILD)/bin/lumetto-keypad

# The editor and a simulated keypad on a private network of their own (the editor at 10.77.0.1,
# the keypad at 10.77.0.2): nothing leaves the machine, the window opens on your display. The
# demo's settings are kept apart, so it never replaces the interface chosen for real keypads.
DEMO_KEYPAD ?= 10.77.0.2
demo: build
	scripts/netns-run bash -c ' \
	    log=$$(mktemp); settings=$$(mktemp -d); \
	    scripts/nshost $(DEMO_KEYPAD) $(BUILD)/bin/lumetto-keypad-sim --address $(DEMO_KEYPAD) --name "Demo Keypad" \
	        >"$$log" 2>&1 </dev/null & sim=$$!; \
	    trap "kill $$sim 2>/dev/null; wait $$sim 2>/dev/null; rm -rf \"$$log\" \"$$settings\"" EXIT; trap "exit 130" INT TERM; \
	    for i in $$(seq 100); do grep -q "^ready" "$$log" && break; sleep 0.1; done; \
	    grep -q "^ready" "$$log" || { echo "the simulated keypad did not start:"; cat "$$log"; exit 1; }; \
	    XDG_CONFIG_HOME="$$settings" QT_XCB_GL_INTEGRATION=$${QT_XCB_GL_INTEGRATION:-none} $(BUILD)/bin/lumetto-keypad'

# Start-up time, memory and idle cost of the editor beside a bare Qt window, under Xvfb in a
# private network (scripts/bench-startup; ROUNDS=10 IDLE_ROUNDS=3 by default).
bench: build
	scripts/bench-startup $(BUILD)

# The tests look into the package too, so it is built first.
TEST_PACKAGE ?= package
test: build $(TEST_PACKAGE)
	cd $(BUILD) && ctest --output-on-failure -j$(JOBS)

# The Debian package, lumetto-keypad_VERSION_ARCH.deb in the build folder; install it with
# apt install ./$(BUILD)/lumetto-keypad_*.deb
package: build
	cmake --build $(BUILD) --target package -j$(JOBS)

# The same tests under AddressSanitizer and UndefinedBehaviorSanitizer, in a build tree of its own
# (no package from an instrumented build).
sanitize:
	$(MAKE) test BUILD=build-sanitize TEST_PACKAGE= CMAKE_FLAGS="-DSANITIZE=ON -DCMAKE_BUILD_TYPE=Debug"

# Every parser's libFuzzer target, FUZZ_SECONDS each (default 60), under ASan and UBSan with
# clang, in build-fuzz/ (scripts/fuzz). The normal build replays their corpora in `make test`.
FUZZ_SECONDS ?= 60
fuzz:
	scripts/install-deps --fuzz
	JOBS=$(JOBS) scripts/fuzz build
	FUZZ_SECONDS=$(FUZZ_SECONDS) scripts/fuzz run

# Brings translations/*.ts up to date with the texts in the code; new ones wait there, unfinished,
# for a translator (Qt Linguist, or any editor).
translations: configure
	cmake --build $(BUILD) --target translations

format:
	git ls-files '*.h' '*.cpp' | xargs clang-format -i

clean:
	rm -rf $(BUILD) build-sanitize build-fuzz
