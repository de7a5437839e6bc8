// Deshacer y rehacer como los usa un ingeniero: cada cambio de la tabla de
// unidades, de la ventana de alternativas y de los costos es un paso que Ctrl+Z
// deshace y Ctrl+Y rehace, comparado con los bytes del proyecto antes y después;
// la marca del estado guardado; lo que la revisión quita; la selección de menor
// costo que pregunta; las teclas 1 a 6.
#include "Archivos.h"
#include "Pruebas.h"
#include "VentanaAlternativas.h"
#include "VentanaUnidades.h"

#include "alternatives/DiagramaLineal.h"
#include "app/Historial.h"
#include "project/ArchivoProyecto.h"
#include "project/CambioProyecto.h"
#include "units/RevisionUH.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>

using namespace Qt::StringLiterals;

namespace {

// La tabla de unidades de cuatro tramos, con su historia vacía tras abrirse.
struct TablaConHistoria : VentanaUnidades {
    HistorialProyecto historial{modulo};
    TablaConHistoria() {
        PonerUnidades(modulo.Proyecto,
                      {UnidadTramo("A", 0, 100, "uno"), UnidadTramo("B", 100, 250.5, "dos"),
                       UnidadTramo("C", 250.5, 400, "tres"), UnidadTramo("D", 400, 1234.25)});
        Abrir();
        historial.Vaciar();
    }
    QByteArray Bytes() const { return TextoProyecto(modulo.Proyecto); }
    QString Estado() { return ventana->TextoEstado(); }
};

// La ventana de alternativas, con su historia vacía tras abrirse.
struct AlternativasConHistoria : VentanaAlternativas {
    HistorialProyecto historial{modulo};
    explicit AlternativasConHistoria(int unidades) : VentanaAlternativas(unidades) {
        Abrir();
        historial.Vaciar();
    }
};

enum class Accion { Escribir, Pegar, Importar, Suprimir, F6, CtrlF6, QuitarCodigo, Lista, Varias };

} // namespace

class PruebasDeshacer : public QObject {
    Q_OBJECT
private slots:
    void pasosDeLaTabla_data() {
        Columnas<Accion, QString>({"accion", "nombre"});
        QTest::newRow("escribir") << Accion::Escribir << "Escribir CBR";
        QTest::newRow("pegar") << Accion::Pegar << "Pegar 2 filas";
        QTest::newRow("importar") << Accion::Importar << "Importar 2 filas";
        QTest::newRow("supr") << Accion::Suprimir << "Borrar";
        QTest::newRow("F6") << Accion::F6 << "Copiar la celda de arriba";
        QTest::newRow("Ctrl+F6") << Accion::CtrlF6 << "Copiar la fila de arriba";
        QTest::newRow("código borrado") << Accion::QuitarCodigo << "Quitar la unidad B";
        QTest::newRow("lista") << Accion::Lista << "Elegir Tipo de Terreno";
    }
    void pasosDeLaTabla() {
        QFETCH(Accion, accion);
        TablaConHistoria e;
        const QByteArray antes = e.Bytes();
        const QList<QString> textosAntes = e.G().Textos();
        QVERIFY(!e.modulo.ProyectoModificado);
        switch (accion) {
        case Accion::Escribir:
            e.Escribir(2, ColCBR, "7,5");
            QCOMPARE(e.modulo.Proyecto.UH[2].CBR, 7.5);
            break;
        case Accion::Pegar:
            e.plataforma.Portapapeles = u"E\tcinco\r\nF\tseis\r\n"_s;
            e.Tecla(5, ColCodigoTramo, Qt::Key_V, Qt::ControlModifier);
            QCOMPARE(e.modulo.Proyecto.NumeroUH, 6);
            break;
        case Accion::Importar: {
            QTemporaryDir dir;
            const QString ruta = dir.filePath(u"u.csv"_s);
            QVERIFY(EscribirBytes(ruta, "Codigo;Descripcion\r\nE;cinco\r\nF;seis\r\n"));
            e.plataforma.RutasAbrir << ruta;
            // Enter en la vista previa: "Importar" es el botón por defecto.
            e.plataforma.Modales << [](QDialog& d) {
                QTest::keyClick(d.focusWidget() ? d.focusWidget() : &d, Qt::Key_Return);
                return d.result();
            };
            e.ventana->findChild<QAction*>(u"mnuOpcion2"_s)->trigger();
            QCOMPARE(e.modulo.Proyecto.NumeroUH, 6);
            QCOMPARE(e.modulo.Proyecto.UH[6].Descripcion, u"seis"_s);
            break;
        }
        case Accion::Suprimir:
            e.Tecla(3, ColDescripcion, Qt::Key_Delete);
            break;
        case Accion::F6:
            e.Tecla(3, ColDescripcion, Qt::Key_F6);
            QCOMPARE(e.modulo.Proyecto.UH[3].Descripcion, u"dos"_s);
            break;
        case Accion::CtrlF6:
            e.Tecla(3, ColCodigoTramo, Qt::Key_F6, Qt::ControlModifier);
            QCOMPARE(e.modulo.Proyecto.UH[3].AbscisaInicial, 250.5);
            break;
        case Accion::QuitarCodigo:
            e.Tecla(2, ColCodigoTramo, Qt::Key_Delete);
            QCOMPARE(e.modulo.Proyecto.NumeroUH, 3);
            break;
        case Accion::Lista:
            e.Escribir(1, ColTipoTerreno, EntradasListaUH(ColTipoTerreno).last().left(1));
            break;
        case Accion::Varias:
            break;
        }
        const QByteArray despues = e.Bytes();
        QVERIFY(despues != antes && e.modulo.ProyectoModificado && e.historial.Pila().count() == 1);
        QTEST(e.historial.Pila().undoText(), "nombre");

        // Ctrl+Z vuelve a los bytes de antes, con la tabla como estaba: el
        // proyecto vuelve a ser el del archivo.
        e.Tecla(Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(e.Bytes() == antes && e.G().Textos() == textosAntes);
        QVERIFY(!e.modulo.ProyectoModificado);
        // Ctrl+Y y Ctrl+Mayús+Z rehacen.
        e.Tecla(Qt::Key_Y, Qt::ControlModifier);
        QVERIFY(e.Bytes() == despues && e.modulo.ProyectoModificado);
        e.Tecla(Qt::Key_Z, Qt::ControlModifier);
        e.Tecla(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(e.Bytes(), despues);
        // La revisión tras deshacer no es un paso: lo rehecho sigue ahí.
        QVERIFY(e.historial.Pila().count() == 1 && e.historial.Pila().index() == 1);
    }

    // Varios pasos atrás y adelante, con el archivo guardado en medio.
    void estadoGuardadoYMenu() {
        TablaConHistoria e;
        const QByteArray b0 = e.Bytes();
        e.Escribir(1, ColDescripcion, "primera");
        const QByteArray b1 = e.Bytes();
        e.historial.MarcarGuardado();
        QVERIFY(!e.modulo.ProyectoModificado);
        const qsizetype unPaso = e.historial.Bytes();
        e.Escribir(2, ColAnchoCorona, "6");
        e.Escribir(3, ColAnchoCorona, "7");
        const QByteArray b3 = e.Bytes();
        QVERIFY(unPaso > 0 && e.historial.Bytes() > unPaso);
        auto* menu = e.ventana->findChild<QMenu*>(u"mnuEdicion"_s);
        auto* deshacer = e.ventana->findChild<QAction*>(u"mnuDeshacer"_s);
        emit menu->aboutToShow();
        QCOMPARE(deshacer->text(), u"&Deshacer Escribir Ancho Corona"_s);
        deshacer->trigger();
        deshacer->trigger();
        QCOMPARE(e.Bytes(), b1);
        QVERIFY(!e.modulo.ProyectoModificado); // el estado guardado
        deshacer->trigger();
        QVERIFY(e.Bytes() == b0 && e.modulo.ProyectoModificado);
        // Al principio de la historia, nada que deshacer: el menú lo dice.
        emit menu->aboutToShow();
        QVERIFY(!deshacer->isEnabled() && deshacer->text() == u"&Deshacer"_s);
        emit menu->aboutToHide();
        e.Tecla(Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(e.Bytes(), b0);
        for (int k = 0; k < 3; ++k)
            e.Tecla(Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(e.Bytes(), b3);
        // Al final no hay qué rehacer; cerrado el menú, Ctrl+Y rehace otra vez lo deshecho.
        emit menu->aboutToShow(), menu->aboutToHide();
        e.Tecla(Qt::Key_Z, Qt::ControlModifier), e.Tecla(Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(e.Bytes(), b3);
        // Un paso nuevo tras deshacer olvida lo que se podía rehacer.
        e.Tecla(Qt::Key_Z, Qt::ControlModifier);
        e.Escribir(4, ColDescripcion, "otra");
        QVERIFY(e.historial.Pila().count() == 3 && !e.historial.Pila().canRedo());
        // Sin cambio no hay paso.
        QVERIFY(!e.historial.Registrar(u"nada"_s) && e.historial.Pila().count() == 3);
    }

    // Lo que la revisión quita se dice en la línea de estado, y Ctrl+Z lo trae.
    void unidadesQuitadas() {
        TablaConHistoria e;
        const QByteArray antes = e.Bytes();
        e.Tecla(2, ColCodigoTramo, Qt::Key_Delete);
        QCOMPARE(e.Estado(), u"Se quitó la unidad [B, 100.00 - 250.50] — Ctrl+Z la recupera"_s);
        e.Tecla(Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(e.Bytes() == antes && e.Celda(2, ColCodigoTramo) == u"B"_s);
        QVERIFY(e.Cursor().y() == 2 && e.Estado().isEmpty());
        // Tres se nombran todas; de las cuatro, tres y se cuenta la otra.
        for (const int n : {3, 4}) {
            e.Ir(1, ColCodigoTramo);
            e.Clic(1, ColCodigoTramo);
            for (int k = 1; k < n; ++k)
                e.Tecla(Qt::Key_Down, Qt::ShiftModifier);
            e.Tecla(Qt::Key_Delete);
            QCOMPARE(e.modulo.Proyecto.NumeroUH, 4 - n);
            QCOMPARE(
                e.Estado(),
                u"Se quitaron las unidades [A, 0.00 - 100.00], [B, 100.00 - 250.50], "
                "[C, 250.50 - 400.00]%1 — Ctrl+Z las recupera"_s.arg(n == 4 ? " y 1 más" : ""));
            e.Tecla(Qt::Key_Z, Qt::ControlModifier);
            QCOMPARE(e.Bytes(), antes);
        }
        // Un cambio que no quita nada deja la línea vacía.
        e.Tecla(Qt::Key_Y, Qt::ControlModifier);
        e.Tecla(Qt::Key_Z, Qt::ControlModifier);
        e.Escribir(1, ColDescripcion, "x");
        QVERIFY(e.Estado().isEmpty());
    }

    // El paso guarda solo lo que difiere y vuelve exacto, también unidades
    // más allá del arreglo y el encabezado.
    void cambioEntreEstados() {
        Proyecto a;
        PonerUnidades(a, {UnidadTramo("A", 0, 100), UnidadTramo("B", 100, 200)});
        QVERIFY(!CambioProyecto::Entre(a, a));
        Proyecto b = a;
        b.AsegurarCapacidad(a.CapacidadUH() + 5);
        b.UH[b.CapacidadUH()] = UnidadTramo("Z", 9, 10);
        b.UH[2].CBR = 4.25;
        b.CostosUnitarios[CapaBG] = 123.5;
        std::optional<CambioProyecto> cambio = CambioProyecto::Entre(a, b);
        QVERIFY(cambio && cambio->Unidades() == (QVector<qint32>{2, b.CapacidadUH()}));
        const QByteArray bytesB = TextoProyecto(b);
        cambio->Intercambiar(b);
        QVERIFY(TextoProyecto(b) == TextoProyecto(a) && b.UH[b.CapacidadUH()] == UnidadHomogenea());
        cambio->Intercambiar(b);
        QVERIFY(TextoProyecto(b) == bytesB && b.UH[b.CapacidadUH()].CodigoTramo == u"Z"_s);
    }

    // Teclas 1 a 6 y Enter en la grilla de alternativas; cada elección es un paso.
    void elegirConElTeclado() {
        AlternativasConHistoria e(6);
        e.grilla->PonerCelda(2, 0);
        e.grilla->setFocus();
        const QByteArray antes = TextoProyecto(e.modulo.Proyecto);
        int aplica = 0, noAplica = 0;
        for (int n = 1; n <= 6; ++n)
            (e.Opcion(n)->isEnabled() ? aplica : noAplica) = n;
        QVERIFY(aplica > 1 && noAplica > 0);
        // La que no aplica: nada cambia.
        QTest::keyClick(e.grilla, Qt::Key(Qt::Key_0 + noAplica));
        QVERIFY(TextoProyecto(e.modulo.Proyecto) == antes && e.historial.Pila().count() == 0);
        QTest::keyClick(e.grilla, Qt::Key(Qt::Key_0 + aplica));
        QCOMPARE(e.modulo.Proyecto.UH[1].AlternativaSeleccionada, aplica);
        QVERIFY(e.Opcion(aplica)->isChecked() && e.grilla->Marcada(2, 8 + aplica));
        QCOMPARE(e.historial.Pila().undoText(),
                 u"Elegir la alternativa %1 de la unidad %2"_s.arg(aplica).arg(
                     e.modulo.Proyecto.UH[1].CodigoTramo));
        QTest::keyClick(e.grilla, Qt::Key_Return);
        QCOMPARE(e.grilla->Fila(), 3);
        QTest::keyClick(e.grilla, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(TextoProyecto(e.modulo.Proyecto), antes);
        // El cursor vuelve a la unidad del paso, con su elección de antes.
        QVERIFY(e.grilla->Fila() == 2 && !e.grilla->Marcada(2, 8 + aplica));
    }

    // Antes de cambiar elecciones, la pregunta con lo que cambia cada respuesta.
    void menorCostoPregunta_data() {
        QTest::addColumn<RespuestaMensaje>("respuesta");
        QTest::newRow("cancelar") << RespuestaMensaje::Cancelar;
        QTest::newRow("solo por defecto") << RespuestaMensaje::No;
        QTest::newRow("todas") << RespuestaMensaje::Si;
    }
    void menorCostoPregunta() {
        QFETCH(RespuestaMensaje, respuesta);
        AlternativasConHistoria e(6);
        // Por unidad: la más barata y la primera aplicable, desde los costos del
        // diseño; la unidad 1 se elige a mano en una que no es ninguna de las dos.
        QList<int> barata{0}, primera{0};
        EstadoDiseno diseno;
        for (int i = 1; i <= 6; ++i) {
            CalcularAlternativas(e.modulo, diseno, i);
            int b = 0, p = 0;
            for (int n = 1; n <= 6; ++n)
                if (e.modulo.AlternativaUH[n].Aplicable) {
                    if (!p) p = n;
                    if (!b || diseno.CostoAlternativa[n] < diseno.CostoAlternativa[b]) b = n;
                }
            barata << b;
            primera << p;
        }
        int aMano = 0;
        CalcularAlternativas(e.modulo, diseno, 1);
        for (int n = 6; n >= 1 && !aMano; --n)
            if (e.modulo.AlternativaUH[n].Aplicable && n != barata[1] && n != primera[1]) aMano = n;
        QVERIFY(aMano > 0);
        e.modulo.Proyecto.UH[1].AlternativaSeleccionada = static_cast<qint16>(aMano);
        e.historial.Vaciar();
        int porDefecto = 0;
        for (int i = 2; i <= 6; ++i)
            porDefecto += barata[i] != 0 && barata[i] != primera[i];
        const QByteArray antes = TextoProyecto(e.modulo.Proyecto);
        e.plataforma.Respuestas.enqueue(respuesta);
        e.Menu(2);
        const auto elecciones = [](int n) {
            return n == 1 ? u"1 elección"_s : u"%1 elecciones"_s.arg(n);
        };
        QCOMPARE(e.plataforma.Mensajes[0].Texto,
                 u"%1 sin la alternativa de menor costo; 1 de ellas fue elegida a mano.\n\n"
                 "\"Todas\" cambia %2.\n\"Solo las que tienen la alternativa por defecto\" "
                 "cambia %3 y conserva las elegidas a mano."_s.arg(
                     porDefecto + 1 == 1 ? u"1 unidad está"_s
                                         : u"%1 unidades están"_s.arg(porDefecto + 1),
                     elecciones(porDefecto + 1), elecciones(porDefecto)));
        QCOMPARE(e.plataforma.Mensajes[0].Botones, BotonesMensaje::TodasPorDefectoCancelar);
        // En singular: una unidad, con la alternativa por defecto.
        QCOMPARE(TextoPreguntaMenorCosto({1, 1}).section(u'\n', 0, 2),
                 u"1 unidad está sin la alternativa de menor costo; 0 de ellas fueron elegidas a "
                 "mano.\n\n\"Todas\" cambia 1 elección."_s);
        if (respuesta == RespuestaMensaje::Cancelar) {
            QVERIFY(TextoProyecto(e.modulo.Proyecto) == antes && e.historial.Pila().count() == 0);
            return;
        }
        QCOMPARE(e.modulo.Proyecto.UH[1].AlternativaSeleccionada,
                 respuesta == RespuestaMensaje::Si ? barata[1] : aMano);
        for (int i = 2; i <= 6; ++i)
            if (barata[i]) QCOMPARE(e.modulo.Proyecto.UH[i].AlternativaSeleccionada, barata[i]);
        QCOMPARE(e.historial.Pila().undoText(), u"Seleccionar la Alternativa de Menor Costo"_s);
        QTest::keyClick(e.grilla, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(TextoProyecto(e.modulo.Proyecto), antes);
    }

    // Los costos unitarios aceptados son un paso; la grilla vuelve a sus totales.
    void costosUnitarios() {
        AlternativasConHistoria e(3);
        const QByteArray antes = TextoProyecto(e.modulo.Proyecto);
        const QString total = e.grilla->Texto(6, 9);
        e.plataforma.Modales.enqueue([](QDialog& d) {
            Grilla* g = d.findChild<Grilla*>(u"grdCU"_s);
            for (int f = 1; f < g->Filas(); ++f)
                if (g->Texto(f, 0) == u"2"_s) g->PonerValor(f, 4, u"900,000.00"_s, 900000.0);
            d.findChild<QPushButton*>(u"btnAceptar"_s)->click();
            return d.result();
        });
        e.Menu(0);
        QCOMPARE(e.historial.Pila().undoText(), u"Costos unitarios"_s);
        QVERIFY(e.grilla->Texto(6, 9) != total);
        e.historial.Deshacer();
        QVERIFY(TextoProyecto(e.modulo.Proyecto) == antes && e.grilla->Texto(6, 9) == total);
    }
};

VAREK9_REGISTRAR_PRUEBA(PruebasDeshacer)
#include "PruebasDeshacer.moc"
