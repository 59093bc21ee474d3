# The two commands a newcomer needs: `make run` and `make test`. Both install what is missing,
# configure and build first.
BUILD ?= build
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?=

.PHONY: all deps configure build run test clean format sanitize

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

test: build
	cd $(BUILD) && ctest --output-on-failure -j$(JOBS)

# The same tests under AddressSanitizer and UndefinedBehaviorSanitizer, in a build tree of its own.
sanitize:
	$(MAKE) test BUILD=build-sanitize CMAKE_FLAGS="-DSANITIZE=ON -DCMAKE_BUILD_TYPE=Debug"

format:
	git ls-files '*.h' '*.cpp' | xargs clang-format -i

clean:
	rm -rf $(BUILD) build-sanitize
