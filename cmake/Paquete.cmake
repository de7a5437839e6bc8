# Paquete de Debian con CPack: `cpack -G DEB` en la carpeta de compilación deja
# varek9_VERSIÓN_ARQUITECTURA.deb con lo que instala `cmake --install`.
set(CPACK_PACKAGE_NAME varek9)
set(CPACK_PACKAGE_VENDOR "Varek-9")
set(CPACK_PACKAGE_CONTACT "Varek-9 <varek9@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "Diseño de pavimentos asfálticos para vías con bajos volúmenes de tránsito")
set(CPACK_PACKAGE_DESCRIPTION "Diseña la estructura de pavimentos asfálticos con el método \
AASHTO-93 para pavimentos flexibles: unidades de diseño, seis estructuras alternativas, costos y \
reportes.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_NAME varek9)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Lo que no sale de las bibliotecas enlazadas: los diálogos de Qt en español y la
# letra de los reportes.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-translations-l10n, fonts-liberation2")
include(CPack)
