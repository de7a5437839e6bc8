// Programa complementario Mr: una ventana sobre el protocolo de intercambio.
#include "companions/Principal.h"
#include "companions/frmMr.h"

int main(int argc, char** argv) {
    return EjecutarCompanero<frmMr>(argc, argv, u"12");
}
