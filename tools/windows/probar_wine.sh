#!/usr/bin/env bash
# The Windows build's tests, under Wine in a prefix of its own kept in the
# build folder (made once; nothing is downloaded: Wine's Mono and Gecko are
# switched off). Called by tools/windows.sh --probar.
#   probar_wine.sh RAIZ CARPETA OBRA_LINUX VERSION
# The Windows programs must give what the Linux build gives, byte for byte,
# on the same inputs: reports, images, summaries, messages and exit codes.
set -uo pipefail
raiz=$1 carpeta=$2 linux=$3 version=$4
pruebas=$carpeta/pruebas
export WINEPREFIX=$carpeta/wine WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
export LANG=es_ES.UTF-8 LC_ALL=es_ES.UTF-8
wine=$(command -v wine64 || command -v wine)
informe_linux=$linux/pasadas-informe
informe_windows=$carpeta/pasadas-informe.exe
pasan=0 fallan=0

prueba_pasa() { pasan=$((pasan + 1)); echo "  bien: $1"; }
prueba_falla() { fallan=$((fallan + 1)); echo "  MAL:  $1" >&2; shift; [ $# -gt 0 ] && printf '        %s\n' "$@" >&2; }

prepara_wine() {
  if [ ! -f "$WINEPREFIX/.hecho" ]; then
    rm -rf "$WINEPREFIX"
    DISPLAY= "$wine" wineboot -i >/dev/null 2>&1
    wineserver -w
    touch "$WINEPREFIX/.hecho"
  fi
}

# Runs one program in a folder, keeping its output, errors and exit code
# there as files, so that comparing two folders compares everything.
ejecuta_en() {  # folder, program..., args...
  local dir=$1; shift
  (cd "$dir" && "$@" >.salida 2>.errores; echo $? >.codigo)
}

# The same command, from copies of the same inputs, with each build: every
# file of both folders must be equal byte for byte.
compara() {  # name, folder of inputs, arguments...
  local nombre=$1 entrada=$2; shift 2
  local dir=$pruebas/iguales/$nombre
  rm -rf "$dir"; mkdir -p "$dir/linux" "$dir/windows"
  cp -r "$entrada/." "$dir/linux/"; cp -r "$entrada/." "$dir/windows/"
  ejecuta_en "$dir/linux" "$informe_linux" "$@"
  ejecuta_en "$dir/windows" "$wine" "$informe_windows" "$@"
  local diferencias
  if diferencias=$(diff -r "$dir/linux" "$dir/windows" 2>&1); then
    prueba_pasa "$nombre ($(find "$dir/windows" -type f | wc -l) ficheros iguales, salida $(cat "$dir/windows/.codigo"))"
  else
    prueba_falla "$nombre: la version de Windows difiere" "$(echo "$diferencias" | head -20)"
  fi
}

# ---- Reports, checks, refusals and a season, against the Linux build ----
prueba_iguales() {
  echo "windows: pasadas-informe.exe frente al de Linux"
  local datos=$pruebas/datos
  rm -rf "$datos"; mkdir -p "$datos/campo"
  cp "$raiz"/data/*.txt "$raiz"/tests/datos/*.txt "$datos/"
  local directas="--superficie 250 --volumen 125.5 --metros 50 --linf 32 --meses 6"
  compara ejemplo_directo "$datos" $directas ejemplo informe.txt
  compara ejemplo_previo "$datos" ejemplo previo.txt
  compara ejemplo_png "$datos" --png $directas ejemplo tramo1.informe
  compara sin_clases "$datos" --imagenes png --limites 9.5,15,20,25,30 ejemplo3.txt t.txt
  local m
  for m in dos_fallidas sin_fallos total_fallido un_pez una_pasada; do
    compara "muestra_$m" "$datos" --superficie 100 --linf 40 --meses 3 "$m.txt" "inf_$m.txt"
  done
  compara comprobar "$datos" --comprobar --limites 9.5,15,20,25,30 ejemplo3.txt
  compara diagnostico "$datos" --diagnostico ejemplo
  compara ayuda "$datos" --help
  compara version "$datos" --version
  compara sin_fichero "$datos" no_existe.txt informe.txt
  compara opcion_mala "$datos" --superficie abc ejemplo informe.txt
  compara no_es_informe "$datos" ejemplo ejemplo3.txt
  # A season of several reaches, one of which fails, in both summary formats.
  cp "$datos"/{ejemplo.txt,ejemplo3.txt,un_pez.txt,dos_fallidas.txt} "$datos/campo/"
  printf 'Tramo;Fichero;Superficie;Linf;Limites\nT01;campo/ejemplo.txt;250;32;\n'\
'T02;campo/ejemplo3.txt;120,5;;9.5 15 20 25 30\nT03;campo/un_pez.txt;80;;\n'\
'T04;campo/dos_fallidas.txt;90;40;\nT05;campo/no_esta.txt;10;;\n' >"$datos/tramos.csv"
  compara campana "$datos" --hilos 2 --tramos tramos.csv --carpeta salida
  compara campana_punto "$datos" --hilos 1 --formato punto --png --tramos tramos.csv --carpeta salida
}

# The example's reports are also the golden files the Linux tests hold.
prueba_dorados() {
  local dir=$pruebas/iguales
  if cmp -s "$dir/ejemplo_directo/windows/informe.txt" "$raiz/tests/datos/informe_ejemplo_directo.txt" &&
     cmp -s "$dir/ejemplo_previo/windows/previo.txt" "$raiz/tests/datos/informe_ejemplo_previo.txt"; then
    prueba_pasa "los informes del ejemplo son los de tests/datos"
  else
    prueba_falla "los informes del ejemplo no son los de tests/datos"
  fi
}

mkdir -p "$pruebas"
cp "$linux/datas.dat" "$carpeta/"
prepara_wine
prueba_iguales
prueba_dorados
echo "windows: $pasan passed, $fallan failed"
[ "$fallan" -eq 0 ]
