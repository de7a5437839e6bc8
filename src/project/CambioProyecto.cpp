#include "project/CambioProyecto.h"

#include <QDataStream>
#include <QIODevice>

#include <algorithm>

namespace {

// Nivel 1 de zlib: un pegado de 1000 filas se comprime en pocos milisegundos y
// ocupa una fracción de lo que ocupan las unidades en memoria.
constexpr int NivelCompresion = 1;
// Versión fija del formato de QDataStream: la historia solo vive en memoria,
// pero así no depende de la versión de Qt.
constexpr int VersionFlujo = QDataStream::Qt_6_0;

bool MismoEncabezado(const Proyecto& a, const Proyecto& b) {
    return a.Nombre == b.Nombre && a.Descripcion == b.Descripcion && a.Ubicacion == b.Ubicacion &&
           a.Confiabilidad == b.Confiabilidad && a.Zr == b.Zr &&
           a.ServiciabilidadFinal == b.ServiciabilidadFinal &&
           a.ConfiabilidadTransito == b.ConfiabilidadTransito && a.So == b.So &&
           a.CostosUnitarios == b.CostosUnitarios && a.NumeroUH == b.NumeroUH;
}

const UnidadHomogenea& UnidadVacia() {
    static const UnidadHomogenea vacia;
    return vacia;
}

// Una unidad fuera del arreglo es una unidad vacía: el arreglo solo crece.
const UnidadHomogenea& Unidad(const Proyecto& p, int i) {
    return i <= p.CapacidadUH() ? p.UH[i] : UnidadVacia();
}

void Escribir(QDataStream& s, const UnidadHomogenea& u) {
    s << u.CodigoTramo << u.Descripcion << u.TipoTramo << u.TipoSegmento << u.AbscisaInicial
      << u.AbscisaFinal << u.AnchoCorona << u.EjesEquivalentes << u.ClimaHumedad
      << u.ClimaTemperatura << u.CBR << u.TipoTerreno << u.TipoAfirmado << u.EspesorAfirmado
      << u.EspesorSubrasante << u.SNRequerido << u.AlternativaSeleccionada << u.N82 << u.CLIMA
      << u.MR;
}

void Leer(QDataStream& s, UnidadHomogenea& u) {
    s >> u.CodigoTramo >> u.Descripcion >> u.TipoTramo >> u.TipoSegmento >> u.AbscisaInicial >>
        u.AbscisaFinal >> u.AnchoCorona >> u.EjesEquivalentes >> u.ClimaHumedad >>
        u.ClimaTemperatura >> u.CBR >> u.TipoTerreno >> u.TipoAfirmado >> u.EspesorAfirmado >>
        u.EspesorSubrasante >> u.SNRequerido >> u.AlternativaSeleccionada >> u.N82 >> u.CLIMA >>
        u.MR;
}

// El encabezado y las unidades dadas del proyecto, comprimidos.
QByteArray Empacar(const Proyecto& p, const QVector<qint32>& unidades) {
    QByteArray bytes;
    QDataStream s(&bytes, QIODevice::WriteOnly);
    s.setVersion(VersionFlujo);
    s << p.Nombre << p.Descripcion << p.Ubicacion << p.Confiabilidad << p.Zr
      << p.ServiciabilidadFinal << p.ConfiabilidadTransito << p.So;
    for (double c : p.CostosUnitarios)
        s << c;
    s << p.NumeroUH;
    for (qint32 i : unidades)
        Escribir(s, Unidad(p, i));
    QByteArray comprimidos = qCompress(bytes, NivelCompresion);
    // qCompress reserva lo que ocuparía sin comprimir: se devuelve lo que sobra.
    comprimidos.squeeze();
    return comprimidos;
}

void Desempacar(const QByteArray& datos, const QVector<qint32>& unidades, Proyecto& p) {
    const QByteArray bytes = qUncompress(datos);
    QDataStream s(bytes);
    s.setVersion(VersionFlujo);
    s >> p.Nombre >> p.Descripcion >> p.Ubicacion >> p.Confiabilidad >> p.Zr >>
        p.ServiciabilidadFinal >> p.ConfiabilidadTransito >> p.So;
    for (double& c : p.CostosUnitarios)
        s >> c;
    s >> p.NumeroUH;
    if (!unidades.isEmpty()) p.AsegurarCapacidad(unidades.back());
    for (qint32 i : unidades)
        Leer(s, p.UH[i]);
}

} // namespace

std::optional<CambioProyecto> CambioProyecto::Entre(const Proyecto& antes,
                                                    const Proyecto& despues) {
    CambioProyecto cambio;
    // Dos estados que comparten el arreglo (nadie lo tocó) no difieren en unidades.
    if (!antes.UH.isSharedWith(despues.UH)) {
        const int ultima = std::max(antes.CapacidadUH(), despues.CapacidadUH());
        for (int i = 1; i <= ultima; ++i)
            if (!(Unidad(antes, i) == Unidad(despues, i))) cambio.unidades_.append(i);
    }
    if (cambio.unidades_.isEmpty() && MismoEncabezado(antes, despues)) return std::nullopt;
    cambio.datos_ = Empacar(antes, cambio.unidades_);
    return cambio;
}

void CambioProyecto::Intercambiar(Proyecto& proyecto) {
    QByteArray actual = Empacar(proyecto, unidades_);
    Desempacar(datos_, unidades_, proyecto);
    datos_ = std::move(actual);
}

qsizetype CambioProyecto::Bytes() const {
    return qsizetype(sizeof(*this)) + datos_.capacity() +
           unidades_.capacity() * qsizetype(sizeof(qint32));
}
