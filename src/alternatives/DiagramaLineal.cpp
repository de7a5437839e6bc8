#include "alternatives/DiagramaLineal.h"

#include "common/Formato.h"

#include <algorithm>
#include <cmath>

namespace {

// La capa de la ranura k de la alternativa, con su profundidad; el TSD (ranura 1
// sin espesor) queda como una banda delgada en la superficie.
CapaDiagrama Capa(const ModuloVarek9& m, int tipo, int caja, double espesor, double desde) {
    CapaDiagrama c;
    c.Tipo = tipo;
    c.Caja = caja;
    c.Espesor = espesor;
    c.Desde = desde;
    c.Hasta = desde + espesor / 10;
    c.Etiqueta = tipo >= 1 && tipo <= NumeroTiposCapa ? m.TipoCapa[tipo].Codigo : QString();
    if (espesor > 0) c.Etiqueta += u' ' + Formato(espesor / 10, u"0.0");
    return c;
}

ColumnaDiagrama Columna(const ModuloVarek9& m, const EstadoDiseno& estado, int i) {
    const UnidadHomogenea& u = m.Proyecto.UH[i];
    ColumnaDiagrama c;
    c.Unidad = i;
    c.Codigo = u.CodigoTramo;
    c.AbscisaInicial = u.AbscisaInicial;
    c.AbscisaFinal = u.AbscisaFinal;
    c.Desde = std::min(u.AbscisaInicial, u.AbscisaFinal);
    c.Hasta = std::max(u.AbscisaInicial, u.AbscisaFinal);
    c.EjesEquivalentes = u.EjesEquivalentes;
    c.CBR = u.CBR;
    c.SNRequerido = u.SNRequerido;
    const int n = u.AlternativaSeleccionada;
    if (n < 1 || n > NumeroAlternativas || !m.AlternativaUH[n].Aplicable) return c;
    const AlternativaUH& a = m.AlternativaUH[n];
    c.Alternativa = n;
    c.Costo = estado.CostoAlternativa[n];
    const double longitud = c.Hasta - c.Desde;
    c.CostoKm = longitud > 0 ? c.Costo / longitud : 0;
    double profundidad = 0;
    for (int k = 1; k <= a.NumeroCapas && k < NumeroRanuras; ++k) {
        const double espesor = a.Capas[k].Espesor;
        // Una capa opcional sin espesor no existe; el TSD sí, como banda.
        if (espesor <= 0 && k != 1) continue;
        c.Capas.append(Capa(m, a.Capas[k].Tipo, k - 1, espesor, profundidad));
        profundidad = c.Capas.back().Hasta;
    }
    if (u.EspesorSubrasante > 0)
        c.Capas.append(
            Capa(m, a.Capas[NumeroRanuras].Tipo, 4, u.EspesorSubrasante * 10, profundidad));
    return c;
}

// Redondea hacia arriba a 1, 2 o 5 por una potencia de diez.
double Redondo(double v) {
    if (!(v > 0)) return 1;
    const double potencia = std::pow(10.0, std::floor(std::log10(v)));
    for (const double f : {1.0, 2.0, 5.0, 10.0})
        if (v <= f * potencia * (1 + 1e-12)) return f * potencia;
    return 10 * potencia;
}

} // namespace

QString ColumnaDiagrama::TextoAlternativa() const {
    // Corto: la columna rayada ya dice "Sin alternativa".
    return Alternativa > 0 ? QStringLiteral("Alt %1").arg(Alternativa) : QStringLiteral("Sin alt.");
}

QString ColumnaDiagrama::Ayuda() const {
    QStringList capas;
    for (const CapaDiagrama& c : Capas)
        capas << c.Etiqueta;
    QString t =
        QStringLiteral("UH %1 [%2]\nAbscisas %3 a %4 (m)\nW18 %5   CBR %6 %   SN %7\n")
            .arg(QString::number(Unidad), Codigo, Formato(AbscisaInicial, u"#,##0.00"),
                 Formato(AbscisaFinal, u"#,##0.00"), Formato(EjesEquivalentes, u"0.00E+#00"),
                 Formato(CBR, u"0.00"), Formato(SNRequerido, u"0.00"));
    if (Alternativa == 0) return t + QStringLiteral("Sin alternativa");
    // La capa de subrasante lleva siempre geotextil debajo.
    if (!Capas.isEmpty() && Capas.back().Caja == 4) capas.back() += QStringLiteral(" + Geotextil");
    return t + QStringLiteral("Alternativa #%1: %2 (cm)\nCosto %3 miles de pesos (%4 por km)")
                   .arg(QString::number(Alternativa), capas.join(QStringLiteral(", ")),
                        Formato(Costo / 1000, u"#,##0"), Formato(CostoKm, u"#,##0"));
}

DiagramaLineal CalcularDiagrama(ModuloVarek9& modulo) {
    DiagramaLineal d;
    EstadoDiseno estado;
    d.Columnas.reserve(modulo.Proyecto.NumeroUH);
    DisenarProyecto(modulo, estado, [&](int i) { d.Columnas.append(Columna(modulo, estado, i)); });
    std::stable_sort(d.Columnas.begin(), d.Columnas.end(),
                     [](const ColumnaDiagrama& a, const ColumnaDiagrama& b) {
                         return a.Desde != b.Desde ? a.Desde < b.Desde : a.Hasta < b.Hasta;
                     });

    double profundidad = 0;
    double alcance = 0;
    for (qsizetype j = 0; j < d.Columnas.size(); ++j) {
        const ColumnaDiagrama& c = d.Columnas[j];
        if (j == 0) {
            d.AbscisaMinima = c.Desde;
            alcance = c.Hasta;
        } else {
            // Huecos y solapes entre unidades se muestran tal cual.
            if (c.Desde > alcance) d.Huecos.append({alcance, c.Desde});
            if (c.Desde < alcance) d.Solapes.append({c.Desde, std::min(alcance, c.Hasta)});
            alcance = std::max(alcance, c.Hasta);
        }
        d.Longitud += c.Hasta - c.Desde;
        d.CostoTotal += c.Costo;
        d.SNMaximo = std::max(d.SNMaximo, c.SNRequerido);
        d.CostoKmMaximo = std::max(d.CostoKmMaximo, c.CostoKm);
        if (!c.Capas.isEmpty()) profundidad = std::max(profundidad, c.Capas.back().Hasta);
        for (const CapaDiagrama& capa : c.Capas)
            if (capa.Espesor > 0 && (d.CapaMasDelgada == 0 || capa.Espesor / 10 < d.CapaMasDelgada))
                d.CapaMasDelgada = capa.Espesor / 10;
    }
    d.AbscisaMaxima = d.Columnas.isEmpty() ? 1000 : alcance;
    if (d.AbscisaMaxima <= d.AbscisaMinima) d.AbscisaMaxima = d.AbscisaMinima + 1;
    d.ProfundidadMaxima = std::max(10.0, std::ceil(profundidad / 10 - 1e-9) * 10);
    d.CostoPromedioKm = d.Longitud > 0 ? d.CostoTotal / d.Longitud : 0;
    return d;
}

QString TextoAbscisa(double metros) {
    const qint64 centesimos = std::llround(std::fabs(metros) * 100);
    const qint64 km = centesimos / 100000;
    const qint64 resto = centesimos % 100000;
    QString texto = QStringLiteral("%1K%2+%3")
                        .arg(metros < 0 && centesimos > 0 ? QStringLiteral("-") : QString())
                        .arg(km)
                        .arg(resto / 100, 3, 10, QChar(u'0'));
    if (resto % 100) texto += QStringLiteral(".%1").arg(resto % 100, 2, 10, QChar(u'0'));
    return texto;
}

QList<MarcaDiagrama> MarcasAbscisa(double desde, double hasta, int maximo) {
    QList<MarcaDiagrama> marcas;
    if (!(hasta >= desde) || maximo < 1) return marcas;
    double paso = 10;
    for (;;) {
        const double cuenta = std::floor(hasta / paso) - std::ceil(desde / paso) + 1;
        if (cuenta <= maximo) break;
        // 10, 20, 50, 100, 200, 500...
        const double potencia = std::pow(10.0, std::floor(std::log10(paso) + 1e-9));
        const double f = paso / potencia;
        paso = (f < 1.5 ? 2 : f < 3.5 ? 5 : 10) * potencia;
    }
    for (double k = std::ceil(desde / paso); k * paso <= hasta; ++k)
        marcas.append({k * paso, TextoAbscisa(k * paso)});
    return marcas;
}

namespace {

// Por unidad: su selección (aplicable si alguna aplica), la aplicable más barata
// y la primera aplicable, la que la ventana elige sola; 0 si ninguna aplica.
template <class Funcion>
void RecorrerMenorCosto(ModuloVarek9& modulo, Funcion&& funcion) {
    EstadoDiseno estado;
    for (int i = 1; i <= modulo.Proyecto.NumeroUH; ++i) {
        CalcularAlternativas(modulo, estado, i);
        SeleccionarAlternativa(modulo, i);
        int mejor = 0;
        int primera = 0;
        for (int n = 1; n <= NumeroAlternativas; ++n) {
            if (!modulo.AlternativaUH[n].Aplicable) continue;
            if (primera == 0) primera = n;
            if (mejor == 0 || estado.CostoAlternativa[n] < estado.CostoAlternativa[mejor])
                mejor = n;
        }
        funcion(modulo.Proyecto.UH[i].AlternativaSeleccionada, mejor, primera, estado);
    }
}

} // namespace

CuentaMenorCosto ContarMenorCosto(ModuloVarek9& modulo) {
    CuentaMenorCosto cuenta;
    RecorrerMenorCosto(modulo, [&](qint16 seleccion, int mejor, int primera, const EstadoDiseno&) {
        if (mejor == 0 || seleccion == mejor) return;
        ++cuenta.Todas;
        if (seleccion == primera) ++cuenta.PorDefecto;
    });
    return cuenta;
}

QString TextoPreguntaMenorCosto(const CuentaMenorCosto& c) {
    const auto elecciones = [](int n) {
        return n == 1 ? QStringLiteral("1 elección") : QStringLiteral("%1 elecciones").arg(n);
    };
    const int aMano = c.Todas - c.PorDefecto;
    return QStringLiteral("%1 sin la alternativa de menor costo; %2 a mano.\n\n"
                          "\"Todas\" cambia %3.\n"
                          "\"Solo las que tienen la alternativa por defecto\" cambia %4 y "
                          "conserva las elegidas a mano.")
        .arg(c.Todas == 1 ? QStringLiteral("1 unidad está")
                          : QStringLiteral("%1 unidades están").arg(c.Todas),
             aMano == 1 ? QStringLiteral("1 de ellas fue elegida")
                        : QStringLiteral("%1 de ellas fueron elegidas").arg(aMano),
             elecciones(c.Todas), elecciones(c.PorDefecto));
}

ResultadoMenorCosto SeleccionarMenorCosto(ModuloVarek9& modulo, bool soloPorDefecto) {
    ResultadoMenorCosto r;
    RecorrerMenorCosto(modulo,
                       [&](qint16& seleccion, int mejor, int primera, const EstadoDiseno& estado) {
                           if (seleccion >= 1 && seleccion <= NumeroAlternativas &&
                               modulo.AlternativaUH[seleccion].Aplicable)
                               r.CostoAntes += estado.CostoAlternativa[seleccion];
                           if (mejor == 0) return; // sin alternativa aplicable no cambia nada
                           // Una elección distinta de la primera aplicable la hizo el ingeniero.
                           if (soloPorDefecto && seleccion != primera) {
                               r.CostoDespues += estado.CostoAlternativa[seleccion];
                               return;
                           }
                           r.CostoDespues += estado.CostoAlternativa[mejor];
                           if (seleccion != mejor) {
                               seleccion = static_cast<qint16>(mejor);
                               ++r.Cambiadas;
                           }
                       });
    if (r.Cambiadas > 0) modulo.ProyectoModificado = true;
    return r;
}

double DisposicionDiagrama::X(double abscisa) const {
    const double ancho = Estructuras.width();
    return Estructuras.left() + (abscisa - Desde) / (Hasta - Desde) * ancho;
}

double DisposicionDiagrama::Abscisa(double x) const {
    return Desde + (x - Estructuras.left()) / Estructuras.width() * (Hasta - Desde);
}

int DisposicionDiagrama::ColumnaEn(const QPointF& p) const {
    if (p.y() < Rotulos.top() || p.y() > Costo.bottom()) return -1;
    // La última que contiene el punto: es la que quedó pintada encima.
    for (qsizetype j = Columnas.size() - 1; j >= 0; --j) {
        const QRectF& e = Columnas[j].Estructura;
        if (p.x() >= e.left() && p.x() <= e.right()) return Columnas[j].Columna;
    }
    return -1;
}

DisposicionDiagrama DisponerDiagrama(const DiagramaLineal& d, const QRectF& area, double desde,
                                     double hasta, const MedidaLetra& letra, int primera,
                                     int ultima) {
    DisposicionDiagrama r;
    r.Desde = desde;
    r.Hasta = hasta > desde ? hasta : desde + 1;
    const double a = letra.Alto;
    r.MargenIzquierdo = 11 * letra.Ancho;
    const double profundidad = std::max(d.ProfundidadMaxima, 10.0); // un diagrama vacío también
    const double izquierda = area.left() + r.MargenIzquierdo;
    const double ancho = std::max(1.0, area.right() - izquierda - letra.Ancho);
    // Franjas de arriba abajo; las abscisas de las columnas van giradas.
    const double altoAbscisas = 10.5 * letra.Ancho + a;
    const double fijo = 2 * a + 2 * a + altoAbscisas + a + 3.5 * a;
    const double resto = std::max(3 * a, area.height() - fijo);
    double y = area.top();
    const auto franja = [&](double alto) {
        const QRectF f(izquierda, y, ancho, alto);
        y += alto;
        return f;
    };
    r.Titulo = franja(2 * a);
    r.Rotulos = franja(2 * a);
    // Las capas delgadas necesitan alto para su rótulo: la estructura lleva más,
    // y aún más (a costa del SN y del costo) si la capa más delgada no cabría.
    double parte = 0.62;
    if (d.CapaMasDelgada > 0)
        parte = std::clamp(a * profundidad / d.CapaMasDelgada / resto, parte, 0.8);
    r.Estructuras = franja(resto * parte);
    y += a / 2;
    r.Abscisas = franja(altoAbscisas);
    y += a;
    r.SN = franja(resto * (1 - parte) * 0.42);
    y += a;
    r.Costo = franja(resto * (1 - parte) * 0.58);
    y += a;
    r.Totales = franja(a);
    r.EscalaSN = std::ceil(std::max(d.SNMaximo, 0.5) * 2 - 1e-9) / 2;
    r.EscalaCosto = Redondo(d.CostoKmMaximo);

    const double xMin = r.Estructuras.left();
    const double xMax = r.Estructuras.right();
    const auto recortar = [&](double x0, double x1) {
        return std::pair{std::clamp(x0, xMin, xMax), std::clamp(x1, xMin, xMax)};
    };
    const double porCm = r.Estructuras.height() / profundidad;
    const qsizetype fin =
        ultima < 0 ? d.Columnas.size() : std::min<qsizetype>(ultima, d.Columnas.size());
    for (qsizetype j = std::max(primera, 0); j < fin; ++j) {
        const ColumnaDiagrama& c = d.Columnas[j];
        if (c.Hasta < r.Desde || c.Desde > r.Hasta) continue;
        // Una unidad que solo toca el borde es de la página vecina.
        if (c.Hasta > c.Desde && (c.Hasta <= r.Desde || c.Desde >= r.Hasta)) continue;
        const auto [x0, x1] = recortar(r.X(c.Desde), r.X(c.Hasta));
        const double w = x1 - x0;
        ColumnaDispuesta col;
        col.Columna = static_cast<int>(j);
        col.Estructura = QRectF(x0, r.Estructuras.top(), w, r.Estructuras.height());
        for (const CapaDiagrama& capa : c.Capas) {
            CapaDispuesta cd;
            const double y0 = r.Estructuras.top() + capa.Desde * porCm;
            // El TSD no tiene espesor: una banda delgada sobre la primera capa.
            const double alto =
                capa.Espesor > 0 ? (capa.Hasta - capa.Desde) * porCm : std::max(2.0, a / 4);
            cd.Rectangulo = QRectF(x0, y0, w, alto);
            cd.EtiquetaCabe = capa.Etiqueta.size() * letra.Ancho <= w - 2 && a <= alto;
            col.Capas.append(cd);
        }
        col.Rotulo = QRectF(x0, r.Rotulos.top(), w, r.Rotulos.height());
        const auto largo = std::max(c.Codigo.size(), c.TextoAlternativa().size());
        col.RotuloCabe = largo * letra.Ancho <= w - 2;
        col.Abscisas = QRectF(x0, r.Abscisas.top() + a, w, r.Abscisas.height() - a);
        col.AbscisasCaben = w >= 2 * a + 2;
        const double altoSN = std::clamp(c.SNRequerido / r.EscalaSN, 0.0, 1.0) * r.SN.height();
        col.SN = QRectF(x0, r.SN.bottom() - altoSN, w, altoSN);
        const double altoCosto = std::clamp(c.CostoKm / r.EscalaCosto, 0.0, 1.0) * r.Costo.height();
        col.Costo = QRectF(x0, r.Costo.bottom() - altoCosto, w, altoCosto);
        r.Columnas.append(col);
    }
    const auto intervalos = [&](const QList<IntervaloDiagrama>& fuente, QList<QRectF>& destino) {
        for (const IntervaloDiagrama& i : fuente) {
            if (i.Hasta < r.Desde || i.Desde > r.Hasta) continue;
            const auto [x0, x1] = recortar(r.X(i.Desde), r.X(i.Hasta));
            // Siempre visible, aunque a esta escala mida menos de un punto.
            destino.append(
                QRectF(x0, r.Estructuras.top(), std::max(x1 - x0, 1.0), r.Estructuras.height()));
        }
    };
    intervalos(d.Huecos, r.Huecos);
    intervalos(d.Solapes, r.Solapes);

    const int maxMarcas = std::max(1, static_cast<int>(ancho / (8 * letra.Ancho)));
    for (const MarcaDiagrama& m : MarcasAbscisa(r.Desde, r.Hasta, maxMarcas))
        r.MarcasX.append({r.X(m.Valor), m});
    double paso = 10;
    while (profundidad / paso * 1.5 * a > r.Estructuras.height() && paso < 1e6)
        paso = Redondo(paso * 1.01);
    for (double cm = 0; cm <= profundidad + 1e-9; cm += paso)
        r.MarcasCm.append(
            {r.Estructuras.top() + cm * porCm, {cm, Formato(cm, u"0") + QStringLiteral(" cm")}});
    return r;
}

QList<PaginaDiagrama> PaginarDiagrama(const DiagramaLineal& d, double anchoUtil,
                                      double anchoMinimo) {
    QList<PaginaDiagrama> paginas;
    const auto& c = d.Columnas;
    const auto largo = [](const ColumnaDiagrama& x) { return std::max(x.Hasta - x.Desde, 1.0); };
    qsizetype s = 0;
    double alcance = 0; // hasta dónde puede llegar la última página con su escala
    while (s < c.size()) {
        double desde = c[s].Desde;
        double hasta = c[s].Hasta;
        double minimo = largo(c[s]);
        qsizetype j = s + 1;
        for (; j < c.size(); ++j) {
            const double nuevoHasta = std::max(hasta, c[j].Hasta);
            const double nuevoMinimo = std::min(minimo, largo(c[j]));
            // A la escala de la página la columna más corta sigue legible.
            if ((nuevoHasta - desde) * anchoMinimo > nuevoMinimo * anchoUtil) break;
            hasta = nuevoHasta;
            minimo = nuevoMinimo;
        }
        // El hueco hasta la página siguiente se ve al final de esta, hasta donde
        // su escala lo permite.
        if (!paginas.isEmpty() && paginas.back().Hasta < desde)
            paginas.back().Hasta = std::max(paginas.back().Hasta, std::min(desde, alcance));
        PaginaDiagrama pagina;
        pagina.Desde = desde;
        pagina.Hasta = std::max(hasta, desde + 1);
        pagina.Primera = static_cast<int>(s);
        pagina.Ultima = static_cast<int>(j);
        paginas.append(pagina);
        alcance = desde + minimo * anchoUtil / anchoMinimo;
        s = j;
    }
    if (paginas.isEmpty()) {
        PaginaDiagrama vacia;
        vacia.Desde = d.AbscisaMinima;
        vacia.Hasta = d.AbscisaMaxima;
        paginas.append(vacia);
    }
    return paginas;
}
