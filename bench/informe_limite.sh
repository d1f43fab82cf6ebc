#!/usr/bin/env bash
# Instructions of one report at the program's limits, counted by callgrind
# (the same count on a busy machine as on an idle one): 10 000 fish in 99
# classes over 20 passes, every group just short of its estimator's bound,
# read from a table as a Spanish spreadsheet saves it (";" and decimal
# commas), with its nine sections and four images.
#   bash bench/informe_limite.sh [BUILD_FOLDER]
# With PERFIL=FILE the count is kept there, for callgrind_annotate.
set -euo pipefail
raiz=$(cd "$(dirname "$0")/.." && pwd)
construccion=$(cd "${1:-$raiz/build}" && pwd)
programa="$construccion/pasadas-informe"
[ -x "$programa" ] || { echo "informe_limite: no existe $programa" >&2; exit 1; }
command -v valgrind > /dev/null || { echo "informe_limite: falta valgrind" >&2; exit 1; }

carpeta=$(mktemp -d /tmp/pasadas-limite-XXXXXX)
trap 'rm -rf "$carpeta"' EXIT

# The sample of bench/muestra_limite.h: each class's passes as late as keeps
# R below (passes - 1)/2, lengths growing with the class, weights 0.01 L^3.
awk 'BEGIN {
  print "Pasada;Longitud (cm);Peso (g);Clase"
  for (c = 0; c < 99; c++) {
    cuantos = int(10000 / 99) + (c < 10000 % 99)
    resto = int((19 * cuantos - 1) / 2)
    for (i = 0; i < cuantos; i++) {
      extra = resto > 19 ? 19 : resto
      resto -= extra
      l = 4 + c * 0.3 + (i % 7) * 0.1
      linea = sprintf("%d;%.2f;%.2f;%d", 1 + extra, l, 0.0101 * l * l * l * (1 + (i % 5) * 0.01), c)
      gsub(/\./, ",", linea)
      print linea
    }
  }
}' > "$carpeta/limite.csv"

cd "$carpeta"
valgrind --tool=callgrind --callgrind-out-file="$carpeta/callgrind.out" \
  "$programa" --superficie 1200 --volumen 640.5 --metros 300 --linf 40 --meses 6 \
  limite.csv informe.txt > /dev/null 2> "$carpeta/valgrind.txt" ||
  { cat "$carpeta/valgrind.txt" >&2; exit 1; }
[ -z "${PERFIL:-}" ] || cp "$carpeta/callgrind.out" "$PERFIL"
instrucciones=$(sed -n 's/^summary: //p' "$carpeta/callgrind.out")
awk -v i="$instrucciones" 'BEGIN { printf "Informe en los limites: %.1f M instrucciones\n", i / 1e6 }'
