// La ventana de alternativas abierta sobre un proyecto de diseño de muestra, en
// una carpeta propia y con la plataforma guionada, como la usan sus pruebas y las
// del diagrama lineal.
#pragma once

#include "Archivos.h"
#include "Muestras.h"
#include "PlataformaGuionada.h"

#include "alternatives/frmAlternativas.h"
#include "common/Grilla.h"

#include <QAction>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

struct VentanaAlternativas {
    QTemporaryDir dir;
    DirectorioActual aqui{dir.path()};
    ModuloVarek9 modulo;
    PlataformaGuionada plataforma;
    std::unique_ptr<frmAlternativas> v;
    Grilla* grilla = nullptr;

    explicit VentanaAlternativas(int unidades = 3) { ProyectoDeDiseno(modulo, unidades); }

    frmAlternativas& Abrir() {
        v = std::make_unique<frmAlternativas>(modulo, plataforma);
        v->show();
        v->activateWindow();
        if (!QTest::qWaitForWindowActive(v.get())) qFatal("ventana sin activar");
        grilla = v->findChild<Grilla*>(QStringLiteral("grdUH"));
        return *v;
    }
    template <class T = QWidget>
    T* Control(const QString& nombre) const {
        T* c = v->findChild<T*>(nombre);
        if (!c) qFatal("falta %s", qPrintable(nombre));
        return c;
    }
    QRadioButton* Opcion(int n) const {
        return Control<QRadioButton>(QStringLiteral("opcAlternativa%1").arg(n));
    }
    // Un clic en el círculo de la opción n, donde lo daría el usuario (el centro del
    // control puede caer fuera de su texto, y ahí el botón no se marca).
    void ClicOpcion(int n) const {
        QRadioButton* o = Opcion(n);
        QTest::mouseClick(o, Qt::LeftButton, {}, QPoint(o->height() / 2, o->height() / 2));
    }
    // La caja k (0 a 4) del dibujo de la alternativa n.
    QWidget* Caja(int n, int k) const { return Control(QStringLiteral("pAlt%1_%2").arg(n).arg(k)); }
    // Una entrada del menú "Opciones".
    void Menu(int k) const { Control<QAction>(QStringLiteral("mnuOpcion%1").arg(k))->trigger(); }
};
