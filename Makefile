# make run [ARGS=<address>]   install what is missing, build, open the browser
# make test                   install what is missing, build, run every test
# make test SANITIZE=1        the unit tests built with ASan and UBSan (in build-asan)
# make fuzz [FUZZ_SECONDS=60] build the libFuzzer targets (clang, in build-fuzz) and run each
# make install [PREFIX=/usr] [DESTDIR=dir]   install the browser (default prefix /usr/local)
# make uninstall [DESTDIR=dir]               remove what the last install wrote
# make deb                    build the Debian package into $(BUILD)
JOBS ?= $(shell nproc)
FUZZ_SECONDS ?= 60
FUZZ_BUILD ?= build-fuzz
CMAKE_OPTIONS ?=
BUILD_TARGET ?= all
TEST_SELECTION ?=
ifeq ($(SANITIZE),1)
BUILD ?= build-asan
CMAKE_OPTIONS += -DTOLVANE_SANITIZE=ON
# The unit tests only: the engine's own processes are not ours to check.
BUILD_TARGET = unit_tests
TEST_SELECTION = -E '^(integration_|gtk_tests)'
export ASAN_OPTIONS = detect_leaks=1:abort_on_error=1:strict_string_checks=1
export UBSAN_OPTIONS = print_stacktrace=1:halt_on_error=1
export LSAN_OPTIONS = suppressions=$(CURDIR)/tests/sanitizers/lsan.supp:print_suppressions=0
endif
BUILD ?= build

.PHONY: all deps build run test clean install uninstall deb fuzz
all: build

deps:
	@scripts/install-deps

$(BUILD)/CMakeCache.txt:
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_OPTIONS)

build: deps $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j $(JOBS) --target $(BUILD_TARGET)

run: build
	$(BUILD)/tolvane-browser $(ARGS)

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS) $(TEST_SELECTION)

$(FUZZ_BUILD)/CMakeCache.txt:
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTOLVANE_FUZZ=ON

# Each target runs FUZZ_SECONDS on a copy of its seeds (the seeds stay as
# committed; the markup target also starts from the page's own markup); a
# crash stops the run and leaves its input in $(FUZZ_BUILD).
# The bridge's decoder uses the engine's script context, which needs the
# toolkit and so a display; full stacks let the toolkit's own leaks be told
# from ours.
FUZZ_ON_DISPLAY = bridge_message
fuzz: deps $(FUZZ_BUILD)/CMakeCache.txt
	cmake --build $(FUZZ_BUILD) -j $(JOBS) --target fuzzers
	@for seeds in tests/fuzz/corpus/*/; do \
	  name=$$(basename $$seeds); work=$(FUZZ_BUILD)/corpus/$$name; \
	  mkdir -p $$work && cp -n $$seeds* $$work/ 2>/dev/null; \
	  if [ $$name = markup ]; then cp -n app/wMain.xaml $$work/; fi; \
	  echo "fuzz: $$name for $(FUZZ_SECONDS) s"; runner=; \
	  case " $(FUZZ_ON_DISPLAY) " in *" $$name "*) \
	    runner="tests/integration/with-display env ASAN_OPTIONS=fast_unwind_on_malloc=0";; esac; \
	  LSAN_OPTIONS=suppressions=$(CURDIR)/tests/sanitizers/lsan.supp $$runner $(FUZZ_BUILD)/$${name}_fuzz -max_total_time=$(FUZZ_SECONDS) -max_len=65536 -print_final_stats=1 \
	    -artifact_prefix=$(FUZZ_BUILD)/$$name- $$work > $(FUZZ_BUILD)/$$name.log 2>&1; status=$$?; \
	  grep -E "stat::number_of_executed_units|ERROR|SUMMARY|Test unit written" $(FUZZ_BUILD)/$$name.log; \
	  test $$status -eq 0 || exit 1; \
	done
