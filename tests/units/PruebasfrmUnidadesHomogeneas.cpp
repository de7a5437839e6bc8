// La ventana de unidades manejada con el teclado como lo haría un usuario:
// carga, resaltado, navegación, editores, teclas rápidas, revisión y
// portapapeles.
#include "Pruebas.h"
#include "VentanaUnidades.h"

#include "Muestras.h"
#include "project/ArchivoProyecto.h"

#include <QAction>
#include <QFrame>

using namespace Qt::StringLiterals;

namespace {

struct Escenario : VentanaUnidades {
    Escenario() { modulo.ArchivoProyecto = QStringLiteral("Obra"); }

    bool FilaResaltada(int fila) {
        for (int c = 1; c < ColumnasUH; ++c)
            if (G().ColorFondo(fila, c) != QColor(255, 255, 192)) return false;
        return !G().ColorFondo(fila, 0).isValid();
    }
};

} // namespace

class PruebasfrmUnidadesHomogeneas : public QObject {
    Q_OBJECT
private slots:
    // Lo que las reglas de espesores quitan al cargar se dice al abrir (qué y con qué
    // texto, en la revisión); el ejemplo ya las cumple y abrirlo no cambia nada.
    void reglaDeEspesores() {
        Escenario e;
        UnidadHomogenea u = UnidadTramo("K2", 1250, 2000.5);
        u.TipoAfirmado = QStringLiteral("AFR-1");
        u.EspesorAfirmado = 15;
        u.EspesorSubrasante = 30;
        PonerUnidades(e.modulo.Proyecto, {u});
        e.Abrir();
        QVERIFY(e.modulo.ProyectoModificado);
        QCOMPARE(e.modulo.Proyecto.UH[1].EspesorSubrasante, 0.0);
        QCOMPARE(e.plataforma.Mensajes.size(), 1);
        QVERIFY(e.plataforma.Mensajes[0].Texto.endsWith(u"K2 (1,250.00 - 2,000.50): capa de "
                                                        u"subrasante de 30.00 cm"));
        Escenario ejemplo;
        QVERIFY(!LeerProyectoDesde(ejemplo.modulo, QStringLiteral(VAREK9_EJEMPLOS "/Ejemplo.vk9"))
                     .HayAviso);
        ejemplo.Abrir();
        QVERIFY(!ejemplo.modulo.ProyectoModificado);
        QVERIFY(ejemplo.plataforma.Mensajes.isEmpty());
    }

    // Lo escrito en cada columna, con los hábitos de un teclado español (eñe,
    // tildes, coma decimal, letras que afinan una lista), se ve con su máscara
    // mientras se escribe y queda al salir con Enter, Tab, Mayús+Tab o una flecha.
    void escrituraEnCeldas_data() {
        QTest::addColumn<int>("columna");
        QTest::addColumn<QString>("escrito");
        QTest::addColumn<int>("tecla");
        QTest::addColumn<QString>("celda");
        QTest::addColumn<QPoint>("final"); // columna y fila tras la tecla
        QTest::newRow("eñe en el código")
            << 1 << u"Ñame"_s << int(Qt::Key_Return) << u"ÑAME"_s << QPoint(2, 1);
        QTest::newRow("tilde en la descripción")
            << 2 << u"Ávila"_s << int(Qt::Key_Tab) << u"Ávila"_s << QPoint(3, 1);
        QTest::newRow("lista afinada")
            << 13 << u"AFR-2"_s << int(Qt::Key_Return) << u"AFR-2"_s << QPoint(14, 1);
        QTest::newRow("lista con dos letras")
            << 9 << u"Su"_s << int(Qt::Key_Backtab) << u"Subhumedo"_s << QPoint(8, 1);
        QTest::newRow("coma decimal")
            << 11 << u"7,5"_s << int(Qt::Key_Tab) << u"7.50"_s << QPoint(12, 1);
        QTest::newRow("ancho con coma")
            << 7 << u",5"_s << int(Qt::Key_Backtab) << u"0.50"_s << QPoint(6, 1);
        // Las máscaras de cada columna se prueban sin ventana; aquí basta que se apliquen.
        const int abajo = Qt::Key_Down;
        QTest::newRow("abscisa miles") << 5 << u"1234"_s << abajo << u"1,234.00"_s << QPoint(5, 2);
        QTest::newRow("descripción")
            << 2 << u" tramo a "_s << abajo << u"tramo a"_s << QPoint(2, 2);
    }
    void escrituraEnCeldas() {
        QFETCH(int, columna);
        QFETCH(QString, escrito);
        QFETCH(int, tecla);
        QFETCH(QString, celda);
        QFETCH(QPoint, final);
        Escenario e;
        PonerUnidades(e.modulo.Proyecto, {UnidadTramo("K1", 0, 100)});
        e.Abrir();
        e.Ir(1, columna);
        e.Escribir(escrito);
        QCOMPARE(e.Celda(1, columna), celda);
        // El editor de texto muestra lo escrito tal cual.
        if (!e.Lista(columna)) QCOMPARE(e.Texto()->text(), escrito);
        e.Tecla(tecla);
        QCOMPARE(e.Cursor(), final);
        QCOMPARE(e.Celda(1, columna), celda);
        QVERIFY(e.G().hasFocus());
    }

    void cargaYNavegacion() {
        Escenario e;
        LlenarProyectoDeMuestra(e.modulo.Proyecto, 3, 1);
        frmUnidadesHomogeneas& v = e.Abrir();
        QVERIFY(v.windowTitle().endsWith(u" [Obra]"));
        Grilla& g = e.G();
        // Las abscisas de dos decenas de km caben en su columna.
        QVERIFY(g.fontMetrics().horizontalAdvance(QStringLiteral("12,600.00")) + 6 <=
                g.AnchoColumna(ColAbscisaFinal));
        // La primera revisión ya corrió; cursor en la fila 1, columna 1, resaltada.
        QVERIFY(v.TablaRevisada());
        QCOMPARE(e.Cursor(), QPoint(1, 1));
        QVERIFY(v.YaActivado());
        QVERIFY(e.FilaResaltada(1));
        QCOMPARE(v.ValorAnterior(), QStringLiteral("T-1"));
        // Aun en una ventana chica la grilla deja la leyenda al pie.
        auto* cuadro = v.findChild<QFrame*>(QStringLiteral("Cuadro"));
        v.resize(700, 500);
        QVERIFY(g.geometry().bottom() < cuadro->geometry().top());
        QVERIFY(cuadro->geometry().bottom() < 500);

        // El movimiento tras Enter se prueba con la grilla; aquí, que la ventana lo
        // usa y mueve el resaltado.
        e.Ir(5, 15);
        e.Tecla(Qt::Key_Enter);
        QCOMPARE(e.Cursor(), QPoint(1, 6));
        QVERIFY(e.FilaResaltada(6));
        QVERIFY(!g.ColorFondo(5, 3).isValid());

        e.Ir(999, 15);
        e.Tecla(Qt::Key_Home, Qt::ControlModifier);
        QCOMPARE(e.Cursor(), QPoint(1, 1));
        QCOMPARE(g.FilaSuperior(), 1);
        QVERIFY(e.FilaResaltada(1));
        // Las flechas de la grilla mueven y resaltan.
        e.Tecla(Qt::Key_Down);
        QVERIFY(e.FilaResaltada(2));
        e.Tecla(Qt::Key_Right);
        QCOMPARE(e.Cursor(), QPoint(2, 2));
        QCOMPARE(v.FilaResaltada(), 2);
        // Las abscisas se recuerdan sin separador de miles.
        e.G().PonerTexto(1, 5, QStringLiteral("1,234.50"));
        e.Ir(1, 5);
        QCOMPARE(v.ValorAnterior(), QStringLiteral("1234.5"));
    }

    // Las filas numeradas llegan al menos a 999; Ctrl+Fin va a la primera fila
    // sin unidad o a la última.
    void finDeLaTabla_data() {
        QTest::addColumn<int>("unidades");
        QTest::addColumn<int>("filas");
        QTest::addColumn<int>("fin");
        QTest::newRow("vacía") << 0 << 1000 << 1;
        QTest::newRow("999 unidades") << 999 << 1000 << 999;
        QTest::newRow("1000 unidades") << 1000 << 1001 << 1000;
    }
    void finDeLaTabla() {
        QFETCH(int, unidades);
        QFETCH(int, filas);
        QFETCH(int, fin);
        Escenario e;
        LlenarProyectoDeMuestra(e.modulo.Proyecto, unidades, 0);
        e.Abrir();
        QCOMPARE(e.G().Filas(), filas);
        QCOMPARE(e.Celda(filas - 1, 0), QString::number(filas - 1));
        e.G().setFocus();
        e.Tecla(Qt::Key_End, Qt::ControlModifier);
        QCOMPARE(e.Cursor(), QPoint(1, fin));
        QVERIFY(e.G().FilaVisible(fin));
    }

    // Un negativo imposible escrito o pegado no entra: la celda vuelve a su valor y
    // un mensaje por revisión lo dice (cuáles y con qué texto, en la revisión).
    void negativosRechazados() {
        Escenario e;
        UnidadHomogenea u = UnidadTramo("A", 0, 10);
        u.AnchoCorona = 6;
        PonerUnidades(e.modulo.Proyecto, {u, UnidadTramo("B", 10, 20)});
        e.Abrir();
        e.Ir(1, ColAnchoCorona);
        e.Escribir(QStringLiteral("-25"));
        e.Tecla(Qt::Key_Return);
        QCOMPARE(e.Celda(1, ColAnchoCorona), QStringLiteral("6.00"));
        QCOMPARE(e.plataforma.Mensajes.size(), 1);
        // Ancho y W18 de dos filas; después una fila nueva con CBR negativo.
        e.plataforma.Portapapeles = QStringLiteral("-7\t-1000\n7\t2000");
        e.Ir(1, ColAnchoCorona);
        e.ventana->PegarDelPortapapeles();
        e.plataforma.Portapapeles = QStringLiteral("C\t\t\t\t-5\t-1\t5\t1000\t\t\t-3");
        e.Ir(3, ColCodigoTramo);
        e.ventana->PegarDelPortapapeles();
        const Proyecto& p = e.modulo.Proyecto;
        QCOMPARE(p.NumeroUH, 3);
        QCOMPARE(
            (QList<double>{p.UH[1].AnchoCorona, p.UH[2].AnchoCorona, p.UH[2].EjesEquivalentes}),
            (QList<double>{6, 7, 2000}));
        QCOMPARE(e.Resumen(3), u"C||||-5:-1|0||"_s);
        // Un mensaje por revisión, con las filas de la tabla.
        QCOMPARE(e.plataforma.Mensajes.size(), 3);
        QVERIFY(e.plataforma.Mensajes[1].Texto.contains(u"fila 1 Ancho Corona, fila 1 Ejes"));
        QVERIFY(e.plataforma.Mensajes[2].Texto.contains(u"fila 3 CBR"));
    }

    void editores() {
        Escenario e;
        UnidadHomogenea u = UnidadTramo("K1", 1234.5, 2000);
        u.EjesEquivalentes = 150000;
        u.CBR = 4.25;
        u.Descripcion = QStringLiteral("Acceso");
        PonerUnidades(e.modulo.Proyecto, {u});
        frmUnidadesHomogeneas& v = e.Abrir();
        QLineEdit* txt = e.Texto();
        // Escribir en la grilla abre el editor con lo escrito.
        e.Ir(2, 1);
        e.Escribir(QStringLiteral("a"));
        QVERIFY(txt->isVisible());
        QCOMPARE(e.Celda(2, 1), QStringLiteral("A"));
        QVERIFY(!e.G().Barras());
        QVERIFY(!v.TablaRevisada());
        QVERIFY(e.modulo.ProyectoModificado);
        // Nada llega al proyecto hasta la revisión.
        QCOMPARE(e.modulo.Proyecto.NumeroUH, 1);
        e.Escribir(QStringLiteral("b "));
        QCOMPARE(e.Celda(2, 1), QStringLiteral("AB"));
        // Escape devuelve el valor con que se llegó y el editor sigue abierto.
        e.Tecla(Qt::Key_Escape);
        QCOMPARE(e.Celda(2, 1), QString());
        QVERIFY(txt->isVisible());
        QVERIFY(v.isVisible());
        e.Escribir(QStringLiteral("k2"));
        e.Tecla(Qt::Key_Return);
        QVERIFY(!txt->isVisible());
        QVERIFY(e.G().Barras());
        QVERIFY(v.TablaRevisada());
        QCOMPARE(e.modulo.Proyecto.UH[2].CodigoTramo, QStringLiteral("K2"));
        // Un carácter que no abre editor no hace nada.
        e.Escribir(QStringLiteral("*"));
        QVERIFY(!txt->isVisible());

        // En una columna de lista, lo escrito abre la lista.
        e.Ir(1, 9);
        e.Escribir(QStringLiteral("7"));
        QComboBox* humedad = e.Lista(9);
        QVERIFY(humedad->isVisible());
        QCOMPARE(humedad->currentText(), QStringLiteral("Arido"));
        // Las flechas de la lista cambian la celda; Escape vuelve al valor de
        // llegada y la lista sigue abierta.
        e.Tecla(Qt::Key_Down);
        QCOMPARE(e.Celda(1, 9), QStringLiteral("Semiarido"));
        e.Tecla(Qt::Key_Escape);
        QCOMPARE(e.Celda(1, 9), QStringLiteral("Arido"));
        QVERIFY(humedad->isVisible());
        e.Tecla(Qt::Key_Return);
        QVERIFY(!humedad->isVisible());
        QCOMPARE(e.Cursor(), QPoint(10, 1));

        e.Ir(1, 3);
        e.Escribir(QStringLiteral("s"));
        QCOMPARE(e.Lista(3)->currentText(), QStringLiteral("1. Sobre vía existente"));
        QCOMPARE(e.Celda(1, 3), QStringLiteral("1"));
        e.Tecla(Qt::Key_Down);
        QCOMPARE(e.Celda(1, 3), QStringLiteral("2"));
        e.Tecla(Qt::Key_Return);
        QCOMPARE(e.modulo.Proyecto.UH[1].TipoTramo, QStringLiteral("2"));

        // F2 elige la entrada que empieza con la celda.
        e.Ir(1, 13);
        e.Tecla(Qt::Key_F2);
        QCOMPARE(e.Lista(13)->currentText(), QStringLiteral("No hay"));
        e.Escribir(QStringLiteral("a"));
        QCOMPARE(e.Celda(1, 13), QStringLiteral("AFR-1"));
        e.Tecla(Qt::Key_Return);
        QCOMPARE(e.modulo.Proyecto.UH[1].TipoAfirmado, QStringLiteral("AFR-1"));

        // F2 abre el editor con el número exacto de la celda.
        e.Ir(1, 8);
        e.Tecla(Qt::Key_F2);
        QVERIFY(txt->isVisible());
        QCOMPARE(txt->text(), QStringLiteral("150000"));
        // Escribir reemplaza todo el valor.
        e.Escribir(QStringLiteral("9"));
        QCOMPARE(e.Celda(1, 8), QStringLiteral("9.00E+00"));
        e.Tecla(Qt::Key_PageDown);
        QCOMPARE(e.G().Fila(), 1);
        QVERIFY(e.modulo.Proyecto.UH[1].EjesEquivalentes == 9);

        e.Ir(1, 5);
        e.Tecla(Qt::Key_F2);
        QCOMPARE(txt->text(), QStringLiteral("1234.5"));
        e.Tecla(Qt::Key_Escape);
        QCOMPARE(e.Celda(1, 5), QStringLiteral("1,234.50"));
        e.Tecla(Qt::Key_Up);
        QVERIFY(!txt->isVisible());

        // Doble clic: lo mismo que F2.
        const QRect celda = e.G().RectanguloCelda(1, 2).translated(-e.G().viewport()->pos());
        QTest::mouseDClick(e.G().viewport(), Qt::LeftButton, Qt::NoModifier, celda.center());
        QVERIFY(txt->isVisible());
        QCOMPARE(e.G().Columna(), 2);
        QCOMPARE(txt->text(), QStringLiteral("Acceso"));
        // Un clic en otra celda cierra el editor.
        e.Clic(3, 3);
        QVERIFY(!txt->isVisible());
        QCOMPARE(e.G().Fila(), 3);
    }

    void continuacionDeTramo() {
        Escenario e;
        UnidadHomogenea k1 = UnidadTramo("K1", 1000, 1250);
        k1.Descripcion = QStringLiteral("primero");
        k1.TipoSegmento = QStringLiteral("C");
        k1.CBR = 6.5;
        k1.ClimaHumedad = QStringLiteral("Humedo");
        PonerUnidades(e.modulo.Proyecto, {UnidadTramo("A", 0, 5), UnidadTramo("B", 0, 5), k1});
        e.Abrir();
        e.Ir(4, 1);
        e.Escribir(QStringLiteral("k1"));
        e.Tecla(Qt::Key_Return);
        QCOMPARE(e.modulo.Proyecto.NumeroUH, 4);
        QCOMPARE(e.Resumen(4), u"K1||1|C|1250:1350|6.5|Humedo|Plano"_s);
        QCOMPARE(e.Celda(4, 6), QStringLiteral("1,350.00"));

        // Si la fila ya tenía algo (aquí la unidad A), no se copia nada.
        e.Ir(1, 1);
        e.Tecla(Qt::Key_F2);
        e.Escribir(QStringLiteral("k1"));
        e.Tecla(Qt::Key_Return);
        QCOMPARE(e.modulo.Proyecto.NumeroUH, 4);
        QCOMPARE(e.Resumen(2), u"K1||1|A|0:5|0|Arido|Plano"_s);
    }

    void teclasRapidas() {
        Escenario e;
        UnidadHomogenea a = UnidadTramo("A", 0, 100);
        a.CBR = 5;
        a.N82 = QStringList{"línea"};
        UnidadHomogenea b = UnidadTramo("B", 0, 100);
        b.TipoTerreno = QStringLiteral("Ondulado");
        PonerUnidades(e.modulo.Proyecto,
                      {a, b, UnidadTramo("C", 0, 100), UnidadTramo("D", 300, 450)});
        frmUnidadesHomogeneas& v = e.Abrir();
        Proyecto& p = e.modulo.Proyecto;

        // F6 y Ctrl+F6 en la fila 1 no cambian nada.
        e.Ir(1, 11);
        e.Tecla(Qt::Key_F6);
        e.Ir(1, 1);
        e.Tecla(Qt::Key_F6, Qt::ControlModifier);
        QCOMPARE(e.Celda(1, 11), QStringLiteral("5.00"));
        QCOMPARE(e.Celda(1, 1), QStringLiteral("A"));
        QVERIFY(!e.modulo.ProyectoModificado);

        // F6 copia la celda de arriba y revisa.
        e.Ir(2, 11);
        e.Tecla(Qt::Key_F6);
        QCOMPARE(p.UH[2].CBR, 5.0);
        QVERIFY(v.TablaRevisada());
        QVERIFY(e.modulo.ProyectoModificado);

        // Ctrl+F6 en una fila con código: la fila de arriba, empezando donde
        // termina la de arriba.
        e.Ir(5, 1);
        e.Escribir(QStringLiteral("e"));
        e.Tecla(Qt::Key_Up);
        e.Ir(5, 1);
        e.Tecla(Qt::Key_F6, Qt::ControlModifier);
        QCOMPARE(p.NumeroUH, 5);
        QCOMPARE(e.Resumen(5), u"D||1|A|450:450|0|Arido|Plano"_s);
        // Fuera de la columna 1 no hace nada.
        e.Ir(5, 2);
        e.Tecla(Qt::Key_F6, Qt::ControlModifier);
        QCOMPARE(p.NumeroUH, 5);

        // Suprimir el código quita la unidad; sus líneas se van con ella.
        e.Ir(1, 1);
        e.Tecla(Qt::Key_Delete);
        QCOMPARE(p.NumeroUH, 4);
        QCOMPARE(e.Resumen(1), u"B||1|A|0:100|5|Arido|Ondulado"_s);
        QVERIFY(p.UH[1].N82.isEmpty());
        // Una selección de varias celdas se vacía entera.
        Grilla& g = e.G();
        // Filas 1 y 2, columnas 11 (CBR) y 12 (terreno).
        g.selectionModel()->select(QItemSelection(g.model()->index(0, 10), g.model()->index(1, 11)),
                                   QItemSelectionModel::ClearAndSelect);
        g.setFocus();
        e.Tecla(Qt::Key_Delete);
        QCOMPARE(p.NumeroUH, 4);
        QCOMPARE(e.Resumen(1), u"B||1|A|0:100|0|Arido|"_s);
        QCOMPARE(e.Celda(1, 12), QStringLiteral("Plano"));
        QCOMPARE(e.Resumen(3), u"D||1|A|300:450|0|Arido|Plano"_s);
    }

    // El clic revisa solo si la revisión está pendiente; el cursor sigue a su unidad
    // (que la revisión encuentra) aunque vaya lejos, y la ve.
    void cursorSigueASuUnidad() {
        Escenario e;
        LlenarProyectoDeMuestra(e.modulo.Proyecto, 60, 0);
        frmUnidadesHomogeneas& v = e.Abrir();
        Grilla& g = e.G();
        // Con la tabla revisada el clic no cambia nada, aunque la grilla sí.
        g.PonerTexto(1, 1, QStringLiteral("ZZZZZ"));
        e.Clic(2, 2);
        QCOMPARE(e.modulo.Proyecto.UH[1].CodigoTramo, QStringLiteral("T-1"));
        // Pendiente, el clic revisa: el código más largo baja a la fila 60.
        v.PonerTablaRevisada(false);
        e.Clic(1, 2);
        QCOMPARE(e.modulo.Proyecto.UH[60].CodigoTramo, QStringLiteral("ZZZZZ"));
        QCOMPARE(e.Cursor(), QPoint(2, 60));
        QVERIFY(g.FilaVisible(60));
        QVERIFY(e.FilaResaltada(60));
        QVERIFY(!g.ColorFondo(1, 2).isValid());
        // "A" es el código más corto: sube a la fila 1, y el cursor con ella.
        e.Ir(60, 1);
        e.Tecla(Qt::Key_F2);
        e.Escribir(QStringLiteral("a"));
        e.Tecla(Qt::Key_Return);
        QCOMPARE(e.Celda(1, 1), QStringLiteral("A"));
        QCOMPARE(e.Cursor(), QPoint(2, 1));
        QVERIFY(g.FilaVisible(1));
    }

    // Copiar y pegar por el menú "Opciones" o con Ctrl+C y Ctrl+V.
    void portapapeles() {
        Escenario e;
        PonerUnidades(e.modulo.Proyecto, {UnidadTramo("A", 0, 100), UnidadTramo("B", 0, 100),
                                          UnidadTramo("C", 0, 100)});
        frmUnidadesHomogeneas& v = e.Abrir();
        QAction* copiar = v.findChild<QAction*>(QStringLiteral("mnuOpcion0"));
        QAction* pegar = v.findChild<QAction*>(QStringLiteral("mnuOpcion1"));
        e.Ir(3, 4);
        e.Tecla(Qt::Key_C, Qt::ControlModifier);
        // Toda la tabla desde la columna 1, como se ve; el cursor va al comienzo.
        const QString copiado = e.plataforma.Portapapeles;
        QCOMPARE(copiado.count(u'\n'), 2);
        QVERIFY(copiado.startsWith(u"A\t\t1\tA\t0.00\t100.00\t"_s));
        QCOMPARE(e.Cursor(), QPoint(1, 1));
        e.plataforma.Portapapeles.clear();
        copiar->trigger();
        QCOMPARE(e.plataforma.Portapapeles, copiado);
        QVERIFY(QApplication::overrideCursor() == nullptr);

        // Dos líneas con CR LF en la fila 4 llenan las filas 4 y 5.
        e.plataforma.Portapapeles = QStringLiteral("D\tuno\r\nE\tdos\r\n");
        e.Ir(4, 1);
        e.Tecla(Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(e.modulo.Proyecto.NumeroUH, 5);
        QCOMPARE(e.modulo.Proyecto.UH[5].Descripcion, QStringLiteral("dos"));
        QVERIFY(e.modulo.ProyectoModificado);
        QVERIFY(v.TablaRevisada());
        QVERIFY(QApplication::overrideCursor() == nullptr);

        // Desde la columna 2 el pegado empieza ahí; luego el cursor va a la 1.
        e.plataforma.Portapapeles = QStringLiteral("cambiada\t2");
        e.Ir(1, 2);
        pegar->trigger();
        QCOMPARE(e.Resumen(1), u"A|cambiada|2|A|0:100|0|Arido|Plano"_s);
        QCOMPARE(e.G().Columna(), 1);

        // Un portapapeles vacío no cambia nada.
        e.plataforma.Portapapeles.clear();
        pegar->trigger();
        QCOMPARE(e.modulo.Proyecto.NumeroUH, 5);
    }

    // Salir y cerrar llevan antes lo escrito al proyecto con el editor todavía
    // abierto; Escape en la grilla también cierra (dentro del editor solo deshace).
    void salir_data() {
        QTest::addColumn<int>("via");
        QTest::newRow("menu-salir") << 0;
        QTest::newRow("cerrar") << 1;
        QTest::newRow("escape") << 2;
    }
    void salir() {
        QFETCH(int, via);
        Escenario e;
        frmUnidadesHomogeneas& v = e.Abrir();
        e.Ir(1, 1);
        e.Escribir(QStringLiteral("x"));
        if (via == 2) {
            e.Tecla(Qt::Key_Return);
            QVERIFY(e.G().hasFocus());
            e.Tecla(Qt::Key_Escape);
        } else if (via == 1) {
            v.close();
        } else {
            v.findChild<QAction*>(QStringLiteral("Menu1"))->trigger();
        }
        QVERIFY(!v.isVisible());
        QCOMPARE(e.modulo.Proyecto.NumeroUH, 1);
        QCOMPARE(e.modulo.Proyecto.UH[1].CodigoTramo, QStringLiteral("X"));
        QVERIFY(e.modulo.ProyectoModificado);
    }
};

VAREK9_REGISTRAR_PRUEBA(PruebasfrmUnidadesHomogeneas)
#include "PruebasfrmUnidadesHomogeneas.moc"
