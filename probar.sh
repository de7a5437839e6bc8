#!/usr/bin/env bash
# Instala lo que falte, compila la versión optimizada y corre todas las pruebas.
set -euo pipefail
cd "$(dirname "$0")"
bash herramientas/dependencias.sh cmake ninja-build g++ qt6-base-dev libbenchmark-dev \
  fonts-liberation2 libgl-dev
cmake --preset release >/dev/null
cmake --build --preset release
ctest --preset release
