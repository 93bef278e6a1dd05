# The two commands of the README. Each installs what is missing first.
#   make run    build the console edition (and nothing else) and run it
#   make test   build everything (console edition, both Windows builds) and
#               run every test, the Wine runs included
#   make screenshots   the four boxes under Wine, in French, into docs/

PRESETS := host win32 win64

.PHONY: run test screenshots deps-host deps-all all

deps-host:
	@scripts/install-deps.sh host

deps-all:
	@scripts/install-deps.sh host windows wine wine32

all: deps-all
	@for p in $(PRESETS); do cmake --preset $$p >/dev/null && cmake --build --preset $$p || exit 1; done

run: deps-host
	cmake --preset host >/dev/null
	cmake --build --preset host --target mizona
	./build/host/mizona

test: all
	@for p in $(PRESETS); do ctest --preset $$p || exit 1; done

screenshots: all
	@scripts/install-deps.sh screenshots
	cmake --build --preset win64 --target screenshots
