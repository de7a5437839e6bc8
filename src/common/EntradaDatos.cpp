#include "common/EntradaDatos.h"

#include "common/Texto.h"

#include <QSettings>

#include <algorithm>
#include <array>
#include <cmath>

namespace {

QSettings Preferencias() {
    // Con nombre propio: los programas complementarios leen la misma preferencia.
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Varek-9"),
                     QStringLiteral("Varek-9"));
}

const QString ClaveSeparador = QStringLiteral("SeparadorDecimal");

} // namespace

SeparadorDecimal SeparadorDeRegion(const QLocale& region) {
    if (region.language() == QLocale::C || region.language() == QLocale::AnyLanguage)
        return SeparadorDecimal::Coma;
    if (region.language() == QLocale::English) return SeparadorDecimal::Punto;
    return region.decimalPoint() == u"." ? SeparadorDecimal::Punto : SeparadorDecimal::Coma;
}

SeparadorDecimal LeerSeparadorDecimal() {
    const auto guardado = SeparadorDeNombre(Preferencias().value(ClaveSeparador).toString());
    return guardado ? *guardado : SeparadorDeRegion(QLocale::system());
}

QString LeerPreferencia(const QString& clave) {
    return Preferencias().value(clave).toString();
}

void GuardarPreferencia(const QString& clave, const QString& valor) {
    QSettings p = Preferencias();
    p.setValue(clave, valor);
    p.sync();
}

void GuardarSeparadorDecimal(SeparadorDecimal separador) {
    QSettings p = Preferencias();
    p.setValue(ClaveSeparador, NombreSeparador(separador));
    p.sync();
}

QString NombreSeparador(SeparadorDecimal separador) {
    return separador == SeparadorDecimal::Coma ? QStringLiteral("coma") : QStringLiteral("punto");
}

std::optional<SeparadorDecimal> SeparadorDeNombre(QStringView nombre) {
    const QStringView n = nombre.trimmed();
    if (n.compare(u"coma", Qt::CaseInsensitive) == 0) return SeparadorDecimal::Coma;
    if (n.compare(u"punto", Qt::CaseInsensitive) == 0) return SeparadorDecimal::Punto;
    return std::nullopt;
}

QString TextoPreferenciaSeparador(SeparadorDecimal separador) {
    return QStringLiteral("Separador decimal: %1 (%2)")
        .arg(NombreSeparador(separador), TextoVentana(QStringLiteral("1,234.5"), separador));
}

QString TextoVentana(QString formateado, SeparadorDecimal separador) {
    if (separador == SeparadorDecimal::Punto) return formateado;
    for (QChar& c : formateado) {
        if (c == u'.')
            c = u',';
        else if (c == u',')
            c = u'.';
    }
    return formateado;
}

QString TextoExacto(double valor, SeparadorDecimal separador) {
    if (valor == 0 || !std::isfinite(valor)) return QStringLiteral("0");
    const Cifras15 c = CifrasSignificativas(std::fabs(valor));
    int n = 15;
    while (n > 1 && c.Digitos[n - 1] == '0')
        --n;
    const QString cifras = QString::fromLatin1(c.Digitos, n);
    QString r = valor < 0 ? QStringLiteral("-") : QString();
    if (c.Exponente < 0) {
        r += u'0';
        r += QChar(char16_t(separador));
        r += QString(-c.Exponente - 1, u'0');
        r += cifras;
    } else if (c.Exponente + 1 >= n) {
        r += cifras;
        r += QString(c.Exponente + 1 - n, u'0');
    } else {
        r += cifras.first(c.Exponente + 1);
        r += QChar(char16_t(separador));
        r += cifras.sliced(c.Exponente + 1);
    }
    return r;
}

ConvencionBloque ConvencionDeBloque(const QStringList& textos, SeparadorDecimal preferencia) {
    ConvencionBloque r;
    // De cada lado bastan los tres primeros ejemplos: si hay alguno, hay ese lado.
    QStringList comas;
    QStringList puntos;
    for (const QString& texto : textos) {
        const NumeroEscrito n = LeerNumeroEscrito(texto, preferencia);
        if (!n.EsNumero) continue;
        r.HayAmbiguas = r.HayAmbiguas || n.Ambiguo;
        const bool coma = n.Muestra == u',';
        if (!coma && n.Muestra != u'.') continue;
        if (QStringList& ejemplos = coma ? comas : puntos; ejemplos.size() < 3)
            ejemplos.append(texto.trimmed());
    }
    const bool hayComas = !comas.isEmpty(), hayPuntos = !puntos.isEmpty();
    r.Contradictoria = hayComas && hayPuntos;
    r.DelBloque = !r.Contradictoria && (hayComas || hayPuntos);
    r.Separador = !r.DelBloque ? preferencia
                  : !hayComas  ? SeparadorDecimal::Punto
                               : SeparadorDecimal::Coma;
    if (r.DelBloque) r.Ejemplos = hayComas ? comas : puntos;
    return r;
}

QString TextoConvencion(const ConvencionBloque& c, bool deArchivo) {
    const QString origen =
        deArchivo ? QStringLiteral("del archivo") : QStringLiteral("del texto pegado");
    const QString nombre = c.Separador == SeparadorDecimal::Coma ? QStringLiteral("la coma")
                                                                 : QStringLiteral("el punto");
    if (c.DelBloque) {
        QStringList citas;
        for (const QString& e : c.Ejemplos)
            citas << u'"' + e + u'"';
        return QStringLiteral("Los números se leyeron con %1 como separador decimal, como lo %2 "
                              "%3 %4.")
            .arg(nombre,
                 citas.size() == 1 ? QStringLiteral("muestra la celda")
                                   : QStringLiteral("muestran las celdas"),
                 citas.join(QStringLiteral(", ")), origen);
    }
    return QStringLiteral("Los números se leyeron con %1 como separador decimal, el de la opción "
                          "\"Separador decimal\"%2.")
        .arg(nombre,
             c.Contradictoria
                 ? QStringLiteral(": unas celdas %1 usan la coma y otras el punto").arg(origen)
                 : QStringLiteral(": ninguna celda %1 muestra otro").arg(origen));
}

QString Normalizar(QStringView texto) {
    const QString descompuesto = texto.toString().normalized(QString::NormalizationForm_D);
    QString r;
    r.reserve(descompuesto.size());
    for (const QChar c : descompuesto) {
        if (c.category() == QChar::Mark_NonSpacing) continue;
        if (c.isSpace()) {
            if (!r.isEmpty() && !r.endsWith(u' ')) r += u' ';
            continue;
        }
        r += c.toCaseFolded();
    }
    if (r.endsWith(u' ')) r.chop(1);
    return r;
}

namespace {

// "2. Explanación nueva": el código "2" y el resto "explanacion nueva" (ya
// normalizado). Sin código, nulo.
QChar Codigo(QStringView normal, QStringView* resto, bool entrada) {
    if (normal.isEmpty() || !normal.front().isLetterOrNumber()) return {};
    if (normal.size() == 1) {
        *resto = {};
        return normal.front();
    }
    const QChar siguiente = normal[1];
    if (siguiente == u'.' || siguiente == u')' || (!entrada && siguiente == u' ')) {
        *resto = normal.sliced(2).trimmed();
        return normal.front();
    }
    return {};
}

} // namespace

int BuscarEntradaLista(const QStringList& entradas, QStringView texto, bool* ambigua) {
    if (ambigua) *ambigua = false;
    // Lo más común, una entrada tal cual (una copia de la tabla), no se normaliza.
    for (qsizetype i = 0; i < entradas.size(); ++i)
        if (entradas[i] == texto) return int(i);
    const QString buscado = Normalizar(texto);
    if (buscado.isEmpty()) return -1;
    // Las listas son pocas y fijas (seis en la grilla): se guardan todas sus entradas
    // normalizadas, sin que una lista desaloje a otra. La lista se compara entera
    // (una copia compartida se reconoce sin recorrerla).
    struct Normalizadas {
        QStringList Entradas;
        QStringList Normales;
    };
    static thread_local std::array<Normalizadas, 8> guardadas;
    static thread_local std::size_t siguiente = 0;
    auto guardada = std::find_if(guardadas.begin(), guardadas.end(),
                                 [&](const Normalizadas& g) { return g.Entradas == entradas; });
    if (guardada == guardadas.end()) {
        guardada = guardadas.begin() + std::ptrdiff_t(siguiente++ % guardadas.size());
        guardada->Entradas = entradas;
        guardada->Normales.clear();
        for (const QString& e : entradas)
            guardada->Normales.append(Normalizar(e));
    }
    const QStringList& normales = guardada->Normales;
    const int exacta = int(normales.indexOf(buscado));
    if (exacta >= 0) return exacta;

    // Una sola entrada candidata en cada paso; dos son ambiguas.
    const auto unica = [&](auto&& cumple) {
        int hallada = -1;
        for (int i = 0; i < normales.size(); ++i) {
            if (!cumple(i)) continue;
            if (hallada >= 0) return -2;
            hallada = i;
        }
        return hallada;
    };
    QStringView restoBuscado;
    const QChar codigo = Codigo(buscado, &restoBuscado, false);
    int i = -1;
    if (!codigo.isNull())
        i = unica([&](int k) {
            QStringView resto;
            return Codigo(normales[k], &resto, true) == codigo && resto.startsWith(restoBuscado);
        });
    if (i == -1)
        i = unica([&](int k) {
            QStringView resto;
            const bool conCodigo =
                !Codigo(normales[k], &resto, true).isNull() && normales[k].size() > 1;
            return normales[k].startsWith(buscado) || (conCodigo && resto.startsWith(buscado));
        });
    if (i == -2) {
        if (ambigua) *ambigua = true;
        return -1;
    }
    return i;
}

namespace {

// Cada carácter del texto; uno fuera del plano básico (dos unidades) va entero.
template <class Accion>
void PorCaracter(QStringView texto, Accion accion) {
    for (qsizetype i = 0; i < texto.size(); ++i) {
        const qsizetype largo = texto[i].isHighSurrogate() && i + 1 < texto.size() ? 2 : 1;
        accion(texto.sliced(i, largo));
        i += largo - 1;
    }
}

} // namespace

QString CaracteresNoAnsi(QStringView texto) {
    // Casi todo texto se guarda entero: se responde sin armar nada.
    if (std::all_of(texto.begin(), texto.end(), [](QChar c) { return EsAnsi(c.unicode()); }))
        return {};
    QString r;
    PorCaracter(texto, [&](QStringView c) {
        // Se pregunta carácter por carácter: el escritor ANSI reserva un búfer por llamada.
        if (c.size() == 1 && EsAnsi(c.front().unicode())) return;
        if (!r.contains(c)) r += c;
    });
    return r;
}

QString QuitarNoAnsi(QStringView texto) {
    const QString fuera = CaracteresNoAnsi(texto);
    if (fuera.isEmpty()) return texto.toString();
    QString r;
    PorCaracter(texto, [&](QStringView c) {
        if (!fuera.contains(c)) r += c;
    });
    return r;
}

QString TextoCaracteresNoAnsi(QStringView caracteres) {
    QStringList lista;
    PorCaracter(caracteres, [&](QStringView c) { lista << c.toString(); });
    if (lista.size() == 1)
        return QStringLiteral("El carácter [%1] no se puede guardar en el archivo del "
                              "proyecto...")
            .arg(lista.first());
    return QStringLiteral("Los caracteres [%1] no se pueden guardar en el archivo del "
                          "proyecto...")
        .arg(lista.join(u' '));
}
