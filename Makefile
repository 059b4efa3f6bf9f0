# Everything the project needs comes from Debian's packages; this list is the only place it is kept.
DEPS := build-essential cmake ninja-build pkg-config sqlite3 libsqlite3-dev libsqlitecpp-dev \
        nlohmann-json3-dev libssl-dev libexiv2-dev exiv2 qt6-base-dev qt6-svg-dev libgl-dev \
        googletest libgtest-dev libgmock-dev libbenchmark-dev xvfb libx11-dev

BUILD ?= build
BUILD_TYPE ?= RelWithDebInfo
JOBS ?= $(shell nproc)
SUDO := $(shell [ "$$(id -u)" -eq 0 ] || echo sudo)

.PHONY: deps configure build test run bench sanitize clean

deps:
	@missing=$$(for p in $(DEPS); do \
	    dpkg-query -W -f='$${Status}\n' $$p 2>/dev/null | grep -q '^install ok installed$$' || echo $$p; \
	  done); \
	if [ -n "$$missing" ]; then \
	  echo "Installing: $$missing"; \
	  $(SUDO) apt-get update -qq && \
	  $(SUDO) env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends $$missing; \
	fi

configure: deps
	@cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) $(CMAKE_ARGS) > /dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

test: build
	@cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

run: build
	@$(BUILD)/ui/tallowmere

bench: build
	@$(BUILD)/bench/tallowmere-bench

# The same tests under AddressSanitizer and UndefinedBehaviorSanitizer, in a build folder of their own.
sanitize:
	@$(MAKE) --no-print-directory test BUILD=build-sanitize BUILD_TYPE=Debug CMAKE_ARGS=-DTALLOWMERE_SANITIZE=ON

clean:
	rm -rf build build-sanitize
