#include "cli/OrdenesUnidades.h"

#include "alternatives/HojaResultados.h"
#include "cli/OrdenesImpresion.h"
#include "cli/SalidaEntrada.h"
#include "common/EntradaDatos.h"
#include "common/Texto.h"
#include "project/ArchivoProyecto.h"
#include "project/ModuloVarek9.h"
#include "units/ImportarUH.h"
#include "units/PortapapelesGrilla.h"
#include "units/RevisionUH.h"

#include <QFile>
#include <QFileInfo>

#include <cstdio>

namespace {

constexpr int SalidaBien = 0;
constexpr int SalidaEscritura = 1;
constexpr int SalidaUso = 2;

void EscribirBytes(std::FILE* destino, const QByteArray& bytes) {
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), destino);
    std::fflush(destino);
}

void Avisar(const QString& texto) {
    EscribirBytes(stderr, (texto + u'\n').toLocal8Bit());
}

int ErrorUso(const QString& texto) {
    Avisar(texto + QStringLiteral("\nUse varek9-cli --ayuda para ver las órdenes."));
    return SalidaUso;
}

QString SinExtension(const QString& ruta) {
    return ruta.endsWith(QStringLiteral(".vk9"), Qt::CaseInsensitive) ? ruta.chopped(4) : ruta;
}

// Lee el proyecto; false (tras avisar) si no existe. Un aviso de lectura no
// detiene la orden, como no detiene la ventana principal.
bool CargarProyecto(const QString& ruta, ModuloVarek9& modulo) {
    if (!QFileInfo(ruta).isFile()) {
        Avisar(QStringLiteral("El Proyecto [%1] NO existe...").arg(ruta));
        return false;
    }
    modulo.ArchivoProyecto = SinExtension(ruta);
    const AvisoLectura aviso = LeerProyectoDesde(modulo, ruta);
    if (aviso.HayAviso) Avisar(aviso.Titulo + QStringLiteral(": ") + aviso.Texto);
    return !aviso.NoEsProyecto;
}

// Quita "--separador coma|punto" de los argumentos; sin la opción, la
// preferencia del usuario. Falso (tras avisar) si el valor no es ninguno.
bool TomarSeparador(QStringList& args, SeparadorDecimal& separador) {
    separador = LeerSeparadorDecimal();
    const qsizetype pos = args.indexOf(QStringLiteral("--separador"));
    if (pos < 0) return true;
    const auto elegido = pos + 1 < args.size() ? SeparadorDeNombre(args[pos + 1]) : std::nullopt;
    if (!elegido) {
        ErrorUso(QStringLiteral("La opción --separador lleva coma o punto."));
        return false;
    }
    separador = *elegido;
    args.remove(pos, 2);
    return true;
}

} // namespace

int OrdenImportar(QStringList args) {
    SeparadorDecimal separador{};
    if (!TomarSeparador(args, separador)) return SalidaUso;
    QString hoja;
    if (const qsizetype pos = args.indexOf(QStringLiteral("--hoja")); pos >= 0) {
        if (pos + 1 >= args.size())
            return ErrorUso(QStringLiteral("La opción --hoja lleva el nombre de una hoja."));
        hoja = args[pos + 1];
        args.remove(pos, 2);
    }
    if (args.size() != 3)
        return ErrorUso(QStringLiteral(
            "La orden importar lleva tres argumentos: PROYECTO.vk9 UNIDADES SALIDA.vk9."));
    ModuloVarek9 modulo;
    if (!CargarProyecto(args[0], modulo)) return SalidaUso;
    if (SalidaSobreEntrada(args[2], args[1])) return SalidaUso;
    QFile archivo(args[1]);
    if (!QFileInfo(args[1]).isFile() || !archivo.open(QIODevice::ReadOnly)) {
        Avisar(QStringLiteral("El archivo de unidades [%1] NO existe o no se puede leer...")
                   .arg(args[1]));
        return SalidaUso;
    }
    LecturaUnidades lectura = LeerUnidadesArchivo(archivo.readAll(), hoja);
    if (!lectura.Error.isEmpty()) {
        Avisar(lectura.Error);
        return SalidaUso;
    }

    Proyecto& p = modulo.Proyecto;
    const TablaTextos tabla = PrepararTablaUH(p);
    const int antes = p.NumeroUH;
    ImportacionUH imp = PrepararImportacionUH(tabla, antes, std::move(lectura), separador);
    // Lo mismo que muestra la vista previa de la ventana, en la salida de errores.
    const QString hallazgos = TextoImportacionUH(imp, separador);
    if (!hallazgos.isEmpty()) Avisar(hallazgos);
    if (imp.HayRechazadas()) {
        Avisar(
            QStringLiteral("Hay celdas que no se pueden tomar: no se guardó [%1]...").arg(args[2]));
        return SalidaEscritura;
    }
    const int esperadas = int(imp.Lectura.Filas.size() - imp.SinCodigo.size());
    QList<CeldaRechazada> rechazadas;
    RevisarUH(p, imp.Tabla, imp.Fila, &rechazadas);
    if (!rechazadas.isEmpty()) Avisar(TextoCeldasRechazadas(rechazadas));
    if (p.NumeroUH - antes != esperadas) {
        Avisar(QStringLiteral("Se esperaban %1 unidades nuevas y quedaron %2: no se guardó [%3]...")
                   .arg(esperadas)
                   .arg(p.NumeroUH - antes)
                   .arg(args[2]));
        return SalidaEscritura;
    }

    modulo.ArchivoProyecto = SinExtension(args[2]);
    const GuardadoProyecto error = GuardarProyectoEn(modulo, args[2]);
    if (!error.Ok) {
        Avisar(ErrorEscritura::Titulo() + QStringLiteral(": ") + error.Texto());
        return SalidaEscritura;
    }
    if (!error.Respaldo.isEmpty())
        Avisar(QStringLiteral("GUARDAR PROYECTO: ") + TextoRespaldo(error.Respaldo));
    return SalidaBien;
}

int OrdenExportar(QStringList args) {
    SeparadorDecimal separador{};
    if (!TomarSeparador(args, separador)) return SalidaUso;
    if (args.size() != 1)
        return ErrorUso(QStringLiteral("La orden exportar lleva un argumento: PROYECTO.vk9."));
    ModuloVarek9 modulo;
    if (!CargarProyecto(args[0], modulo)) return SalidaUso;
    TablaTextos tabla = PrepararTablaUH(modulo.Proyecto);
    tabla.PonerSeparador(separador);
    EscribirBytes(stdout, CodificarAnsi(CopiarTexto(tabla, 1, ColCodigoTramo)));
    return SalidaBien;
}

int OrdenHoja(QStringList args) {
    SeparadorDecimal separador{};
    if (!TomarSeparador(args, separador)) return SalidaUso;
    const qsizetype posSalida = args.indexOf(QStringLiteral("--salida"));
    if (posSalida < 0 || posSalida + 1 >= args.size())
        return ErrorUso(QStringLiteral("La orden hoja lleva --salida ARCHIVO.xlsx|.csv."));
    const QString salida = args[posSalida + 1];
    args.remove(posSalida, 2);
    if (args.size() != 1)
        return ErrorUso(QStringLiteral("La orden hoja lleva un argumento: PROYECTO.vk9."));
    const QString extension = QFileInfo(salida).suffix().toLower();
    if (extension != u"xlsx" && extension != u"csv")
        return ErrorUso(QStringLiteral("El archivo [%1] no es .xlsx ni .csv.").arg(salida));
    if (extension == u"xlsx" && !HayEscrituraXlsx()) {
        Avisar(TextoSinXlsx());
        return SalidaUso;
    }
    if (SalidaSobreEntrada(salida, args[0]) ||
        SalidaProhibida(salida, ClaseSalida::Archivo, args[0]))
        return SalidaUso;
    ModuloVarek9 modulo;
    if (!CargarProyecto(args[0], modulo)) return SalidaUso;
    const QString error = EscribirLibroResultados(modulo, salida, separador);
    if (!error.isEmpty()) {
        Avisar(ErrorEscritura::Titulo() + QStringLiteral(": ") + error);
        return SalidaEscritura;
    }
    return SalidaBien;
}
