#!/usr/bin/env bash
# La cadena de Windows que corre la integración continua tras las pruebas de Linux:
# el Qt estático y las bibliotecas de XLSX (del caché si están), el programa y las
# pruebas con Wine, la comparación byte a byte con Linux y el instalador con su prueba
# silenciosa. Anota cuánto tarda cada etapa.
set -euo pipefail
cd "$(dirname "$0")/../.."
tiempos=()
medir() {
  local nombre="$1" inicio
  shift
  inicio=$(date +%s)
  "$@"
  tiempos+=("$nombre $(( $(date +%s) - inicio )) s")
}
medir paquetes bash herramientas/windows.sh paquetes
medir qt bash herramientas/windows.sh qt
medir bibliotecas bash herramientas/windows.sh bibliotecas
medir programa bash herramientas/windows.sh programa
medir pruebas bash herramientas/windows.sh pruebas
medir comparar bash herramientas/windows.sh comparar
medir instalador bash herramientas/windows.sh instalador
printf '\nTiempos de la cadena de Windows:\n'
printf '  %s\n' "${tiempos[@]}"
