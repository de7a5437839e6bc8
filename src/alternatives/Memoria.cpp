#include "alternatives/Memoria.h"

#include "alternatives/Cantidades.h"
#include "alternatives/DiagramaLineal.h"
#include "alternatives/Diseno.h"
#include "alternatives/PintarDiagrama.h"
#include "alternatives/Verificacion.h"
#include "common/EntradaDatos.h"
#include "common/Formato.h"
#include "common/Texto.h"
#include "project/ArchivoProyecto.h"

#include <QAbstractTextDocumentLayout>
#include <QFileInfo>
#include <QHash>
#include <QPainter>
#include <QPdfWriter>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextObjectInterface>

#include <cmath>
#include <memory>
#include <vector>

namespace {

// Los dibujos van en el HTML como imágenes "estructura:N" (N, la columna del
// diagrama) y los pinta un manejador propio: quedan vectoriales en el PDF.
const QString PrefijoEstructura = QStringLiteral("estructura:");
// Medidas en milímetros del papel; la letra en puntos.
constexpr double MargenMm = 20;
constexpr double PieMm = 10;
constexpr double LetraCuerpo = 10;
constexpr double LetraTabla = 8.5;
// Escala del dibujo de las estructuras: 1 mm del papel por centímetro de capa.
constexpr double MmPorCm = 1.0;
// Una capa más delgada se dibuja con este alto para que su rótulo se lea.
constexpr double AltoMinimoMm = 4;
constexpr double AltoTratamientoMm = 1.5;

QString Escapar(const QString& texto) {
    return texto.toHtmlEscaped();
}

// Un texto que el archivo guarda con "¦" por salto de línea.
QString Parrafos(const QString& texto) {
    return Escapar(texto.trimmed()).replace(u'¦', QStringLiteral("<br>"));
}

class Numeros {
public:
    explicit Numeros(SeparadorDecimal s) : separador_(s) {}
    QString operator()(double valor, QStringView mascara) const {
        return TextoVentana(Recortar(Formato(valor, mascara)), separador_);
    }

private:
    SeparadorDecimal separador_;
};

QString Celda(const QString& texto, bool derecha = false) {
    return derecha ? QStringLiteral("<td align=\"right\">%1</td>").arg(texto)
                   : QStringLiteral("<td>%1</td>").arg(texto);
}

QString Fila(const QStringList& celdas, const QList<bool>& derecha = {}) {
    QString html = QStringLiteral("<tr>");
    for (qsizetype k = 0; k < celdas.size(); ++k)
        html += Celda(celdas[k], derecha.value(k, false));
    return html + QStringLiteral("</tr>");
}

QString Encabezado(const QStringList& titulos) {
    QString html = QStringLiteral("<tr>");
    for (const QString& t : titulos)
        html += QStringLiteral("<th bgcolor=\"#dde4ec\">%1</th>").arg(t);
    return html + QStringLiteral("</tr>");
}

QString Tabla(const QString& filas) {
    return QStringLiteral("<table border=\"1\" cellspacing=\"0\" cellpadding=\"3\" "
                          "style=\"border-color:#8a9aa9; font-size:%1pt\">%2</table>")
        .arg(LetraTabla)
        .arg(filas);
}

QString TextoComprobacion(const Comprobacion& c, const Numeros& n) {
    return QStringLiteral("%1 / %2 — %3")
        .arg(n(c.Requerido, u"0.0000"), n(c.Aportado, u"0.0000"), TextoCumple(c.Cumple));
}

// La estructura seleccionada de una unidad, a escala, con el rótulo de cada capa.
class ObjetoEstructura : public QObject, public QTextObjectInterface {
    Q_OBJECT
    Q_INTERFACES(QTextObjectInterface)

public:
    ObjetoEstructura(const DiagramaLineal& d, double puntosPorMm, SeparadorDecimal separador)
        : d_(d), mm_(puntosPorMm), separador_(separador) {}

    QSizeF intrinsicSize(QTextDocument*, int, const QTextFormat& formato) override {
        const ColumnaDiagrama* columna = Columna(formato);
        if (!columna) return {};
        const ColumnaDiagrama& c = *columna;
        double alto = 0;
        for (const CapaDiagrama& capa : c.Capas)
            alto += AltoCapa(capa);
        return {60 * mm_, std::max(alto, 8.0) * mm_ + 2};
    }

    void drawObject(QPainter* p, const QRectF& rect, QTextDocument*, int,
                    const QTextFormat& formato) override {
        const ColumnaDiagrama* columna = Columna(formato);
        if (!columna) return;
        const ColumnaDiagrama& c = *columna;
        p->save();
        QFont letra(QStringLiteral("Liberation Sans"));
        letra.setPointSizeF(LetraTabla);
        p->setFont(letra);
        double y = rect.top();
        const double ancho = 26 * mm_;
        for (const CapaDiagrama& capa : c.Capas) {
            const double alto = AltoCapa(capa) * mm_;
            const QRectF caja(rect.left(), y, ancho, alto);
            const QColor fondo = ColoresMaterial(capa.Tipo).first;
            p->setPen(QPen(Qt::black, 0.2 * mm_));
            p->setBrush(fondo);
            p->drawRect(caja);
            p->setPen(Qt::black);
            p->drawText(QRectF(caja.right() + 2 * mm_, y, rect.width() - ancho - 2 * mm_,
                               std::max(alto, 4 * mm_)),
                        Qt::AlignLeft | Qt::AlignVCenter,
                        capa.Espesor > 0
                            ? TextoVentana(capa.Etiqueta, separador_) + QStringLiteral(" cm")
                            : capa.Etiqueta);
            y += alto;
        }
        p->restore();
    }

private:
    const ColumnaDiagrama* Columna(const QTextFormat& formato) const {
        const QString nombre = formato.toImageFormat().name();
        if (!nombre.startsWith(PrefijoEstructura)) return nullptr;
        bool ok = false;
        const int k = nombre.mid(PrefijoEstructura.size()).toInt(&ok);
        return ok && k >= 0 && k < d_.Columnas.size() ? &d_.Columnas[k] : nullptr;
    }
    static double AltoCapa(const CapaDiagrama& capa) {
        if (capa.Espesor <= 0) return AltoTratamientoMm;
        return std::max((capa.Hasta - capa.Desde) * MmPorCm, AltoMinimoMm);
    }

    const DiagramaLineal& d_;
    double mm_;
    SeparadorDecimal separador_;
};

// Un trozo del documento: las secciones empiezan en página nueva y se parten
// entre páginas; una unidad va entera en una página.
struct Trozo {
    QString Html;
    bool Seccion = true;
};

// Arma la memoria en trozos de HTML: cada uno se dispone aparte, así que el costo
// crece con el número de unidades y no con su cuadrado.
class Redactor {
public:
    Redactor(ModuloVarek9& modulo, const OpcionesMemoria& o)
        : modulo_(modulo), o_(o), n_(o.Separador) {}

    QList<Trozo> Escribir(const DiagramaLineal& d, const QList<VerificacionUnidad>& verificacion,
                          const CantidadesProyecto& cantidades) {
        trozos_ = {Trozo()};
        Portada();
        Metodo();
        Catalogo();
        TablaUnidades(d);
        Estructuras(d, verificacion);
        Cantidades(cantidades);
        return trozos_;
    }

private:
    void Html(const QString& html) { trozos_.back().Html += html; }
    void Titulo(const QString& texto) {
        trozos_.append(Trozo());
        Html(QStringLiteral("<h2>%1</h2>").arg(Escapar(texto)));
    }

    void Portada() {
        const Proyecto& p = modulo_.Proyecto;
        Html(QStringLiteral("<p align=\"center\" style=\"font-size:22pt\"><br><br><br><br>"
                            "<b>MEMORIA DE DISEÑO</b></p>"
                            "<p align=\"center\" style=\"font-size:13pt\">Diseño estructural de "
                            "pavimento asfáltico para vías con bajos volúmenes de tránsito<br>"
                            "Método AASHTO-93 para pavimentos flexibles</p>"
                            "<p align=\"center\" style=\"font-size:16pt\"><br><br><b>%1</b></p>"
                            "<p align=\"center\">%2</p><p align=\"center\">%3</p>"
                            "<p align=\"center\"><br><br>Proyecto: %4<br>Fecha: %5<br>"
                            "Varek-9 versión %6</p>")
                 .arg(Escapar(p.Nombre.trimmed()), Parrafos(p.Descripcion),
                      Escapar(p.Ubicacion.trimmed()),
                      Escapar(QFileInfo(modulo_.ArchivoProyecto).fileName()),
                      o_.Fecha.toString(QStringLiteral("dd/MM/yyyy")),
                      QStringLiteral(VAREK9_VERSION)));
    }

    void Metodo() {
        const Proyecto& p = modulo_.Proyecto;
        Titulo(QStringLiteral("1. Método y parámetros de diseño"));
        Html(QStringLiteral(
            "<p>El número estructural requerido SN de cada unidad de diseño es la raíz de la "
            "ecuación de diseño de pavimentos flexibles AASHTO-93:</p>"
            "<p align=\"center\">log<sub>10</sub>(W<sub>18</sub>) = Z<sub>R</sub>·S<sub>o</sub> "
            "+ 9,36·log<sub>10</sub>(SN + 1) − 0,20 + log<sub>10</sub>(ΔPSI / 2,7) / "
            "(0,40 + 1094 / (SN + 1)<sup>5,19</sup>) + 2,32·log<sub>10</sub>(M<sub>R</sub>) − "
            "8,07</p>"
            "<p>donde W<sub>18</sub> son los ejes equivalentes de 80 kN del período de diseño, "
            "M<sub>R</sub> el módulo resiliente de la subrasante en psi (M<sub>R</sub> = 2555·"
            "CBR<sup>0,64</sup>) y ΔPSI = 4,2 − p<sub>t</sub>. Cada capa aporta a·m·D "
            "(coeficiente estructural, coeficiente de drenaje y espesor en pulgadas); la "
            "estructura cumple cuando lo que aportan sus capas alcanza el SN requerido sobre la "
            "subrasante y, por capas, sobre la base y la subbase con sus módulos.</p>"));
        Html(Tabla(
            Encabezado({QStringLiteral("Parámetro"), QStringLiteral("Valor")}) +
            Fila({QStringLiteral("Confiabilidad R (%)"), n_(p.Confiabilidad, u"0.00")},
                 {false, true}) +
            Fila({QStringLiteral("Desviación normal estándar Z<sub>R</sub>"), n_(p.Zr, u"0.0000")},
                 {false, true}) +
            Fila({QStringLiteral("Desviación estándar total S<sub>o</sub>"), n_(p.So, u"0.00")},
                 {false, true}) +
            Fila({QStringLiteral("Serviciabilidad final p<sub>t</sub>"),
                  n_(p.ServiciabilidadFinal, u"0.00")},
                 {false, true}) +
            Fila({QStringLiteral("Pérdida de serviciabilidad ΔPSI"),
                  n_(4.2 - p.ServiciabilidadFinal, u"0.00")},
                 {false, true})));
    }

    void Catalogo() {
        Titulo(QStringLiteral("2. Materiales, coeficientes y costos unitarios"));
        Html(QStringLiteral("<p>Coeficientes estructurales por clase de temperatura (1 a 3), "
                            "coeficientes de drenaje por clase de humedad (1 a 5), módulo y "
                            "costo unitario de cada material del catálogo.</p>"));
        QString filas = Encabezado({QStringLiteral("Código"), QStringLiteral("Material"),
                                    QStringLiteral("Unidad"), QStringLiteral("a (T1 / T2 / T3)"),
                                    QStringLiteral("m (H1 … H5)"), QStringLiteral("Módulo (psi)"),
                                    QStringLiteral("Costo unitario ($)")});
        for (int k = 1; k <= NumeroTiposCapa; ++k) {
            const TipoCapa& t = modulo_.TipoCapa[k];
            QStringList drenaje;
            for (int h = 1; h <= 5; ++h)
                drenaje << n_(t.CoefDrenaje[h], u"0.00");
            filas +=
                Fila({Escapar(t.Codigo), Escapar(t.Descripcion), Escapar(t.Unidad),
                      QStringLiteral("%1 / %2 / %3")
                          .arg(n_(t.CoefEstructural[1], u"0.00"), n_(t.CoefEstructural[2], u"0.00"),
                               n_(t.CoefEstructural[3], u"0.00")),
                      drenaje.join(QStringLiteral(" ")), n_(t.Modulo, u"#,##0"),
                      n_(modulo_.Proyecto.CostosUnitarios[k], u"#,##0")},
                     {false, false, false, true, true, true, true});
        }
        Html(Tabla(filas));
        Html(QStringLiteral("<p>Estructuras alternativas, de arriba abajo, con los espesores "
                            "mínimos de cada capa en milímetros (W<sub>18</sub> &lt; 150 000 / "
                            "W<sub>18</sub> ≥ 150 000):</p>"));
        QString alternativas = Encabezado({QStringLiteral("Alternativa"), QStringLiteral("Capas")});
        for (int a = 1; a <= NumeroAlternativas; ++a) {
            const AlternativaUH& alt = modulo_.AlternativaUH[a];
            QStringList capas;
            for (int j = 1; j <= alt.NumeroCapas; ++j) {
                const CapaAlternativa& c = alt.Capas[j];
                if (c.Tipo < 1 || c.Tipo > NumeroTiposCapa) continue;
                QString capa = Escapar(modulo_.TipoCapa[c.Tipo].Codigo);
                if (c.EspesorMinimoBajo > 0 || c.EspesorMinimoAlto > 0)
                    capa += QStringLiteral(" (mín. %1 / %2)")
                                .arg(n_(c.EspesorMinimoBajo, u"0"), n_(c.EspesorMinimoAlto, u"0"));
                capas << capa;
            }
            if (alt.CBRMinimo > 0)
                capas << QStringLiteral("CBR mínimo %1 %").arg(n_(alt.CBRMinimo, u"0"));
            alternativas += Fila({QString::number(a), capas.join(QStringLiteral(" · "))});
        }
        Html(Tabla(alternativas));
    }

    void TablaUnidades(const DiagramaLineal& d) {
        Titulo(QStringLiteral("3. Unidades de diseño"));
        const QString titulos = Encabezado(
            {QStringLiteral("#"), QStringLiteral("Código"), QStringLiteral("Abscisa inicial"),
             QStringLiteral("Abscisa final"), QStringLiteral("Longitud (m)"),
             QStringLiteral("Ancho (m)"), QStringLiteral("W<sub>18</sub>"), QStringLiteral("Clima"),
             QStringLiteral("CBR (%)"), QStringLiteral("M<sub>R</sub> (psi)"),
             QStringLiteral("SN requerido")});
        const QList<bool> derecha{true, false, true, true, true, true,
                                  true, false, true, true, true};
        // En tramos de pocas filas, cada uno con sus títulos: ninguna tabla larga se
        // parte a ciegas entre páginas.
        constexpr qsizetype FilasPorTramo = 25;
        QString filas;
        for (qsizetype k = 0; k < d.Columnas.size(); ++k) {
            const ColumnaDiagrama& c = d.Columnas[k];
            const UnidadHomogenea& u = modulo_.Proyecto.UH[c.Unidad];
            filas += Fila({QString::number(c.Unidad), Escapar(u.CodigoTramo),
                           TextoAbscisa(u.AbscisaInicial), TextoAbscisa(u.AbscisaFinal),
                           n_(std::fabs(u.AbscisaFinal - u.AbscisaInicial), u"#,##0.00"),
                           n_(u.AnchoCorona, u"0.00"), n_(u.EjesEquivalentes, u"#,##0"),
                           Escapar(u.ClimaHumedad.trimmed() + u' ' + u.ClimaTemperatura.trimmed()),
                           n_(u.CBR, u"0.0"),
                           u.CBR > 0 ? n_(ModuloSubrasante(u.CBR), u"#,##0") : QString(),
                           c.Alternativa > 0 ? n_(c.SNRequerido, u"0.00") : QStringLiteral("—")},
                          derecha);
            if ((k + 1) % FilasPorTramo == 0 || k + 1 == d.Columnas.size()) {
                trozos_.append(Trozo{Tabla(titulos + filas), false});
                filas.clear();
            }
        }
    }

    void Estructuras(const DiagramaLineal& d, const QList<VerificacionUnidad>& verificacion) {
        Titulo(QStringLiteral("4. Estructura seleccionada de cada unidad"));
        Html(QStringLiteral("<p>Cada estructura se dibuja a escala (1 mm por centímetro de "
                            "espesor; una capa de menos de 4 cm, con 4 mm). Los números "
                            "estructurales están en pulgadas.</p>"));
        // Cada unidad encuentra su verificación sin recorrer la lista entera.
        QHash<int, const VerificacionUnidad*> porUnidad;
        for (const VerificacionUnidad& x : verificacion)
            porUnidad.insert(x.Unidad, &x);
        for (const ColumnaDiagrama& c : d.Columnas) {
            const UnidadHomogenea& u = modulo_.Proyecto.UH[c.Unidad];
            trozos_.append(Trozo{QString(), false});
            Html(QStringLiteral("<h3>Unidad %1 — %2, %3 a %4</h3>")
                     .arg(c.Unidad)
                     .arg(Escapar(u.CodigoTramo), TextoAbscisa(u.AbscisaInicial),
                          TextoAbscisa(u.AbscisaFinal)));
            const VerificacionUnidad* v = porUnidad.value(c.Unidad);
            if (c.Alternativa < 1 || !v) {
                const CausaSinDiseno causa = SinDiseno(modulo_.Proyecto, u);
                Html(QStringLiteral("<p>Sin alternativa aplicable%1.</p>")
                         .arg(causa == CausaSinDiseno::Ninguna
                                  ? QString()
                                  : QStringLiteral(": ") + TextoSinDiseno(causa)));
                continue;
            }
            const VerificacionAlternativa& va = v->Alternativas[c.Alternativa];
            QString filas =
                Fila({QStringLiteral("Alternativa seleccionada"), QString::number(c.Alternativa)}) +
                Fila({QStringLiteral("Costo (miles de pesos)"), n_(c.Costo / 1000, u"#,##0")}) +
                Fila({QStringLiteral("SN requerido / aportado"), TextoComprobacion(va.Total, n_)});
            const auto porCapas = [&](const char16_t* nombre, const Comprobacion& k) {
                if (!k.Existe) return;
                filas += Fila(
                    {QStringLiteral("Sobre la %1 (%2)")
                         .arg(QString::fromUtf16(nombre), Escapar(modulo_.TipoCapa[k.Tipo].Codigo)),
                     TextoComprobacion(k, n_)});
            };
            porCapas(u"base", va.Base);
            porCapas(u"subbase", va.Subbase);
            filas += Fila(
                {QStringLiteral("Verificación"), va.Cumple() ? QStringLiteral("<b>cumple</b>")
                                                             : QStringLiteral("<b>no cumple</b>")});
            Html(QStringLiteral("<table cellspacing=\"0\" cellpadding=\"2\"><tr><td><img "
                                "src=\"%1%2\"></td><td>%3</td></tr></table>")
                     .arg(PrefijoEstructura)
                     .arg(&c - d.Columnas.data())
                     .arg(Tabla(filas)));
        }
    }

    void Cantidades(const CantidadesProyecto& q) {
        Titulo(QStringLiteral("5. Cantidades de obra y costo de la selección"));
        QString filas = Encabezado({QStringLiteral("Código"), QStringLiteral("Material"),
                                    QStringLiteral("Cantidad"), QStringLiteral("Unidad"),
                                    QStringLiteral("Costo (miles de pesos)")});
        const QList<bool> derecha{false, false, true, false, true};
        for (int k = 1; k <= NumeroTiposCapa; ++k) {
            if (q.Cantidad[k] <= 0 && q.Costo[k] <= 0) continue;
            const TipoCapa& t = modulo_.TipoCapa[k];
            filas +=
                Fila({Escapar(t.Codigo), Escapar(t.Descripcion), n_(q.Cantidad[k], u"#,##0.00"),
                      Escapar(t.Unidad), n_(q.Costo[k] / 1000, u"#,##0")},
                     derecha);
        }
        if (q.CostoAfirmado > 0)
            filas += Fila({QString(), QStringLiteral("Afirmado existente"), QString(), QString(),
                           n_(q.CostoAfirmado / 1000, u"#,##0")},
                          derecha);
        filas +=
            Fila({QString(), QStringLiteral("<b>Total de la selección</b>"), QString(), QString(),
                  QStringLiteral("<b>%1</b>").arg(n_(q.CostoSeleccion / 1000, u"#,##0"))},
                 derecha);
        Html(Tabla(filas));
    }

    QList<Trozo> trozos_;
    ModuloVarek9& modulo_;
    const OpcionesMemoria& o_;
    Numeros n_;
};

// El pie de cada página: el proyecto a la izquierda, "Página n de N" a la derecha.
void PintarPie(QPainter& p, const QRectF& pie, const QString& proyecto, int pagina, int paginas) {
    p.save();
    QFont letra(QStringLiteral("Liberation Sans"));
    letra.setPointSizeF(8.5);
    p.setFont(letra);
    p.setPen(QColor(0x40, 0x40, 0x40));
    p.drawLine(pie.topLeft(), pie.topRight());
    const QString texto = QStringLiteral("Página %1 de %2").arg(pagina).arg(paginas);
    const double anchoPagina = p.fontMetrics().horizontalAdvance(texto) * 1.2;
    p.drawText(
        QRectF(pie.left(), pie.top(), pie.width() - anchoPagina, pie.height()),
        Qt::AlignLeft | Qt::AlignVCenter,
        p.fontMetrics().elidedText(proyecto, Qt::ElideMiddle, int(pie.width() - anchoPagina)));
    p.drawText(pie, Qt::AlignRight | Qt::AlignVCenter, texto);
    p.restore();
}

QByteArray Xmp(const QString& titulo, const QString& autor, const QString& asunto) {
    const auto e = [](const QString& t) { return t.toHtmlEscaped().toUtf8(); };
    return "<?xpacket begin=\"\xEF\xBB\xBF\" id=\"W5M0MpCehiHzreSzNTczkc9d\"?>"
           "<x:xmpmeta xmlns:x=\"adobe:ns:meta/\"><rdf:RDF "
           "xmlns:rdf=\"http://www.w3.org/1999/02/22-rdf-syntax-ns#\">"
           "<rdf:Description rdf:about=\"\" xmlns:dc=\"http://purl.org/dc/elements/1.1/\">"
           "<dc:title><rdf:Alt><rdf:li xml:lang=\"x-default\">" +
           e(titulo) + "</rdf:li></rdf:Alt></dc:title><dc:creator><rdf:Seq><rdf:li>" + e(autor) +
           "</rdf:li></rdf:Seq></dc:creator><dc:description><rdf:Alt>"
           "<rdf:li xml:lang=\"x-default\">" +
           e(asunto) +
           "</rdf:li></rdf:Alt></dc:description></rdf:Description></rdf:RDF></x:xmpmeta>"
           "<?xpacket end=\"w\"?>";
}

} // namespace

std::optional<QPageSize> PapelDeNombre(const QString& nombre) {
    const QString n = nombre.trimmed().toLower();
    if (n == u"carta") return QPageSize(QPageSize::Letter);
    if (n == u"a4") return QPageSize(QPageSize::A4);
    return std::nullopt;
}

ResultadoMemoria EscribirMemoria(const QString& archivo, ModuloVarek9& modulo,
                                 const OpcionesMemoria& opciones) {
    ResultadoMemoria r;
    const DiagramaLineal d = CalcularDiagrama(modulo);
    EstadoDiseno estado;
    const QList<VerificacionUnidad> verificacion = VerificarProyecto(modulo, estado);
    const CantidadesProyecto cantidades = CalcularCantidades(modulo, estado);

    QPdfWriter pdf(archivo);
    pdf.setResolution(600);
    const QString proyecto = modulo.Proyecto.Nombre.trimmed().isEmpty()
                                 ? QFileInfo(modulo.ArchivoProyecto).fileName()
                                 : modulo.Proyecto.Nombre.trimmed();
    pdf.setTitle(QStringLiteral("Memoria de Diseño — ") + proyecto);
    pdf.setCreator(QStringLiteral("Varek-9 ") + QStringLiteral(VAREK9_VERSION));
    pdf.setDocumentXmpMetadata(
        Xmp(pdf.title(), QStringLiteral("Varek-9"),
            QStringLiteral("Diseño estructural de pavimento asfáltico AASHTO-93: ") + proyecto));
    pdf.setPageSize(opciones.Papel);
    pdf.setPageOrientation(QPageLayout::Portrait);
    pdf.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);

    const double puntosPorMm = pdf.resolution() / 25.4;
    const QRectF hoja(0, 0, pdf.width(), pdf.height());
    const QRectF cuerpo = hoja.adjusted(MargenMm * puntosPorMm, MargenMm * puntosPorMm,
                                        -MargenMm * puntosPorMm, -(MargenMm + PieMm) * puntosPorMm);

    QFont letra(QStringLiteral("Liberation Sans"));
    letra.setStyleHint(QFont::SansSerif);
    letra.setPointSizeF(LetraCuerpo);
    ObjetoEstructura dibujo(d, puntosPorMm, opciones.Separador);
    // Cada trozo en su documento; las páginas dicen qué parte de cuál va dónde.
    struct Parte {
        QTextDocument* Documento;
        double Desde; // dentro del documento
        double Alto;
        double Y; // en la página
    };
    std::vector<std::unique_ptr<QTextDocument>> documentos;
    QList<QList<Parte>> paginas;
    double usado = cuerpo.height();
    const double separacion = 4 * puntosPorMm;
    for (const Trozo& t : Redactor(modulo, opciones).Escribir(d, verificacion, cantidades)) {
        auto doc = std::make_unique<QTextDocument>();
        doc->documentLayout()->setPaintDevice(&pdf);
        doc->documentLayout()->registerHandler(QTextFormat::ImageObject, &dibujo);
        doc->setDefaultFont(letra);
        doc->setDocumentMargin(0);
        if (t.Seccion) {
            doc->setPageSize(cuerpo.size());
            doc->setHtml(t.Html);
            const int n = doc->pageCount();
            for (int k = 0; k < n; ++k)
                paginas.append({{doc.get(), k * cuerpo.height(), cuerpo.height(), 0}});
            // Lo que sigue continúa en la última página, debajo de lo escrito.
            usado = doc->documentLayout()->blockBoundingRect(doc->lastBlock()).bottom() -
                    (n - 1) * cuerpo.height();
        } else {
            doc->setTextWidth(cuerpo.width());
            doc->setHtml(t.Html);
            const double alto = doc->size().height();
            if (usado + separacion + alto > cuerpo.height() && usado > 0) {
                paginas.append(QList<Parte>());
                usado = -separacion;
            }
            usado += separacion;
            paginas.back().append({doc.get(), 0, alto, usado});
            usado += alto;
        }
        documentos.push_back(std::move(doc));
    }

    // El diagrama, apaisado y con su pie: sus páginas se cuentan antes de pintar.
    const QRectF hojaApaisada(0, 0, hoja.height(), hoja.width());
    const QRectF areaDiagrama = hojaApaisada.adjusted(
        12 * puntosPorMm, 12 * puntosPorMm, -12 * puntosPorMm, -(12 + PieMm) * puntosPorMm);
    const QFont letraDiagrama = LetraDiagrama();
    const MedidaLetra medida = MedirLetra(letraDiagrama, &pdf);
    const QList<PaginaDiagrama> paginasDiagrama =
        d.Columnas.isEmpty()
            ? QList<PaginaDiagrama>()
            : PaginasDiagrama(d, QRectF(QPointF(0, 0), areaDiagrama.size()), medida);
    const int paginasTexto = static_cast<int>(paginas.size());
    r.PaginasDiagrama = static_cast<int>(paginasDiagrama.size());
    r.Paginas = paginasTexto + r.PaginasDiagrama;

    QPainter p;
    if (!p.begin(&pdf)) {
        r.Error = QStringLiteral("No fue posible escribir el archivo [%1].").arg(archivo);
        return r;
    }
    const QRectF pie(cuerpo.left(), hoja.height() - (MargenMm + PieMm * 0.6) * puntosPorMm,
                     cuerpo.width(), PieMm * 0.6 * puntosPorMm);
    for (int k = 0; k < paginasTexto; ++k) {
        if (k > 0) pdf.newPage();
        for (const Parte& parte : paginas[k]) {
            p.save();
            p.translate(cuerpo.left(), cuerpo.top() + parte.Y - parte.Desde);
            QAbstractTextDocumentLayout::PaintContext contexto;
            contexto.clip = QRectF(0, parte.Desde, cuerpo.width(), parte.Alto);
            p.setClipRect(contexto.clip);
            parte.Documento->documentLayout()->draw(&p, contexto);
            p.restore();
        }
        PintarPie(p, pie, proyecto, k + 1, r.Paginas);
    }
    const EncabezadoDiagrama encabezado = EncabezadoDe(modulo);
    const QRectF pieApaisado(areaDiagrama.left(),
                             hojaApaisada.height() - (12 + PieMm * 0.6) * puntosPorMm,
                             areaDiagrama.width(), PieMm * 0.6 * puntosPorMm);
    for (qsizetype k = 0; k < paginasDiagrama.size(); ++k) {
        pdf.setPageOrientation(QPageLayout::Landscape);
        pdf.newPage();
        const PaginaDiagrama& pg = paginasDiagrama[k];
        p.save();
        p.translate(areaDiagrama.topLeft());
        p.setFont(letraDiagrama);
        PintarDiagrama(p, d,
                       DisponerDiagrama(d, QRectF(QPointF(0, 0), areaDiagrama.size()), pg.Desde,
                                        pg.Hasta, medida, pg.Primera, pg.Ultima),
                       TituloDiagrama(encabezado, pg.Desde, pg.Hasta, static_cast<int>(k) + 1,
                                      r.PaginasDiagrama));
        p.restore();
        PintarPie(p, pieApaisado, proyecto, paginasTexto + static_cast<int>(k) + 1, r.Paginas);
    }
    if (!p.end()) r.Error = QStringLiteral("No fue posible escribir el archivo [%1].").arg(archivo);
    return r;
}

#include "Memoria.moc"
