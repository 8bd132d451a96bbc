# Everyday commands. Each installs the Debian packages it needs when they are missing.
BUILD ?= build
TEST_BUILD ?= build-test
BENCH_BUILD ?= build-bench
JOBS ?= $(shell nproc)
PACKAGES = cmake g++ make qt6-base-dev libsqlite3-dev libgtest-dev libbenchmark-dev \
           fonts-liberation2 clang-format poppler-utils

.PHONY: deps build test run bench format clean

deps:
	@missing=""; for p in $(PACKAGES); do \
	  dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q "install ok installed" || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
	  echo "Installing:$$missing"; \
	  apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq $$missing; \
	fi

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
	@if [ -x $(BENCH_BUILD)/exchange_bench ]; then QT_QPA_PLATFORM=offscreen $(BENCH_BUILD)/exchange_bench; fi

format:
	find src tests bench -name '*.cpp' -o -name '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD) $(TEST_BUILD) $(BENCH_BUILD)
