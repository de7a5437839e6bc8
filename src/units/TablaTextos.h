// Tabla de textos por fila y columna, guardada por filas en una sola lista: la
// copia de trabajo de una grilla sin ventana. La grilla entrega y recibe la
// misma lista, así pasar de una a otra no copia celda por celda.
#pragma once

#include "common/ValoresCeldas.h"

#include <QList>
#include <QString>

#include <algorithm>
#include <optional>

class TablaTextos {
public:
    TablaTextos() = default;
    TablaTextos(int filas, int columnas)
        : filas_(std::max(filas, 0)), columnas_(std::max(columnas, 0)),
          celdas_(qsizetype(filas_) * columnas_) {}
    // celdas tiene filas x columnas textos, por filas; si no, se completa o se corta.
    TablaTextos(int filas, int columnas, QList<QString> celdas, ValoresCeldas valores = {})
        : filas_(std::max(filas, 0)), columnas_(std::max(columnas, 0)), celdas_(std::move(celdas)),
          valores_(std::move(valores)) {
        celdas_.resize(qsizetype(filas_) * columnas_);
        QuitarValoresFuera();
    }

    int Filas() const { return filas_; }
    int Columnas() const { return columnas_; }
    bool Valida(int fila, int columna) const {
        return fila >= 0 && fila < filas_ && columna >= 0 && columna < columnas_;
    }

    // Fuera de la tabla se lee un texto vacío y no se escribe nada.
    const QString& Texto(int fila, int columna) const {
        static const QString vacio;
        return Valida(fila, columna) ? celdas_.at(Posicion(fila, columna)) : vacio;
    }
    // Un texto escrito reemplaza el valor exacto de la celda.
    void PonerTexto(int fila, int columna, const QString& texto) {
        if (!Valida(fila, columna)) return;
        celdas_[Posicion(fila, columna)] = texto;
        if (!valores_.isEmpty()) valores_.remove(ClaveCelda(fila, columna));
    }
    // El texto que se muestra y el valor exacto que representa.
    void PonerValor(int fila, int columna, const QString& texto, double valor) {
        if (!Valida(fila, columna)) return;
        celdas_[Posicion(fila, columna)] = texto;
        valores_.insert(ClaveCelda(fila, columna), valor);
    }
    std::optional<double> Valor(int fila, int columna) const {
        const auto v = valores_.constFind(ClaveCelda(fila, columna));
        if (v == valores_.cend()) return std::nullopt;
        return *v;
    }
    const ValoresCeldas& Valores() const { return valores_; }

    // Agrega filas vacías al final o quita las últimas.
    void PonerFilas(int filas) {
        // Al agregar no queda ningún valor fuera: un pegado agrega fila por fila.
        const bool quita = filas < filas_;
        filas_ = std::max(filas, 0);
        celdas_.resize(qsizetype(filas_) * columnas_);
        if (quita) QuitarValoresFuera();
    }
    // Cambia la cantidad de columnas conservando cada celda en su fila y columna.
    void PonerColumnas(int columnas) {
        columnas = std::max(columnas, 0);
        if (columnas == columnas_) return;
        QList<QString> nuevas(qsizetype(filas_) * columnas);
        const int comunes = std::min(columnas, columnas_);
        for (int f = 0; f < filas_; ++f)
            for (int c = 0; c < comunes; ++c)
                nuevas[qsizetype(f) * columnas + c] = celdas_.at(Posicion(f, c));
        columnas_ = columnas;
        celdas_ = std::move(nuevas);
        QuitarValoresFuera();
    }

    const QList<QString>& Celdas() const { return celdas_; }

    bool operator==(const TablaTextos&) const = default;

private:
    void QuitarValoresFuera() {
        for (auto v = valores_.begin(); v != valores_.end();)
            v = Valida(int(v.key() >> 32), int(v.key() & 0xffffffffu)) ? std::next(v)
                                                                       : valores_.erase(v);
    }
    qsizetype Posicion(int fila, int columna) const {
        return qsizetype(fila) * columnas_ + columna;
    }

    int filas_ = 0;
    int columnas_ = 0;
    QList<QString> celdas_;
    ValoresCeldas valores_;
};
