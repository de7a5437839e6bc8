#!/usr/bin/env python3
"""Arma un .ico con los PNG dados (cada uno, una imagen del icono). Uso: icono.py SALIDA.ico PNG..."""
import struct
import sys


def main():
    salida, pngs = sys.argv[1], sys.argv[2:]
    imagenes = []
    for ruta in pngs:
        with open(ruta, "rb") as f:
            datos = f.read()
        # Ancho y alto de la cabecera IHDR del PNG.
        ancho, alto = struct.unpack(">II", datos[16:24])
        imagenes.append((ancho, alto, datos))
    cabecera = struct.pack("<HHH", 0, 1, len(imagenes))
    entradas = b""
    cuerpo = b""
    desplazamiento = 6 + 16 * len(imagenes)
    for ancho, alto, datos in imagenes:
        # 256 se escribe 0 en el byte del tamaño.
        entradas += struct.pack("<BBBBHHII", ancho % 256, alto % 256, 0, 0, 1, 32, len(datos),
                                desplazamiento + len(cuerpo))
        cuerpo += datos
    with open(salida, "wb") as f:
        f.write(cabecera + entradas + cuerpo)


if __name__ == "__main__":
    main()
