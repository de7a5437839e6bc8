# Aplicación: la ventana principal y lo que prepara el arranque.
set(VAREK9_NUCLEO_APP
  ${CMAKE_CURRENT_LIST_DIR}/CopiaLibrerias.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Arranque.cpp
)
set(VAREK9_GUI_APP
  ${CMAKE_CURRENT_LIST_DIR}/frmVarek9.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Plataforma.cpp
  ${CMAKE_CURRENT_LIST_DIR}/frmProyecto.cpp
  ${CMAKE_CURRENT_LIST_DIR}/frmAbout.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Historial.cpp
)
