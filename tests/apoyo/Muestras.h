// Proyectos de muestra para las pruebas y las mediciones.
#pragma once

#include "project/ModuloVarek9.h"

// Una unidad con todos sus campos llenos (acentos, listas) y valores que se
// escriben exactos con 15 cifras.
UnidadHomogenea UnidadDeMuestra(int i, int lineasPorLista);

// Encabezado, costos y n unidades de muestra, con las reglas derivadas aplicadas.
void LlenarProyectoDeMuestra(Proyecto& p, int n, int lineasPorLista);

// Proyecto de diseño: tránsitos, CBR, climas y afirmados variados, todos en el
// rango que se diseña, para que cada unidad recorra el procedimiento completo.
void ProyectoDeDiseno(ModuloVarek9& m, int n);

// Una unidad con lo mínimo para ordenarla: código, abscisas y descripción.
UnidadHomogenea UnidadTramo(const QString& codigo, double inicial, double final,
                            const QString& descripcion = QString());
// Las unidades dadas, en ese orden, como las del proyecto.
void PonerUnidades(Proyecto& p, const QList<UnidadHomogenea>& unidades);
