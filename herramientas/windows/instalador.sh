#!/usr/bin/env bash
# Instalador NSIS y .zip portátil de la versión para Windows (build/windows), y su
# prueba con Wine: instalación silenciosa, el diseño del ejemplo con la orden
# instalada, desinstalación silenciosa que deja los proyectos del usuario.
set -euo pipefail
raiz="$(cd "$(dirname "$0")/../.." && pwd)"
cd "$raiz"
salida="$raiz/build/windows"
mingw=x86_64-w64-mingw32
version=$(sed -n 's/^project(Varek9 VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
export WINEPREFIX="${WINEPREFIX:-$salida/wine}" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="

# La carpeta del programa tal como queda instalada.
carpeta="$salida/paquete/Varek-9"
rm -rf "$salida/paquete"
mkdir -p "$carpeta/translations" "$carpeta/ejemplos"
for exe in src/varek9.exe src/varek9-cli.exe src/Clima.exe src/Transito.exe src/Mr.exe \
  src/Drenaje.exe; do
  "$mingw-strip" -o "$carpeta/$(basename "$exe")" "$salida/$exe"
done
cp "$salida/varek9.ico" "$carpeta/"
# Qt estático busca sus traducciones junto al programa.
printf '[Paths]\r\nPrefix = .\r\nTranslations = translations\r\n' > "$carpeta/qt.conf"
cp /usr/share/qt6/translations/qtbase_es.qm "$carpeta/translations/"
cp ejemplos/Ejemplo.vk9 "$carpeta/ejemplos/"
sed 's/$/\r/' COPYING > "$carpeta/COPYING.txt"

instalador="$salida/Varek9-$version-instalador.exe"
makensis -V2 -INPUTCHARSET UTF8 -DVERSION="$version" -DORIGEN="$carpeta" \
  -DSALIDA="$instalador" herramientas/windows/instalador.nsi
portatil="$salida/Varek9-$version-portatil.zip"
rm -f "$portatil"
(cd "$salida/paquete" && zip -q -r -X "$portatil" Varek-9)
ls -l "$instalador" "$portatil"

# Prueba con Wine: para todos los usuarios, en Archivos de programa.
wine "$instalador" /S /AllUsers
wineserver -w
programas="$(winepath -u 'C:\Program Files')"
instalado="$programas/Varek-9"
for f in varek9.exe varek9-cli.exe Clima.exe Transito.exe Mr.exe Drenaje.exe qt.conf \
  translations/qtbase_es.qm ejemplos/Ejemplo.vk9 COPYING.txt Desinstalar.exe; do
  [ -f "$instalado/$f" ] || { echo "El instalador no puso $f" >&2; exit 1; }
done
menu="$(winepath -u 'C:\ProgramData\Microsoft\Windows\Start Menu\Programs')/Varek-9"
[ "$(ls "$menu"/*.lnk | wc -l)" -eq 7 ] || { echo "Faltan accesos del menú Inicio" >&2; exit 1; }
wine reg query 'HKLM\Software\Classes\Varek9.Proyecto\shell\open' | grep -q 'Abrir con Varek-9' ||
  { echo "Falta el tipo de archivo .vk9" >&2; exit 1; }
total=$(wine "$instalado/varek9-cli.exe" diseno 'C:\Program Files\Varek-9\ejemplos\Ejemplo.vk9' |
  grep '^TOTAL')
echo "$total"
echo "$total" | grep -q $'^TOTAL\t7630994350\t' ||
  { echo "La orden instalada no da el TOTAL del ejemplo." >&2; exit 1; }

# Un proyecto del usuario en la carpeta del ejemplo queda tras desinstalar.
cp ejemplos/Ejemplo.vk9 "$instalado/ejemplos/Mio.vk9"
wine "$instalado/Desinstalar.exe" /S /AllUsers
wineserver -w
sleep 2
for f in varek9.exe varek9-cli.exe ejemplos/Ejemplo.vk9 Desinstalar.exe; do
  [ ! -e "$instalado/$f" ] || { echo "El desinstalador dejó $f" >&2; exit 1; }
done
[ -f "$instalado/ejemplos/Mio.vk9" ] || { echo "El desinstalador borró un proyecto" >&2; exit 1; }
[ ! -e "$menu" ] || { echo "El desinstalador dejó el menú Inicio" >&2; exit 1; }
if wine reg query 'HKLM\Software\Classes\Varek9.Proyecto' >/dev/null 2>&1; then
  echo "El desinstalador dejó el tipo de archivo" >&2
  exit 1
fi
rm -rf "$instalado"
echo "Instalador probado: instala, diseña el ejemplo y desinstala."
