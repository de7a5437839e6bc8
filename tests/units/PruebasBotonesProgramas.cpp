// Los botones de los programas complementarios de la tabla de unidades: la
// unidad y sus líneas entregadas, el resultado tomado en la celda y en la
// unidad, y los archivos de intercambio que no se dejan usar. La plataforma
// hace de programa: ve lo que recibió y deja su resultado.
#include "Archivos.h"
#include "Muestras.h"
#include "Pruebas.h"
#include "VentanaUnidades.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <functional>

namespace {

UnidadHomogenea Unidad(const QString& codigo, double inicial, double final) {
    UnidadHomogenea u = UnidadTramo(codigo, inicial, final);
    u.EjesEquivalentes = 80000;
    u.ClimaHumedad = QStringLiteral("Arido");
    u.ClimaTemperatura = QStringLiteral("Frio");
    u.CBR = 4;
    return u;
}

// El contenido de un archivo de líneas como lo escribe un programa.
QByteArray Lineas(const QStringList& lineas) {
    QByteArray bytes;
    for (const QString& l : lineas)
        bytes += l.toLatin1() + "\r\n";
    return bytes;
}

const QStringList Ejecutables{"Clima", "Transito", "Mr"};

struct Escenario : VentanaUnidades {
    QTemporaryDir carpeta;
    DirectorioActual cd{carpeta.path()};
    // La ventana se cierra antes de dejar la carpeta de trabajo.
    ~Escenario() { ventana.reset(); }

    // Lo que hace el programa con su nombre de intercambio X; antes de eso se
    // anota lo que encontró.
    std::function<void(const QString& x)> Programa;
    QString Ejecutable;
    QStringList Argumentos;
    QByteArray UnidadVista;
    QStringList ArchivosVistos;

    Escenario() {
        // Ejecutables en la carpeta actual para que el lanzador los encuentre.
        for (const QString& nombre : Ejecutables) {
            EscribirBytes(nombre, "");
            QFile::setPermissions(nombre, QFile::permissions(nombre) | QFile::ExeOwner);
        }
        plataforma.AlIniciarPrograma = [this](const QString& ejecutable,
                                              const QStringList& argumentos) {
            Ejecutable = QFileInfo(ejecutable).fileName();
            Argumentos = argumentos;
            UnidadVista = LeerBytes(QStringLiteral("varek-9.abs"));
            ArchivosVistos =
                QDir::current().entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot);
            if (Programa) Programa(argumentos.value(0).section(u',', 1, 1));
        };
        modulo.Proyecto.NumeroUH = 2;
        modulo.Proyecto.UH[1] = Unidad(QStringLiteral("K1"), 1250.5, 1350);
        modulo.Proyecto.UH[2] = Unidad(QStringLiteral("K2"), 1350, 2000);
    }

    // El programa responde con su archivo de resultado y, si se da, con el de
    // líneas (Referencia + extensión).
    void Responder(const QByteArray& resultado, const QString& archivoLineas = QString(),
                   const QByteArray& lineas = QByteArray()) {
        Programa = [=](const QString& x) {
            EscribirBytes(x + QStringLiteral(".RES"), resultado);
            if (!archivoLineas.isEmpty()) EscribirBytes(archivoLineas, lineas);
        };
    }
    // Pulsa el botón de la celda (con el ratón, o F4 si se pide) y deja correr
    // el lanzador hasta que se cierra. Devuelve si el lanzador se mostró.
    bool Pulsar(int fila, int columna, bool conTecla = false) {
        Ir(fila, columna);
        const qsizetype antes = plataforma.VentanasModales.size();
        plataforma.Modales.enqueue([](QDialog& d) {
            return QTest::qWaitFor([&] { return !d.isVisible(); }, 10000) ? d.result() : -1;
        });
        if (conTecla)
            QTest::keyClick(&G(), Qt::Key_F4);
        else
            QTest::mouseClick(Boton(columna), Qt::LeftButton);
        const bool mostrado = plataforma.VentanasModales.size() > antes;
        if (!mostrado) plataforma.Modales.clear();
        return mostrado;
    }
    // Archivos que quedaron en la carpeta además de los ejecutables.
    QStringList Sobrantes() {
        QStringList lista =
            QDir::current().entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot);
        for (const QString& nombre : Ejecutables)
            lista.removeAll(nombre);
        return lista;
    }
};

const QStringList Ninguno;

} // namespace

class PruebasBotonesProgramas : public QObject {
    Q_OBJECT
private slots:
    void botonesTransitoYClima() {
        Escenario e;
        frmUnidadesHomogeneas& v = e.Abrir();
        const auto visibles = [&] {
            QList<int> lista;
            for (int k = 8; k <= 11; ++k)
                if (e.Boton(k)->isVisible()) lista << k;
            return lista;
        };
        QCOMPARE(visibles(), QList<int>{});
        // Junto a la celda, a su altura y dentro de la grilla.
        const auto enGrilla = [&](const QRect& r) {
            return QRect(e.G().viewport()->mapTo(&v, QPoint(0, 0)), e.G().viewport()->size())
                .contains(r);
        };
        for (int k = 8; k <= 11; ++k) {
            e.Ir(2, k);
            QCOMPARE(visibles(), QList<int>{k});
            const QRect celda = v.RectanguloCeldaActual();
            const QRect boton = e.Boton(k)->geometry();
            // Con lugar a la derecha, pegado al borde derecho de la celda.
            QCOMPARE(boton.topLeft(), QPoint(celda.left() + celda.width(), celda.top()));
            QCOMPARE(boton.height(), celda.height());
            QVERIFY(enGrilla(boton));
        }
        for (int k : {1, 7, 12, 15}) {
            e.Ir(2, k);
            QCOMPARE(visibles(), QList<int>{});
        }
        // Sigue a la celda al desplazarse y se oculta con ella.
        e.Ir(2, ColEjesEquivalentes);
        e.G().PonerFilaSuperior(500);
        QVERIFY(!e.Boton(8)->isVisible());
        e.G().PonerFilaSuperior(2);
        QVERIFY(e.Boton(8)->isVisible());
        QCOMPARE(e.Boton(8)->geometry().top(), v.RectanguloCeldaActual().top());

        // Sin líneas de tránsito: no se entrega archivo de líneas.
        e.Responder("varek-9\r\n 250000 \r\n", QStringLiteral("varek-9.tto"),
                    Lineas({"TPD 350", "Crecimiento 3 %"}));
        QVERIFY(e.Pulsar(1, ColEjesEquivalentes));
        QCOMPARE(e.plataforma.VentanasModales.last(), QStringLiteral("frmProgramas"));
        QCOMPARE(e.Ejecutable, QStringLiteral("Transito"));
        QCOMPARE(e.Argumentos, QStringList{"varek-9,N1,SinPresentacion,Seleccionar"});
        QCOMPARE(e.UnidadVista, QByteArray(" 1 \r\nK1\r\n 1250.5 \r\n 1350 \r\n"));
        QVERIFY(!e.ArchivosVistos.contains(QStringLiteral("varek-9.tto")));
        QCOMPARE(e.Celda(1, ColEjesEquivalentes), QStringLiteral("2.50E+05"));
        QCOMPARE(e.modulo.Proyecto.UH[1].N82, (QStringList{"TPD 350", "Crecimiento 3 %"}));
        QCOMPARE(e.Sobrantes(), Ninguno);
        QVERIFY(e.plataforma.Mensajes.isEmpty());
        QCOMPARE(v.focusWidget(), &e.G());

        // El cambio cuenta; el valor llega a la unidad en la revisión, que queda
        // pendiente hasta dejar la celda.
        QVERIFY(e.modulo.ProyectoModificado);
        QVERIFY(e.modulo.Proyecto.UH[1].EjesEquivalentes == 80000);
        QVERIFY(!v.TablaRevisada());
        v.RevisarUH();
        QVERIFY(e.modulo.Proyecto.UH[1].EjesEquivalentes == 250000);

        // Con líneas (y con F4) se entregan las de la unidad y vuelven las del programa;
        // la codificación y las 250 líneas se prueban con el protocolo.
        e.modulo.Proyecto.UH[1].N82 = QStringList{"Año 2024: ñandú", "", "fin"};
        QByteArray entregadas;
        e.Programa = [&](const QString& x) {
            entregadas = LeerBytes(QStringLiteral("varek-9.tto"));
            EscribirBytes(x + QStringLiteral(".RES"), "varek-9\r\n 1.2345E+06 \r\n");
            EscribirBytes(QStringLiteral("varek-9.tto"), Lineas({"nueva"}));
        };
        QVERIFY(e.Pulsar(1, ColEjesEquivalentes, true));
        QCOMPARE(entregadas, QByteArray("A\xf1o 2024: \xf1\x61nd\xfa\r\n\r\nfin\r\n"));
        QCOMPARE(e.Celda(1, ColEjesEquivalentes), QStringLiteral("1.23E+06"));
        QCOMPARE(e.modulo.Proyecto.UH[1].N82, QStringList{"nueva"});
        QCOMPARE(e.Sobrantes(), Ninguno);
        // Las líneas de las otras unidades y los otros campos no se tocan.
        QVERIFY(e.modulo.Proyecto.UH[1].CLIMA.isEmpty());
        QVERIFY(e.modulo.Proyecto.UH[2].N82.isEmpty());

        // El clima: por humedad y por temperatura.
        const QByteArray clima =
            "varek-9\r\n 1200 \r\n 900 \r\nHumedo\r\n 33.3 \r\n 21 \r\nTemplado\r\n";
        const QByteArray lineas = Lineas({"P 1200", "ETP 900", "T 21"});

        // Fila sin unidad: la celda de temperatura está vacía y también se llena.
        e.Responder(clima, QStringLiteral("varek-9.cli"), lineas);
        QVERIFY(e.Pulsar(3, ColClimaHumedad));
        QCOMPARE(e.Ejecutable, QStringLiteral("Clima"));
        QCOMPARE(e.UnidadVista, QByteArray(" 3 \r\n\r\n 0 \r\n 0 \r\n"));
        QCOMPARE(e.Celda(3, ColClimaHumedad), QStringLiteral("Humedo"));
        QCOMPARE(e.Celda(3, ColClimaTemperatura), QStringLiteral("Templado"));
        QCOMPARE(e.modulo.Proyecto.UH[3].CLIMA, (QStringList{"P 1200", "ETP 900", "T 21"}));

        // Con la temperatura llena solo cambia la humedad.
        QVERIFY(e.Pulsar(1, ColClimaHumedad));
        QCOMPARE(e.Celda(1, ColClimaHumedad), QStringLiteral("Humedo"));
        QCOMPARE(e.Celda(1, ColClimaTemperatura), QStringLiteral("Frio"));
        QCOMPARE(e.modulo.Proyecto.UH[1].CLIMA.size(), 3);

        // El botón de temperatura (con F4) cambia solo la temperatura y entrega las líneas.
        e.modulo.Proyecto.UH[2].CLIMA = QStringList{"antes"};
        e.Programa = [&](const QString& x) {
            entregadas = LeerBytes(QStringLiteral("varek-9.cli"));
            EscribirBytes(x + QStringLiteral(".RES"), clima);
            EscribirBytes(QStringLiteral("varek-9.cli"), lineas);
        };
        QVERIFY(e.Pulsar(2, ColClimaTemperatura, true));
        QCOMPARE(e.Celda(2, ColClimaHumedad), QStringLiteral("Arido"));
        QCOMPARE(e.Celda(2, ColClimaTemperatura), QStringLiteral("Templado"));
        QCOMPARE(entregadas, QByteArray("antes\r\n"));
        QCOMPARE(e.modulo.Proyecto.UH[2].CLIMA.size(), 3);
        QCOMPARE(e.Sobrantes(), Ninguno);
        QVERIFY(e.modulo.ProyectoModificado);
    }

    // Tras un resultado, dejar la celda (o la ventana) lo lleva a la unidad junto
    // con sus líneas: nunca quedan las líneas nuevas con el valor viejo.
    void resultadoAlDejarLaCelda_data() {
        QTest::addColumn<int>("tecla");
        QTest::addColumn<int>("modificador");
        // Las flechas y las páginas mueven la celda por el mismo camino que abajo.
        QTest::newRow("abajo") << int(Qt::Key_Down) << 0;
        QTest::newRow("tab") << int(Qt::Key_Tab) << 0;
        QTest::newRow("ctrl-inicio") << int(Qt::Key_Home) << int(Qt::ControlModifier);
        QTest::newRow("ctrl-fin") << int(Qt::Key_End) << int(Qt::ControlModifier);
        QTest::newRow("clic") << 0 << 0;
        QTest::newRow("salir") << int(Qt::Key_Escape) << 0;
    }
    void resultadoAlDejarLaCelda() {
        QFETCH(int, tecla);
        QFETCH(int, modificador);
        Escenario e;
        frmUnidadesHomogeneas& v = e.Abrir();
        e.Responder("varek-9\r\n 451233 \r\n", QStringLiteral("varek-9.tto"), Lineas({"TPD 900"}));
        QVERIFY(e.Pulsar(2, ColEjesEquivalentes));
        QVERIFY(e.modulo.Proyecto.UH[2].EjesEquivalentes == 80000);
        if (tecla) {
            QTest::keyClick(&e.G(), Qt::Key(tecla), Qt::KeyboardModifiers(modificador));
        } else {
            e.Clic(1, ColCodigoTramo);
        }
        QCOMPARE(v.isVisible(), tecla != Qt::Key_Escape);
        // Llega el valor exacto del programa, no el que muestra la celda (4.51E+05).
        QVERIFY(e.modulo.Proyecto.UH[2].EjesEquivalentes == 451233);
        QCOMPARE(e.modulo.Proyecto.UH[2].N82, QStringList{"TPD 900"});
    }

    // El programa de módulo en las dos unidades, y lo que hace la ventana con lo que
    // deja (o no deja) en cada vuelta.
    void programaDeModulo() {
        Escenario e;
        e.modulo.Proyecto.UH[1].MR = QStringList{"ensayo 1", "ensayo 2"};
        e.modulo.Proyecto.UH[2].MR = QStringList{"ensayo 1"};
        e.modulo.Proyecto.UH[2].N82 = QStringList{"viejo"};
        frmUnidadesHomogeneas& v = e.Abrir();
        // Se cancela: lee lo entregado y no deja resultado; nada cambia.
        QByteArray entregadas;
        e.Programa = [&](const QString&) {
            entregadas = LeerBytes(QStringLiteral("varek-9.mr"));
            EscribirBytes(QStringLiteral("varek-9.mr"), "otra cosa\r\n");
        };
        const UnidadHomogenea antes = e.modulo.Proyecto.UH[1];
        QVERIFY(e.Pulsar(1, ColCBR));
        QCOMPARE(e.Ejecutable, QStringLiteral("Mr"));
        QCOMPARE(entregadas, QByteArray("ensayo 1\r\nensayo 2\r\n"));
        QCOMPARE(e.Celda(1, ColCBR), QStringLiteral("4.00"));
        QVERIFY(e.modulo.Proyecto.UH[1] == antes);
        QVERIFY(v.TablaRevisada());
        QVERIFY(!e.modulo.ResultadoPrograma.HayResultado);
        QCOMPARE(e.Sobrantes(), Ninguno);
        QVERIFY(e.plataforma.Mensajes.isEmpty());

        // Las líneas vuelven con la Referencia que informó el programa; el archivo
        // entregado tampoco queda atrás.
        e.Responder("otra\r\n 6.5 \r\n", QStringLiteral("otra.mr"), Lineas({"CBR 6.5"}));
        QVERIFY(e.Pulsar(2, ColCBR));
        QVERIFY(e.ArchivosVistos.contains(QStringLiteral("varek-9.mr")));
        QCOMPARE(e.Celda(2, ColCBR), QStringLiteral("6.50"));
        QCOMPARE(e.modulo.Proyecto.UH[2].MR, QStringList{"CBR 6.5"});
        QCOMPARE(e.Sobrantes(), Ninguno);

        // Con miles: la revisión lo toma sin separadores y el nuevo llenado lo
        // muestra con "0.00".
        e.Responder("varek-9\r\n 1234.5 \r\n", QStringLiteral("varek-9.mr"), Lineas({"a", "b"}));
        QVERIFY(e.Pulsar(1, ColCBR));
        QCOMPARE(e.Celda(1, ColCBR), QStringLiteral("1,234.50"));
        QCOMPARE(e.modulo.Proyecto.UH[1].MR, (QStringList{"a", "b"}));
        v.RevisarUH();
        QVERIFY(e.modulo.Proyecto.UH[1].CBR == 1234.5);
        QCOMPARE(e.Celda(1, ColCBR), QStringLiteral("1234.50"));

        // Un programa que consume las líneas entregadas y no devuelve ninguna deja
        // el campo vacío.
        e.Programa = [](const QString& x) {
            QFile::remove(QStringLiteral("varek-9.tto"));
            EscribirBytes(x + QStringLiteral(".RES"), "varek-9\r\n 5000 \r\n");
        };
        QVERIFY(e.Pulsar(2, ColEjesEquivalentes));
        QVERIFY(e.ArchivosVistos.contains(QStringLiteral("varek-9.tto")));
        QCOMPARE(e.Celda(2, ColEjesEquivalentes), QStringLiteral("5.00E+03"));
        QVERIFY(e.modulo.Proyecto.UH[2].N82.isEmpty());
        QCOMPARE(e.Sobrantes(), Ninguno);
    }

    void filaMasAllaDeLaCapacidadYEditorAbierto() {
        Escenario e;
        frmUnidadesHomogeneas& v = e.Abrir();
        // Un pegado sin códigos en la fila 999 agrega filas, pero no unidades.
        e.plataforma.Portapapeles = QStringLiteral("x\ny\nz");
        e.Ir(999, ColDescripcion);
        v.PegarDelPortapapeles();
        QCOMPARE(e.G().Filas(), 1002);
        QCOMPARE(e.modulo.Proyecto.CapacidadUH(), 1000);

        e.Responder("varek-9\r\n 250000 \r\n");
        QVERIFY(e.Pulsar(1000, ColEjesEquivalentes)); // la última fila con unidad posible
        QVERIFY(!e.Pulsar(1001, ColEjesEquivalentes));
        QVERIFY(!e.Pulsar(1001, ColCBR, true));
        QCOMPARE(e.plataforma.ProgramasIniciados.size(), 1);
        QCOMPARE(e.Celda(1001, ColEjesEquivalentes), QString());
        QCOMPARE(e.Sobrantes(), Ninguno);
        QVERIFY(e.plataforma.Mensajes.isEmpty());

        // Un editor abierto se cierra antes del programa (aquí el lanzador se cierra
        // sin resultado).
        QLineEdit* txtUH = e.Texto();
        e.Ir(2, ColEjesEquivalentes);
        QTest::keyClick(&e.G(), Qt::Key_1);
        QVERIFY(txtUH->isVisible());
        QTest::mouseClick(e.Boton(ColEjesEquivalentes), Qt::LeftButton);
        QVERIFY(!txtUH->isVisible());
        QVERIFY(e.G().Barras());
        QCOMPARE(e.Celda(2, ColEjesEquivalentes), QStringLiteral("1.00E+00"));
        QCOMPARE(v.focusWidget(), &e.G());
    }

    // Un archivo de intercambio que no se puede escribir, leer o borrar (en su
    // lugar hay una carpeta) se dice y ni la celda ni la unidad cambian. Después,
    // sin el estorbo, el botón vuelve a funcionar.
    void archivosQueNoSePuedenUsar_data() {
        QTest::addColumn<QString>("antes"); // carpeta puesta antes de pulsar
        QTest::addColumn<QString>("deja");  // carpeta que deja el programa
        QTest::addColumn<QString>("mensaje");
        QTest::newRow("unidad sin escribir")
            << "varek-9.abs" << QString()
            << "No fue posible escribir el archivo de intercambio [varek-9.abs]; la unidad "
               "queda sin cambios...\n\nError : ";
        QTest::newRow("líneas sin escribir")
            << "varek-9.tto" << QString() << "escribir el archivo de intercambio [varek-9.tto]";
        QTest::newRow("líneas sin leer") << QString() << "varek-9.tto"
                                         << "leer el archivo de intercambio [varek-9.tto]";
        QTest::newRow("unidad sin borrar") << QString() << "varek-9.abs"
                                           << "borrar el archivo de intercambio [varek-9.abs]";
    }
    void archivosQueNoSePuedenUsar() {
        QFETCH(QString, antes);
        QFETCH(QString, deja);
        QFETCH(QString, mensaje);
        Escenario e;
        e.modulo.Proyecto.UH[1].N82 = QStringList{"uno"};
        frmUnidadesHomogeneas& v = e.Abrir();
        const UnidadHomogenea original = e.modulo.Proyecto.UH[1];
        if (!antes.isEmpty()) QVERIFY(QDir().mkdir(antes));
        e.Programa = [&](const QString& x) {
            EscribirBytes(x + QStringLiteral(".RES"), "varek-9\r\n 250000 \r\n");
            EscribirBytes(QStringLiteral("varek-9.tto"), "nueva\r\n");
            if (deja.isEmpty()) return;
            QFile::remove(deja);
            QDir().mkdir(deja);
        };
        QCOMPARE(e.Pulsar(1, ColEjesEquivalentes), antes.isEmpty());
        QCOMPARE(e.plataforma.ProgramasIniciados.size(), antes.isEmpty() ? 1 : 0);
        QCOMPARE(e.plataforma.Mensajes.size(), 1);
        QCOMPARE(e.plataforma.Mensajes[0].Titulo, QStringLiteral("ERROR"));
        QCOMPARE(e.plataforma.Mensajes[0].Icono, IconoMensaje::Critico);
        QVERIFY2(e.plataforma.Mensajes[0].Texto.contains(mensaje),
                 qPrintable(e.plataforma.Mensajes[0].Texto));
        QVERIFY(e.modulo.Proyecto.UH[1] == original);
        QCOMPARE(e.Celda(1, ColEjesEquivalentes), QStringLiteral("8.00E+04"));
        QVERIFY(v.isVisible() && v.TablaRevisada());
        // Solo queda el estorbo (si la unidad no se pudo borrar, queda también el de líneas).
        if (deja != u"varek-9.abs") QCOMPARE(e.Sobrantes(), QStringList{antes + deja});

        QVERIFY(QDir().rmdir(antes + deja));
        e.Responder("varek-9\r\n 250000 \r\n", QStringLiteral("varek-9.tto"), Lineas({"nueva"}));
        QVERIFY(e.Pulsar(1, ColEjesEquivalentes));
        QCOMPARE(e.plataforma.Mensajes.size(), 1);
        QCOMPARE(e.Celda(1, ColEjesEquivalentes), QStringLiteral("2.50E+05"));
        QCOMPARE(e.modulo.Proyecto.UH[1].N82, QStringList{"nueva"});
    }
};

VAREK9_REGISTRAR_PRUEBA(PruebasBotonesProgramas)
#include "PruebasBotonesProgramas.moc"
