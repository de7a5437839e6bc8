#!/usr/bin/env bash
# Instala con apt-get los paquetes de Debian que falten. Uso: dependencias.sh PAQUETE...
set -euo pipefail
faltan=()
for paquete in "$@"; do
  if ! dpkg-query -W -f='${Status}' "$paquete" 2>/dev/null | grep -q 'install ok installed'; then
    faltan+=("$paquete")
  fi
done
if [ ${#faltan[@]} -gt 0 ]; then
  echo "Instalando: ${faltan[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${faltan[@]}"
fi
