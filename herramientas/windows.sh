#!/usr/bin/env bash
# Versión para Windows, compilada aquí con mingw-w64 y probada con Wine.
# Uso: windows.sh [paquetes|qt|bibliotecas|programa|pruebas|comparar|instalador|todo]...  (por omisión, todo)
# El Qt estático queda en un caché (VAREK9_CACHE, si no ~/.cache/varek9/windows) según su
# versión, sus opciones y sus parches, y se reutiliza mientras no cambien.
set -euo pipefail
shopt -s nullglob
raiz="$(cd "$(dirname "$0")/.." && pwd)"
cd "$raiz"
cache="${VAREK9_CACHE:-$HOME/.cache/varek9/windows}"
salida="$raiz/build/windows"
mingw=x86_64-w64-mingw32
trabajos="${VAREK9_TRABAJOS:-2}"

etapa() { printf '\n== %s (%s)\n' "$1" "$(date -u +%H:%M:%S)"; }

paquetes() {
  etapa "paquetes"
  # Las fuentes de qtbase vienen del paquete de fuentes de Debian: hace falta una línea deb-src.
  if ! grep -rqs '^Types:.*deb-src\|^deb-src' /etc/apt/sources.list /etc/apt/sources.list.d/; then
    cat > /etc/apt/sources.list.d/varek9-fuentes.sources <<'FIN'
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm bookworm-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
FIN
    apt-get update -qq
  fi
  # libwine-dev: las cabeceras de wintab que el tarball de Debian no trae.
  bash herramientas/dependencias.sh g++-mingw-w64-x86-64-posix mingw-w64-tools wine64 wine \
    libwine-dev nsis xvfb xauth zip dpkg-dev cmake ninja-build g++ qt6-base-dev \
    qt6-base-dev-tools qt6-translations-l10n fonts-liberation2 perl python3
}

# Opciones de configure del Qt estático; entran en la clave del caché.
opciones_qt=(-release -static -static-runtime -xplatform win32-g++ -qt-host-path /usr
  -nomake tests -nomake examples -no-opengl -no-dbus -no-icu -no-feature-vulkan
  -no-feature-sql -no-feature-network -no-feature-concurrent -no-feature-xml -no-feature-jpeg
  -qt-zlib -qt-libpng -qt-pcre -qt-harfbuzz -qt-freetype)

# Sin la época ("1:"): los dos puntos separan carpetas en PKG_CONFIG_LIBDIR.
version_fuente() { apt-cache showsrc "$1" | awk '/^Version:/ { sub(/^[0-9]+:/, "", $2); print $2; exit }'; }
version_qtbase() { version_fuente qt6-base; }

carpeta_qt() {
  local version huella
  version="$(version_qtbase)"
  huella="$( { printf '%s\n' "${opciones_qt[@]}"; "$mingw-g++-posix" --version | head -1
    cat herramientas/windows/parches/*.patch herramientas/windows/wintab.h; } | sha256sum | cut -c1-12)"
  echo "$cache/qtbase-$version-$huella"
}

qt() {
  etapa "qt"
  local destino
  destino="$(carpeta_qt)"
  if [ -f "$destino/.completo" ]; then
    echo "Qt estático en el caché: $destino"
    return
  fi
  rm -rf "$destino"
  mkdir -p "$destino"
  local trabajo="$destino/trabajo"
  mkdir -p "$trabajo"
  (cd "$trabajo" && apt-get source -qq --download-only qt6-base >/dev/null &&
    dpkg-source -x ./*.dsc fuente >/dev/null)
  local fuente="$trabajo/fuente"
  for p in herramientas/windows/parches/*.patch; do
    echo "Parche: $(head -1 "$p")"
    patch -d "$fuente" -p1 -s < "$p"
  done
  # wintab.h de Wine, envuelto para las ventanas de Qt.
  mkdir -p "$fuente/src/3rdparty/wintab"
  cp herramientas/windows/wintab.h "$fuente/src/3rdparty/wintab/wintab.h"
  cp /usr/include/wine/wine/windows/wintab.h "$fuente/src/3rdparty/wintab/wintab_wine.h"
  cp /usr/include/wine/wine/windows/pktdef.h "$fuente/src/3rdparty/wintab/pktdef.h"
  mkdir -p "$trabajo/compilacion"
  (cd "$trabajo/compilacion" &&
    "$fuente/configure" -prefix "$destino" "${opciones_qt[@]}" -- -G Ninja \
      -DCMAKE_TOOLCHAIN_FILE="$raiz/cmake/mingw-w64-x86_64.cmake" \
      -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake > "$destino/configure.log" 2>&1 ||
      { tail -40 "$destino/configure.log"; exit 1; }
    cmake --build . --parallel "$trabajos" > "$destino/compilacion.log" 2>&1 ||
      { tail -40 "$destino/compilacion.log"; exit 1; }
    cmake --install . > "$destino/instalacion.log" 2>&1)
  rm -rf "$trabajo"
  touch "$destino/.completo"
  echo "Qt estático listo: $destino"
}

# zlib, minizip (la de zlib, con unzip) y libxlsxwriter, estáticas, de los paquetes de
# fuentes de Debian: escribir y leer libros XLSX también en Windows. Cada una deja su .pc.

carpeta_bibliotecas() {
  local huella
  huella="$( { declare -f bibliotecas escribir_pc; "$mingw-gcc-posix" --version | head -1
    cat cmake/mingw-w64-x86_64.cmake; } | sha256sum | cut -c1-12)"
  echo "$cache/bibliotecas-zlib-$(version_fuente zlib)-xlsxwriter-$(version_fuente libxlsxwriter)-$huella"
}

# El .pc de una biblioteca estática del caché: nombre, versión, la que requiere y -l.
escribir_pc() {
  {
    printf 'prefix=%s\nName: %s\nDescription: %s\nVersion: %s\n' "$destino" "$1" "$1" "$2"
    [ -z "$3" ] || printf 'Requires: %s\n' "$3"
    printf 'Libs: -L${prefix}/lib -l%s\nCflags: -I${prefix}/include\n' "$4"
  } > "$destino/lib/pkgconfig/$1.pc"
}

bibliotecas() {
  etapa "bibliotecas"
  local destino
  destino="$(carpeta_bibliotecas)"
  if [ -f "$destino/.completo" ]; then
    echo "Bibliotecas en el caché: $destino"
    return
  fi
  rm -rf "$destino"
  mkdir -p "$destino/include/minizip" "$destino/lib/pkgconfig"
  local trabajo="$destino/trabajo" cc="$mingw-gcc-posix" ar="$mingw-gcc-ar-posix"
  mkdir -p "$trabajo"
  (cd "$trabajo" && apt-get source -qq --download-only zlib libxlsxwriter >/dev/null 2>&1 &&
    dpkg-source -x zlib_*.dsc zlib >/dev/null && dpkg-source -x libxlsxwriter_*.dsc xlsx >/dev/null)
  local z="$trabajo/zlib" o="$trabajo/objetos"
  mkdir -p "$o/z" "$o/minizip"
  for c in adler32 compress crc32 deflate gzclose gzlib gzread gzwrite infback inffast inflate \
    inftrees trees uncompr zutil; do
    "$cc" -O2 -c "$z/$c.c" -o "$o/z/$c.o"
  done
  "$ar" rcs "$destino/lib/libz.a" "$o"/z/*.o
  cp "$z/zlib.h" "$z/zconf.h" "$destino/include/"
  for c in ioapi unzip zip iowin32; do
    "$cc" -O2 -I"$z" -c "$z/contrib/minizip/$c.c" -o "$o/minizip/$c.o"
  done
  "$ar" rcs "$destino/lib/libminizip.a" "$o"/minizip/*.o
  cp "$z"/contrib/minizip/{ioapi,unzip,zip,iowin32,crypt}.h "$destino/include/minizip/"
  VAREK9_BIBLIOTECAS_WINDOWS="$destino" cmake -S "$trabajo/xlsx" -B "$trabajo/xlsx-compilacion" \
    -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE="$raiz/cmake/mingw-w64-x86_64.cmake" \
    -DCMAKE_INSTALL_PREFIX="$destino" -DBUILD_SHARED_LIBS=OFF -DUSE_SYSTEM_MINIZIP=ON \
    -DZLIB_ROOT="$destino" -DMINIZIP_ROOT="$destino" > "$destino/xlsxwriter.log" 2>&1 ||
    { tail -30 "$destino/xlsxwriter.log"; exit 1; }
  cmake --build "$trabajo/xlsx-compilacion" --parallel "$trabajos" >> "$destino/xlsxwriter.log" 2>&1 &&
    cmake --install "$trabajo/xlsx-compilacion" >> "$destino/xlsxwriter.log" 2>&1 ||
    { tail -30 "$destino/xlsxwriter.log"; exit 1; }
  rm -f "$destino"/lib/pkgconfig/*.pc
  local vz vx
  vz="$(version_fuente zlib)" vx="$(version_fuente libxlsxwriter)"
  escribir_pc zlib "$vz" "" z
  escribir_pc minizip "$vz" zlib minizip
  escribir_pc xlsxwriter "$vx" minizip xlsxwriter
  rm -rf "$trabajo"
  touch "$destino/.completo"
  echo "Bibliotecas listas: $destino"
}

# Wine en su propio prefijo, dentro de la compilación: cada corrida parte igual.
export WINEPREFIX="$salida/wine" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
preparar_wine() {
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    mkdir -p "$WINEPREFIX"
    wineboot -i >/dev/null 2>&1 || true
    wineserver -w
  fi
}

programa() {
  etapa "programa"
  VAREK9_QT_WINDOWS="$(carpeta_qt)"
  export VAREK9_QT_WINDOWS
  [ -f "$VAREK9_QT_WINDOWS/.completo" ] || { echo "Falta el Qt estático: windows.sh qt" >&2; exit 1; }
  VAREK9_BIBLIOTECAS_WINDOWS="$(carpeta_bibliotecas)"
  export VAREK9_BIBLIOTECAS_WINDOWS
  [ -f "$VAREK9_BIBLIOTECAS_WINDOWS/.completo" ] ||
    { echo "Faltan las bibliotecas: windows.sh bibliotecas" >&2; exit 1; }
  cmake --preset windows >/dev/null
  cmake --build --preset windows
}

pruebas() {
  etapa "pruebas"
  preparar_wine
  # Las pruebas de ventanas corren fuera de pantalla; Wine quiere igual un servidor X.
  # El servidor de Wine y sus servicios se arrancan antes, sin la salida de ctest: si
  # los arrancara la primera prueba, heredarían su tubería y ctest esperaría por ellos.
  xvfb-run -a bash -c 'wineserver -p </dev/null >/dev/null 2>&1
    wine cmd /c exit </dev/null >/dev/null 2>&1 || true
    ctest --preset windows "$@"; r=$?
    wineserver -k || true
    exit $r' pruebas "$@"
}

etapas=("$@")
[ ${#etapas[@]} -gt 0 ] || etapas=(todo)
for e in "${etapas[@]}"; do
  case "$e" in
    paquetes) paquetes ;;
    qt) paquetes; qt ;;
    bibliotecas) paquetes; bibliotecas ;;
    programa) programa ;;
    pruebas) pruebas ;;
    comparar) preparar_wine; bash herramientas/windows/comparar.sh ;;
    instalador) preparar_wine; bash herramientas/windows/instalador.sh ;;
    todo)
      paquetes; qt; bibliotecas; programa; pruebas
      preparar_wine
      bash herramientas/windows/comparar.sh
      bash herramientas/windows/instalador.sh
      ;;
    *) echo "Etapa desconocida: $e" >&2; exit 2 ;;
  esac
done
