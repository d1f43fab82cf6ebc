#!/usr/bin/env bash
# Takes the screenshots of the README and the user's guide again: builds
# the program and the capture driver, runs the real program on a private
# virtual display through the load menu, the calculation menu, the
# population, class, density and growth screens and the export's modes, and
# writes them as PNG files into docs/; then the HTML page of a generated
# season, as headless Chromium shows it (docs/pagina.png).
set -euo pipefail
raiz=$(cd "$(dirname "$0")/.." && pwd)
cd "$raiz"
bash tools/preparar.sh
# the build folder of ejecutar.sh and probar.sh, in whatever type it was made
tipo=()
[ -f build/CMakeCache.txt ] || tipo=(-DCMAKE_BUILD_TYPE=RelWithDebInfo)
cmake -S . -B build "${tipo[@]}" >/dev/null
cmake --build build -j 2 --target capturas pasadas-informe
temporal=$(mktemp -d)
trap 'rm -rf "$temporal"' EXIT
CAPTURAS="$temporal" build/capturas
mkdir -p docs
for ppm in "$temporal"/*.ppm; do
  png="docs/$(basename "$ppm" .ppm).png"
  pnmtopng -compression 9 "$ppm" > "$png"
  echo "$png"
done
/usr/bin/python3 tests/pagina/navegador.py build/pasadas-informe "$temporal/pagina" --captura "$temporal/pagina.png"
pngtopnm "$temporal/pagina.png" | pnmtopng -compression 9 > docs/pagina.png
echo docs/pagina.png
