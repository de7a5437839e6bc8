# Impresión: formato de línea de los reportes (núcleo).
set(VAREK9_NUCLEO_IMPRESION
  ${CMAKE_CURRENT_LIST_DIR}/CodigoFormato.cpp
)
