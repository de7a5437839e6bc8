#include "printing/Paginacion.h"

#include "common/Numeros.h"
#include "common/Texto.h"

#include <QFileInfo>
#include <QList>

#include <algorithm>

namespace {

// Prefijo por defecto: línea de cuerpo, 12 puntos, normal, a la izquierda.
constexpr char PrefijoDefecto[] = {1, 12, 1, 1};
const QByteArrayView LineaDefecto(PrefijoDefecto, LargoPrefijo);

int Codigo(QByteArrayView linea, qsizetype i) {
    return i < linea.size() ? static_cast<unsigned char>(linea[i]) : 0;
}

QByteArrayView RecortarDerecha(QByteArrayView texto) {
    qsizetype largo = texto.size();
    while (largo > 0 && texto[largo - 1] == ' ')
        --largo;
    return texto.first(largo);
}

} // namespace

bool TienePrefijo(QByteArrayView linea) {
    return !linea.isEmpty() && static_cast<unsigned char>(linea[0]) < 32;
}

LineaReporte PartirLinea(QByteArrayView linea) {
    if (linea.isEmpty()) linea = LineaDefecto;
    LineaReporte r;
    if (!TienePrefijo(linea)) {
        r.Texto = linea;
        return r;
    }
    const int tipo = Codigo(linea, 0);
    r.Formato.Tipo = tipo >= LineaSalto && tipo <= LineaMantener ? tipo : LineaCuerpo;
    r.Formato.Tamano = linea.size() > 1 ? Codigo(linea, 1) : 12;
    const int estilo = Codigo(linea, 2);
    r.Formato.Estilo = estilo >= 1 && estilo <= 6 ? estilo : 1;
    const int alineacion = Codigo(linea, 3);
    r.Formato.Alineacion = alineacion >= 1 && alineacion <= 7 ? alineacion : 1;
    r.Texto = linea.size() > LargoPrefijo ? linea.sliced(LargoPrefijo) : QByteArrayView();
    return r;
}

ResumenReporte CargarProyecto(QByteArrayView reporte, int lineasPorPagina, QByteArray* copiaTexto) {
    ResumenReporte r;
    int lineasPagina = 0;
    bool enEncabezado = true;
    bool saltoPendiente = false;
    if (copiaTexto) {
        copiaTexto->clear();
        copiaTexto->reserve(reporte.size());
    }

    LectorLineas lector(reporte);
    while (!lector.Fin()) {
        QByteArrayView linea = RecortarDerecha(lector.Siguiente());
        if (TienePrefijo(linea)) r.SinCodigos = false;
        if (linea.isEmpty()) linea = LineaDefecto;
        const LineaReporte partida = PartirLinea(linea);
        const int tipo = partida.Formato.Tipo;

        if (tipo == LineaEncabezado) {
            if (enEncabezado) ++r.LineasEncabezado;
        } else if (enEncabezado) {
            enEncabezado = false;
            lineasPagina = r.LineasEncabezado;
        }
        if (tipo != LineaSalto) {
            saltoPendiente = false;
            if (copiaTexto) {
                copiaTexto->append(partida.Texto);
                copiaTexto->append("\r\n", 2);
            }
        }
        if (tipo != LineaEncabezado) {
            ++r.TotalLineas;
            ++lineasPagina;
            if (lineasPagina >= lineasPorPagina || tipo == LineaSalto) {
                // Un salto justo tras un fin de página automático no abre otra vacía.
                if (!saltoPendiente) {
                    if (copiaTexto) copiaTexto->append('\f');
                    ++r.TotalPaginas;
                    saltoPendiente = true;
                }
                lineasPagina = r.LineasEncabezado;
            }
        }
        r.AnchoMaximo = std::max(r.AnchoMaximo, static_cast<int>(linea.size()));
    }
    if (saltoPendiente) --r.TotalPaginas;
    r.AnchoMaximo = std::max(r.AnchoMaximo, 80);
    return r;
}

QString NombreCopiaTexto(const QString& reporte) {
    const QFileInfo info(reporte);
    const qsizetype inicioNombre = reporte.size() - info.fileName().size();
    const QString carpeta = reporte.left(inicioNombre);
    QString nombre = reporte.mid(inicioNombre);
#ifdef Q_OS_WIN
    nombre = nombre.toLower();
#endif
    if (nombre.contains(QStringLiteral(".txt")))
        nombre.replace(QStringLiteral(".txt"), QStringLiteral(".text"));
    else if (const qsizetype punto = nombre.indexOf(u'.'); punto >= 0)
        nombre = nombre.left(punto + 1) + QStringLiteral("txt");
    else
        nombre += QStringLiteral(".txt");
    return carpeta + nombre;
}

QByteArray ReemplazarMarcadores(QByteArrayView texto, int pagina, int totalPaginas,
                                QByteArrayView fecha) {
    const bool pg = texto.contains("#pg#");
    const bool pgde = texto.contains("#pgde#");
    const bool conFecha = texto.contains("#fecha#");
    if (!pg && !pgde && !conFecha) return texto.toByteArray();
    QByteArray nuevo;
    if (pg) nuevo = QByteArray::number(pagina);
    if (pgde)
        nuevo = "pag. " + QByteArray::number(pagina) + " de " + QByteArray::number(totalPaginas);
    if (conFecha) nuevo += " [" + fecha.toByteArray() + ']';
    return nuevo;
}

namespace {

// Estado de una copia del recorrido de impresión.
class Paginador {
public:
    Paginador(const ResumenReporte& resumen, const ParametrosImpresion& p, DestinoImpresion& d)
        : resumen_(resumen), parametros_(p), destino_(d) {}

    bool Copia(QByteArrayView reporte);
    void Terminar() {
        if (!impresa_) {
            lineasPagina_ = 0;
            return;
        }
        if (!terminada_) destino_.TerminarPagina();
        terminada_ = true;
        lineasPagina_ = 0;
    }
    bool Terminada() const { return terminada_; }
    int Impresas() const { return impresas_; }

private:
    void Iniciar();
    void ImprimirLinea(const FormatoLinea& formato, QByteArrayView texto);

    const ResumenReporte& resumen_;
    const ParametrosImpresion& parametros_;
    DestinoImpresion& destino_;
    QList<QByteArrayView> encabezados_;
    int pagina_ = 0;
    int lineasPagina_ = 0;
    bool todas_ = true;
    bool impresa_ = false;
    bool terminada_ = false;
    int impresas_ = 0;
};

void Paginador::Iniciar() {
    ++pagina_;
    impresa_ = (todas_ && pagina_ <= resumen_.TotalPaginas) ||
               (pagina_ >= parametros_.Desde && pagina_ <= parametros_.Hasta);
    if (!impresa_) {
        lineasPagina_ = resumen_.LineasEncabezado;
        return;
    }
    ++impresas_;
    destino_.ComenzarPagina();
    const qsizetype n = std::min<qsizetype>(resumen_.LineasEncabezado, encabezados_.size());
    for (qsizetype k = 0; k < n; ++k) {
        const LineaReporte linea = PartirLinea(encabezados_[k]);
        const QByteArray texto =
            ReemplazarMarcadores(linea.Texto, pagina_, resumen_.TotalPaginas, parametros_.Fecha);
        ImprimirLinea(linea.Formato, texto);
    }
    destino_.TrasEncabezados();
}

void Paginador::ImprimirLinea(const FormatoLinea& formato, QByteArrayView texto) {
    terminada_ = false;
    if (formato.Tipo == LineaMantener && lineasPagina_ + 1 >= parametros_.LineasPorPagina) {
        Terminar();
        Iniciar();
    }
    if (impresa_) destino_.Linea(formato, texto);
    ++lineasPagina_;
}

bool Paginador::Copia(QByteArrayView reporte) {
    pagina_ = 0;
    lineasPagina_ = 0;
    impresa_ = false;
    todas_ = parametros_.Desde == 0 || parametros_.Hasta == 0;
    encabezados_.clear();
    int contadas = 0;

    LectorLineas lector(reporte);
    while (!lector.Fin()) {
        QByteArrayView linea = lector.Siguiente();
        if (linea.isEmpty()) linea = LineaDefecto;
        const LineaReporte partida = PartirLinea(linea);
        const int tipo = partida.Formato.Tipo;
        if (tipo == LineaEncabezado) {
            if (encabezados_.size() >= MaximoEncabezados) return false;
            encabezados_.append(linea);
            lineasPagina_ = 0;
            continue;
        }
        if (++contadas > resumen_.TotalLineas) break;
        if (lineasPagina_ == 0) Iniciar();
        bool terminoAhora = false;
        if (lineasPagina_ >= parametros_.LineasPorPagina || tipo == LineaSalto) {
            Terminar();
            terminoAhora = true;
        }
        if (!todas_ && pagina_ > parametros_.Hasta) break;
        if (tipo == LineaSalto) continue;
        if (terminoAhora && lineasPagina_ == 0) Iniciar();
        ImprimirLinea(partida.Formato, partida.Texto);
    }
    if (!terminada_) Terminar();
    return true;
}

} // namespace

ResultadoImpresion ImprimirPaginas(QByteArrayView reporte, const ResumenReporte& resumen,
                                   const ParametrosImpresion& parametros,
                                   DestinoImpresion& destino) {
    ResultadoImpresion r;
    Paginador paginador(resumen, parametros, destino);
    const int copias = std::max(parametros.Copias, 1);
    for (int copia = 1; copia <= copias && r.Ok; ++copia)
        r.Ok = paginador.Copia(reporte);
    r.PaginaTerminada = paginador.Terminada();
    r.PaginasImpresas = paginador.Impresas();
    return r;
}

void AjusteAnchoMaximoDOS(QByteArray& texto, int ancho) {
    if (texto.size() >= ancho) return;
    qsizetype sangria = 0;
    while (sangria < texto.size() && texto[sangria] == ' ')
        ++sangria;
    const QByteArrayView recortado = RecortarVista(QByteArrayView(texto));
    const qsizetype blancos = std::count(recortado.begin(), recortado.end(), ' ');
    if (blancos == 0) return;
    qsizetype extra = ancho - sangria - recortado.size();
    const qsizetype porBlanco = (extra + blancos - 1) / blancos;
    QByteArray nuevo(sangria, ' ');
    for (const char c : recortado) {
        nuevo += c;
        if (c == ' ' && extra > 0) {
            const qsizetype agregados = std::min(porBlanco, extra);
            nuevo.append(agregados, ' ');
            extra -= agregados;
        }
    }
    texto = nuevo;
}

void SalidaDos::Linea(const FormatoLinea& formato, QByteArrayView texto) {
    QByteArray t = texto.toByteArray();
    if (t.size() < ancho_) {
        switch (formato.Alineacion) {
        case 2:
            t = RecortarVista(QByteArrayView(t)).toByteArray();
            datos_.append(ancho_ - t.size(), ' ');
            break;
        case 3: {
            t = RecortarVista(QByteArrayView(t)).toByteArray();
            const double mitad = RedondearPar((ancho_ - t.size()) / 2.0);
            datos_.append(static_cast<qsizetype>(mitad), ' ');
            break;
        }
        case 4:
            AjusteAnchoMaximoDOS(t, ancho_);
            break;
        default:
            break;
        }
    }
    datos_ += t;
    datos_ += "\r\n";
}

QByteArray TextoDos(QByteArrayView reporte, const ResumenReporte& resumen,
                    const ParametrosImpresion& parametros, bool* ok) {
    SalidaDos salida(resumen.AnchoMaximo);
    salida.Datos().reserve(reporte.size() + reporte.size() / 2);
    const ResultadoImpresion r = ImprimirPaginas(reporte, resumen, parametros, salida);
    if (ok) *ok = r.Ok;
    if (!r.Ok) return QByteArray();
    if (!r.PaginaTerminada) salida.TerminarPagina();
    return salida.Datos();
}
