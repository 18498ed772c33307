# Entry points: setup, build, test, cobertura, demo, samples, fuzz, bench, install, package, clean.
JOBS  := 2
# How long the first build of the demonstration's programs takes: measured from the build log of a
# 2-core machine busy with other builds (52 compilations, 15 CPU-minutes); an idle one is faster.
DEMO_TEMPO := até cerca de 8 minutos
CMAKE := cmake -G Ninja -S .
SANITIZER_ENV := ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

.DEFAULT_GOAL := build
.PHONY: setup build test test-asan test-tsan cobertura demo samples fuzz bench install package clean
.PHONY: windows windows-installer test-windows

setup:
	bash scripts/setup.sh

build: setup
	$(CMAKE) -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build build -j$(JOBS)

test: build
	ctest --test-dir build --output-on-failure --no-tests=error -j$(JOBS) -LE windows
	$(MAKE) test-asan
	$(MAKE) test-tsan
	$(MAKE) test-windows

# The same suite under AddressSanitizer + UndefinedBehaviorSanitizer (test discovery runs at build time).
test-asan: setup
	$(CMAKE) -B build-asan -DCMAKE_BUILD_TYPE=Debug -DZAVORO_SANITIZE=ON
	$(SANITIZER_ENV) cmake --build build-asan -j$(JOBS)
	$(SANITIZER_ENV) ctest --test-dir build-asan --output-on-failure --no-tests=error -j$(JOBS)

# The tests that run workers on threads, under ThreadSanitizer.
test-tsan: setup
	$(CMAKE) -B build-tsan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZAVORO_TSAN=ON
	cmake --build build-tsan -j$(JOBS) --target zavoro_unit_tests zavoro_integration_tests zavoro_janela_tests zavoro
	TSAN_OPTIONS=halt_on_error=1 ctest --test-dir build-tsan --output-on-failure --no-tests=error -j$(JOBS) -R '^(Conversao|ThreadProcura|Comando|Janela)'

# Line coverage of source/ by the whole suite (Debug, --coverage), summed up by gcovr.
cobertura: setup
	$(CMAKE) -B build-cov -DCMAKE_BUILD_TYPE=Debug -DZAVORO_COBERTURA=ON
	cmake --build build-cov -j$(JOBS)
	find build-cov -name '*.gcda' -delete
	ctest --test-dir build-cov --output-on-failure --no-tests=error -j$(JOBS)
	gcovr -r . --filter 'source/' --gcov-ignore-parse-errors --print-summary --output /dev/null build-cov

# Builds only what the demonstration runs: zavoro and the two programs it starts (not the tests, the
# benchmarks or the window).
demo: setup
	$(CMAKE) -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
	@echo "Compilando zavoro, zavoro-desenho e zavoro-exportacao: a primeira compilação leva $(DEMO_TEMPO) em 2 núcleos; as seguintes, segundos."
	cmake --build build -j$(JOBS) --target zavoro
	bash scripts/demo.sh

samples: build
	build/bin/zavoro_gerar_amostras samples
	build/bin/zavoro_gerar_amostras --corpus fuzz/corpus/validacao
	build/bin/zavoro_gerar_amostras --corpus-shp fuzz/corpus/shapefile

fuzz: setup
	CC=clang CXX=clang++ $(CMAKE) -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZAVORO_FUZZ=ON
	cmake --build build-fuzz -j$(JOBS) --target zavoro_fuzz_targets
	@echo "Fuzz targets in build-fuzz/bin/, e.g.: build-fuzz/bin/fuzz_<nome> fuzz/corpus/<nome>/"

bench: build
	@set -e; for b in build/bin/bench_*; do [ -x "$$b" ] || continue; echo "== $$b"; "$$b"; done; bash bench/medir_comandos.sh

# Installs the programs, the help, the desktop entry and the icons (PREFIX=/caminho to choose where).
install: build
	cmake --install build $(if $(PREFIX),--prefix $(PREFIX),)

# Debian package in build/ (quibar-zavoro_<versão>_<arquitetura>.deb).
package: build
	cd build && cpack -G DEB

# The Windows programs, cross-built with MinGW-w64 into build-windows/bin (setup.sh --windows installs
# the cross compiler, Wine and NSIS). The help PDF and the icons come from the Linux build.
windows: build
	bash scripts/setup.sh --windows
	$(CMAKE) -B build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DCMAKE_BUILD_TYPE=Release
	cmake --build build-windows -j$(JOBS)

windows-installer: windows
	cmake --build build-windows --target zavoro_instalador

# The Windows suites under Wine (label windows): the cross compiler, Wine and NSIS are installed first
# (setup.sh --windows), the programs and the installer cross-built, then run. ZAVORO_SEM_WINDOWS=1 leaves
# them out (a machine that cannot take Wine), and says so.
test-windows:
	@if [ -n "$(ZAVORO_SEM_WINDOWS)" ]; then \
	    echo "Testes do Windows ignorados: ZAVORO_SEM_WINDOWS=$(ZAVORO_SEM_WINDOWS)"; \
	else \
	    $(MAKE) windows-installer && \
	    ctest --test-dir build --output-on-failure --no-tests=error -j$(JOBS) -L windows; \
	fi

clean:
	rm -rf build build-asan build-tsan build-fuzz build-cov build-windows demo-saida
