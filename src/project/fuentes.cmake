# Proyecto: modelo, solucionador, archivo del proyecto y su sesión abierta.
set(VAREK9_NUCLEO_PROYECTO
  ${CMAKE_CURRENT_LIST_DIR}/ModuloVarek9.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Solucionador.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ArchivoProyecto.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SesionProyecto.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CambioProyecto.cpp
)
