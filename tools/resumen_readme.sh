#!/usr/bin/env bash
# The README's season example: the small table of reaches it shows, run
# through pasadas-informe --tramos, and the summary picture it writes copied
# to docs/resumen.png.
#   bash tools/resumen_readme.sh [BUILD_FOLDER]
set -euo pipefail
raiz=$(cd "$(dirname "$0")/.." && pwd)
construccion=$(cd "${1:-$raiz/build}" && pwd)
carpeta=$(mktemp -d /tmp/pasadas-resumen-XXXXXX)
trap 'rm -rf "$carpeta"' EXIT
cp "$raiz/data/ejemplo.txt" "$raiz/data/ejemplo3.txt" "$carpeta/"
cat > "$carpeta/tramos.csv" <<'TABLA'
Tramo;Fichero;Superficie;Metros;Pasadas;Linf;Meses;Limites
T01 Río Eria;ejemplo.txt;250;50;;32;6;
T02 Río Tera;ejemplo.txt;180,5;40;4;32;6;
T03 Arroyo del Valle;ejemplo3.txt;95;25;;30;6;9 14 20 25 30
T04 Río Cabrera;ejemplo.txt;;60;;;;
TABLA
env -u DISPLAY "$construccion/pasadas-informe" --tramos "$carpeta/tramos.csv" \
  --carpeta "$carpeta/campana" --png
cp "$carpeta/campana/resumen.png" "$raiz/docs/resumen.png"
echo "docs/resumen.png"
