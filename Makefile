# make run [ARGS=<address>]   install what is missing, build, open the browser
# make test                   install what is missing, build, run every test
# make install [PREFIX=/usr] [DESTDIR=dir]   install the browser (default prefix /usr/local)
# make uninstall [DESTDIR=dir]               remove what the last install wrote
# make deb                    build the Debian package into $(BUILD)
BUILD ?= build
JOBS ?= $(shell nproc)

.PHONY: all deps build run test clean install uninstall deb
all: build

deps:
	@scripts/install-deps

$(BUILD)/CMakeCache.txt:
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo

build: deps $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j $(JOBS)

run: build
	$(BUILD)/tolvane-browser $(ARGS)

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

clean:
	rm -rf $(BUILD)

install: build
	DESTDIR=$(DESTDIR) cmake --install $(BUILD) $(if $(PREFIX),--prefix $(PREFIX))

uninstall:
	DESTDIR=$(DESTDIR) cmake --build $(BUILD) --target uninstall

deb: build
	cd $(BUILD) && cpack -G DEB
