#!/usr/bin/env bash
# Installs, from Debian's packages, everything that building, running and
# testing Pasadas needs, and makes the Spanish locale of the program's users
# available. Safe to run again: packages already present are skipped, apt is
# only asked for what is missing, and a locale already made is not made again.
set -euo pipefail

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
)

# The locale every user of the program has; the tests run the window in it.
LOCALE_USUARIOS="es_ES.UTF-8"

faltan=()
for p in "${paquetes[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || faltan+=("$p")
done

sudo_si_hace_falta() { if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi; }

if [ "${#faltan[@]}" -gt 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  sudo_si_hace_falta apt-get update
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
