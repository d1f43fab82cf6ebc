#!/usr/bin/env bash
# Reports per second of pasadas-informe run once per file from a shell loop,
# the way a season's reaches are reported: it generates ordinary data files
# (300 fish, 6 classes, 3 passes, different in every file), writes each
# file's report and four images, and prints the rate, by the clock and by
# the processor time the reports took.
#   bash bench/informes_por_segundo.sh [BUILD_FOLDER] [FILES]
set -euo pipefail
raiz=$(cd "$(dirname "$0")/.." && pwd)
construccion=$(cd "${1:-$raiz/build}" && pwd)
ficheros=${2:-200}
programa="$construccion/pasadas-informe"
[ -x "$programa" ] || { echo "informes_por_segundo: no existe $programa" >&2; exit 1; }

carpeta=$(mktemp -d /tmp/pasadas-informes-XXXXXX)
trap 'rm -rf "$carpeta"' EXIT
mkdir "$carpeta/datos" "$carpeta/informes"

# Every class depletes over the three passes (about half caught in the
# first); mean lengths follow a growth curve that slows with age, as fish
# do (so Walford's line meets y = x), weights about 0.01 L^3.
for i in $(seq 1 "$ficheros"); do
  awk -v semilla="$i" 'BEGIN {
    srand(semilla)
    print "Pasada Longitud Peso Clase"
    for (c = 0; c < 6; c++)
      for (f = 0; f < 50; f++) {
        u = rand()
        p = u < 0.5 ? 1 : (u < 0.8 ? 2 : 3)
        l = 35 * (1 - exp(-0.35 * (c + 0.5))) + 3 * rand()
        printf "%d %.1f %.2f %d\n", p, l, 0.0101 * l * l * l * (0.9 + 0.2 * rand()), c
      }
  }' > "$carpeta/datos/tramo$i.txt"
done

# Wall-clock time, and the processor time of the reports themselves, which
# other work on a shared machine does not stretch.
TIMEFORMAT='%R %U %S'
tiempos=$( { time for f in "$carpeta"/datos/*.txt; do
  "$programa" --superficie 250 --volumen 125.5 --metros 50 --linf 40 --meses 6 \
    "$f" "$carpeta/informes/$(basename "$f" .txt).inf" > /dev/null
done; } 2>&1 )

echo "$tiempos" | awk -v n="$ficheros" '{
  printf "%d informes en %.2f s: %.1f informes por segundo (%.1f por segundo de CPU)\n",
         n, $1, n / $1, n / ($2 + $3) }'
