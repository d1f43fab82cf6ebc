// Generates the raw resources of Pasadas: four bitmap fonts rasterised from
// DejaVu Sans (GRX .fnt) and the two title cards and the help diagram (BMP).
// empaquetar.cmake then packs them with Allegro's dat tool into datas.dat.
// It also draws the desktop menu's icon, pasadas48.png and pasadas256.png.
#include <allegro.h>
#include <loadpng.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

// One range 32..255 keeps the font a single Allegro glyph range; 127..159
// have no Latin-1 glyph and become blanks.
const int PRIMER_CODIGO = 32;
const int ULTIMO_CODIGO = 255;
const int NUM_GLIFOS = ULTIMO_CODIGO - PRIMER_CODIGO + 1;
const int NUM_FUENTES = 4;
// text_height() of each font; the program's layout is built on these.
const int ALTOS_FUENTE[NUM_FUENTES] = {15, 19, 26, 11};
const char *NOMBRES_FUENTE[NUM_FUENTES] = {
    "fuente0_celdas.fnt", "fuente1_cabeceras.fnt",
    "fuente2_titulos.fnt", "fuente3_ejes.fnt"};
const char *NOMBRE_PORTADA2 = "imagen4_portada2.bmp";
const char *NOMBRE_PORTADA1 = "imagen5_portada1.bmp";
const char *NOMBRE_AYUDA = "imagen6_ayuda.bmp";

const long MAGIA_GRX = 0x19590214L;
const int TAM_CABECERA_GRX = 56;

struct Glifo {
    int ancho;
    std::vector<unsigned char> pix;   // ancho x alto, 1 = ink
};

FT_Library biblioteca_ft;
FT_Face cara_normal;
FT_Face cara_negrita;
FONT *fuentes[NUM_FUENTES];

[[noreturn]] void fallar(const std::string &mensaje)
{
    std::fprintf(stderr, "hacer_recursos: %s\n", mensaje.c_str());
    std::exit(1);
}

// The sources are UTF-8, Allegro runs in U_ASCII with Latin-1 bytes.
std::string latin1(const char *utf8)
{
    std::string salida;
    for (const unsigned char *p = (const unsigned char *)utf8; *p; p++) {
        if (*p < 0x80) {
            salida += (char)*p;
        } else if ((*p == 0xC2 || *p == 0xC3) && (p[1] & 0xC0) == 0x80) {
            salida += (char)(((*p & 0x03) << 6) | (p[1] & 0x3F));
            p++;
        } else {
            fallar(std::string("texto fuera de Latin-1: ") + utf8);
        }
    }
    return salida;
}

bool codigo_tiene_glifo(int codigo)
{
    return codigo <= 126 || codigo >= 160;
}

// ---------------------------------------------------------------- fonts --

bool cargar_mono(FT_Face cara, int codigo)
{
    FT_UInt indice = FT_Get_Char_Index(cara, codigo);
    return FT_Load_Glyph(cara, indice, FT_LOAD_RENDER | FT_LOAD_TARGET_MONO) == 0;
}

// Largest ink extent above and below the baseline over every glyph, so a
// size is only accepted when nothing (Á, Ç, |, ÿ) gets clipped.
void medir_extension(FT_Face cara, int tam_px, int *sobre, int *bajo)
{
    FT_Set_Pixel_Sizes(cara, 0, tam_px);
    *sobre = 0;
    *bajo = 0;
    for (int c = PRIMER_CODIGO; c <= ULTIMO_CODIGO; c++) {
        if (!codigo_tiene_glifo(c) || !cargar_mono(cara, c))
            continue;
        FT_GlyphSlot g = cara->glyph;
        if (g->bitmap.rows == 0)
            continue;
        if (g->bitmap_top > *sobre)
            *sobre = g->bitmap_top;
        if ((int)g->bitmap.rows - g->bitmap_top > *bajo)
            *bajo = (int)g->bitmap.rows - g->bitmap_top;
    }
}

int elegir_tamano(FT_Face cara, int alto, int *linea_base)
{
    for (int tam = alto; tam >= 4; tam--) {
        int sobre, bajo;
        medir_extension(cara, tam, &sobre, &bajo);
        if (sobre + bajo <= alto) {
            // Spare rows go mostly above: accents then breathe and the
            // x-height sits near the middle of a table cell.
            *linea_base = sobre + (alto - sobre - bajo + 1) / 2;
            return tam;
        }
    }
    fallar("ninguna talla cabe en la altura pedida");
}

int ancho_avance(FT_GlyphSlot g)
{
    return (int)((g->advance.x + 32) >> 6);
}

// Cell width is the advance; a glyph whose ink pokes out on either side
// (j, ÿ at small sizes) is shifted or widened rather than cut.
void rasterizar_glifo(FT_Face cara, int codigo, int alto, int linea_base, Glifo *gl)
{
    if (!cargar_mono(cara, codigo))
        fallar("FreeType no pudo cargar un glifo");
    FT_GlyphSlot g = cara->glyph;
    int x0 = g->bitmap_left < 0 ? 0 : g->bitmap_left;
    int ancho = ancho_avance(g);
    if (x0 + (int)g->bitmap.width > ancho)
        ancho = x0 + (int)g->bitmap.width;
    gl->ancho = ancho < 1 ? 1 : ancho;
    gl->pix.assign(gl->ancho * alto, 0);
    for (int f = 0; f < (int)g->bitmap.rows; f++) {
        int y = linea_base - g->bitmap_top + f;
        if (y < 0 || y >= alto)
            continue;
        const unsigned char *fila = g->bitmap.buffer + f * g->bitmap.pitch;
        for (int col = 0; col < (int)g->bitmap.width; col++)
            if (fila[col >> 3] & (0x80 >> (col & 7)))
                gl->pix[y * gl->ancho + x0 + col] = 1;
    }
}

void escribir_palabra(FILE *f, int valor)
{
    std::fputc(valor & 0xFF, f);
    std::fputc((valor >> 8) & 0xFF, f);
}

void escribir_doble(FILE *f, long valor)
{
    escribir_palabra(f, (int)(valor & 0xFFFF));
    escribir_palabra(f, (int)((valor >> 16) & 0xFFFF));
}

int bytes_glifo(const Glifo &gl, int alto)
{
    return (gl.ancho + 7) / 8 * alto;
}

void escribir_cabecera_grx(FILE *f, const Glifo *glifos, int alto, int linea_base)
{
    long tam_datos = 0;
    int ancho_max = 0;
    for (int i = 0; i < NUM_GLIFOS; i++) {
        tam_datos += bytes_glifo(glifos[i], alto);
        if (glifos[i].ancho > ancho_max)
            ancho_max = glifos[i].ancho;
    }
    escribir_doble(f, MAGIA_GRX);
    escribir_doble(f, tam_datos);
    escribir_palabra(f, ancho_max);
    escribir_palabra(f, alto);
    escribir_palabra(f, PRIMER_CODIGO);
    escribir_palabra(f, ULTIMO_CODIGO);
    escribir_palabra(f, 0);            // proportional: a width table follows
    escribir_palabra(f, 0);
    escribir_palabra(f, linea_base);
    escribir_palabra(f, 1);            // underline thickness
    char nombres[32] = "DejaVuSans";
    std::fwrite(nombres, 1, sizeof nombres, f);
}

// GRX rows are packed MSB first, each row padded to a whole byte.
void escribir_grx(const std::string &ruta, const Glifo *glifos, int alto, int linea_base)
{
    FILE *f = std::fopen(ruta.c_str(), "wb");
    if (!f)
        fallar("no se puede escribir " + ruta);
    escribir_cabecera_grx(f, glifos, alto, linea_base);
    for (int i = 0; i < NUM_GLIFOS; i++)
        escribir_palabra(f, glifos[i].ancho);
    for (int i = 0; i < NUM_GLIFOS; i++) {
        const Glifo &gl = glifos[i];
        for (int y = 0; y < alto; y++)
            for (int b = 0; b < (gl.ancho + 7) / 8; b++) {
                int byte = 0;
                for (int k = 0; k < 8 && b * 8 + k < gl.ancho; k++)
                    if (gl.pix[y * gl.ancho + b * 8 + k])
                        byte |= 0x80 >> k;
                std::fputc(byte, f);
            }
    }
    if (std::fclose(f) != 0)
        fallar("error al cerrar " + ruta);
}

void hacer_fuente(const std::string &dir, int n)
{
    int alto = ALTOS_FUENTE[n];
    int linea_base;
    int tam = elegir_tamano(cara_normal, alto, &linea_base);
    static Glifo glifos[NUM_GLIFOS];
    FT_Set_Pixel_Sizes(cara_normal, 0, tam);
    int ancho_espacio = 1;
    for (int i = 0; i < NUM_GLIFOS; i++) {
        int c = PRIMER_CODIGO + i;
        if (codigo_tiene_glifo(c)) {
            rasterizar_glifo(cara_normal, c, alto, linea_base, &glifos[i]);
            if (c == ' ')
                ancho_espacio = glifos[i].ancho;
        } else {
            glifos[i].ancho = ancho_espacio;
            glifos[i].pix.assign(ancho_espacio * alto, 0);
        }
    }
    escribir_grx(dir + "/" + NOMBRES_FUENTE[n], glifos, alto, linea_base);
    std::printf("fuente %d: %d px FreeType, alto %d, linea base %d\n",
                n, tam, alto, linea_base);
}

// ------------------------------------------------------ drawing helpers --

// Antialiased FreeType text for the big titles, which no bitmap font covers.
int ancho_suave(FT_Face cara, int tam_px, const std::string &texto)
{
    FT_Set_Pixel_Sizes(cara, 0, tam_px);
    int ancho = 0;
    for (unsigned char c : texto)
        if (FT_Load_Char(cara, c, FT_LOAD_DEFAULT) == 0)
            ancho += ancho_avance(cara->glyph);
    return ancho;
}

int mezclar(int fondo, int color, int alfa)
{
    int r = (getr32(fondo) * (255 - alfa) + getr32(color) * alfa) / 255;
    int g = (getg32(fondo) * (255 - alfa) + getg32(color) * alfa) / 255;
    int b = (getb32(fondo) * (255 - alfa) + getb32(color) * alfa) / 255;
    return makecol32(r, g, b);
}

void pintar_gris(BITMAP *bmp, const FT_Bitmap &mapa, int x, int y, int color)
{
    for (int f = 0; f < (int)mapa.rows; f++)
        for (int c = 0; c < (int)mapa.width; c++) {
            int alfa = mapa.buffer[f * mapa.pitch + c];
            if (alfa == 0 || x + c < 0 || y + f < 0 || x + c >= bmp->w || y + f >= bmp->h)
                continue;
            int fondo = getpixel(bmp, x + c, y + f);
            putpixel(bmp, x + c, y + f, mezclar(fondo, color, alfa));
        }
}

void texto_suave_centrado(BITMAP *bmp, FT_Face cara, int tam_px, int cx, int y_base,
                          const std::string &texto, int color)
{
    int x = cx - ancho_suave(cara, tam_px, texto) / 2;
    for (unsigned char c : texto) {
        if (FT_Load_Char(cara, c, FT_LOAD_RENDER) != 0)
            continue;
        FT_GlyphSlot g = cara->glyph;
        pintar_gris(bmp, g->bitmap, x + g->bitmap_left, y_base - g->bitmap_top, color);
        x += ancho_avance(g);
    }
}

void texto_centrado(BITMAP *bmp, int n_fuente, int cx, int y, const char *utf8, int color)
{
    textout_centre_ex(bmp, fuentes[n_fuente], latin1(utf8).c_str(), cx, y, color, -1);
}

void texto_izq(BITMAP *bmp, int n_fuente, int x, int y, const char *utf8, int color)
{
    textout_ex(bmp, fuentes[n_fuente], latin1(utf8).c_str(), x, y, color, -1);
}

int ancho_texto(int n_fuente, const char *utf8)
{
    return text_length(fuentes[n_fuente], latin1(utf8).c_str());
}

void linea_gruesa(BITMAP *bmp, int x1, int y1, int x2, int y2, int color)
{
    line(bmp, x1, y1, x2, y2, color);
    if (std::abs(x2 - x1) > std::abs(y2 - y1))
        line(bmp, x1, y1 + 1, x2, y2 + 1, color);
    else
        line(bmp, x1 + 1, y1, x2 + 1, y2, color);
}

const int LARGO_PUNTA = 9;
const int MEDIO_ANCHO_PUNTA = 5;

void flecha(BITMAP *bmp, int x1, int y1, int x2, int y2, int color)
{
    double ang = std::atan2(y2 - y1, x2 - x1);
    double bx = x2 - LARGO_PUNTA * std::cos(ang), by = y2 - LARGO_PUNTA * std::sin(ang);
    double px = -std::sin(ang) * MEDIO_ANCHO_PUNTA, py = std::cos(ang) * MEDIO_ANCHO_PUNTA;
    linea_gruesa(bmp, x1, y1, (int)std::lround(bx), (int)std::lround(by), color);
    triangle(bmp, x2, y2, (int)std::lround(bx + px), (int)std::lround(by + py),
             (int)std::lround(bx - px), (int)std::lround(by - py), color);
}

void marco(BITMAP *bmp, int x, int y, int w, int h, int relleno, int borde)
{
    rectfill(bmp, x, y, x + w - 1, y + h - 1, relleno);
    rect(bmp, x, y, x + w - 1, y + h - 1, borde);
    rect(bmp, x + 1, y + 1, x + w - 2, y + h - 2, borde);
}

// ------------------------------------------------------------- images --

void guardar(BITMAP *bmp, const std::string &ruta)
{
    if (save_bitmap(ruta.c_str(), bmp, nullptr) != 0)
        fallar("no se puede guardar " + ruta);
    destroy_bitmap(bmp);
}

BITMAP *lienzo(int w, int h, int fondo)
{
    BITMAP *bmp = create_bitmap(w, h);
    if (!bmp)
        fallar("sin memoria para un mapa de bits");
    clear_to_color(bmp, fondo);
    return bmp;
}

// A river band: wavy strip between two sine curves, drawn column by column.
void banda_ondulada(BITMAP *bmp, int y_centro, int grosor, double amplitud,
                    double periodo, double fase, int color)
{
    for (int x = 0; x < bmp->w; x++) {
        double y = y_centro + amplitud * std::sin(2 * M_PI * x / periodo + fase);
        vline(bmp, x, (int)std::lround(y), (int)std::lround(y) + grosor, color);
    }
}

void dibujar_rio(BITMAP *bmp, int y_superior)
{
    banda_ondulada(bmp, y_superior, bmp->h, 6, 260, 0.0, makecol(200, 225, 245));
    banda_ondulada(bmp, y_superior + 18, bmp->h, 5, 210, 1.3, makecol(140, 190, 230));
    banda_ondulada(bmp, y_superior + 38, bmp->h, 4, 170, 2.1, makecol(60, 120, 190));
}

// Simple side-view fish facing right; size is the body length.
void dibujar_pez(BITMAP *bmp, int cx, int cy, int largo, int color, int color_ojo)
{
    int medio_alto = largo / 4;
    int cola_x = cx - largo / 2;
    ellipsefill(bmp, cx, cy, largo / 2, medio_alto, color);
    triangle(bmp, cola_x + largo / 10, cy, cola_x - largo / 4, cy - medio_alto,
             cola_x - largo / 4, cy + medio_alto, color);
    triangle(bmp, cx - largo / 8, cy - medio_alto + 1, cx + largo / 8, cy - medio_alto + 1,
             cx - largo / 6, cy - medio_alto - largo / 7, color);
    circlefill(bmp, cx + largo / 3, cy - largo / 14, largo / 22 + 1, color_ojo);
}

const int PORTADA_W = 700;
const int PORTADA_H = 400;
const int TAM_TITULO_PORTADA = 84;

void hacer_portada1(const std::string &dir)
{
    const int azul_oscuro = makecol(20, 60, 120);
    BITMAP *bmp = lienzo(PORTADA_W, PORTADA_H, makecol(255, 255, 255));
    dibujar_rio(bmp, 300);
    for (int i = 0; i < 3; i++)
        dibujar_pez(bmp, 230 + i * 120, 350 + (i % 2) * 12, 56 - i * 8,
                    makecol(235, 245, 255), makecol(20, 60, 120));
    texto_suave_centrado(bmp, cara_negrita, TAM_TITULO_PORTADA, PORTADA_W / 2, 150,
                         latin1("Pasadas"), azul_oscuro);
    hline(bmp, 170, 178, PORTADA_W - 170, makecol(60, 120, 190));
    texto_centrado(bmp, 1, PORTADA_W / 2, 196,
                   "Estimación de poblaciones de peces", makecol(30, 30, 30));
    texto_centrado(bmp, 1, PORTADA_W / 2, 220,
                   "por el método de pasadas sucesivas", makecol(30, 30, 30));
    texto_centrado(bmp, 0, PORTADA_W / 2, 260,
                   "Frecuencias · Zippin · Densidad y biomasa · Crecimiento",
                   makecol(90, 90, 90));
    guardar(bmp, dir + "/" + NOMBRE_PORTADA1);
}

// Three passes with shrinking catches: the depletion the method relies on.
void dibujar_capturas(BITMAP *bmp, int y_base)
{
    const int peces_por_pasada[3] = {6, 3, 1};
    const char *etiquetas[3] = {"1ª pasada", "2ª pasada", "3ª pasada"};
    const int ancho_columna = 200;
    const int x_inicio = (PORTADA_W - 3 * ancho_columna) / 2;
    for (int p = 0; p < 3; p++) {
        int cx = x_inicio + p * ancho_columna + ancho_columna / 2;
        for (int k = 0; k < peces_por_pasada[p]; k++) {
            int fila = k / 2, col = k % 2;
            bool solo_en_fila = k == peces_por_pasada[p] - 1 && col == 0;
            int x = solo_en_fila ? cx : cx - 35 + col * 70;
            dibujar_pez(bmp, x, y_base - 20 - fila * 38, 52,
                        makecol(60, 120, 190), makecol(255, 255, 255));
        }
        hline(bmp, cx - 80, y_base, cx + 80, makecol(120, 120, 120));
        texto_centrado(bmp, 0, cx, y_base + 8, etiquetas[p], makecol(40, 40, 40));
    }
}

void hacer_portada2(const std::string &dir)
{
    const int azul_oscuro = makecol(20, 60, 120);
    BITMAP *bmp = lienzo(PORTADA_W, PORTADA_H, makecol(255, 255, 255));
    rectfill(bmp, 0, 0, PORTADA_W - 1, 8, makecol(60, 120, 190));
    rectfill(bmp, 0, PORTADA_H - 9, PORTADA_W - 1, PORTADA_H - 1, makecol(60, 120, 190));
    texto_suave_centrado(bmp, cara_negrita, 40, PORTADA_W / 2, 70,
                         latin1("Pasadas"), azul_oscuro);
    texto_centrado(bmp, 1, PORTADA_W / 2, 88,
                   "Muestreo por pesca eléctrica en pasadas sucesivas", makecol(30, 30, 30));
    dibujar_capturas(bmp, 290);
    texto_centrado(bmp, 0, PORTADA_W / 2, 340,
                   "Cada pasada captura menos peces: de esa caída se estima la población",
                   makecol(90, 90, 90));
    guardar(bmp, dir + "/" + NOMBRE_PORTADA2);
}

// ------------------------------------------------------- help diagram --

const int AYUDA_W = 840;
const int AYUDA_H = 440;
const int ALTO_LINEA = 16;       // font 0 plus one pixel of leading
const int RELLENO_CAJA = 5;

int color_borde, color_menu, color_opcion, color_nota, color_texto, color_flecha;

void iniciar_colores()
{
    color_borde = makecol(40, 80, 140);
    color_menu = makecol(200, 222, 245);
    color_opcion = makecol(255, 255, 255);
    color_nota = makecol(90, 90, 90);
    color_texto = makecol(0, 0, 0);
    color_flecha = makecol(40, 80, 140);
}

// Box with a main label in font 0 and an optional grey note line below;
// returns the box height so callers can stack boxes.
int caja_opcion(BITMAP *bmp, int x, int y, int w, const char *rotulo, const char *nota)
{
    int h = 2 * RELLENO_CAJA + ALTO_LINEA + (nota ? ALTO_LINEA : 0);
    marco(bmp, x, y, w, h, color_opcion, color_borde);
    texto_izq(bmp, 0, x + 2 * RELLENO_CAJA, y + RELLENO_CAJA, rotulo, color_texto);
    if (nota)
        texto_izq(bmp, 0, x + 2 * RELLENO_CAJA, y + RELLENO_CAJA + ALTO_LINEA, nota, color_nota);
    return h;
}

void caja_menu(BITMAP *bmp, int x, int y, int w, const char *rotulo)
{
    marco(bmp, x, y, w, ALTOS_FUENTE[1] + 2 * RELLENO_CAJA, color_menu, color_borde);
    texto_centrado(bmp, 1, x + w / 2, y + RELLENO_CAJA, rotulo, color_texto);
}

const int CARGA_X = 12, CARGA_W = 275, CARGA_Y = 10;
const int CARGA_OPC_X = 40, CARGA_OPC_W = CARGA_W + CARGA_X - 40;
const int CLASES_X = 330, CLASES_W = 175;
const int CALCULO_X = 545, CALCULO_W = 285, CALCULO_Y = 10;
const int SEPARACION = 10;
const int ALTO_MENU = 19 + 2 * RELLENO_CAJA;

// Left side: the loading menu, its five choices hanging from a trunk line.
// Fills y_opciones with the vertical middle of each choice box.
void dibujar_menu_carga(BITMAP *bmp, int y_opciones[5])
{
    const char *rotulos[5] = {"Cargar datos con clases de edad",
                              "Cargar datos y establecer clases",
                              "Utilizar ejemplo", "Ayuda", "Salir"};
    const char *notas[5] = {"fichero: Pasada Longitud Peso Clase",
                            "fichero: Pasada Longitud Peso",
                            "38 peces, 3 pasadas", "este diagrama", nullptr};
    caja_menu(bmp, CARGA_X, CARGA_Y, CARGA_W, "Menu de carga");
    int tronco_x = CARGA_X + 14;
    int y = CARGA_Y + ALTO_MENU + 2 * SEPARACION;
    for (int i = 0; i < 5; i++) {
        int h = caja_opcion(bmp, CARGA_OPC_X, y, CARGA_OPC_W, rotulos[i], notas[i]);
        y_opciones[i] = y + h / 2;
        flecha(bmp, tronco_x, y_opciones[i], CARGA_OPC_X - 1, y_opciones[i], color_flecha);
        y += h + 2 * SEPARACION;
    }
    linea_gruesa(bmp, tronco_x, CARGA_Y + ALTO_MENU, tronco_x, y_opciones[4], color_flecha);
}

// In the order the calculation menu shows its entries.
const char *ROTULOS_CALCULO[9] = {
    "Menu de carga", "Frecuencias relativas", "Calculo poblacional",
    "Longitudes y pesos medios", "Densidad poblacional y biomasa", "Relaciones biometricas",
    "Crecimiento (Longitud=f(edad))", "Exportar resultados", "Salir"};
const char *NOTAS_CALCULO[9] = {
    "vuelve a cargar otra muestra", nullptr, nullptr, nullptr, nullptr, nullptr,
    "Von Bertalanffy / Ajuste Polinomial", "informe + 4 imagenes BMP", nullptr};

// Right side: the calculation menu; returns the y of its header middle.
int dibujar_menu_calculo(BITMAP *bmp)
{
    caja_menu(bmp, CALCULO_X, CALCULO_Y, CALCULO_W, "Menu de calculo");
    int tronco_x = CALCULO_X + 14;
    int opc_x = CALCULO_X + 40, opc_w = CALCULO_W - 40;
    int y = CALCULO_Y + ALTO_MENU + SEPARACION;
    int y_ultima = y;
    for (int i = 0; i < 9; i++) {
        int h = caja_opcion(bmp, opc_x, y, opc_w, ROTULOS_CALCULO[i], NOTAS_CALCULO[i]);
        y_ultima = y + h / 2;
        flecha(bmp, tronco_x, y_ultima, opc_x - 1, y_ultima, color_flecha);
        y += h + SEPARACION / 2;
    }
    linea_gruesa(bmp, tronco_x, CALCULO_Y + ALTO_MENU, tronco_x, y_ultima, color_flecha);
    return CALCULO_Y + ALTO_MENU / 2;
}

// Middle: the age-class screen reached only from the second loading choice.
void dibujar_clases(BITMAP *bmp, int y_medio)
{
    int h = 2 * RELLENO_CAJA + 2 * ALTO_LINEA;
    int y = y_medio - h / 2;
    marco(bmp, CLASES_X, y, CLASES_W, h, color_menu, color_borde);
    texto_izq(bmp, 0, CLASES_X + 2 * RELLENO_CAJA, y + RELLENO_CAJA, "Clases de edad", color_texto);
    texto_izq(bmp, 0, CLASES_X + 2 * RELLENO_CAJA, y + RELLENO_CAJA + ALTO_LINEA,
              "histograma + intervalos", color_nota);
    flecha(bmp, CARGA_OPC_X + CARGA_OPC_W, y_medio, CLASES_X - 1, y_medio, color_flecha);
}

// The three ways to get a sample join a collector line that feeds the
// calculation menu.
void unir_con_calculo(BITMAP *bmp, const int y_opciones[5], int y_calculo)
{
    const int colector_x = CLASES_X + CLASES_W + 18;
    const int fin_carga = CARGA_OPC_X + CARGA_OPC_W;
    int y_clases = y_opciones[1];
    linea_gruesa(bmp, fin_carga, y_opciones[0], colector_x, y_opciones[0], color_flecha);
    linea_gruesa(bmp, fin_carga, y_opciones[2], colector_x, y_opciones[2], color_flecha);
    linea_gruesa(bmp, CLASES_X + CLASES_W, y_clases, colector_x, y_clases, color_flecha);
    linea_gruesa(bmp, colector_x, y_calculo, colector_x, y_opciones[2], color_flecha);
    flecha(bmp, colector_x, y_calculo, CALCULO_X - 1, y_calculo, color_flecha);
}

void hacer_ayuda(const std::string &dir)
{
    iniciar_colores();
    BITMAP *bmp = lienzo(AYUDA_W, AYUDA_H, makecol(242, 244, 247));
    int y_opciones[5];
    dibujar_menu_carga(bmp, y_opciones);
    int y_calculo = dibujar_menu_calculo(bmp);
    dibujar_clases(bmp, y_opciones[1]);
    unir_con_calculo(bmp, y_opciones, y_calculo);
    hline(bmp, 12, AYUDA_H - 32, AYUDA_W - 13, makecol(170, 170, 170));
    texto_centrado(bmp, 0, AYUDA_W / 2, AYUDA_H - 24,
                   "ENTER: aceptar      ESC: salir del programa      Flechas: mover",
                   color_texto);
    guardar(bmp, dir + "/" + NOMBRE_AYUDA);
}

// ---------------------------------------------------------- menu icon --

// The desktop menu's icon: a fish over the river on a rounded blue tile.
// Drawn four times larger and averaged down, so its edges are smooth at
// 48 pixels too; the corners outside the tile are transparent.
const int SUPERMUESTREO = 4;

BITMAP *dibujar_loseta(int lado)
{
    BITMAP *bmp = lienzo(lado, lado, makecol(20, 60, 120));
    banda_ondulada(bmp, lado * 66 / 100, lado, lado / 40.0, lado * 0.6, 0.0,
                   makecol(60, 120, 190));
    banda_ondulada(bmp, lado * 80 / 100, lado, lado / 50.0, lado * 0.45, 1.3,
                   makecol(140, 190, 230));
    int largo = lado * 52 / 100;
    dibujar_pez(bmp, lado / 2 + largo / 8, lado * 44 / 100, largo,
                makecol(255, 255, 255), makecol(20, 60, 120));
    return bmp;
}

// Inside the tile: a square with a margin and rounded corners.
bool en_loseta(int x, int y, int lado)
{
    int margen = lado / 24, radio = lado * 18 / 100;
    int cx = std::min(std::max(x, margen + radio), lado - 1 - margen - radio);
    int cy = std::min(std::max(y, margen + radio), lado - 1 - margen - radio);
    return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= radio * radio;
}

void hacer_icono(const std::string &dir, int lado)
{
    int grande = lado * SUPERMUESTREO;
    BITMAP *dibujo = dibujar_loseta(grande);
    BITMAP *icono = lienzo(lado, lado, 0);
    for (int y = 0; y < lado; y++)
        for (int x = 0; x < lado; x++) {
            int r = 0, g = 0, b = 0, dentro = 0;
            for (int j = 0; j < SUPERMUESTREO; j++)
                for (int i = 0; i < SUPERMUESTREO; i++) {
                    int gx = x * SUPERMUESTREO + i, gy = y * SUPERMUESTREO + j;
                    if (!en_loseta(gx, gy, grande))
                        continue;
                    int c = getpixel(dibujo, gx, gy);
                    r += getr32(c), g += getg32(c), b += getb32(c), dentro++;
                }
            int alfa = 255 * dentro / (SUPERMUESTREO * SUPERMUESTREO);
            if (dentro)
                putpixel(icono, x, y, makeacol32(r / dentro, g / dentro, b / dentro, alfa));
        }
    destroy_bitmap(dibujo);
    std::string ruta = dir + "/pasadas" + std::to_string(lado) + ".png";
    if (save_png(ruta.c_str(), icono, nullptr) != 0)
        fallar("no se puede guardar " + ruta);
    destroy_bitmap(icono);
}

// --------------------------------------------------------------- main --

FT_Face abrir_cara(const std::string &ruta)
{
    FT_Face cara;
    if (FT_New_Face(biblioteca_ft, ruta.c_str(), 0, &cara) != 0)
        fallar("no se puede abrir " + ruta);
    return cara;
}

void cargar_fuentes(const std::string &dir)
{
    for (int n = 0; n < NUM_FUENTES; n++) {
        std::string ruta = dir + "/" + NOMBRES_FUENTE[n];
        fuentes[n] = load_font(ruta.c_str(), nullptr, nullptr);
        if (!fuentes[n])
            fallar("Allegro no reconoce " + ruta);
        if (text_height(fuentes[n]) != ALTOS_FUENTE[n])
            fallar("altura inesperada en " + ruta);
    }
}

int main(int argc, char **argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "uso: hacer_recursos DIR_SALIDA DIR_FUENTES_DEJAVU\n");
        return 2;
    }
    std::string dir = argv[1], dir_fuentes = argv[2];
    if (FT_Init_FreeType(&biblioteca_ft) != 0)
        fallar("no se pudo iniciar FreeType");
    cara_normal = abrir_cara(dir_fuentes + "/DejaVuSans.ttf");
    cara_negrita = abrir_cara(dir_fuentes + "/DejaVuSans-Bold.ttf");
    for (int n = 0; n < NUM_FUENTES; n++)
        hacer_fuente(dir, n);

    set_uformat(U_ASCII);
    if (install_allegro(SYSTEM_NONE, &errno, atexit) != 0)
        fallar("no se pudo iniciar Allegro");
    set_color_depth(32);
    cargar_fuentes(dir);
    hacer_portada1(dir);
    hacer_portada2(dir);
    hacer_ayuda(dir);
    hacer_icono(dir, 48);
    hacer_icono(dir, 256);
    return 0;
}
END_OF_MAIN()
