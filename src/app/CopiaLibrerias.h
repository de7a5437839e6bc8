// modCopiaLibrerias: al arrancar, copia al directorio del sistema las librerías
// ".OCX" y ".DLL" nuevas o más recientes del directorio de librerías y registra
// las copiadas con "registro.bat".
#pragma once

#include <QString>
#include <QStringList>

#include <chrono>
#include <functional>

// Lo que recibe quien ejecuta el registro: el lote escrito y sus órdenes ya
// separadas, para los sistemas que las corren sin el intérprete de lotes.
struct LoteRegistro {
    QString Archivo;       // ruta de "registro.bat"
    QString Marcador;      // ruta de "registro.registrando"
    QString Herramienta;   // ruta de "regsvr32.exe"
    QStringList Librerias; // rutas de las copias a registrar, en orden
};

// Lo que la preparación toma de fuera; las pruebas lo arman a su medida.
struct EntornoLibrerias {
    // Donde están "DirLib", "registro.bat" y "registro.registrando"; vacío: el actual.
    QString DirectorioActual;
    QString DirectorioSistema;
    // Inicia el lote sin esperarlo; false si no pudo. Vacío: el del sistema.
    std::function<bool(const LoteRegistro&)> EjecutarLote;
    // Límite de la espera del marcador; después el arranque sigue.
    std::chrono::milliseconds EsperaMaxima{60000};
};

// Prepara las librerías en el directorio actual con el directorio del sistema
// de la plataforma. Cada línea del registro (sin su CR LF) va a agregarLinea.
// Sin "DirLib" ni librerías en el directorio actual no hay nada que preparar:
// no escribe nada, no deja el marcador y devuelve false.
bool PrepararLibrerias(const std::function<void(const QString&)>& agregarLinea);
bool PrepararLibrerias(const EntornoLibrerias& entorno,
                       const std::function<void(const QString&)>& agregarLinea);

// Primera línea de "DirLib" en directorioActual con el separador al final; vacío
// (el directorio actual) si no existe o la línea está vacía.
QString DirectorioLibrerias(const QString& directorioActual);

// Windows: el del sistema. Otros: $VAREK9_DIR_SISTEMA o la carpeta "sistema" de
// los datos locales del programa, creada si falta.
QString DirectorioSistemaPlataforma();

// Inicia el lote minimizado (Windows) o corre sus órdenes una tras otra sin
// bloquear y borra el marcador al final (otros sistemas).
bool EjecutarLotePlataforma(const LoteRegistro& lote);
