// La ventana de unidades manejada con el teclado como lo haría un usuario:
// carga, resaltado, navegación, editores, teclas rápidas, revisión y
// portapapeles; los botones de los programas complementarios (la unidad y sus
// líneas entregadas, el resultado en la celda y en la unidad, los archivos de
// intercambio que no se dejan usar); y la grilla compartida por sí sola.
#include "Pruebas.h"
#include "VentanaUnidades.h"

#include "Archivos.h"
#include "Muestras.h"
#include "common/EntradaDatos.h"
#include "companions/Programas.h"
#include "project/ArchivoProyecto.h"
#include "units/frmImportarUH.h"

#include <QAbstractItemModelTester>
#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFrame>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QWheelEvent>

#include <functional>

using namespace Qt::StringLiterals;

namespace {

const QStringList Ejecutables{NombreEjecutable(u"Clima"), NombreEjecutable(u"Transito"),
                              NombreEjecutable(u"Mr")};

// La carpeta de trabajo con los ejecutables de los programas complementarios; la
// plataforma hace de programa: ve lo que recibió y deja su resultado.
struct ConProgramas : VentanaUnidades {
    QTemporaryDir carpeta;
    DirectorioActual cd{carpeta.path()};
    // La ventana se cierra antes de dejar la carpeta de trabajo.
    ~ConProgramas() { ventana.reset(); }

    // Lo que hace el programa con su nombre de intercambio X; antes de eso se
    // anota lo que encontró.
    std::function<void(const QString& x)> Programa;
    QString Ejecutable;
    QStringList Argumentos, ArchivosVistos;
    QByteArray UnidadVista, LineasEntregadas;

    ConProgramas() {
        // Ejecutables en la carpeta actual para que el lanzador los encuentre.
        for (const QString& nombre : Ejecutables) {
            EscribirBytes(nombre, "");
            QFile::setPermissions(nombre, QFile::permissions(nombre) | QFile::ExeOwner);
        }
        plataforma.AlIniciarPrograma = [this](const QString& ejecutable,
                                              const QStringList& argumentos) {
            Ejecutable = QFileInfo(ejecutable).fileName();
            Argumentos = argumentos;
            UnidadVista = LeerBytes(u"varek-9.abs"_s);
            ArchivosVistos = QDir::current().entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
            LineasEntregadas.clear();
            for (const QString& a : ArchivosVistos)
                if (a.startsWith(u"varek-9.") && a != u"varek-9.abs")
                    LineasEntregadas = LeerBytes(a);
            if (Programa) Programa(argumentos.value(0).section(u',', 1, 1));
        };
        PonerUnidades(modulo.Proyecto,
                      {UnidadTramo("K1", 1250.5, 1350), UnidadTramo("K2", 1350, 2000)});
        for (const int i : {1, 2}) {
            UnidadHomogenea& u = modulo.Proyecto.UH[i];
            u.EjesEquivalentes = 80000;
            u.ClimaHumedad = u"Arido"_s;
            u.ClimaTemperatura = u"Frio"_s;
            u.CBR = 4;
        }
    }

    // El programa responde con su archivo de resultado y, si se da, con el de
    // líneas (Referencia + extensión), escritas como las escribe un programa.
    void Responder(const QByteArray& resultado, const QString& archivoLineas = QString(),
                   const QStringList& lineas = {}) {
        Programa = [=](const QString& x) {
            EscribirBytes(x + u".RES"_s, resultado);
            if (!archivoLineas.isEmpty())
                EscribirBytes(archivoLineas, (lineas.join(u"\r\n"_s) + u"\r\n"_s).toLatin1());
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
        conTecla ? QTest::keyClick(&G(), Qt::Key_F4)
                 : QTest::mouseClick(Boton(columna), Qt::LeftButton);
        const bool mostrado = plataforma.VentanasModales.size() > antes;
        if (!mostrado) plataforma.Modales.clear();
        return mostrado;
    }
    // Humedad y temperatura de la fila, y las líneas de clima de su unidad.
    QString Clima(int f) {
        return u"%1|%2|%3"_s.arg(Celda(f, ColClimaHumedad), Celda(f, ColClimaTemperatura),
                                 modulo.Proyecto.UH[f].CLIMA.join(u'/'));
    }
    // La celda de ejes de la fila y las líneas de tránsito de su unidad.
    QStringList Transito(int f) {
        return QStringList{Celda(f, ColEjesEquivalentes)} + modulo.Proyecto.UH[f].N82;
    }
    // Archivos que quedaron en la carpeta además de los ejecutables.
    QStringList Sobrantes() {
        QStringList lista = QDir::current().entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
        for (const QString& nombre : Ejecutables)
            lista.removeAll(nombre);
        return lista;
    }
};

// Una grilla de 100 filas y 6 columnas, con la fila 0 y la columna 0 fijas,
// dentro de una ventana de tamaño fijo.
struct GrillaSola {
    QWidget ventana;
    Grilla* grilla = new Grilla(&ventana);

    explicit GrillaSola(int filas = 100, int columnas = 6) {
        ventana.resize(420, 300);
        grilla->setGeometry(10, 20, 400, 260);
        grilla->PonerDimensiones(filas, columnas);
        for (int c = 0; c < columnas; ++c)
            grilla->PonerTexto(0, c, u"C%1"_s.arg(c));
        NumerarFilas(*grilla);
        ventana.show();
        static_cast<void>(QTest::qWaitForWindowExposed(&ventana));
    }
    QModelIndex Indice(int f, int c) const {
        return grilla->model()->index(f - grilla->FilasFijas(), c - grilla->ColumnasFijas());
    }
};

} // namespace

class PruebasfrmUnidadesHomogeneas : public QObject {
    Q_OBJECT
private slots:
    // Lo escrito en cada columna, con los hábitos de un teclado español (eñe,
    // tildes, coma decimal, letras que afinan una lista), se ve con su máscara
    // mientras se escribe y queda al salir con Enter, Tab, Mayús+Tab o una flecha.
    void escrituraEnCeldas() {
        VentanaUnidades e;
        PonerUnidades(e.modulo.Proyecto, {UnidadTramo("K1", 0, 100)});
        e.Abrir();
        // Columna, lo escrito, la tecla de salida, la celda y el cursor (columna, fila)
        // tras la tecla. Las máscaras de cada columna se prueban sin ventana; aquí basta
        // que se apliquen.
        const QList<std::tuple<int, QString, int, QString, QPoint>> casos{
            {1, u"Ñame"_s, Qt::Key_Return, u"ÑAME"_s, {2, 1}},
            {2, u"Ávila"_s, Qt::Key_Tab, u"Ávila"_s, {3, 1}},
            {13, u"AFR-2"_s, Qt::Key_Return, u"AFR-2"_s, {14, 1}}, // lista afinada
            {9, u"Su"_s, Qt::Key_Backtab, u"Subhumedo"_s, {8, 1}}, // dos letras
            {11, u"7,5"_s, Qt::Key_Tab, u"7.50"_s, {12, 1}},
            {7, u",5"_s, Qt::Key_Backtab, u"0.50"_s, {6, 1}},
            {5, u"1234"_s, Qt::Key_Down, u"1,234.00"_s, {5, 2}},
            {2, u" tramo a "_s, Qt::Key_Down, u"tramo a"_s, {2, 2}}};
        for (const auto& [columna, escrito, tecla, celda, final] : casos) {
            e.Ir(1, columna);
            e.Escribir(escrito);
            QCOMPARE(e.Celda(1, columna), celda);
            // El editor de texto muestra lo escrito tal cual.
            if (!e.Lista(columna)) QCOMPARE(e.Texto()->text(), escrito);
            e.Tecla(tecla);
            QVERIFY(e.Cursor() == final && e.Celda(1, columna) == celda && e.G().hasFocus());
        }
    }

    // Lo escrito con la convención del usuario: la forma ambigua la sigue, un
    // valor fuera de lo usual se pregunta, un texto sin número no se toma y un
    // carácter que el archivo no guarda no entra.
    void escrituraConConvencion_data() {
        // respuesta (-1: ninguna pregunta).
        Columnas<QChar, int, QString, int, QString, QString, QString>(
            {"separador", "columna", "escrito", "respuesta", "guardado", "celda", "mensaje"});
        const int no = int(RespuestaMensaje::No), si = int(RespuestaMensaje::Si);
        const auto fila = [](const char* nombre, char separador, int columna, const char* escrito,
                             int respuesta, const char* guardado, const char* celda,
                             const char* mensaje = "") {
            QTest::newRow(nombre) << QChar(separador) << columna << QString(escrito) << respuesta
                                  << QString(guardado) << QString(celda) << QString(mensaje);
        };
        fila("miles con coma", ',', 8, "215.000", -1, "215000", "2,15E+05");
        fila("decimal con punto", '.', 8, "215.000", -1, "215", "2.15E+02");
        fila("miles en blanco", '.', 8, "150 000", -1, "150000", "1.50E+05");
        fila("coma decimal", ',', 7, "6,5", -1, "6.5", "6,50");
        fila("fuera de lo usual, no", '.', 7, "6,500", no, "7", "7.00",
             "¿El valor [6,500.00] de Ancho Corona de la unidad [1] es correcto?");
        fila("fuera de lo usual, sí", ',', 7, "6.500", si, "6500", "6500,00",
             "¿El valor [6.500,00] de Ancho Corona de la unidad [1] es correcto?");
        fila("sin número", ',', 11, "cinco", -1, "5", "5,00",
             "El texto [cinco] no es un número: CBR de la unidad [1] conserva su valor...");
        fila("carácter fuera del archivo", ',', 2, "Tramo Ω", -1, "Tramo", "Tramo",
             "El carácter [Ω] no se puede guardar en el archivo del proyecto...");
    }
    void escrituraConConvencion() {
        TOMAR((separador, columna, escrito, respuesta, mensaje), QChar, int, QString, int, QString);
        VentanaUnidades e;
        e.modulo.Separador = SeparadorDecimal(separador.unicode());
        UnidadHomogenea u = UnidadTramo("K1", 0, 100);
        u.AnchoCorona = 7;
        u.CBR = 5;
        PonerUnidades(e.modulo.Proyecto, {u});
        e.Abrir();
        if (respuesta >= 0) e.plataforma.Respuestas.enqueue(RespuestaMensaje(respuesta));
        e.Escribir(1, columna, escrito);
        const UnidadHomogenea& g = e.modulo.Proyecto.UH[1];
        const double n = columna == 7 ? g.AnchoCorona : columna == 8 ? g.EjesEquivalentes : g.CBR;
        QTEST(columna == 2 ? g.Descripcion : QString::number(n, 'g', 15), "guardado");
        QTEST(e.Celda(1, columna), "celda");
        QCOMPARE(e.plataforma.Mensajes.size(), mensaje.isEmpty() ? 0 : 1);
        if (!mensaje.isEmpty()) QCOMPARE(e.plataforma.Mensajes[0].Texto, mensaje);
        QVERIFY(e.plataforma.Respuestas.isEmpty());
    }

    // La preferencia se cambia desde el menú: la grilla y la línea de estado la
    // muestran y queda guardada; una letra que no es de la lista no la cambia.
    void separadorDesdeElMenuYListas() {
        VentanaUnidades e;
        UnidadHomogenea u = UnidadTramo("K1", 1234.5, 2000);
        u.ClimaHumedad = u"Humedo"_s;
        PonerUnidades(e.modulo.Proyecto, {u});
        frmUnidadesHomogeneas& v = e.Abrir();
        auto* estado = v.findChild<QLabel*>(u"lbSeparador"_s);
        const auto vista = [&] { return estado->text() + u'|' + e.Celda(1, 5); };
        QCOMPARE(vista(), u"Separador decimal: punto (1,234.5)|1,234.50"_s);
        v.findChild<QAction*>(u"mnuSeparadorComa"_s)->trigger();
        QCOMPARE(vista(), u"Separador decimal: coma (1.234,5)|1.234,50"_s);
        QVERIFY(LeerSeparadorDecimal() == SeparadorDecimal::Coma);
        // El menú, al abrirse, marca la convención en uso.
        emit v.findChild<QMenu*>(u"mnuSeparadorDecimal"_s)->aboutToShow();
        QVERIFY(v.findChild<QAction*>(u"mnuSeparadorComa"_s)->isChecked());
        // F2 edita el valor exacto con la coma.
        e.Tecla(1, 5, Qt::Key_F2);
        QCOMPARE(e.Texto()->text(), u"1234,5"_s);
        e.Tecla(Qt::Key_Escape);
        e.Tecla(Qt::Key_Return);
        QCOMPARE(e.modulo.Proyecto.UH[1].AbscisaInicial, 1234.5);
        v.findChild<QAction*>(u"mnuSeparadorPunto"_s)->trigger();
        QCOMPARE(vista(), u"Separador decimal: punto (1,234.5)|1,234.50"_s);

        e.Escribir(1, 9, u"x"_s);
        QCOMPARE(e.modulo.Proyecto.UH[1].ClimaHumedad, u"Humedo"_s);
        e.Escribir(1, 9, u"sú"_s);
        QCOMPARE(e.modulo.Proyecto.UH[1].ClimaHumedad, u"Subhumedo"_s);
    }

    // Al abrir, al moverse y al revisar: el clic revisa solo si la revisión está
    // pendiente; el cursor sigue a su unidad (que la revisión encuentra) aunque vaya
    // lejos, y la ve.
    void cargaNavegacionYRevision() {
        VentanaUnidades e;
        LlenarProyectoDeMuestra(e.modulo.Proyecto, 60, 1);
        frmUnidadesHomogeneas& v = e.Abrir();
        QVERIFY(v.windowTitle().endsWith(u" [Obra]"));
        Grilla& g = e.G();
        // Las abscisas de dos decenas de km caben en su columna, con los 5 píxeles que la
        // celda deja a los lados del texto.
        QVERIFY(g.fontMetrics().horizontalAdvance(u"12,600.00"_s) + 5 <=
                g.AnchoColumna(ColAbscisaFinal));
        // La primera revisión ya corrió; cursor en la fila 1, columna 1, resaltada.
        QVERIFY(v.TablaRevisada() && e.Cursor() == QPoint(1, 1));
        QVERIFY(v.YaActivado() && e.FilaResaltada(1) && v.ValorAnterior() == u"T-1"_s);
        // Aun en una ventana chica la grilla deja la leyenda al pie.
        v.resize(700, 500);
        const QRect cuadro = v.findChild<QFrame*>(u"Cuadro"_s)->geometry();
        QVERIFY(g.geometry().bottom() < cuadro.top() && cuadro.bottom() < 500);

        // El movimiento tras Enter se prueba con la grilla; aquí, que la ventana lo
        // usa y mueve el resaltado.
        e.Tecla(5, 15, Qt::Key_Enter);
        QVERIFY(e.Cursor() == QPoint(1, 6) && e.FilaResaltada(6) && !g.ColorFondo(5, 3).isValid());

        e.Tecla(999, 15, Qt::Key_Home, Qt::ControlModifier);
        QVERIFY(e.Cursor() == QPoint(1, 1) && g.FilaSuperior() == 1 && e.FilaResaltada(1));
        // Las abscisas se recuerdan sin separador de miles.
        e.G().PonerTexto(1, 5, u"1,234.50"_s);
        e.Ir(1, 5);
        QCOMPARE(v.ValorAnterior(), u"1234.5"_s);
        // Con la tabla revisada el clic no cambia nada, aunque la grilla sí.
        g.PonerTexto(1, 1, u"ZZZZZ"_s);
        e.Clic(2, 2);
        QCOMPARE(e.modulo.Proyecto.UH[1].CodigoTramo, u"T-1"_s);
        // Pendiente, el clic revisa: el código más largo baja a la fila 60.
        v.PonerTablaRevisada(false);
        e.Clic(1, 2);
        QVERIFY(e.modulo.Proyecto.UH[60].CodigoTramo == u"ZZZZZ"_s && e.Cursor() == QPoint(2, 60));
        QVERIFY(g.FilaVisible(60) && e.FilaResaltada(60) && !g.ColorFondo(1, 2).isValid());
    }

    // Las filas numeradas llegan al menos a 999; Ctrl+Fin va a la primera fila
    // sin unidad o a la última.
    void finDeLaTabla() {
        // Unidades, filas de la tabla y la fila a la que lleva Ctrl+Fin.
        const int casos[][3] = {{0, 1000, 1}, {999, 1000, 999}, {1000, 1001, 1000}};
        for (const auto& [unidades, filas, fin] : casos) {
            VentanaUnidades e;
            LlenarProyectoDeMuestra(e.modulo.Proyecto, unidades, 0);
            e.Abrir();
            QCOMPARE(e.G().Filas(), filas);
            e.G().setFocus();
            e.Tecla(Qt::Key_End, Qt::ControlModifier);
            QVERIFY(e.Cursor() == QPoint(1, fin) && e.G().FilaVisible(fin));
        }
    }

    // Lo que las reglas de espesores quitan al cargar se dice al abrir, y un negativo
    // imposible escrito o pegado no entra: la celda vuelve a su valor y un mensaje por
    // revisión lo dice (qué y con qué texto, en la revisión). El ejemplo ya cumple las
    // reglas y abrirlo no cambia nada.
    void mensajesDeLaRevision() {
        VentanaUnidades e;
        UnidadHomogenea u = UnidadTramo("A", 1250, 2000.5);
        u.AnchoCorona = 6;
        u.TipoAfirmado = u"AFR-1"_s;
        u.EspesorAfirmado = 15;
        u.EspesorSubrasante = 30;
        PonerUnidades(e.modulo.Proyecto, {u, UnidadTramo("B", 10, 20)});
        e.Abrir();
        const QList<MensajeRegistrado>& mensajes = e.plataforma.Mensajes;
        QVERIFY(e.modulo.ProyectoModificado && mensajes.size() == 1);
        QVERIFY(
            mensajes[0].Texto.endsWith(u"A (1,250.00 - 2,000.50): capa de subrasante de 30.00 cm"));
        e.Escribir(1, ColAnchoCorona, u"-25"_s);
        QVERIFY(e.Celda(1, ColAnchoCorona) == u"6.00"_s && mensajes.size() == 2);
        // Pegado: una fila nueva con CBR negativo; el mensaje dice la fila de la tabla.
        e.plataforma.Portapapeles = u"C\t\t\t\t-5\t-1\t5\t1000\t\t\t-3"_s;
        e.Ir(3, ColCodigoTramo);
        e.ventana->PegarDelPortapapeles();
        QVERIFY(e.modulo.Proyecto.NumeroUH == 3 && e.Resumen(3) == u"C||||-5:-1|0||"_s);
        QVERIFY(mensajes.size() == 3 && mensajes[2].Texto.contains(u"fila 3 CBR"));

        VentanaUnidades ejemplo;
        QVERIFY(!LeerProyectoDesde(ejemplo.modulo, VAREK9_EJEMPLOS u"/Ejemplo.vk9"_s).HayAviso);
        ejemplo.Abrir();
        QVERIFY(!ejemplo.modulo.ProyectoModificado && ejemplo.plataforma.Mensajes.isEmpty());
    }

    void editores() {
        VentanaUnidades e;
        UnidadHomogenea u = UnidadTramo("K1", 1234.5, 2000);
        u.EjesEquivalentes = 150000;
        u.CBR = 4.25;
        u.Descripcion = u"Acceso"_s;
        PonerUnidades(e.modulo.Proyecto, {u});
        frmUnidadesHomogeneas& v = e.Abrir();
        QLineEdit* txt = e.Texto();
        // Escribir en la grilla abre el editor con lo escrito.
        e.Ir(2, 1);
        e.Escribir(u"a"_s);
        QCOMPARE(e.Celda(2, 1), u"A"_s);
        // Nada llega al proyecto hasta la revisión.
        QVERIFY(txt->isVisible() && !e.G().Barras() && !v.TablaRevisada() &&
                e.modulo.ProyectoModificado && e.modulo.Proyecto.NumeroUH == 1);
        // Escape devuelve el valor con que se llegó y el editor sigue abierto.
        e.Tecla(Qt::Key_Escape);
        QVERIFY(e.Celda(2, 1) == QString() && txt->isVisible() && v.isVisible());
        e.Escribir(u"k2"_s);
        e.Tecla(Qt::Key_Return);
        QVERIFY(!txt->isVisible() && e.G().Barras() && v.TablaRevisada());
        QCOMPARE(e.modulo.Proyecto.UH[2].CodigoTramo, u"K2"_s);
        // Un carácter que no abre editor no hace nada.
        e.Escribir(u"*"_s);
        QVERIFY(!txt->isVisible());

        // En una columna de lista, lo escrito abre la lista.
        e.Ir(1, 9);
        e.Escribir(u"7"_s);
        QComboBox* humedad = e.Lista(9);
        QVERIFY(humedad->isVisible() && humedad->currentText() == u"Arido");
        // Las flechas de la lista cambian la celda; Escape vuelve al valor de
        // llegada y la lista sigue abierta.
        e.Tecla(Qt::Key_Down);
        QCOMPARE(e.Celda(1, 9), u"Semiarido"_s);
        e.Tecla(Qt::Key_Escape);
        QVERIFY(e.Celda(1, 9) == u"Arido" && humedad->isVisible());
        e.Tecla(Qt::Key_Return);
        QVERIFY(!humedad->isVisible() && e.Cursor() == QPoint(10, 1));

        e.Ir(1, 3);
        e.Escribir(u"s"_s);
        QCOMPARE(e.Lista(3)->currentText() + u'|' + e.Celda(1, 3), u"1. Sobre vía existente|1"_s);
        e.Tecla(Qt::Key_Down);
        QCOMPARE(e.Celda(1, 3), u"2"_s);
        e.Tecla(Qt::Key_Return);
        QCOMPARE(e.modulo.Proyecto.UH[1].TipoTramo, u"2"_s);

        // F2 elige la entrada que empieza con la celda.
        e.Tecla(1, 13, Qt::Key_F2);
        QCOMPARE(e.Lista(13)->currentText(), u"No hay"_s);
        e.Escribir(u"a"_s);
        QCOMPARE(e.Celda(1, 13), u"AFR-1"_s);
        e.Tecla(Qt::Key_Return);
        QCOMPARE(e.modulo.Proyecto.UH[1].TipoAfirmado, u"AFR-1"_s);

        // F2 abre el editor con el número exacto de la celda.
        e.Tecla(1, 8, Qt::Key_F2);
        QVERIFY(txt->isVisible() && txt->text() == u"150000");
        // Escribir reemplaza todo el valor.
        e.Escribir(u"9"_s);
        QCOMPARE(e.Celda(1, 8), u"9.00E+00"_s);
        e.Tecla(Qt::Key_PageDown);
        QVERIFY(e.G().Fila() == 1 && e.modulo.Proyecto.UH[1].EjesEquivalentes == 9);

        // Doble clic: lo mismo que F2.
        e.Clic(1, 2, true);
        QVERIFY(txt->isVisible() && e.G().Columna() == 2 && txt->text() == u"Acceso");
        // Un clic en otra celda cierra el editor.
        e.Clic(3, 3);
        QVERIFY(!txt->isVisible() && e.G().Fila() == 3);
    }

    void continuacionDeTramo() {
        VentanaUnidades e;
        UnidadHomogenea k1 = UnidadTramo("K1", 1000, 1250);
        k1.Descripcion = u"primero"_s;
        k1.TipoSegmento = u"C"_s;
        k1.CBR = 6.5;
        k1.ClimaHumedad = u"Humedo"_s;
        PonerUnidades(e.modulo.Proyecto, {UnidadTramo("A", 0, 5), UnidadTramo("B", 0, 5), k1});
        e.Abrir();
        e.Escribir(4, 1, u"k1"_s);
        QVERIFY(e.modulo.Proyecto.NumeroUH == 4 && e.Celda(4, 6) == u"1,350.00"_s);
        QCOMPARE(e.Resumen(4), u"K1||1|C|1250:1350|6.5|Humedo|Plano"_s);

        // Si la fila ya tenía algo (aquí la unidad A), no se copia nada.
        e.Tecla(1, 1, Qt::Key_F2);
        e.Escribir(u"k1"_s);
        e.Tecla(Qt::Key_Return);
        QVERIFY(e.modulo.Proyecto.NumeroUH == 4 && e.Resumen(2) == u"K1||1|A|0:5|0|Arido|Plano"_s);
    }

    void teclasRapidas() {
        VentanaUnidades e;
        UnidadHomogenea a = UnidadTramo("A", 0, 100);
        a.CBR = 5;
        a.N82 = QStringList{"línea"};
        UnidadHomogenea b = UnidadTramo("B", 0, 100);
        b.TipoTerreno = u"Ondulado"_s;
        Proyecto& p = e.modulo.Proyecto;
        PonerUnidades(p, {a, b, UnidadTramo("C", 0, 100), UnidadTramo("D", 300, 450)});
        frmUnidadesHomogeneas& v = e.Abrir();

        // F6 y Ctrl+F6 en la fila 1 no cambian nada.
        e.Tecla(1, 11, Qt::Key_F6);
        e.Tecla(1, 1, Qt::Key_F6, Qt::ControlModifier);
        QVERIFY(e.Celda(1, 11) == u"5.00"_s && e.Celda(1, 1) == u"A"_s);
        QVERIFY(!e.modulo.ProyectoModificado);

        // F6 copia la celda de arriba y revisa.
        e.Tecla(2, 11, Qt::Key_F6);
        QVERIFY(p.UH[2].CBR == 5.0 && v.TablaRevisada() && e.modulo.ProyectoModificado);

        // Ctrl+F6 en una fila con código: la fila de arriba, empezando donde
        // termina la de arriba.
        e.Ir(5, 1);
        e.Escribir(u"e"_s);
        e.Tecla(Qt::Key_Up);
        e.Tecla(5, 1, Qt::Key_F6, Qt::ControlModifier);
        QVERIFY(p.NumeroUH == 5 && e.Resumen(5) == u"D||1|A|450:450|0|Arido|Plano"_s);
        // Fuera de la columna 1 no hace nada.
        e.Tecla(5, 2, Qt::Key_F6, Qt::ControlModifier);
        QCOMPARE(p.NumeroUH, 5);

        // Suprimir el código quita la unidad; sus líneas se van con ella.
        e.Tecla(1, 1, Qt::Key_Delete);
        QVERIFY(p.NumeroUH == 4 && e.Resumen(1) == u"B||1|A|0:100|5|Arido|Ondulado"_s);
        QVERIFY(p.UH[1].N82.isEmpty());
        // Una selección de varias celdas se vacía entera.
        Grilla& g = e.G();
        // Filas 1 y 2, columnas 11 (CBR) y 12 (terreno).
        g.selectionModel()->select(QItemSelection(g.model()->index(0, 10), g.model()->index(1, 11)),
                                   QItemSelectionModel::ClearAndSelect);
        g.setFocus();
        e.Tecla(Qt::Key_Delete);
        QVERIFY(p.NumeroUH == 4 && e.Resumen(1) == u"B||1|A|0:100|0|Arido|"_s);
        QVERIFY(e.Celda(1, 12) == u"Plano"_s && e.Resumen(3) == u"D||1|A|300:450|0|Arido|Plano"_s);
    }

    // Copiar y pegar por el menú "Opciones" o con Ctrl+C y Ctrl+V.
    void portapapeles() {
        VentanaUnidades e;
        PonerUnidades(e.modulo.Proyecto, {UnidadTramo("A", 0, 100), UnidadTramo("B", 0, 100),
                                          UnidadTramo("C", 0, 100)});
        frmUnidadesHomogeneas& v = e.Abrir();
        e.Tecla(3, 4, Qt::Key_C, Qt::ControlModifier);
        // Toda la tabla desde la columna 1, los números con su valor exacto; el
        // cursor va al comienzo.
        const QString copiado = e.plataforma.Portapapeles;
        QVERIFY(copiado.count(u'\n') == 2 && copiado.startsWith(u"A\t\t1\tA\t0\t100\t"_s));
        QCOMPARE(e.Cursor(), QPoint(1, 1));
        e.plataforma.Portapapeles.clear();
        v.findChild<QAction*>(u"mnuOpcion0"_s)->trigger();
        QCOMPARE(e.plataforma.Portapapeles, copiado);

        // Dos líneas con CR LF en la fila 4 llenan las filas 4 y 5.
        e.plataforma.Portapapeles = u"D\tuno\r\nE\tdos\r\n"_s;
        e.Tecla(4, 1, Qt::Key_V, Qt::ControlModifier);
        QVERIFY(e.modulo.Proyecto.NumeroUH == 5 && e.modulo.Proyecto.UH[5].Descripcion == u"dos"_s);
        QVERIFY(e.modulo.ProyectoModificado && v.TablaRevisada());
        QVERIFY(QApplication::overrideCursor() == nullptr);

        // Desde la columna 2 el pegado empieza ahí; luego el cursor va a la 1.
        e.plataforma.Portapapeles = u"cambiada\t2"_s;
        e.Ir(1, 2);
        v.findChild<QAction*>(u"mnuOpcion1"_s)->trigger();
        QVERIFY(e.Resumen(1) == u"A|cambiada|2|A|0:100|0|Arido|Plano"_s && e.G().Columna() == 1);
    }

    // Importar Unidades: la vista previa marca cada celda dudosa antes de que nada
    // cambie; Cancelar no cambia nada, Importar agrega las filas bajo la última
    // unidad como un pegado.
    void importarUnidades() {
        QTemporaryDir dir;
        const QString ruta = dir.filePath(u"tramos.csv"_s);
        QVERIFY(EscribirBytes(ruta, "Observaciones;C\xF3"
                                    "digo Tramo;CBR (%);Ancho Corona (m);"
                                    "Clima Humedad\r\n"
                                    "x;Z1;4,5;7;Humedo\r\n"
                                    "x;Z2;abc;-7;Tropical\r\n"
                                    "x;Z3;150;6;hum\r\n"));
        VentanaUnidades e;
        PonerUnidades(e.modulo.Proyecto, {UnidadTramo("A", 0, 100), UnidadTramo("B", 100, 200)});
        frmUnidadesHomogeneas& v = e.Abrir();
        QStringList vistos;
        const auto revisar = [&](QDialog& d) {
            auto* vista = d.findChild<QTableWidget*>(u"grdVista"_s);
            const auto fondo = [&](int fila, int columna) {
                const QBrush b = vista->item(fila, columna - 1)->background();
                return b.style() == Qt::NoBrush ? QColor() : b.color();
            };
            vistos << d.windowTitle() + d.findChild<QLabel*>(u"lblLectura"_s)->text();
            vistos << QString::number(vista->rowCount()) + u' ' + vista->item(2, 0)->text() + u' ' +
                          vista->verticalHeaderItem(2)->text();
            // Las rechazadas en rojo, la fuera de lo usual en amarillo, las demás sin marca.
            for (const int c : {ColCBR, ColAnchoCorona, ColClimaHumedad})
                QCOMPARE(fondo(1, c), frmImportarUH::ColorRechazada());
            QCOMPARE(fondo(2, ColCBR), frmImportarUH::ColorDudosa());
            QVERIFY(fondo(0, ColCBR) == QColor() && fondo(2, ColClimaHumedad) == QColor());
            QVERIFY(!vista->item(1, ColCBR - 1)->toolTip().isEmpty());
            vistos << d.findChild<QPlainTextEdit*>(u"txtHallazgos"_s)->toPlainText();
        };
        // Cancelar: con el botón.
        e.plataforma.RutasAbrir << ruta;
        e.plataforma.Modales << [&](QDialog& d) {
            revisar(d);
            d.findChild<QPushButton*>(u"btnCancelar"_s)->click();
            return d.result();
        };
        v.findChild<QAction*>(u"mnuOpcion2"_s)->trigger();
        QCOMPARE(e.plataforma.VentanasModales, QStringList{u"frmImportarUH"_s});
        QVERIFY(!e.modulo.ProyectoModificado && e.modulo.Proyecto.NumeroUH == 2 &&
                vistos.size() == 3);
        QVERIFY2(
            vistos[0].startsWith(u"Importar Unidades [tramos.csv]CSV separado por \";\", en "
                                 u"Windows-1252. Columnas por su "
                                 "título: \"Código Tramo\" → Código Tramo, \"CBR (%)\" → CBR"_s),
            qPrintable(vistos[0]));
        QVERIFY(vistos[0].contains(u"con la coma como separador decimal"_s));
        QVERIFY(vistos[0].endsWith(u"Se agregan 3 unidades bajo la unidad 2."_s));
        QCOMPARE(vistos[1], u"3 Z3 4"_s);
        QVERIFY(
            vistos[2].startsWith(u"No se toman estas columnas del archivo: \"Observaciones\"."_s));
        QVERIFY(vistos[2].contains(u"fila 3, CBR: \"abc\" no es un número"_s));

        // Importar: con Enter, el botón por defecto.
        e.plataforma.RutasAbrir << ruta;
        e.plataforma.Modales << [&](QDialog& d) {
            QTest::keyClick(d.focusWidget() ? d.focusWidget() : &d, Qt::Key_Return);
            return d.result();
        };
        v.findChild<QAction*>(u"mnuOpcion2"_s)->trigger();
        QVERIFY(e.modulo.ProyectoModificado && e.modulo.Proyecto.NumeroUH == 5);
        QCOMPARE(e.Resumen(3), u"Z1||||0:0|4.5|Humedo|"_s);
        QCOMPARE(e.Resumen(5), u"Z3||||0:0|150|Humedo|"_s);
        // La revisión no toma el ancho negativo y lo dice, como tras un pegado.
        QCOMPARE(e.modulo.Proyecto.UH[4].AnchoCorona, 0.0);
        QCOMPARE(e.Cursor(), QPoint(ColCodigoTramo, 3));

        // Un archivo que no es de unidades: la vista lo dice y no deja importar.
        const QString vacio = dir.filePath(u"vacio.csv"_s);
        QVERIFY(EscribirBytes(vacio, "Descripcion;CBR\r\nx;4\r\n"));
        e.plataforma.RutasAbrir << vacio;
        bool habilitado = true;
        e.plataforma.Modales << [&](QDialog& d) {
            habilitado = d.findChild<QPushButton*>(u"btnImportar"_s)->isEnabled();
            QTest::keyClick(&d, Qt::Key_Escape);
            return d.result();
        };
        v.findChild<QAction*>(u"mnuOpcion2"_s)->trigger();
        QVERIFY(!habilitado && e.modulo.Proyecto.NumeroUH == 5);
    }

    // Salir y cerrar llevan antes lo escrito al proyecto con el editor todavía
    // abierto; Escape en la grilla también cierra (dentro del editor solo deshace).
    void salir() {
        // Por el menú Salir, al cerrar la ventana y con Escape en la grilla.
        for (int via = 0; via < 3; ++via) {
            VentanaUnidades e;
            frmUnidadesHomogeneas& v = e.Abrir();
            e.Ir(1, 1);
            e.Escribir(u"x"_s);
            if (via == 0) v.findChild<QAction*>(u"Menu1"_s)->trigger();
            if (via == 1) v.close();
            if (via == 2) {
                e.Tecla(Qt::Key_Return);
                QVERIFY(e.G().hasFocus());
                e.Tecla(Qt::Key_Escape);
            }
            QVERIFY(!v.isVisible() && e.modulo.Proyecto.NumeroUH == 1);
            QVERIFY(e.modulo.ProyectoModificado && e.modulo.Proyecto.UH[1].CodigoTramo == u"X"_s);
        }
    }

    void botonesTransitoYClima() {
        ConProgramas e;
        frmUnidadesHomogeneas& v = e.Abrir();
        const auto visibles = [&] {
            QList<int> lista;
            for (int k = 8; k <= 11; ++k)
                if (e.Boton(k)->isVisible()) lista << k;
            return lista;
        };
        QCOMPARE(visibles(), QList<int>{});
        // Junto a la celda, a su altura y dentro de la grilla.
        for (int k = 8; k <= 11; ++k) {
            e.Ir(2, k);
            QCOMPARE(visibles(), QList<int>{k});
            // Con lugar a la derecha, su borde izquierdo sigue al derecho de la celda.
            const QRect celda = v.RectanguloCeldaActual(), boton = e.Boton(k)->geometry();
            QCOMPARE(QLine(boton.topLeft(), boton.bottomLeft()),
                     QLine(celda.topRight(), celda.bottomRight()).translated(1, 0));
            QVERIFY(QRect(e.G().viewport()->mapTo(&v, QPoint(0, 0)), e.G().viewport()->size())
                        .contains(boton));
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
        e.Responder("varek-9\r\n 250000 \r\n", u"varek-9.tto"_s, {"TPD 350", "Crecimiento 3 %"});
        QVERIFY(e.Pulsar(1, ColEjesEquivalentes) && e.Ejecutable == NombreEjecutable(u"Transito"));
        QCOMPARE(e.plataforma.VentanasModales.last(), u"frmProgramas"_s);
        QCOMPARE(e.Argumentos, QStringList{"varek-9,N1,SinPresentacion,Seleccionar"});
        QCOMPARE(e.UnidadVista, QByteArray(" 1 \r\nK1\r\n 1250.5 \r\n 1350 \r\n"));
        QVERIFY(!e.ArchivosVistos.contains(u"varek-9.tto"_s) && e.plataforma.Mensajes.isEmpty());
        QCOMPARE(e.Transito(1), (QStringList{"2.50E+05", "TPD 350", "Crecimiento 3 %"}));

        // Con líneas (y con F4) se entregan las de la unidad y vuelven las del programa;
        // la codificación y las 250 líneas se prueban con el protocolo.
        e.modulo.Proyecto.UH[1].N82 = QStringList{"Año 2024: ñandú", "", "fin"};
        e.Responder("varek-9\r\n 1.2345E+06 \r\n", u"varek-9.tto"_s, {"nueva"});
        QVERIFY(e.Pulsar(1, ColEjesEquivalentes, true));
        QCOMPARE(e.LineasEntregadas, QByteArray("A\xf1o 2024: \xf1\x61nd\xfa\r\n\r\nfin\r\n"));
        QCOMPARE(e.Transito(1), (QStringList{"1.23E+06", "nueva"}));
        // Las líneas de las otras unidades y los otros campos no se tocan.
        QVERIFY(e.modulo.Proyecto.UH[1].CLIMA.isEmpty() && e.modulo.Proyecto.UH[2].N82.isEmpty());

        // El clima: por humedad y por temperatura.
        const QByteArray clima =
            "varek-9\r\n 1200 \r\n 900 \r\nHumedo\r\n 33.3 \r\n 21 \r\nTemplado\r\n";
        const QStringList lineas{"P 1200", "ETP 900", "T 21"};

        // Fila sin unidad: la celda de temperatura está vacía y también se llena.
        e.Responder(clima, u"varek-9.cli"_s, lineas);
        QVERIFY(e.Pulsar(3, ColClimaHumedad) && e.Ejecutable == NombreEjecutable(u"Clima"));
        QCOMPARE(e.UnidadVista, QByteArray(" 3 \r\n\r\n 0 \r\n 0 \r\n"));
        QCOMPARE(e.Clima(3), u"Humedo|Templado|P 1200/ETP 900/T 21"_s);

        // Con la temperatura llena solo cambia la humedad.
        QVERIFY(e.Pulsar(1, ColClimaHumedad) && e.Clima(1) == u"Humedo|Frio|P 1200/ETP 900/T 21"_s);

        // El botón de temperatura (con F4) cambia solo la temperatura y entrega las líneas.
        e.modulo.Proyecto.UH[2].CLIMA = QStringList{"antes"};
        QVERIFY(e.Pulsar(2, ColClimaTemperatura, true));
        QCOMPARE(e.Clima(2), u"Arido|Templado|P 1200/ETP 900/T 21"_s);
        QVERIFY(e.LineasEntregadas == QByteArray("antes\r\n") && e.Sobrantes() == QStringList());
        QVERIFY(e.modulo.ProyectoModificado);
    }

    // Tras un resultado, dejar la celda (o la ventana) lo lleva a la unidad junto
    // con sus líneas: nunca quedan las líneas nuevas con el valor viejo.
    void resultadoAlDejarLaCelda() {
        ConProgramas e;
        frmUnidadesHomogeneas& v = e.Abrir();
        // Abajo (las flechas, las páginas y Tab mueven la celda por el mismo camino),
        // Ctrl+Inicio, Ctrl+Fin, un clic y, al final, Escape que sale.
        const QList<QKeyCombination> teclas{Qt::Key_Down, Qt::ControlModifier | Qt::Key_Home,
                                            Qt::ControlModifier | Qt::Key_End, Qt::Key_unknown,
                                            Qt::Key_Escape};
        double antes = 80000;
        for (const QKeyCombination tecla : teclas) {
            const double valor = antes + 371233;
            e.Responder("varek-9\r\n " + QByteArray::number(valor, 'f', 0) + " \r\n",
                        u"varek-9.tto"_s, {QString::number(valor)});
            QVERIFY(e.Pulsar(2, ColEjesEquivalentes));
            QVERIFY(e.modulo.Proyecto.UH[2].EjesEquivalentes == antes);
            tecla.key() == Qt::Key_unknown
                ? e.Clic(1, ColCodigoTramo)
                : QTest::keyClick(&e.G(), tecla.key(), tecla.keyboardModifiers());
            QCOMPARE(v.isVisible(), tecla.key() != Qt::Key_Escape);
            // Llega el valor exacto del programa, no el que muestra la celda (4.51E+05).
            QVERIFY(e.modulo.Proyecto.UH[2].EjesEquivalentes == valor);
            QCOMPARE(e.modulo.Proyecto.UH[2].N82, QStringList{QString::number(valor)});
            antes = valor;
        }
    }

    // El programa de módulo en las dos unidades, y lo que hace la ventana con lo que
    // deja (o no deja) en cada vuelta; después, las filas más allá de la capacidad
    // y un editor abierto al pulsar.
    void programaCapacidadYEditorAbierto() {
        ConProgramas e;
        e.modulo.Proyecto.UH[1].MR = QStringList{"ensayo 1", "ensayo 2"};
        e.modulo.Proyecto.UH[2].MR = QStringList{"ensayo 1"};
        e.modulo.Proyecto.UH[2].N82 = QStringList{"viejo"};
        frmUnidadesHomogeneas& v = e.Abrir();
        // Se cancela: lee lo entregado y no deja resultado; nada cambia.
        e.Programa = [](const QString&) { EscribirBytes(u"varek-9.mr"_s, "otra cosa\r\n"); };
        const UnidadHomogenea antes = e.modulo.Proyecto.UH[1];
        QVERIFY(e.Pulsar(1, ColCBR) && e.Ejecutable == NombreEjecutable(u"Mr"));
        QCOMPARE(e.LineasEntregadas, QByteArray("ensayo 1\r\nensayo 2\r\n"));
        QCOMPARE(e.Celda(1, ColCBR), u"4.00"_s);
        QVERIFY(e.modulo.Proyecto.UH[1] == antes && v.TablaRevisada());
        QVERIFY(!e.modulo.ResultadoPrograma.HayResultado && e.Sobrantes() == QStringList());
        QVERIFY(e.plataforma.Mensajes.isEmpty());

        // Las líneas vuelven con la Referencia que informó el programa; el archivo
        // entregado tampoco queda atrás.
        e.Responder("otra\r\n 6.5 \r\n", u"otra.mr"_s, {"CBR 6.5"});
        QVERIFY(e.Pulsar(2, ColCBR) && e.ArchivosVistos.contains(u"varek-9.mr"_s));
        QCOMPARE(e.Celda(2, ColCBR), u"6.50"_s);
        QCOMPARE(e.modulo.Proyecto.UH[2].MR, QStringList{"CBR 6.5"});

        // Un programa que consume las líneas entregadas y no devuelve ninguna deja
        // el campo vacío.
        e.Programa = [](const QString& x) {
            QFile::remove(u"varek-9.tto"_s);
            EscribirBytes(x + u".RES"_s, "varek-9\r\n 5000 \r\n");
        };
        QVERIFY(e.Pulsar(2, ColEjesEquivalentes) && e.ArchivosVistos.contains(u"varek-9.tto"_s));
        QCOMPARE(e.Transito(2), QStringList{"5.00E+03"});

        // Un pegado sin códigos en la fila 999 agrega filas, pero no unidades.
        e.plataforma.Portapapeles = u"x\ny\nz"_s;
        e.Ir(999, ColDescripcion);
        v.PegarDelPortapapeles();
        QVERIFY(e.G().Filas() == 1002 && e.modulo.Proyecto.CapacidadUH() == 1000);

        e.Responder("varek-9\r\n 250000 \r\n");
        const qsizetype iniciados = e.plataforma.ProgramasIniciados.size();
        QVERIFY(e.Pulsar(1000, ColEjesEquivalentes)); // la última fila con unidad posible
        QVERIFY(!e.Pulsar(1001, ColEjesEquivalentes) && !e.Pulsar(1001, ColCBR, true));
        QCOMPARE(e.plataforma.ProgramasIniciados.size(), iniciados + 1);
        QVERIFY(e.Celda(1001, ColEjesEquivalentes) == QString() && e.Sobrantes() == QStringList());
        QVERIFY(e.plataforma.Mensajes.isEmpty());

        // Un editor abierto se cierra antes del programa (aquí el lanzador se cierra
        // sin resultado).
        QLineEdit* txtUH = e.Texto();
        e.Ir(2, ColEjesEquivalentes);
        QTest::keyClick(&e.G(), Qt::Key_1);
        QVERIFY(txtUH->isVisible());
        QTest::mouseClick(e.Boton(ColEjesEquivalentes), Qt::LeftButton);
        QVERIFY(!txtUH->isVisible() && v.focusWidget() == &e.G());
        QCOMPARE(e.Celda(2, ColEjesEquivalentes), u"1.00E+00"_s);
    }

    // Un archivo de intercambio que no se puede escribir, leer o borrar (en su
    // lugar hay una carpeta) se dice y ni la celda ni la unidad cambian. Después,
    // sin el estorbo, el botón vuelve a funcionar.
    void archivosQueNoSePuedenUsar_data() {
        // antes: carpeta puesta antes de pulsar; deja: carpeta que deja el programa.
        Columnas<QString, QString, QString>({"antes", "deja", "mensaje"});
        QTest::newRow("unidad sin escribir")
            << "varek-9.abs" << QString() << "escribir el archivo de intercambio [varek-9.abs]";
        QTest::newRow("líneas sin escribir")
            << "varek-9.tto" << QString() << "escribir el archivo de intercambio [varek-9.tto]";
        QTest::newRow("líneas sin leer") << QString() << "varek-9.tto"
                                         << "leer el archivo de intercambio [varek-9.tto]";
        QTest::newRow("unidad sin borrar") << QString() << "varek-9.abs"
                                           << "borrar el archivo de intercambio [varek-9.abs]";
    }
    void archivosQueNoSePuedenUsar() {
        TOMAR((antes, deja, mensaje), QString, QString, QString);
        ConProgramas e;
        e.modulo.Proyecto.UH[1].N82 = QStringList{"uno"};
        frmUnidadesHomogeneas& v = e.Abrir();
        const UnidadHomogenea original = e.modulo.Proyecto.UH[1];
        if (!antes.isEmpty()) QVERIFY(QDir().mkdir(antes));
        e.Programa = [&](const QString& x) {
            EscribirBytes(x + u".RES"_s, "varek-9\r\n 250000 \r\n");
            EscribirBytes(u"varek-9.tto"_s, "nueva\r\n");
            if (deja.isEmpty()) return;
            QFile::remove(deja);
            QDir().mkdir(deja);
        };
        QCOMPARE(e.Pulsar(1, ColEjesEquivalentes), antes.isEmpty());
        QCOMPARE(e.plataforma.ProgramasIniciados.size(), antes.isEmpty() ? 1 : 0);
        const QList<MensajeRegistrado>& mensajes = e.plataforma.Mensajes;
        QVERIFY(mensajes.size() == 1 && mensajes[0].Icono == IconoMensaje::Critico);
        QVERIFY2(mensajes[0].Texto.contains(mensaje), qPrintable(mensajes[0].Texto));
        QVERIFY(v.isVisible() && v.TablaRevisada() && e.modulo.Proyecto.UH[1] == original);
        QCOMPARE(e.Celda(1, ColEjesEquivalentes), u"8.00E+04"_s);
        // Solo queda el estorbo (si la unidad no se pudo borrar, queda también el de líneas).
        if (deja != u"varek-9.abs") QCOMPARE(e.Sobrantes(), QStringList{antes + deja});

        QVERIFY(QDir().rmdir(antes + deja));
        e.Responder("varek-9\r\n 250000 \r\n", u"varek-9.tto"_s, {"nueva"});
        QVERIFY(e.Pulsar(1, ColEjesEquivalentes) && mensajes.size() == 1);
        QCOMPARE(e.Transito(1), (QStringList{"2.50E+05", "nueva"}));
    }

    void modeloYTextos() {
        GrillaSola e(5, 4);
        Grilla& g = *e.grilla;
        QAbstractItemModel* m = g.model();
        QAbstractItemModelTester probador(m,
                                          QAbstractItemModelTester::FailureReportingMode::QtTest);
        QVERIFY(m->rowCount() == 4 && m->columnCount() == 3);
        g.PonerTexto(2, 3, u"x"_s);
        QCOMPARE(e.Indice(2, 3).data().toString(), u"x"_s);
        QCOMPARE(m->headerData(1, Qt::Horizontal).toString(), u"C2"_s);
        QCOMPARE(m->headerData(3, Qt::Vertical).toString(), u"4"_s);
        // Fuera de la grilla no se lee ni se escribe nada.
        g.PonerTexto(9, 9, u"y"_s);
        QCOMPARE(g.Texto(9, 9), QString());

        // Crecer conserva textos; las filas nuevas vienen vacías.
        g.PonerFilas(8);
        QVERIFY(g.Filas() == 8 && g.Texto(2, 3) == u"x"_s && g.Texto(7, 0).isEmpty());
        g.PonerColumnas(6);
        QVERIFY(g.Texto(2, 3) == u"x"_s && g.Textos().size() == 8 * 6);

        // Dos filas fijas: el modelo ve solo las demás.
        g.PonerFijas(2, 1);
        QVERIFY(m->rowCount() == 6 && g.Fila() == 2);
        g.PonerTexto(1, 3, u"y"_s);
        QCOMPARE(m->headerData(2, Qt::Horizontal).toString(), u"C3\ny"_s);
        QCOMPARE(e.Indice(2, 3).data().toString(), u"x"_s);
        g.PonerTextos(3, 3, QList<QString>(9, u"t"_s));
        QCOMPARE(m->rowCount(), 1);
    }

    void celdasTeclasRatonColoresDesplazamientoYFijas() {
        GrillaSola e;
        Grilla& g = *e.grilla;
        g.PonerAnchoColumna(0, 30);
        g.PonerAnchoColumna(2, 77);
        g.PonerAltoFilaFija(0, 3 * g.AltoNormal());
        QApplication::processEvents();
        const QRect celda = g.RectanguloCelda(3, 2);
        // La celda con su línea de la grilla a la derecha y abajo.
        QCOMPARE(celda.size(), QSize(77, g.AltoNormal()));
        QCOMPARE(celda.topLeft(),
                 g.visualRect(e.Indice(3, 2)).translated(g.viewport()->pos()).topLeft());
        // Las fijas: la columna 0 a la izquierda de la vista, la fila 0 encima.
        QCOMPARE(g.RectanguloCelda(3, 0).right() + 1, g.viewport()->x());
        QCOMPARE(g.RectanguloCelda(0, 2).bottom() + 1, g.viewport()->y());
        QCOMPARE(g.RectanguloCelda(0, 0).size(), QSize(30, 3 * g.AltoNormal()));

        // Mayús+flecha extiende la selección desde la celda puesta por programa.
        g.setFocus();
        QTest::keyClick(&g, Qt::Key_Right);
        g.PonerCelda(4, 2);
        QCOMPARE(g.Seleccion(), QRect(2, 4, 1, 1));
        QTest::keyClick(&g, Qt::Key_Down, Qt::ShiftModifier);
        QCOMPARE(g.Seleccion(), QRect(2, 4, 1, 2));

        g.PonerCelda(1, 1);
        QSignalSpy pulsadas(&g, &Grilla::TeclaPulsada), clics(&g, &Grilla::Clic),
            dobles(&g, &Grilla::DobleClic);
        // Sin nadie que la atienda, la flecha mueve el cursor.
        QTest::keyClick(&g, Qt::Key_Down);
        QCOMPARE(g.Fila(), 2);
        // Atendida como tecla abajo, la grilla no la mueve.
        auto conexion = connect(&g, &Grilla::TeclaAbajo, &g, [](QKeyEvent* evento) {
            if (evento->key() == Qt::Key_Down) evento->accept();
        });
        QTest::keyClick(&g, Qt::Key_Down);
        QCOMPARE(g.Fila(), 2);
        disconnect(conexion);
        // Un carácter llega como tecla pulsada y no busca en la grilla.
        QTest::keyClick(&g, Qt::Key_9, Qt::NoModifier);
        QVERIFY(pulsadas.size() == 1 && pulsadas.first().first().toString() == u"9"_s);
        QCOMPARE(g.Fila(), 2);
        QTest::keyClick(&g, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(pulsadas.size(), 1);

        // El doble clic trae un clic (el primero) y no otro al soltar.
        const QPoint centro = g.visualRect(e.Indice(5, 3)).center();
        QTest::mouseClick(g.viewport(), Qt::LeftButton, Qt::NoModifier, centro);
        QTest::mouseDClick(g.viewport(), Qt::LeftButton, Qt::NoModifier, centro);
        QVERIFY(QPoint(g.Columna(), g.Fila()) == QPoint(3, 5) && dobles.size() == 1);
        QCOMPARE(clics.size(), 1);

        const QColor amarillo(255, 255, 192);
        g.PonerAlineacionColumna(2, Qt::AlignRight);
        QCOMPARE(g.Alineacion(0, 2), Qt::Alignment(Qt::AlignCenter));
        g.PonerAlineacion(5, 2, Qt::AlignLeft | Qt::AlignVCenter);
        for (const auto& [fila, alineacion] : {std::pair{5, Qt::AlignLeft}, {6, Qt::AlignRight}})
            QCOMPARE(e.Indice(fila, 2).data(Qt::TextAlignmentRole).toInt(),
                     int(alineacion | Qt::AlignVCenter));

        for (int c = 1; c < g.Columnas(); ++c)
            g.PonerColorFondo(1, c, amarillo);
        g.PonerColorTexto(2, 2, Qt::red);
        QCOMPARE(e.Indice(2, 2).data(Qt::ForegroundRole).value<QBrush>().color(), QColor(Qt::red));
        QVERIFY(!e.Indice(2, 3).data(Qt::BackgroundRole).isValid());
        QApplication::processEvents();
        // Se pinta el color, también en la celda actual (sola no se ve como
        // seleccionada).
        const auto pixel = [&](int c) {
            return g.grab().toImage().pixelColor(g.RectanguloCelda(1, c).bottomRight() -
                                                 QPoint(5, 4));
        };
        QVERIFY(pixel(1) == amarillo && pixel(3) == amarillo);
        g.PonerColorFondo(1, 3, QColor());
        QVERIFY(pixel(3) != amarillo);

        QSignalSpy cambios(&g, &Grilla::CeldaCambiada);
        g.PonerCelda(80, 3);
        // Mover el cursor no desplaza: la fila 80 no se ve hasta ponerla arriba.
        QVERIFY(cambios.size() == 1 && g.Fila() == 80 && g.FilaSuperior() == 1);
        QVERIFY(!g.FilaVisible(80) && g.FilaVisible(1) && g.FilaVisible(0));
        g.PonerFilaSuperior(80);
        QVERIFY(g.FilaVisible(80) && !g.FilaVisible(1));
        // Las celdas fijas no se pueden elegir.
        g.PonerCelda(0, 0);
        QCOMPARE(QPoint(g.Columna(), g.Fila()), QPoint(1, 1));

        // Cambiar todos los textos conserva celda y fila superior.
        g.PonerCelda(60, 2);
        g.PonerFilaSuperior(55);
        cambios.clear();
        QList<QString> textos = g.Textos();
        textos[qsizetype(60) * g.Columnas() + 2] = u"nuevo"_s;
        g.PonerTextos(g.Filas(), g.Columnas(), textos);
        QVERIFY(g.Texto(60, 2) == u"nuevo"_s && g.Fila() == 60 && g.FilaSuperior() == 55);
        // Aunque cambien las dimensiones.
        textos.resize(qsizetype(120) * g.Columnas());
        g.PonerTextos(120, g.Columnas(), textos);
        QVERIFY(g.Filas() == 120 && QPoint(g.Columna(), g.Fila()) == QPoint(2, 60));
        QVERIFY(g.FilaSuperior() == 55 && cambios.isEmpty());

        // Sin barras la rueda tampoco desplaza.
        const auto rueda = [&] {
            const QPointF p(50, 50);
            QWheelEvent evento(p, g.viewport()->mapToGlobal(p), QPoint(), QPoint(0, -120),
                               Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
            QApplication::sendEvent(g.viewport(), &evento);
        };
        g.PonerBarras(false);
        rueda();
        QCOMPARE(g.FilaSuperior(), 55);
        g.PonerBarras(true);
        rueda();
        QVERIFY(g.FilaSuperior() > 55);

        // Celdas fijas combinadas por su texto.
        g.PonerFijas(2, 1);
        for (int c = 1; c <= 4; ++c)
            g.PonerTexto(0, c, c <= 3 ? u"Grupo"_s : u"Otro"_s);
        g.PonerTexto(0, 0, u"#"_s);
        g.PonerTexto(1, 0, u"#"_s);
        QApplication::processEvents();
        // Sin combinar cada celda es la suya.
        QCOMPARE(g.RectanguloCombinado(0, 2), g.RectanguloCelda(0, 2));
        g.PonerCombinarFila(0, true);
        QCOMPARE(g.RectanguloCombinado(0, 2), g.RectanguloCelda(0, 1) | g.RectanguloCelda(0, 3));
        QCOMPARE(g.RectanguloCombinado(0, 4), g.RectanguloCelda(0, 4));
        // La columna fija no se une a las demás aunque tenga el mismo texto.
        g.PonerTexto(0, 1, u"#"_s);
        QCOMPARE(g.RectanguloCombinado(0, 0), g.RectanguloCelda(0, 0));
        g.PonerCombinarColumna(0, true);
        QCOMPARE(g.RectanguloCombinado(1, 0), g.RectanguloCelda(0, 0) | g.RectanguloCelda(1, 0));
        // Las celdas vacías no se combinan.
        QCOMPARE(g.RectanguloCombinado(1, 3), g.RectanguloCelda(1, 3));
    }

    void rutinasComunes() {
        GrillaSola e(30, 5);
        Grilla& g = *e.grilla;
        QCOMPARE(g.Texto(29, 0), u"29"_s);

        // En la última celda Enter vuelve a la columna 1 sin bajar.
        g.PonerCelda(29, 4);
        MoverCeldaTrasTecla(g, Qt::Key_Enter);
        QCOMPARE(QPoint(g.Columna(), g.Fila()), QPoint(1, 29));
        // La fila que no se veía pasó a ser la superior (hasta donde se puede bajar).
        QVERIFY(g.FilaVisible(29) && g.FilaSuperior() > 1);
        MoverCeldaTrasTecla(g, Qt::Key_Down);
        QCOMPARE(g.Fila(), 29);
        g.PonerCelda(1, 2);
        MoverCeldaTrasTecla(g, Qt::Key_Up);
        QVERIFY(g.Fila() == 1 && g.FilaSuperior() == 1);

        // Editores sobre la celda, hermanos de la grilla; la lista más ancha.
        auto* texto = new QLineEdit(&e.ventana);
        texto->setObjectName(u"txtPrueba"_s);
        auto* lista = new QComboBox(&e.ventana);
        lista->setObjectName(u"lstPrueba"_s);
        g.PonerCelda(3, 2);
        UbicarObjetoEnCelda(*texto, g);
        UbicarObjetoEnCelda(*lista, g);
        const QRect celda = g.RectanguloCelda(3, 2).translated(g.pos());
        QCOMPARE(texto->geometry(), celda);
        QCOMPARE(lista->geometry(), celda.adjusted(0, 0, PixelesDeTwips(250, &g), 0));

        // Anchos de diseño: exactos con una letra angosta, más anchos con una
        // letra de cifras anchas, en proporción al ancho de la cifra.
        QFont letra = g.font();
        letra.setPixelSize(6);
        g.setFont(letra);
        QCOMPARE(g.EscalaTwips(), 1.0);
        g.PonerAnchoColumnaTwips(2, 1440);
        QCOMPARE(g.AnchoColumna(2), g.logicalDpiX());
        letra.setPixelSize(30);
        g.setFont(letra);
        const double escala = g.fontMetrics().horizontalAdvance(QChar(u'0')) / 6.0;
        QVERIFY(escala > 2 && g.EscalaTwips() == escala);
        g.PonerAnchoColumnaTwips(2, 900);
        QCOMPARE(g.AnchoColumna(2), qRound(60 * escala));
    }
};

VAREK9_REGISTRAR_PRUEBA(PruebasfrmUnidadesHomogeneas)
#include "PruebasfrmUnidadesHomogeneas.moc"
