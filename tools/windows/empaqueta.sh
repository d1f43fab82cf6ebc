#!/usr/bin/env bash
# Makes, from the Windows programs in CARPETA, the portable zip and the
# Spanish installer (paquete/windows/pasadas.nsi), both holding the same
# folder: the programs, datas.dat, the examples and the user documentation.
#   empaqueta.sh RAIZ CARPETA DATAS VERSION
set -euo pipefail
raiz=$1 carpeta=$2 datas=$3 version=$4
nombre=pasadas-$version
paquete=$carpeta/paquete
origen=$paquete/$nombre
rm -rf "$paquete"
mkdir -p "$origen/ejemplos" "$origen/doc"

cp "$carpeta/pasadas.exe" "$carpeta/pasadas-informe.exe" "$carpeta/pasadas-inicio.exe" "$datas" "$origen/"
cp "$raiz"/data/*.txt "$origen/ejemplos/"
cp "$raiz/LICENSE" "$origen/LICENSE.txt"
# The user's guide and the methods page, as the Debian package has them (the
# system's Python, whose module python3-markdown is).
for pagina in guia metodos; do
  cp "$raiz/docs/$pagina.md" "$origen/doc/"
  /usr/bin/python3 "$raiz/cmake/pagina_html.py" "$raiz/docs/$pagina.md" "$origen/doc/$pagina.html"
done
cp "$raiz"/docs/*.png "$origen/doc/"

# The installer's lists, one line per file, folders removed deepest first.
listas=$paquete/listas
mkdir -p "$listas"
(cd "$origen"
 find . -type d | sort | while read -r d; do
   d=${d#.}; d=${d#/}
   echo "SetOutPath \"\$INSTDIR${d:+\\${d//\//\\}}\""
   find "./$d" -maxdepth 1 -type f | sort | while read -r f; do echo "File \"$origen/${f#./}\""; done
 done) >"$listas/archivos.nsh"
(cd "$origen"
 find . -type f | sort | while read -r f; do f=${f#./}; echo "Delete \"\$INSTDIR\\${f//\//\\}\""; done
 find . -mindepth 1 -type d | sort -r | while read -r d; do d=${d#./}; echo "RMDir \"\$INSTDIR\\${d//\//\\}\""; done
) >"$listas/borrados.nsh"

instalador=$carpeta/$nombre-windows-x64.exe
makensis -V2 -INPUTCHARSET UTF8 -DVERSION="$version" -DORIGEN="$origen" -DLISTAS="$listas" -DSALIDA="$instalador" \
  "$raiz/paquete/windows/pasadas.nsi"

zip_portatil=$carpeta/$nombre-windows-x64.zip
rm -f "$zip_portatil"
(cd "$paquete" && zip -qrX "$zip_portatil" "$nombre")
echo "windows: $(basename "$instalador") ($(du -k "$instalador" | cut -f1) KB)," \
     "$(basename "$zip_portatil") ($(du -k "$zip_portatil" | cut -f1) KB)"
