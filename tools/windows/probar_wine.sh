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
# Wine links the user's Documents to HOME: a home of its own, in the build folder.
export WINEPREFIX=$carpeta/wine HOME=$carpeta/wine-casa WINEARCH=win64 WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export LANG=es_ES.UTF-8 LC_ALL=es_ES.UTF-8
unset DISPLAY
wine=$(command -v wine)
wineserver=$(command -v wineserver || echo /usr/lib/wine/wineserver)
informe_linux=$linux/pasadas-informe
informe_windows=$carpeta/pasadas-informe.exe
pasan=0 fallan=0

prueba_pasa() { pasan=$((pasan + 1)); echo "  bien: $1"; }
prueba_falla() { fallan=$((fallan + 1)); echo "  MAL:  $1" >&2; shift; [ $# -gt 0 ] && printf '        %s\n' "$@" >&2; }

prepara_wine() {
  if [ ! -f "$WINEPREFIX/.hecho" ]; then
    rm -rf "$WINEPREFIX" "$HOME"
    mkdir -p "$HOME"
    "$wine" wineboot -i >/dev/null 2>&1
    "$wineserver" -w
    touch "$WINEPREFIX/.hecho"
  fi
}

# Runs one program in a folder, keeping its output, errors and exit code
# there as files, so that comparing two folders compares everything.
ejecuta_en() {  # folder, program..., args...
  local dir=$1; shift
  (cd "$dir" && "$@" >.salida 2>.errores; echo $? >.codigo)
}

# A workbook records the second it was written: it is compared by its
# members, unpacked, with that time taken out.
sin_hora_de_libros() {  # folder
  local libro
  find "$1" -name '*.xlsx' | while read -r libro; do
    mkdir "$libro.contenido" && (cd "$libro.contenido" && unzip -q "$libro") &&
      sed -i -E 's#(<dcterms:(created|modified)[^>]*>)[^<]*#\1#g' "$libro.contenido/docProps/core.xml" &&
      rm "$libro"
  done
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
  sin_hora_de_libros "$dir/linux"; sin_hora_de_libros "$dir/windows"
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

# The season below, in a console of its own (a terminal for Wine, where
# Ctrl-C reaches it), interrupted after some milliseconds unless it ends first.
campana_en_consola() {  # folder, milliseconds, season's table, output folder
  local guion=$1/.guion
  printf '%q ' "$wine" "$carpeta/interrumpe.exe" "$2" c "$carpeta/pasadas-informe.exe" --hilos 1 \
    --tramos "$3" --carpeta "$4" >"$guion"
  printf '>.salida 2>.errores; echo $? >.codigo\n' >>"$guion"
  (cd "$1" && script -qec "sh .guion" /dev/null </dev/null >/dev/null)
  rm -f "$guion"
}

# ---- A season with accented names and "\" paths, interrupted ----
# A whole season first, then the same interrupted by Ctrl-C at several
# moments: each reach has all its files, as the whole season wrote them, or
# none; no hidden or temporary file is left; the exit code is 130.
prueba_acentos() {
  echo "windows: una campana con acentos y rutas con \\, interrumpida"
  local base=$pruebas/acentos campana rio n
  campana=$(printf 'Campa\303\261a 2024')
  rm -rf "$base"; mkdir -p "$base/$campana/datos"
  {
    echo "Tramo;Fichero;Superficie;Linf;Meses"
    for n in $(seq -w 1 12); do
      rio=$(printf 'R\303\255o Tera %s' "$n")
      cp "$raiz/data/ejemplo.txt" "$base/$campana/datos/$rio.txt"
      echo "$rio;datos\\$rio.txt;$((200 + 10#$n));32;6"
    done
  } >"$base/$campana/tramos.csv"
  local inicio fin
  inicio=$(date +%s%N)
  campana_en_consola "$base" 600000 "$campana\\tramos.csv" "$campana\\entera"
  fin=$(date +%s%N)
  local entera=$base/$campana/entera
  if [ "$(cat "$base/.codigo")" = 0 ] && [ "$(ls "$entera" | grep -c "^R.*o Tera .*[.]txt$")" = 12 ]; then
    prueba_pasa "la campana entera: 12 informes con nombre acentuado y su resumen"
  else
    prueba_falla "la campana entera falla (salida $(cat "$base/.codigo"))" "$(cat "$base/.errores")" "$(ls "$entera" 2>&1)"
    return
  fi
  local total=$(( (fin - inicio) / 1000000 )) parte dir quedan
  for parte in 2 4 6 8; do
    dir=cortada$parte
    campana_en_consola "$base" $((total * parte / 10)) "$campana\\tramos.csv" "$campana\\$dir"
    quedan=$(comprueba_cortada "$entera" "$base/$campana/$dir")
    if [ "$(cat "$base/.codigo")" = 130 ] && [ -z "$quedan" ] && grep -q interrumpido "$base/.errores"; then
      prueba_pasa "Ctrl-C a los $((total * parte / 10)) ms: $(ls "$base/$campana/$dir" 2>/dev/null | grep -c "[.]txt$") tramos enteros, nada oculto"
    else
      prueba_falla "Ctrl-C a los $((total * parte / 10)) ms (salida $(cat "$base/.codigo"))" "$quedan" "$(cat "$base/.errores")"
    fi
  done
}

# What an interrupted season left that it should not have: a hidden file,
# a file the whole season did not write or wrote otherwise, a reach missing
# some of its files.
comprueba_cortada() {  # the whole season's folder, the interrupted one's
  local entera=$1 cortada=$2 f raiz_tramo
  [ -d "$cortada" ] || return 0
  find "$cortada" -name '.*' -printf 'oculto: %f\n'
  for f in "$cortada"/*; do
    [ -e "$f" ] || continue
    cmp -s "$f" "$entera/$(basename "$f")" || echo "distinto o de mas: $(basename "$f")"
  done
  for f in "$entera"/*.txt; do
    raiz_tramo=$(basename "$f" .txt)
    case "$raiz_tramo" in resumen*) continue ;; esac
    if [ -e "$cortada/$raiz_tramo.txt" ] || ls "$cortada/$raiz_tramo"*.bmp >/dev/null 2>&1; then
      for g in "$entera/$raiz_tramo".txt "$entera/$raiz_tramo"?.bmp; do
        [ -e "$cortada/$(basename "$g")" ] || echo "tramo a medias: falta $(basename "$g")"
      done
    fi
  done
}

# ---- The installer ----
# Installed silently into a folder of its own, the working folder made as
# the Start menu's entry makes it, the example's report written there by the
# installed pasadas-informe, then uninstalled silently: nothing is left of
# the program, and the user's folder stays as it was.
prueba_instalador() {
  echo "windows: el instalador"
  local instalador=$carpeta/pasadas-$version-windows-x64.exe
  local instalada=$WINEPREFIX/drive_c/Programas/Pasadas trabajo=$HOME/Pasadas
  rm -rf "$instalada" "$trabajo"
  # /D takes no quotes, so no space can pass through Wine's command line.
  "$wine" "$instalador" /S '/D=C:\Programas\Pasadas' >/dev/null 2>&1
  "$wineserver" -w
  if [ -f "$instalada/pasadas-informe.exe" ] && [ -f "$instalada/datas.dat" ] && [ -f "$instalada/ejemplos/ejemplo.txt" ]; then
    prueba_pasa "instalacion silenciosa"
  else
    prueba_falla "la instalacion silenciosa no deja el programa" "$(ls "$instalada" 2>&1)"
    return
  fi
  "$wine" "$instalada/pasadas-inicio.exe" --preparar >/dev/null 2>&1
  (cd "$trabajo" 2>/dev/null && "$wine" "$instalada/pasadas-informe.exe" ejemplo informe.txt >/dev/null 2>&1)
  if cmp -s "$trabajo/informe.txt" "$raiz/tests/datos/informe_ejemplo_previo.txt" && [ -f "$trabajo/ejemplo.txt" ]; then
    prueba_pasa "Documentos\\Pasadas con los ejemplos; el programa instalado escribe el informe del ejemplo"
  else
    prueba_falla "la carpeta de trabajo o el informe del programa instalado" "$(ls "$trabajo" 2>&1)"
  fi
  local antes
  antes=$(cd "$trabajo" && find . -type f | sort | xargs md5sum)
  "$wine" "$instalada/desinstalar.exe" /S >/dev/null 2>&1
  "$wineserver" -w
  local menu=$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start\ Menu/Programs/Pasadas
  if [ ! -e "$instalada" ] && [ ! -e "$menu" ] &&
     ! "$wine" reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Pasadas' >/dev/null 2>&1 &&
     [ "$(cd "$trabajo" && find . -type f | sort | xargs md5sum)" = "$antes" ]; then
    prueba_pasa "desinstalacion silenciosa: nada del programa, la carpeta de trabajo intacta"
  else
    prueba_falla "la desinstalacion deja algo o toca la carpeta de trabajo" "$(find "$instalada" "$menu" 2>&1 | head)"
  fi
}

# ---- The window, driven as the Linux tests drive it ----
prueba_ventana() {
  echo "windows: la ventana bajo Wine"
  mkdir -p "$linux/wine"
  cat >"$linux/wine/pasadas" <<GUION
#!/bin/sh
export WINEPREFIX='$WINEPREFIX' HOME='$HOME' WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES='mscoree,mshtml='
exec '$wine' '$carpeta/pasadas.exe' "\$@"
GUION
  chmod +x "$linux/wine/pasadas"
  cmake --build "$linux" --target pruebas_wine >/dev/null
  if (cd "$linux" && timeout 600 ./pruebas_wine >"$pruebas/ventana.registro" 2>&1); then
    prueba_pasa "la ventana: $(grep -c '^\[       OK' "$pruebas/ventana.registro") pruebas"
  else
    prueba_falla "la ventana" "$(grep -E 'FAILED|Failure|error|Expected|Which is|actual' "$pruebas/ventana.registro" | head -20)"
  fi
  "$wineserver" -w
}

mkdir -p "$pruebas"
cp "$linux/datas.dat" "$carpeta/"
x86_64-w64-mingw32-g++-posix -O2 -static "$raiz/tests/windows/interrumpe.cpp" -o "$carpeta/interrumpe.exe"
prepara_wine
prueba_iguales
prueba_dorados
prueba_acentos
prueba_instalador
prueba_ventana
echo "windows: $pasan passed, $fallan failed"
[ "$fallan" -eq 0 ]
