# Biblioteca de utilidades (sin ventanas): todo va al núcleo.
set(VAREK9_NUCLEO_COMMON
  ${CMAKE_CURRENT_LIST_DIR}/Texto.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Numeros.cpp
  ${CMAKE_CURRENT_LIST_DIR}/EntradaDatos.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ModuloLibzrl.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Formato.cpp
  ${CMAKE_CURRENT_LIST_DIR}/BloqueoArchivo.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ErrorSistema.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ArchivoEnUso.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TraduccionQt.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CarpetasSesion.cpp
)

# Rutinas de la biblioteca que actúan sobre ventanas.
set(VAREK9_GUI_COMMON
  ${CMAKE_CURRENT_LIST_DIR}/Plataforma.cpp
  ${CMAKE_CURRENT_LIST_DIR}/VentanasLibzrl.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Grilla.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Ocupado.cpp
)
