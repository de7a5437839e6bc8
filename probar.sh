#!/usr/bin/env bash
# Instala lo que falte, compila y corre todas las pruebas.
set -euo pipefail
cd "$(dirname "$0")"
# pdftotext: las pruebas leen el texto de los PDF impresos.
bash herramientas/dependencias.sh poppler-utils
bash herramientas/compilar.sh
ctest --preset release
