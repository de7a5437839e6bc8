# Aplicación y proyecto: las fuentes del núcleo y las de las ventanas.
set(VAREK9_NUCLEO_APP
  ${CMAKE_CURRENT_LIST_DIR}/ModuloVarek9.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Solucionador.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ArchivoProyecto.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CopiaLibrerias.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Programas.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SesionProyecto.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Arranque.cpp
)
set(VAREK9_GUI_APP
  ${CMAKE_CURRENT_LIST_DIR}/frmVarek9.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Plataforma.cpp
  ${CMAKE_CURRENT_LIST_DIR}/frmProyecto.cpp
  ${CMAKE_CURRENT_LIST_DIR}/frmAbout.cpp
  ${CMAKE_CURRENT_LIST_DIR}/frmProgramas.cpp
)
