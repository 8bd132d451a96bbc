# Everyday commands. Each installs the Debian packages it needs when they are missing.
BUILD ?= build
TEST_BUILD ?= build-test
BENCH_BUILD ?= build-bench
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 60
JOBS ?= $(shell nproc)
PACKAGES = cmake g++ make qt6-base-dev libsqlite3-dev libgtest-dev libbenchmark-dev \
           fonts-liberation2 clang-format poppler-utils desktop-file-utils appstream man-db

FUZZ_PACKAGES = clang libclang-rt-14-dev
FUZZ_TARGETS = fuzz_onetouch_reader fuzz_bgtracker_reader fuzz_onetouch_import fuzz_bgtracker_import \
               fuzz_clarity_reader fuzz_libreview_reader fuzz_nightscout_reader
# The sample files each target starts from.
FUZZ_SEEDS_onetouch = tests/data/exchange/*.csv
FUZZ_SEEDS_bgtracker = tests/data/exchange/*.txt
FUZZ_SEEDS_clarity = tests/data/exchange/clarity_*.csv
FUZZ_SEEDS_libreview = tests/data/exchange/cgm/*.csv
FUZZ_SEEDS_nightscout = tests/data/exchange/cgm/*.json

PACKAGE_PACKAGES = dpkg-dev file

# Installs those of the Debian packages given that are not installed yet.
define install-missing
@missing=""; for p in $(1); do \
  dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q "install ok installed" || missing="$$missing $$p"; \
done; \
if [ -n "$$missing" ]; then \
  echo "Installing:$$missing"; \
  apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq $$missing; \
fi
endef

.PHONY: deps build test run bench fuzz format clean package

deps:
	$(call install-missing,$(PACKAGES))

build: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD) -j $(JOBS)

# The tests build without optimisation or debug information: about half the compile time,
# which is most of a clean run.
test: deps
	cmake -S . -B $(TEST_BUILD) -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG=-O0
	cmake --build $(TEST_BUILD) -j $(JOBS)
	cd $(TEST_BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

run: build
	@if [ -x $(BUILD)/quillmarch ]; then $(BUILD)/quillmarch; \
	 else echo "The storage layer is built; the program's main window is not built yet."; fi

bench: deps
	cmake -S . -B $(BENCH_BUILD) -DCMAKE_BUILD_TYPE=Release -DQUILLMARCH_BUILD_TESTS=OFF \
	      -DQUILLMARCH_BUILD_BENCH=ON
	cmake --build $(BENCH_BUILD) -j $(JOBS)
	$(BENCH_BUILD)/storage_bench
	QT_QPA_PLATFORM=offscreen $(BENCH_BUILD)/view_bench
	QT_QPA_PLATFORM=offscreen $(BENCH_BUILD)/report_bench
	QT_QPA_PLATFORM=offscreen $(BENCH_BUILD)/stats_bench
	@if [ -x $(BENCH_BUILD)/exchange_bench ]; then QT_QPA_PLATFORM=offscreen $(BENCH_BUILD)/exchange_bench; fi

# Builds the libFuzzer targets with clang under AddressSanitizer and UndefinedBehaviorSanitizer
# and runs each for FUZZ_SECONDS on a fresh copy of its seed corpus. A finding stops the run;
# the input is left in $(FUZZ_BUILD)/findings/.
fuzz: deps
	$(call install-missing,$(FUZZ_PACKAGES))
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	      -DQUILLMARCH_BUILD_TESTS=OFF -DQUILLMARCH_BUILD_FUZZ=ON
	cmake --build $(FUZZ_BUILD) -j $(JOBS) --target $(FUZZ_TARGETS)
	@mkdir -p $(FUZZ_BUILD)/findings
	@for target in $(FUZZ_TARGETS); do \
	  format=$${target#fuzz_}; format=$${format%_*}; \
	  corpus=$(FUZZ_BUILD)/corpus/$$target; rm -rf $$corpus; mkdir -p $$corpus; \
	  case $$format in onetouch) cp $(FUZZ_SEEDS_onetouch) $$corpus/ ;; \
	                   bgtracker) cp $(FUZZ_SEEDS_bgtracker) $$corpus/ ;; \
	                   clarity) cp $(FUZZ_SEEDS_clarity) $$corpus/ ;; \
	                   libreview) cp $(FUZZ_SEEDS_libreview) $$corpus/ ;; \
	                   nightscout) cp $(FUZZ_SEEDS_nightscout) $$corpus/ ;; esac; \
	  echo "== $$target for $(FUZZ_SECONDS) s"; \
	  TZ=Europe/Berlin $(FUZZ_BUILD)/fuzz/$$target -max_total_time=$(FUZZ_SECONDS) \
	    -print_final_stats=1 -artifact_prefix=$(FUZZ_BUILD)/findings/$$target- $$corpus \
	    || exit 1; \
	done

# The Debian package, from a release build without the tests: quillmarch_<version>_<arch>.deb
# in $(PACKAGE_BUILD). Install it with apt install ./$(PACKAGE_BUILD)/quillmarch_*.deb.
PACKAGE_BUILD ?= build-package
package: deps
	$(call install-missing,$(PACKAGE_PACKAGES))
	cmake -S . -B $(PACKAGE_BUILD) -DCMAKE_BUILD_TYPE=Release -DQUILLMARCH_BUILD_TESTS=OFF
	cmake --build $(PACKAGE_BUILD) -j $(JOBS)
	cd $(PACKAGE_BUILD) && cpack
	@ls $(PACKAGE_BUILD)/*.deb

format:
	find src tests bench fuzz -name '*.cpp' -o -name '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD) $(TEST_BUILD) $(BENCH_BUILD) $(FUZZ_BUILD) $(PACKAGE_BUILD)
