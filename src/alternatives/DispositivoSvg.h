// Un dispositivo de pintura que escribe SVG: lo que se pinta en él con QPainter
// queda como elementos SVG en coordenadas del dispositivo, con los recortes como
// clipPath. Sin Qt Svg, que no hay en todas las plataformas donde se compila.
#pragma once

#include <QByteArray>
#include <QPaintDevice>
#include <QSizeF>

#include <memory>

class MotorSvg;

class DispositivoSvg : public QPaintDevice {
public:
    // Tamaño en puntos del dispositivo, a ppp puntos por pulgada.
    DispositivoSvg(const QSizeF& tamano, double ppp);
    ~DispositivoSvg() override;
    DispositivoSvg(const DispositivoSvg&) = delete;
    DispositivoSvg& operator=(const DispositivoSvg&) = delete;

    QPaintEngine* paintEngine() const override;

    // Los elementos pintados desde la última llamada (con el pintor ya terminado).
    QByteArray Tomar();
    // Los clipPath que usan los elementos tomados hasta ahora, para <defs>.
    QByteArray Recortes() const;
    // La cabecera del documento: <svg> con su tamaño en mm y su viewBox, el título
    // y los recortes.
    QByteArray Cabecera(const QString& titulo) const;

protected:
    int metric(PaintDeviceMetric metrica) const override;

private:
    QSizeF Tamano;
    double Ppp;
    std::unique_ptr<MotorSvg> Motor;
};
