#!/usr/bin/env bash
# Instala lo que falte y compila la versión optimizada (preset release).
set -euo pipefail
cd "$(dirname "$0")/.."
# qt6-translations-l10n: los diálogos de Qt en español; dpkg-dev: el paquete de Debian;
# libxlsxwriter-dev y libminizip-dev: escribir y leer libros XLSX.
bash herramientas/dependencias.sh cmake ninja-build g++ qt6-base-dev libbenchmark-dev \
  fonts-liberation2 libgl-dev qt6-translations-l10n dpkg-dev libxlsxwriter-dev libminizip-dev
cmake --preset release >/dev/null
cmake --build --preset release
