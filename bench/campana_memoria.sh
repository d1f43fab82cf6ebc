#!/usr/bin/env bash
# Peak memory of a season against the size of its table: seasons of 100 and
# of 1000 reaches of ordinary size (bench/campana_comun.sh) with one worker,
# each one's peak resident memory as /usr/bin/time reads it, and their
# ratio. A season holds its table's rows and a few reaches at a time, so
# the ratio stays near 1.
#   bash bench/campana_memoria.sh [BUILD_FOLDER]
set -euo pipefail
raiz=$(cd "$(dirname "$0")/.." && pwd)
construccion=$(cd "${1:-$raiz/build}" && pwd)
programa="$construccion/pasadas-informe"
[ -x "$programa" ] || { echo "campana_memoria: no existe $programa" >&2; exit 1; }
[ -x /usr/bin/time ] || { echo "campana_memoria: falta /usr/bin/time" >&2; exit 1; }

source "$raiz/bench/campana_comun.sh"
carpeta=$(mktemp -d /tmp/pasadas-memoria-XXXXXX)
trap 'rm -rf "$carpeta"' EXIT
declare -A pico
for tramos in 100 1000; do
  mkdir "$carpeta/$tramos"
  escribe_campana "$carpeta/$tramos" "$tramos"
  /usr/bin/time -f %M -o "$carpeta/pico" "$programa" --hilos 1 --tramos "$carpeta/$tramos/tramos.csv" \
    --carpeta "$carpeta/$tramos/campana" > /dev/null 2>&1 ||
    { echo "campana_memoria: la campana de $tramos tramos ha fallado" >&2; exit 1; }
  pico[$tramos]=$(tail -1 "$carpeta/pico")
done
awk -v a="${pico[100]}" -v b="${pico[1000]}" 'BEGIN {
  printf "Pico de memoria: %.1f MB con 100 tramos, %.1f MB con 1000 (%.2f veces)\n", a / 1024, b / 1024, b / a }'
