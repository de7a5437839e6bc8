// Ventana principal con la plataforma con guion: arranque, comandos del proyecto,
// preguntas de guardar, botones y documentos.
#include "Pruebas.h"

#include "Archivos.h"
#include "PlataformaGuionada.h"
#include "app/ArchivoProyecto.h"
#include "app/frmVarek9.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QMouseEvent>
#include <QPushButton>
#include <QTemporaryDir>

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
    QString UltimoMensaje() const {
        return plataforma.Mensajes.isEmpty() ? QString() : plataforma.Mensajes.last().Texto;
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
    void arranqueConArgumento() {
        Escenario e;
        QVERIFY(QDir().mkdir("obras"));
        QVERIFY(EscribirBytes("obras/Tramo1.VK9", ProyectoConNombre("Tramo uno")));
        frmVarek9& v = e.Abrir(QStringLiteral("obras/Tramo1.VK9 , segundo"));
        QVERIFY(v.YaActivado());
        QCOMPARE(e.modulo.ArchivoProyecto, QStringLiteral("obras/Tramo1"));
        QCOMPARE(v.Argumentos().value(1), QStringLiteral("segundo"));
        QCOMPARE(v.windowTitle(), QStringLiteral("VAREK-9 [obras/Tramo1]"));
        QCOMPARE(e.Accion("mnuProyecto3")->text(), QStringLiteral("&Guardar [obras/Tramo1]"));
        // Primero el acerca de, después la lectura del proyecto.
        QCOMPARE(e.plataforma.VentanasModales, QStringList{"frmAbout"});
        QCOMPARE(e.modulo.Proyecto.Nombre, QStringLiteral("Tramo uno"));
    }

    void arranqueConUltimoProyectoODefecto() {
        Escenario e;
        QVERIFY(EscribirBytes("varek-9.ult", "anterior\r\n"));
        QVERIFY(EscribirBytes("anterior.vk9", ProyectoConNombre("El anterior")));
        e.Abrir();
        QCOMPARE(e.modulo.ArchivoProyecto, QStringLiteral("anterior"));
        QCOMPARE(e.modulo.Proyecto.Nombre, QStringLiteral("El anterior"));

        Escenario sinNada;
        frmVarek9& v = sinNada.Abrir();
        QCOMPARE(sinNada.modulo.ArchivoProyecto, QStringLiteral("Defecto"));
        QCOMPARE(v.windowTitle(), QStringLiteral("VAREK-9 [Defecto]"));
        QVERIFY(sinNada.plataforma.Mensajes.isEmpty());
    }

    void avisoDeLectura() {
        Escenario e;
        const QByteArray danado = "[Proyecto]\r\n 4 \r\nnoventa\r\n[FinProyecto]\r\n";
        QVERIFY(EscribirBytes("danado.vk9", danado));
        e.Abrir(QStringLiteral("danado"));
        QCOMPARE(e.plataforma.Mensajes.size(), 1);
        QCOMPARE(e.plataforma.Mensajes[0].Titulo, QStringLiteral("CARGAR PROYECTO"));
        QCOMPARE(
            e.UltimoMensaje(),
            QStringLiteral("El Proyecto [danado] tiene un valor no numérico en la línea 3..."));

        // El primer "Guardar" encima deja la copia ".bak" y lo dice; el segundo ya no.
        e.Accion("mnuProyecto3")->trigger();
        QCOMPARE(LeerBytes("danado.vk9.bak"), danado);
        QCOMPARE(e.plataforma.Mensajes.size(), 2);
        QCOMPARE(e.plataforma.Mensajes[1].Titulo, QStringLiteral("GUARDAR PROYECTO"));
        QVERIFY(e.UltimoMensaje().contains(QStringLiteral("[danado.vk9.bak]")));
        e.Accion("PRY3")->trigger();
        QCOMPARE(e.plataforma.Mensajes.size(), 2);
        QCOMPARE(LeerBytes("danado.vk9.bak"), danado);

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
        QVERIFY(EscribirBytes("Sin Nombre 1.vk9", ProyectoConNombre("uno")));
        QVERIFY(EscribirBytes("Sin Nombre 2.vk9", ProyectoConNombre("dos")));
        frmVarek9& v = e.Abrir();
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

    void guardarDefectoSinDialogo() {
        Escenario e;
        e.Abrir();
        e.modulo.ProyectoModificado = true;
        e.Accion("PRY3")->trigger();
        QVERIFY(QFile::exists("Defecto.vk9"));
        QCOMPARE(LeerBytes("varek-9.ult"), QByteArray("Defecto\r\n"));
        QVERIFY(!e.modulo.ProyectoModificado);
        QVERIFY(e.plataforma.Mensajes.isEmpty());
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
        QCOMPARE(e.plataforma.Mensajes.last().Titulo, QStringLiteral("CARGAR PROYECTO"));
        QCOMPARE(
            e.UltimoMensaje(),
            QStringLiteral("El Proyecto [%1] NO existe...").arg(QDir::current().filePath("Nada")));
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

    void preguntaAlCerrar() {
        Escenario e;
        frmVarek9& v = e.Abrir();
        e.modulo.ProyectoModificado = true;
        // Con Cancelar: el menú Salir no sigue.
        e.plataforma.Respuestas.enqueue(RespuestaMensaje::Cancelar);
        QVERIFY(!v.ChequeoGuardarProyecto());
        QCOMPARE(e.plataforma.Mensajes.last().Botones, BotonesMensaje::SiNoCancelar);
        QCOMPARE(e.UltimoMensaje(), QStringLiteral("Desea guardar el proyecto actual [Defecto]"));
        // Al cerrar la ventana solo Sí o No; No cierra sin guardar.
        e.plataforma.Respuestas.enqueue(RespuestaMensaje::No);
        QVERIFY(v.close());
        QCOMPARE(e.plataforma.Mensajes.last().Botones, BotonesMensaje::SiNo);
        QVERIFY(!QFile::exists("Defecto.vk9"));
    }

    void guardarFallidoConservaLosCambios() {
        Escenario e;
        QVERIFY(EscribirBytes("archivo", "no soy carpeta"));
        frmVarek9& v = e.Abrir(QStringLiteral("archivo/proyecto"));
        e.modulo.ProyectoModificado = true;
        e.Accion("mnuProyecto3")->trigger();
        QCOMPARE(e.plataforma.Mensajes.last().Titulo, QStringLiteral("ERROR"));
        QCOMPARE(e.plataforma.Mensajes.last().Icono, IconoMensaje::Exclamacion);
        QVERIFY(e.UltimoMensaje().startsWith(
            QStringLiteral("Se presentó un error en el sistema...\n\nError : ")));
        QVERIFY(e.modulo.ProyectoModificado);
        // Tampoco se cierra la ventana si al responder Sí no se pudo guardar.
        e.plataforma.Respuestas.enqueue(RespuestaMensaje::Si);
        QVERIFY(!v.close());
        QVERIFY(v.isVisible());
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
        QVERIFY(e.plataforma.Mensajes.isEmpty());

        v.Boton(20)->click();
        QCOMPARE(e.plataforma.Mensajes.last().Icono, IconoMensaje::Critico);
        QCOMPARE(e.UltimoMensaje(),
                 QStringLiteral("El archivo [Manual Bajos Volumenes.pdf] no existe..."));
        QVERIFY(EscribirBytes("Estructuras Tipicas.dwg", "dibujo"));
        v.Boton(30)->click();
        QCOMPARE(e.plataforma.DocumentosAbiertos,
                 QStringList{QDir::current().absoluteFilePath("Estructuras Tipicas.dwg")});

        e.plataforma.ProcesosIniciables = false;
        v.Boton(21)->click();
        QVERIFY(e.plataforma.ProcesosIniciados.value(0).endsWith("Especificaciones y Normas.exe"));
        QCOMPARE(e.UltimoMensaje(),
                 QStringLiteral(
                     "No fue posible iniciar el programa [Especificaciones y Normas.exe]..."));
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

    void salirTerminaSinPreguntar() {
        Escenario e;
        frmVarek9& v = e.Abrir();
        e.modulo.ProyectoModificado = true;
        v.Boton(99)->click();
        QVERIFY(!v.isVisible());
        QVERIFY(e.plataforma.Mensajes.isEmpty());
    }
};

VAREK9_REGISTRAR_PRUEBA(PruebasfrmVarek9)
#include "PruebasfrmVarek9.moc"
