#!/usr/bin/env bash
# Installs what is missing, builds Pasadas and runs every test: first a plain
# build, then the same tests built with AddressSanitizer and
# UndefinedBehaviorSanitizer, then the season's tests, whose reaches run on
# several threads, built with ThreadSanitizer. Screens run under a virtual X
# display.
set -euo pipefail
raiz=$(cd "$(dirname "$0")/.." && pwd)
cd "$raiz"
bash tools/preparar.sh

nucleos=$(nproc)
prueba() {  # build folder, extra cmake options...
  local dir=$1; shift
  cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
  cmake --build "$dir" -j "$nucleos"
  (cd "$dir" && xvfb-run -a -s "-screen 0 1024x768x24" \
      ctest --output-on-failure -j "$nucleos" --timeout 300)
}

prueba build
ASAN_OPTIONS=detect_leaks=0:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  prueba build-san -DPASADAS_SANITIZAR=ON
# The season's tests alone (and its interruption), as they are what runs threads:
# only the command and the end-to-end tests are built.
prueba_hilos() {
  cmake -S . -B build-hilos -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPASADAS_HILOS_SANITIZAR=ON >/dev/null
  cmake --build build-hilos -j "$nucleos" --target pasadas-informe pruebas_e2e datas_dat
  (cd build-hilos && ctest --output-on-failure -j "$nucleos" --timeout 300 \
      -R '^Campana|^Escritura[.]ASeason')
}
# An interruption ends the program at once, its finished workers not yet
# joined: that is the design, not a leak to report.
TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1:report_thread_leaks=0 prueba_hilos
echo "probar: todas las pruebas pasan"
