// Tabla de textos por fila y columna, guardada por filas en una sola lista: la
// copia de trabajo de una grilla sin ventana. La grilla entrega y recibe la
// misma lista, así pasar de una a otra no copia celda por celda.
#pragma once

#include "common/Numeros.h"
#include "common/ValoresCeldas.h"

#include <QList>
#include <QString>

#include <algorithm>
#include <bit>
#include <optional>

class TablaTextos {
public:
    TablaTextos() = default;
    TablaTextos(int filas, int columnas)
        : filas_(std::max(filas, 0)), columnas_(std::max(columnas, 0)),
          celdas_(qsizetype(filas_) * columnas_), valores_(celdas_.size()) {}
    // celdas tiene filas x columnas textos, por filas; si no, se completa o se corta.
    TablaTextos(int filas, int columnas, QList<QString> celdas, const ValoresCeldas& valores = {})
        : filas_(std::max(filas, 0)), columnas_(std::max(columnas, 0)), celdas_(std::move(celdas)) {
        celdas_.resize(qsizetype(filas_) * columnas_);
        valores_.resize(celdas_.size());
        for (auto v = valores.cbegin(); v != valores.cend(); ++v)
            if (const int f = FilaDeClave(v.key()), c = ColumnaDeClave(v.key()); Valida(f, c))
                valores_[Posicion(f, c)] = {*v, true};
    }

    int Filas() const { return filas_; }
    int Columnas() const { return columnas_; }
    bool Valida(int fila, int columna) const {
        return fila >= 0 && fila < filas_ && columna >= 0 && columna < columnas_;
    }

    // Fuera de la tabla se lee un texto vacío y no se escribe nada.
    const QString& Texto(int fila, int columna) const {
        return Valida(fila, columna) ? celdas_.at(Posicion(fila, columna)) : vacio_;
    }
    // Un texto escrito reemplaza el valor exacto de la celda. Lo que no cambia no
    // se escribe: una tabla compartida con otra no se copia por eso.
    void PonerTexto(int fila, int columna, const QString& texto) {
        if (!Valida(fila, columna)) return;
        const qsizetype p = Posicion(fila, columna);
        if (Distinto(celdas_.at(p), texto)) celdas_[p] = texto;
        if (valores_.at(p).Hay) valores_[p] = {};
    }
    // El texto que se muestra y el valor exacto que representa.
    void PonerValor(int fila, int columna, const QString& texto, double valor) {
        if (!Valida(fila, columna)) return;
        const qsizetype p = Posicion(fila, columna);
        if (Distinto(celdas_.at(p), texto)) celdas_[p] = texto;
        // Se compara bit a bit: -0 no queda como 0.
        const ValorCelda& actual = valores_.at(p);
        if (!actual.Hay || std::bit_cast<quint64>(actual.Valor) != std::bit_cast<quint64>(valor))
            valores_[p] = {valor, true};
    }
    // Sin valor, como PonerTexto.
    void PonerValor(int fila, int columna, const QString& texto, std::optional<double> valor) {
        if (valor)
            PonerValor(fila, columna, texto, *valor);
        else
            PonerTexto(fila, columna, texto);
    }
    std::optional<double> Valor(int fila, int columna) const {
        if (!Valida(fila, columna)) return std::nullopt;
        const ValorCelda& v = valores_.at(Posicion(fila, columna));
        return v.Hay ? std::optional<double>(v.Valor) : std::nullopt;
    }
    // Los valores exactos como los guarda la grilla.
    ValoresCeldas Valores() const {
        ValoresCeldas valores;
        for (int f = 0; f < filas_; ++f)
            for (int c = 0; c < columnas_; ++c)
                if (const ValorCelda& v = valores_.at(Posicion(f, c)); v.Hay)
                    valores.insert(ClaveCelda(f, c), v.Valor);
        return valores;
    }

    // Agrega filas vacías al final o quita las últimas.
    void PonerFilas(int filas) {
        filas_ = std::max(filas, 0);
        celdas_.resize(qsizetype(filas_) * columnas_);
        valores_.resize(celdas_.size());
    }
    // Cambia la cantidad de columnas conservando cada celda en su fila y columna.
    void PonerColumnas(int columnas) {
        columnas = std::max(columnas, 0);
        if (columnas == columnas_) return;
        QList<QString> nuevas(qsizetype(filas_) * columnas);
        QList<ValorCelda> nuevos(nuevas.size());
        const int comunes = std::min(columnas, columnas_);
        for (int f = 0; f < filas_; ++f)
            for (int c = 0; c < comunes; ++c) {
                nuevas[qsizetype(f) * columnas + c] = celdas_.at(Posicion(f, c));
                nuevos[qsizetype(f) * columnas + c] = valores_.at(Posicion(f, c));
            }
        columnas_ = columnas;
        celdas_ = std::move(nuevas);
        valores_ = std::move(nuevos);
    }

    const QList<QString>& Celdas() const { return celdas_; }

    // La convención con que la tabla muestra sus números y lee lo escrito.
    SeparadorDecimal Separador() const { return separador_; }
    void PonerSeparador(SeparadorDecimal separador) { separador_ = separador; }

    bool operator==(const TablaTextos&) const = default;

private:
    // Una celda por posición, como los textos: escribir y leer no busca en un hash.
    struct ValorCelda {
        double Valor = 0;
        bool Hay = false;
        bool operator==(const ValorCelda&) const = default;
    };

    // Vaciar una celda vacía es lo más común (las filas sin unidad en cada revisión):
    // se ve por el largo, sin comparar textos.
    static bool Distinto(const QString& a, const QString& b) {
        return a.size() != b.size() || (!a.isEmpty() && a != b);
    }

    qsizetype Posicion(int fila, int columna) const {
        return qsizetype(fila) * columnas_ + columna;
    }

    // De la clase y no de la función: leer una celda no pregunta si ya se creó.
    static inline const QString vacio_;

    int filas_ = 0;
    int columnas_ = 0;
    QList<QString> celdas_;
    QList<ValorCelda> valores_;
    SeparadorDecimal separador_ = SeparadorDecimal::Punto;
};
