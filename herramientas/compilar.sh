#!/usr/bin/env bash
# Instala lo que falte y compila la versión optimizada (preset release).
set -euo pipefail
cd "$(dirname "$0")/.."
bash herramientas/dependencias.sh cmake ninja-build g++ qt6-base-dev libbenchmark-dev \
  fonts-liberation2 libgl-dev
cmake --preset release >/dev/null
cmake --build --preset release
