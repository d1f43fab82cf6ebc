// pasadas-informe: the results report and its four images from the command
// line, without a window, exactly as "Exportar resultados" writes them in
// its direct mode. Every refusal is one line on standard error, and nothing
// is written or overwritten then.
#include <allegro.h>

#include <cerrno>
#include <charconv>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <memory>
#include <string>

#include "analysis.h"
#include "pagina.h"
#include "pasadas_informe.h"
#include "export.h"
#include "sample.h"
#include "shell.h"

static const char AYUDA[] =
    "Uso: pasadas-informe [opciones] DATOS INFORME\n"
    "     pasadas-informe --comprobar [--tramo T] [--especie E] [--hoja H]\n"
    "                     [--limites ...] DATOS\n"
    "     pasadas-informe --diagnostico [opciones] DATOS\n"
    "\n"
    "Escribe el informe de resultados INFORME y sus cuatro graficos BMP (la raiz\n"
    "del nombre hasta el primer punto, mas 4, 2, 1 y 3 .bmp), igual que \"Exportar\n"
    "resultados\" en su modo directo, sin abrir ninguna ventana.\n"
    "\n"
    "DATOS es un fichero de datos con clases de edad (cabecera de cuatro palabras y\n"
    "pasada, longitud, peso y clase por pez), o la palabra ejemplo para la muestra\n"
    "incorporada de 38 peces. Tambien una tabla de hoja de calculo con cabecera\n"
    "(Pasada;Longitud (cm);Peso (g);Clase de edad...), separada por \";\", \",\" o\n"
    "tabuladores, en UTF-8, Windows-1252 o el \"Texto Unicode\" de Excel, o la\n"
    "primera hoja de un libro .xlsx (Excel) u .ods (LibreOffice), con las mismas\n"
    "columnas y sus numeros tal como estan guardados, no como se muestran (un\n"
    "libro .xls se guarda antes como .xlsx o CSV); una tabla con varios tramos o\n"
    "especies pide --tramo y --especie.\n"
    "\n"
    "Opciones (los numeros con hasta siete cifras enteras, punto o coma decimal y hasta\n"
    "dos decimales):\n"
    "  --superficie M2   superficie del tramo en m2\n"
    "  --volumen M3      volumen del tramo en m3\n"
    "  --metros M        metros lineales del tramo\n"
    "                    (una medida no indicada vale 0 y sus celdas muestran \"-\")\n"
    "  --linf CM         longitud maxima Linf de von Bertalanffy; sin ella, o si es\n"
    "                    menor que el pez mas largo, no se hace ese ajuste: la\n"
    "                    seccion 9.1 muestra \"-\" y el resto del informe sigue igual\n"
    "  --meses M         edad de la clase 0+ en meses, de 0 a 12 (0 si no se indica)\n"
    "  --limites L1,L2,...\n"
    "                    DATOS no tiene clases (cabecera de tres palabras): cada\n"
    "                    limite superior, en cm y de menor a mayor, cierra una\n"
    "                    clase desde 0+, como en la pantalla de clases de edad;\n"
    "                    con coma decimal, separados por punto y coma: \"9,5;15\"\n"
    "  --tramo NOMBRE    toma solo los peces de ese tramo (columna Tramo)\n"
    "  --especie NOMBRE  toma solo los peces de esa especie (columna Especie)\n"
    "  --hoja NOMBRE     DATOS es un libro .xlsx u .ods: lee esa hoja en vez de la\n"
    "                    primera (con --tramos, la hoja de TABLA)\n"
    "  --comprobar       no escribe nada: muestra lo leido de DATOS (columnas,\n"
    "                    peces por pasada y clase, R) y sale con 0 si se carga\n"
    "  --diagnostico     no escribe nada: muestra por clase y para el total, junto a\n"
    "                    la estimacion de Zippin, una segunda opinion (Moran,\n"
    "                    Schnute, Carle-Strub, pruebas de capturabilidad) y el\n"
    "                    estado y los avisos de cada grupo en palabras\n"
    "  --pasadas K       numero de pasadas pescadas, de 1 a 20, si las ultimas no\n"
    "                    capturaron nada (y por eso no aparecen en los datos); no\n"
    "                    puede ser menor que la pasada mas alta de los datos. Sin\n"
    "                    ella se toma la pasada mas alta de los datos\n"
    "  --imagenes bmp|png|ambas\n"
    "                    formato de los graficos: BMP (si no se indica), PNG o\n"
    "                    los dos; --png es lo mismo que --imagenes ambas\n"
    "  --html            escribe tambien la pagina INFORME.html (la raiz de INFORME\n"
    "                    mas .html): las cifras del informe, sus graficos en SVG,\n"
    "                    la segunda opinion, un parrafo de metodos y la huella\n"
    "                    SHA-256 de DATOS, sin nada que cargar ni ejecutar\n"
    "  --help            muestra esta ayuda\n"
    "  --version         muestra la version del programa\n"
    "\n"
    "Una campana entera: pasadas-informe --tramos TABLA --carpeta CARPETA\n"
    "  TABLA es una hoja (\";\", \",\" o tabulador, o un libro .xlsx u .ods) con un\n"
    "  tramo por fila y las columnas Tramo y Fichero (ruta relativa a la carpeta\n"
    "  de TABLA) y, si hacen falta, Especie, Superficie, Volumen, Metros, Pasadas,\n"
    "  Linf, Meses y Limites (separados por espacios). En CARPETA escribe el\n"
    "  informe y los graficos de cada tramo (con el nombre del tramo), las tablas\n"
    "  resumen, resumen_clases y resumen_diagnostico (.csv con \";\" y coma decimal\n"
    "  si TABLA usa \";\", si no .tsv con tabulador y punto; --formato es|punto lo\n"
    "  elige), el libro resumen.xlsx con las tres, el grafico resumen.bmp y la\n"
    "  pagina informe.html para entregar (resumen, grafico de densidad, cada tramo,\n"
    "  metodos y datos de partida; con mas de 40 tramos, cada tramo en su pagina\n"
    "  tramos/TRAMO.html). Un tramo que falla no detiene a los demas: su fila dice error y por que, y la\n"
    "  salida es 1. Una campana admite hasta 1000 tramos: una tabla mayor se\n"
    "  parte en varias.\n"
    "  --hilos N         tramos que se hacen a la vez (de 1 a 256; si no se indica,\n"
    "                    uno por nucleo del procesador); los mensajes, las tablas\n"
    "                    y los ficheros son los mismos con cualquier N\n"
    "\n"
    "INFORME solo sustituye a un informe anterior: un fichero existente que no lo\n"
    "sea, o datas.dat, se rechaza.\n"
    "\n"
    "Salida: 0 si el informe y sus graficos se han escrito; 1 si los datos, las\n"
    "clases, el informe o alguno de los graficos no son posibles; 2 si las opciones\n"
    "no son validas; 130, 143 o 129 si se interrumpe (Ctrl-C, SIGTERM, SIGHUP): no queda\n"
    "nada del informe o del tramo en curso. En caso de error no se escribe ni se\n"
    "sobrescribe ningun fichero.\n"
    "\n"
    "Ejemplo:\n"
    "  pasadas-informe --superficie 250 --volumen 125.5 --metros 50 \\\n"
    "      --linf 32 --meses 6 ejemplo tramo1.txt\n"
    "\n"
    "La guia de uso, con cada mensaje y que hacer ante el: en el paquete,\n"
    "/usr/share/doc/pasadas/guia.html; en Windows, Inicio > Pasadas > Guia de uso;\n"
    "en las fuentes, docs/guia.md.\n";


static void rechazo_de(rechazo* r, const char* fmt, va_list ap) {
  char mensaje[2 * CAPACIDAD_RUTA + 512];
  vsnprintf(mensaje, sizeof mensaje, fmt, ap);
  snprintf(r->texto, sizeof r->texto, "%s", visible_de(mensaje).c_str());
}

void rechazo_pon(rechazo* r, const char* fmt, ...) {
  va_list ap;
  va_start(ap, fmt);
  rechazo_de(r, fmt, ap);
  va_end(ap);
}

void dice_rechazo(const rechazo* r) { fprintf(stderr, "%s: %s\n", PROGRAMA, r->texto); }

void rechaza(const char* fmt, ...) {
  rechazo r;
  va_list ap;
  va_start(ap, fmt);
  rechazo_de(&r, fmt, ap);
  va_end(ap);
  dice_rechazo(&r);
}

/* A number as the program's number fields take it: digits, one decimal
   point or comma, at most two decimals, built the same way so that it is the same float. */
int numero_de(const char* texto, float* valor) {
  campo_numero c;
  numero_vacia(&c);
  if (!*texto) return 0;
  for (const char* p = texto; *p; p++) {
    int a = (unsigned char)*p;
    if (!((a >= '0' && a <= '9') || es_punto_decimal(a))) return 0;
    if (numero_tecla(&c, a) != NUMERO_CAMBIA) return 0;  // a second point, a third decimal
  }
  *valor = c.valor;
  return 1;
}

static int numero_de_opcion(const char* opcion, const char* texto, float* valor, rechazo* r) {
  if (numero_de(texto, valor)) return 1;
  rechazo_pon(r, "%s: '%s' no es un numero valido (hasta siete cifras enteras, un punto o una coma "
              "decimal y hasta dos decimales)", opcion, texto);
  return 0;
}

static int opcion_numerica(const char* opcion, const char* texto, float* valor) {
  rechazo r;
  if (numero_de_opcion(opcion, texto, valor, &r)) return 1;
  dice_rechazo(&r);
  return 0;
}

/* The value of an option given as "--opcion=valor" or "--opcion valor";
   NULL when argv[*i] is another option, "" (refused) when the value is missing. */
static const char* valor_de(int argc, char** argv, int* i, const char* opcion) {
  size_t largo = strlen(opcion);
  const char* v = nullptr;
  if (strncmp(argv[*i], opcion, largo) == 0 && argv[*i][largo] == '=')
    v = argv[*i] + largo + 1;
  else if (strcmp(argv[*i], opcion) == 0)
    v = *i + 1 < argc ? argv[++*i] : "";
  if (v && !*v) rechaza("%s necesita un valor", opcion);
  return v;
}

/* One of the options that take a number at argv[*i]: 1 when taken, 0 when
   refused, -1 when argv[*i] is none of them. */
static int lee_opcion_numerica(int argc, char** argv, int* i, peticion* p) {
  static const char* const MEDIDAS[3] = {"--superficie", "--volumen", "--metros"};
  const char* v;
  for (int m = 0; m < 3; m++)
    if ((v = valor_de(argc, argv, i, MEDIDAS[m])))
      return *v && opcion_numerica(MEDIDAS[m], v, &p->medidas[m]);
  if ((v = valor_de(argc, argv, i, "--linf"))) {
    p->hay_linf = 1;
    return *v && opcion_numerica("--linf", v, &p->linf);
  }
  if ((v = valor_de(argc, argv, i, "--meses"))) {
    if (!*v || !opcion_numerica("--meses", v, &p->meses)) return 0;
    if (p->meses <= 12) return 1;
    rechaza("--meses: %s supera los 12 meses", v);
    return 0;
  }
  if ((v = valor_de(argc, argv, i, "--pasadas"))) {
    if (!*v) return 0;
    p->pasadas = numero_de_pasadas(v);
    if (p->pasadas) return 1;
    rechaza("--pasadas: '%s' no es un numero de pasadas (de 1 a %d)", v, MAX_PASADAS);
    return 0;
  }
  if ((v = valor_de(argc, argv, i, "--hilos"))) {
    if (!*v) return 0;
    long long hilos = 0;
    const char* fin = v + strlen(v);
    std::from_chars_result r = std::from_chars(v, fin, hilos);
    if (r.ec == std::errc() && r.ptr == fin && hilos >= 1 && hilos <= MAX_HILOS)
      return p->hilos = (int)hilos;
    rechaza("--hilos: '%s' no es un numero de hilos (de 1 a %d)", v, MAX_HILOS);
    return 0;
  }
  return -1;
}

/* --imagenes' words, by IMAGENES_* less one. */
static const char* const NOMBRES_IMAGENES[3] = {"bmp", "png", "ambas"};

/* One option at argv[*i]; 1 when taken, 0 when refused. */
static int lee_opcion(int argc, char** argv, int* i, peticion* p) {
  int numerica = lee_opcion_numerica(argc, argv, i, p);
  if (numerica >= 0) return numerica;
  const char* v;
  if ((v = valor_de(argc, argv, i, "--limites"))) {
    p->limites = v;
    return *v != 0;
  }
  if ((v = valor_de(argc, argv, i, "--tramo"))) return *(p->eleccion.tramo = v) != 0;
  if ((v = valor_de(argc, argv, i, "--especie"))) return *(p->eleccion.especie = v) != 0;
  if ((v = valor_de(argc, argv, i, "--hoja"))) return *(p->eleccion.libro.hoja = v) != 0;
  if (strcmp(argv[*i], "--comprobar") == 0) return p->comprobar = 1;
  if (strcmp(argv[*i], "--diagnostico") == 0) return p->diagnostico = 1;
  if ((v = valor_de(argc, argv, i, "--tramos"))) return *(p->tramos = v) != 0;
  if ((v = valor_de(argc, argv, i, "--carpeta"))) return *(p->carpeta = v) != 0;
  if ((v = valor_de(argc, argv, i, "--formato"))) {
    if (strcmp(v, "es") == 0 || strcmp(v, "punto") == 0) return *(p->formato = v) != 0;
    rechaza("--formato: '%s' no es es ni punto", v);
    return 0;
  }
  if (strcmp(argv[*i], "--png") == 0) return p->imagenes = IMAGENES_AMBAS;
  if (strcmp(argv[*i], "--html") == 0) return p->html = 1;
  if ((v = valor_de(argc, argv, i, "--imagenes"))) {
    if (!*v) return 0;
    for (int k = 0; k < 3; k++)
      if (strcmp(v, NOMBRES_IMAGENES[k]) == 0) return p->imagenes = k + 1;
    rechaza("--imagenes: '%s' no es bmp, png ni ambas", v);
    return 0;
  }
  rechaza("opcion desconocida: %s (vea %s --help)", argv[*i], PROGRAMA);
  return 0;
}

/* Reads the command line; returns -1 to go on, else the exit status. */
static std::string orden;

std::string orden_ejecutada() { return orden; }

/* The command line as typed, for the page's inputs. */
static void anota_orden(int argc, char** argv) {
  orden = PROGRAMA;
  for (int i = 1; i < argc; i++) {
    // The workers change no figure, and the folder is where the page is: a
    // season gives the same page with any of them.
    int largo = 0;
    for (const char* sin : {"--hilos", "--carpeta"})
      if (strncmp(argv[i], sin, strlen(sin)) == 0 && (argv[i][strlen(sin)] == 0 || argv[i][strlen(sin)] == '=')) largo = (int)strlen(sin);
    if (largo) {
      i += argv[i][largo] == 0;
      continue;
    }
    std::string a = visible_de(argv[i]);
    int simple = !a.empty() && a.find_first_not_of("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789"
                                                   "-_.,/=+:@%") == std::string::npos;
    if (!simple) {
      std::string citado = "'";
      for (char c : a) citado += c == '\'' ? std::string("'\\''") : std::string(1, c);
      a = citado + "'";
    }
    orden += " " + a;
  }
}

static int lee_peticion(int argc, char** argv, peticion* p) {
  memset(p, 0, sizeof *p);
  anota_orden(argc, argv);
  const char* posicionales[2];
  int nposicionales = 0, solo_posicionales = 0;
  for (int i = 1; i < argc; i++) {
    const char* a = argv[i];
    if (!solo_posicionales && (strcmp(a, "--help") == 0 || strcmp(a, "-h") == 0)) {
      fputs(AYUDA, stdout);
      return 0;
    }
    if (!solo_posicionales && strcmp(a, "--version") == 0) {
      printf("%s %s\n", PROGRAMA, PASADAS_VERSION);
      return 0;
    }
    if (!solo_posicionales && strcmp(a, "--") == 0) {
      solo_posicionales = 1;
    } else if (!solo_posicionales && a[0] == '-' && a[1] != 0) {
      if (!lee_opcion(argc, argv, &i, p)) return SALIDA_OPCIONES;
    } else if (nposicionales < 2) {
      posicionales[nposicionales++] = a;
    } else {
      rechaza("sobra el argumento '%s' (uso: %s [opciones] DATOS INFORME)", a, PROGRAMA);
      return SALIDA_OPCIONES;
    }
  }
  if (p->tramos || p->carpeta) return peticion_de_campana(p, nposicionales ? posicionales[0] : nullptr);
  const char* solo_datos = p->comprobar ? "--comprobar" : p->diagnostico ? "--diagnostico" : nullptr;
  if (p->comprobar && p->diagnostico) {
    rechaza("--comprobar y --diagnostico no van juntos");
    return SALIDA_OPCIONES;
  }
  if (solo_datos && nposicionales == 2) {
    rechaza("sobra el argumento '%s' (uso: %s %s DATOS)", posicionales[1], PROGRAMA, solo_datos);
    return SALIDA_OPCIONES;
  }
  if (solo_datos && nposicionales == 1) {
    p->datos = posicionales[0];
    return -1;
  }
  if (nposicionales < 2) {
    rechaza("%s (uso: %s [opciones] DATOS INFORME; vea --help)",
            nposicionales ? "falta el INFORME" : "faltan DATOS e INFORME", PROGRAMA);
    return SALIDA_OPCIONES;
  }
  p->datos = posicionales[0];
  p->informe = posicionales[1];
  return -1;
}

/* The upper limits of --limites, in order; their number, or -1 (refused). */
static int lee_limites(const char* lista, float* limites, int capacidad, rechazo* r) {
  // "9.5,15" or, with decimal commas, "9,5;15"
  char separa = strchr(lista, ';') ? ';' : ',';
  int k = 0;
  const char* p = lista;
  for (;;) {
    const char* coma = strchr(p, separa);
    size_t largo = coma ? (size_t)(coma - p) : strlen(p);
    char trozo[64];
    if (largo == 0 || largo >= sizeof trozo) {
      rechazo_pon(r, "--limites: falta o sobra un limite en '%s'", lista);
      return -1;
    }
    memcpy(trozo, p, largo);
    trozo[largo] = 0;
    if (k == capacidad) {
      rechazo_pon(r, "--limites: mas de %d limites; el programa admite %d clases", capacidad, capacidad);
      return -1;
    }
    if (!numero_de_opcion("--limites", trozo, &limites[k], r)) return -1;
    float inferior = k ? limites[k - 1] : 0;
    if (!(limites[k] > inferior)) {
      rechazo_pon(r, "--limites: %s no es superior al limite anterior (%.2f)", trozo, inferior);
      return -1;
    }
    k++;
    if (!coma) return k;
    p = coma + 1;
  }
}

/* Classes from upper limits, one interval after another from 0, as the
   class screen gives them; the number of classes, or 0 (refused). */
static int clases_de_limites(const char* lista, int* clases, const float* longitudes, int n,
                             rechazo* r) {
  float limites[MAX_CLASES];
  int k = lee_limites(lista, limites, MAX_CLASES, r);
  if (k < 0) return 0;
  int asignados = 0;
  for (int j = 0; j < k; j++) {
    if (asignados == n) {
      rechazo_pon(r, "--limites: todos los peces tienen clase con %d limites; sobran los demas", j);
      return 0;
    }
    asignados += asigna_intervalo(clases, longitudes, n, j ? limites[j - 1] : 0, limites[j], j);
  }
  if (asignados < n) {
    rechazo_pon(r, "--limites: hay peces mas largos que el ultimo limite (%.2f cm)", limites[k - 1]);
    return 0;
  }
  return k;
}

/* The reader's refusal, without the screen's brackets; for a reach or
   species to choose, with the values the file holds. */
static void rechaza_lectura(const char* datos, char* mensaje, const descripcion_datos* d,
                            rechazo* r) {
  size_t largo = strlen(mensaje);
  if (largo >= 2 && mensaje[0] == '<' && mensaje[largo - 1] == '>') {  // the screen's brackets
    mensaje[largo - 1] = 0;
    mensaje++;
  }
  std::string texto = visible_de(datos) + ": " + utf8_de(mensaje);
  for (int j = 0; d->eleccion_fallida && j < 2; j++)
    if (d->columnas[j ? DATO_ESPECIE : DATO_TRAMO][0])
      texto += "; " + valores_de(j ? "especies" : "tramos", j ? &d->especies : &d->tramos);
  snprintf(r->texto, sizeof r->texto, "%s", texto.c_str());
}

FILE* abre_o_rechaza(const char* ruta, rechazo* r) {
  FILE* f;
  int abierto = abre_lectura(ruta, &f);
  if (abierto == FICHERO_NO_NORMAL)
    rechazo_pon(r, "\xc2\xab%s\xc2\xbb %s", ruta, NO_ES_NORMAL);  // the quotes in UTF-8, for the terminal
  else if (abierto != FICHERO_ABIERTO)
    rechazo_pon(r, "%s: no se puede abrir (%s)", ruta, strerror(errno));
  return f;
}

/* The request's data file read, or its reach taken from the season's one
   reading of it: as lee_muestra_descrita, or SIN_ABRIR with r saying why. */
static const int SIN_ABRIR = -2;
static int lee_fichero(const peticion* p, int* pasadas, float* longitudes, float* pesos,
                       int* clases, descripcion_datos* d, char* mensaje, int tam, rechazo* r) {
  int lee_clases = p->limites ? 0 : p->comprobar ? CLASES_SI_LAS_HAY : 1;
  if (p->rechazada) {
    memset(d, 0, sizeof *d);
    snprintf(mensaje, (size_t)tam, "%s", p->rechazada);
    return LECTURA_RECHAZADA;
  }
  if (p->guardada)
    return tabla_elige(p->guardada, lee_clases, &p->eleccion, d, pasadas, longitudes, pesos,
                       clases, mensaje, tam);
  FILE* f = abre_o_rechaza(p->datos, r);
  if (!f) return SIN_ABRIR;
  eleccion_datos e = p->eleccion;
  e.libro.fichero = p->datos;  // a name ending in .xlsx or .ods must be a workbook
  int n = lee_muestra_descrita(f, lee_clases, &e, d, pasadas, longitudes, pesos, clases, mensaje, tam);
  fclose(f);
  return n;
}

/* The sample: the built-in example or a data file. Its n, or 0 (refused);
   *con_clases tells whether the fish have classes. */
int lee_datos(const peticion* p, int* pasadas, float* longitudes, float* pesos, int* clases,
              descripcion_datos* d, int* con_clases, rechazo* r) {
  memset(d, 0, sizeof *d);  // what a file that is never read turned out to be: nothing
  if (strcmp(p->datos, "ejemplo") == 0) {
    if (p->limites) {
      rechazo_pon(r, "--limites: el ejemplo ya tiene sus clases de edad");
      return 0;
    }
    if (p->eleccion.tramo || p->eleccion.especie || p->eleccion.libro.hoja) {
      rechazo_pon(r, "%s", p->eleccion.libro.hoja ? "--hoja: el ejemplo no es un libro"
                                                  : "--tramo, --especie: el ejemplo no tiene tramos ni especies");
      return 0;
    }
    *con_clases = 1;
    copia_ejemplo(pasadas, longitudes, pesos, clases);
    return NUM_EJEMPLO;
  }
  char mensaje[LARGO_MENSAJE_LECTURA];
  int n = lee_fichero(p, pasadas, longitudes, pesos, clases, d, mensaje, sizeof mensaje, r);
  if (n == SIN_ABRIR) return 0;
  if (n == LECTURA_RECHAZADA) {
    rechaza_lectura(p->datos, mensaje, d, r);
    return 0;
  }
  if (n == 0) {
    rechazo_pon(r, "%s: no tiene ningun registro de pez", p->datos);
    return 0;
  }
  if (p->limites && !clases_de_limites(p->limites, clases, longitudes, n, r)) return 0;
  *con_clases = d->con_clases || p->limites;
  return n;
}

int pasadas_del_tramo(peticion* p, const descripcion_datos* d, int mayor, const char* opcion,
                      char* aviso, size_t tam, rechazo* r) {
  aviso[0] = 0;
  if (p->pasadas && p->pasadas < mayor) {  // its fish would count in no pass
    rechazo_pon(r, "%s %d: %s tiene peces de la pasada %d", opcion, p->pasadas, p->datos, mayor);
    return 0;
  }
  if (p->pasadas || d->pasadas_tramo <= mayor) return 1;
  // Another species of the reach was caught later: the reach was fished that
  // long, and this one's empty passes are part of its removal.
  p->pasadas = d->pasadas_tramo;
  const char* especie = p->eleccion.especie ? p->eleccion.especie : "la especie";
  char nombre[3 * LARGO_VALOR];
  texto_utf8(especie, strlen(especie), nombre, sizeof nombre);
  char vacias[40];
  if (p->pasadas == mayor + 1)
    snprintf(vacias, sizeof vacias, "la pasada %d", p->pasadas);
  else
    snprintf(vacias, sizeof vacias, "las pasadas %d a %d", mayor + 1, p->pasadas);
  snprintf(aviso, tam, "%s: sin peces en %s; se estima con las %d pasadas del tramo", nombre, vacias,
           p->pasadas);
  return 1;
}

/* Allegro without a display: the report draws only on its own images, so
   the fonts from datas.dat are all it needs. 0 when that file is missing. */
int prepara_allegro() {
  set_uformat(U_ASCII);
  senales_bloquea();  // any thread of Allegro's leaves an interruption to this one
  int instalado = install_allegro(SYSTEM_NONE, &errno, atexit) == 0;
  senales_desbloquea();
  if (!instalado) return 0;
  numeros_en_c();
  set_color_depth(32);
  datos = carga_fuentes();  // this command shows none of the images
  return datos != nullptr;
}

/* Why the report cannot be opened, on standard error. */
static void rechaza_apertura(const informe* inf, int abierto, rechazo* r) {
  if (abierto == INFORME_NOMBRE_LARGO)
    rechazo_pon(r, "%s: el nombre no cabe (informe de 163 caracteres, graficos de 111)", inf->nombre);
  else if (abierto == INFORME_AJENO && inf->fallido[0])
    rechazo_pon(r, "%s: no es un grafico de Pasadas; elija otro nombre para el informe", inf->fallido);
  else if (abierto == INFORME_AJENO)
    rechazo_pon(r, "%s: no es un informe de Pasadas; elija otro nombre", inf->nombre);
  else if (inf->fallido[0] && strcmp(inf->fallido, inf->nombre) != 0)
    rechazo_pon(r, "%s: no se puede crear el grafico; no se escribe nada", inf->fallido);
  else
    rechazo_pon(r, "%s: no se puede crear el informe", inf->nombre);
}

int escribe_informe_de(const peticion* p, int* pasadas, float* longitudes, float* pesos,
                       int* clases, int n, resultados_informe* resultados, informe* inf_hecho,
                       rechazo* r) {
  if (mismo_fichero(p->datos, p->informe)) {
    rechazo_pon(r, "%s: es el fichero de datos; el informe no lo sustituye", p->informe);
    return SALIDA_DATOS;
  }
  informe& inf = *inf_hecho;
  int abierto = informe_abre(&inf, p->informe, p->imagenes);
  if (abierto != INFORME_ABIERTO) {
    rechaza_apertura(&inf, abierto, r);
    return SALIDA_DATOS;
  }
  pasos_informe pasos = {1, nullptr, nullptr, 1};
  pasos.pasadas = p->pasadas;
  pasos.medidas[0] = p->medidas[1], pasos.medidas[1] = p->medidas[0], pasos.medidas[2] = p->medidas[2];
  pasos.linf = p->linf, pasos.meses = p->meses;  // without --linf, 0: no fit, as the window's mode 1
  std::unique_ptr<resultados_informe> propios;  // the page reads the figures the report was written from
  if (p->con_pagina && !resultados) propios.reset(new resultados_informe()), resultados = propios.get();
  pasos.resultados = resultados;
  int hasta = escribe_informe(&inf, pasadas, longitudes, pesos, clases, n, &pasos);
  if (hasta == INFORME_FUERA_DE_LIMITES) {
    informe_descarta(&inf);
    rechazo_pon(r, "%s: mas clases o pasadas de las que admite el programa", p->datos);
    return SALIDA_DATOS;
  }
  if (p->con_pagina &&
      !p->con_pagina(p->datos_pagina, &inf.ficheros, pasadas, longitudes, pesos, clases, n, resultados, r)) {
    informe_descarta(&inf);
    return SALIDA_DATOS;
  }
  if (!informe_cierra(&inf)) {
    rechazo_pon(r, "%s: no se ha podido escribir; no se ha guardado nada", inf.fallido);
    return SALIDA_DATOS;
  }
  return 0;
}

int temporal_texto(temporales* juego, const char* ruta, const std::string& texto) {
  FILE* f = temporal_abre(juego, ruta, "");
  if (!f) return 0;
  int bien = fwrite(texto.data(), 1, texto.size(), f) == texto.size();
  return temporal_cierra(juego, f) && bien;
}

/* ---- The report's page (--html) ---- */

struct pagina_unica {
  const peticion* p;
  char ruta[CAPACIDAD_RUTA];  /* INFORME's stem and ".html" */
};

/* The page's name: the report's up to its last extension, and ".html"; 0
   (refused, said) when it cannot be the page's. */
static int nombre_pagina(const peticion* p, char* ruta) {
  const char* barra = strrchr(p->informe, '/');
  const char* nombre = barra ? barra + 1 : p->informe;
  const char* punto = strrchr(nombre, '.');
  int raiz = (int)(punto && punto != nombre ? punto - p->informe : (long)strlen(p->informe));
  if (snprintf(ruta, CAPACIDAD_RUTA, "%.*s.html", raiz, p->informe) >= CAPACIDAD_RUTA) {
    rechaza("%s: el nombre de su pagina no cabe", p->informe);
    return 0;
  }
  if (strcmp(ruta, p->informe) == 0 || mismo_fichero(ruta, p->informe) || mismo_fichero(ruta, p->datos)) {
    rechaza("%s: la pagina se llamaria como el informe o los datos; elija otro nombre", ruta);
    return 0;
  }
  if (pagina_sustituible(ruta)) return 1;
  rechaza("%s: no es una pagina de Pasadas; elija otro nombre de informe", ruta);
  return 0;
}

/* Puts the report's page into its files, from the figures it was written from. */
static int pagina_de_un_informe(void* datos, temporales* juego, const int* pasadas, const float* longitudes,
                                const float* pesos, const int* clases, int n, const resultados_informe* r,
                                rechazo* motivo) {
  const pagina_unica* u = (const pagina_unica*)datos;
  const peticion* p = u->p;
  static diagnostico_muestra diagnostico;
  diagnostica_datos(clases, pasadas, n, r->poblacion.nclases, r->k, &r->poblacion, &diagnostico);
  std::string fichero = visible_de(p->datos);
  std::string tramo = p->eleccion.tramo ? visible_de(p->eleccion.tramo) : fichero;
  std::string especie = p->eleccion.especie ? visible_de(p->eleccion.especie) : "";
  char dados[DADOS_TRAMO][32];
  const float valores[DADOS_TRAMO] = {p->medidas[0], p->medidas[1], p->medidas[2], p->linf, p->meses};
  for (int k = 0; k < DADOS_TRAMO; k++)
    snprintf(dados[k], sizeof dados[k], valores[k] != 0 || (k == DADO_LINF && p->hay_linf) ? "%g" : "", valores[k]);
  tramo_resumen t = {tramo.c_str(), especie.c_str(), fichero.c_str(), "", "", 0, "", r, &diagnostico,
                     {dados[0], dados[1], dados[2], dados[3], dados[4]}, ""};
  char fecha[32], version[64];
  time_t hora = fecha_de_hoy(fecha, sizeof fecha);
  snprintf(version, sizeof version, "%s %s", PROGRAMA, PASADAS_VERSION);
  const acerca_resumen acerca = {"", version, fecha, hora};
  const dialecto_resumen* d = p->formato && strcmp(p->formato, "es") == 0 ? &DIALECTO_ES : &DIALECTO_PUNTO;
  muestra_pagina m = {pasadas, longitudes, pesos, clases, n};
  tramo_pagina tp = {&t, &m, &acerca, d, nullptr};
  if (temporal_texto(juego, u->ruta, pagina_de_informe(&tp, p->datos, orden_ejecutada()))) return 1;
  rechazo_pon(motivo, "%s: no se ha podido escribir; no se ha guardado nada", u->ruta);
  return 0;
}

void quita_ocultos_de(const char* carpeta, int (*propio)(const char*, const char*)) {
  int n = quita_ocultos(carpeta, propio);
  if (n == 1) printf("%s: se ha quitado 1 fichero oculto que dejo una ejecucion interrumpida\n", carpeta);
  if (n > 1) printf("%s: se han quitado %d ficheros ocultos que dejo una ejecucion interrumpida\n", carpeta, n);
}

/* Writes the report and says what was written; the exit status. */
static int escribe(const peticion* pedida, int* pasadas, float* longitudes, float* pesos, int* clases,
                   int n) {
  static informe inf;
  static pagina_unica pagina;
  peticion con_pagina = *pedida;
  const peticion* p = &con_pagina;
  if (pedida->html) {
    if (!nombre_pagina(pedida, pagina.ruta)) return SALIDA_DATOS;
    pagina.p = pedida;
    con_pagina.con_pagina = pagina_de_un_informe;
    con_pagina.datos_pagina = &pagina;
  }
  char ahora[3 * CAPACIDAD_RUTA], despues[3 * CAPACIDAD_RUTA];
  snprintf(ahora, sizeof ahora, "%s: interrumpido: no se ha guardado nada; %s y sus graficos quedan "
           "como estaban", PROGRAMA, p->informe);
  snprintf(despues, sizeof despues, "%s: interrumpido: %s y sus graficos ya estaban guardados",
           PROGRAMA, p->informe);
  const char* barra = strrchr(p->informe, '/');
  std::string carpeta = barra ? std::string(p->informe, (size_t)(barra - p->informe + 1)) : ".";
  quita_ocultos_de(carpeta.c_str(), oculto_propio);
  fflush(stdout);  // an interruption ends the program without emptying it
  interrupcion_avisa(ahora, despues);
  interrupcion_empieza();
  rechazo r;
  int salida = escribe_informe_de(p, pasadas, longitudes, pesos, clases, n, nullptr, &inf, &r);
  interrupcion_termina();
  if (salida) dice_rechazo(&r);
  if (salida) return salida;
  if (inf.sin_bertalanffy && !p->hay_linf)
    fprintf(stderr, "%s: aviso: sin --linf no se hace el ajuste de von Bertalanffy (seccion 9.1 "
            "con \"-\")\n", PROGRAMA);
  else if (inf.sin_bertalanffy)
    fprintf(stderr, "%s: aviso: Linf (%.2f) es menor que el pez mas largo (%.2f cm); no se hace "
            "el ajuste de von Bertalanffy (seccion 9.1 con \"-\")\n", PROGRAMA, p->linf,
            inf.mayor_longitud);
  printf("Informe: %s\nGraficos:", p->informe);
  for (int d : {4, 2, 1, 3}) {
    char imagen[CAPACIDAD_RUTA];
    nombre_imagen(&inf, d, imagen, sizeof imagen);
    printf(" %s", imagen);
  }
  if (p->html) printf("\nPagina: %s", pagina.ruta);
  if (inf.total_valido)
    printf("\nPoblacion estimada (muestra completa): %d peces, intervalo del 95%%: %d - %d\n",
           inf.N_total, n, inf.sup_total);
  else
    printf("\nPoblacion estimada (muestra completa): estimacion fallida, %d peces capturados\n", n);
  return 0;
}

/* The second opinion on every estimate, on standard output; the exit status. */
static int diagnostica(const peticion* p, const int* clases, const int* pasadas, int n, int mayor) {
  int k = p->pasadas > mayor ? p->pasadas : mayor;
  if (escribe_diagnostico(stdout, p->datos, clases, pasadas, n, numero_clases(clases, n), k)) return 0;
  rechaza("%s: mas clases o pasadas de las que admite el programa", p->datos);
  return SALIDA_DATOS;
}

/* What was read, so that a script sees every fish counted, over every pass fished. */
static void dice_leidos(const recuento_pasadas* r, int n, int npasadas, const char* aviso) {
  printf("peces leidos: %d (", n);
  int hasta = npasadas > r->mayor ? npasadas : r->mayor;
  for (int k = 1; k <= hasta; k++) printf("%spasada %d: %d", k > 1 ? ", " : "", k, r->peces[k]);
  printf(")\n");
  if (aviso[0]) printf("%s\n", aviso);
}

int main(int argc, char** argv) {
  argumentos_utf8(&argc, &argv);
  salidas_binarias();
  peticion p;
  int salida = lee_peticion(argc, argv, &p);
  if (salida >= 0) return salida;
  if (p.tramos) return campana(&p);
  static int pasadas[MAX_PECES], clases[MAX_PECES];
  static float longitudes[MAX_PECES], pesos[MAX_PECES];
  static descripcion_datos d;
  rechazo motivo;
  int con_clases = 0;
  int n = lee_datos(&p, pasadas, longitudes, pesos, clases, &d, &con_clases, &motivo);
  recuento_pasadas r = cuenta_pasadas(pasadas, n);
  char aviso[LARGO_AVISO_PASADAS];
  if (n == 0 || !pasadas_del_tramo(&p, &d, r.mayor, "--pasadas", aviso, sizeof aviso, &motivo)) {
    dice_rechazo(&motivo);
    return SALIDA_DATOS;
  }
  if (p.diagnostico) return diagnostica(&p, clases, pasadas, n, r.mayor);
  if (p.comprobar) {
    comprueba_muestra(p.datos, &d, &r, pasadas, longitudes, pesos, con_clases ? clases : nullptr, n,
                      p.pasadas, aviso);
    return 0;
  }
  dice_leidos(&r, n, p.pasadas, aviso);
  if (!p.pasadas) p.pasadas = r.mayor;  // the report takes it from here
  if (!prepara_allegro()) {
    char motivo[3 * CAPACIDAD_RUTA_RECURSOS];
    motivo_sin_recursos(motivo, sizeof motivo);
    rechaza("%s", motivo);
    return SALIDA_DATOS;
  }
  salida = escribe(&p, pasadas, longitudes, pesos, clases, n);
  descarga_fuentes();
  return salida;
}
