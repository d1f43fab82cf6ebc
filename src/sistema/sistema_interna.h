// What each system's side gives the writer of file sets (conjunto.cpp) and
// the interruption (interrupcion.cpp), which are the same on every system.
#ifndef PASADAS_SISTEMA_INTERNA_H
#define PASADAS_SISTEMA_INTERNA_H

#include "sistema.h"

/* ---- The writer's steps ---- */

/* A new file for ruta's set, writable in binary: on Linux without a name
   where the file system allows it (oculto gets ""), else under a hidden
   name beside ruta (written to oculto, tam bytes, and noted for an
   interruption) ending in extension. NULL when neither can be made. */
FILE* temporal_crea(const char* ruta, const char* extension, char* oculto, int tam);
/* f, flushed, is whole: what keeps its file until it is put (a descriptor
   on Linux, whose bytes start on their way to the disk; on Windows the
   bytes are on the disk and 0 stands for it); -1 when it failed. */
int temporal_termina(FILE* f);
/* The file kept by temporal_termina is on the disk; 0 when it is not. */
int temporal_asegura(int fd);
void temporal_suelta(int fd);
/* The name by which another writer may reach the file of the open stream
   f, whose hidden name is oculto (or "" when it has none). */
int temporal_alcance(FILE* f, const char* oculto, char* nombre, int tam);
/* The file gets a hidden name beside its own if it has none yet, noted for
   an interruption; 0 when it cannot. */
int temporal_enlaza(fichero_nuevo* n);
/* The hidden name oculto replaces ruta, whatever stood there, and the
   replacement reaches the disk; 0 when the system refused. */
int temporal_sustituye(const char* oculto, const char* ruta);
/* The new names of the set reach the disk, where the renames did not carry them. */
void temporal_sincroniza(const temporales* t);
/* Removes the file named ruta: safe within an interruption. */
void borra_fichero(const char* ruta);

/* A hidden name beside ruta, "folder/.name.XXXXXXextension", with fresh
   letters; 0 when it does not fit. */
int nombre_oculto(const char* ruta, const char* extension, char* oculto, int tam);
/* Tries fresh hidden names beside ruta (into oculto) until crea makes a
   file under one, noted for an interruption; crea fails with errno EEXIST
   when the name is taken. 1 when made, else oculto is "". */
int con_nombre_oculto(const char* ruta, const char* extension, char* oculto, int tam,
                      int (*crea)(const char* oculto, void* dato), void* dato);
/* Fresh random bytes, from the system when it has them. */
void bytes_al_azar(unsigned char* bytes, int n);
/* The folder of ruta, "." when it names none. */
void carpeta_de(const char* ruta, char* carpeta, int tam);

/* ---- The interruption's steps ---- */

/* Hidden names to remove on an interruption (0 when no room is left), and
   the moment a set has had its names. */
int interrupcion_anota(const char* oculto);
void interrupcion_olvida(const char* oculto);
void interrupcion_puesto();

/* What every interruption does, on any thread: given the exit status. */
[[noreturn]] void al_interrumpir(int estado);
/* The system calls al_interrumpir on an interruption from now on, and no
   longer after interrupcion_desvia. */
void interrupcion_desvia_a_nosotros();
void interrupcion_devuelve();
/* This thread's interruptions wait (outermost stretch only) and come again. */
void interrupciones_retenidas();
void interrupciones_sueltas();
/* A thread that would go on while another ends the program. */
[[noreturn]] void espera_el_final();
void espera_un_momento();
/* Writes the bytes to standard error, without the C library: safe within an interruption. */
void dice_en_error(const char* texto, int largo);
/* Ends the program now with that status, doing nothing else. */
[[noreturn]] void termina_ya(int estado);

#endif
