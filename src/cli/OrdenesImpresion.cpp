#include "cli/OrdenesImpresion.h"

#include "cli/SalidaEntrada.h"

#include "printing/ConfiguracionImpresion.h"
#include "printing/SalidaSegura.h"
#include "printing/TrabajoImpresion.h"
#include "project/ModuloVarek9.h"

#ifdef VAREK9_CON_VENTANAS
#include "alternatives/Memoria.h"
#include "alternatives/PintarDiagrama.h"
#include "alternatives/PintarSensibilidad.h"
#include "alternatives/frmSensibilidad.h"
#include "printing/ImpresoraQt.h"

#include <QApplication>
#include <QPrinter>
#endif

#include <QDateTime>
#include <QFile>
#include <QFileInfo>

#include <cstdio>
#include <optional>

namespace {

void Escribir(std::FILE* destino, const QString& texto) {
    const QByteArray bytes = texto.toLocal8Bit();
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), destino);
}

int ErrorUso(const QString& texto) {
    Escribir(stderr, texto + QStringLiteral("\nUse varek9-cli --ayuda.\n"));
    return 2;
}

struct Opciones {
    QStringList Posicionales;
    ParametrosImpresion Parametros;
    QString Salida;
    QString Papel;
    QString Error;
};

// Separa las opciones de página, copias, fecha y salida de los argumentos.
Opciones LeerOpciones(const QStringList& args, const QStringList& permitidas) {
    Opciones o;
    o.Parametros.Fecha = TextoFecha(QDateTime::currentDateTime());
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (!a.startsWith(QStringLiteral("--"))) {
            o.Posicionales << a;
            continue;
        }
        if (!permitidas.contains(a)) {
            o.Error = QStringLiteral("Opción desconocida: [%1].").arg(a);
            return o;
        }
        if (i + 1 >= args.size()) {
            o.Error = QStringLiteral("Falta el valor después de %1.").arg(a);
            return o;
        }
        const QString valor = args[++i];
        if (a == u"--salida") {
            o.Salida = valor;
        } else if (a == u"--papel") {
            o.Papel = valor;
        } else if (a == u"--fecha") {
            const QDateTime fecha =
                QDateTime::fromString(valor, QStringLiteral("dd/MM/yyyy HH:mm:ss"));
            if (!fecha.isValid()) {
                o.Error = QStringLiteral("La fecha [%1] no tiene la forma dd/MM/aaaa HH:mm:ss.")
                              .arg(valor);
                return o;
            }
            o.Parametros.Fecha = TextoFecha(fecha);
        } else {
            bool ok = false;
            const int n = valor.toInt(&ok);
            if (!ok || n < 0 || n > 32767) {
                o.Error = QStringLiteral("El valor de %1 [%2] no es un entero de 0 a 32767.")
                              .arg(a, valor);
                return o;
            }
            if (a == u"--desde") o.Parametros.Desde = n;
            if (a == u"--hasta") o.Parametros.Hasta = n;
            if (a == u"--copias") o.Parametros.Copias = n;
        }
    }
    return o;
}

std::optional<Prepaso> Preparar(const QString& reporte, const ConfiguracionImpresion& c) {
    if (!QFileInfo(reporte).isFile()) {
        Escribir(stderr, QStringLiteral("El reporte [%1] NO existe...\n").arg(reporte));
        return std::nullopt;
    }
    return PrepararReporte(reporte, c.LineasPorPagina());
}

} // namespace

bool SalidaProhibida(const QString& salida, ClaseSalida clase, const QString& proyecto) {
    const DecisionSalida d = DecidirSalida(salida, clase, proyecto);
    if (d.Rechazo.isEmpty()) return false;
    Escribir(stderr, d.Rechazo + u'\n');
    return true;
}

int OrdenTexto(const QStringList& args) {
    if (args.size() != 1)
        return ErrorUso(QStringLiteral("La orden texto lleva un argumento: REPORTE."));
    const auto p = Preparar(args[0], CargarConfiguracionImpresion());
    if (!p) return 2;
    if (!p->Ok) {
        Escribir(stderr, QStringLiteral("No se pudo escribir [%1].\n").arg(p->CopiaTexto));
        return 1;
    }
    Escribir(stdout, p->CopiaTexto + u'\n');
    return 0;
}

int OrdenDos(const QStringList& args) {
    Opciones o = LeerOpciones(args, {QStringLiteral("--desde"), QStringLiteral("--hasta"),
                                     QStringLiteral("--copias"), QStringLiteral("--fecha"),
                                     QStringLiteral("--salida")});
    if (!o.Error.isEmpty()) return ErrorUso(o.Error);
    if (o.Posicionales.size() != 1)
        return ErrorUso(QStringLiteral("La orden dos lleva un argumento: REPORTE."));
    if (SalidaSobreEntrada(o.Salida, o.Posicionales[0]) ||
        SalidaProhibida(o.Salida, ClaseSalida::Archivo))
        return 2;
    const ConfiguracionImpresion c = CargarConfiguracionImpresion();
    const auto p = Preparar(o.Posicionales[0], c);
    if (!p) return 2;
    o.Parametros.LineasPorPagina = c.LineasPorPagina();
    const ColaDos cola = EscribirColaDos(o.Posicionales[0], p->Resumen, o.Parametros, o.Salida);
    if (!cola.Ok) {
        Escribir(stderr, QStringLiteral("Error al imprimir... %1\n").arg(cola.Error));
        return 1;
    }
    Escribir(stdout, cola.Archivo + u'\n');
    return 0;
}

int OrdenPdf(const QStringList& args, int argc, char** argv) {
#ifdef VAREK9_CON_VENTANAS
    Opciones o = LeerOpciones(args, {QStringLiteral("--desde"), QStringLiteral("--hasta"),
                                     QStringLiteral("--fecha"), QStringLiteral("--papel")});
    if (!o.Error.isEmpty()) return ErrorUso(o.Error);
    const std::optional<QPageSize> papel =
        o.Papel.isEmpty() ? std::nullopt : PapelDeNombre(o.Papel);
    if (!o.Papel.isEmpty() && !papel)
        return ErrorUso(QStringLiteral("La opción --papel lleva carta o a4."));
    if (o.Posicionales.size() != 2)
        return ErrorUso(QStringLiteral("La orden pdf lleva dos argumentos: REPORTE y SALIDA.pdf."));
    if (SalidaSobreEntrada(o.Posicionales[1], o.Posicionales[0]) ||
        SalidaProhibida(o.Posicionales[1], ClaseSalida::Archivo))
        return 2;
    // Sin pantalla: la impresión a PDF no la necesita.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    RegistrarFuenteReportes();
    const ConfiguracionImpresion c = CargarConfiguracionImpresion();
    const auto p = Preparar(o.Posicionales[0], c);
    if (!p) return 2;
    o.Parametros.LineasPorPagina = c.LineasPorPagina();
    QPrinter impresora(QPrinter::HighResolution);
    impresora.setOutputFormat(QPrinter::PdfFormat);
    impresora.setOutputFileName(o.Posicionales[1]);
    // El papel dado o el de la región, como la impresora de la ventana.
    impresora.setPageSize(papel ? *papel : PapelDelSistema());
    const ResultadoImpresora r =
        ImprimirEnImpresora(impresora, o.Posicionales[0], p->Resumen, c, o.Parametros, false);
    if (!r.Ok) {
        Escribir(stderr, QStringLiteral("Error al imprimir... %1\n").arg(r.Error));
        return 1;
    }
    Escribir(stdout, QStringLiteral("%1: %2 páginas%3\n")
                         .arg(o.Posicionales[1])
                         .arg(r.Paginas)
                         .arg(r.Apaisada ? QStringLiteral(", apaisado") : QString()));
    return 0;
#else
    Q_UNUSED(args);
    Q_UNUSED(argc);
    Q_UNUSED(argv);
    return ErrorUso(QStringLiteral("Esta versión se compiló sin ventanas: no imprime en PDF."));
#endif
}

int DibujarDiagrama(ModuloVarek9& modulo, const QString& salida, int argc, char** argv) {
#ifdef VAREK9_CON_VENTANAS
    if (SalidaProhibida(salida, ClaseSalida::Diagrama, modulo.EstadoLectura.Ruta)) return 2;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const DiagramaLineal d = CalcularDiagrama(modulo);
    QStringList escritos;
    const QString error = ExportarDiagrama(salida, d, EncabezadoDe(modulo), &escritos);
    if (!error.isEmpty()) {
        Escribir(stderr, error + u'\n');
        return 1;
    }
    Escribir(stdout, QStringLiteral("%1: %2 unidades, de %3 a %4\n")
                         .arg(escritos.join(u", "))
                         .arg(d.Columnas.size())
                         .arg(TextoAbscisa(d.AbscisaMinima), TextoAbscisa(d.AbscisaMaxima)));
    return 0;
#else
    Q_UNUSED(modulo);
    Q_UNUSED(salida);
    Q_UNUSED(argc);
    Q_UNUSED(argv);
    return ErrorUso(QStringLiteral("Esta versión se compiló sin ventanas: no dibuja diagramas."));
#endif
}

int EscribirMemoriaPdf(ModuloVarek9& modulo, const QString& salida, const QString& papel,
                       SeparadorDecimal separador, int argc, char** argv) {
#ifdef VAREK9_CON_VENTANAS
    OpcionesMemoria opciones;
    opciones.Separador = separador;
    if (!papel.isEmpty()) {
        const std::optional<QPageSize> elegido = PapelDeNombre(papel);
        if (!elegido) return ErrorUso(QStringLiteral("La opción --papel lleva carta o a4."));
        opciones.Papel = *elegido;
    }
    if (SalidaProhibida(salida, ClaseSalida::Pdf, modulo.EstadoLectura.Ruta)) return 2;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (papel.isEmpty()) opciones.Papel = PapelDelSistema();
    const ResultadoMemoria r = EscribirMemoria(salida, modulo, opciones);
    if (!r.Error.isEmpty()) {
        Escribir(stderr, r.Error + u'\n');
        return 1;
    }
    Escribir(stdout, QStringLiteral("%1: %2 páginas (%3 del diagrama)\n")
                         .arg(salida)
                         .arg(r.Paginas)
                         .arg(r.PaginasDiagrama));
    return 0;
#else
    Q_UNUSED(modulo);
    Q_UNUSED(salida);
    Q_UNUSED(papel);
    Q_UNUSED(separador);
    Q_UNUSED(argc);
    Q_UNUSED(argv);
    return ErrorUso(QStringLiteral("Esta versión se compiló sin ventanas: no escribe la memoria."));
#endif
}

int DibujarSensibilidadUnidad(ModuloVarek9& modulo, int unidad, const QString& salida, int argc,
                              char** argv) {
#ifdef VAREK9_CON_VENTANAS
    if (SalidaProhibida(salida, ClaseSalida::Diagrama, modulo.EstadoLectura.Ruta)) return 2;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QList<CurvaSensibilidad> curvas = CalcularSensibilidad(modulo, unidad);
    if (curvas.isEmpty()) {
        Escribir(stderr,
                 QStringLiteral("La unidad [%1] no tiene diseño: %2.\n")
                     .arg(unidad)
                     .arg(TextoSinDiseno(SinDiseno(modulo.Proyecto, modulo.Proyecto.UH[unidad]))));
        return 2;
    }
    const QString error =
        ExportarSensibilidad(salida, DibujarSensibilidad(curvas, TituloSensibilidad(modulo, unidad),
                                                         SeparadorDecimal::Punto));
    if (!error.isEmpty()) {
        Escribir(stderr, error + u'\n');
        return 1;
    }
    Escribir(stdout, QStringLiteral("%1: %2 curvas de %3 puntos\n")
                         .arg(salida)
                         .arg(curvas.size())
                         .arg(curvas.front().Puntos.size()));
    return 0;
#else
    Q_UNUSED(modulo);
    Q_UNUSED(unidad);
    Q_UNUSED(salida);
    Q_UNUSED(argc);
    Q_UNUSED(argv);
    return ErrorUso(QStringLiteral("Esta versión se compiló sin ventanas: no dibuja curvas."));
#endif
}
