// The program's one door to the operating system: opening the files it
// reads, writing a set of files all or nothing, stopping cleanly on an
// interruption, its own folder, new folders, the calendar. Each system has
// one file of its own (sistema_posix.cpp, sistema_windows.cpp) that keeps
// the promises below in its own terms; nothing above this floor includes a
// header only one system has, and nothing here knows about fish.
// Every path given or returned is UTF-8; a failure leaves the reason in
// errno, with the same values on every system.
#ifndef PASADAS_SISTEMA_H
#define PASADAS_SISTEMA_H

#include <cstddef>
#include <cstdio>
#include <ctime>

const int CAPACIDAD_RUTA = 1024; /* characters of a whole path, folder included */

/* ---- Files the program reads ---- */

/* Results of abre_normal. */
const int NORMAL_ABIERTO = 0;
const int NORMAL_SIN_ABRIR = 1; /* errno says why */
const int NORMAL_NO_ES = 2;     /* a FIFO, a device, a folder...: not opened */
/* Opens ruta for reading in binary only when it is a regular file, without
   waiting on it: opening a FIFO waits for a writer that never comes, and a
   device never ends. *f gets the stream (the caller closes it), else NULL. */
int abre_normal(const char* ruta, FILE** f);

/* What stands under a name. */
const int RUTA_NINGUNA = 0; /* nothing, or it cannot be reached: errno says why */
const int RUTA_FICHERO = 1; /* a regular file */
const int RUTA_CARPETA = 2;
const int RUTA_OTRA = 3;    /* a FIFO, a device... */
int clase_de_ruta(const char* ruta);
/* The program may read the file ruta. */
int legible(const char* ruta);
/* ruta may take a new file: nothing stands there, or a regular file the
   program may replace (on Windows, also one no other program holds open
   against it, so that a set is not refused halfway). */
int puede_escribirse(const char* ruta);
/* Both names are the same existing file (a report must never replace its data). */
int mismo_fichero(const char* a, const char* b);
/* c ends a folder (or, on Windows, a drive) in a path: it cannot be part of a file's own name. */
int separa_carpetas(char c);
/* Where the file's own name starts in ruta, past any folder (on Windows,
   "\" and a drive's "C:" end a folder too). */
const char* nombre_sin_carpeta(const char* ruta);
/* ruta names its file from the root, not from the working folder (on
   Windows, "C:\x", "\x" and "\\server\x" do too). */
int ruta_absoluta(const char* ruta);
/* Removes from the folder carpeta each hidden file (its name starting with
   ".") that no running program holds and that quitar(path, name, datos)
   accepts: what a run killed while writing left. Their number. On Linux a
   running program holds every file of its sets by a lock that ends with
   it; on Windows a set's files are closed before they take their names, so
   that a living run's cannot be told from a dead one's, and none is removed. */
int quita_abandonados(const char* carpeta, int (*quitar)(const char* ruta, const char* nombre, void* datos),
                      void* datos);
/* Makes the folder ruta, readable by all whom the user's mask allows; 0 when
   made, -1 (errno; EEXIST when something is there already) when not. */
int crea_carpeta(const char* ruta);

/* ---- The program itself ---- */

/* The running program's own file, as an absolute path; "" when the system
   cannot tell. */
void ruta_del_programa(char* ruta, int capacidad);
/* On Windows, *argv becomes the command line as the user typed it, in UTF-8,
   whatever the console's code page (its strings live until the end); on
   other systems it already is, and nothing changes. */
void argumentos_utf8(int* argc, char*** argv);
/* Standard output and error pass their bytes as written: a report sent to
   them is the same file on every system. */
void salidas_binarias();
/* The calendar at `instante`, as UTC or as the local time; 0 when the
   system cannot tell. */
int fecha_de(time_t instante, int utc, struct tm* fecha);

/* ---- Text in memory, read and written as a stream ---- */

/* A stream whose bytes gather in memory; they are in *texto (*largo of them)
   after texto_del_flujo. The caller closes the stream and then frees *texto. */
FILE* flujo_en_memoria(char** texto, size_t* largo);
/* The bytes written so far into a flujo_en_memoria; 0 when some were lost. */
int texto_del_flujo(FILE* f, char** texto, size_t* largo);
/* A stream that reads the largo bytes of texto, which must outlive it. */
FILE* flujo_de_texto(char* texto, size_t largo);

/* ln Gamma(x), without lgamma's sign written to a variable that every
   thread shares: reaches are worked side by side. */
double ln_gamma(double x);

/* ---- The one writer: every file the program writes goes through it ---- */

/* A file on its way to its name. */
struct fichero_nuevo {
  FILE* f;                      /* open while it is written, else NULL */
  int fd;                       /* the file once written, -1 when none */
  char ruta[CAPACIDAD_RUTA];    /* the name it is to take */
  char oculto[CAPACIDAD_RUTA];  /* its hidden name beside ruta, "" while it has none */
};

/* Files of one set: a report, its four images and their PNG copies; a
   season's summary, its three tables, its workbook, the pages of its
   picture in both formats and its HTML page. */
const int MAX_TEMPORALES = 205;

/* Files that take their names together or not at all. On Linux each is
   written as a file without a name where the file system allows it (else
   under a hidden name beside its own), so that a run that dies, even by
   kill -9 or a power cut, leaves nothing of it in the folder; on Windows
   under a hidden name beside its own, which an interruption removes but a
   killed process or a power cut may leave. Only once every one is whole on
   the disk do they take their names, the first one opened the last. */
struct temporales {
  int n;
  fichero_nuevo f[MAX_TEMPORALES];
};

/* Adds ruta to the set and gives the stream to write it into, in binary;
   on Linux the file gets the permissions ruta has or a new file gets; NULL
   when it cannot be made (then nothing is added). extension ends its hidden
   name, if any. */
FILE* temporal_abre(temporales* t, const char* ruta, const char* extension);
/* The stream's file is complete: its bytes go to the system (on Windows,
   to the disk) and the stream is closed; 0 when a byte was lost. */
int temporal_cierra(temporales* t, FILE* f);
/* A name by which a library that writes only to a named file (a workbook's
   writer) may write the set's open stream f: on Linux its descriptor's in
   /proc, or its hidden name; 0 when f is not open in the set or the name
   does not fit. */
int temporal_nombre(const temporales* t, FILE* f, char* nombre, int tam);
/* Waits until every file of the set is on the disk and gives each its name,
   replacing any older file, the first one opened the last; an interruption
   is held off meanwhile. NULL when all are there; else the name of the file
   that could not be written or named (valid until the set is used again),
   and then nothing of the set is left and the older files are as they
   were, unless the system refused a rename halfway (on Windows, another
   program opening an older file in the few moments between the check and
   the renames). The set is empty afterwards. */
const char* temporal_pon(temporales* t);
void temporal_descarta(temporales* t);  /* forgets every file of the set; the names are untouched */

/* ---- Interruptions while files are written ---- */

/* What interrupts: on Linux SIGINT, SIGTERM and SIGHUP; on Windows Ctrl-C,
   Ctrl-Break and closing the console (or ending the session), which arrive
   on a thread of their own. */

/* Holds an interruption off (calls nest): it takes effect when the
   outermost stretch ends. On Linux, threads started meanwhile keep the
   signals off for good, so that they reach only the thread that writes. */
void senales_bloquea();
void senales_desbloquea();
/* From now on an interruption ends the program at once, never within a
   held-off stretch of any thread: the hidden names of the files in
   progress are removed (files without a name go with the program),
   complete files stay, the notice in force goes to standard error and the
   exit status is 130 for SIGINT or Ctrl-C, 143 for SIGTERM or Ctrl-Break,
   129 for SIGHUP or a closed console. A signal the program was started to
   ignore stays ignored. interrupcion_termina gives the interruptions back
   to their earlier handlers. */
void interrupcion_empieza();
void interrupcion_termina();
/* The notice of an interruption now (one line), and the one that takes its
   place as soon as the next set has its names (NULL: no other). */
void interrupcion_avisa(const char* ahora, const char* tras_poner);
/* The notice from now on, for sets put in any order (a season's reaches
   on several threads): antes, then desde plus the number of sets that have
   had their names since, then despues, on one line. interrupcion_avisa
   gives back a notice of fixed texts. */
void interrupcion_cuenta(const char* antes, int desde, const char* despues);

#endif
