# Impresión: formato de línea, configuración, prepaso, puerto de texto y nombres
# de salida (núcleo); impresora, diálogo y visor (ventanas).
set(VAREK9_NUCLEO_IMPRESION
  ${CMAKE_CURRENT_LIST_DIR}/CodigoFormato.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ConfiguracionImpresion.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Paginacion.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SalidaSegura.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TrabajoImpresion.cpp
)
set(VAREK9_GUI_IMPRESION
  ${CMAKE_CURRENT_LIST_DIR}/ImpresoraQt.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Imprime.cpp
  ${CMAKE_CURRENT_LIST_DIR}/frmVisor.cpp
)
