/* Envoltura: la cabecera de wintab de Wine (libwine-dev) espera windows.h antes de ella. */
#ifndef VAREK9_WINTAB_H
#define VAREK9_WINTAB_H
#include <windows.h>
#include "wintab_wine.h"
#endif
