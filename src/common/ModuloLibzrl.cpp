#include "common/ModuloLibzrl.h"
#include "common/CarpetasSesion.h"

#include "common/ArchivoEnUso.h"
#include "common/BloqueoArchivo.h"
#include "common/Texto.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QRandomGenerator>
#include <QThread>

#include <algorithm>
#include <bitset>
#include <filesystem>
#include <iterator>

namespace {

// Segundo carácter del 0 escrito con "0.00" en el idioma del sistema.
QChar SeparadorDecimalSistema() {
    const QString cero = QLocale::system().toString(0.0, 'f', 2);
    return cero.size() > 1 ? cero[1] : QChar(u'.');
}

// Vacía (o crea) el archivo; falla si no se puede escribir o si otro lo tiene
// en uso (en POSIX abrir no falla por eso: se prueba el candado).
bool VaciarArchivo(const QString& nombre) {
    if (ArchivoBloqueadoPorOtro(nombre)) return false;
    QFile archivo(nombre);
    if (!archivo.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
    archivo.close();
    return true;
}

QString ReservarNombre(const QString& prefijo, QChar letra, const QString& extension1,
                       const QString& extension2, const QString& evitar) {
    // En una sesión de la interfaz, en la carpeta de trabajo; si no, en la actual.
    const QString inicio = RutaTrabajo(Recortar(prefijo) + letra);
    for (qint64 n = 0;; ++n) {
        const QString candidato = inicio + QString::number(n) + QString::number(NumeroEstacion());
        const QString nombres[] = {candidato, candidato + extension1, candidato + extension2};
        // La entrada de quien escribe nunca se vacía ni se reutiliza.
        if (!evitar.isEmpty() &&
            std::any_of(std::begin(nombres), std::end(nombres),
                        [&](const QString& x) { return MismoArchivo(x, evitar); }))
            continue;
        // El diálogo de impresión retiene el compañero en mayúsculas; donde los
        // nombres distinguen mayúsculas hay que mirarlo también.
        const QString retenido = candidato + extension2.toUpper();
        const bool conRetenido = retenido != nombres[2] && QFileInfo::exists(retenido);
        bool libre = !conRetenido;
        for (const QString& nombre : nombres)
            libre = libre && !QFileInfo::exists(nombre);
        if (libre) return candidato;
        if (conRetenido && ArchivoBloqueadoPorOtro(retenido)) continue;

        // Restos de una ejecución anterior: se reutilizan si se pueden vaciar.
        bool escribibles = true;
        for (const QString& nombre : nombres) {
            if (!VaciarArchivo(nombre)) {
                escribibles = false;
                break;
            }
        }
        if (escribibles) return candidato;
    }
}

bool EmpiezaPor(const QString& entrada, const QString& textoMayusculas) {
    const QStringView inicio = QStringView(entrada).left(textoMayusculas.size());
    // Un comienzo ASCII se compara sin crear textos: su mayúscula es letra a letra
    // y del mismo largo. Lo demás puede cambiar de largo (ß pasa a SS).
    if (std::any_of(inicio.begin(), inicio.end(), [](QChar c) { return c.unicode() > 127; }))
        return inicio.toString().toUpper() == textoMayusculas;
    if (inicio.size() != textoMayusculas.size()) return false;
    for (qsizetype k = 0; k < inicio.size(); ++k) {
        char16_t c = inicio[k].unicode();
        if (c >= u'a' && c <= u'z') c = char16_t(c - u'a' + u'A');
        if (c != textoMayusculas[k].unicode()) return false;
    }
    return true;
}

} // namespace

QString FiltrarNumero(const QString& texto, const QString& conjunto) {
    // El separador del sistema solo cuenta con "CR": preguntarlo al idioma es caro.
    return FiltrarNumero(texto, conjunto,
                         conjunto == u"CR" ? SeparadorDecimalSistema() : QChar(u'.'));
}

QString FiltrarNumero(const QString& texto, const QString& conjunto, QChar separadorDecimal) {
    const bool modoCR = conjunto == u"CR";
    QString permitidos;
    if (conjunto.isEmpty())
        permitidos = QStringLiteral("0123456789.-");
    else if (modoCR)
        permitidos = QStringLiteral("0123456789-") + separadorDecimal;
    else
        permitidos = conjunto;

    // Los permitidos ASCII se marcan una vez: cada carácter se prueba sin buscar.
    std::bitset<128> ascii;
    bool otros = false;
    for (const QChar p : permitidos) {
        if (p.unicode() < 128)
            ascii.set(p.unicode());
        else
            otros = true;
    }
    const QStringView recortado = RecortarVista(texto);
    QString resultado;
    if (!recortado.isEmpty()) resultado.reserve(recortado.size());
    for (const QChar c : recortado) {
        if (c.unicode() < 128 ? !ascii.test(c.unicode()) : !otros || !permitidos.contains(c))
            continue;
        resultado += modoCR && c == separadorDecimal ? QChar(u'.') : c;
    }
    return resultado;
}

QString Justificar(const QString& texto, int ancho, int relleno, int alinearIzquierda) {
    // Sin nada que completar ni recortar se devuelve el mismo texto, sin copiarlo.
    const QStringView recortado = RecortarVista(texto);
    if (recortado.size() >= ancho)
        return recortado.size() == texto.size() ? texto : recortado.toString();
    QString resultado;
    resultado.reserve(ancho);
    AgregarJustificado(resultado, recortado, ancho, QChar(static_cast<char16_t>(relleno)),
                       alinearIzquierda != 0);
    return resultado;
}

QString QuitarControles(const QString& texto, bool enBlanco) {
    QString resultado;
    for (const QChar c : RecortarVista(texto)) {
        if (c.unicode() > 31)
            resultado += c;
        else if (enBlanco)
            resultado += u' ';
    }
    return resultado;
}

void EsperaAleatoria(double minimo, double maximo) {
    // Bloquea el hilo sin atender mensajes; los límites (no finito, negativo, más
    // de un día) son los de las demás esperas al azar.
    const int milisegundos =
        MilisegundosAlAzar(QRandomGenerator::global()->generateDouble(), minimo, maximo);
    if (milisegundos > 0) QThread::msleep(static_cast<unsigned long>(milisegundos));
}

QString LineaComando(const QStringList& argumentosPrograma) {
    return argumentosPrograma.mid(1).join(u' ');
}

QStringList ArgumentosLinea(const QString& lineaComando, const QString& separador) {
    QStringList partes =
        separador.isEmpty() ? QStringList{lineaComando} : lineaComando.split(separador);
    while (partes.size() < 4)
        partes.append(QString());
    for (qsizetype i = 1; i < partes.size(); ++i)
        partes[i] = Recortar(partes[i]);
    return partes;
}

QString NombreArchivoReporte(const QString& prefijo, const QString& evitar) {
    const QString candidato =
        ReservarNombre(prefijo, u'r', QStringLiteral(".txt"), QStringLiteral(".pro"), evitar);
    // Ninguna lista de imágenes vieja debe quedar asociada al nuevo reporte.
    const QString imagenes = candidato + QStringLiteral(".img");
    QFile archivo(imagenes);
    if (archivo.open(QIODevice::WriteOnly | QIODevice::Truncate)) archivo.close();
    QFile::remove(imagenes);
    return candidato;
}

QString NombreArchivoDatos(const QString& prefijo, const QString& evitar) {
    return ReservarNombre(prefijo, u't', QStringLiteral(".DAT"), QStringLiteral(".NDX"), evitar);
}

bool MismoArchivo(const QString& a, const QString& b) {
    if (a.isEmpty() || b.isEmpty()) return false;
    const QFileInfo fa(a);
    const QFileInfo fb(b);
    if (fa.exists() && fb.exists()) {
        std::error_code error;
        const bool mismo = std::filesystem::equivalent(fa.filesystemAbsoluteFilePath(),
                                                       fb.filesystemAbsoluteFilePath(), error);
        if (!error) return mismo;
    }
#ifdef _WIN32
    const Qt::CaseSensitivity mayusculas = Qt::CaseInsensitive;
#else
    const Qt::CaseSensitivity mayusculas = Qt::CaseSensitive;
#endif
    return QDir::cleanPath(fa.absoluteFilePath())
               .compare(QDir::cleanPath(fb.absoluteFilePath()), mayusculas) == 0;
}

QString SiguienteNombreLibre(const QString& nombre) {
    const QString archivo = QFileInfo(nombre).fileName();
    const qsizetype punto = archivo.lastIndexOf(u'.');
    const QString base =
        nombre.left(nombre.size() - archivo.size()) + (punto > 0 ? archivo.left(punto) : archivo);
    const QString extension = punto > 0 ? archivo.mid(punto) : QString();
    for (qint64 n = 0;; ++n) {
        const QString candidato =
            base + QString::number(n) + QString::number(NumeroEstacion()) + extension;
        if (!QFileInfo::exists(candidato)) return candidato;
    }
}

QString NombreSalidaLibre(const QString& salida, const QString& entrada) {
    return MismoArchivo(salida, entrada) ? SiguienteNombreLibre(salida) : salida;
}

QString BuscarEnComboBox(const QStringList& lista, const QString& texto, int largo) {
    if (lista.isEmpty() || largo <= 0) return QString();
    qsizetype elegida = 0;
    if (!texto.isEmpty()) {
        const QString buscado = texto.toUpper();
        for (qsizetype i = 0; i < lista.size(); ++i) {
            if (EmpiezaPor(lista[i], buscado)) {
                elegida = i;
                break;
            }
        }
    }
    return lista[elegida].left(largo);
}

int SeleccionarEnLista(const QStringList& lista, const QString& texto, bool primeroSiNada) {
    if (!texto.isEmpty()) {
        const QString buscado = texto.toUpper();
        for (qsizetype i = 0; i < lista.size(); ++i)
            if (EmpiezaPor(lista[i], buscado)) return static_cast<int>(i);
    }
    return primeroSiNada && !lista.isEmpty() ? 0 : -1;
}
