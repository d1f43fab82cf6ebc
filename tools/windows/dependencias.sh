#!/usr/bin/env bash
# Builds, for 64-bit Windows, the libraries the programs link: Allegro 4,
# libpng, expat, minizip, libcsv and libxlsxwriter, each from Debian's own
# source package with Debian's patches applied, static, into PREFIJO. zlib
# is Debian's own mingw package (libz-mingw-w64-dev).
#   dependencias.sh FUENTES PREFIJO
# FUENTES keeps what apt-get source fetched, so that a second build fetches
# nothing; tools/windows.sh keeps PREFIJO for as long as this script, the
# patches, the toolchain file and the source versions stay the same.
set -euo pipefail
fuentes=$1
prefijo=$2
aqui=$(cd "$(dirname "$0")" && pwd)
cadena=$aqui/mingw64.cmake
triplete=x86_64-w64-mingw32
cc=$triplete-gcc-posix
ar=$triplete-gcc-ar-posix
zlib_estatica=/usr/$triplete/lib/libz.a
nucleos=$(nproc)
trabajo=$prefijo.obra
rm -rf "$trabajo" "$prefijo"
mkdir -p "$fuentes" "$trabajo" "$prefijo/lib/pkgconfig" "$prefijo/include"

# apt-get source of the package's newest version whose files can all be had,
# patches included; failing that, the newest upstream tarball alone, which
# is said on the terminal and in fuentes/SOLO_ORIGINAL.
descarga() {  # source package
  local p=$1 v intento
  [ -f "$fuentes/$p.listo" ] && return 0
  for v in "" $(apt-cache showsrc --only-source "$p" | awk '/^Version:/ {print $2}' | sort -Vru); do
    intento=$(mktemp -d "$fuentes/.bajada.XXXXXX")
    if (cd "$intento" && apt-get source --download-only "$p${v:+=$v}" >registro 2>&1); then
      mv "$intento"/*.dsc "$intento"/*.tar.* "$fuentes/"
      rm -rf "$intento" "$fuentes/$p.original"
      echo "debian" >"$fuentes/$p.listo"
      return 0
    fi
    if ls "$intento"/*.orig.tar.* >/dev/null 2>&1 && [ ! -f "$fuentes/$p.original" ]; then
      mv "$intento"/*.orig.tar.* "$fuentes/" && ls "$fuentes"/*.orig.tar.* | grep -F "/${p}_" >"$fuentes/$p.original"
    fi
    rm -rf "$intento"
  done
  if [ -f "$fuentes/$p.original" ]; then
    echo "windows: $p: solo se pudo obtener el original de sus autores, sin los parches de Debian" >&2
    echo "$p" >>"$fuentes/SOLO_ORIGINAL"
    echo "original" >"$fuentes/$p.listo"
    return 0
  fi
  echo "windows: no se pudo obtener el paquete fuente $p (bash tools/preparar.sh añade las fuentes de Debian)" >&2
  exit 1
}

desempaqueta() {  # source package, folder
  local p=$1 dir=$2 dsc
  rm -rf "$dir"
  if [ "$(cat "$fuentes/$p.listo")" = debian ]; then
    dsc=$(ls "$fuentes/${p}_"*.dsc | sort -V | tail -1)
    dpkg-source --no-check -x "$dsc" "$dir" >/dev/null
  else
    mkdir -p "$dir"
    tar -xf "$(head -1 "$fuentes/$p.original")" -C "$dir" --strip-components=1
  fi
}

configura_windows() {  # source folder, build folder, options...
  local src=$1 obra=$2; shift 2
  cmake -S "$src" -B "$obra" -DCMAKE_TOOLCHAIN_FILE="$cadena" -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_INSTALL_PREFIX="$prefijo" -DPASADAS_WINDOWS_PREFIJO="$prefijo" "$@" >"$obra.registro" 2>&1 \
    || { tail -30 "$obra.registro" >&2; exit 1; }
}
instala_windows() {  # build folder
  cmake --build "$1" -j "$nucleos" >>"$1.registro" 2>&1 || { tail -30 "$1.registro" >&2; exit 1; }
  cmake --install "$1" >>"$1.registro" 2>&1
}
cmake_windows() {  # source folder, build folder, options...
  configura_windows "$@"
  instala_windows "$2"
}

pc() {  # module, cflags, libs
  printf 'Name: %s\nDescription: %s for Windows\nVersion: 0\nCflags: %s\nLibs: %s\n' \
    "$1" "$1" "$2" "$3" >"$prefijo/lib/pkgconfig/$1.pc"
}

for p in allegro4.4 libpng1.6 expat zlib libcsv libxlsxwriter; do descarga "$p"; done

# zlib beside the others, without its import library: CMake would take
# libz.dll.a over libz.a, and the programs would need zlib1.dll.
cp "$zlib_estatica" "$prefijo/lib/"
cp /usr/$triplete/include/zlib.h /usr/$triplete/include/zconf.h "$prefijo/include/"

echo "windows: Allegro 4"
desempaqueta allegro4.4 "$trabajo/allegro"
patch -d "$trabajo/allegro" -p1 --quiet <"$aqui/allegro-win64.patch"
cmake_windows "$trabajo/allegro" "$trabajo/allegro-obra" -DSHARED=OFF \
  -DWANT_ALLEGROGL=OFF -DWANT_LOADPNG=OFF -DWANT_LOGG=OFF -DWANT_JPGALLEG=OFF \
  -DWANT_EXAMPLES=OFF -DWANT_TOOLS=OFF -DWANT_TESTS=OFF -DWANT_DOCS=OFF
lib_allegro=$(cd "$prefijo/lib" && ls liballeg*.a | head -1)
lib_allegro=${lib_allegro#lib}
pc allegro "-I$prefijo/include -DALLEGRO_STATICLINK" \
  "-L$prefijo/lib -l${lib_allegro%.a} -lkernel32 -luser32 -lgdi32 -lcomdlg32 -lole32 -ldinput -lddraw -ldxguid -lwinmm -ldsound"

echo "windows: libpng, expat, minizip, libcsv"
desempaqueta libpng1.6 "$trabajo/libpng"
cmake_windows "$trabajo/libpng" "$trabajo/libpng-obra" -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF \
  -DPNG_EXECUTABLES=OFF -DZLIB_LIBRARY="$zlib_estatica" -DZLIB_INCLUDE_DIR=/usr/$triplete/include
pc libpng "-I$prefijo/include" "-L$prefijo/lib -lpng16 -lz"

desempaqueta expat "$trabajo/expat"
configura_windows "$trabajo/expat/expat" "$trabajo/expat-obra" -DEXPAT_SHARED_LIBS=OFF \
  -DEXPAT_BUILD_TOOLS=OFF -DEXPAT_BUILD_EXAMPLES=OFF -DEXPAT_BUILD_TESTS=OFF -DEXPAT_BUILD_DOCS=OFF \
  -DEXPAT_BUILD_PKGCONFIG=OFF
# Debian's security fixes test "#if XML_DTD == 1", as its autotools build
# defines it; CMake's configuration header defines it empty.
sed -i -E 's/^#define (XML_DTD|XML_NS|XML_GE)$/#define \1 1/' "$trabajo/expat-obra/expat_config.h"
instala_windows "$trabajo/expat-obra"
lib_expat=$(cd "$prefijo/lib" && ls libexpat*.a | head -1)
lib_expat=${lib_expat#lib}
pc expat "-I$prefijo/include -DXML_STATIC" "-L$prefijo/lib -l${lib_expat%.a}"

# minizip is zlib's contrib/minizip: its few files, as Debian's libminizip builds them.
desempaqueta zlib "$trabajo/zlib"
mkdir -p "$trabajo/minizip-obra" "$prefijo/include/minizip"
(cd "$trabajo/zlib/contrib/minizip" &&
  for f in ioapi unzip zip iowin32; do
    $cc -O2 -I/usr/$triplete/include -c $f.c -o "$trabajo/minizip-obra/$f.o"
  done &&
  $ar rcs "$prefijo/lib/libminizip.a" "$trabajo"/minizip-obra/*.o &&
  cp ioapi.h unzip.h zip.h iowin32.h crypt.h "$prefijo/include/minizip/")
pc minizip "-I$prefijo/include -I$prefijo/include/minizip" "-L$prefijo/lib -lminizip -lz"

desempaqueta libcsv "$trabajo/libcsv"
$cc -O2 -c "$trabajo/libcsv/libcsv.c" -o "$trabajo/libcsv.o"
$ar rcs "$prefijo/lib/libcsv.a" "$trabajo/libcsv.o"
cp "$trabajo/libcsv/csv.h" "$prefijo/include/"

# libxlsxwriter's own CMake looks for zlib.h beside minizip's headers: its
# few files are compiled as its CMake would for mingw, with our minizip.
# Its Windows way to files (UTF-16 names) is not taken: it opens the zip
# through minizip's iowin32, which shares nothing, and the hidden temporary
# the set writer already holds open then cannot be written at all.
echo "windows: libxlsxwriter"
desempaqueta libxlsxwriter "$trabajo/libxlsxwriter"
mkdir -p "$trabajo/libxlsxwriter-obra"
(cd "$trabajo/libxlsxwriter" &&
  for f in src/*.c third_party/md5/md5.c third_party/tmpfileplus/tmpfileplus.c; do
    $cc -O2 -DUSE_SYSTEM_MINIZIP -DUSE_FILE32API -Iinclude -I"$prefijo/include" -I/usr/$triplete/include \
        -c "$f" -o "$trabajo/libxlsxwriter-obra/$(basename "$f" .c).o"
  done &&
  $ar rcs "$prefijo/lib/libxlsxwriter.a" "$trabajo"/libxlsxwriter-obra/*.o &&
  cp -r include/xlsxwriter.h include/xlsxwriter "$prefijo/include/")
pc xlsxwriter "-I$prefijo/include" "-L$prefijo/lib -lxlsxwriter -lminizip -lz"

rm -rf "$trabajo"
echo "windows: bibliotecas listas en $prefijo"
