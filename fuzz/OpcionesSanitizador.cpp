// Opciones de AddressSanitizer en los objetivos de fuzzing. Guardar la pila de
// cada reserva es lo más caro de una entrada que arma muchos textos chicos; sin
// ella el informe de un fallo trae igual la pila del acceso, y la pila de la
// reserva se obtiene corriendo el caso guardado con
// ASAN_OPTIONS=malloc_context_size=30. La cuarentena de lo liberado es corta
// (2 MB, decenas de entradas): con la de 256 MB cada reserva caía en memoria
// nueva y el núcleo la preparaba página a página; un uso tras liberar dentro de
// una entrada se sigue viendo. ASAN_OPTIONS manda sobre esto.
extern "C" const char* __asan_default_options() {
    return "malloc_context_size=0:quarantine_size_mb=2:thread_local_quarantine_size_kb=16";
}
