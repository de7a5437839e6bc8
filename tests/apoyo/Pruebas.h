// Apoyo común de las pruebas: cada clase de prueba se registra sola y un único
// main por ejecutable las corre todas con QTest::qExec.
#pragma once

#include <QObject>
#include <QtTest>

#include <functional>
#include <memory>
#include <vector>

namespace pruebas {

using FabricaPrueba = std::function<std::unique_ptr<QObject>()>;

inline std::vector<FabricaPrueba>& Registro() {
    static std::vector<FabricaPrueba> registro;
    return registro;
}

template <typename T>
struct Registrar {
    Registrar() {
        Registro().push_back([] { return std::unique_ptr<QObject>(new T); });
    }
};

// Corre todas las clases registradas; devuelve la cantidad de fallas.
int EjecutarTodas(int argc, char** argv);

// Las filas "xlsx", "csv coma" y "csv punto" de la columna "formato" de una hoja.
void FilasFormatosHoja();

// Prepara el entorno fijo de las pruebas (plataforma fuera de pantalla, 96 ppp).
void PrepararEntorno();

} // namespace pruebas

#define VAREK9_REGISTRAR_PRUEBA(Clase) static pruebas::Registrar<Clase> registro##Clase;
