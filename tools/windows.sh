#!/usr/bin/env bash
# Builds Pasadas for 64-bit Windows on this Debian machine, or tests that build
# under Wine.
#   bash tools/windows.sh [CARPETA]            pasadas.exe, pasadas-informe.exe,
#                                             the installer and the portable zip
#   bash tools/windows.sh --probar [CARPETA]   the same, then the tests under Wine
# CARPETA is build-windows/ by default. The libraries are built once from
# Debian's source packages into CARPETA/dependencias and reused; datas.dat,
# which does not depend on the platform, and the programs the Windows ones
# are compared with come from the Linux build in build/ (PASADAS_OBRA_LINUX).
set -euo pipefail
raiz=$(cd "$(dirname "$0")/.." && pwd)
probar=0
if [ "${1:-}" = --probar ]; then probar=1; shift; fi
carpeta=$(realpath -m "${1:-$raiz/build-windows}")
linux=$(realpath -m "${PASADAS_OBRA_LINUX:-$raiz/build}")
dir_windows=$raiz/tools/windows
nucleos=$(nproc)

if ! command -v x86_64-w64-mingw32-g++-posix >/dev/null || ! command -v makensis >/dev/null; then
  echo "windows: faltan mingw-w64 o NSIS: ejecute antes bash tools/preparar.sh" >&2
  exit 1
fi
mkdir -p "$carpeta"

# The libraries, kept under a key of everything that makes them: the recipe,
# the patches, the toolchain and the source versions Debian offers now.
clave=$( { cat "$dir_windows/dependencias.sh" "$dir_windows"/*.patch "$dir_windows/mingw64.cmake"
           for p in allegro4.4 libpng1.6 expat zlib libcsv libxlsxwriter; do
             apt-cache showsrc --only-source "$p" 2>/dev/null | grep '^Version:' | sort -u
           done; } | sha256sum | cut -c1-16)
dependencias=$carpeta/dependencias/$clave
prefijo=$dependencias/bibliotecas
if [ ! -f "$prefijo/lib/pkgconfig/xlsxwriter.pc" ]; then
  find "$carpeta/dependencias" -mindepth 1 -maxdepth 1 ! -name "$clave" -exec rm -rf {} + 2>/dev/null || true
  bash "$dir_windows/dependencias.sh" "$dependencias/fuentes" "$prefijo"
fi

# datas.dat and the Linux programs, from the README's own build.
if [ ! -f "$linux/CMakeCache.txt" ]; then
  cmake -S "$raiz" -B "$linux" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
cmake --build "$linux" -j "$nucleos" --target pasadas pasadas-informe datas_dat >/dev/null

# pkg-config's answers stay in CMake's cache: libraries built anew under
# another key need a new configuration.
obra=$carpeta/obra
if [ "$(cat "$obra/.bibliotecas" 2>/dev/null)" != "$prefijo" ]; then
  rm -rf "$obra"
  mkdir -p "$obra"
  echo "$prefijo" >"$obra/.bibliotecas"
fi
PKG_CONFIG_LIBDIR=$prefijo/lib/pkgconfig PKG_CONFIG_PATH='' \
  cmake -S "$raiz" -B "$obra" -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$dir_windows/mingw64.cmake" -DPASADAS_WINDOWS_PREFIJO="$prefijo" \
        -DPASADAS_DATAS_DAT="$linux/datas.dat" >"$carpeta/configura.registro" 2>&1 \
  || { cat "$carpeta/configura.registro" >&2; exit 1; }
cmake --build "$obra" -j "$nucleos"
cp "$obra/pasadas.exe" "$obra/pasadas-informe.exe" "$obra/pasadas-inicio.exe" "$carpeta/"

version=$(sed -n '1s/^pasadas (\([^)]*\)).*/\1/p' "$raiz/paquete/changelog")
bash "$dir_windows/empaqueta.sh" "$raiz" "$carpeta" "$linux/datas.dat" "$version"

if [ "$probar" -eq 1 ]; then
  bash "$dir_windows/probar_wine.sh" "$raiz" "$carpeta" "$linux" "$version"
fi
