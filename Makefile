# Typeswap: top-level entry points. `make test` and `make demo` work on a
# fresh Debian machine (as root they install what the build needs).

BUILD    ?= build
JOBS     ?= $(shell nproc 2>/dev/null || echo 2)
CLI      := $(BUILD)/typeswap-cli
# Debian packages the build and the tests need (fonts-dejavu-core: a
# fixed-pitch face for the load log, the same on every machine).
PACKAGES := cmake g++ make pkg-config libgtest-dev qt6-base-dev xvfb xauth \
            dpkg-dev file fonts-dejavu-core

.PHONY: all deps configure build test demo bench tsan package install format format-check clean

all: build

deps:
	@missing=""; for p in $(PACKAGES); do \
	  dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q 'install ok installed' || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
	  if [ "$$(id -u)" = 0 ]; then \
	    echo "Installing:$$missing"; \
	    apt-get update && DEBIAN_FRONTEND=noninteractive apt-get install -y $$missing; \
	  else \
	    echo "Missing Debian packages:$$missing (run make as root to install them)"; \
	  fi; \
	fi

configure: deps
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null

build: configure
	cmake --build $(BUILD) -j$(JOBS)

test: build
	cd $(BUILD) && ctest --output-on-failure -j$(JOBS)

demo: build
	@sh examples/demo.sh $(CLI)

# A Debian package of the programs (build/typeswap_<version>_<arch>.deb);
# dpkg-shlibdeps works out what it depends on.
package: build
	cd $(BUILD) && cpack -G DEB

# Installs under PREFIX (default /usr/local).
PREFIX ?= /usr/local
install: build
	cmake --install $(BUILD) --prefix $(PREFIX)

bench: build
	@sh bench/run.sh $(BUILD)

# The layout of .clang-format, applied to every tracked source file.
SOURCES = $(shell git ls-files '*.cpp' '*.h')
format:
	clang-format -i $(SOURCES)
format-check:
	@strays=$$(clang-format --dry-run $(SOURCES) 2>&1 | grep -E '^[^ ]+:[0-9]+:[0-9]+: ' | cut -d: -f1 | sort -u); \
	  if [ -n "$$strays" ]; then echo "$$strays"; exit 1; fi

# The foundation library's threads tests under ThreadSanitizer (not part of `test`).
tsan: deps
	@cmake -S . -B $(BUILD)-tsan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTYPESWAP_TSAN=ON \
	  -DTYPESWAP_GUI=OFF -DTYPESWAP_BENCH=OFF >/dev/null
	cmake --build $(BUILD)-tsan -j$(JOBS) --target foundation_tests
	TSAN_OPTIONS=halt_on_error=1 $(BUILD)-tsan/tests/foundation_tests \
	  --gtest_filter='ConcurrencyTest.*:ErrorManagerTest.MoreErrors*'

clean:
	rm -rf $(BUILD) $(BUILD)-tsan
