// Ventana principal con la plataforma con guion: arranque, comandos del proyecto,
// preguntas de guardar, botones y documentos.
#include "Pruebas.h"

#include "Archivos.h"
#include "PlataformaGuionada.h"
#include "app/frmVarek9.h"
#include "common/TraduccionQt.h"
#include "companions/Programas.h"
#include "project/ArchivoProyecto.h"
#include "project/SesionProyecto.h"
#include "units/frmUnidadesHomogeneas.h"

#include <QAction>
#include <QApplication>
#include <QDialogButtonBox>
#include <QFile>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QTimer>
#include <QTranslator>

#include <memory>

namespace {

// Cada prueba en una carpeta vacía propia, con su directorio de sistema aparte.
struct Escenario {
    QTemporaryDir carpeta;
    QTemporaryDir sistema;
    DirectorioActual cd{carpeta.path()};
    ModuloVarek9 modulo;
    PlataformaGuionada plataforma;
    std::unique_ptr<frmVarek9> ventana;

    Escenario() { qputenv("VAREK9_DIR_SISTEMA", sistema.path().toLocal8Bit()); }

    // Crea la ventana, la muestra y espera la primera activación.
    frmVarek9& Abrir(const QString& lineaComando = QString()) {
        ventana = std::make_unique<frmVarek9>(modulo, plataforma, lineaComando);
        ventana->show();
        // Quien llama verifica YaActivado(): aquí no se puede usar QVERIFY.
        static_cast<void>(QTest::qWaitFor([this] { return ventana->YaActivado(); }, 5000));
        return *ventana;
    }
    QAction* Accion(const QString& nombre) { return ventana->findChild<QAction*>(nombre); }
    // El último mensaje como "TÍTULO: texto".
    QString UltimoMensaje() const {
        if (plataforma.Mensajes.isEmpty()) return QString();
        return plataforma.Mensajes.last().Titulo + QStringLiteral(": ") +
               plataforma.Mensajes.last().Texto;
    }
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

} // namespace

class PruebasfrmVarek9 : public QObject {
    Q_OBJECT
private slots:
    // El proyecto del argumento (una ruta con comas, la que pasa el escritorio, es una
    // sola), si no el último, si no "Defecto".
    void arranque_data() {
        QTest::addColumn<QString>("linea");
        QTest::addColumn<QString>("escrito"); // el proyecto en disco
        QTest::addColumn<QString>("archivo");
        QTest::addColumn<QString>("segundo");
        const auto fila = [](const char* nombre, const char* linea, const char* escrito,
                             const char* archivo, const char* segundo = "") {
            QTest::newRow(nombre) << QString::fromUtf8(linea) << QString::fromUtf8(escrito)
                                  << QString::fromUtf8(archivo) << QString::fromUtf8(segundo);
        };
        fila("argumento", "obras/Tramo1.VK9 , segundo", "obras/Tramo1.VK9", "obras/Tramo1",
             "segundo");
        fila("ruta con comas", "*/Vía 3, tramo 2/x.vk9", "Vía 3, tramo 2/x.vk9",
             "*/Vía 3, tramo 2/x");
        fila("último", "", "anterior.vk9", "anterior");
        fila("defecto", "", "", "Defecto");
    }
    void arranque() {
        QFETCH(QString, linea);
        QFETCH(QString, escrito);
        QFETCH(QString, archivo);
        QFETCH(QString, segundo);
        Escenario e;
        linea.replace(u'*', QDir::currentPath());
        archivo.replace(u'*', QDir::currentPath());
        if (!escrito.isEmpty()) {
            QVERIFY(QDir().mkpath(QFileInfo(escrito).path()));
            QVERIFY(EscribirBytes(escrito, ProyectoConNombre("Guardado")));
        }
        if (linea.isEmpty() && !escrito.isEmpty())
            QVERIFY(EscribirBytes("varek-9.ult", "anterior\r\n"));
        frmVarek9& v = e.Abrir(linea);
        QVERIFY(v.YaActivado());
        QCOMPARE(e.modulo.ArchivoProyecto, archivo);
        QCOMPARE(e.modulo.Proyecto.Nombre, escrito.isEmpty() ? "" : "Guardado");
        QCOMPARE(v.Argumentos().value(1), segundo);
        QCOMPARE(v.windowTitle(), "VAREK-9 [" + archivo + ']');
        QCOMPARE(e.Accion("mnuProyecto3")->text(), "&Guardar [" + archivo + ']');
        // Primero el acerca de, después la lectura del proyecto, sin avisos.
        QCOMPARE(e.plataforma.VentanasModales, QStringList{"frmAbout"});
        QVERIFY(e.plataforma.Mensajes.isEmpty());
    }

    // Un proceso que muere no guarda: la copia de recuperación sí queda, y al
    // volver a abrir se ofrece.
    void recuperacionTrasUnaCaida_data() {
        QTest::addColumn<bool>("recuperar");
        QTest::newRow("si") << true;
        QTest::newRow("no") << false;
    }
    void recuperacionTrasUnaCaida() {
        QFETCH(bool, recuperar);
        Escenario e;
        QVERIFY(EscribirBytes("Obra.vk9", ProyectoConNombre("Guardado")));
        {
            frmVarek9& v = e.Abrir("Obra");
            const auto* reloj = v.findChild<QTimer*>("tmrRecuperacion");
            QVERIFY(reloj && reloj->isActive());
            QCOMPARE(reloj->interval(), 2 * 60 * 1000);
            // Sin cambios no se escribe copia.
            v.GuardarRecuperacion();
            QVERIFY(!QFile::exists("Obra.vk9.recuperar"));
            // Una revisión de la tabla de unidades deja la copia al día.
            e.plataforma.Modales.enqueue([](QDialog& d) {
                auto& unidades = static_cast<frmUnidadesHomogeneas&>(d);
                unidades.PonerTextoCelda(1, 1, QStringLiteral("K9"));
                unidades.RevisarUH();
                return 0;
            });
            v.Boton(1)->click();
            QVERIFY(LeerBytes("Obra.vk9.recuperar").contains("K9"));
            e.modulo.Proyecto.Nombre = QStringLiteral("Sin guardar");
            v.GuardarRecuperacion();
            QVERIFY(LeerBytes("Obra.vk9.recuperar").contains("Sin guardar"));
            e.ventana.reset(); // el proceso muere: ni se guarda ni pregunta
        }
        Escenario despues;
        QFile::copy(e.carpeta.filePath("Obra.vk9"), "Obra.vk9");
        QFile::copy(e.carpeta.filePath("Obra.vk9.recuperar"), "Obra.vk9.recuperar");
        QFile copia("Obra.vk9.recuperar");
        QVERIFY(copia.open(QIODevice::ReadWrite));
        QVERIFY(copia.setFileTime(QDateTime::currentDateTime().addSecs(5),
                                  QFileDevice::FileModificationTime));
        copia.close();
        despues.plataforma.Respuestas.enqueue(recuperar ? RespuestaMensaje::Si
                                                        : RespuestaMensaje::No);
        despues.Abrir("Obra");
        QCOMPARE(despues.plataforma.Mensajes.size(), 1);
        QCOMPARE(
            despues.UltimoMensaje(),
            QStringLiteral(
                "RECUPERAR PROYECTO: Se encontró una copia de recuperación de [Obra] más reciente "
                "que el proyecto. ¿Desea recuperarla?"));
        QCOMPARE(despues.modulo.Proyecto.Nombre,
                 recuperar ? QStringLiteral("Sin guardar") : QStringLiteral("Guardado"));
        QCOMPARE(despues.modulo.ProyectoModificado, recuperar);
        QCOMPARE(QFile::exists("Obra.vk9.recuperar"), recuperar);
        if (recuperar) {
            // Guardar lo deja todo en el proyecto y quita la copia.
            despues.Accion("mnuProyecto3")->trigger();
            QVERIFY(!QFile::exists("Obra.vk9.recuperar"));
            QVERIFY(LeerBytes("Obra.vk9").contains("K9"));
        }
    }

    // Un proyecto abierto por otra sesión viva: solo lectura o cancelar. El bloqueo
    // de un proceso que ya no existe se toma sin preguntar.
    void proyectoAbiertoPorOtraSesion_data() {
        QTest::addColumn<int>("respuesta");
        QTest::addColumn<QByteArray>("proceso");
        QTest::newRow("solo-lectura") << int(RespuestaMensaje::Aceptar) << QByteArray("1");
        QTest::newRow("cancelar") << int(RespuestaMensaje::Cancelar) << QByteArray("1");
        QTest::newRow("abandonado") << int(RespuestaMensaje::Cancelar) << QByteArray("2147483000");
    }
    void proyectoAbiertoPorOtraSesion() {
        QFETCH(int, respuesta);
        QFETCH(QByteArray, proceso);
        Escenario e;
        QVERIFY(EscribirBytes("Obra.vk9", ProyectoConNombre("Compartido")));
        // El proceso 1 siempre vive en esta máquina.
        const QByteArray ajeno = "Usuario=luis\r\nMaquina=" + QSysInfo::machineHostName().toUtf8() +
                                 "\r\nProceso=" + proceso + "\r\nFecha=" +
                                 QDateTime::currentDateTime().toString(Qt::ISODate).toUtf8();
        QVERIFY(EscribirBytes("Obra.vk9.lock", ajeno));
        e.plataforma.Respuestas.enqueue(RespuestaMensaje(respuesta));
        frmVarek9& v = e.Abrir("Obra");
        if (proceso != "1") {
            QVERIFY(e.plataforma.Mensajes.isEmpty());
            QVERIFY(!v.SoloLectura());
            QCOMPARE(LeerBloqueo("Obra")->Proceso, QCoreApplication::applicationPid());
            return;
        }
        QCOMPARE(e.plataforma.Mensajes.size(), 1);
        QCOMPARE(e.plataforma.Mensajes[0].Botones, BotonesMensaje::SoloLecturaCancelar);
        QVERIFY(e.UltimoMensaje().contains(
            QStringLiteral(": El proyecto [Obra] está abierto por luis en ")));
        if (respuesta == int(RespuestaMensaje::Cancelar)) {
            QCOMPARE(e.modulo.ArchivoProyecto, QStringLiteral("Sin Nombre 1"));
            QVERIFY(!v.SoloLectura());
            return;
        }
        QVERIFY(v.SoloLectura());
        QCOMPARE(v.windowTitle(), QStringLiteral("VAREK-9 [Obra] (solo lectura)"));
        QCOMPARE(e.modulo.Proyecto.Nombre, QStringLiteral("Compartido"));
        // Guardar no escribe sobre el archivo de la otra sesión: pide otro nombre.
        const QByteArray antes = LeerBytes("Obra.vk9");
        e.modulo.ProyectoModificado = true;
        v.GuardarRecuperacion();
        QVERIFY(!QFile::exists("Obra.vk9.recuperar"));
        e.plataforma.RutasGuardar.enqueue(QDir::current().filePath("Copia.vk9"));
        e.Accion("mnuProyecto3")->trigger();
        QCOMPARE(LeerBytes("Obra.vk9"), antes);
        QVERIFY(QFile::exists("Copia.vk9"));
        QVERIFY(!v.SoloLectura());
        QCOMPARE(v.windowTitle(), QStringLiteral("VAREK-9 [%1]").arg(e.modulo.ArchivoProyecto));
        // El nuevo archivo queda bloqueado por esta sesión hasta cerrarla.
        QVERIFY(QFile::exists("Copia.vk9.lock"));
        QVERIFY(v.close());
        QVERIFY(!QFile::exists("Copia.vk9.lock"));
        QCOMPARE(LeerBytes("Obra.vk9.lock"), ajeno); // ni al abrir ni al cerrar se toca
    }

    void avisoDeLectura() {
        Escenario e;
        const QByteArray danado = "[Proyecto]\r\n 4 \r\nnoventa\r\n[FinProyecto]\r\n";
        QVERIFY(EscribirBytes("danado.vk9", danado));
        e.Abrir(QStringLiteral("danado"));
        QCOMPARE(e.plataforma.Mensajes.size(), 1);
        QCOMPARE(e.UltimoMensaje(), QStringLiteral("CARGAR PROYECTO: El Proyecto [danado] tiene un "
                                                   "valor no numérico en la línea 3..."));

        // El primer "Guardar" encima deja la copia ".bak" (su contenido, en
        // PruebasArchivoProyecto) y lo dice; el segundo ya no.
        e.Accion("mnuProyecto3")->trigger();
        QCOMPARE(e.plataforma.Mensajes.size(), 2);
        QVERIFY(e.UltimoMensaje().startsWith(QStringLiteral("GUARDAR PROYECTO: ")));
        QVERIFY(e.UltimoMensaje().contains(QStringLiteral("[danado.vk9.bak]")));
        e.Accion("PRY3")->trigger();
        QCOMPARE(e.plataforma.Mensajes.size(), 2);

        // Un archivo que no es proyecto: se avisa, el proyecto sigue y "Guardar" pide
        // otro nombre en vez de reemplazarlo.
        QVERIFY(EscribirBytes("notas.vk9", "una lista\r\n"));
        e.modulo.Proyecto.Nombre = QStringLiteral("sigue");
        e.plataforma.RutasAbrir.enqueue(QDir::current().filePath("notas.vk9"));
        e.Accion("mnuProyecto1")->trigger();
        QVERIFY(e.UltimoMensaje().contains(QStringLiteral("no es un Proyecto")));
        QCOMPARE(e.modulo.Proyecto.Nombre, QStringLiteral("sigue"));
        e.plataforma.RutasGuardar.enqueue(QDir::current().filePath("nuevo.vk9"));
        e.Accion("mnuProyecto3")->trigger();
        QCOMPARE(LeerBytes("notas.vk9"), QByteArray("una lista\r\n"));
        QCOMPARE(e.modulo.ArchivoProyecto, QDir::current().filePath("nuevo"));
        QVERIFY(LeerBytes("nuevo.vk9").contains("sigue\r\n"));
    }

    void nuevoBuscaElPrimerSinNombreLibre() {
        Escenario e;
        // En cualquier caja: un "Nuevo" nunca se apropia de un archivo existente.
        QVERIFY(EscribirBytes("sin nombre 1.VK9", ProyectoConNombre("uno")));
        QVERIFY(EscribirBytes("SIN NOMBRE 2.vk9", ProyectoConNombre("dos")));
        frmVarek9& v = e.Abrir();
        // "Defecto" se guarda sin diálogo.
        e.modulo.ProyectoModificado = true;
        e.Accion("PRY3")->trigger();
        QVERIFY(QFile::exists("Defecto.vk9"));
        QCOMPARE(LeerBytes("varek-9.ult"), QByteArray("Defecto\r\n"));
        QVERIFY(!e.modulo.ProyectoModificado);
        QVERIFY(e.plataforma.Mensajes.isEmpty());
        e.modulo.Proyecto.Nombre = QStringLiteral("quedará vacío");
        e.Accion("PRY0")->trigger();
        QCOMPARE(e.modulo.ArchivoProyecto, QStringLiteral("Sin Nombre 3"));
        QCOMPARE(v.windowTitle(), QStringLiteral("VAREK-9 [Sin Nombre 3]"));
        QVERIFY(e.modulo.Proyecto.Nombre.isEmpty());
        QVERIFY(!QFile::exists("Sin Nombre 3.vk9"));

        // Guardar un "Sin Nombre" pide nombre; después del guardar como, guarda directo.
        e.plataforma.RutasGuardar.enqueue(QDir::current().filePath("Obra.VK9"));
        e.Accion("mnuProyecto3")->trigger();
        QCOMPARE(e.modulo.ArchivoProyecto, QDir::current().filePath("Obra"));
        QVERIFY(QFile::exists("Obra.vk9"));
        QCOMPARE(LeerBytes("varek-9.ult"), QByteArray("Obra\r\n"));
        QVERIFY(!QFile::exists("Sin Nombre 3.vk9"));
        e.modulo.Proyecto.Nombre = QStringLiteral("segunda versión");
        e.modulo.ProyectoModificado = true;
        e.Accion("mnuProyecto3")->trigger();
        QVERIFY(e.plataforma.RutasGuardar.isEmpty());
        QVERIFY(!e.modulo.ProyectoModificado);
        QVERIFY(LeerBytes("Obra.vk9").contains("segunda versi\xf3n"));
    }

    void abrirYGuardarComo() {
        Escenario e;
        QVERIFY(EscribirBytes("Vieja.VK9", ProyectoConNombre("La vieja")));
        frmVarek9& v = e.Abrir();
        // Abrir con la extensión en mayúsculas.
        e.plataforma.RutasAbrir.enqueue(QDir::current().filePath("Vieja.VK9"));
        e.Accion("mnuProyecto1")->trigger();
        QCOMPARE(e.modulo.ArchivoProyecto, QDir::current().filePath("Vieja"));
        QCOMPARE(e.modulo.Proyecto.Nombre, QStringLiteral("La vieja"));
        QCOMPARE(v.windowTitle(), QStringLiteral("VAREK-9 [%1]").arg(e.modulo.ArchivoProyecto));

        // Un archivo que no existe.
        e.plataforma.RutasAbrir.enqueue(QDir::current().filePath("Nada.vk9"));
        QVERIFY(!v.AbrirProyecto());
        QCOMPARE(e.UltimoMensaje(), QStringLiteral("CARGAR PROYECTO: El Proyecto [%1] NO existe...")
                                        .arg(QDir::current().filePath("Nada")));
        // Cancelar no cambia nada.
        QVERIFY(!v.AbrirProyecto());

        // Sobrescribir respondido No.
        const QByteArray antes = LeerBytes("Vieja.VK9");
        e.modulo.Proyecto.Nombre = QStringLiteral("cambiado");
        e.plataforma.RutasGuardar.enqueue(QDir::current().filePath("Vieja.vk9"));
        e.Accion("mnuProyecto4")->trigger();
        const MensajeRegistrado& m = e.plataforma.Mensajes.last();
        QCOMPARE(m.Titulo, QStringLiteral("GUARDAR PROYECTO"));
        QCOMPARE(m.Texto, QStringLiteral("El Proyecto [%1] Ya existe, desea sobreescribir...")
                              .arg(QDir::current().filePath("Vieja")));
        QCOMPARE(m.Botones, BotonesMensaje::SiNo);
        QCOMPARE(m.PorDefecto, RespuestaMensaje::No);
        QCOMPARE(LeerBytes("Vieja.VK9"), antes);
    }

    // Toda salida pasa por la misma pregunta con Cancelar: el menú, el botón
    // "&Salir", cerrar la ventana y el fin de la sesión del escritorio.
    void salidas_data() {
        QTest::addColumn<int>("via");
        QTest::addColumn<int>("codigo");
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
        QFETCH(int, via);
        QFETCH(int, codigo);
        const auto respuesta = RespuestaMensaje(codigo);
        Escenario e;
        frmVarek9& v = e.Abrir();
        e.modulo.ProyectoModificado = true;
        v.GuardarRecuperacion();
        QVERIFY(QFile::exists("Defecto.vk9.recuperar"));
        e.modulo.Proyecto.Nombre = QStringLiteral("Ultimo cambio");
        e.plataforma.Respuestas.enqueue(respuesta);
        bool termina = false;
        switch (via) {
        case 0:
            e.Accion("mnuTerminar0")->trigger();
            break;
        case 1:
            QTest::mouseClick(v.Boton(99), Qt::LeftButton);
            break;
        case 2:
            v.close();
            break; // la cruz de la ventana y Alt+F4 llegan como close()
        default:
            termina = v.CierreDeSesion(via == 3);
            break;
        }
        if (via == 4) {
            QVERIFY(termina && e.plataforma.Mensajes.isEmpty());
            QVERIFY(LeerBytes("Defecto.vk9.recuperar").contains("Ultimo cambio"));
            QVERIFY(!QFile::exists("Defecto.vk9"));
            return;
        }
        QCOMPARE(e.plataforma.Mensajes.size(), 1);
        QCOMPARE(e.plataforma.Mensajes[0].Botones, BotonesMensaje::SiNoCancelar);
        QCOMPARE(e.UltimoMensaje(),
                 QStringLiteral("GUARDAR PROYECTO: Desea guardar el proyecto actual [Defecto]"));
        const bool sigue = respuesta == RespuestaMensaje::Cancelar;
        if (via == 3)
            QCOMPARE(termina, !sigue);
        else
            QCOMPARE(v.isVisible(), sigue);
        QCOMPARE(QFile::exists("Defecto.vk9"), respuesta == RespuestaMensaje::Si);
        // Guardar o descartar quita la copia; cancelar la deja.
        QCOMPARE(QFile::exists("Defecto.vk9.recuperar"), sigue);
    }

    // "Sí" para un proyecto sin nombre pide dónde guardarlo; cancelar ese diálogo
    // cancela lo que preguntó.
    void siSinNombrePideNombre() {
        Escenario e;
        frmVarek9& v = e.Abrir();
        e.Accion("PRY0")->trigger();
        QCOMPARE(e.modulo.ArchivoProyecto, QStringLiteral("Sin Nombre 1"));
        e.modulo.ProyectoModificado = true;
        e.plataforma.Respuestas.enqueue(RespuestaMensaje::Si);
        QVERIFY(!v.close()); // la ventana sigue abierta
        QVERIFY(!QFile::exists("Sin Nombre 1.vk9"));
        e.plataforma.Respuestas.enqueue(RespuestaMensaje::Si);
        e.plataforma.RutasGuardar.enqueue(QDir::current().filePath("Puente.vk9"));
        QVERIFY(v.close());
        QVERIFY(QFile::exists("Puente.vk9"));
        QVERIFY(!QFile::exists("Sin Nombre 1.vk9"));
        QCOMPARE(LeerBytes("varek-9.ult"), QByteArray("Puente\r\n"));
    }

    void guardarFallidoConservaLosCambios() {
        Escenario e;
        QVERIFY(EscribirBytes("archivo", "no soy carpeta"));
        frmVarek9& v = e.Abrir(QStringLiteral("archivo/proyecto"));
        e.modulo.ProyectoModificado = true;
        e.Accion("mnuProyecto3")->trigger();
        QCOMPARE(e.plataforma.Mensajes.last().Icono, IconoMensaje::Exclamacion);
        QVERIFY(e.UltimoMensaje().startsWith(
            QStringLiteral("ERROR: Se presentó un error en el sistema...\n\nError : ")));
        QVERIFY(e.modulo.ProyectoModificado);
        // Tampoco se cierra la ventana si al responder Sí no se pudo guardar.
        e.plataforma.Respuestas.enqueue(RespuestaMensaje::Si);
        QVERIFY(!v.close());
    }

    void propiedadesGuardaAlCerrar() {
        Escenario e;
        e.Abrir();
        e.plataforma.Modales.enqueue([](QDialog& d) { return d.objectName() == "frmProyecto"; });
        e.Accion("PRY10")->trigger();
        QCOMPARE(e.plataforma.VentanasModales.last(), QStringLiteral("frmProyecto"));
        QVERIFY(QFile::exists("Defecto.vk9"));
        // El botón "&Proyecto" abre el mismo diálogo pero no guarda.
        QVERIFY(QFile::remove("Defecto.vk9"));
        e.ventana->Boton(0)->click();
        QCOMPARE(e.plataforma.VentanasModales.last(), QStringLiteral("frmProyecto"));
        QVERIFY(!QFile::exists("Defecto.vk9"));
    }

    void botones() {
        Escenario e;
        frmVarek9& v = e.Abrir();
        // Alternativas sin unidades: nada; con unidades, su ventana modal.
        v.Boton(2)->click();
        QVERIFY(e.plataforma.Mensajes.isEmpty());
        QVERIFY(!e.plataforma.VentanasModales.contains(QStringLiteral("frmAlternativas")));
        e.modulo.Proyecto.NumeroUH = 1;
        e.modulo.Proyecto.UH[1].CodigoTramo = QStringLiteral("T1");
        v.Boton(2)->click();
        QCOMPARE(e.plataforma.VentanasModales.last(), QStringLiteral("frmAlternativas"));
        e.modulo.Proyecto.NumeroUH = 0;
        // Unidades de diseño: modal, sobre el proyecto abierto.
        QString tituloUnidades;
        e.plataforma.Modales.enqueue([&](QDialog& d) {
            tituloUnidades = d.windowTitle();
            return QDialog::Rejected;
        });
        v.Boton(1)->click();
        QCOMPARE(e.plataforma.VentanasModales.last(), QStringLiteral("frmUnidadesHomogeneas"));
        QCOMPARE(tituloUnidades, QStringLiteral("UNIDADES HOMOGENEAS Y DEFINITIVAS DE DISEÑO [%1]")
                                     .arg(e.modulo.ArchivoProyecto));
        // Solo el aviso de los costos unitarios en 0 de la ventana de alternativas.
        QCOMPARE(e.plataforma.Mensajes.size(), 1);
        e.plataforma.Mensajes.clear();

        v.Boton(20)->click();
        QCOMPARE(e.plataforma.Mensajes.last().Icono, IconoMensaje::Critico);
        QCOMPARE(e.UltimoMensaje(),
                 QStringLiteral("VAREK-9: El archivo [Manual Bajos Volumenes.pdf] no existe..."));
        QVERIFY(EscribirBytes("Estructuras Tipicas.dwg", "dibujo"));
        v.Boton(30)->click();
        QCOMPARE(e.plataforma.DocumentosAbiertos,
                 QStringList{QDir::current().absoluteFilePath("Estructuras Tipicas.dwg")});

        // Especificaciones: se busca como los programas complementarios; si no está, se avisa.
        v.Boton(21)->click();
        QVERIFY(e.plataforma.ProcesosIniciados.isEmpty());
        QCOMPARE(e.plataforma.Mensajes.last().Icono, IconoMensaje::Critico);
        QCOMPARE(e.UltimoMensaje(),
                 QStringLiteral("VAREK-9: El programa [Especificaciones y Normas] no "
                                "está instalado..."));
        const QString programa = NombreEjecutable(ProgramaEspecificaciones);
        QVERIFY(EscribirBytes(programa, "#!/bin/sh\n"));
        QVERIFY(QFile::setPermissions(programa, QFile::ReadOwner | QFile::ExeOwner));
        v.Boton(21)->click();
        QCOMPARE(e.plataforma.ProcesosIniciados,
                 QStringList{QDir::current().absoluteFilePath(programa)});
        e.plataforma.ProcesosIniciables = false;
        const qsizetype avisos = e.plataforma.Mensajes.size();
        v.Boton(21)->click();
        QCOMPARE(e.plataforma.Mensajes.size(), avisos + 1);
        QCOMPARE(
            e.UltimoMensaje(),
            QStringLiteral("VAREK-9: No fue posible iniciar el programa [%1]...").arg(programa));
    }

    void cajaDeLibreriasSoloConAlgoQueDecir() {
        // Sin "DirLib" ni librerías: la caja no aparece y no queda el marcador.
        Escenario e;
        frmVarek9& v = e.Abrir();
        QVERIFY(v.findChild<QPlainTextEdit*>("txtLib")->isHidden());
        QVERIFY(!QFile::exists("registro.registrando"));
        // Con "DirLib", el registro de la revisión.
        Escenario conDirLib;
        QVERIFY(EscribirBytes("DirLib", "\r\n") && EscribirBytes("A.OCX", "a"));
        frmVarek9& w = conDirLib.Abrir();
        const auto* txtLib = w.findChild<QPlainTextEdit*>("txtLib");
        QVERIFY(txtLib->isVisible());
        QCOMPARE(txtLib->toPlainText(), QStringLiteral("*.OCX\ncopiando: A.OCX\n*.DLL"));
    }

    void dialogosDeQtEnEspanol() {
        if (!QFile::exists(QLibraryInfo::path(QLibraryInfo::TranslationsPath) + "/qtbase_es.qm"))
            QSKIP(
                "Falta qtbase_es.qm (paquete qt6-translations-l10n): no se prueba la traducción.");
        QLineEdit caja;
        const auto textos = [&caja] {
            std::unique_ptr<QMenu> menu(caja.createStandardContextMenu());
            QStringList t;
            for (const QAction* a : menu->actions())
                t << a->text().remove('&').section('\t', 0, 0);
            return t;
        };
        QVERIFY(textos().contains("Undo"));
        QTranslator* traduccion = CargarTraduccionQt();
        QVERIFY(traduccion);
        QVERIFY2(textos().contains("Deshacer"), qPrintable(textos().join(", ")));
        QDialogButtonBox botones(QDialogButtonBox::Cancel);
        QCOMPARE(botones.button(QDialogButtonBox::Cancel)->text().remove('&'), "Cancelar");
        QCoreApplication::removeTranslator(traduccion);
        delete traduccion;
    }

    void resaltadoDeBotones() {
        Escenario e;
        frmVarek9& v = e.Abrir();
        MoverRaton(v.Boton(11));
        QVERIFY(v.Boton(11)->isChecked());
        QVERIFY(!v.Boton(0)->isChecked());
        MoverRaton(v.Boton(0));
        QVERIFY(v.Boton(0)->isChecked());
        QVERIFY(!v.Boton(11)->isChecked());
        // Sobre el fondo nada queda resaltado.
        MoverRaton(v.centralWidget(), QPointF(2, 2));
        QVERIFY(!v.Boton(0)->isChecked());

        // Tras una acción el resaltado descansa 100 ms.
        v.Boton(13)->click();
        MoverRaton(v.Boton(12));
        QVERIFY(!v.Boton(12)->isChecked());
        QTRY_VERIFY_WITH_TIMEOUT((MoverRaton(v.Boton(12)), v.Boton(12)->isChecked()), 1000);
    }

    void programasComplementarios() {
        Escenario e;
        frmVarek9& v = e.Abrir();
        // Un ejecutable en la carpeta actual; la plataforma hace de programa y deja
        // su resultado.
        for (const char* nombre : {"Clima", "Transito", "Mr", "Drenaje"}) {
            QVERIFY(EscribirBytes(nombre, ""));
            QFile::setPermissions(nombre, QFile::permissions(nombre) | QFile::ExeOwner);
        }
        e.plataforma.AlIniciarPrograma = [](const QString&, const QStringList& argumentos) {
            const QString x = argumentos.value(0).section(u',', 1, 1);
            EscribirBytes(x + ".RES", "libre\r\n 321 \r\n");
        };
        const auto ejecutar = [](QDialog& d) {
            const bool cerrada = QTest::qWaitFor([&] { return !d.isVisible(); }, 10000);
            return cerrada ? d.result() : -1;
        };
        // Lo que haya dejado la tabla de unidades no pasa al uso libre.
        e.modulo.ResultadoPrograma.Seleccionar = true;
        e.modulo.ResultadoPrograma.Referencia = QStringLiteral("varek-9");
        e.plataforma.Modales.enqueue(ejecutar);
        v.Boton(11)->click();
        QCOMPARE(e.plataforma.VentanasModales.last(), QStringLiteral("frmProgramas"));
        QCOMPARE(
            e.plataforma.ProgramasIniciados,
            QStringList{QDir::current().absoluteFilePath("Transito") + " ,N1,SinPresentacion"});
        QVERIFY(!e.modulo.ResultadoPrograma.Seleccionar);
        QVERIFY(e.modulo.ResultadoPrograma.HayResultado);
        QVERIFY(e.modulo.ResultadoPrograma.ValorTransito == 321);
        QVERIFY(!QFile::exists("N1.RES"));

        const struct {
            int Boton;
            const char* Programa;
        } otros[] = {{10, "Clima ,C1,"}, {12, "Mr ,M1,"}, {13, "Drenaje ,D1,"}};
        for (const auto& o : otros) {
            e.plataforma.Modales.enqueue(ejecutar);
            v.Boton(o.Boton)->click();
            QVERIFY(e.plataforma.ProgramasIniciados.last().contains(QLatin1String(o.Programa)));
        }
        QVERIFY(e.modulo.ResultadoPrograma.ValorModulo == 321);
        QVERIFY(!e.modulo.ResultadoPrograma.HayResultado); // el drenaje fue el último
        QVERIFY(e.plataforma.Mensajes.isEmpty());
    }
};

VAREK9_REGISTRAR_PRUEBA(PruebasfrmVarek9)
#include "PruebasfrmVarek9.moc"
