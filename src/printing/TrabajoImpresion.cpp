#include "printing/TrabajoImpresion.h"

#include "common/CarpetasSesion.h"
#include "common/ModuloLibzrl.h"
#include "common/Numeros.h"
#include "common/Texto.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

QByteArray TextoFecha(const QDateTime& momento) {
    return momento.toString(QStringLiteral("dd/MM/yyyy HH:mm:ss")).toLatin1();
}

namespace {

// La copia nunca cae sobre el reporte que se lee (un enlace o un nombre que el
// sistema no distingue por mayúsculas) ni, si el reporte es a su vez una copia
// ("x.text"), sobre el reporte del que salió ("x.txt"): toma otro nombre.
QString NombreCopiaLibre(const QString& reporte) {
    const QString copia = NombreCopiaTexto(reporte);
    const bool original = copia.contains(QStringLiteral(".txt")) && QFileInfo::exists(copia) &&
                          MismoArchivo(NombreCopiaTexto(copia), reporte);
    return original ? SiguienteNombreLibre(copia) : NombreSalidaLibre(copia, reporte);
}

} // namespace

Prepaso PrepararReporte(const QString& reporte, int lineasPorPagina) {
    Prepaso p;
    p.CopiaTexto = NombreCopiaLibre(reporte);
    QFile archivo(reporte);
    QByteArray copia;
    if (archivo.open(QIODevice::ReadOnly)) {
        p.Resumen = CargarProyecto(archivo.readAll(), lineasPorPagina, &copia);
        p.Ok = true;
    } else {
        p.Resumen = CargarProyecto(QByteArrayView(), lineasPorPagina, &copia);
    }
    QFile destino(p.CopiaTexto);
    const bool escrita = destino.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
                         destino.write(copia) == copia.size();
    p.Ok = p.Ok && escrita;
    return p;
}

ReporteRetenido::ReporteRetenido(const QString& reporte)
    : bloqueo_(reporte + QStringLiteral(".PRO")) {
    bloqueo_.Bloquear();
}

ReporteRetenido::~ReporteRetenido() {
    if (!bloqueo_.Bloqueado()) return;
    bloqueo_.Liberar();
    QFile::remove(bloqueo_.RutaArchivo());
}

bool LeerListaImagenes(QByteArrayView contenido, QList<ImagenReporte>& imagenes) {
    imagenes.clear();
    LectorLineas lector(contenido);
    while (!lector.Fin()) {
        const QByteArray linea = lector.Siguiente().toByteArray() + ' ';
        const qsizetype b1 = linea.indexOf(' ');
        const qsizetype b2 = b1 < 0 ? -1 : linea.indexOf(' ', b1 + 1);
        const qsizetype b3 = b2 < 0 ? -1 : linea.indexOf(' ', b2 + 1);
        if (b3 < 0) continue;
        if (imagenes.size() >= MaximoImagenes) return false;
        ImagenReporte imagen;
        imagen.Archivo = Recortar(DecodificarAnsi(QByteArrayView(linea).first(b1)));
        imagen.X = LeerNumero(QByteArrayView(linea).sliced(b1 + 1, b2 - b1 - 1)).Valor;
        imagen.Y = LeerNumero(QByteArrayView(linea).sliced(b2 + 1, b3 - b2 - 1)).Valor;
        imagenes.append(imagen);
    }
    return true;
}

QByteArray NombreEnLote(const QString& ruta) {
    // Los archivos de una sesión viven en una carpeta que puede tener blancos.
    const QByteArray nombre = CodificarAnsi(QDir::toNativeSeparators(ruta));
    return ruta.contains(u' ') ? '"' + nombre + '"' : nombre;
}

QByteArray LineaBatDos(const QString& cola, const QString& puerto) {
    const QByteArray nombre = NombreEnLote(cola);
    if (QFileInfo::exists(QStringLiteral("Imprime.exe"))) return "Imprime.exe " + nombre;
    return "TYPE " + nombre + " >" + CodificarAnsi(Recortar(puerto));
}

bool EscribirBat(const QByteArray& linea) {
    QFile bat(RutaTrabajo(QStringLiteral("q.bat")));
    if (!bat.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
    return bat.write(linea + "\r\n") == linea.size() + 2;
}

ColaDos EscribirColaDos(const QString& reporte, const ResumenReporte& resumen,
                        const ParametrosImpresion& parametros, const QString& salida) {
    ColaDos r;
    QFile entrada(reporte);
    if (!entrada.exists()) {
        r.Ok = true;
        return r;
    }
    if (!entrada.open(QIODevice::ReadOnly)) {
        r.Error = entrada.errorString();
        return r;
    }
    bool ok = true;
    const QByteArray texto = TextoDos(entrada.readAll(), resumen, parametros, &ok);
    if (!ok) {
        r.Error = QStringLiteral("más de %1 líneas de encabezado").arg(MaximoEncabezados);
        return r;
    }

    // Ni el nombre reservado ni uno dado caen sobre el reporte que se lee.
    r.Archivo = salida.isEmpty() ? NombreArchivoDatos(QString(), reporte)
                                 : NombreSalidaLibre(salida, reporte);
    // El compañero vacío marca el nombre como ocupado mientras se escribe la cola.
    QFile companero(r.Archivo + QStringLiteral(".DAT"));
    if (salida.isEmpty()) companero.open(QIODevice::WriteOnly | QIODevice::Truncate);
    QFile cola(r.Archivo);
    if (!cola.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        cola.write(texto) != texto.size() || !cola.flush()) {
        r.Error = cola.errorString();
        return r;
    }
    r.Ok = true;
    return r;
}
