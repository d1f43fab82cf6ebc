#!/usr/bin/env bash
# Installs what is missing, builds Pasadas and starts it in the working
# folder ./trabajo, which holds datas.dat and the sample data files.
set -euo pipefail
raiz=$(cd "$(dirname "$0")/.." && pwd)
cd "$raiz"
bash tools/preparar.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$(nproc)" --target pasadas
mkdir -p trabajo
cp data/*.txt trabajo/ 2>/dev/null || true
cp build/datas.dat trabajo/
cd trabajo
exec ../build/pasadas
