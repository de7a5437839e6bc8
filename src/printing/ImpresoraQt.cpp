#include "printing/ImpresoraQt.h"

#include "common/Texto.h"
#include "printing/TrabajoImpresion.h"

#include <QFile>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QPrinter>

#include <algorithm>
#include <cmath>
#include <map>
#include <memory>

void RegistrarFuenteReportes() {
    QFont::insertSubstitution(QStringLiteral("Courier New"), QStringLiteral("Liberation Mono"));
}

double CmATwips(double cm) {
    return cm * AnchoLineaTwips / 21.59;
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

    // Con pintor dibuja; sin él solo mide.
    void Pintar(QPainter* pintor) {
        pintor_ = pintor;
        paginas_ = 0;
    }

    void ComenzarPagina() override;
    void TrasEncabezados() override;
    void Linea(const FormatoLinea& formato, QByteArrayView texto) override;
    void TerminarPagina() override {}

    bool Fallo() const { return fallo_; }
    int Paginas() const { return paginas_; }
    double Derecha() const { return derecha_; }
    double Abajo() const { return abajo_; }

private:
    void Fuente(double puntos, bool negrita, bool cursiva, bool subrayado);
    double Ancho(const QString& s) const {
        return metricas_->horizontalAdvance(s) / dispositivoPorTwip_;
    }
    void Dibujar(double x, const QString& s);
    void AjusteAnchoMaximo(const QString& texto);

    QPrinter& impresora_;
    const ResumenReporte& resumen_;
    const ConfiguracionImpresion& configuracion_;
    const QList<ImagenCargada>& imagenes_;
    const double dispositivoPorTwip_;
    QPainter* pintor_ = nullptr;
    int paginas_ = 0;
    bool fallo_ = false;

    QFont fuente_{QStringLiteral("Courier New")};
    std::shared_ptr<QFontMetricsF> metricas_;
    std::map<int, std::shared_ptr<QFontMetricsF>> medidas_;
    double y_ = 0; // twips desde el borde superior del área imprimible
    double derecha_ = 0;
    double abajo_ = 0;
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
        abajo_ = std::max(abajo_, imagen.Y + imagen.Alto);
        if (pintor_)
            pintor_->drawImage(QRectF(x * dispositivoPorTwip_, imagen.Y * dispositivoPorTwip_,
                                      imagen.Ancho * dispositivoPorTwip_,
                                      imagen.Alto * dispositivoPorTwip_),
                               imagen.Imagen);
    }
}

void DestinoImpresora::Dibujar(double x, const QString& s) {
    derecha_ = std::max(derecha_, x + Ancho(s));
    if (pintor_)
        pintor_->drawText(
            QPointF(x * dispositivoPorTwip_, y_ * dispositivoPorTwip_ + metricas_->ascent()), s);
}

void DestinoImpresora::Linea(const FormatoLinea& formato, QByteArrayView bytes) {
    QString texto = DecodificarAnsi(bytes);

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
    const int alineacion = formato.Alineacion;
    double x = 0;
    bool impresa = false;
    switch (alineacion) {
    case 2:
        texto = Recortar(texto);
        x = AnchoLineaTwips - Ancho(texto);
        break;
    case 3:
        texto = Recortar(texto);
        x = (AnchoLineaTwips - Ancho(texto)) / 2;
        break;
    case 4:
        AjusteAnchoMaximo(texto);
        impresa = true;
        break;
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

    if (!impresa && !Recortar(texto).isEmpty()) {
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
    }

    const double avance = puntos < 16 ? 240.0 * configuracion_.Espaciamiento
                                      : metricas_->height() / dispositivoPorTwip_;
    abajo_ = std::max(abajo_, y0 + std::max(avance, metricas_->height() / dispositivoPorTwip_));
    y_ = y0 + avance;
}

void DestinoImpresora::AjusteAnchoMaximo(const QString& texto) {
    qsizetype sangria = 0;
    while (sangria < texto.size() && texto[sangria] == u' ')
        ++sangria;
    const double anchoSangria = Ancho(QString(sangria, u' '));
    const double disponible =
        AnchoLineaTwips - anchoSangria - CmATwips(configuracion_.MargenDerecho);
    const QString recortado = Recortar(texto);
    const qsizetype blancos = recortado.count(u' ');
    if (recortado.isEmpty()) return;
    if (blancos == 0) {
        Dibujar(anchoSangria, recortado);
        return;
    }
    const double sobrante = disponible - Ancho(recortado);
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

    // Primera pasada: medir lo impreso para elegir orientación y escala.
    DestinoImpresora destino(impresora, resumen, configuracion, imagenes);
    destino.Pintar(nullptr);
    const ResultadoImpresion medida = ImprimirPaginas(datos, resumen, parametros, destino);
    if (!medida.Ok) {
        r.Error = QStringLiteral("más de %1 líneas de encabezado").arg(MaximoEncabezados);
        return r;
    }
    r.AnchoTwips = destino.Derecha();
    r.AltoTwips = destino.Abajo();
    if (medida.PaginasImpresas == 0) {
        r.Ok = true;
        return r;
    }

    const auto areaTwips = [&impresora]() {
        const QRectF area = impresora.pageLayout().paintRect(QPageLayout::Inch);
        return QSizeF(area.width() * TwipsPorPulgada, area.height() * TwipsPorPulgada);
    };
    if (!orientacionElegida)
        impresora.setPageOrientation(r.AnchoTwips > areaTwips().width() ? QPageLayout::Landscape
                                                                        : QPageLayout::Portrait);
    r.Apaisada = impresora.pageLayout().orientation() == QPageLayout::Landscape;
    const QSizeF area = areaTwips();
    if (r.AnchoTwips > 0 && r.AltoTwips > 0)
        r.Escala = std::min({1.0, area.width() / r.AnchoTwips, area.height() / r.AltoTwips});

    QPainter pintor;
    if (!pintor.begin(&impresora)) {
        r.Error = QStringLiteral("no fue posible iniciar la impresión");
        return r;
    }
    pintor.scale(r.Escala, r.Escala);
    destino.Pintar(&pintor);
    ImprimirPaginas(datos, resumen, parametros, destino);
    const bool terminado = pintor.end();
    r.Paginas = destino.Paginas();
    if (destino.Fallo() || !terminado) {
        r.Error = QStringLiteral("la impresora no aceptó el trabajo");
        return r;
    }
    r.Ok = true;
    return r;
}
