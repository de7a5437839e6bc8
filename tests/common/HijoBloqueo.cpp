// Proceso hijo de la prueba del candado entre procesos: intenta tomar el
// candado del archivo dado, lo anuncia por la salida y lo mantiene hasta que
// el padre cierra su entrada.
#include "common/BloqueoArchivo.h"

#include <cstdio>

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    BloqueoArchivo bloqueo(QString::fromLocal8Bit(argv[1]));
    const bool tomado = bloqueo.Bloquear();
    std::fputs(tomado ? "BLOQUEADO\n" : "OCUPADO\n", stdout);
    std::fflush(stdout);
    while (std::fgetc(stdin) != EOF) {
    }
    return tomado ? 0 : 1;
}
