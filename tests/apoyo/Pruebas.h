// Apoyo común de las pruebas: cada clase de prueba se registra sola y un único
// main por ejecutable las corre todas con QTest::qExec.
#pragma once

#include <QObject>
#include <QtTest>

#include <functional>
#include <memory>
#include <tuple>
#include <utility>
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

// Las columnas de una tabla de datos, un tipo por nombre y en el mismo orden.
template <typename... T>
void Columnas(const char* const (&nombres)[sizeof...(T)]) {
    [&]<std::size_t... I>(std::index_sequence<I...>) {
        (QTest::addColumn<T>(nombres[I]), ...);
    }
    (std::index_sequence_for<T...>{});
}

// Los valores de las columnas de la fila en curso, cada nombre escrito una sola vez:
// TOMAR((a, b), int, QString) declara a y b con los de las columnas "a" y "b".
#define TOMAR(nombres, ...)                                                                        \
    auto [VAREK9_SIN_PARENTESIS nombres] = TomarColumnas<__VA_ARGS__>(#nombres)
#define VAREK9_SIN_PARENTESIS(...) __VA_ARGS__

template <typename... T>
std::tuple<T...> TomarColumnas(const char* lista) {
    // "(a, b)": los nombres entre paréntesis, separados por comas.
    const QList<QByteArray> n = QByteArray(lista).mid(1).chopped(1).replace(' ', "").split(',');
    return [&]<std::size_t... I>(std::index_sequence<I...>) {
        return std::tuple<T...>{
            *static_cast<T*>(QTest::qData(n.value(I).constData(), qMetaTypeId<T>()))...};
    }
    (std::index_sequence_for<T...>{});
}

#define VAREK9_REGISTRAR_PRUEBA(Clase) static pruebas::Registrar<Clase> registro##Clase;
