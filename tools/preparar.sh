#!/usr/bin/env bash
# Installs, from Debian's packages, everything that building, running and
# testing Pasadas needs, and makes the Spanish locale of the program's users
# available. Safe to run again: packages already present are skipped, apt is
# only asked for what is missing, and a locale already made is not made again.
set -euo pipefail

sudo_si_hace_falta() { if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi; }

paquetes=(
  build-essential g++ cmake pkg-config
  liballegro4-dev allegro4-doc libx11-dev
  libcsv-dev  # splits spreadsheet tables into cells
  libfreetype-dev fonts-dejavu-core libloadpng4-dev  # loadpng: the desktop icons, at build time
  libpng-dev  # the programs' PNG images
  libminizip-dev libexpat1-dev  # workbooks read: the zip container and its XML
  libxlsxwriter-dev  # the season's summary workbook
  xvfb xauth xdotool x11-apps x11-utils  # xvfb-run stops without xauth, which xvfb only recommends
  libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-14-dev
  libtsan2  # g++'s ThreadSanitizer, for the season's threads
  strace  # a test counts how often a season opens a data file
  netpbm  # pnmtopng for the screenshots of the README and the guide (tools/capturas.sh)
  python3-markdown  # the user's guide and the methods page as HTML, for the package
  dpkg-dev file lintian  # the Debian package: dpkg-shlibdeps and file find its dependencies, lintian checks it
  libreoffice-calc-nogui  # the season's summary tables opened as a Spanish spreadsheet opens them (a test)
  locales  # es_ES.UTF-8, the desktop the window's tests run it on
  chromium chromium-driver python3-selenium  # the season's HTML page opened, measured and printed in a real browser
  poppler-utils python3-html5lib  # the printed page's PDF counted, the page parsed as HTML5
  # Windows: the programs cross-built (tools/windows.sh), their libraries built
  # from Debian's sources, the installer, and the tests under Wine
  g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix libz-mingw-w64-dev
  wine wine64 nsis zip unzip
)

# The locale every user of the program has; the tests run the window in it.
LOCALE_USUARIOS="es_ES.UTF-8"

# tools/windows.sh builds the Windows programs' libraries from Debian's own
# source packages: apt-get source needs a deb-src line for each deb line. A
# file of our own, made from the system's, so that the system's is never edited.
FUENTES_DEBIAN=/etc/apt/sources.list.d/debian.sources
FUENTES_PASADAS=/etc/apt/sources.list.d/pasadas-fuentes.sources
fuentes_nuevas=0
if [ -f "$FUENTES_DEBIAN" ] && [ ! -f "$FUENTES_PASADAS" ]; then
  sed 's/^Types: *deb$/Types: deb-src/' "$FUENTES_DEBIAN" | sudo_si_hace_falta tee "$FUENTES_PASADAS" >/dev/null
  fuentes_nuevas=1
fi

faltan=()
for p in "${paquetes[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || faltan+=("$p")
done

if [ "${#faltan[@]}" -gt 0 ] || [ "$fuentes_nuevas" -eq 1 ]; then
  export DEBIAN_FRONTEND=noninteractive
  sudo_si_hace_falta apt-get update -o DPkg::Lock::Timeout=600
fi
if [ "${#faltan[@]}" -gt 0 ]; then
  sudo_si_hace_falta apt-get install -y --no-install-recommends -o DPkg::Lock::Timeout=600 "${faltan[@]}"
fi

# locale -a names it "es_ES.utf8". Listed in /etc/locale.gen, so that the
# locales package's own upgrades make it again.
if ! locale -a | grep -ix "${LOCALE_USUARIOS/UTF-8/utf8}" >/dev/null; then  # not -q: it would cut the list
  linea="$LOCALE_USUARIOS UTF-8"
  if grep -qx "# *$linea" /etc/locale.gen; then
    sudo_si_hace_falta sed -i "s/^# *$linea\$/$linea/" /etc/locale.gen
  elif ! grep -qx "$linea" /etc/locale.gen; then
    echo "$linea" | sudo_si_hace_falta tee -a /etc/locale.gen >/dev/null
  fi
  sudo_si_hace_falta locale-gen
fi
echo "preparar: todo instalado"
