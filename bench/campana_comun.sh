# Sourced by the season's measurements. A season of $2 reaches of ordinary
# size in folder $1: a data file of its own for each (300 fish in 6 classes
# over 3 passes; every class depletes over the passes, lengths slow with
# age) and the table of reaches, $1/tramos.csv.
escribe_campana() {
  awk -v carpeta="$1" -v n="$2" 'BEGIN {
    srand(1)
    print "Tramo;Fichero;Superficie;Metros;Linf;Meses" > (carpeta "/tramos.csv")
    for (t = 0; t < n; t++) {
      fichero = carpeta "/t" t ".txt"
      print "Pasada Longitud Peso Clase" > fichero
      for (c = 0; c < 6; c++)
        for (i = 0; i < 50; i++) {
          u = rand()
          l = 35 * (1 - exp(-0.35 * (c + 0.5))) + 3 * rand()
          printf "%d %.2f %.2f %d\n", u < 0.5 ? 1 : u < 0.8 ? 2 : 3, l, 0.01 * l * l * l, c > fichero
        }
      close(fichero)
      printf "T%04d;t%d.txt;%d,5;%d;40;6\n", t, t, 200 + 7 * t, 40 + t % 13 > (carpeta "/tramos.csv")
    }
  }'
}
