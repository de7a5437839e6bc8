#include "printing/ImpresoraQt.h"

#include "common/Texto.h"
#include "printing/TrabajoImpresion.h"

#include <QFile>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QHash>
#include <QImage>
#include <QPainter>
#include <QPrinter>

#include <algorithm>
#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <map>
#include <memory>

#ifdef __GLIBC__
#include <langinfo.h>
#endif

void RegistrarFuenteReportes() {
    QFont::insertSubstitution(QStringLiteral("Courier New"), QStringLiteral("Liberation Mono"));
}

double CmATwips(double cm) {
    return cm * AnchoLineaTwips / 21.59;
}

QPageSize::PageSizeId PapelDeTerritorio(QLocale::Territory territorio) {
    switch (territorio) {
    case QLocale::UnitedStates:
    case QLocale::Canada:
    case QLocale::Mexico:
    case QLocale::Belize:
    case QLocale::Guatemala:
    case QLocale::ElSalvador:
    case QLocale::Nicaragua:
    case QLocale::CostaRica:
    case QLocale::Panama:
    case QLocale::PuertoRico:
    case QLocale::Colombia:
    case QLocale::Venezuela:
    case QLocale::Chile:
    case QLocale::Philippines:
        return QPageSize::Letter;
    default:
        return QPageSize::A4;
    }
}

QPageSize PapelDelSistema() {
#ifdef __GLIBC__
    // El papel de la configuración regional (LC_PAPER), si el sistema la tiene instalada.
    const char* regional = std::setlocale(LC_PAPER, nullptr);
    if (regional && std::strcmp(regional, "C") != 0 && std::strcmp(regional, "POSIX") != 0) {
        const auto ancho =
            static_cast<int>(reinterpret_cast<intptr_t>(nl_langinfo(_NL_PAPER_WIDTH)));
        const auto alto =
            static_cast<int>(reinterpret_cast<intptr_t>(nl_langinfo(_NL_PAPER_HEIGHT)));
        if (ancho == 216 && alto == 279) return QPageSize(QPageSize::Letter);
        if (ancho == 210 && alto == 297) return QPageSize(QPageSize::A4);
        if (ancho > 0 && alto > 0) return QPageSize(QSizeF(ancho, alto), QPageSize::Millimeter);
    }
#endif
    return QPageSize(PapelDeTerritorio(QLocale::system().territory()));
}

QSizeF AreaDePie(const QPageLayout& hoja, int resolucion) {
    // En puntos del dispositivo: el tamaño en pulgadas de QPageSize va redondeado.
    QPageLayout dePie = hoja;
    dePie.setOrientation(QPageLayout::Portrait);
    const QRect area = dePie.paintRectPixels(resolucion);
    const double twipsPorPunto = TwipsPorPulgada / resolucion;
    return QSizeF(area.width() * twipsPorPunto - 2 * HolguraTwips,
                  area.height() * twipsPorPunto - 2 * HolguraTwips);
}

DisenoPagina ElegirDisenoPagina(QSizeF areaDePie, double anchoCuerpo, double alto,
                                std::optional<bool> apaisadaElegida) {
    const auto escala = [&](double ancho, double largo) {
        double e = 1;
        if (anchoCuerpo > 0) e = std::min(e, ancho / anchoCuerpo);
        if (alto > 0) e = std::min(e, largo / alto);
        return e;
    };
    const double dePie = escala(areaDePie.width(), areaDePie.height());
    const double apaisada = escala(areaDePie.height(), areaDePie.width());
    DisenoPagina d;
    d.Apaisada = apaisadaElegida ? *apaisadaElegida : apaisada > dePie;
    d.Escala = d.Apaisada ? apaisada : dePie;
    d.AnchoLinea = (d.Apaisada ? areaDePie.height() : areaDePie.width()) / d.Escala;
    return d;
}

namespace {

struct ImagenCargada {
    QImage Imagen;
    double X = 0, Y = 0;        // twips
    double Ancho = 0, Alto = 0; // twips
};

// Recorre las páginas dos veces con la misma lógica: primero solo mide (sin
// pintor) y luego pinta.
class DestinoImpresora : public DestinoImpresion {
public:
    DestinoImpresora(QPrinter& impresora, const ResumenReporte& resumen,
                     const ConfiguracionImpresion& configuracion,
                     const QList<ImagenCargada>& imagenes)
        : impresora_(impresora), resumen_(resumen), configuracion_(configuracion),
          imagenes_(imagenes), dispositivoPorTwip_(impresora.resolution() / TwipsPorPulgada) {}

    // Con pintor dibuja en líneas de anchoLinea twips; sin él solo mide.
    void Pintar(QPainter* pintor, double anchoLinea) {
        pintor_ = pintor;
        anchoLinea_ = anchoLinea;
        paginas_ = 0;
        derecha_ = abajo_ = anchoCuerpo_ = 0;
    }

    void ComenzarPagina() override;
    void TrasEncabezados() override;
    void Linea(const FormatoLinea& formato, QByteArrayView texto) override;
    void TerminarPagina() override {}

    bool Fallo() const { return fallo_; }
    int Paginas() const { return paginas_; }
    double Derecha() const { return derecha_; }
    double Abajo() const { return abajo_; }
    double AnchoCuerpo() const { return anchoCuerpo_; }

private:
    void Fuente(double puntos, bool negrita, bool cursiva, bool subrayado);
    double Ancho(const QString& s) const {
        return metricas_->horizontalAdvance(s) / dispositivoPorTwip_;
    }
    // Coloca la línea en una línea de `ancho` twips y, si pinta, la dibuja.
    // Devuelve su extremo derecho natural: lo que ocupa sin contar el espacio
    // que la alineación deja a su izquierda.
    double Colocar(const FormatoLinea& formato, QString texto, double ancho, bool pinta,
                   double puntos, bool negrita, bool cursiva, bool subrayado);
    void Dibujar(double x, const QString& s);
    double AjusteAnchoMaximo(const QString& texto, double ancho);

    QPrinter& impresora_;
    const ResumenReporte& resumen_;
    const ConfiguracionImpresion& configuracion_;
    const QList<ImagenCargada>& imagenes_;
    const double dispositivoPorTwip_;
    QPainter* pintor_ = nullptr;
    bool pinta_ = false; // la colocación en curso dibuja
    double anchoLinea_ = AnchoLineaTwips;
    int paginas_ = 0;
    bool fallo_ = false;

    QFont fuente_{QStringLiteral("Courier New")};
    std::shared_ptr<QFontMetricsF> metricas_;
    std::map<int, std::shared_ptr<QFontMetricsF>> medidas_;
    QHash<QByteArray, double> anchoEncabezados_; // por texto y formato, sin reducir
    double y_ = 0;   // twips desde el borde superior del área imprimible
    double fin_ = 0; // extremo derecho de lo colocado en la línea en curso
    double derecha_ = 0;
    double abajo_ = 0;
    double anchoCuerpo_ = 0;
};

void DestinoImpresora::Fuente(double puntos, bool negrita, bool cursiva, bool subrayado) {
    fuente_.setPointSizeF(puntos);
    fuente_.setBold(negrita);
    fuente_.setItalic(cursiva);
    fuente_.setUnderline(subrayado);
    fuente_.setStrikeOut(false);
    // Los reportes usan pocas combinaciones: las medidas de cada una se guardan.
    const int clave = static_cast<int>(puntos * 10) * 8 + (negrita ? 4 : 0) + (cursiva ? 2 : 0) +
                      (subrayado ? 1 : 0);
    auto& guardadas = medidas_[clave];
    if (!guardadas) guardadas = std::make_shared<QFontMetricsF>(fuente_, &impresora_);
    metricas_ = guardadas;
    if (pintor_) pintor_->setFont(fuente_);
}

void DestinoImpresora::ComenzarPagina() {
    if (pintor_ && paginas_ > 0 && !impresora_.newPage()) fallo_ = true;
    ++paginas_;
    y_ = configuracion_.MicroFeed > 0 ? configuracion_.MicroFeed : 0;
}

void DestinoImpresora::TrasEncabezados() {
    const double izquierda = CmATwips(configuracion_.MargenIzquierdo);
    for (const ImagenCargada& imagen : imagenes_) {
        const double x = izquierda + imagen.X;
        derecha_ = std::max(derecha_, x + imagen.Ancho);
        anchoCuerpo_ = std::max(anchoCuerpo_, x + imagen.Ancho);
        abajo_ = std::max(abajo_, imagen.Y + imagen.Alto);
        if (pintor_)
            pintor_->drawImage(QRectF(x * dispositivoPorTwip_, imagen.Y * dispositivoPorTwip_,
                                      imagen.Ancho * dispositivoPorTwip_,
                                      imagen.Alto * dispositivoPorTwip_),
                               imagen.Imagen);
    }
}

void DestinoImpresora::Dibujar(double x, const QString& s) {
    fin_ = std::max(fin_, x + Ancho(s));
    if (pinta_)
        pintor_->drawText(
            QPointF(x * dispositivoPorTwip_, y_ * dispositivoPorTwip_ + metricas_->ascent()), s);
}

void DestinoImpresora::Linea(const FormatoLinea& formato, QByteArrayView bytes) {
    const QString texto = DecodificarAnsi(bytes);

    double puntos = formato.Tamano == 8 ? 8.5 : std::max(formato.Tamano, 1);
    const int estilo = formato.Estilo;
    bool negrita = estilo == 2 || estilo == 4 || estilo == 6;
    bool cursiva = estilo == 3 || estilo == 4;
    bool subrayado = estilo == 5 || estilo == 6;
    if (resumen_.SinCodigos) {
        puntos = resumen_.AnchoMaximo > 96 ? 8 : resumen_.AnchoMaximo > 80 ? 10 : 12;
        negrita = cursiva = subrayado = false;
    }
    Fuente(puntos, negrita, cursiva, subrayado);
    const double y0 = y_;
    const bool encabezado = formato.Tipo == LineaEncabezado;

    // Un encabezado más ancho que la línea se imprime él solo más pequeño: ni se
    // corta ni reduce la página. Su ancho se mide una vez (los encabezados se
    // repiten en cada página).
    double reduccion = 1;
    double anchoEncabezado = 0;
    if (encabezado) {
        QByteArray clave(bytes.data(), bytes.size());
        clave += char(formato.Tamano);
        clave += char(formato.Estilo);
        clave += char(formato.Alineacion);
        auto guardado = anchoEncabezados_.constFind(clave);
        if (guardado == anchoEncabezados_.cend())
            guardado =
                anchoEncabezados_.insert(clave, Colocar(formato, texto, anchoLinea_, false, puntos,
                                                        negrita, cursiva, subrayado));
        anchoEncabezado = *guardado;
        if (pintor_ && anchoEncabezado > anchoLinea_) reduccion = anchoLinea_ / anchoEncabezado;
    }
    if (reduccion < 1) {
        pintor_->save();
        pintor_->translate(0, y0 * dispositivoPorTwip_);
        pintor_->scale(reduccion, reduccion);
        pintor_->translate(0, -y0 * dispositivoPorTwip_);
    }
    // Al medir, un encabezado ya medido no se vuelve a colocar.
    const double natural = pintor_ || !encabezado
                               ? Colocar(formato, texto, anchoLinea_ / reduccion,
                                         pintor_ != nullptr, puntos, negrita, cursiva, subrayado)
                               : anchoEncabezado;
    if (reduccion < 1) pintor_->restore();
    if (!encabezado) anchoCuerpo_ = std::max(anchoCuerpo_, natural);
    if (pintor_) derecha_ = std::max(derecha_, fin_ * reduccion);

    const double avance = puntos < 16 ? 240.0 * configuracion_.Espaciamiento
                                      : metricas_->height() / dispositivoPorTwip_;
    abajo_ = std::max(abajo_,
                      y0 + std::max(avance, metricas_->height() * reduccion / dispositivoPorTwip_));
    y_ = y0 + avance;
}

double DestinoImpresora::Colocar(const FormatoLinea& formato, QString texto, double ancho,
                                 bool pinta, double puntos, bool negrita, bool cursiva,
                                 bool subrayado) {
    pinta_ = pinta;
    fin_ = 0;
    const int alineacion = formato.Alineacion;
    double x = 0;
    switch (alineacion) {
    case 2:
    case 3: {
        // Respecto del borde derecho imprimible a la escala del trabajo, no de las 8
        // pulgadas fijas, que pasan del borde de una hoja de pie con sus márgenes.
        texto = Recortar(texto);
        const double propio = Ancho(texto);
        x = alineacion == 2 ? ancho - propio : (ancho - propio) / 2;
        if (!pinta_ && puntos > 7.6) return propio;
        break;
    }
    case 4:
        return AjusteAnchoMaximo(texto, ancho);
    case 6:
    case 7: {
        qsizetype blancos = 0;
        while (blancos < texto.size() && texto[blancos] == u' ')
            ++blancos;
        if (blancos > 0) {
            texto.remove(0, blancos);
            // La sangría se mide a 11 puntos, sea cual sea el tamaño de la línea.
            Fuente(11, negrita, cursiva, subrayado);
            x = blancos * Ancho(QStringLiteral(" "));
            Fuente(puntos, negrita, cursiva, subrayado);
        }
        break;
    }
    default:
        break;
    }

    if (Recortar(texto).isEmpty()) return 0;
    // Al medir, una línea de letras seguidas se mide de una vez.
    if (!pinta_ && puntos > 7.6 && alineacion != 5 && alineacion != 7) {
        qsizetype largo = texto.size();
        while (largo > 0 && texto[largo - 1] == u' ')
            --largo;
        return x + Ancho(texto.left(largo));
    }
    const double inicio = x;
    if (puntos <= 7.6) {
        // Letra chica: celdas fijas de 86 twips.
        for (const QChar c : texto) {
            if (c != u' ') Dibujar(x, QString(c));
            x += 86;
        }
    } else if (alineacion == 5 || alineacion == 7) {
        const double celda = Ancho(QStringLiteral("A"));
        for (const QChar c : texto) {
            if (c == u' ') {
                x += Ancho(QStringLiteral(" "));
                continue;
            }
            const QString s(c);
            Dibujar(x + (celda - Ancho(s)) / 2, s);
            x += celda;
        }
    } else {
        // Cada carácter avanza su propio ancho: los tramos sin blancos van juntos.
        qsizetype i = 0;
        while (i < texto.size()) {
            if (texto[i] == u' ') {
                x += Ancho(QStringLiteral(" "));
                ++i;
                continue;
            }
            qsizetype fin = i;
            while (fin < texto.size() && texto[fin] != u' ')
                ++fin;
            const QString tramo = texto.mid(i, fin - i);
            Dibujar(x, tramo);
            x += Ancho(tramo);
            i = fin;
        }
    }
    // Centrada o a la derecha: solo cuenta su propio ancho.
    return alineacion == 2 || alineacion == 3 ? fin_ - inicio : fin_;
}

double DestinoImpresora::AjusteAnchoMaximo(const QString& texto, double ancho) {
    qsizetype sangria = 0;
    while (sangria < texto.size() && texto[sangria] == u' ')
        ++sangria;
    const double anchoSangria = Ancho(QString(sangria, u' '));
    // Hasta el borde derecho imprimible: los márgenes de la hoja ya son los del papel.
    const double disponible = ancho - anchoSangria;
    const QString recortado = Recortar(texto);
    const qsizetype blancos = recortado.count(u' ');
    if (recortado.isEmpty()) return 0;
    const double natural = anchoSangria + Ancho(recortado);
    if (blancos == 0 || !pinta_) {
        Dibujar(anchoSangria, recortado);
        return natural;
    }
    const double sobrante = std::max(disponible - Ancho(recortado), 0.0);
    const double hueco = std::nearbyint(sobrante / static_cast<double>(blancos));
    double x = anchoSangria;
    qsizetype vistos = 0;
    for (const QChar c : recortado) {
        const QString s(c);
        if (c != u' ') Dibujar(x, s);
        x += Ancho(s);
        if (c == u' ') {
            ++vistos;
            x += vistos < blancos ? hueco : sobrante - hueco * static_cast<double>(blancos - 1);
        }
    }
    return natural;
}

QList<ImagenCargada> CargarImagenes(const QList<ImagenReporte>& lista) {
    QList<ImagenCargada> cargadas;
    for (const ImagenReporte& i : lista) {
        if (!QFileInfo::exists(i.Archivo)) continue;
        ImagenCargada c;
        if (!c.Imagen.load(i.Archivo)) continue;
        c.X = i.X;
        c.Y = i.Y;
        // Tamaño natural según la resolución guardada en la imagen (96 ppp si no la tiene).
        const double ppmX = c.Imagen.dotsPerMeterX() > 0 ? c.Imagen.dotsPerMeterX() : 3780;
        const double ppmY = c.Imagen.dotsPerMeterY() > 0 ? c.Imagen.dotsPerMeterY() : 3780;
        c.Ancho = c.Imagen.width() / (ppmX * 0.0254) * TwipsPorPulgada;
        c.Alto = c.Imagen.height() / (ppmY * 0.0254) * TwipsPorPulgada;
        cargadas.append(c);
    }
    return cargadas;
}

} // namespace

ResultadoImpresora ImprimirEnImpresora(QPrinter& impresora, const QString& reporte,
                                       const ResumenReporte& resumen,
                                       const ConfiguracionImpresion& configuracion,
                                       const ParametrosImpresion& parametros,
                                       bool orientacionElegida) {
    ResultadoImpresora r;
    QFile archivo(reporte);
    if (!archivo.exists()) {
        r.Ok = true;
        return r;
    }
    if (!archivo.open(QIODevice::ReadOnly)) {
        r.Error = archivo.errorString();
        return r;
    }
    const QByteArray datos = archivo.readAll();

    QList<ImagenReporte> lista;
    QFile listaImagenes(reporte + QStringLiteral(".img"));
    if (listaImagenes.open(QIODevice::ReadOnly) &&
        !LeerListaImagenes(listaImagenes.readAll(), lista)) {
        r.Error = QStringLiteral("la lista de imágenes pasa de %1").arg(MaximoImagenes);
        return r;
    }
    const QList<ImagenCargada> imagenes = CargarImagenes(lista);
    impresora.setCopyCount(1);

    // Márgenes de al menos 10 mm; los que el usuario haya puesto mayores se respetan.
    const QMarginsF antes = impresora.pageLayout().margins(QPageLayout::Point);
    impresora.setPageMargins(QMarginsF(std::max(antes.left(), MargenMinimoPuntos),
                                       std::max(antes.top(), MargenMinimoPuntos),
                                       std::max(antes.right(), MargenMinimoPuntos),
                                       std::max(antes.bottom(), MargenMinimoPuntos)),
                             QPageLayout::Point);

    // Primera pasada: medir lo impreso para elegir orientación y escala.
    DestinoImpresora destino(impresora, resumen, configuracion, imagenes);
    destino.Pintar(nullptr, AnchoLineaTwips);
    const ResultadoImpresion medida = ImprimirPaginas(datos, resumen, parametros, destino);
    if (!medida.Ok) {
        r.Error = QStringLiteral("más de %1 líneas de encabezado").arg(MaximoEncabezados);
        return r;
    }
    r.AnchoCuerpo = destino.AnchoCuerpo();
    r.AltoTwips = destino.Abajo();
    if (medida.PaginasImpresas == 0) {
        r.Ok = true;
        return r;
    }

    // Solo el cuerpo decide: un encabezado largo no pone apaisado ni reduce todo el reporte.
    const DisenoPagina diseno = ElegirDisenoPagina(
        AreaDePie(impresora.pageLayout(), impresora.resolution()), r.AnchoCuerpo, r.AltoTwips,
        orientacionElegida
            ? std::optional<bool>(impresora.pageLayout().orientation() == QPageLayout::Landscape)
            : std::nullopt);
    impresora.setPageOrientation(diseno.Apaisada ? QPageLayout::Landscape : QPageLayout::Portrait);
    r.Apaisada = diseno.Apaisada;
    r.Escala = diseno.Escala;

    QPainter pintor;
    if (!pintor.begin(&impresora)) {
        r.Error = QStringLiteral("no fue posible iniciar la impresión");
        return r;
    }
    const double dispositivoPorTwip = impresora.resolution() / TwipsPorPulgada;
    pintor.translate(HolguraTwips * dispositivoPorTwip, HolguraTwips * dispositivoPorTwip);
    pintor.scale(r.Escala, r.Escala);
    destino.Pintar(&pintor, diseno.AnchoLinea);
    ImprimirPaginas(datos, resumen, parametros, destino);
    const bool terminado = pintor.end();
    r.Paginas = destino.Paginas();
    r.AnchoTwips = destino.Derecha();
    if (destino.Fallo() || !terminado) {
        r.Error = QStringLiteral("la impresora no aceptó el trabajo");
        return r;
    }
    r.Ok = true;
    return r;
}
