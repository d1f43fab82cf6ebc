#!/usr/bin/env bash
# The share of a season's work that its main thread does alone, before and
# after its workers write the reaches: what bounds the speed two or more
# workers can reach. Counted per thread by callgrind (the same on a busy
# machine as on an idle one) over a season of ordinary reaches (300 fish in
# 6 classes over 3 passes, a data file each: bench/campana_comun.sh) with
# two workers. The main
# thread's work while the workers run (taking their reaches back in order,
# their summary rows and progress lines) goes on beside theirs.
#   bash bench/campana_hilos.sh [BUILD_FOLDER] [REACHES]
# With PERFIL=FOLDER the counts are kept there, for callgrind_annotate.
set -euo pipefail
raiz=$(cd "$(dirname "$0")/.." && pwd)
construccion=$(cd "${1:-$raiz/build}" && pwd)
tramos=${2:-200}
programa="$construccion/pasadas-informe"
[ -x "$programa" ] || { echo "campana_hilos: no existe $programa" >&2; exit 1; }
command -v valgrind > /dev/null || { echo "campana_hilos: falta valgrind" >&2; exit 1; }

source "$raiz/bench/campana_comun.sh"
carpeta=$(mktemp -d /tmp/pasadas-hilos-XXXXXX)
trap 'rm -rf "$carpeta"' EXIT
escribe_campana "$carpeta" "$tramos"

valgrind --tool=callgrind --separate-threads=yes --callgrind-out-file="$carpeta/cg.out" \
  "$programa" --hilos 2 --tramos "$carpeta/tramos.csv" --carpeta "$carpeta/campana" \
  > /dev/null 2> "$carpeta/valgrind.txt" || { tail -5 "$carpeta/valgrind.txt" >&2; exit 1; }
[ -z "${PERFIL:-}" ] || { mkdir -p "$PERFIL" && cp "$carpeta"/cg.out* "$PERFIL"/; }

total=0
for f in "$carpeta"/cg.out-*; do total=$((total + $(sed -n 's/^summary: //p' "$f"))); done
principal=$(ls "$carpeta"/cg.out-* | sort | head -1)
propio=$(sed -n 's/^summary: //p' "$principal")
# what the main thread did while the workers ran: taking their reaches back in order
junto=$(callgrind_annotate --inclusive=yes "$principal" 2> /dev/null |
        awk '/reparte_en_orden/ && !hecho { gsub(",", "", $1); print $1; hecho = 1 }')
awk -v t="$total" -v p="$propio" -v j="${junto:-0}" -v n="$tramos" 'BEGIN {
  printf "Campana de %d tramos con 2 obreros: %.0f M instrucciones; el hilo principal solo: %.0f M (%.1f %%)\n",
         n, t / 1e6, (p - j) / 1e6, 100 * (p - j) / t }'
