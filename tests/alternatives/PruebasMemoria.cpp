// La memoria de diseño leída de vuelta de su PDF (texto, páginas, tamaños de letra y
// escala del dibujo), escrita sin la ventana.
#include "Archivos.h"
#include "Poppler.h"
#include "Pruebas.h"

#include "alternatives/Memoria.h"
#include "project/ArchivoProyecto.h"

#include <QRegularExpression>
#include <QTemporaryDir>

#include <algorithm>
#include <cmath>
#include <iterator>

using namespace Qt::StringLiterals;

class PruebasMemoria : public QObject {
    Q_OBJECT

private slots:
    // La memoria del ejemplo en carta: secciones, una unidad, totales, pies de página y
    // tamaños de letra. El SN de la unidad 3 (3,06) y el costo total (el
    // TOTAL del ejemplo, 7630994350 pesos) se calcularon aparte.
    void memoriaDelEjemplo() {
        SALTAR_SIN_PDFTOTEXT();
        ModuloVarek9 modulo;
        QVERIFY(LeerProyectoDesde(modulo, VAREK9_EJEMPLOS u"/Ejemplo.vk9"_s).NoEsProyecto == false);
        QTemporaryDir dir;
        modulo.ArchivoProyecto = dir.filePath(u"Ejemplo"_s);
        modulo.Proyecto.UH[2].CBR = 0; // ya sin diseño (tránsito): sin módulo de subrasante
        // Doce más sin diseño, de CBR 1 (MR = 2555 x 1^0,64), de 100 m desde K12+600: el
        // total no cambia y la tabla de unidades se parte en dos, 25 filas y una.
        for (int k = 0; k < 12; ++k) {
            UnidadHomogenea& otra = modulo.Proyecto.UH[++modulo.Proyecto.NumeroUH];
            otra = modulo.Proyecto.UH[2];
            std::tie(otra.AbscisaInicial, otra.AbscisaFinal, otra.CBR) =
                std::tuple(12600 + 100 * k, 12700 + 100 * k, 1);
        }
        const QString ruta = dir.filePath(u"memoria.pdf"_s);
        OpcionesMemoria opciones;
        opciones.Papel = QPageSize(QPageSize::Letter);
        const ResultadoMemoria r = EscribirMemoria(ruta, modulo, opciones);
        QCOMPARE(r.Error, QString());
        const QString info = SalidaPoppler(u"pdfinfo"_s, {ruta});
        for (const QString& dato :
             {u"Title:           Memoria de Diseño — Mejoramiento y pavimentación"_s,
              u"612 x 792 pts (letter)"_s, u"Creator:         Varek-9 "_s})
            QVERIFY2(info.contains(dato), qPrintable(dato));
        const int paginas = info.section(u"Pages:"_s, 1).trimmed().section(u'\n', 0, 0).toInt();
        QVERIFY(paginas == r.Paginas && r.PaginasDiagrama > 0 && r.PaginasDiagrama < paginas);
        const QString texto = SalidaPoppler(u"pdftotext"_s, {u"-layout"_s, ruta, u"-"_s});
        for (const QString& parte :
             {u"MEMORIA DE DISEÑO"_s, u"1. Método y parámetros de diseño"_s,
              u"2. Materiales, coeficientes y costos unitarios"_s, u"3. Unidades de diseño"_s,
              u"4. Estructura seleccionada de cada unidad"_s,
              u"5. Cantidades de obra y costo de la selección"_s,
              u"DIAGRAMA LINEAL DE ESTRUCTURAS"_s, u"Unidad 3 — 3, K1+700 a K2+600"_s,
              u"K1+700\nSin alternativa aplicable: Tránsito mayor que 500,000 ejes"_s,
              u"Total de la selección"_s, u"7.630.994"_s, u"0,00 1,15 1,05 1,00 0,95 0,85"_s,
              u"0,40 / 0,37 / 0,34"_s,       // los coeficientes de la MDF-2 en el catálogo
              u"Costo unitario ($)\nTSD "_s, // su primer material
              u"TSD · BG · SBG (mín. 150 / 150) · AFR\n"_s, u"BEC · AFR · CBR mínimo 5 %\n"_s,
              u"MDF-2 (mín. 50 / 75) · BG (mín. 150 / 150) · SBG (mín. 150 / 150) · AFR\n"_s})
            QVERIFY2(texto.contains(parte), qPrintable(parte));
        QVERIFY(
            QRegularExpression(u"K1\\+700 +K2\\+600 +900,00 +6,50 +320.000 .* 3,0 +5.161 +3,06"_s)
                .match(texto)
                .hasMatch());
        // Las seis alternativas del catálogo, de la 1 a la 6, ni una más.
        QVERIFY(QRegularExpression(
                    u"Capas\\n1 +TSD · BG [^\\n]*\\n(\\d +[^\\n]*\\n){4}6 +MDC-2 \\(mín. 50 / "
                    "75\\) · BG \\(mín. 150 / 150\\) · BEC · AFR\\n\\n"_s)
                    .match(texto)
                    .hasMatch());
        // El último material del catálogo, con el costo del ejemplo, cierra su tabla.
        QVERIFY(
            QRegularExpression(u"\\nGEO +Geotextil +m² +0,00 / 0,00 / 0,00 .* 9\\.500\\n\\nEstr"_s)
                .match(texto)
                .hasMatch());
        QVERIFY(QRegularExpression(u"K12\\+600 +K12\\+700 +100,00 .* 1,0 +2.555 +—"_s)
                    .match(texto)
                    .hasMatch());
        const qsizetype segunda = texto.indexOf(u"MR (psi)"_s, texto.indexOf(u"MR (psi)"_s) + 1);
        QVERIFY(texto.count(u"MR (psi)"_s) == 2 && texto.indexOf(u"K13+700 "_s) < segunda &&
                segunda < texto.indexOf(u"K13+800 "_s) &&
                texto.count(QRegularExpression(u"K12\\+900 +K13\\+000 +100,00"_s)) == 1);
        // Cada sección abre su hoja; las unidades siguen una tras otra en la de la 4.
        const QStringList hojas = texto.split(u'\f');
        for (const QString& s : {u"1. Mét"_s, u"2. Mat"_s, u"3. Uni"_s, u"4. Est"_s, u"5. Can"_s})
            QVERIFY2(std::ranges::count_if(
                         hojas, [&](const QString& h) { return h.trimmed().startsWith(s); }) == 1,
                     qPrintable(s));
        const QStringList primera = hojas.filter(u"Unidad 1 — "_s);
        QVERIFY(primera.size() == 1 && primera == hojas.filter(u"Unidad 2 — "_s));
        // Las cantidades, solo de los materiales que la selección usa, y el afirmado.
        QVERIFY(QRegularExpression(
                    u"pesos\\)\\nTSD .*\\nBG .*\\nSBG .*\\nCSR .*\\nGEO .*\\n +Afirmado"_s)
                    .match(texto)
                    .hasMatch());
        // El TSD no tiene espesor: su rótulo va sin "cm".
        QVERIFY(QRegularExpression(u"(?m) 0,0 +—$"_s).match(texto).hasMatch() &&
                texto.contains(u"\n                    TSD  "_s) && !texto.contains(u"TSD cm"_s));
        // El afirmado existente, el del reporte 6, y el total, el TOTAL del ejemplo en miles;
        // la pérdida de serviciabilidad del ejemplo, 4,2 - 2,0.
        QVERIFY(texto.contains(QRegularExpression(u"ΔPSI +2,20\n"_s)) &&
                texto.contains(QRegularExpression(u"Afirmado existente +706\\.396\n"_s)) &&
                texto.contains(QRegularExpression(u"Total de la selección +7\\.630\\.994\n"_s)));
        // El costo de cada unidad, en miles: suman el total salvo el redondeo de cada una.
        double suma = 0;
        for (const auto& c :
             QRegularExpression(u"Costo \\(miles de pesos\\) +([\\d.]+)\n"_s).globalMatch(texto))
            suma += c.captured(1).remove(u'.').toDouble();
        QVERIFY2(std::abs(suma - 7630994) <= 7, qPrintable(QString::number(suma, 'f', 0)));
        // El pie de cada hoja y el cuadro de título de cada una del diagrama.
        for (int k = 1; k <= paginas; ++k)
            QVERIFY(texto.contains(u"Página %1 de %2"_s.arg(k).arg(paginas)) &&
                    (k > r.PaginasDiagrama ||
                     texto.contains(u"Página %1 de %2\n"_s.arg(k).arg(r.PaginasDiagrama))));
        // El diagrama, apaisado, en las últimas páginas.
        const QString ultima =
            SalidaPoppler(u"pdfinfo"_s, {u"-f"_s, QString::number(paginas), u"-l"_s,
                                         QString::number(paginas), ruta});
        QVERIFY(ultima.contains(u"792 x 612 pts"_s));
        // Letra: el cuerpo de 10 puntos y nada por debajo de 8 salvo subíndices y
        // exponentes (el alto de la caja de una palabra es algo más que el cuerpo).
        const QList<PalabraPdf> palabras = PalabrasPdf(ruta);
        double ecuacion = 0, pie = 0, tsd = -1, base = -1, subbase = -1;
        QStringList pequenas;
        for (const PalabraPdf& w : palabras) {
            const double alto = w.Caja.height();
            if (alto < 8 && w.Texto.size() > 4) pequenas << w.Texto;
            if (w.Texto == u"ecuación"_s) ecuacion = alto;
            if (w.Texto == u"Página"_s) pie = alto;
            // La unidad 1, a escala: BG de 20 cm sobre SBG de 21,1 cm; sus rótulos, en
            // el centro de cada capa, a (20 + 21,1) / 2 mm = 58,25 puntos.
            if (w.Texto == u"21,1"_s && subbase < 0) subbase = w.Caja.top();
            if (w.Texto == u"20,0"_s && subbase < 0) base = w.Caja.top();
            // Sobre ella, el TSD de 1,5 mm con su rótulo centrado en 4 mm: del centro de
            // este (2 mm) al de la BG (1,5 + 10 mm), 9,5 mm = 26,93 puntos.
            if (w.Texto == u"TSD"_s && subbase < 0) tsd = w.Caja.top();
        }
        QCOMPARE(pequenas, QStringList());
        // Ninguna palabra de las hojas de pie encima de otra: el dibujo de cada estructura
        // ocupa su alto.
        for (qsizetype i = 0; i < palabras.size(); ++i)
            for (qsizetype j = i + 1;
                 j < palabras.size() && palabras[j].Pagina == palabras[i].Pagina &&
                 palabras[i].Hoja.width() < palabras[i].Hoja.height();
                 ++j)
                QVERIFY2(
                    !palabras[i].Caja.adjusted(0.5, 0.5, -0.5, -0.5).intersects(palabras[j].Caja),
                    qPrintable(palabras[i].Texto + u" / "_s + palabras[j].Texto));
        // Cada página con texto dentro de sus márgenes (20 mm en las verticales; 12 en las
        // del diagrama, donde la última abscisa sale a la derecha centrada en su marca)
        // que termina 10 mm sobre el de abajo: ahí, solo la línea del pie.
        double izquierda = 1e9, apaisada = 1e9; // el texto vertical empieza en el margen de 20 mm
        for (int k = 1; k <= paginas; ++k) {
            QList<PalabraPdf> hoja;
            std::copy_if(palabras.begin(), palabras.end(), std::back_inserter(hoja),
                         [&](const PalabraPdf& w) { return w.Pagina == k; });
            QVERIFY(!hoja.isEmpty());
            const bool vertical = hoja[0].Hoja.width() < hoja[0].Hoja.height();
            const double mm = 72 / 25.4, margen = (vertical ? 20 : 12) * mm;
            const QRectF cuerpo =
                QRectF(QPointF(), hoja[0].Hoja)
                    .adjusted(margen - 0.1, margen - 0.1, vertical ? 0.1 - margen : 0,
                              0.1 - margen - 10 * mm);
            // La línea del pie, con la última "Página" de la hoja: centrada en los 6 mm de
            // abajo de sus 10, a 23 mm del borde (15 en el diagrama).
            double linea = 0;
            for (const PalabraPdf& w : std::as_const(hoja)) {
                if (w.Texto == u"Página"_s) linea = w.Caja.center().y();
                if (vertical) izquierda = std::min(izquierda, w.Caja.left());
            }
            QVERIFY(std::abs(hoja[0].Hoja.height() - (vertical ? 23 : 15) * mm - linea) < 0.3);
            const auto enCuerpo = [&](const PalabraPdf& w) { return cuerpo.contains(w.Caja); };
            QVERIFY(std::any_of(hoja.begin(), hoja.end(), enCuerpo));
            for (const PalabraPdf& w : std::as_const(hoja)) {
                QVERIFY2(enCuerpo(w) || std::abs(w.Caja.center().y() - linea) < 1,
                         qPrintable(u"%1, página %2"_s.arg(w.Texto).arg(k)));
                if (!vertical && enCuerpo(w)) apaisada = std::min(apaisada, w.Caja.left());
            }
        }
        QVERIFY2(izquierda >= 56.6 && izquierda < 58, qPrintable(QString::number(izquierda)));
        // En el diagrama, el rótulo más ancho del margen izquierdo empieza en los 12 mm.
        QVERIFY2(std::abs(apaisada - 12 * 72 / 25.4) < 0.05, qPrintable(QString::number(apaisada)));
        QVERIFY(std::abs(subbase - base - 58.25) < 0.5 && std::abs(base - tsd - 26.93) < 0.5);
        QVERIFY2(pie > 9 && pie < 10.5, qPrintable(QString::number(pie))); // 8,5 puntos
        QVERIFY(ecuacion > 10.6 && ecuacion < 11.6);                       // 10 puntos
    }
};

VAREK9_REGISTRAR_PRUEBA(PruebasMemoria)
#include "PruebasMemoria.moc"
