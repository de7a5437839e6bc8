// Cálculo de los cuatro programas complementarios (valores trabajados a mano,
// límites de las clases, datos fuera de rango y las líneas que viajan con la unidad)
// y el protocolo de intercambio con ellos: códigos, línea de comandos, archivo de
// resultado por código, archivos de líneas, archivo de la unidad y archivo en uso.
#include "Pruebas.h"

#include "Archivos.h"
#include "ResumenResultado.h"
#include "common/ArchivoEnUso.h"
#include "common/BloqueoArchivo.h"
#include "companions/CalculoClima.h"
#include "companions/CalculoDrenaje.h"
#include "companions/CalculoMr.h"
#include "companions/CalculoTransito.h"
#include "companions/Programas.h"
#include "companions/Protocolo.h"

#include <QFile>
#include <QTemporaryDir>

#include <cmath>
#include <numeric>

using namespace Qt::StringLiterals;

namespace {

// TPD 1000 con 50 % autos (factor 0.001), 10 % buses (1.0), 20 % C2P (1.5) y
// 20 % C2G (3.0); Fd 0.5, Fc 0.9.
DatosTransito Transito(double crecimiento, double periodo) {
    return {1000,
            {50, 10, 20, 20, 0, 0, 0, 0},
            {0.001, 1.0, 1.5, 3.0, 0, 0, 0, 0},
            0.5,
            0.9,
            crecimiento,
            periodo};
}

// Sin ETP, la de Holdridge.
DatosClima Clima(double p, double t, double etp = std::nan("")) {
    return {p, t, std::isnan(etp) ? ModoETP::Holdridge : ModoETP::Digitada, etp};
}

using Clasificar = QString (*)(double);

// Varios números en una línea, para compararlos de una vez.
QString Numeros(std::initializer_list<double> valores) {
    QStringList textos;
    for (const double v : valores)
        textos << QString::number(v, 'g', 12);
    return textos.join(u' ');
}

} // namespace

Q_DECLARE_METATYPE(Clasificar)

class PruebasCalculo : public QObject {
    Q_OBJECT

    QTemporaryDir carpeta; // la de los archivos de intercambio

private slots:
    void transito() {
        // Vehículo medio: 0.50 x 0.001 + 0.10 x 1.0 + 0.20 x 1.5 + 0.20 x 3.0
        //               = 0.0005 + 0.1 + 0.3 + 0.6 = 1.0005
        // Sin crecimiento (r = 0, n = 10): el factor es n = 10 y
        //   W18 = 1000 x 365 x 1.0005 x 0.5 x 0.9 x 10 = 1,643,321.25
        // Ejes por día en el carril de diseño: 1000 x 1.0005 x 0.5 x 0.9 = 450.225
        const ResultadoTransito sin = CalcularTransito(Transito(0, 10));
        QCOMPARE(Numeros({sin.FactorVehiculo, sin.FactorCrecimiento, sin.W18, sin.SumaPorcentajes,
                          sin.EjesDiaInicial}),
                 u"1.0005 10 1643321.25 100 450.225"_s);

        // r = 5 %, n = 10: 1.05^10 = 1.6288946268; (1.6288946268 - 1) / 0.05 = 12.577892536
        //   W18 = 1000 x 365 x 1.0005 x 0.5 x 0.9 x 12.577892536
        //       = 164,332.125 x 12.577892536 = 2,066,951.81
        const ResultadoTransito con = CalcularTransito(Transito(5, 10));
        QVERIFY(std::abs(con.FactorCrecimiento - 12.577892536) < 1e-9);
        QVERIFY(std::abs(con.W18 - 2066951.81) < 0.005); // al centavo

        // Decrecimiento de 10 % en 2 años: (0.9^2 - 1) / -0.1 = (0.81 - 1) / -0.1 = 1.9
        QCOMPARE(Numeros({FactorCrecimiento(-10, 2), FactorCrecimiento(0, 7)}), u"1.9 7"_s);

        // Los valores típicos suman 100 %; el TPD lo pone siempre el usuario. Su vehículo
        // medio: .6 x .0004 + .1 x 1 + .15 x 1.14 + .08 x 3.44 + .04 x 3.76
        //        + .01 x (4.50 + 4.72 + 5.40) = .00024 + .1 + .171 + .2752 + .1504 + .1462
        const DatosTransito t = DatosTransitoTipicos();
        const double suma = std::accumulate(t.Porcentaje.begin(), t.Porcentaje.end(), 0.0);
        QCOMPARE(Numeros({suma, t.TPD, CalcularTransito(t).FactorVehiculo}), u"100 nan 0.84304"_s);

        QVERIFY(!ValidarTransito(Transito(3, 10)).Hay());
        const auto falla = [](auto cambiar) {
            DatosTransito d = Transito(3, 10);
            cambiar(d);
            return ValidarTransito(d);
        };
        const auto campo = [&](auto cambiar) { return falla(cambiar).Campo; };
        FallaDato f = falla([](auto& d) { d.TPD = 0; });
        QVERIFY(f.Campo == u"txtTPD"_s && f.Mensaje.endsWith(u"..."));
        QCOMPARE(campo([](auto& d) { d.TPD = std::nan(""); }), u"txtTPD"_s);
        f = falla([](auto& d) { d.Porcentaje[0] = 45; });
        // La suma lleva a la primera clase.
        QCOMPARE(f.Campo + u' ' + f.Mensaje,
                 u"txtPorcentajeAutos La composición del tránsito suma 95.00 %; debe sumar "
                 "100 %..."_s);
        // Una diferencia de redondeo no es error; una décima, sí.
        QVERIFY(!falla([](auto& d) { d.Porcentaje[0] = 50.04; }).Hay() &&
                falla([](auto& d) { d.Porcentaje[0] = 50.1; }).Hay());
        QCOMPARE(campo([](auto& d) { d.Porcentaje[2] = -1; }), u"txtPorcentajeC2P"_s);
        QCOMPARE(campo([](auto& d) { d.Factor[7] = std::nan(""); }), u"txtFactorMasC5"_s);
        QCOMPARE(campo([](auto& d) { d.Factor[0] = 101; }), u"txtFactorAutos"_s);
        QCOMPARE(campo([](auto& d) { d.Factor[1] = -0.5; }), u"txtFactorBuses"_s);
        QCOMPARE(campo([](auto& d) { d.FactorDireccional = 0; }), u"txtDireccional"_s);
        QCOMPARE(campo([](auto& d) { d.FactorCarril = 1.2; }), u"txtCarril"_s);
        QCOMPARE(campo([](auto& d) { d.FactorCarril = 0; }), u"txtCarril"_s);
        // 1 es el mayor factor válido, de dirección y de carril.
        QVERIFY(!falla([](auto& d) { d.FactorDireccional = d.FactorCarril = 1; }).Hay());
        QCOMPARE(campo([](auto& d) { d.Crecimiento = 60; }), u"txtCrecimiento"_s);
        QCOMPARE(campo([](auto& d) { d.Periodo = 12.5; }), u"txtPeriodo"_s);
        QCOMPARE(campo([](auto& d) { d.Periodo = 0; }), u"txtPeriodo"_s);
        // Los extremos de cada rango son válidos; un paso más allá, no.
        QVERIFY(!falla([](auto& d) { d.TPD = 1e6, d.Periodo = 1, d.Crecimiento = -50; }).Hay());
        QVERIFY(!falla([](auto& d) { d.Periodo = 50, d.Crecimiento = 50; }).Hay());
        QCOMPARE(campo([](auto& d) { d.TPD = 1e6 + 1; }), u"txtTPD"_s);
        QCOMPARE(campo([](auto& d) { d.Periodo = 51; }), u"txtPeriodo"_s);
        QVERIFY(!falla([](auto& d) { d.Porcentaje = {100}, d.Factor = {100, 0}; }).Hay());

        const QStringList lineas = LineasTransito(Transito(5, 10));
        QCOMPARE(lineas.value(0), u"Programa=Transito"_s);
        QVERIFY(lineas.contains(u"TPD=1000"_s) && lineas.contains(u"Factor.Autos=.001"_s));
        QVERIFY(lineas.contains(u"FactorDireccional=.5"_s));
        // Las líneas se guardan recortadas en el proyecto: ninguna lleva blancos en los extremos.
        for (const QString& l : lineas)
            QCOMPARE(l, l.trimmed());

        // Leídas y vueltas a escribir dan las mismas líneas: no se pierde ningún dato.
        QCOMPARE(LineasTransito(LeerLineasTransito(lineas, DatosTransitoTipicos())), lineas);
        // Lo que falta o no se lee queda como estaba.
        const DatosTransito parcial = LeerLineasTransito(
            {u"TPD = 350 "_s, u"Crecimiento=xx"_s, u"sin igual"_s, u"Periodo="_s},
            DatosTransitoTipicos());
        QCOMPARE(Numeros({parcial.TPD, parcial.Crecimiento, parcial.Periodo}), u"350 3 10"_s);

        // La línea 2 del archivo (la primera aquí) es W18 en la forma numérica general.
        const QStringList r =
            ResultadoArchivoTransito(Transito(0, 10), CalcularTransito(Transito(0, 10)));
        QCOMPARE(r.mid(0, 2), (QStringList{" 1643321.25 ", " 1000 "}));
    }

    // Los límites de cada tabla de clases, a uno y otro lado.
    void limitesDeLasClases_data() {
        Columnas<Clasificar, double, QString>({"clasificar", "valor", "clase"});
        // Cada valor con la clase que le toca, en el mismo orden.
        const auto filas = [](const char* nombre, Clasificar clasificar,
                              std::initializer_list<double> valores, const QStringList& clases) {
            for (qsizetype i = 0; i < clases.size(); ++i)
                QTest::addRow("%s %g", nombre, valores.begin()[i])
                    << clasificar << valores.begin()[i] << clases[i];
        };
        filas("humedad", ClaseHumedad, {-40.001, -40, -20.001, -20, -0.001, 0, 100, 100.001},
              {"Arido", "Semiarido", "Semiarido", "Subhumedo", "Subhumedo", "Humedo", "Humedo",
               "Superhumedo"});
        filas("temperatura", ClaseTemperatura, {24, 23.99, 18, 17.99},
              {"Calido", "Templado", "Templado", "Frio"});
        filas("columna de saturación",
              [](double s) { return QString::number(ColumnaSaturacion(s)); },
              {0, 0.99, 1, 5, 5.01, 25, 25.01, 100}, {"0", "0", "1", "1", "2", "2", "3", "3"});
        filas("percentil por ejes", [](double e) { return QString::number(PercentilDiseno(e)); },
              {0, 9999.9, 1e4, 1e6, 1000001}, {"60", "60", "75", "75", "87.5"});
    }
    void limitesDeLasClases() {
        TOMAR((clasificar, valor), Clasificar, double);
        QTEST(clasificar(valor), "clase");
    }

    void clima() {
        // ETP, índice a cuatro decimales y clases.
        const auto clima = [](const DatosClima& d) {
            const ResultadoClima r = CalcularClima(d);
            return Numeros({r.ETP, std::round(r.Indice * 1e4) / 1e4}) + u' ' + r.Humedad + u' ' +
                   r.Temperatura;
        };
        // 1500 mm y 20 °C, con las líneas del archivo más abajo.
        // ETP = 58.93 x 26 = 1532.18 mm; Im = 100 x (400 / 1532.18 - 1) = 100 x (0.261066 - 1)
        QCOMPARE(clima(Clima(400, 26)), u"1532.18 -73.8934 Arido Calido"_s);
        // ETP digitada: Im = 100 x (2500 / 1000 - 1) = 150
        QCOMPARE(clima(Clima(2500, 12, 1000)), u"1000 150 Superhumedo Frio"_s);

        // La biotemperatura de Holdridge se limita a 0..30 °C.
        QCOMPARE(Numeros({ETPHoldridge(35), ETPHoldridge(-3)}), u"1767.9 0"_s);
        // Los extremos de la precipitación y de la temperatura valen.
        QVERIFY(!ValidarClima(Clima(1500, 20)).Hay() && !ValidarClima(Clima(20000, 45)).Hay());
        QVERIFY(ValidarClima(Clima(20000.5, 20)).Hay() && ValidarClima(Clima(0, 45.1)).Hay());
        QCOMPARE(ValidarClima(Clima(std::nan(""), 20)).Campo, u"txtPrecipitacion"_s);
        QCOMPARE(ValidarClima(Clima(-5, 20)).Campo, u"txtPrecipitacion"_s);
        QCOMPARE(ValidarClima(Clima(1500, 60)).Campo, u"txtTemperatura"_s);
        // Sin temperatura sobre 0 °C Holdridge no da ETP: hay que digitarla.
        const FallaDato f = ValidarClima(Clima(300, -2));
        QVERIFY(f.Campo == u"txtTemperatura"_s && f.Mensaje.contains(u"digite la ETP"));
        DatosClima d = Clima(300, -30);
        d.Modo = ModoETP::Digitada, d.ETP = 0;
        QCOMPARE(ValidarClima(d).Campo, u"txtETP"_s);
        d.ETP = 200;
        QVERIFY(!ValidarClima(d).Hay());
        // Límites: -30 °C y 5,000 mm de ETP valen; 0 °C ya no da Holdridge.
        d.ETP = 5000;
        QVERIFY(!ValidarClima(d).Hay());
        d.ETP = 5000.5;
        QCOMPARE(ValidarClima(d).Campo, u"txtETP"_s);
        QCOMPARE(ValidarClima(Clima(300, 0)).Campo, u"txtTemperatura"_s);

        const QStringList lineas = LineasClima(Clima(1500, 20));
        QVERIFY(lineas.contains(u"ETP.Modo=Holdridge"_s) && lineas.contains(u"Humedad=Humedo"_s));
        DatosClima leido = LeerLineasClima(lineas, DatosClima{});
        QVERIFY(leido.Modo == ModoETP::Holdridge);
        // La ETP estimada no se toma como digitada.
        QCOMPARE(Numeros({leido.Precipitacion, leido.Temperatura, leido.ETP}), u"1500 20 nan"_s);
        d.ETP = 1234.5;
        leido = LeerLineasClima(LineasClima(d), DatosClima{});
        QVERIFY(leido.Modo == ModoETP::Digitada && leido.ETP == 1234.5);

        // Líneas 2 a 7 del archivo de resultado; la 4 y la 7 son las clases. El índice,
        // 100 x (1500 / 1178.6 - 1), va con 15 cifras significativas.
        QCOMPARE(
            ResultadoArchivoClima(Clima(1500, 20), CalcularClima(Clima(1500, 20))),
            (QStringList{" 1500 ", " 1178.6 ", "Humedo", " 27.269641948074 ", " 20 ", "Templado"}));
    }

    void moduloResilienteYDatos() {
        // Ensayos 9, 3, 7, 5 ordenados: 3, 5, 7, 9. Porcentaje de ensayos iguales o
        // mayores: 3 -> 100 %, 5 -> 75 %, 7 -> 50 %, 9 -> 25 %. El 75 % cae justo en 5;
        // el 60 %, entre (75 %, 5) y (50 %, 7): 5 + (75 - 60) / (75 - 50) x (7 - 5) = 6.2;
        // el 87.5 %, entre (100 %, 3) y (75 %, 5): 3 + 12.5 / 25 x 2 = 4; con el 10 %
        // ningún valor da tan poco y queda el mayor.
        const QList<double> cuatro{9, 3, 7, 5};
        QCOMPARE(Numeros({CBRDiseno(cuatro, 75), CBRDiseno(cuatro, 60), CBRDiseno(cuatro, 87.5),
                          CBRDiseno(cuatro, 10)}),
                 u"5 6.2 4 9"_s);
        // Repetidos: 3 con 100 %, 5 con 33.33 %: 3 + (100 - 60) / (100 - 33.33) x 2 = 4.2;
        // uno solo y ninguno.
        QCOMPARE(Numeros({CBRDiseno({3, 5, 3}, 60), CBRDiseno({6.5}, 87.5), CBRDiseno({}, 75)}),
                 u"4.2 6.5 nan"_s);

        // Mr = 2555 x 10^0.64 = 2555 x 4.3652 = 11,153 psi; / 145.0377 = 76.90 MPa
        QVERIFY(std::abs(ModuloResiliente(10) - 11152.98) < 0.01);
        QVERIFY(std::abs(PsiAMPa(ModuloResiliente(10)) - 76.897) < 0.001);
        // Mr = 2555 x 5^0.64 = 2555 x 2.8012 = 7,157 psi
        QVERIFY(std::abs(ModuloResiliente(5) - 7157.01) < 0.01);
        const ResultadoMr r = CalcularMr({u"3 5 7 9"_s, 5e5});
        QCOMPARE(Numeros({double(r.Ensayos), r.Percentil, r.CBR}), u"4 75 5"_s);
        QVERIFY(r.ModuloPsi == ModuloResiliente(5));

        // La coma es decimal: "9,5" es un solo ensayo.
        ListaCBR l = LeerListaCBR(u" 3,5; 4;5\n 6\t7.25;9,5 "_s);
        QVERIFY(l.Valores == (QList<double>{3.5, 4, 5, 6, 7.25, 9.5}) && l.Invalido.isEmpty());
        l = LeerListaCBR(u"3 cuatro 5"_s);
        QVERIFY(l.Invalido == u"cuatro"_s && TextoListaCBR({3.5, 10}) == u"3.5 10"_s);

        QVERIFY(!ValidarMr({u"0.5 3 100"_s, 100}).Hay()); // de más de 0 hasta 100
        QVERIFY(ValidarMr({u"3 x"_s, 100}).Mensaje.contains(u"[x]"));
        QCOMPARE(ValidarMr({QString(), 100}).Campo, u"txtCBR"_s);
        QString muchos = u"4 "_s.repeated(51);
        QVERIFY(ValidarMr({muchos, 100}).Mensaje.contains(u" 51 "));
        muchos.chop(2);
        QVERIFY(!ValidarMr({muchos, 100}).Hay());
        QStringList campos;
        for (const QString& lista : {u"0 5"_s, u"101"_s})
            campos << ValidarMr({lista, 100}).Campo;
        for (const double ejes : {std::nan(""), -1.0, 0.0, 1e9, 1.000001e9})
            campos << ValidarMr({u"5"_s, ejes}).Campo;
        QCOMPARE(campos.join(u' '), u"txtCBR txtCBR txtEjes txtEjes   txtEjes"_s);

        const DatosMr d{u"3, 5\n7 9"_s, 5e5};
        const QStringList lineas = LineasMr(d);
        QVERIFY(lineas.contains(u"CBR=3 5 7 9"_s) && lineas.contains(u"Ejes=500000"_s));
        const DatosMr leido = LeerLineasMr(lineas, DatosMr{});
        QCOMPARE(leido.Lista + u' ' + TextoDato(leido.Ejes), u"3 5 7 9 500000"_s);
        // Líneas 2, 3 y 6 del archivo: CBR de diseño, percentil y ensayos.
        const QStringList archivo = ResultadoArchivoMr(CalcularMr(d));
        QCOMPARE(QStringList({archivo.value(0), archivo.value(1), archivo.value(4)}),
                 (QStringList{" 5 ", " 75 ", " 4 "}));
    }

    void drenaje() {
        // La tabla de la guía AASHTO-93 (m máximo y mínimo por calidad, de excelente a muy
        // pobre, y por tiempo cerca de la saturación), copiada de la guía, y un medio.
        QStringList tabla;
        for (int i = 0; i < NumeroCalidadesDrenaje; ++i)
            for (int j = 0; j < NumeroRangosSaturacion; ++j)
                tabla << Numeros(
                    {CoeficienteDrenaje(i, j).Maximo, CoeficienteDrenaje(i, j).Minimo});
        QCOMPARE(tabla.join(u'|'),
                 u"1.4 1.35|1.35 1.3|1.3 1.2|1.2 1.2|1.35 1.25|1.25 1.15|1.15 "
                 u"1|1 1|1.25 1.15|1.15 1.05|1 0.8|0.8 0.8|1.15 1.05|1.05 0.8|0.8 "
                 u"0.6|0.6 0.6|1.05 0.95|0.95 0.75|0.75 0.4|0.4 0.4"_s);
        QCOMPARE(CoeficienteDrenaje(2, 2).Medio(), 0.9);
        for (const auto& [i, j] :
             {std::pair(5, 0), std::pair(-1, 0), std::pair(0, -1), std::pair(0, 4)})
            QCOMPARE(CoeficienteDrenaje(i, j).Maximo, 0);

        for (const int calidad : {-1, NumeroCalidadesDrenaje})
            QCOMPARE(ValidarDrenaje({calidad, 10}).Campo, u"lstCalidad"_s);
        for (const double saturacion : {std::nan(""), 101.0, -0.5})
            QCOMPARE(ValidarDrenaje({1, saturacion}).Campo, u"txtSaturacion"_s);
        const DatosDrenaje d{1, 12}; // Bueno, 12 % -> columna 5 a 25 %: 1.15 a 1.00
        QVERIFY(!ValidarDrenaje(d).Hay() && !ValidarDrenaje({1, 100}).Hay()); // hasta 100 %
        QCOMPARE(ResultadoArchivoDrenaje(d, CalcularDrenaje(d)),
                 (QStringList{"Bueno", " 12 ", " 1.15 ", " 1 ", " 1.075 "}));
        const DatosDrenaje leido = LeerLineasDrenaje(LineasDrenaje(d), DatosDrenaje{});
        QCOMPARE(Numeros({double(leido.Calidad), leido.Saturacion}), u"1 12"_s);
        QCOMPARE(LeerLineasDrenaje({u"Calidad=muy POBRE"_s}, DatosDrenaje{}).Calidad, 4);
        // La primera calidad y el 0 % también son datos válidos.
        const DatosDrenaje excelente{0, 0};
        QVERIFY(!ValidarDrenaje(excelente).Hay());
        QCOMPARE(LineasDrenaje(excelente).value(1), u"Calidad=Excelente"_s);
    }

    // Los nombres, letras y extensiones de la tabla los verifica el lanzador contra
    // el programa de prueba; aquí, la búsqueda y lo que recibe cada programa.
    void codigosYLineaDeComandos() {
        for (const QStringView codigo : {u"10", u"11", u"12", u"13"})
            QCOMPARE(BuscarPrograma(codigo)->Codigo, codigo);
        QVERIFY(!BuscarPrograma(u"QuePrograma") && !BuscarPrograma(u"14"));
        QCOMPARE(NombreIntercambio(u'C', 12), u"C12"_s);
        QCOMPARE(ArchivoResultado(u"N1"_s), u"N1.RES"_s);
        QCOMPARE(ArgumentoPrograma(QString(), u"C1"_s, false), u",C1,SinPresentacion"_s);
        QCOMPARE(ArgumentoPrograma(u"varek-9"_s, u"N1"_s, true),
                 u"varek-9,N1,SinPresentacion,Seleccionar"_s);
        // Referencia, intercambio, sin presentación y selección.
        const auto leer = [](const QStringList& argumentos) {
            const ArgumentosCompanero a = LeerArgumentosCompanero(argumentos);
            return u"%1|%2|%3|%4"_s.arg(a.Referencia, a.Intercambio)
                .arg(a.SinPresentacion)
                .arg(a.Seleccionar);
        };
        QCOMPARE(leer({u"Transito"_s}), u"||0|0"_s);
        QCOMPARE(leer({u"Clima"_s, u",C1,SinPresentacion"_s}), u"|C1|1|0"_s);
        // Las marcas van después del intercambio: una referencia con ese nombre no lo es.
        QCOMPARE(leer({u"Mr"_s, u"Seleccionar,SinPresentacion"_s}),
                 u"Seleccionar|SinPresentacion|0|0"_s);
        // Repartido en varios argumentos (como lo parte un intérprete de órdenes) da lo mismo.
        QCOMPARE(leer({u"Transito"_s, u"varek-9,N2,"_s, u"sinpresentacion,SELECCIONAR"_s}),
                 u"varek-9|N2|1|1"_s);
    }

    // Se busca en orden junto al programa, en la instalación y en la carpeta actual;
    // gana la primera carpeta con un archivo ejecutable de ese nombre.
    void ordenDeBusqueda_data() {
        // con: carpetas con el programa ("-": sin permiso);
        // encontrado: la que gana (vacía: ninguna).
        Columnas<QStringList, QString>({"con", "encontrado"});
        QTest::newRow("junto al programa") << QStringList{"bin", "libexec/varek9", "obra"} << "bin";
        QTest::newRow("instalación") << QStringList{"libexec/varek9", "obra"} << "libexec/varek9";
        QTest::newRow("carpeta actual") << QStringList{"obra"} << "obra";
        QTest::newRow("en ninguna") << QStringList{"libexec"} << QString();
        // Un archivo sin permiso de ejecución no es un programa.
        QTest::newRow("sin permiso") << QStringList{"-bin", "obra"} << "obra";
        QTest::newRow("ninguno ejecutable") << QStringList{"-bin", "-obra"} << QString();
    }
    void ordenDeBusqueda() {
#ifdef _WIN32
        if (QByteArrayView(QTest::currentDataTag()) == "sin permiso" ||
            QByteArrayView(QTest::currentDataTag()) == "ninguno ejecutable")
            QSKIP("Windows no tiene el permiso de ejecución de Unix: ejecutable es el .exe");
#endif
        TOMAR((con, encontrado), QStringList, QString);
        QTemporaryDir raiz;
        const QString nombre = NombreEjecutable(ProgramaEspecificaciones);
        for (QString carpeta : con) {
            const bool ejecutable = !carpeta.startsWith(u'-');
            carpeta.remove(u'-');
            const QString ruta = raiz.filePath(carpeta + '/' + nombre);
            QVERIFY(QDir(raiz.path()).mkpath(carpeta) && EscribirBytes(ruta, "x"));
            QVERIFY(QFile::setPermissions(ruta, ejecutable ? QFile::ReadOwner | QFile::ExeOwner
                                                           : QFile::ReadOwner));
        }
        QVERIFY(QDir(raiz.path()).mkpath("obra"));
        const QStringList carpetas = CarpetasProgramas(raiz.filePath("bin"), raiz.filePath("obra"));
        QCOMPARE(carpetas, QStringList({raiz.filePath("bin"), raiz.filePath("libexec/varek9"),
                                        raiz.filePath("obra")}));
        // Una carpeta vacía en la lista no cuenta.
        QCOMPARE(BuscarEjecutable(nombre, QStringList{QString()} + carpetas),
                 encontrado.isEmpty() ? QString() : raiz.filePath(encontrado + '/' + nombre));
    }

    // Lo que el archivo no alcanza a dar conserva su valor previo.
    void resultadoPorCodigo_data() {
        Columnas<QString, QByteArray, QString>({"codigo", "datos", "resultado"});
        const QByteArray clima = "varek-9\r\n 1500 \r\n 1178.6 \r\nH\xfamedo\r\n 27.27 \r\n 20 \r\n"
                                 "Templado\r\nmas\r\n";
        QTest::newRow("clima, Windows-1252")
            << "10" << clima << "sí: varek-9 | -1 | Húmedo Templado | -2";
        QTest::newRow("clima de tres líneas")
            << "10" << QByteArray("ref\r\n 1 \r\n 2 \r\n") << "sí: ref | -1 | h0 t0 | -2";
        QTest::newRow("tránsito con LF")
            << "11" << QByteArray("varek-9\n 250000 \n") << "sí: varek-9 | 250000 | h0 t0 | -2";
        QTest::newRow("tránsito vacío") << "11" << QByteArray() << "sí: antes | -1 | h0 t0 | -2";
        QTest::newRow("módulo con exponente")
            << "12" << QByteArray("x\r\n1.5E+01 resto\r\n") << "sí: x | -1 | h0 t0 | 15";
        // Un valor que no es número se lee como 0.
        QTest::newRow("módulo que no es número")
            << "12" << QByteArray("x\r\nnada\r\n") << "sí: x | -1 | h0 t0 | 0";
        // Del drenaje nunca hay resultado.
        QTest::newRow("drenaje") << "13" << QByteArray("ref\r\nBueno\r\n")
                                 << "no: antes | -1 | h0 t0 | -2";
    }
    void resultadoPorCodigo() {
        TOMAR((codigo, datos), QString, QByteArray);
        ResultadoPrograma r{false, false, u"antes"_s, -1, u"h0"_s, u"t0"_s, -2};
        LeerResultadoPrograma(codigo, datos, r);
        QTEST(Resumen(r), "resultado");
    }

    void archivosDeResultadoLineasYUnidad() {
        ResultadoPrograma r;
        QVERIFY(!LeerArchivoResultado(u"11", carpeta.filePath("N1.RES"), r) && !r.HayResultado);
        QVERIFY(EscribirBytes(carpeta.filePath("N1.RES"), "r\r\n 9 \r\n"));
        QVERIFY(LeerArchivoResultado(u"11", carpeta.filePath("N1.RES"), r) && r.HayResultado &&
                r.ValorTransito == 9);

        QString ruta = carpeta.filePath("varek-9.tto");
        // Sin líneas no se escribe nada y se borra lo que hubiera.
        QVERIFY(EscribirBytes(ruta, "viejo\r\n") && EntregarLineas(ruta, {}).Ok);
        QVERIFY(!QFile::exists(ruta));

        QStringList muchas;
        for (int i = 1; i <= 250; ++i)
            muchas.append(u"Línea %1"_s.arg(i));
        muchas[9] = QString(); // una vacía en medio también vuelve
        QVERIFY(EntregarLineas(ruta, muchas).Ok);
        const QByteArray bytes = LeerBytes(ruta);
        QVERIFY(bytes.startsWith("L\xednea 1\r\nL\xednea 2\r\n"));
        QVERIFY(bytes.endsWith("L\xednea 250\r\n"));

        LecturaLineas leidas = RecibirLineas(ruta);
        // El archivo se borra tras leerlo.
        QVERIFY(leidas.Ok && leidas.Lineas == muchas && !QFile::exists(ruta));

        leidas = RecibirLineas(ruta);
        QVERIFY(leidas.Ok && leidas.Lineas.isEmpty());

        // Fin de línea LF y última línea sin fin.
        QVERIFY(EscribirBytes(ruta, "a\nb"));
        QCOMPARE(RecibirLineas(ruta).Lineas, (QStringList{"a", "b"}));

        // Lo que no se puede leer no entrega nada y lo dice.
        QVERIFY(QDir(carpeta.path()).mkdir("varek-9.mr"));
        leidas = RecibirLineas(carpeta.filePath("varek-9.mr"));
        QVERIFY(!leidas.Ok && leidas.Lineas.isEmpty() && !leidas.Error.Descripcion.isEmpty());

        // El archivo de la unidad.
        const UnidadIntercambio u{3, u"Tramo Ñ"_s, 1000, -.5};
        QCOMPARE(TextoArchivoUnidad(u), QByteArray(" 3 \r\nTramo \xd1\r\n 1000 \r\n-.5 \r\n"));
        // Leída y vuelta a escribir da los mismos bytes.
        QCOMPARE(TextoArchivoUnidad(LeerUnidadIntercambio(TextoArchivoUnidad(u))),
                 TextoArchivoUnidad(u));
        QCOMPARE(LeerUnidadIntercambio("x\r\n").Fila, 0);
        QCOMPARE(LeerUnidadIntercambio(" -4 \r\n").Fila, 0);
        QCOMPARE(LeerUnidadIntercambio(" 1 \r\n").Fila, 1);

        ruta = carpeta.filePath(NombreArchivoUnidad);
        QVERIFY(EscribirBytes(ruta, "otra cosa mas larga que la unidad\r\n"));
        QVERIFY(EscribirArchivoUnidad(ruta, u).Ok && LeerBytes(ruta) == TextoArchivoUnidad(u));
    }

    void datosEscritos() {
        QStringList leidos;
        for (const char* texto :
             {" 12.5 ", "-3e2", ".5", "12,5", "1.234,5", "1,2,3", "12abc", "", "inf"})
            leidos << QString::number(LeerDato(QString::fromLatin1(texto)), 'g', 12);
        QCOMPARE(leidos.join(u' '), u"12.5 -300 0.5 12.5 1234.5 nan nan nan nan"_s);
        QCOMPARE(TextoDato(0.5) + u'|' + TextoDato(1e6) + u'|' + TextoDato(std::nan("")) + u'|' +
                     TextoDato(2.5, SeparadorDecimal::Coma),
                 u"0.5|1000000||2,5"_s);
        // La lista escrita, con la convención; la forma ambigua la sigue.
        QCOMPARE(LeerListaCBR(u"3,5; 1.500"_s, SeparadorDecimal::Coma).Valores,
                 (QList<double>{3.5, 1500}));
        QCOMPARE(LineaDato(u"TPD"_s, 350.0), u"TPD=350"_s);
        const QMap<QString, QString> m = LeerLineasDatos({u" a = 1 "_s, u"=2"_s, u"b"_s});
        QCOMPARE(m, (QMap<QString, QString>{{"a", "1"}}));
    }

    void archivoEnUso() {
        const QString ruta = carpeta.filePath("C1");
        // La prueba no crea el archivo.
        QVERIFY(!ArchivoEnUso(ruta) && !QFile::exists(ruta));
        {
            BloqueoArchivo x(ruta);
            QVERIFY(x.Bloquear());
            const PruebaUso p = ProbarArchivoEnUso(ruta);
            // Preguntar dos veces no cambia la respuesta.
            QVERIFY(p.EnUso && !p.Error.isEmpty() && ArchivoEnUso(ruta));
        }
        QVERIFY(!ArchivoEnUso(ruta));
        // La prueba misma no deja candado: otro puede tomarlo enseguida.
        BloqueoArchivo otro(ruta);
        QVERIFY(otro.Bloquear());
        // El programa complementario tiene X hasta que termina, y al terminar lo suelta.
        const DirectorioActual aqui(carpeta.path());
        SesionCompanero sesion(LeerArgumentosCompanero({u"programa"_s, u"varek-9,S1"_s}),
                               u".tto"_s);
        QVERIFY(sesion.Iniciar() && ArchivoEnUso(u"S1"_s));
        sesion.Terminar();
        QVERIFY(!sesion.SosteniendoIntercambio() && !ArchivoEnUso(u"S1"_s));

        for (const QString& ruta :
             {u"C:\\datos\\tabla.dat"_s, u"/srv/datos/tabla.dat"_s, u"tabla.dat"_s})
            QCOMPARE(NombreTabla(ruta), u"tabla.dat"_s);
    }
};

VAREK9_REGISTRAR_PRUEBA(PruebasCalculo)
#include "PruebasCalculo.moc"
