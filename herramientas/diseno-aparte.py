#!/usr/bin/env python3
# Cálculo aparte del diseño, escrito desde el método y no desde el programa: da los
# valores esperados de las tablas de PruebasDiseno (Zr por confiabilidad y las seis
# estructuras en cada clase de clima y de tránsito). Solo Python estándar.
#
#   python3 herramientas/diseno-aparte.py
import math

DOS_PI = 6.28318530717958


def log10(x):
    return math.log(x) / math.log(10)


def densidad(z):
    return math.exp(-z * z / 2) / math.sqrt(DOS_PI)


def area_normal(z):
    h = z / 32
    s = densidad(z) + densidad(0)
    t = 0.0
    for i in range(1, 32):
        t += h
        s += (4 if i % 2 else 2) * densidad(t)
    return s * z / 96


def zr(p):
    # Falsa posición en [0, 5] que para cuando la corrección es menor que 0,01 %.
    if p >= 0.5:
        return 10.0
    if p <= 0:
        return 0.0
    a, b = 0.0, 5.0
    fa, fb = area_normal(a) - p, area_normal(b) - p
    x = 5 * fa / (fa - fb)
    iteraciones = 0
    while True:
        fx = area_normal(x) - p
        if fa * fx == 0:
            return x
        if fa * fx < 0:
            b = x
        else:
            a = x
        anterior = x
        iteraciones += 1
        fa, fb = area_normal(a) - p, area_normal(b) - p
        x = (fa * b - a * fb) / (fa - fb)
        if abs((x - anterior) / x) * 100 < 0.01:
            return x if iteraciones <= 10000 else -1.0


def ecuacion(sn, w18, z, so, dpsi, mr):
    return (z * so + 9.36 * log10(sn + 1) - 0.20 + log10(dpsi / 2.7) / (0.40 + 1094 / (sn + 1) ** 5.19)
            + 2.32 * log10(mr) - 8.07 - log10(w18))


def derivada(sn, *args):
    h = 0.00001
    f = ecuacion(sn, *args)
    return ((f - ecuacion(sn - h, *args)) / h + (ecuacion(sn + h, *args) - f) / h) / 2


def numero_estructural(*args):
    # Newton desde 2.0; devuelve el iterado anterior al paso que ya es menor que 0,0001 %.
    sn = 2.0
    siguiente = sn - ecuacion(sn, *args) / derivada(sn, *args)
    if abs((siguiente - sn) / sn) * 100 < 0.0001:
        return sn
    pasos = 0
    while True:
        sn = siguiente
        pasos += 1
        if pasos > 1000:
            return -1.0
        siguiente = sn - ecuacion(sn, *args) / derivada(sn, *args)
        if abs((siguiente - sn) / sn) * 100 < 0.0001:
            return sn


GRANULAR = [1.15, 1.05, 1.00, 0.95, 0.85]
UNO = [1.0] * 5
# código: (a por temperatura 1..3, m por humedad 1..5, módulo psi)
CATALOGO = {
    "TSD": ([0, 0, 0], UNO, 0),
    "BG": ([0.14] * 3, GRANULAR, 30000),
    "SBG": ([0.12] * 3, GRANULAR, 16000),
    "BEC": ([0.14] * 3, UNO, 570000),
    "MDF-2": ([0.40, 0.37, 0.34], UNO, 0),
    "BEE-3": ([0.14] * 3, UNO, 570000),
    "MDC-2": ([0.44, 0.41, 0.37], UNO, 0),
    "AFR": ([0, 0, 0], GRANULAR, 0),
}
# (tipo, inicial, mínimo bajo, mínimo alto, por capas, opcional) y CBR mínimo
PLANTILLAS = [
    ([("TSD", 0, 0, 0, False, False), ("BG", 200, 0, 0, False, False), ("SBG", 0, 150, 150, False, False)], 0),
    ([("TSD", 0, 0, 0, False, False), ("BG", 0, 150, 150, False, False), ("BEC", 200, 0, 0, False, False)], 5),
    ([("MDF-2", 0, 50, 75, True, False), ("BG", 0, 150, 150, True, False), ("SBG", 0, 150, 150, False, False)], 0),
    ([("MDF-2", 0, 50, 75, True, False), ("BEE-3", 150, 0, 0, False, False), ("SBG", 0, 150, 150, False, True)], 10),
    ([("MDC-2", 0, 50, 75, True, False), ("BG", 0, 150, 150, True, False), ("SBG", 0, 150, 150, False, False)], 0),
    ([("MDC-2", 0, 50, 75, True, False), ("BG", 0, 150, 150, True, False), ("BEC", 200, 0, 0, False, False)], 0),
]
HUMEDAD = ["Arido", "Semiarido", "Subhumedo", "Humedo", "Superhumedo"]
TEMPERATURA = ["Frio", "Templado", "Calido"]


def disenar(w18, cbr, humedad, temperatura, afirmado="No hay", espesor_afirmado=0,
            confiabilidad=90, so=0.44, pt=2.0):
    z = zr(confiabilidad / 100 - 0.5)
    dpsi = 4.2 - pt
    e_exist = espesor_afirmado * 10
    a_exist = {"AFR-1": 0.08, "AFR-2": 0.06}.get(afirmado, 0)
    if not (0 < w18 <= 500000):
        return 0.0, ["-"] * 6
    mr = 2555 * cbr ** 0.64
    sn_req = numero_estructural(w18, -z, so, dpsi, mr)
    ch = HUMEDAD.index(humedad) + 1 if humedad in HUMEDAD[:4] else 5
    ct = TEMPERATURA.index(temperatura) + 1 if temperatura in TEMPERATURA[:2] else 3
    alto = w18 >= 150000
    resultado = []
    for ranuras, cbr_min in PLANTILLAS:
        if not cbr > cbr_min:
            resultado.append("-")
            continue
        capas = []
        for tipo, inicial, bajo, alto_min, por_capas, opcional in ranuras:
            a, m, mod = CATALOGO[tipo]
            capas.append(dict(a=a[ct - 1], m=m[ch - 1], mod=mod, e=0.0, ini=inicial, bajo=bajo,
                              alto=alto_min, pc=por_capas, op=opcional, ed=0.0))
        if e_exist > 0 and a_exist > 0:
            a, m, mod = CATALOGO["AFR"]
            capas.append(dict(a=a_exist, m=m[ch - 1], mod=mod, e=e_exist, ini=0, bajo=0, alto=0,
                              pc=False, op=False, ed=0.0))
        minimo = lambda c: c["alto"] if alto else c["bajo"]
        for k, c in enumerate(capas):
            if not c["pc"]:
                continue
            abajo = capas[k + 1]["mod"] if k + 1 < len(capas) else 0
            if abajo <= 50000:
                snk = numero_estructural(w18, -z, so, dpsi, abajo)
                r = snk - sum(capas[j]["a"] * capas[j]["m"] * capas[j]["ed"] for j in range(k))
                c["ed"] = 0 if r <= 0 else r / (c["a"] * c["m"])
            elif minimo(c) != 0:
                c["ed"] = minimo(c) / 25.4
        for c in capas:
            if c["pc"]:
                c["ed"] = math.floor(c["ed"] * 25.4 + 0.5)
        for c in capas:
            if c["e"] == 0:
                if c["ini"] > 0:
                    c["e"] = c["ini"]
                if c["ed"] > 0 and c["ed"] > c["e"]:
                    c["e"] = c["ed"]
            if c["e"] > 0 and minimo(c) > 0 and c["e"] < minimo(c):
                c["e"] = minimo(c)
        s = sum(c["e"] / 25.4 * c["a"] * c["m"] for c in capas)
        r = sn_req - s
        for c in capas:
            if not (c["a"] > 0 and c["e"] == 0):
                continue
            if r > 0:
                c["e"] = math.floor(r / (c["m"] * c["a"]) * 25.4 + 0.5)
                if minimo(c) > 0 and c["e"] < minimo(c):
                    c["e"] = minimo(c)
            elif c["op"]:
                continue
            else:
                if minimo(c) > 0:
                    c["e"] = minimo(c)
                break
        resultado.append(" ".join("%g" % c["e"] for c in capas))
    return sn_req, resultado


if __name__ == "__main__":
    for r in (50, 60, 70, 75, 80, 85, 90, 95, 97, 99):
        print("Zr %d: %.17g" % (r, zr(r / 100 - 0.5)))
    for w18 in (60000, 300000):
        for h in HUMEDAD:
            for t in TEMPERATURA:
                sn, alt = disenar(w18, 12, h, t)
                print('%s %s %d: %.6f %s' % (h, t, w18, sn, "|".join(alt)))
    for w18, cbr, afr, e in ((20000, 4, "AFR-1", 20), (140000, 7, "AFR-2", 15), (450000, 25, "No hay", 0)):
        sn, alt = disenar(w18, cbr, "Humedo", "Calido", afr, e)
        print('Humedo Calido %d cbr %g %s %g: %.6f %s' % (w18, cbr, afr, e, sn, "|".join(alt)))
