// Ventana principal con la plataforma con guion: arranque, comandos del proyecto,
// preguntas de guardar, botones y documentos. Propiedades del proyecto con teclado y
// ratón (Zr y So en vivo, límites al salir de los números, descripción de varias
// líneas, el cuadro, aceptar y salir), la presentación del programa y las rutinas de
// ventana (centrar, seleccionar al entrar, Enter como Tab y elegir en una lista).
#include "Pruebas.h"

#include "ApoyoVentanas.h"
#include "app/Historial.h"
#include "app/frmAbout.h"
#include "app/frmProyecto.h"
#include "app/frmVarek9.h"
#include "common/EntradaDatos.h"
#include "common/TraduccionQt.h"
#include "common/VentanasLibzrl.h"
#include "companions/Programas.h"
#include "project/SesionProyecto.h"
#include "units/frmUnidadesHomogeneas.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <QSysInfo>
#include <QTimer>
#include <QTranslator>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

// Cada prueba en una carpeta vacía propia, con su directorio de sistema aparte.
struct Escenario : CarpetaGuionada {
    QTemporaryDir sistema;
    ModuloVarek9 modulo;
    std::unique_ptr<frmVarek9> ventana;

    Escenario() {
        qputenv("VAREK9_DIR_SISTEMA", sistema.path().toLocal8Bit());
        // La carpeta de datos es la de prueba de Qt: ninguna copia pasa de una prueba a otra.
        QDir(CarpetaRecuperacionDatos()).removeRecursively();
    }

    // Crea la ventana, la muestra y espera la primera activación.
    frmVarek9& Abrir(const QString& lineaComando = QString()) {
        ventana = std::make_unique<frmVarek9>(modulo, plataforma, lineaComando);
        ventana->show();
        // Quien llama verifica YaActivado(): aquí no se puede usar QVERIFY.
        static_cast<void>(QTest::qWaitFor([this] { return ventana->YaActivado(); }, 5000));
        return *ventana;
    }
    QAction* Accion(const QString& nombre) { return ventana->findChild<QAction*>(nombre); }
    void Menu(int entrada) { Accion(u"mnuProyecto%1"_s.arg(entrada))->trigger(); }
    static QString Aqui(const QString& nombre) { return QDir::current().filePath(nombre); }
    // La ruta que elegirá el próximo diálogo de guardar.
    void GuardarComo(const QString& nombre) { plataforma.RutasGuardar.enqueue(Aqui(nombre)); }
    // El último mensaje como "TÍTULO: texto".
    QString UltimoMensaje() const { return Avisos().value(plataforma.Mensajes.size() - 1); }
};

// El puntero pasa sobre un control (la plataforma fuera de pantalla no mueve un cursor).
void MoverRaton(QWidget* control, QPointF centro = QPointF(-1, -1)) {
    if (centro.x() < 0) centro = QRectF(control->rect()).center();
    QMouseEvent movimiento(QEvent::MouseMove, centro, control->mapToGlobal(centro), Qt::NoButton,
                           Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(control, &movimiento);
}

QByteArray ProyectoConNombre(const char* nombre) {
    return QByteArray("[Proyecto]\r\n 1 \r\n") + nombre + "\r\n[FinProyecto]\r\n";
}

QDateTime ElDia(int hora) {
    return QDateTime(QDate(2026, 12, 6), QTime(hora, 0));
}

// Un proyecto con ese nombre, escrito el 06/12/2026 a esa hora.
bool Fechado(const QString& ruta, const char* nombre, int hora) {
    QFile f(ruta);
    return EscribirBytes(ruta, ProyectoConNombre(nombre)) && f.open(QIODevice::Append) &&
           f.setFileTime(ElDia(hora), QFileDevice::FileModificationTime);
}

// Como keyClicks, también con letras fuera del ASCII (í, á, ¦).
void Teclear(QWidget* control, const QString& texto) {
    for (const QChar c : texto)
        QTest::sendKeyEvent(QTest::Click, control, static_cast<Qt::Key>(c.toUpper().unicode()),
                            QString(c), Qt::NoModifier);
}

struct Dialogo {
    PlataformaGuionada plataforma;
    std::unique_ptr<frmProyecto> v;

    explicit Dialogo(ModuloVarek9& m) : v(std::make_unique<frmProyecto>(m, plataforma)) {
        v->show();
        v->activateWindow();
        if (!QTest::qWaitForWindowActive(v.get())) qFatal("ventana sin activar");
    }
    template <class T = QWidget>
    T* Control(const QString& nombre) const {
        return ::Control<T>(*v, nombre);
    }
    // El texto de un campo o de una etiqueta.
    QString Texto(const QString& nombre) const { return Textos(*v, {nombre}); }
    QString Descripcion() const { return Control<QPlainTextEdit>(u"txt1"_s)->toPlainText(); }
    // Entra con un clic (que selecciona todo) y escribe encima.
    void Escribir(const QString& nombre, const QString& texto) const {
        Clic(nombre);
        Teclear(Control(nombre), texto);
    }
    void Enter(const QString& nombre) const { QTest::keyClick(Control(nombre), Qt::Key_Return); }
    void Clic(const QString& nombre) const { QTest::mouseClick(Control(nombre), Qt::LeftButton); }
    // En el borde del cuadro, fuera de sus controles.
    void DobleClicCuadro() const {
        QTest::mouseDClick(Control(u"Cuadro"_s), Qt::LeftButton, {}, QPoint(3, 30));
    }
};

} // namespace

class PruebasfrmVarek9 : public QObject {
    Q_OBJECT
private slots:
    // El proyecto del argumento (una ruta con comas, la que pasa el escritorio, es una
    // sola); sin argumento, el último o "Defecto" (en PruebasArchivoProyecto).
    void arranque_data() {
        // escrito: el proyecto en disco.
        Columnas<QString, QString, QString, QString>({"linea", "escrito", "archivo", "segundo"});
        QTest::newRow("argumento") << u"obras/Tramo1.VK9 , segundo"_s << u"obras/Tramo1.VK9"_s
                                   << u"obras/Tramo1"_s << u"segundo"_s;
        QTest::newRow("ruta con comas") << u"*/Vía 3, tramo 2/x.vk9"_s << u"Vía 3, tramo 2/x.vk9"_s
                                        << u"*/Vía 3, tramo 2/x"_s << QString();
    }
    void arranque() {
        TOMAR((linea, escrito, archivo, segundo), QString, QString, QString, QString);
        Escenario e;
        linea.replace(u'*', QDir::currentPath());
        archivo.replace(u'*', QDir::currentPath());
#ifdef _WIN32
        // Windows abre el proyecto con su ruta en minúsculas.
        archivo = archivo.toLower();
#endif
        QVERIFY(QDir().mkpath(QFileInfo(escrito).path()));
        QVERIFY(EscribirBytes(escrito, ProyectoConNombre("Guardado")));
        frmVarek9& v = e.Abrir(linea);
        QVERIFY(v.YaActivado() && e.modulo.ArchivoProyecto == archivo);
        QVERIFY(e.modulo.Proyecto.Nombre == "Guardado" && v.Argumentos().value(1) == segundo);
        QCOMPARE(v.windowTitle(), "VAREK-9 [" + archivo + ']');
        QCOMPARE(e.Accion("mnuProyecto3")->text(), "&Guardar [" + archivo + ']');
        // La presentación no detiene el arranque: ninguna ventana modal, sin avisos.
        QVERIFY(e.plataforma.VentanasModales.isEmpty() && e.plataforma.Mensajes.isEmpty());
    }

    // La presentación se ve la primera vez (y con cada versión nueva), sin detener el
    // arranque, y desde "Ayuda"; F1 abre el manual instalado junto al programa.
    void presentacionYAyuda() {
        GuardarPreferencia(u"PresentacionVista"_s, u"0.0"_s);
        {
            Escenario e;
            frmVarek9& v = e.Abrir();
            QVERIFY(v.YaActivado() && e.plataforma.VentanasModales.isEmpty());
            frmAbout* acerca = v.findChild<frmAbout*>();
            QVERIFY(acerca && acerca->isVisible());
            QTest::keyClick(acerca, Qt::Key_Escape);
            QTRY_VERIFY(!v.findChild<frmAbout*>());
        }
        Escenario e;
        frmVarek9& v = e.Abrir();
        QVERIFY(v.YaActivado() && !v.findChild<frmAbout*>());
        e.Accion(u"mnuAyuda1"_s)->trigger();
        e.Accion(u"mnuTerminar2"_s)->trigger();
        QCOMPARE(v.findChildren<frmAbout*>().size(), 1);

        QCOMPARE(e.Accion(u"mnuAyuda0"_s)->shortcut(), QKeySequence(Qt::Key_F1));
        const QString manual =
            QDir(QCoreApplication::applicationDirPath()).filePath(u"manual-de-usuario.html"_s);
        QFile::remove(manual);
        e.Accion(u"mnuAyuda0"_s)->trigger();
        QCOMPARE(e.UltimoMensaje(),
                 u"VAREK-9: El Manual de Usuario [manual-de-usuario.html] no está instalado..."_s);
        QVERIFY(EscribirBytes(manual, "<html></html>"));
        const auto quitar = qScopeGuard([&] { QFile::remove(manual); });
        e.Accion(u"mnuAyuda0"_s)->trigger();
        QCOMPARE(e.plataforma.DocumentosAbiertos, QStringList{manual});
    }

    // Un proyecto que no se puede escribir se abre de solo lectura, con su nota en la
    // línea de estado; "Guardar" lo propone en la carpeta de los documentos.
    void proyectoSinEscritura() {
        Escenario e;
        const QByteArray casa = qgetenv("HOME");
        const auto restaurar = qScopeGuard([&] { qputenv("HOME", casa); });
        qputenv("HOME", e.carpeta.filePath(u"casa"_s).toLocal8Bit());
        QVERIFY(EscribirBytes("ejemplo.vk9", ProyectoConNombre("Instalado")));
        QVERIFY(QFile::setPermissions("ejemplo.vk9", QFile::ReadOwner | QFile::ReadOther));
        frmVarek9& v = e.Abrir(u"ejemplo"_s);
        QVERIFY(v.YaActivado() && v.SoloLectura());
        QCOMPARE(v.windowTitle(), u"VAREK-9 [ejemplo] (solo lectura)"_s);
        QVERIFY(v.findChild<QLabel*>(u"lbSoloLectura"_s)->isVisibleTo(&v));
        QVERIFY(Texto(v, u"lbSoloLectura"_s).contains(u"no se puede escribir"_s));
#ifdef Q_OS_WIN
        // En Windows HOME no mueve la carpeta de documentos: la de verdad, sin lo que
        // dejó otra corrida (la pregunta de reemplazarlo no tiene respuesta aquí).
        const QString propuesto =
            QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation) +
            u"/Varek-9/ejemplo.vk9"_s;
        QFile::remove(propuesto);
        const auto sinPropuesto = qScopeGuard([&] { QFile::remove(propuesto); });
#else
        const QString propuesto = e.carpeta.filePath(u"casa/Documents/Varek-9/ejemplo.vk9"_s);
#endif
        e.plataforma.RutasGuardar.enqueue(propuesto);
        e.Menu(3);
        QCOMPARE(e.plataforma.PropuestasGuardar, QStringList{propuesto});
        QVERIFY(LeerBytes(propuesto).contains("Instalado"));
        QCOMPARE(LeerBytes("ejemplo.vk9"), ProyectoConNombre("Instalado"));
        QCOMPARE(v.windowTitle(), "VAREK-9 [" + propuesto.chopped(4) + ']');
        QVERIFY(!v.findChild<QLabel*>(u"lbSoloLectura"_s)->isVisibleTo(&v));
    }

    // Al arrancar se ofrece toda copia de recuperación: la del proyecto, más reciente o
    // más antigua que él (esta, si no se recupera, se borra solo si se confirma), y la
    // de un "Sin Nombre n" de la carpeta. La recuperada sigue a los cambios y "Guardar"
    // la quita; la antigua que se conserva no se pisa.
    void copiasAlArrancar_data() {
        // La hora de la copia (el proyecto es de las 10:00), S o N a cada pregunta, la
        // pregunta tras "Se encontró una copia de recuperación " y lo que queda: proyecto
        // abierto|su nombre|la copia sigue.
        Columnas<QString, int, QString, QString, QString>(
            {"copia", "hora", "respuestas", "pregunta", "queda"});
        const QString obra = u"Obra.vk9.recuperar"_s, anonima = u"Sin Nombre 2.vk9.recuperar"_s;
        const QString reciente = u"del proyecto [Obra], del 06/12/2026 11:00, más reciente que "
                                 "el proyecto (guardado el 06/12/2026 10:00)."_s;
        const QString antigua = u"del proyecto [Obra], del 06/12/2026 09:00, más antigua que el "
                                "proyecto (guardado después, el 06/12/2026 10:00)."_s;
        const QString nueva = u"del proyecto sin guardar [Sin Nombre 2], del 06/12/2026 11:00."_s;
        QTest::newRow("reciente-si") << obra << 11 << "S" << reciente << "Obra|copia|si";
        QTest::newRow("reciente-no") << obra << 11 << "N" << reciente << "Obra|guardado|no";
        QTest::newRow("antigua-si") << obra << 9 << "S" << antigua << "Obra|copia|si";
        QTest::newRow("antigua-borrar") << obra << 9 << "NS" << antigua << "Obra|guardado|no";
        QTest::newRow("antigua-conservar") << obra << 9 << "NN" << antigua << "Obra|guardado|si";
        QTest::newRow("sin-nombre-si") << anonima << 11 << "S" << nueva << "Sin Nombre 2|copia|si";
        QTest::newRow("sin-nombre-no") << anonima << 11 << "N" << nueva << "Defecto||no";
    }
    void copiasAlArrancar() {
        TOMAR((copia, hora, respuestas, pregunta, queda), QString, int, QString, QString, QString);
        // La copia de Obra se ofrece al abrirla; la de un "Sin Nombre", al arrancar sin proyecto.
        const QString linea = copia.startsWith(u"Obra") ? u"Obra"_s : QString();
        Escenario e;
        QVERIFY(Fechado("Obra.vk9", "guardado", 10) && Fechado(copia, "copia", hora));
        for (const QChar r : respuestas)
            e.plataforma.Respuestas.enqueue(r == u'S' ? RespuestaMensaje::Si
                                                      : RespuestaMensaje::No);
        frmVarek9& v = e.Abrir(linea);
#ifdef _WIN32
        // Windows abre el proyecto con su ruta en minúsculas.
        pregunta.replace(u"[Obra]"_s, u"[obra]"_s);
        // También la copia del proyecto, que se nombra por él, y lo que queda.
        if (!linea.isEmpty()) copia = copia.toLower();
        if (!linea.isEmpty()) queda = queda.toLower();
#endif
        const QString ruta = QDir::toNativeSeparators(e.Aqui(copia));
        QStringList avisos{u"RECUPERAR PROYECTO: Se encontró una copia de recuperación "_s +
                           pregunta + u"\nCopia: ["_s + ruta + u"]\n\n¿Desea recuperarla?"_s};
        if (respuestas.size() == 2)
            avisos << u"RECUPERAR PROYECTO: ¿Desea borrar la copia de recuperación [%1]?\n\nSi no "
                      "la borra, se ofrecerá otra vez al iniciar el programa."_s.arg(ruta);
        QCOMPARE(e.Avisos(), avisos);
        // Una copia antigua pisaría lo guardado después: por defecto no se recupera.
        QCOMPARE(e.plataforma.Mensajes[0].PorDefecto,
                 hora < 10 ? RespuestaMensaje::No : RespuestaMensaje::Si);
        QCOMPARE(e.modulo.ArchivoProyecto + u'|' + e.modulo.Proyecto.Nombre + u'|' +
                     (QFile::exists(copia) ? u"si"_s : u"no"_s),
                 queda);
        const bool recuperada = respuestas == u"S";
        // Lo recuperado no está en ningún archivo: el título lo marca.
        QCOMPARE(v.windowTitle(), u"VAREK-9 [%1]%2"_s.arg(e.modulo.ArchivoProyecto,
                                                          recuperada ? u" *"_s : QString()));
        QCOMPARE(e.modulo.ProyectoModificado, recuperada);
        if (!recuperada) {
            // Con cambios, la copia de esta sesión no pisa la antigua conservada.
            e.modulo.ProyectoModificado = true;
            v.GuardarRecuperacion();
            QCOMPARE(v.CopiaRecuperacionActual(),
                     respuestas == u"NN" ? RutaRecuperacionDatos(queda.section(u'|', 0, 0))
                                         : e.modulo.ArchivoProyecto + u".vk9.recuperar"_s);
            if (respuestas == u"NN") QCOMPARE(LeerBytes(copia), ProyectoConNombre("copia"));
            return;
        }
        e.GuardarComo("Nueva.vk9"); // el "Sin Nombre" pide nombre
        e.Menu(3);
        QVERIFY(!QFile::exists(copia));
        QVERIFY(LeerBytes(linea.isEmpty() ? "Nueva.vk9" : "Obra.vk9").contains("copia"));
    }

    // Un proyecto abierto por otra sesión viva: solo lectura o cancelar (el bloqueo
    // de un proceso muerto no detiene: PruebasArchivoProyecto).
    void proyectoAbiertoPorOtraSesion_data() {
        QTest::addColumn<bool>("soloLectura");
        QTest::newRow("leer") << true;
        QTest::newRow("cancelar") << false;
    }
    void proyectoAbiertoPorOtraSesion() {
        QFETCH(bool, soloLectura);
        Escenario e;
        QVERIFY(EscribirBytes("Obra.vk9", ProyectoConNombre("Compartido")));
#ifdef _WIN32
        // Windows no tiene un proceso que viva siempre: la sesión es de otra máquina.
        const QByteArray maquina = "OTRA-MAQUINA";
        // Windows abre el proyecto con su ruta en minúsculas.
        const QString obra = u"obra"_s;
#else
        // El proceso 1 siempre vive en esta máquina.
        const QByteArray maquina = QSysInfo::machineHostName().toUtf8();
        const QString obra = u"Obra"_s;
#endif
        const QByteArray ajeno = "Usuario=luis\r\nMaquina=" + maquina + "\r\nProceso=1\r\nFecha=" +
                                 QDateTime::currentDateTime().toString(Qt::ISODate).toUtf8();
        // Las copias de la otra sesión (también la de su proyecto sin nombre) son suyas.
        QVERIFY(EscribirBytes("Obra.vk9.lock", ajeno) && EscribirBytes("Obra.vk9.recuperar", ""));
        QVERIFY(EscribirBytes("Sin Nombre 2.vk9.lock", ajeno) &&
                EscribirBytes("Sin Nombre 2.vk9.recuperar", ProyectoConNombre("suyo")));
        e.plataforma.Respuestas.enqueue(soloLectura ? RespuestaMensaje::Aceptar
                                                    : RespuestaMensaje::Cancelar);
        frmVarek9& v = e.Abrir("Obra");
        QCOMPARE(e.plataforma.Mensajes.size(), 1);
        QCOMPARE(e.plataforma.Mensajes[0].Botones, BotonesMensaje::SoloLecturaCancelar);
        QVERIFY(e.UltimoMensaje().contains(
            u": El proyecto [%1] está abierto por luis en "_s.arg(obra)));
        QCOMPARE(v.SoloLectura(), soloLectura);
        QVERIFY(QFile::exists("Obra.vk9.recuperar") && QFile::exists("Sin Nombre 2.vk9.recuperar"));
        QCOMPARE(e.modulo.ArchivoProyecto, soloLectura ? obra : u"Sin Nombre 1"_s);
        if (!soloLectura) return;
        QCOMPARE(v.windowTitle(), u"VAREK-9 [%1] (solo lectura)"_s.arg(obra));
        QCOMPARE(e.modulo.Proyecto.Nombre, u"Compartido"_s);
        // La copia de recuperación (cada dos minutos y tras cada revisión de la tabla de
        // unidades, solo con cambios) va a la carpeta de datos, con la fecha del reloj
        // de la sesión, no junto al proyecto de la otra.
        const auto* reloj = v.findChild<QTimer*>("tmrRecuperacion");
        QVERIFY(reloj->isActive() && reloj->interval() == 2 * 60 * 1000);
        v.PonerReloj([] { return ElDia(12); });
        const QString datos = RutaRecuperacionDatos(obra);
        v.GuardarRecuperacion();
        QVERIFY(!QFile::exists(datos));
        e.plataforma.Modales.enqueue([](QDialog& d) {
            auto& unidades = static_cast<frmUnidadesHomogeneas&>(d);
            unidades.PonerTextoCelda(1, 1, u"K9"_s);
            unidades.RevisarUH();
            return 0;
        });
        v.Boton(1)->click();
        QVERIFY(LeerBytes(datos).contains("K9") && LeerBytes("Obra.vk9.recuperar").isEmpty());
        // El proceso muere; al volver, otra vez de solo lectura, se ofrece.
        e.ventana.reset();
        QVERIFY(Fechado("Obra.vk9", "Compartido", 10));
        e.plataforma.Respuestas << RespuestaMensaje::Aceptar << RespuestaMensaje::Si;
        e.Abrir("Obra");
        QCOMPARE(e.UltimoMensaje(),
                 u"RECUPERAR PROYECTO: Se encontró una copia de recuperación del proyecto [%1], "
                 "del 06/12/2026 12:00, más reciente que el proyecto (guardado el 06/12/2026 "
                 "10:00). La dejó una sesión que tenía el proyecto abierto de solo lectura.\n"
                 "Copia: [%2]\n\n¿Desea recuperarla?"_s.arg(e.Aqui(obra),
                                                            QDir::toNativeSeparators(datos)));
        QVERIFY(e.ventana->SoloLectura() && e.modulo.ProyectoModificado);
        QCOMPARE(e.modulo.Proyecto.UH[1].CodigoTramo, u"K9"_s);
        // "Guardar" no escribe sobre la otra sesión: pide otro nombre, y la copia se va.
        frmVarek9& w = *e.ventana;
        const QByteArray antes = LeerBytes("Obra.vk9");
        e.GuardarComo("Copia.vk9");
        e.Menu(3);
        QVERIFY(LeerBytes("Obra.vk9") == antes && !QFile::exists(datos));
        QCOMPARE(w.windowTitle(), u"VAREK-9 [%1]"_s.arg(e.Aqui("Copia")));
        // El nuevo archivo, ya guardado, queda bloqueado por esta sesión hasta cerrarla.
        QVERIFY(QFile::exists("Copia.vk9.lock") && w.close() && !QFile::exists("Copia.vk9.lock"));
        QCOMPARE(LeerBytes("Obra.vk9.lock"), ajeno); // ni al abrir ni al cerrar se toca
    }

    void avisoDeLectura() {
        Escenario e;
        const QByteArray danado = "[Proyecto]\r\n 4 \r\nnoventa\r\n[FinProyecto]\r\n";
        QVERIFY(EscribirBytes("danado.vk9", danado));
        e.Abrir(u"danado"_s);
        QCOMPARE(e.plataforma.Mensajes.size(), 1);
        QVERIFY(e.UltimoMensaje().startsWith(u"CARGAR PROYECTO: El Proyecto [danado]"_s));

        // "Guardar" encima deja la copia ".bak" y lo dice (cuándo y qué copia, en
        // PruebasArchivoProyecto).
        e.Menu(3);
        QCOMPARE(e.plataforma.Mensajes.size(), 2);
        QCOMPARE(e.UltimoMensaje(), u"GUARDAR PROYECTO: "_s + TextoRespaldo(u"danado.vk9.bak"_s));

        // Un archivo que no es proyecto se avisa y no cambia nada: el título, el bloqueo,
        // el último proyecto, la copia de recuperación (el proyecto sigue con sus cambios
        // aunque se dijo no guardarlos) y "Guardar" siguen con el proyecto abierto.
        QVERIFY(EscribirBytes("notas.vk9", "una lista\r\n"));
        e.modulo.Proyecto.Nombre = u"sigue"_s;
        e.modulo.ProyectoModificado = true;
        e.plataforma.Respuestas.enqueue(RespuestaMensaje::No);
        e.plataforma.RutasAbrir.enqueue(e.Aqui("notas.vk9"));
        e.Menu(1);
        QVERIFY(e.UltimoMensaje().contains(u"no es un Proyecto"_s));
        QCOMPARE(e.ventana->windowTitle(), u"VAREK-9 [danado]"_s);
        QCOMPARE(LeerBytes("varek-9.ult"), QByteArray("danado\r\n"));
        QVERIFY(QFile::exists("danado.vk9.lock") && !QFile::exists("notas.vk9.lock"));
        QCOMPARE(e.ventana->CopiaRecuperacionActual(), u"danado.vk9.recuperar"_s);
        QVERIFY(LeerBytes("danado.vk9.recuperar").contains("sigue\r\n"));
        e.Menu(3);
        QVERIFY(LeerBytes("danado.vk9").contains("sigue\r\n"));
        QCOMPARE(LeerBytes("notas.vk9"), QByteArray("una lista\r\n"));
        QVERIFY(e.plataforma.PropuestasGuardar.isEmpty());
        {
            // Desde la línea de comandos: se empieza un proyecto nuevo sin nombre.
            Escenario inicio;
            QVERIFY(EscribirBytes("notas.vk9", "una lista\r\n"));
            inicio.Abrir(u"notas"_s);
            QVERIFY(inicio.UltimoMensaje().contains(u"no es un Proyecto"_s));
            QCOMPARE(inicio.ventana->windowTitle(), u"VAREK-9 [Sin Nombre 1]"_s);
            QVERIFY(!QFile::exists("notas.vk9.lock"));
        }

        // Un guardado fallido se avisa (el texto del error y que el proyecto sigue
        // modificado, en PruebasArchivoProyecto) y tampoco deja cerrar al responder Sí.
        QVERIFY(EscribirBytes("archivo", "no soy carpeta"));
        e.GuardarComo("archivo/proyecto.vk9");
        e.Menu(4);
        QCOMPARE(e.plataforma.Mensajes.last().Icono, IconoMensaje::Exclamacion);
        QVERIFY(e.UltimoMensaje().startsWith(u"ERROR: "_s));
        e.modulo.ProyectoModificado = true;
        e.plataforma.Respuestas.enqueue(RespuestaMensaje::Si);
        QVERIFY(!e.ventana->close());
    }

    // Los comandos del proyecto: "Nuevo" toma el primer "Sin Nombre n" libre y
    // guardarlo pide nombre, desde el menú o al responder "Sí" al cerrar (cancelar ese
    // diálogo cancela el cierre); abrir y guardar como piden confirmación.
    void comandosDelProyecto() {
        Escenario e;
        // En cualquier caja: un "Nuevo" nunca se apropia de un archivo existente.
        QVERIFY(EscribirBytes("sin nombre 1.VK9", ProyectoConNombre("uno")));
        QVERIFY(EscribirBytes("SIN NOMBRE 2.vk9", ProyectoConNombre("dos")));
        QVERIFY(EscribirBytes("Vieja.VK9", ProyectoConNombre("La vieja")));
        frmVarek9& v = e.Abrir();
        // "Defecto" se guarda sin diálogo.
        e.modulo.ProyectoModificado = true;
        e.Accion("PRY3")->trigger();
        QVERIFY(QFile::exists("Defecto.vk9"));
        QCOMPARE(LeerBytes("varek-9.ult"), QByteArray("Defecto\r\n"));
        QVERIFY(!e.modulo.ProyectoModificado && e.plataforma.Mensajes.isEmpty());
        e.modulo.Proyecto.Nombre = u"quedará vacío"_s;
        e.Accion("PRY0")->trigger();
        QCOMPARE(v.windowTitle() + u'|' + e.modulo.Proyecto.Nombre, u"VAREK-9 [Sin Nombre 3]|"_s);
        e.modulo.ProyectoModificado = true;
        e.plataforma.Respuestas.enqueue(RespuestaMensaje::Si);
        QVERIFY(!v.close() && e.plataforma.PropuestasGuardar.size() == 1);

        e.GuardarComo("Obra.VK9");
        e.Menu(3);
        QCOMPARE(e.modulo.ArchivoProyecto, e.Aqui("Obra"));
        e.modulo.Proyecto.Nombre = u"segunda versión"_s;
        e.modulo.ProyectoModificado = true;
        e.Menu(3);
        QVERIFY(e.plataforma.PropuestasGuardar.size() == 2 && !e.modulo.ProyectoModificado);
        QVERIFY(LeerBytes("Obra.vk9").contains("segunda versi\xf3n"));

        // Abrir con la extensión en mayúsculas; uno que no existe se avisa; cancelar no
        // cambia nada.
        e.plataforma.RutasAbrir.enqueue(e.Aqui("Vieja.VK9"));
        e.Menu(1);
        QCOMPARE(e.modulo.Proyecto.Nombre, u"La vieja"_s);
        QCOMPARE(v.windowTitle(), u"VAREK-9 [%1]"_s.arg(e.Aqui("Vieja")));
        e.plataforma.RutasAbrir.enqueue(e.Aqui("Nada.vk9"));
        QVERIFY(!v.AbrirProyecto());
        QCOMPARE(e.UltimoMensaje(),
                 u"CARGAR PROYECTO: El Proyecto [%1] NO existe..."_s.arg(e.Aqui("Nada")));
        QVERIFY(!v.AbrirProyecto());
        // Guardar como sobre un proyecto que existe, respondido No.
        const QByteArray antes = LeerBytes("Vieja.VK9");
        e.modulo.Proyecto.Nombre = u"cambiado"_s;
        e.GuardarComo("Vieja.vk9");
        e.Menu(4);
        QVERIFY(e.UltimoMensaje().startsWith(
            u"GUARDAR PROYECTO: El Proyecto [%1] Ya existe"_s.arg(e.Aqui("Vieja"))));
        QCOMPARE(e.plataforma.Mensajes.last().Botones, BotonesMensaje::SiNo);
        QCOMPARE(e.plataforma.Mensajes.last().PorDefecto, RespuestaMensaje::No);
        QCOMPARE(LeerBytes("Vieja.VK9"), antes);

        e.Accion("PRY0")->trigger();
        e.modulo.ProyectoModificado = true;
        e.plataforma.Respuestas.enqueue(RespuestaMensaje::Si);
        e.GuardarComo("Puente.vk9");
        QVERIFY(v.close() && LeerBytes("varek-9.ult") == QByteArray("Puente\r\n"));
        QVERIFY(!QFile::exists("Sin Nombre 3.vk9"));

        // Una ruta fuera de Windows-1252 se recuerda en UTF-8 con su marca y el próximo
        // arranque la abre.
        QTemporaryDir otra;
        e.ventana.reset();
        e.Abrir();
        e.modulo.Proyecto.Nombre = u"Omega"_s;
        e.plataforma.RutasGuardar.enqueue(otra.filePath(u"Ω proyecto.vk9"_s));
        e.Menu(4);
        QCOMPARE(LeerBytes("varek-9.ult"),
                 "\xEF\xBB\xBF" + otra.filePath(u"Ω proyecto"_s).toUtf8() + "\r\n");
        e.ventana.reset();
        e.Abrir();
        QCOMPARE(e.modulo.ArchivoProyecto + u'|' + e.modulo.Proyecto.Nombre,
                 otra.filePath(u"Ω proyecto|Omega"_s));
    }

    // La historia en la ventana principal: el título y la copia de recuperación
    // siguen al estado guardado; abrir otro proyecto la vacía.
    void historiaDelProyecto() {
        Escenario e;
        QVERIFY(EscribirBytes("Obra.vk9", ProyectoConNombre("guardado")));
        QVERIFY(EscribirBytes("Otra.vk9", ProyectoConNombre("otra")));
        frmVarek9& v = e.Abrir(u"Obra"_s);
        e.modulo.Proyecto.Nombre = u"cambiado"_s;
        QVERIFY(RegistrarPaso(e.modulo, u"Propiedades del proyecto"_s));
        QCOMPARE(v.windowTitle(), u"VAREK-9 [%1] *"_s.arg(e.modulo.ArchivoProyecto));
        v.GuardarRecuperacion();
        const QString copia = v.CopiaRecuperacionActual();
        QVERIFY(QFile::exists(copia));
        e.Accion(u"mnuDeshacer"_s)->trigger();
        QVERIFY(!e.modulo.ProyectoModificado && e.modulo.Proyecto.Nombre == u"guardado"_s);
        QCOMPARE(v.windowTitle(), u"VAREK-9 [%1]"_s.arg(e.modulo.ArchivoProyecto));
        QVERIFY(!QFile::exists(copia));
        e.Accion(u"mnuRehacer"_s)->trigger();
        QVERIFY(e.modulo.ProyectoModificado && QFile::exists(v.CopiaRecuperacionActual()));
        // Guardado, ese es el estado sin marca; abrir otro vacía la historia.
        e.Menu(3);
        QVERIFY(!e.modulo.ProyectoModificado && e.modulo.Historial->Pila().canUndo());
        e.plataforma.RutasAbrir.enqueue(e.Aqui("Otra.vk9"));
        e.Menu(1);
        QVERIFY(e.modulo.Historial->Pila().count() == 0 && !e.modulo.ProyectoModificado);
    }

    // Toda salida pasa por la misma pregunta con Cancelar: el menú, el botón
    // "&Salir", cerrar la ventana y el fin de la sesión del escritorio.
    void salidas_data() {
        Columnas<int, int>({"via", "codigo"});
        const char* vias[] = {"menu", "boton99", "cerrar", "sesion"};
        for (int v = 0; v < 4; ++v) {
            QTest::addRow("%s-si", vias[v]) << v << int(RespuestaMensaje::Si);
            QTest::addRow("%s-no", vias[v]) << v << int(RespuestaMensaje::No);
            QTest::addRow("%s-cancelar", vias[v]) << v << int(RespuestaMensaje::Cancelar);
        }
        // El fin de la sesión sin poder preguntar no guarda y deja la copia.
        QTest::newRow("sesion-sin-preguntar") << 4 << int(RespuestaMensaje::Cancelar);
    }
    void salidas() {
        TOMAR((via, codigo), int, int);
        const auto respuesta = RespuestaMensaje(codigo);
        Escenario e;
        frmVarek9& v = e.Abrir();
        e.modulo.ProyectoModificado = true;
        v.GuardarRecuperacion();
        QVERIFY(QFile::exists("Defecto.vk9.recuperar"));
        e.modulo.Proyecto.Nombre = u"Ultimo cambio"_s;
        e.plataforma.Respuestas.enqueue(respuesta);
        if (via == 0) e.Accion("mnuTerminar0")->trigger();
        if (via == 1) QTest::mouseClick(v.Boton(99), Qt::LeftButton);
        if (via == 2) v.close(); // la cruz de la ventana y Alt+F4 llegan como close()
        const bool termina = via >= 3 && v.CierreDeSesion(via == 3);
        if (via == 4) {
            QVERIFY(termina && e.plataforma.Mensajes.isEmpty() && !QFile::exists("Defecto.vk9"));
            QVERIFY(LeerBytes("Defecto.vk9.recuperar").contains("Ultimo cambio"));
            return;
        }
        QCOMPARE(e.Avisos(),
                 QStringList{u"GUARDAR PROYECTO: Desea guardar el proyecto actual [Defecto]"_s});
        QCOMPARE(e.plataforma.Mensajes[0].Botones, BotonesMensaje::SiNoCancelar);
        const bool sigue = respuesta == RespuestaMensaje::Cancelar;
        // Cancelar deja la ventana abierta y la sesión sin terminar.
        QCOMPARE(via == 3 ? !termina : v.isVisible(), sigue);
        QCOMPARE(QFile::exists("Defecto.vk9"), respuesta == RespuestaMensaje::Si);
        // Guardar o descartar quita la copia; cancelar la deja.
        QCOMPARE(QFile::exists("Defecto.vk9.recuperar"), sigue);
    }

    void botonesYCajaDeLibrerias() {
#ifdef _WIN32
        QSKIP("Wine no registra componentes con regsvr32 desde registro.bat");
#endif
        Escenario e;
        frmVarek9& v = e.Abrir();
        // Sin "DirLib" ni librerías la caja no aparece.
        QVERIFY(Control(v, u"txtLib"_s)->isHidden());
        // El puntero resalta el botón que tiene debajo.
        MoverRaton(v.Boton(11));
        QVERIFY(v.Boton(11)->isChecked());
        MoverRaton(v.Boton(0));
        QVERIFY(v.Boton(0)->isChecked() && !v.Boton(11)->isChecked());
        // Sobre el fondo nada queda resaltado.
        MoverRaton(v.centralWidget(), QPointF(2, 2));
        QVERIFY(!v.Boton(0)->isChecked());

        // Las propiedades del menú guardan al cerrar; el botón "&Proyecto" abre el mismo
        // diálogo pero no guarda.
        e.Accion("PRY10")->trigger();
        QVERIFY(QFile::remove("Defecto.vk9"));
        v.Boton(0)->click();
        QVERIFY(!QFile::exists("Defecto.vk9"));
        // Tras una acción el resaltado descansa 100 ms.
        MoverRaton(v.Boton(12));
        QVERIFY(!v.Boton(12)->isChecked());
        QTRY_VERIFY_WITH_TIMEOUT((MoverRaton(v.Boton(12)), v.Boton(12)->isChecked()), 1000);
        // Alternativas sin unidades: nada; con unidades, su ventana (que avisa de los
        // costos unitarios en 0). Unidades de diseño: su ventana.
        v.Boton(2)->click();
        e.modulo.Proyecto.NumeroUH = 1;
        e.modulo.Proyecto.UH[1].CodigoTramo = u"T1"_s;
        v.Boton(2)->click();
        v.Boton(1)->click();
        QCOMPARE(e.plataforma.VentanasModales.join(u' '),
                 u"frmProyecto frmProyecto frmAlternativas frmUnidadesHomogeneas"_s);
        QCOMPARE(e.plataforma.Mensajes.size(), 1);

        GuardarPreferencia(u"Documentos/Manual Bajos Volumenes.pdf"_s, QString());
        v.Boton(20)->click();
        QCOMPARE(e.plataforma.Mensajes.last().Icono, IconoMensaje::Critico);
        QCOMPARE(e.plataforma.Mensajes.last().Botones, BotonesMensaje::BuscarCancelar);
        QCOMPARE(e.UltimoMensaje(),
                 u"VAREK-9: El archivo [Manual Bajos Volumenes.pdf] no existe..."_s);
        QVERIFY(EscribirBytes("Estructuras Tipicas.dwg", "dibujo"));
        v.Boton(30)->click();
        QCOMPARE(e.plataforma.DocumentosAbiertos, QStringList{e.Aqui("Estructuras Tipicas.dwg")});
        // "Buscar..." elige el documento una vez; la próxima vez se abre sin preguntar.
        QVERIFY(QDir().mkpath("otra") && EscribirBytes("otra/manual.pdf", "%PDF"));
        e.plataforma.Respuestas.enqueue(RespuestaMensaje::Aceptar);
        e.plataforma.RutasAbrir.enqueue(e.Aqui("otra/manual.pdf"));
        const qsizetype mensajes = e.plataforma.Mensajes.size();
        v.Boton(20)->click();
        v.Boton(20)->click();
        QCOMPARE(e.plataforma.Mensajes.size(), mensajes + 1);
        QCOMPARE(e.plataforma.DocumentosAbiertos.mid(1), QStringList(2, e.Aqui("otra/manual.pdf")));

        // Especificaciones: se busca como los programas complementarios; si no está, se avisa.
        v.Boton(21)->click();
        QCOMPARE(e.UltimoMensaje(), u"VAREK-9: El programa [Especificaciones y Normas] no "
                                    "está instalado..."_s);
        const QString programa = NombreEjecutable(ProgramaEspecificaciones);
        QVERIFY(EscribirBytes(programa, "#!/bin/sh\n"));
        QVERIFY(QFile::setPermissions(programa, QFile::ReadOwner | QFile::ExeOwner));
        v.Boton(21)->click();
        QCOMPARE(e.plataforma.ProcesosIniciados, QStringList{e.Aqui(programa)});
        e.plataforma.ProcesosIniciables = false;
        v.Boton(21)->click();
        QCOMPARE(e.UltimoMensaje(),
                 u"VAREK-9: No fue posible iniciar el programa [%1]..."_s.arg(programa));

        // Cada botón de programa abre el lanzador en uso libre: lo que haya dejado la
        // tabla de unidades no pasa (los resultados, en PruebasVentanasCompaneros).
        for (int b = 10; const QString& nombre :
                         QStringList{"Clima C1", "Transito N1", "Mr M1", "Drenaje D1"}) {
            const QString programa = NombreEjecutable(nombre.section(u' ', 0, 0));
            QVERIFY(EscribirBytes(programa, ""));
            QFile::setPermissions(programa, QFile::permissions(programa) | QFile::ExeOwner);
            e.modulo.ResultadoPrograma.Seleccionar = true;
            e.modulo.ResultadoPrograma.Referencia = u"varek-9"_s;
            e.plataforma.Modales.enqueue([](QDialog& d) {
                return QTest::qWaitFor([&] { return !d.isVisible(); }, 10000) ? d.result() : -1;
            });
            v.Boton(b++)->click();
            QCOMPARE(e.plataforma.ProgramasIniciados.last(),
                     e.Aqui(programa) + " ," + nombre.section(u' ', 1) + ",SinPresentacion");
            QVERIFY(!e.modulo.ResultadoPrograma.Seleccionar);
        }

        // Con "DirLib", la caja muestra el registro.
        Escenario conDirLib;
        QVERIFY(EscribirBytes("DirLib", "\r\n") && EscribirBytes("A.OCX", "a"));
        const auto* txtLib = conDirLib.Abrir().findChild<QPlainTextEdit*>("txtLib");
        QVERIFY(txtLib->isVisible() && txtLib->toPlainText() == u"*.OCX\ncopiando: A.OCX\n*.DLL"_s);
    }

    void dialogosDeQtEnEspanol() {
        if (!QFile::exists(QLibraryInfo::path(QLibraryInfo::TranslationsPath) + "/qtbase_es.qm"))
            QSKIP("Falta qtbase_es.qm (paquete qt6-translations-l10n).");
        const auto cancelar = [] {
            QDialogButtonBox botones(QDialogButtonBox::Cancel);
            return botones.button(QDialogButtonBox::Cancel)->text().remove('&');
        };
        QCOMPARE(cancelar(), "Cancel");
        std::unique_ptr<QTranslator> traduccion(CargarTraduccionQt());
        QVERIFY(traduccion && cancelar() == "Cancelar");
        QCoreApplication::removeTranslator(traduccion.get());
    }

    void plegadoDeLineasYListas() {
        QCOMPARE(LimpiarEnter(u"  uno\r\ndos\r\n\ttres \r "_s), u"uno¦dos¦tres "_s);
        QCOMPARE(LimpiarEnter(u"a\nb\rc\r\n\r\nd"_s), u"abc¦¦d"_s); // solo CR LF es salto
        QCOMPARE(RecuperarEnter(u"a¦b¦"_s), u"a\r\nb\r\n"_s);
        // Trim13 es QuitarControles (en PruebasComunes): aquí, que pasa el blanco.
        QCOMPARE(Trim13(u" a\tb\x1f "_s, true), u"a b "_s);
        // La búsqueda en sí se prueba sobre la lista de textos en PruebasComunes.
        QComboBox lista;
        lista.addItems({u"Abc"_s, u"ABD"_s, u"xyz"_s});
        SeleccionarEnLista(lista, u"abD"_s, false);
        QCOMPARE(lista.currentIndex(), 1);
        SeleccionarEnLista(lista, u"q"_s, false);
        QCOMPARE(lista.currentIndex(), -1);
    }

    void numerosEnVivoYSalirSinAceptar() {
        ModuloVarek9 m;
        Dialogo d(m);
        d.Escribir(u"txt0"_s, u"Otro nombre"_s);
        d.Escribir(u"txt3"_s, u"120"_s);
        // Queda como se escribió; Zr ya es el de 99.
        QCOMPARE(d.Texto(u"txt3"_s) + u'|' + d.Texto(u"lbZr"_s), u"120|2.3278"_s);
        d.Enter(u"txt3"_s);
        QCOMPARE(d.Texto(u"txt3"_s), u"99"_s);
        d.Escribir(u"txt3"_s, u"20"_s); // limitado a 50
        d.Escribir(u"txt0"_s, u"Tampoco"_s);
        QCOMPARE(d.Texto(u"txt3"_s), u"50"_s);

        // Deshabilitados, la serviciabilidad y el tránsito no cambian; Enter los salta.
        d.Clic(u"chkConfiabilidadTransito"_s);
        d.Clic(u"txt3"_s);
        d.Enter(u"txt3"_s);
        QVERIFY(d.Control(u"btnAceptar"_s)->hasFocus());
        d.DobleClicCuadro();
        d.Escribir(u"txt5"_s, u"4.5"_s);
        QCOMPARE(m.Proyecto.ServiciabilidadFinal, 2.0);
        d.Enter(u"txt5"_s);
        QCOMPARE(d.Texto(u"txt5"_s), u"2"_s);
        QVERIFY(d.Control(u"chkConfiabilidadTransito"_s)->hasFocus());
        d.Escribir(u"txt5"_s, u"2.5"_s);
        QTest::keyClick(d.Control(u"txt5"_s), Qt::Key_Escape); // Escape es salir
        QVERIFY(!d.v->isVisible() && d.v->result() == int(QDialog::Rejected));
        QVERIFY(m.Proyecto.Confiabilidad == 50.0 && m.Proyecto.ServiciabilidadFinal == 2.5);
        QVERIFY(!m.Proyecto.ConfiabilidadTransito && m.Proyecto.Nombre.isEmpty());
        // Salir sin aceptar con números distintos de los del principio es un cambio.
        QVERIFY(m.ProyectoModificado);
    }

    void cuadroYConfiabilidadDelTransito() {
        ModuloVarek9 m;
        Dialogo d(m);
        const auto habilitados = [&](bool esperado) {
            for (const QString& nombre :
                 {u"lbServiciabilidad"_s, u"txt5"_s, u"chkConfiabilidadTransito"_s,
                  u"lbEtiquetaSo"_s, u"lbSo"_s})
                if (d.Control(nombre)->isEnabled() != esperado) return false;
            return true;
        };
        QVERIFY(habilitados(false));
        d.DobleClicCuadro();
        QVERIFY(habilitados(true));
        d.Clic(u"chkConfiabilidadTransito"_s);
        QVERIFY(d.Texto(u"lbSo"_s) == u"0.49"_s && m.Proyecto.ConfiabilidadTransito);
        QTest::keyClick(d.Control(u"chkConfiabilidadTransito"_s), Qt::Key_Space);
        QVERIFY(d.Texto(u"lbSo"_s) == u"0.44"_s && m.Proyecto.So == 0.44);
        d.Clic(u"chkConfiabilidadTransito"_s);
        d.DobleClicCuadro();
        QVERIFY(habilitados(false));
        d.Clic(u"btnSalir"_s);
        QVERIFY(!d.v->isVisible() && m.Proyecto.So == 0.49 && m.ProyectoModificado);
    }

    void aceptarGuardaElEncabezado() {
        ModuloVarek9 m;
        // Salir con los números del principio no es un cambio.
        Dialogo sinCambios(m);
        sinCambios.Escribir(u"txt3"_s, u"70"_s);
        sinCambios.Escribir(u"txt0"_s, u"Sin aceptar"_s);
        sinCambios.Clic(u"btnSalir"_s);
        QVERIFY(!sinCambios.v->isVisible() && !m.ProyectoModificado);

        Dialogo d(m);
        d.Escribir(u"txt0"_s, u"  Ruta 5  "_s);
        d.Enter(u"txt0"_s);
        // En la descripción Enter es un salto de línea; un tabulador pegado se quita.
        QGuiApplication::clipboard()->setText(u"\tdos"_s);
        Teclear(d.Control(u"txt1"_s), u"Línea uno"_s);
        QTest::keyClick(d.Control(u"txt1"_s), Qt::Key_Return);
        QTest::keyClick(d.Control(u"txt1"_s), Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(d.Descripcion(), u"Línea uno\n\tdos"_s);
        d.Escribir(u"txt2"_s, u" Boyacá "_s);
        QTest::keyClick(d.Control(u"txt2"_s), Qt::Key_A, Qt::AltModifier); // "&Aceptar"
        QTRY_VERIFY(!d.v->isVisible());
        QCOMPARE(d.v->result(), int(QDialog::Accepted));
        QCOMPARE(m.Proyecto.Nombre + u'|' + m.Proyecto.Ubicacion, u"Ruta 5|Boyacá"_s);
        QVERIFY(m.Proyecto.Descripcion == u"Línea uno¦dos"_s && m.ProyectoModificado);

        // Al volver, dos líneas; una "¦" escrita a mano también es un salto.
        Dialogo otra(m);
        QCOMPARE(otra.Descripcion(), u"Línea uno\ndos"_s);
        otra.Clic(u"txt1"_s);
        QTest::keyClick(otra.Control(u"txt1"_s), Qt::Key_End, Qt::ControlModifier);
        Teclear(otra.Control(u"txt1"_s), u"¦tres"_s);
        otra.Clic(u"btnAceptar"_s);
        QCOMPARE(Dialogo(m).Descripcion(), u"Línea uno\ndos\ntres"_s);
    }

    // La presentación del programa y las rutinas de ventana de uso común.
    // Los textos fijos se ven en frmAbout.cpp; la versión viene de la construcción.
    void presentacionYCentrado() {
        frmAbout acerca;
        QCOMPARE(Texto(acerca, u"lbVersion"_s), u"Versión "_s + QLatin1StringView(VAREK9_VERSION));
        QCOMPARE(acerca.windowTitle(), u"Acerca de VAREK-9"_s);
        for (const Qt::Key tecla : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
            acerca.show();
            QTest::keyClick(&acerca, tecla);
            QVERIFY(!acerca.isVisible());
        }
        acerca.show();
        QTest::mouseClick(acerca.findChild<QLabel*>(u"lbPrograma"_s), Qt::LeftButton);
        QVERIFY(!acerca.isVisible());

        QWidget ventana;
        ventana.setFixedSize(301, 157);
        ventana.show();
        QVERIFY(QTest::qWaitForWindowExposed(&ventana));
        CentrarFormulario(ventana);
        // Con el marco ya conocido, el centro exacto a medio píxel.
        const QPointF desvio = QRectF(ventana.frameGeometry()).center() -
                               QRectF(ventana.screen()->availableGeometry()).center();
        QTRY_VERIFY(qAbs(desvio.x()) <= 0.5 && qAbs(desvio.y()) <= 0.5);
        QVERIFY(!QGuiApplication::overrideCursor()); // no queda el reloj de arena
        const CursorEspera espera;                   // mientras vive, sí
        const QCursor* cursor = QGuiApplication::overrideCursor();
        QVERIFY(cursor && cursor->shape() == Qt::WaitCursor);
    }

    // Al abrir, los datos del proyecto con el nombre elegido; Enter como Tab y elegir todo
    // al entrar (PrepararCampos): saltar los deshabilitados, en numerosEnVivoYSalirSinAceptar;
    // Enter como salto de línea en la descripción, en aceptarGuardaElEncabezado; un clic que
    // elige todo, en cada Escribir.
    void alAbrirCamposEnterYSeleccion() {
        ModuloVarek9 m;
        m.Proyecto.Nombre = u"  Vía Norte  "_s;
        m.Proyecto.Descripcion = u"a¦b"_s;
        m.Proyecto.Ubicacion = u"dos dos"_s;
        m.Proyecto.Confiabilidad = 90;
        m.Proyecto.ServiciabilidadFinal = 2.5;
        m.Proyecto.ConfiabilidadTransito = true;
        Dialogo d(m);
        QCOMPARE(d.Control<QLineEdit>(u"txt0"_s)->selectedText(), u"Vía Norte"_s);
        QCOMPARE(d.Descripcion(), u"a\nb"_s);
        QCOMPARE(Textos(*d.v, {"txt3", "txt5", "lbZr", "lbSo"}), u"90|2.5|1.2816|0.49"_s);
        QCOMPARE(m.Proyecto.So, 0.49);
        d.Enter(u"txt0"_s);
        QCOMPARE(d.Control<QPlainTextEdit>(u"txt1"_s)->textCursor().selectedText(), u"a\u2029b"_s);
        QTest::keyClick(d.Control(u"txt1"_s), Qt::Key_Tab);
        auto* dos = d.Control<QLineEdit>(u"txt2"_s);
        QCOMPARE(dos->selectedText(), u"dos dos"_s);
        QTest::keyClick(dos, Qt::Key_Enter, Qt::KeypadModifier);
        QVERIFY(d.Control(u"txt3"_s)->hasFocus() && d.v->isVisible()); // Enter no aceptó nada
        d.Enter(u"txt0"_s); // llegado a un campo sin foco, Enter sigue desde ese campo
        QVERIFY(d.Control(u"txt1"_s)->hasFocus());

        // Arrastrar elige solo una parte.
        QTest::mousePress(dos, Qt::LeftButton, {}, QPoint(2, 5));
        QTest::mouseMove(dos, QPoint(14, 5));
        QTest::mouseRelease(dos, Qt::LeftButton, {}, QPoint(14, 5));
        QVERIFY(dos->hasSelectedText() && dos->selectedText() != u"dos dos"_s);
        // Otro clic, ya dentro del campo, solo pone el cursor: no vuelve a elegir todo.
        QTest::mouseClick(dos, Qt::LeftButton, {}, QPoint(14, 5));
        QVERIFY(!dos->hasSelectedText());

        // Volver desde otra ventana no es entrar al campo.
        QWidget otra;
        otra.show();
        QVERIFY(QTest::qWaitForWindowActive(&otra));
        d.v->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(d.v.get()));
        QVERIFY(dos->hasFocus() && dos->selectedText() != u"dos dos"_s);
    }
};

VAREK9_REGISTRAR_PRUEBA(PruebasfrmVarek9)
#include "PruebasfrmVarek9.moc"
