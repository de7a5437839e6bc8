# El lanzador de los programas complementarios (los programas mismos están en
# CMakeLists.txt de esta carpeta).
set(VAREK9_NUCLEO_COMPANEROS
  ${CMAKE_CURRENT_LIST_DIR}/Programas.cpp
)
set(VAREK9_GUI_COMPANEROS
  ${CMAKE_CURRENT_LIST_DIR}/frmProgramas.cpp
)
