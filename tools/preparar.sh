#!/usr/bin/env bash
# Installs, from Debian's packages, everything that building, running and
# testing Pasadas needs. Safe to run again: packages already present are
# skipped, and apt is only asked for what is missing.
set -euo pipefail

paquetes=(
  build-essential g++ cmake pkg-config
  liballegro4-dev allegro4-doc libx11-dev
  libcsv-dev  # splits spreadsheet tables into cells
  libfreetype-dev fonts-dejavu-core libloadpng4-dev
  xvfb xauth xdotool x11-apps x11-utils  # xvfb-run stops without xauth, which xvfb only recommends
  libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-14-dev
  netpbm  # pnmtopng for the README's screenshots (tools/capturas.sh)
  dpkg-dev file lintian  # the Debian package: dpkg-shlibdeps and file find its dependencies, lintian checks it
  libreoffice-calc-nogui  # the season's summary tables opened as a Spanish spreadsheet opens them (a test)
)

faltan=()
for p in "${paquetes[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || faltan+=("$p")
done

if [ "${#faltan[@]}" -eq 0 ]; then
  echo "preparar: todo instalado"
  exit 0
fi

sudo_si_hace_falta() { if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi; }
export DEBIAN_FRONTEND=noninteractive
sudo_si_hace_falta apt-get update
sudo_si_hace_falta apt-get install -y --no-install-recommends -o DPkg::Lock::Timeout=600 "${faltan[@]}"
