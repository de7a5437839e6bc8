#include "common/LibroHoja.h"

#include "common/EntradaDatos.h"
#include "common/Formato.h"
#include "common/Texto.h"

#include <QFile>
#include <QHash>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>

#ifdef VAREK9_CON_XLSXWRITER
#include <xlsxwriter.h>
#endif
#ifdef VAREK9_CON_MINIZIP
#include <minizip/unzip.h>
#endif

bool HayEscrituraXlsx() {
#ifdef VAREK9_CON_XLSXWRITER
    return true;
#else
    return false;
#endif
}

bool HayLecturaXlsx() {
#ifdef VAREK9_CON_MINIZIP
    return true;
#else
    return false;
#endif
}

QString TextoSinXlsx() {
    return QStringLiteral("Esta versión de Varek-9 se construyó sin soporte de XLSX: use un "
                          "archivo CSV (.csv).");
}

namespace {

// Los caracteres de control no caben en XML ni en una celda.
QString SinControl(const QString& texto) {
    QString limpio = texto;
    for (QChar& c : limpio)
        if (c.unicode() < 0x20) c = u' ';
    return limpio;
}

QString CampoCsv(const QString& texto, QChar delimitador) {
    QString campo = SinControl(texto);
    if (!campo.contains(delimitador) && !campo.contains(u'"')) return campo;
    campo.replace(QStringLiteral("\""), QStringLiteral("\"\""));
    return u'"' + campo + u'"';
}

} // namespace

QByteArray TextoCsv(const LibroHoja& libro, SeparadorDecimal separador) {
    const QChar delimitador = separador == SeparadorDecimal::Coma ? u';' : u',';
    QString texto;
    const auto linea = [&](const QStringList& campos) {
        QStringList partes;
        for (const QString& c : campos)
            partes << CampoCsv(c, delimitador);
        texto += partes.join(delimitador) + QStringLiteral("\r\n");
    };
    for (qsizetype h = 0; h < libro.size(); ++h) {
        const HojaLibro& hoja = libro[h];
        if (h > 0) texto += QStringLiteral("\r\n");
        linea({hoja.Nombre});
        linea(hoja.Titulos);
        for (const QList<CeldaHoja>& fila : hoja.Filas) {
            QStringList campos;
            for (const CeldaHoja& c : fila)
                campos << (c.EsNumero ? TextoExacto(c.Numero, separador) : c.Texto);
            linea(campos);
        }
    }
    return QByteArray("\xEF\xBB\xBF") + texto.toUtf8();
}

#ifdef VAREK9_CON_XLSXWRITER
namespace {

// Las máscaras del programa en la forma de las hojas de cálculo.
QByteArray FormatoXlsx(const QString& mascara) {
    QString f = mascara;
    f.replace(QStringLiteral("E+#"), QStringLiteral("E+"));
    return f.toUtf8();
}

// Ancho de una columna en caracteres: el de su texto más largo, como se muestra.
QList<double> AnchosColumnas(const HojaLibro& hoja, qsizetype columnas) {
    QList<double> anchos(columnas, 6);
    const auto medir = [&](qsizetype c, qsizetype largo) {
        anchos[c] = std::max(anchos[c], std::min<double>(double(largo) + 2, 60));
    };
    for (qsizetype c = 0; c < hoja.Titulos.size(); ++c)
        medir(c, hoja.Titulos[c].size());
    for (const QList<CeldaHoja>& fila : hoja.Filas)
        for (qsizetype c = 0; c < fila.size(); ++c) {
            const CeldaHoja& celda = fila[c];
            const QString mascara = c < hoja.Formatos.size() ? hoja.Formatos[c] : QString();
            medir(c, celda.EsNumero ? (mascara.isEmpty() ? FormatoGeneral(celda.Numero).size()
                                                         : Formato(celda.Numero, mascara).size())
                                    : celda.Texto.size());
        }
    return anchos;
}

} // namespace
#endif

QByteArray BytesXlsx(const LibroHoja& libro, QString* error) {
#ifdef VAREK9_CON_XLSXWRITER
    // libxlsxwriter escribe en un archivo: uno temporal, que luego se lee.
    QTemporaryDir carpeta;
    const QByteArray ruta = QFile::encodeName(carpeta.filePath(QStringLiteral("libro.xlsx")));
    QByteArray temporal = QFile::encodeName(carpeta.path());
    lxw_workbook_options opciones{};
    opciones.tmpdir = temporal.data();
    lxw_workbook* wb = carpeta.isValid() ? workbook_new_opt(ruta.constData(), &opciones) : nullptr;
    if (!wb) {
        if (error) *error = QStringLiteral("No se pudo crear el libro XLSX.");
        return {};
    }
    lxw_format* titulo = workbook_add_format(wb);
    format_set_bold(titulo);
    format_set_text_wrap(titulo);
    format_set_align(titulo, LXW_ALIGN_VERTICAL_TOP);
    QHash<QString, lxw_format*> formatos;
    for (const HojaLibro& hoja : libro) {
        lxw_worksheet* ws = workbook_add_worksheet(wb, hoja.Nombre.toUtf8().constData());
        qsizetype columnas = hoja.Titulos.size();
        for (const QList<CeldaHoja>& fila : hoja.Filas)
            columnas = std::max(columnas, fila.size());
        QList<lxw_format*> porColumna(columnas, nullptr);
        for (qsizetype c = 0; c < columnas && c < hoja.Formatos.size(); ++c) {
            const QString& mascara = hoja.Formatos[c];
            if (mascara.isEmpty()) continue;
            lxw_format*& f = formatos[mascara];
            if (!f) {
                f = workbook_add_format(wb);
                format_set_num_format(f, FormatoXlsx(mascara).constData());
            }
            porColumna[c] = f;
        }
        const QList<double> anchos = AnchosColumnas(hoja, columnas);
        for (qsizetype c = 0; c < columnas; ++c)
            worksheet_set_column(ws, lxw_col_t(c), lxw_col_t(c), anchos[c], nullptr);
        for (qsizetype c = 0; c < hoja.Titulos.size(); ++c)
            worksheet_write_string(ws, 0, lxw_col_t(c), SinControl(hoja.Titulos[c]).toUtf8(),
                                   titulo);
        worksheet_freeze_panes(ws, 1, 0);
        for (qsizetype f = 0; f < hoja.Filas.size(); ++f) {
            const auto fila = lxw_row_t(f + 1);
            const QList<CeldaHoja>& celdas = hoja.Filas[f];
            for (qsizetype c = 0; c < celdas.size(); ++c) {
                const CeldaHoja& celda = celdas[c];
                if (celda.EsNumero)
                    worksheet_write_number(ws, fila, lxw_col_t(c), celda.Numero, porColumna[c]);
                else if (!celda.Texto.isEmpty())
                    worksheet_write_string(ws, fila, lxw_col_t(c),
                                           SinControl(celda.Texto).toUtf8().constData(), nullptr);
            }
        }
    }
    if (const lxw_error e = workbook_close(wb); e != LXW_NO_ERROR) {
        if (error)
            *error = QStringLiteral("No se pudo escribir el libro XLSX: %1.")
                         .arg(QString::fromUtf8(lxw_strerror(e)));
        return {};
    }
    QFile archivo(QFile::decodeName(ruta));
    if (!archivo.open(QIODevice::ReadOnly)) {
        if (error) *error = QStringLiteral("No se pudo leer el libro XLSX escrito.");
        return {};
    }
    return archivo.readAll();
#else
    (void)libro;
    if (error) *error = TextoSinXlsx();
    return {};
#endif
}

// ---- Lectura ----

namespace {

QString DecodificarCsv(const QByteArray& datos, QString& codificacion) {
    codificacion = QStringLiteral("UTF-8");
    if (datos.startsWith("\xEF\xBB\xBF")) return QString::fromUtf8(datos.sliced(3));
    if (datos.startsWith("\xFF\xFE") || datos.startsWith("\xFE\xFF")) {
        codificacion = QStringLiteral("UTF-16");
        QStringDecoder d(datos.startsWith("\xFF\xFE") ? QStringDecoder::Utf16LE
                                                      : QStringDecoder::Utf16BE);
        return d.decode(QByteArrayView(datos).sliced(2));
    }
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString texto = utf8.decode(datos);
    if (!utf8.hasError()) return texto;
    // Lo que guarda una hoja de cálculo de Windows en español.
    codificacion = QStringLiteral("Windows-1252");
    return DecodificarAnsi(datos);
}

bool SoloBlancos(QStringView texto) {
    return std::all_of(texto.begin(), texto.end(), [](QChar c) { return c.isSpace(); });
}

// La primera posición de un carácter desde otra; el largo del texto si no está.
struct ProximoCaracter {
    QStringView Texto;
    QChar Caracter;
    qsizetype Posicion = -1;
    qsizetype Desde(qsizetype i) {
        if (Posicion < i) {
            Posicion = Texto.indexOf(Caracter, i);
            if (Posicion < 0) Posicion = Texto.size();
        }
        return Posicion;
    }
};

// Recorre el texto como CSV: filas y campos con el delimitador, respetando comillas
// (que pueden llevar delimitadores, saltos de línea y comillas dobladas). El campo
// en curso se arma en campo (Agregar, Vaciar, SoloBlancos); finCampo() lo toma y
// finFila() cierra la fila y dice si seguir.
template <class Campo, class FinCampo, class FinFila>
void RecorrerCsv(QStringView texto, QChar delimitador, Campo& campo, FinCampo finCampo,
                 FinFila finFila) {
    bool hayAlgo = false;
    const auto cerrarCampo = [&] {
        finCampo();
        campo.Vaciar();
    };
    // Los tramos sin caracteres especiales se agregan de una vez: un campo cuesta una
    // sola reserva de memoria y no una por carácter. Cada especial se busca con indexOf
    // (vectorizado) y se vuelve a buscar solo cuando el recorrido pasa su posición.
    ProximoCaracter comilla{texto, u'"'}, separador{texto, delimitador}, lf{texto, u'\n'},
        cr{texto, u'\r'};
    const auto tramo = [&](qsizetype desde, qsizetype hasta) {
        campo.Agregar(texto.sliced(desde, hasta - desde));
        return hasta;
    };
    for (qsizetype i = 0; i < texto.size(); ++i) {
        const QChar c = texto[i];
        if (c == u'"' && campo.SoloBlancos()) {
            // Entre comillas: hasta la que cierra; dos seguidas son una comilla.
            campo.Vaciar();
            hayAlgo = true;
            for (++i; i < texto.size(); ++i) {
                i = tramo(i, comilla.Desde(i));
                if (i + 1 < texto.size() && texto[i + 1] == u'"') {
                    campo.Agregar(u"\"");
                    ++i;
                } else {
                    break;
                }
            }
        } else if (c == delimitador) {
            cerrarCampo();
            hayAlgo = true;
        } else if (c == u'\n' || c == u'\r') {
            if (c == u'\r' && i + 1 < texto.size() && texto[i + 1] == u'\n') ++i;
            cerrarCampo();
            hayAlgo = false;
            if (!finFila()) return;
        } else {
            // Una comilla dentro de un campo ya empezado es un carácter más.
            const qsizetype d = i + 1;
            i = tramo(i,
                      std::min({comilla.Desde(d), separador.Desde(d), lf.Desde(d), cr.Desde(d)})) -
                1;
            hayAlgo = true;
        }
    }
    if (hayAlgo) {
        cerrarCampo();
        finFila();
    }
}

// El campo con su texto.
struct TextoCampo {
    QString Texto;
    void Agregar(QStringView v) { Texto.append(v); }
    void Vaciar() { Texto.clear(); }
    bool SoloBlancos() const { return ::SoloBlancos(Texto); }
};

// Del campo solo si es de blancos: para contar campos no hace falta su texto.
struct BlancosCampo {
    bool Blancos = true;
    void Agregar(QStringView v) { Blancos = Blancos && ::SoloBlancos(v); }
    void Vaciar() { Blancos = true; }
    bool SoloBlancos() const { return Blancos; }
};

// El primero de tabulador, ";" y "," con que al menos la mitad de las primeras
// líneas tienen un mismo número de campos (más de uno); si ninguno, el que más
// líneas iguales da. Se prueba la coma al final: con coma decimal, líneas de
// números regulares también tienen campos iguales.
QChar DetectarDelimitador(QStringView texto) {
    constexpr qsizetype LineasMuestra = 20;
    QChar mejor = u';';
    qsizetype mejorIguales = 0;
    for (const QChar d : {QChar(u'\t'), QChar(u';'), QChar(u',')}) {
        QHash<qsizetype, qsizetype> porCampos;
        qsizetype lineas = 0;
        qsizetype leidas = 0;
        qsizetype campos = 0;
        bool primeroBlanco = true;
        BlancosCampo campo;
        RecorrerCsv(
            texto, d, campo,
            [&] {
                if (++campos == 1) primeroBlanco = campo.Blancos;
            },
            [&] {
                if (campos > 1) ++porCampos[campos];
                if (campos > 1 || !primeroBlanco) ++lineas;
                campos = 0;
                return ++leidas < LineasMuestra;
            });
        qsizetype iguales = 0;
        for (const qsizetype n : std::as_const(porCampos))
            iguales = std::max(iguales, n);
        if (iguales > 0 && iguales * 2 >= lineas) return d;
        if (iguales > mejorIguales) {
            mejor = d;
            mejorIguales = iguales;
        }
    }
    return mejor;
}

// Ni un archivo enorme ni una referencia de celda lejana agotan la memoria.
constexpr qsizetype MaximoFilas = 100000;
constexpr int MaximoColumnas = 256;
constexpr qint64 MaximoParte = 64 * 1024 * 1024;

} // namespace

LecturaHoja LeerCsv(const QByteArray& datos) {
    LecturaHoja lectura;
    const QString texto = DecodificarCsv(datos, lectura.Codificacion);
    lectura.Delimitador = DetectarDelimitador(texto);
    // Las celdas se arman directo: cada campo es una reserva y nada más.
    QList<CeldaHoja> fila;
    TextoCampo campo;
    RecorrerCsv(
        texto, lectura.Delimitador, campo,
        [&] {
            if (fila.size() < MaximoColumnas) fila.append(CeldaHoja{std::move(campo.Texto)});
        },
        [&] {
            lectura.Filas.append(std::exchange(fila, {}));
            return lectura.Filas.size() < MaximoFilas;
        });
    return lectura;
}

#ifdef VAREK9_CON_MINIZIP
namespace {

// El zip se lee de la memoria: funciones de E/S de minizip sobre un QByteArray.
struct ZipEnMemoria {
    QByteArrayView Datos;
    qint64 Posicion = 0;
};
voidpf AbrirZip(voidpf opaco, const void*, int) {
    return opaco;
}
uLong LeerZip(voidpf, voidpf flujo, void* destino, uLong largo) {
    auto* z = static_cast<ZipEnMemoria*>(flujo);
    const qint64 n = std::clamp<qint64>(z->Datos.size() - z->Posicion, 0, qint64(largo));
    if (n > 0) std::memcpy(destino, z->Datos.data() + z->Posicion, std::size_t(n));
    z->Posicion += n;
    return uLong(n);
}
uLong EscribirZip(voidpf, voidpf, const void*, uLong) {
    return 0;
}
ZPOS64_T PosicionZip(voidpf, voidpf flujo) {
    return ZPOS64_T(static_cast<ZipEnMemoria*>(flujo)->Posicion);
}
long MoverZip(voidpf, voidpf flujo, ZPOS64_T desplazamiento, int origen) {
    auto* z = static_cast<ZipEnMemoria*>(flujo);
    const qint64 base = origen == ZLIB_FILEFUNC_SEEK_SET   ? 0
                        : origen == ZLIB_FILEFUNC_SEEK_CUR ? z->Posicion
                                                           : z->Datos.size();
    const qint64 nueva = base + qint64(desplazamiento);
    if (nueva < 0 || nueva > z->Datos.size()) return -1;
    z->Posicion = nueva;
    return 0;
}
int CerrarZip(voidpf, voidpf) {
    return 0;
}
int ErrorZip(voidpf, voidpf) {
    return 0;
}

class LectorZip {
public:
    explicit LectorZip(const QByteArray& datos) : memoria_{datos} {
        zlib_filefunc64_def f{};
        f.zopen64_file = AbrirZip;
        f.zread_file = LeerZip;
        f.zwrite_file = EscribirZip;
        f.ztell64_file = PosicionZip;
        f.zseek64_file = MoverZip;
        f.zclose_file = CerrarZip;
        f.zerror_file = ErrorZip;
        f.opaque = &memoria_;
        zip_ = unzOpen2_64("memoria", &f);
    }
    ~LectorZip() {
        if (zip_) unzClose(zip_);
    }
    LectorZip(const LectorZip&) = delete;
    LectorZip& operator=(const LectorZip&) = delete;
    bool Abierto() const { return zip_ != nullptr; }

    // Una parte; vacía si no está, es más grande de lo razonable o no se lee.
    QByteArray Parte(const QString& nombre, bool* hay = nullptr) {
        if (hay) *hay = false;
        // 2: sin distinguir mayúsculas.
        if (!zip_ || unzLocateFile(zip_, nombre.toUtf8().constData(), 2) != UNZ_OK) return {};
        if (unzOpenCurrentFile(zip_) != UNZ_OK) return {};
        QByteArray contenido;
        char bloque[65536];
        int leidos = 0;
        while ((leidos = unzReadCurrentFile(zip_, bloque, sizeof bloque)) > 0) {
            if (contenido.size() + leidos > MaximoParte) {
                unzCloseCurrentFile(zip_);
                return {};
            }
            contenido.append(bloque, leidos);
        }
        // Un CRC que no coincide o datos cortados: la parte está dañada.
        if (unzCloseCurrentFile(zip_) != UNZ_OK || leidos < 0) return {};
        if (hay) *hay = true;
        return contenido;
    }

private:
    ZipEnMemoria memoria_;
    unzFile zip_ = nullptr;
};

// El texto de un elemento y sus hijos "t" (una cadena con formato tiene varios).
QString TextoElemento(QXmlStreamReader& xml) {
    QString texto;
    const auto nivel = xml.name().toString();
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() && xml.name() == u"t")
            texto += xml.readElementText(QXmlStreamReader::IncludeChildElements);
        else if (xml.isStartElement() && (xml.name() == u"rPh" || xml.name() == u"phoneticPr"))
            xml.skipCurrentElement(); // la guía fonética no es parte del texto
        else if (xml.isEndElement() && xml.name() == nivel)
            break;
    }
    return texto;
}

// Columna (0..) de una referencia "BC12"; -1 si no tiene letras.
int ColumnaDeReferencia(QStringView ref) {
    int columna = 0;
    qsizetype i = 0;
    for (; i < ref.size() && ref[i].isLetter() && i < 4; ++i)
        columna = columna * 26 + (ref[i].toUpper().unicode() - u'A' + 1);
    return i == 0 ? -1 : columna - 1;
}

} // namespace
#endif

LecturaHoja LeerXlsx(const QByteArray& datos, const QString& hoja) {
    LecturaHoja lectura;
#ifdef VAREK9_CON_MINIZIP
    LectorZip zip(datos);
    if (!zip.Abierto()) {
        lectura.Error = QStringLiteral("El archivo no es un libro XLSX (no es un zip válido).");
        return lectura;
    }
    // Las hojas del libro, en su orden, y el archivo de cada una.
    QHash<QString, QString> destinos;
    {
        QXmlStreamReader xml(zip.Parte(QStringLiteral("xl/_rels/workbook.xml.rels")));
        while (!xml.atEnd()) {
            xml.readNext();
            if (xml.isStartElement() && xml.name() == u"Relationship")
                destinos.insert(xml.attributes().value(QLatin1String("Id")).toString(),
                                xml.attributes().value(QLatin1String("Target")).toString());
        }
    }
    QStringList archivos;
    {
        QXmlStreamReader xml(zip.Parte(QStringLiteral("xl/workbook.xml")));
        while (!xml.atEnd()) {
            xml.readNext();
            if (!xml.isStartElement() || xml.name() != u"sheet") continue;
            QString id;
            for (const QXmlStreamAttribute& a : xml.attributes())
                if (a.name() == u"id") id = a.value().toString();
            lectura.Hojas << xml.attributes().value(QLatin1String("name")).toString();
            QString destino = destinos.value(id);
            destino = destino.startsWith(u'/') ? destino.mid(1) : QStringLiteral("xl/") + destino;
            archivos << destino;
        }
    }
    if (lectura.Hojas.isEmpty()) {
        lectura.Error = QStringLiteral("El libro XLSX no tiene hojas.");
        return lectura;
    }
    qsizetype elegida = 0;
    if (!hoja.isEmpty()) {
        elegida = -1;
        for (qsizetype h = 0; h < lectura.Hojas.size(); ++h)
            if (Normalizar(lectura.Hojas[h]) == Normalizar(hoja)) elegida = h;
        if (elegida < 0) {
            lectura.Error = QStringLiteral("El libro no tiene la hoja [%1]; sus hojas son: %2.")
                                .arg(hoja, lectura.Hojas.join(QStringLiteral(", ")));
            return lectura;
        }
    }
    lectura.Hoja = lectura.Hojas[elegida];
    QStringList compartidas;
    {
        QXmlStreamReader xml(zip.Parte(QStringLiteral("xl/sharedStrings.xml")));
        while (!xml.atEnd()) {
            xml.readNext();
            if (xml.isStartElement() && xml.name() == u"si") compartidas << TextoElemento(xml);
        }
    }
    bool hay = false;
    QXmlStreamReader xml(zip.Parte(archivos[elegida], &hay));
    if (!hay) {
        lectura.Error = QStringLiteral("No se pudo leer la hoja [%1] del libro.").arg(lectura.Hoja);
        return lectura;
    }
    qsizetype fila = -1;
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement()) continue;
        if (xml.name() == u"row") {
            bool ok = false;
            const qsizetype r = xml.attributes().value(QLatin1String("r")).toLongLong(&ok);
            fila = ok && r > fila ? r - 1 : fila + 1;
            if (fila >= MaximoFilas) break;
            continue;
        }
        if (xml.name() != u"c" || fila < 0) continue;
        const QString tipo = xml.attributes().value(QLatin1String("t")).toString();
        int columna = ColumnaDeReferencia(xml.attributes().value(QLatin1String("r")));
        QString valor;
        QString enLinea;
        while (!xml.atEnd()) {
            xml.readNext();
            if (xml.isStartElement() && xml.name() == u"v")
                valor = xml.readElementText();
            else if (xml.isStartElement() && xml.name() == u"is")
                enLinea = TextoElemento(xml);
            else if (xml.isEndElement() && xml.name() == u"c")
                break;
        }
        while (lectura.Filas.size() <= fila)
            lectura.Filas.append(QList<CeldaHoja>());
        QList<CeldaHoja>& celdas = lectura.Filas[fila];
        if (columna < 0) columna = int(celdas.size());
        if (columna >= MaximoColumnas) continue;
        CeldaHoja celda;
        if (tipo == u"s") {
            bool ok = false;
            const int i = valor.toInt(&ok);
            if (ok && i >= 0 && i < compartidas.size()) celda.Texto = compartidas[i];
        } else if (tipo == u"inlineStr") {
            celda.Texto = enLinea;
        } else if (tipo == u"str" || tipo == u"e") {
            celda.Texto = valor;
        } else if (tipo == u"b") {
            celda.Texto = valor == u"1" ? QStringLiteral("VERDADERO") : QStringLiteral("FALSO");
        } else if (!valor.isEmpty()) {
            bool ok = false;
            celda.Numero = valor.toDouble(&ok);
            celda.EsNumero = ok && std::isfinite(celda.Numero);
            if (!celda.EsNumero) celda = {valor};
        }
        while (celdas.size() <= columna)
            celdas.append(CeldaHoja());
        celdas[columna] = celda;
    }
    if (xml.hasError() && lectura.Filas.isEmpty())
        lectura.Error = QStringLiteral("La hoja [%1] del libro está dañada.").arg(lectura.Hoja);
#else
    (void)datos;
    (void)hoja;
    lectura.Error = TextoSinXlsx();
#endif
    return lectura;
}

LecturaHoja LeerHoja(const QByteArray& datos, const QString& hoja) {
    return datos.startsWith("PK\x03\x04") ? LeerXlsx(datos, hoja) : LeerCsv(datos);
}
