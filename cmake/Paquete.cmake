# Paquete de Debian con CPack: `cpack -G DEB` en la carpeta de compilación deja
# varek9_VERSIÓN-1_ARQUITECTURA.deb con lo que instala `cmake --install`.
set(CPACK_PACKAGE_NAME varek9)
set(CPACK_PACKAGE_VENDOR "Proyecto Varek-9")
set(CPACK_PACKAGE_CONTACT "Proyecto Varek-9 <desarrollo@varek9.co>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "asphalt pavement design for low-volume roads")
# La descripción larga de Debian (CPack pone el resumen delante y sangra cada
# línea): líneas de menos de 80 caracteres.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Varek-9 designs asphalt pavement structures for low-volume roads with the
AASHTO-93 flexible pavement method. For each homogeneous design unit (traffic,
climate, subgrade CBR and existing gravel) it computes the required structural
number and six alternative layer structures with their thicknesses and costs,
checks every structure layer by layer, and writes fixed-width reports shown on
screen, printed or saved as PDF, with quantities, sensitivity curves and a
longitudinal diagram of the road.

The program and its command-line tool varek9-cli speak Spanish.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_NAME varek9)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://varek9.co/")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Lo que no sale de las bibliotecas enlazadas: los diálogos de Qt en español y la
# letra de los reportes.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-translations-l10n, fonts-liberation2")
# Abrir documentos con el escritorio; imprimir en un puerto con lp.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "cups-client")
include(CPack)
