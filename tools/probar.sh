#!/usr/bin/env bash
# Installs what is missing, builds Pasadas and runs every test: first a plain
# build, then the same tests built with AddressSanitizer and
# UndefinedBehaviorSanitizer. Screens run under a virtual X display.
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
echo "probar: todas las pruebas pasan"
