# The two commands of the README. Each installs what is missing first.
#   make run    build the console edition and run it
#   make test   build everything and run every test

.PHONY: run test deps-host host

deps-host:
	@scripts/install-deps.sh host

host: deps-host
	cmake --preset host >/dev/null
	cmake --build --preset host

run: host
	./build/host/mizona

test: host
	ctest --preset host
