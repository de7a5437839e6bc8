// La ventana de unidades abierta sobre un módulo y una plataforma guionada, con
// las acciones del usuario que usan las pruebas de la tabla y de sus botones.
#pragma once

#include "PlataformaGuionada.h"

#include "common/Grilla.h"
#include "units/frmUnidadesHomogeneas.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>
#include <QToolButton>

#include <memory>

struct VentanaUnidades {
    ModuloVarek9 modulo;
    PlataformaGuionada plataforma;
    std::unique_ptr<frmUnidadesHomogeneas> ventana;

    VentanaUnidades() { modulo.ArchivoProyecto = QStringLiteral("Obra"); }

    frmUnidadesHomogeneas& Abrir() {
        ventana = std::make_unique<frmUnidadesHomogeneas>(modulo, plataforma);
        ventana->show();
        ventana->activateWindow();
        static_cast<void>(QTest::qWaitForWindowActive(ventana.get()));
        return *ventana;
    }
    Grilla& G() { return ventana->Cuadricula(); }
    QString Celda(int fila, int columna) { return G().Texto(fila, columna); }
    // La celda actual como (columna, fila).
    QPoint Cursor() { return QPoint(G().Columna(), G().Fila()); }
    // La fila con el fondo amarillo del resaltado, salvo su número.
    bool FilaResaltada(int fila) {
        for (int c = 1; c < ColumnasUH; ++c)
            if (G().ColorFondo(fila, c) != QColor(255, 255, 192)) return false;
        return !G().ColorFondo(fila, 0).isValid();
    }
    // La unidad i del proyecto en una línea: código, descripción, tramo, segmento,
    // abscisas, CBR, humedad y terreno.
    QString Resumen(int i) const {
        const UnidadHomogenea& u = modulo.Proyecto.UH[i];
        return QStringList({u.CodigoTramo, u.Descripcion, u.TipoTramo, u.TipoSegmento,
                            QStringLiteral("%1:%2").arg(u.AbscisaInicial).arg(u.AbscisaFinal),
                            QString::number(u.CBR), u.ClimaHumedad, u.TipoTerreno})
            .join(u'|');
    }
    QLineEdit* Texto() { return ventana->findChild<QLineEdit*>(QStringLiteral("txtUH")); }
    QComboBox* Lista(int k) {
        return ventana->findChild<QComboBox*>(QStringLiteral("lstCTT%1").arg(k));
    }
    QToolButton* Boton(int k) {
        return ventana->findChild<QToolButton*>(QStringLiteral("btnP%1").arg(k));
    }
    // El usuario lleva el cursor a la celda y la ve entera.
    void Ir(int fila, int columna) {
        G().PonerCelda(fila, columna);
        if (!G().FilaVisible(fila)) G().PonerFilaSuperior(fila);
        G().scrollTo(G().currentIndex());
        G().setFocus();
    }
    // Una tecla al control que tiene el foco, como la envía el teclado.
    void Tecla(int tecla, Qt::KeyboardModifiers mod = Qt::NoModifier) {
        QWidget* foco = QApplication::focusWidget();
        QTest::keyClick(foco ? foco : ventana.get(), Qt::Key(tecla), mod);
    }
    // Cada carácter con su tecla y su texto, como los manda un teclado español.
    void Escribir(const QString& texto) {
        for (const QChar c : texto) {
            QWidget* foco = QApplication::focusWidget();
            const auto tecla = Qt::Key(c.toUpper().unicode());
            for (const auto accion : {QTest::Press, QTest::Release})
                QTest::sendKeyEvent(accion, foco ? foco : ventana.get(), tecla, QString(c),
                                    Qt::NoModifier);
        }
    }
    // En la celda, una tecla; o lo escrito y la tecla de salida.
    void Tecla(int fila, int columna, int tecla, Qt::KeyboardModifiers mod = Qt::NoModifier) {
        Ir(fila, columna);
        Tecla(tecla, mod);
    }
    void Escribir(int fila, int columna, const QString& texto, int salida = Qt::Key_Return) {
        Ir(fila, columna);
        Escribir(texto);
        Tecla(salida);
    }
    void Clic(int fila, int columna, bool doble = false) {
        const QRect r = G().RectanguloCelda(fila, columna).translated(-G().viewport()->pos());
        QTest::mouseEvent(doble ? QTest::MouseDClick : QTest::MouseClick, G().viewport(),
                          Qt::LeftButton, Qt::NoModifier, r.center());
    }
};
