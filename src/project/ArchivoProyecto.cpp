#include "project/ArchivoProyecto.h"

#include "common/CarpetasSesion.h"
#include "common/ErrorSistema.h"
#include "common/ModuloLibzrl.h"
#include "common/Numeros.h"
#include "common/Texto.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>

#include <algorithm>
#include <cerrno>
#include <map>
#include <optional>
#include <string_view>
#include <utility>

namespace {

// Límites contra archivos dañados: ningún índice de unidad mayor a este.
constexpr double MaximoIndiceUH = 100000;
// Un mensaje de lectura nombra a lo sumo tantos hallazgos.
constexpr int MaximoHallazgos = 20;
// Marca de orden de bytes de UTF-8 al comienzo de un archivo.
const QByteArray MarcaUtf8 = QByteArrayLiteral("\xEF\xBB\xBF");

enum class Problema { NoNumerico, Invalido };

// Recorre las líneas del archivo llevando su número para los avisos.
class LectorProyecto {
public:
    // Trabaja sobre los bytes: solo los valores de texto se convierten. Con la
    // marca de UTF-8 al comienzo el texto es UTF-8; si no, Windows-1252.
    // Marca UTF-8 y todo fin de línea: así quedan los archivos que otro programa tocó.
    LectorProyecto(Proyecto& proyecto, QByteArrayView datos, const QString& nombre)
        : p_(proyecto), utf8_(datos.startsWith("\xEF\xBB\xBF")),
          lineas_(utf8_ ? datos.sliced(3) : datos, FinesDeLinea::Todos), nombre_(nombre) {}

    // Avanza hasta la primera línea "[Proyecto]"; false si no hay ninguna.
    bool BuscarInicio() {
        while (!Fin())
            if (Es(Siguiente(), "[Proyecto]")) return true;
        return false;
    }

    // Lee desde la línea que sigue a "[Proyecto]" hasta el final del archivo.
    void Leer() {
        for (;;) {
            // Un archivo cortado no se lee en silencio como si estuviera completo.
            if (!LeerSeccion()) {
                Hallazgo(
                    QStringLiteral("El Proyecto [%1] está incompleto: termina en la línea %2...")
                        .arg(nombre_, QString::number(lineas_.Leidas())),
                    lineas_.Leidas());
                cortado_ = true;
            }
            if (!BuscarInicio()) break;
        }
        TerminarUnidades();
    }

    QStringList& Hallazgos() { return hallazgos_; }
    int PrimeraLinea() const { return primeraLinea_; }

private:
    bool Fin() const { return lineas_.Fin(); }

    // La línea siguiente; al final del archivo, vacía (el corte se avisa una vez).
    QByteArrayView Siguiente() {
        ++pos_;
        return lineas_.Siguiente();
    }
    // Verdadero si la última lectura pasó del final del archivo.
    bool PasoDelFin() const { return pos_ > lineas_.Leidas(); }

    QString Decodificar(QByteArrayView bytes) {
        return utf8_ ? decodificadorUtf8_.decode(bytes) : DecodificarAnsi(bytes);
    }
    QString Texto() { return Decodificar(Siguiente()); }

    static bool Es(QByteArrayView linea, std::string_view marcador) {
        const QByteArrayView t = RecortarVista(linea);
        return std::string_view(t.data(), static_cast<std::size_t>(t.size())) == marcador;
    }

    qsizetype LineasRestantes() const { return lineas_.Restantes(); }

    void Hallazgo(const QString& texto, qsizetype linea) {
        if (hallazgos_.isEmpty()) primeraLinea_ = static_cast<int>(linea);
        hallazgos_.append(texto);
    }
    void Avisar(Problema problema) { Avisar(problema, pos_); }
    void Avisar(Problema problema, qsizetype linea) {
        if (PasoDelFin()) return;
        const QString que = problema == Problema::NoNumerico
                                ? QStringLiteral("tiene un valor no numérico")
                                : QStringLiteral("tiene un dato inválido");
        Hallazgo(QStringLiteral("El Proyecto [%1] %2 en la línea %3...")
                     .arg(nombre_, que, QString::number(linea)),
                 linea);
    }

    // Una clave desconocida o un marcador que no está donde debe: se salta como
    // siempre, pero se dice (un fin de línea perdido desfasa todo lo que sigue).
    void LineaRara(qsizetype linea) { lineasRaras_.append(linea); }
    void Marcador(std::string_view marcador) {
        const QByteArrayView linea = Siguiente();
        if (!PasoDelFin() && !Es(linea, marcador)) LineaRara(pos_);
    }

    double Numero() {
        const NumeroLeido n = LeerNumero(Siguiente());
        if (n.Desborde) {
            Avisar(Problema::Invalido);
        } else if (!n.HayNumero) {
            Avisar(Problema::NoNumerico);
        }
        return n.Valor;
    }

    // Entero redondeado al par; fuera de [minimo, maximo] avisa y da nullopt.
    std::optional<double> Entero(double minimo, double maximo) {
        const double v = RedondearPar(Numero());
        if (v < minimo || v > maximo) {
            Avisar(Problema::Invalido);
            return std::nullopt;
        }
        return v;
    }

    // Clave numérica escrita sin ceros a la izquierda ("01" es desconocida).
    static int Clave(QByteArrayView linea) {
        const QByteArrayView t = RecortarVista(linea);
        if (t.isEmpty() || t.size() > 3 || t[0] == '0') return -1;
        int v = 0;
        for (const char c : t) {
            if (c < '0' || c > '9') return -1;
            v = v * 10 + (c - '0');
        }
        return v;
    }

    // Una sección hasta "[FinProyecto]"; false si el archivo termina antes.
    bool LeerSeccion() {
        while (!Fin()) {
            const QByteArrayView linea = Siguiente();
            if (Es(linea, "[FinProyecto]")) return true;
            switch (Clave(linea)) {
            case 1:
                p_.Nombre = Texto();
                break;
            case 2:
                p_.Descripcion = Texto();
                break;
            case 3:
                p_.Ubicacion = Texto();
                break;
            case 4:
                p_.Confiabilidad = Numero();
                break;
            case 5:
                p_.Zr = Numero();
                break;
            case 6:
                p_.ServiciabilidadFinal = Numero();
                break;
            case 7: {
                const QByteArrayView v = RecortarVista(Siguiente());
                p_.ConfiabilidadTransito = v.size() == 1 && (v[0] == 'V' || v[0] == 'v');
                break;
            }
            case 8:
                p_.So = Numero();
                break;
            case 9: {
                const auto n = Entero(0, MaximoIndiceUH);
                numeroUHInvalido_ = !n.has_value();
                p_.NumeroUH = n ? static_cast<qint32>(*n) : 0;
                break;
            }
            case 10:
                LeerBloqueUnidad();
                break;
            case 100:
                LeerCostos();
                break;
            default:
                LineaRara(pos_);
                if (Es(Siguiente(), "[FinProyecto]")) return true;
                break;
            }
        }
        return false;
    }

    void LeerBloqueUnidad() {
        const qsizetype linea = pos_ + 1;
        const double indice = RedondearPar(Numero());
        Marcador("[InicioUH]");
        if (!(indice >= 1 && indice <= MaximoIndiceUH)) {
            // Un índice imposible: el bloque se lee y se descarta.
            if (!PasoDelFin())
                Hallazgo(QStringLiteral("La unidad %1 (línea %2) tiene un índice fuera de 1 a "
                                        "%3: se descartó...")
                             .arg(FormatoGeneral(indice).trimmed(), QString::number(linea),
                                  QString::number(MaximoIndiceUH, 'f', 0)),
                         linea);
            UnidadHomogenea descartada;
            LeerUnidad(descartada);
            return;
        }
        const int i = static_cast<int>(indice);
        // Un índice más allá de la capacidad espera aparte a NumeroUH: si luego se
        // descarta, no habrá agrandado la tabla.
        UnidadHomogenea& u = i <= p_.CapacidadUH() ? p_.UH[i] : apartadas_[i];
        const auto [previo, nuevo] = lineaBloque_.try_emplace(i, linea);
        if (!nuevo) {
            // El bloque repetido reemplaza a la unidad entera, no se mezcla con ella.
            Hallazgo(QStringLiteral("La unidad %1 aparece dos veces (líneas %2 y %3): vale la de "
                                    "la línea %3...")
                         .arg(i)
                         .arg(previo->second)
                         .arg(linea),
                     linea);
            u = UnidadHomogenea{};
            previo->second = linea;
        }
        LeerUnidad(u);
    }

    // Cantidad de líneas de una lista, acotada por lo que queda del archivo.
    qsizetype CantidadLista(std::string_view marcadorInicio) {
        double c = RedondearPar(Numero());
        const qsizetype lineaCuenta = pos_;
        Marcador(marcadorInicio);
        if (c < 0) {
            Avisar(Problema::Invalido, lineaCuenta);
            c = 0;
        }
        const auto restantes = static_cast<double>(LineasRestantes());
        if (c > restantes) {
            Avisar(Problema::Invalido, lineaCuenta);
            c = restantes;
        }
        return static_cast<qsizetype>(c);
    }

    void LeerLista(QStringList& lista, std::string_view marcadorInicio,
                   std::string_view marcadorFin) {
        const qsizetype n = CantidadLista(marcadorInicio);
        lista = QStringList(n);
        bool terminoEnMarcador = false;
        for (qsizetype j = 0; j < n; ++j) {
            const QByteArrayView t = RecortarVista(Siguiente());
            if (Es(t, marcadorFin)) {
                terminoEnMarcador = true;
                break;
            }
            lista[j] = Decodificar(t);
        }
        if (!terminoEnMarcador) Marcador(marcadorFin);
    }

    void LeerCostos() {
        const qsizetype c = CantidadLista("[InicioCU]");
        p_.CostosUnitarios.fill(0);
        bool terminoEnMarcador = false;
        for (qsizetype j = 1; j <= c; ++j) {
            const QByteArrayView t = RecortarVista(Siguiente());
            if (Es(t, "[FinCU]")) {
                terminoEnMarcador = true;
                break;
            }
            if (j > NumeroTiposCapa) continue;
            const NumeroLeido n = LeerNumero(t);
            if (!n.HayNumero) Avisar(Problema::NoNumerico);
            if (n.Desborde) Avisar(Problema::Invalido);
            p_.CostosUnitarios[j] = n.Valor;
        }
        if (!terminoEnMarcador) Marcador("[FinCU]");
    }

    void LeerUnidad(UnidadHomogenea& u) {
        while (!Fin()) {
            const QByteArrayView linea = Siguiente();
            if (Es(linea, "[FinUH]")) return;
            switch (Clave(linea)) {
            case 11:
                u.CodigoTramo = Texto();
                break;
            case 12:
                u.Descripcion = Texto();
                break;
            case 13:
                u.TipoTramo = Texto();
                break;
            case 14:
                u.TipoSegmento = Texto();
                break;
            case 31:
                u.ClimaHumedad = Texto();
                break;
            case 32:
                u.ClimaTemperatura = Texto();
                break;
            case 34:
                u.TipoTerreno = Texto();
                break;
            case 35:
                u.TipoAfirmado = Texto();
                break;
            case 15:
                u.AbscisaInicial = Numero();
                break;
            case 16:
                u.AbscisaFinal = Numero();
                break;
            case 17:
                u.AnchoCorona = Numero();
                break;
            case 30:
                u.EjesEquivalentes = Numero();
                break;
            case 33:
                u.CBR = Numero();
                break;
            case 36:
                u.EspesorAfirmado = Numero();
                break;
            case 37:
                u.EspesorSubrasante = Numero();
                break;
            case 40:
                u.SNRequerido = Numero();
                break;
            case 41: {
                const auto a = Entero(-32768, 32767);
                u.AlternativaSeleccionada = a ? static_cast<qint16>(*a) : qint16(0);
                break;
            }
            case 50:
                LeerLista(u.N82, "[InicioN82]", "[FinN82]");
                break;
            case 51:
                LeerLista(u.CLIMA, "[InicioCLIMA]", "[FinCLIMA]");
                break;
            case 52:
                LeerLista(u.MR, "[InicioMR]", "[FinMR]");
                break;
            default:
                LineaRara(pos_);
                if (Es(Siguiente(), "[FinUH]")) return;
                break;
            }
        }
    }

    // "la línea 7" o "las líneas 7, 9, 11 y 4 más": a lo sumo maximo elementos.
    static QString Nombrar(const QString& singular, const QString& plural,
                           const QStringList& elementos, int maximo) {
        QString lista = elementos.mid(0, maximo).join(QStringLiteral(", "));
        if (elementos.size() > maximo)
            lista += QStringLiteral(" y %1 más").arg(elementos.size() - maximo);
        return (elementos.size() == 1 ? singular : plural) + u' ' + lista;
    }

    // Al terminar el archivo: lo saltado, las unidades frente a NumeroUH y los negativos.
    void TerminarUnidades() {
        if (!lineasRaras_.isEmpty()) {
            QStringList numeros;
            for (const qsizetype l : lineasRaras_)
                numeros << QString::number(l);
            Hallazgo(QStringLiteral("El Proyecto [%1] tiene claves o marcadores fuera de lugar "
                                    "en %2: se saltaron...")
                         .arg(nombre_, Nombrar(QStringLiteral("la línea"),
                                               QStringLiteral("las líneas"), numeros, 10)),
                     lineasRaras_.first());
        }
        const int mayor = lineaBloque_.empty() ? 0 : lineaBloque_.rbegin()->first;
        if (numeroUHInvalido_) p_.NumeroUH = mayor;
        // Un índice que pasa de NumeroUH no se guarda: se dice y la unidad no queda
        // en memoria, donde una fila nueva de la tabla la retomaría.
        for (auto b = lineaBloque_.upper_bound(p_.NumeroUH); b != lineaBloque_.end(); ++b) {
            Hallazgo(QStringLiteral("La unidad %1 (línea %2) pasa del número de unidades del "
                                    "proyecto (%3): se descartó...")
                         .arg(b->first)
                         .arg(b->second)
                         .arg(p_.NumeroUH),
                     b->second);
            if (b->first <= p_.CapacidadUH()) p_.UH[b->first] = UnidadHomogenea{};
        }
        // En un archivo cortado las unidades que no alcanzaron a leerse no se
        // inventan vacías.
        if (cortado_ && p_.NumeroUH > mayor) p_.NumeroUH = mayor;
        p_.AsegurarCapacidad(p_.NumeroUH);
        for (auto& [i, u] : apartadas_)
            if (i <= p_.NumeroUH) p_.UH[i] = std::move(u);

        // Un negativo que la tabla no aceptaría se dice una vez; el diseño lo usa igual.
        // Solo las unidades leídas de un bloque pueden traerlo: las demás quedaron vacías.
        QStringList negativas;
        for (auto b = lineaBloque_.begin(); b != lineaBloque_.upper_bound(p_.NumeroUH); ++b) {
            const UnidadHomogenea& u = std::as_const(p_.UH)[b->first];
            QStringList nombres;
            for (const CampoSinNegativos& c : CamposSinNegativos)
                if (u.*c.Campo < 0) nombres << QString::fromUtf16(c.Nombre);
            if (nombres.isEmpty()) continue;
            negativas << QStringLiteral("%1 [%2] (%3)")
                             .arg(b->first)
                             .arg(u.CodigoTramo, nombres.join(QStringLiteral(", ")));
        }
        if (!negativas.isEmpty())
            Hallazgo(QStringLiteral("El Proyecto [%1] tiene valores negativos que la tabla de "
                                    "unidades no acepta en %2...")
                         .arg(nombre_,
                              Nombrar(QStringLiteral("la unidad"), QStringLiteral("las unidades"),
                                      negativas, MaximoHallazgos)),
                     0);
    }

    Proyecto& p_;
    bool utf8_;
    // Una marca al comienzo de un valor es parte del valor: fromUtf8 la quitaría y
    // dejaría al frente blancos que la próxima lectura recorta. Sin estado: un byte
    // incompleto al final de un valor no pasa al siguiente.
    QStringDecoder decodificadorUtf8_{QStringConverter::Utf8,
                                      QStringConverter::Flag::ConvertInitialBom |
                                          QStringConverter::Flag::Stateless};
    LectorLineas lineas_;
    qsizetype pos_ = 0;
    QString nombre_;
    QStringList hallazgos_;
    int primeraLinea_ = 0;
    bool numeroUHInvalido_ = false;
    bool cortado_ = false;
    QList<qsizetype> lineasRaras_;
    // Línea del bloque leído de cada índice de unidad.
    std::map<int, qsizetype> lineaBloque_;
    std::map<int, UnidadHomogenea> apartadas_;
};

// Vacía lo que el lector posee antes de leer.
void ReiniciarProyecto(ModuloVarek9& modulo) {
    NuevoProyectoDatos(modulo);
    Proyecto& p = modulo.Proyecto;
    p.CostosUnitarios.fill(0);
    p.Confiabilidad = 70;
    p.ServiciabilidadFinal = 2.0;
    p.ConfiabilidadTransito = false;
}

void TerminarLectura(ModuloVarek9& modulo) {
    AplicarReglasDerivadas(modulo.Proyecto);
    modulo.ProyectoModificado = false;
}

// Un solo mensaje con los primeros hallazgos, uno por línea.
void ComponerAviso(AvisoLectura& aviso) {
    aviso.HayAviso = !aviso.Hallazgos.isEmpty();
    if (!aviso.HayAviso) return;
    aviso.Titulo = QStringLiteral("CARGAR PROYECTO");
    aviso.Texto = aviso.Hallazgos.mid(0, MaximoHallazgos).join(u'\n');
    const qsizetype resto = aviso.Hallazgos.size() - MaximoHallazgos;
    if (resto > 0) aviso.Texto += QStringLiteral("\n(y %1 avisos más)...").arg(resto);
}

void AgregarTexto(EscritorAnsi& e, QStringView texto) {
    // Al leer también un LF solo parte la línea: ningún valor lo lleva dentro.
    e.LineaSinSaltos(texto);
}

void AgregarNumero(EscritorAnsi& e, double valor) {
    char numero[LargoMaximoFormatoGeneral];
    e.AgregarAscii(numero, EscribirFormatoGeneral(valor, numero));
    e.FinDeLinea();
}

void AgregarLista(EscritorAnsi& e, int clave, const QStringList& lista, QStringView inicio,
                  QStringView fin) {
    if (lista.isEmpty()) return;
    AgregarNumero(e, clave);
    AgregarNumero(e, static_cast<double>(lista.size()));
    AgregarTexto(e, inicio);
    for (const QString& l : lista) {
        e.AgregarAscii("  ", 2);
        AgregarTexto(e, l);
    }
    AgregarTexto(e, fin);
}

} // namespace

QString ErrorEscritura::Texto() const {
    return QStringLiteral("Se presentó un error en el sistema...\n\nError : %1 %2")
        .arg(Numero)
        .arg(Descripcion);
}

QString RutaArchivoProyecto(const QString& archivoProyecto) {
    const QString normal = archivoProyecto + QStringLiteral(".vk9");
    if (QFileInfo::exists(normal)) return normal;
#ifndef _WIN32
    // Donde el sistema distingue mayúsculas, la extensión puede venir como ".VK9".
    const QFileInfo info(archivoProyecto);
    const QString nombre = info.fileName();
    if (!nombre.isEmpty()) {
        const QStringList entradas = info.dir().entryList(QDir::Files | QDir::Hidden);
        for (const QString& e : entradas) {
            if (e.size() == nombre.size() + 4 && e.startsWith(nombre) &&
                e.endsWith(QStringLiteral(".vk9"), Qt::CaseInsensitive))
                return info.dir().filePath(e);
        }
    }
#endif
    return normal;
}

AvisoLectura LeerProyecto(ModuloVarek9& modulo) {
    return LeerProyectoDesde(modulo, RutaArchivoProyecto(modulo.ArchivoProyecto));
}

AvisoLectura LeerProyectoDesde(ModuloVarek9& modulo, const QString& ruta) {
    QFile archivo(ruta);
    AvisoLectura aviso;
    if (!archivo.exists()) {
        ReiniciarProyecto(modulo);
        Proyecto& p = modulo.Proyecto;
        p.Nombre.clear();
        p.Descripcion.clear();
        p.Ubicacion.clear();
        TerminarLectura(modulo);
    } else if (!archivo.open(QIODevice::ReadOnly)) {
        // Lo que no se pudo leer no se cambia por un proyecto vacío que luego se
        // guardaría encima: el proyecto anterior sigue, como con un archivo ajeno.
        const ErrorSistema e = UltimoErrorSistema(archivo.errorString());
        aviso.NoEsProyecto = true;
        aviso.Hallazgos << QStringLiteral("No se puede leer el Proyecto [%1]: %2...")
                               .arg(modulo.ArchivoProyecto, e.Descripcion);
        ComponerAviso(aviso);
    } else {
        const QByteArray datos = archivo.readAll();
        aviso = LeerProyectoDatos(modulo, datos, modulo.ArchivoProyecto);
    }
    modulo.EstadoLectura = {ruta, aviso.HayAviso, aviso.NoEsProyecto};
    return aviso;
}

AvisoLectura LeerProyectoDatos(ModuloVarek9& modulo, QByteArrayView datos, const QString& nombre) {
    AvisoLectura aviso;
    LectorProyecto lector(modulo.Proyecto, datos, nombre);
    if (!lector.BuscarInicio()) {
        // Un archivo sin "[Proyecto]" no es un proyecto vacío: no reemplaza al actual.
        aviso.NoEsProyecto = true;
        aviso.Hallazgos << QStringLiteral("El archivo [%1] no es un Proyecto (no tiene la línea "
                                          "[Proyecto]): no se cargó nada...")
                               .arg(nombre);
        // El proyecto que sigue queda con sus campos derivados al día.
        AplicarReglasDerivadas(modulo.Proyecto);
    } else {
        ReiniciarProyecto(modulo);
        lector.Leer();
        aviso.Hallazgos = std::move(lector.Hallazgos());
        aviso.Linea = lector.PrimeraLinea();
        TerminarLectura(modulo);
    }
    ComponerAviso(aviso);
    return aviso;
}

bool ArchivoNoEsProyecto(const ModuloVarek9& modulo) {
    const EstadoLectura& l = modulo.EstadoLectura;
    return l.NoEsProyecto && MismoArchivo(RutaArchivoProyecto(modulo.ArchivoProyecto), l.Ruta);
}

QString TextoRespaldo(const QString& respaldo) {
    return QStringLiteral("El Proyecto se había leído con avisos: el archivo como estaba quedó "
                          "guardado en [%1]...")
        .arg(respaldo);
}

QByteArray TextoProyecto(const Proyecto& p) {
    EscritorAnsi s;
    s.Reservar(4096 + qsizetype(p.NumeroUH) * 1024);
    AgregarTexto(s, u"[Proyecto]");
    AgregarNumero(s, 1);
    AgregarTexto(s, p.Nombre);
    AgregarNumero(s, 2);
    AgregarTexto(s, p.Descripcion);
    AgregarNumero(s, 3);
    AgregarTexto(s, p.Ubicacion);
    AgregarNumero(s, 4);
    AgregarNumero(s, p.Confiabilidad);
    AgregarNumero(s, 5);
    AgregarNumero(s, p.Zr);
    AgregarNumero(s, 6);
    AgregarNumero(s, p.ServiciabilidadFinal);
    AgregarNumero(s, 7);
    AgregarTexto(s, p.ConfiabilidadTransito ? u"V" : u"F");
    AgregarNumero(s, 8);
    AgregarNumero(s, p.So);
    AgregarNumero(s, 9);
    AgregarNumero(s, p.NumeroUH);

    const int ultima = std::min(p.NumeroUH, p.CapacidadUH());
    for (int i = 1; i <= ultima; ++i) {
        const UnidadHomogenea& u = p.UH[i];
        AgregarNumero(s, 10);
        AgregarNumero(s, i);
        AgregarTexto(s, u"[InicioUH]");
        AgregarNumero(s, 11);
        AgregarTexto(s, u.CodigoTramo);
        if (!u.Descripcion.isEmpty()) {
            AgregarNumero(s, 12);
            AgregarTexto(s, u.Descripcion);
        }
        AgregarNumero(s, 13);
        AgregarTexto(s, u.TipoTramo);
        AgregarNumero(s, 14);
        AgregarTexto(s, u.TipoSegmento);
        AgregarNumero(s, 15);
        AgregarNumero(s, u.AbscisaInicial);
        AgregarNumero(s, 16);
        AgregarNumero(s, u.AbscisaFinal);
        AgregarNumero(s, 17);
        AgregarNumero(s, u.AnchoCorona);
        AgregarNumero(s, 30);
        AgregarNumero(s, u.EjesEquivalentes);
        AgregarNumero(s, 31);
        AgregarTexto(s, u.ClimaHumedad);
        AgregarNumero(s, 32);
        AgregarTexto(s, u.ClimaTemperatura);
        AgregarNumero(s, 33);
        AgregarNumero(s, u.CBR);
        AgregarNumero(s, 34);
        AgregarTexto(s, u.TipoTerreno);
        AgregarNumero(s, 35);
        AgregarTexto(s, u.TipoAfirmado);
        AgregarNumero(s, 36);
        AgregarNumero(s, u.EspesorAfirmado);
        AgregarNumero(s, 37);
        AgregarNumero(s, u.EspesorSubrasante);
        AgregarNumero(s, 40);
        AgregarNumero(s, u.SNRequerido);
        AgregarNumero(s, 41);
        AgregarNumero(s, u.AlternativaSeleccionada);
        AgregarLista(s, 50, u.N82, u"[InicioN82]", u"[FinN82]");
        AgregarLista(s, 51, u.CLIMA, u"[InicioCLIMA]", u"[FinCLIMA]");
        AgregarLista(s, 52, u.MR, u"[InicioMR]", u"[FinMR]");
        AgregarTexto(s, u"[FinUH]");
    }

    AgregarNumero(s, 100);
    AgregarNumero(s, NumeroTiposCapa);
    AgregarTexto(s, u"[InicioCU]");
    for (int j = 1; j <= NumeroTiposCapa; ++j)
        AgregarNumero(s, p.CostosUnitarios[j]);
    AgregarTexto(s, u"[FinCU]");
    AgregarTexto(s, u"[FinProyecto]");
    return s.Tomar();
}

ErrorEscritura EscribirArchivoSeguro(const QString& ruta, const QByteArray& contenido) {
    QSaveFile archivo(ruta);
    auto falla = [&] {
        const ErrorSistema e = UltimoErrorSistema(archivo.errorString());
        archivo.cancelWriting();
        return ErrorEscritura{false, e.Numero, e.Descripcion};
    };
    errno = 0;
    if (!archivo.open(QIODevice::WriteOnly)) return falla();
    if (archivo.write(contenido) != contenido.size()) return falla();
    if (!archivo.commit()) return falla();
    return {};
}

GuardadoProyecto GuardarProyecto(ModuloVarek9& modulo) {
    return GuardarProyectoEn(modulo, RutaArchivoProyecto(modulo.ArchivoProyecto));
}

GuardadoProyecto GuardarProyectoEn(ModuloVarek9& modulo, const QString& ruta) {
    EstadoLectura& leido = modulo.EstadoLectura;
    GuardadoProyecto g;
    const auto falla = [&](const ErrorEscritura& e) {
        static_cast<ErrorEscritura&>(g) = e;
        return g;
    };
    // Nunca se escribe encima de lo que no se pudo leer bien sin guardarlo antes.
    if (leido.ConAvisos && QFileInfo::exists(ruta) && MismoArchivo(ruta, leido.Ruta)) {
        g.Respaldo = ruta + QStringLiteral(".bak");
        QFile original(ruta);
        if (!original.open(QIODevice::ReadOnly)) {
            const ErrorSistema e = UltimoErrorSistema(original.errorString());
            return falla(ErrorEscritura{false, e.Numero, e.Descripcion});
        }
        const ErrorEscritura e = EscribirArchivoSeguro(g.Respaldo, original.readAll());
        if (!e.Ok) return falla(e);
    }
    const ErrorEscritura e = EscribirArchivoSeguro(ruta, TextoProyecto(modulo.Proyecto));
    if (!e.Ok) return falla(e);
    modulo.ProyectoModificado = false;
    if (!g.Respaldo.isEmpty()) {
        leido.ConAvisos = false;
        leido.NoEsProyecto = false;
    }
    return g;
}

ErrorEscritura EscribirUltimoProyecto(const QString& ruta, const QString& linea) {
    QString texto = linea;
    texto += FinLinea;
    QByteArray bytes = CodificarAnsi(texto);
    // Se aparta a propósito: una ruta que no cabe en Windows-1252 va en UTF-8 con su marca.
    if (DecodificarAnsi(bytes) != texto || bytes.startsWith(MarcaUtf8))
        bytes = MarcaUtf8 + texto.toUtf8();
    return EscribirArchivoSeguro(ruta, bytes);
}

QString LeerUltimoProyecto(const QString& ruta) {
    QFile ult(ruta);
    if (!ult.open(QIODevice::ReadOnly)) return {};
    const QByteArray bytes = ult.readAll();
    // Con la marca de UTF-8 al comienzo, la ruta no cabía en Windows-1252.
    const QString texto = bytes.startsWith(MarcaUtf8)
                              ? QString::fromUtf8(QByteArrayView(bytes).sliced(3))
                              : DecodificarAnsi(bytes);
    const QList<QStringView> lineas = DividirLineas(texto);
    return lineas.isEmpty() ? QString() : lineas.first().toString();
}

ErrorEscritura GuardarUltimoProyecto(const ModuloVarek9& modulo) {
    const QString archivo = modulo.ArchivoProyecto;
    const QString destino = RutaConfiguracion(QString::fromLatin1(NombreUltimoProyecto));
    // Se aparta a propósito: en la carpeta de configuración, que sirve a cualquier
    // carpeta de arranque, la ruta va completa.
    if (!CarpetaConfiguracion().isEmpty())
        return EscribirUltimoProyecto(destino, QFileInfo(archivo).absoluteFilePath());
    QString directorio = QDir::currentPath();
#ifdef _WIN32
    const Qt::CaseSensitivity mayusculas = Qt::CaseInsensitive;
    const QString comparado = QDir::fromNativeSeparators(archivo);
#else
    const Qt::CaseSensitivity mayusculas = Qt::CaseSensitive;
    const QString& comparado = archivo;
#endif
    if (!directorio.endsWith(u'/')) directorio += u'/';
    QString linea = archivo;
    if (comparado.size() > directorio.size() && comparado.startsWith(directorio, mayusculas))
        linea = archivo.mid(directorio.size());
    return EscribirUltimoProyecto(destino, linea);
}

QString CargarUltimoProyecto(ModuloVarek9& modulo, const QString& Ruta) {
    QString ruta = Recortar(Ruta);
#ifdef _WIN32
    ruta = ruta.toLower();
#endif
    QString archivo;
    if (!ruta.isEmpty()) {
        if (ruta.endsWith(QStringLiteral(".vk9"), Qt::CaseInsensitive)) ruta.chop(4);
        archivo = ruta;
    } else {
        archivo = LeerUltimoProyecto(RutaConfiguracion(QString::fromLatin1(NombreUltimoProyecto)));
    }
    if (archivo.isEmpty()) archivo = QStringLiteral("Defecto");
    modulo.ArchivoProyecto = archivo;
    return archivo;
}
