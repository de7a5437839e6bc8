/* Envoltura: la cabecera de wintab de Wine (libwine-dev) espera windows.h y las macros
   de nombres A/W de Wine, y las ventanas de Qt llaman API a la convención de llamada. */
#ifndef VAREK9_WINTAB_H
#define VAREK9_WINTAB_H
#include <windows.h>
#ifndef API
#define API WINAPI
#endif
#ifdef UNICODE
#define WINELIB_NAME_AW(nombre) nombre##W
#else
#define WINELIB_NAME_AW(nombre) nombre##A
#endif
#define DECL_WINELIB_TYPE_AW(tipo) typedef WINELIB_NAME_AW(tipo) tipo;
#include "wintab_wine.h"
#endif
