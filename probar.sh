#!/usr/bin/env bash
# Instala lo que falte, compila y corre todas las pruebas.
set -euo pipefail
cd "$(dirname "$0")"
bash herramientas/compilar.sh
ctest --preset release
