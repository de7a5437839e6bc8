# Unidades de diseño: la revisión sobre una tabla de textos va al núcleo; la
# ventana y sus editores, a la interfaz.
set(VAREK9_NUCLEO_UNIDADES
  ${CMAKE_CURRENT_LIST_DIR}/RevisionUH.cpp
  ${CMAKE_CURRENT_LIST_DIR}/PortapapelesGrilla.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ImportarUH.cpp
)
set(VAREK9_GUI_UNIDADES
  ${CMAKE_CURRENT_LIST_DIR}/frmUnidadesHomogeneas.cpp
  ${CMAKE_CURRENT_LIST_DIR}/frmImportarUH.cpp
)
