#!/usr/bin/env bash
# Compara byte a byte lo que escribe varek9-cli en Linux (build/release) con lo que
# escribe varek9-cli.exe con Wine (build/windows): diseños, reportes 1 a 4, sus
# copias de texto y sus colas del puerto DOS, del ejemplo y de un proyecto de 1000
# unidades armado aquí. Sale con 1 si algún archivo difiere.
set -euo pipefail
raiz="$(cd "$(dirname "$0")/../.." && pwd)"
cd "$raiz"
export WINEPREFIX="${WINEPREFIX:-$raiz/build/windows/wine}" WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
linux="$raiz/build/release/src/varek9-cli"
windows="$raiz/build/windows/src/varek9-cli.exe"
if [ ! -x "$linux" ]; then
  cmake --preset release >/dev/null
  cmake --build --preset release --target varek9-cli
fi
[ -f "$windows" ] || { echo "Falta $windows: windows.sh programa" >&2; exit 1; }

trabajo="$(mktemp -d)"
trap 'rm -rf "$trabajo"' EXIT
mkdir -p "$trabajo/linux" "$trabajo/windows"

# Mil unidades: las 14 del ejemplo y 986 más, copias de ellas con otro código y
# otras abscisas, pegadas con la orden importar.
cp ejemplos/Ejemplo.vk9 "$trabajo/Ejemplo.vk9"
"$linux" exportar "$trabajo/Ejemplo.vk9" --separador punto > "$trabajo/tabla.txt"
awk -F '\t' 'BEGIN { OFS = "\t" }
  NF >= 15 { filas[++n] = $0 }
  END {
    for (k = 1; k <= 986; k++) {
      split(filas[(k - 1) % n + 1], c, "\t")
      c[1] = sprintf("M-%04d", k)
      c[5] = sprintf("%d", 100000 + 250 * (k - 1))
      c[6] = sprintf("%d", 100000 + 250 * k)
      linea = c[1]
      for (j = 2; j <= 15; j++) linea = linea OFS c[j]
      printf "%s\r\n", linea
    }
  }' "$trabajo/tabla.txt" > "$trabajo/mil.txt"
"$linux" importar "$trabajo/Ejemplo.vk9" "$trabajo/mil.txt" "$trabajo/Mil.vk9" --separador punto \
  > /dev/null
unidades=$("$linux" diseno "$trabajo/Mil.vk9" | grep -vc '^TOTAL')
[ "$unidades" -eq 1000 ] || { echo "El proyecto grande tiene $unidades unidades" >&2; exit 1; }

# Las mismas órdenes en cada sistema, cada uno en su carpeta y con nombres relativos.
correr() {
  local sistema="$1" cli
  shift
  if [ "$sistema" = linux ]; then cli=("$linux"); else cli=(wine "$windows"); fi
  (cd "$trabajo/$sistema" && "${cli[@]}" "$@")
}
fecha="07/12/2026 10:30:00"
for sistema in linux windows; do
  for proyecto in Ejemplo Mil; do
    cp "$trabajo/$proyecto.vk9" "$trabajo/$sistema/$proyecto.vk9"
    correr "$sistema" diseno "$proyecto.vk9" > "$trabajo/$sistema/$proyecto-diseno.txt"
    for n in 1 2 3 4; do
      reporte="$proyecto-reporte$n.txt"
      correr "$sistema" reporte "$n" "$proyecto.vk9" --salida "$reporte" > /dev/null
      copia=$(correr "$sistema" texto "$reporte" | tr -d '\r')
      mv "$trabajo/$sistema/$copia" "$trabajo/$sistema/$proyecto-copia$n.txt"
      correr "$sistema" dos "$reporte" --fecha "$fecha" --salida "$proyecto-dos$n.prn" > /dev/null
    done
  done
done

iguales=0
distintos=0
for archivo in "$trabajo"/linux/*; do
  nombre="$(basename "$archivo")"
  otro="$trabajo/windows/$nombre"
  # Windows escribe en minúsculas el nombre de la copia de texto que arma para imprimir.
  [ -e "$otro" ] || otro="$trabajo/windows/${nombre,,}"
  if cmp -s "$archivo" "$otro"; then
    iguales=$((iguales + 1))
  else
    echo "Difiere: $nombre" >&2
    cmp "$archivo" "$otro" >&2 || true
    distintos=$((distintos + 1))
  fi
done
echo "Linux y Windows: $iguales archivos iguales byte a byte, $distintos distintos."
[ "$distintos" -eq 0 ]
