# Alternativas y costos: diseño, costos, reportes y geometría del dibujo (núcleo);
# ventana de alternativas y costos unitarios (ventanas).
set(VAREK9_NUCLEO_ALTERNATIVAS
  ${CMAKE_CURRENT_LIST_DIR}/Diseno.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Reportes.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Cantidades.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Verificacion.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Sensibilidad.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DibujoEspesores.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DiagramaLineal.cpp
  ${CMAKE_CURRENT_LIST_DIR}/HojaResultados.cpp
)
set(VAREK9_GUI_ALTERNATIVAS
  ${CMAKE_CURRENT_LIST_DIR}/frmAlternativas.cpp
  ${CMAKE_CURRENT_LIST_DIR}/frmCostosUnitarios.cpp
  ${CMAKE_CURRENT_LIST_DIR}/PintarDiagrama.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DispositivoSvg.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Memoria.cpp
  ${CMAKE_CURRENT_LIST_DIR}/frmDiagrama.cpp
  ${CMAKE_CURRENT_LIST_DIR}/PintarSensibilidad.cpp
  ${CMAKE_CURRENT_LIST_DIR}/frmSensibilidad.cpp
)
