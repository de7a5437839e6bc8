#!/usr/bin/env bash
# Instala lo que falte, compila y abre la aplicación con el proyecto de ejemplo.
set -euo pipefail
cd "$(dirname "$0")"
bash herramientas/compilar.sh
exec build/release/src/varek9 ejemplos/Ejemplo.vk9
