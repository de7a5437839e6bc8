# Compilación cruzada para Windows de 64 bits con mingw-w64 (hilos POSIX, GCC 12 de Debian).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(VAREK9_MINGW x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${VAREK9_MINGW}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VAREK9_MINGW}-g++-posix)
set(CMAKE_RC_COMPILER ${VAREK9_MINGW}-windres)
set(CMAKE_AR ${VAREK9_MINGW}-gcc-ar-posix)
set(CMAKE_RANLIB ${VAREK9_MINGW}-gcc-ranlib-posix)

# Bibliotecas y paquetes solo del sistema de destino (y del Qt estático que se indique);
# los programas de apoyo (moc, rcc) salen del Qt del anfitrión.
set(CMAKE_FIND_ROOT_PATH /usr/${VAREK9_MINGW})
foreach(raiz IN ITEMS "$ENV{VAREK9_QT_WINDOWS}" "$ENV{VAREK9_BIBLIOTECAS_WINDOWS}")
  if(raiz)
    list(APPEND CMAKE_FIND_ROOT_PATH "${raiz}")
  endif()
endforeach()
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
