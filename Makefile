# The two commands of the README. Each installs what is missing first.
#   make run    build the console edition (and nothing else) and run it
#   make test   build everything (console edition, both Windows builds) and
#               run every test, the Wine runs included
#   make dist   the release for Windows 95/98 machines into dist/: a zip, a
#               floppy image and a CD image with MIZONA.EXE and LISEZMOI.TXT
#   make screenshots   the four boxes under Wine, in French, into docs/

PRESETS := host win32 win64

.PHONY: run test dist screenshots deps-host deps-all all

deps-host:
	@scripts/install-deps.sh host

deps-all:
	@scripts/install-deps.sh host windows wine wine32 dist

all: deps-all
	@for p in $(PRESETS); do cmake --preset $$p >/dev/null && cmake --build --preset $$p || exit 1; done

run: deps-host
	cmake --preset host >/dev/null
	cmake --build --preset host --target mizona
	./build/host/mizona

test: all
	@for p in $(PRESETS); do ctest --preset $$p || exit 1; done

# The exe is linked afresh, so that it carries the last commit's date.
dist:
	@scripts/install-deps.sh windows dist
	cmake --preset win32 >/dev/null
	rm -f build/win32/mizona.exe
	cmake --build --preset win32 --target mizona
	/usr/bin/python3 scripts/make_dist.py build/win32/mizona.exe release/LISEZMOI.TXT dist

screenshots: all
	@scripts/install-deps.sh screenshots
	cmake --build --preset win64 --target screenshots
