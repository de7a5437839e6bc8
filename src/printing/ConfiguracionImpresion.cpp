#include "printing/ConfiguracionImpresion.h"

#include "common/CarpetasSesion.h"
#include "common/Numeros.h"
#include "common/Texto.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

#include <algorithm>
#include <cmath>

int ConfiguracionImpresion::LineasPorPagina() const {
    // El espaciamiento es de precisión simple pero la división es doble: 60 líneas a
    // 1.2 dan 49, no 50.
    const double lineas = static_cast<double>(LongitudPagina) / static_cast<double>(Espaciamiento);
    // Un espaciamiento ínfimo daría más líneas de las que caben en un entero.
    if (std::isnan(lineas)) return LongitudPagina;
    return static_cast<int>(std::floor(std::clamp(lineas, -1e6, 1e6)));
}

void LeerPuertos(ConfiguracionImpresion& configuracion, QStringView valor) {
    configuracion.Puertos.clear();
    const QString texto = valor.toString() + u' ';
    qsizetype inicio = 0;
    while (inicio < texto.size()) {
        const qsizetype finNombre = texto.indexOf(u' ', inicio);
        if (finNombre < 0) break;
        const qsizetype finPuerto = texto.indexOf(u' ', finNombre + 1);
        if (finPuerto < 0) break;
        const QString nombre =
            Recortar(QStringView(texto).mid(inicio, finNombre - inicio)).toUpper();
        const QString puerto =
            Recortar(QStringView(texto).mid(finNombre + 1, finPuerto - finNombre - 1)).toUpper();
        // Dos blancos seguidos dejan un nombre o un puerto vacío: ese par no cuenta.
        if (!nombre.isEmpty() && !puerto.isEmpty() &&
            configuracion.Puertos.size() < MaximoPuertosNombrados)
            configuracion.Puertos.append({nombre, puerto});
        inicio = finPuerto + 1;
    }
}

namespace {

// Un número en un campo entero: al más cercano, mitades al par; fuera de rango se
// ignora y el campo conserva su valor.
void AsignarEntero(int& campo, QByteArrayView valor) {
    const double v = RedondearPar(LeerNumero(valor).Valor);
    if (v >= -32768 && v <= 32767) campo = static_cast<int>(v);
}

void AsignarSimple(float& campo, QByteArrayView valor) {
    const double v = LeerNumero(valor).Valor;
    if (std::fabs(v) <= 3.4028234663852886e38) campo = static_cast<float>(v);
}

QString TextoValor(QByteArrayView valor) {
    return Recortar(DecodificarAnsi(valor));
}

// Un número con su forma más corta tras el blanco del signo, sin blanco final.
QByteArray NumeroConfiguracion(double valor) {
    char numero[LargoMaximoFormatoGeneral];
    int largo = EscribirFormatoGeneral(valor, numero);
    while (largo > 0 && numero[largo - 1] == ' ')
        --largo;
    return QByteArray(numero, largo);
}

} // namespace

void LeerArchivoConfiguracion(ConfiguracionImpresion& configuracion, QByteArrayView contenido) {
    LectorLineas lector(contenido);
    for (int n = 0; n < LineasArchivoConfiguracion && !lector.Fin(); ++n) {
        const QByteArrayView linea = lector.Siguiente();
        const qsizetype dosPuntos = linea.indexOf(':');
        if (dosPuntos < 0) continue;
        const QByteArrayView clave = RecortarVista(linea.first(dosPuntos));
        const QByteArrayView valor = linea.sliced(dosPuntos + 1);
        if (clave == "Archivo para Ver Informes")
            configuracion.Visor = TextoValor(valor);
        else if (clave == "Archivo para Editar TXT")
            configuracion.Editor = TextoValor(valor);
        else if (clave == "Margen Izquierdo CM")
            AsignarSimple(configuracion.MargenIzquierdo, valor);
        else if (clave == "Margen Derecho CM")
            AsignarSimple(configuracion.MargenDerecho, valor);
        else if (clave == "Longitud Pagina")
            AsignarEntero(configuracion.LongitudPagina, valor);
        else if (clave == "Espaciamiento Lineas")
            AsignarSimple(configuracion.Espaciamiento, valor);
        else if (clave == "MicroFeed")
            AsignarEntero(configuracion.MicroFeed, valor);
        else if (clave == "Puerto")
            configuracion.Puerto = TextoValor(valor);
        else if (clave == "Puertos")
            LeerPuertos(configuracion, TextoValor(valor).toUpper());
    }
}

QByteArray TextoConfiguracionImpresion(const ConfiguracionImpresion& c) {
    QByteArray texto;
    const auto linea = [&texto](const char* clave, const QByteArray& valor) {
        texto += clave;
        texto += valor;
        texto += "\r\n";
    };
    linea("Archivo para Ver Informes : ", CodificarAnsi(c.Visor));
    linea("Archivo para Editar TXT : ", CodificarAnsi(c.Editor));
    linea("Margen Izquierdo CM :", NumeroConfiguracion(c.MargenIzquierdo));
    linea("Margen Derecho CM :", NumeroConfiguracion(c.MargenDerecho));
    linea("Longitud Pagina :", NumeroConfiguracion(c.LongitudPagina));
    linea("Espaciamiento Lineas :", NumeroConfiguracion(c.Espaciamiento));
    linea("MicroFeed :", NumeroConfiguracion(c.MicroFeed));
    linea("Puerto : ", CodificarAnsi(c.Puerto));
    return texto;
}

ConfiguracionImpresion CargarConfiguracionImpresion(const QString& nombrePuerto,
                                                    const QString& carpeta) {
    ConfiguracionImpresion c;
    const QString ruta = carpeta.isEmpty() ? RutaConfiguracion(ArchivoConfiguracionImpresion)
                                           : QDir(carpeta).filePath(ArchivoConfiguracionImpresion);
    QFile archivo(ruta);
    if (archivo.exists()) {
        if (archivo.open(QIODevice::ReadOnly)) LeerArchivoConfiguracion(c, archivo.readAll());
    } else {
        // Se aparta a propósito: en una sesión de la interfaz, el archivo nuevo nombra
        // el visor del programa y el editor del sistema, no los de DOS.
        if (carpeta.isEmpty() && !CarpetaConfiguracion().isEmpty()) {
            c.Visor = VisorPropio;
            c.Editor = EditorSistema;
        }
        QSaveFile nuevo(ruta);
        if (nuevo.open(QIODevice::WriteOnly)) {
            nuevo.write(TextoConfiguracionImpresion(c));
            nuevo.commit();
        }
    }

    if (c.LongitudPagina <= 20) c.LongitudPagina = 58;
    if (!(c.Espaciamiento > 0) || c.Espaciamiento > 5) c.Espaciamiento = 1;
    if (Recortar(c.Puerto).isEmpty()) c.Puerto = QStringLiteral("PRN");

    const QString alias = Recortar(nombrePuerto).toUpper();
    if (!alias.isEmpty()) {
        for (const PuertoNombrado& p : c.Puertos) {
            if (p.Nombre == alias) {
                c.Puerto = p.Puerto;
                break;
            }
        }
    }
    return c;
}
