# Alternativas y costos: diseño, costos, reportes (núcleo).
set(VAREK9_NUCLEO_ALTERNATIVAS
  ${CMAKE_CURRENT_LIST_DIR}/Diseno.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Reportes.cpp
)
