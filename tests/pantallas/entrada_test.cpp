// The file-name field as the loaders use it: which keys it takes, its echo,
// its refused-key message and the room of the name.
#include <cstring>
#include <string>

#include "pantalla.h"
#include "shell.h"

namespace {

class CampoNombre : public Pantalla {
 protected:
  /* The loaders' field: echo at (150, 100), message under it. */
  estilo_nombre estilo() {
    int h2 = alto(FUENTE_TITULO), y = 2 * h2 + 100;
    estilo_nombre e = {"Fichero: %s    ", 150, 100, "<Caracter no valido>", 150, y, 0,
                       150, 150, 300, y + alto(FUENTE_CELDAS), 150, 100, 900, 130};
    return e;
  }
  /* Types the keys into a fresh field; returns what campo_nombre returned. */
  int lee(const std::string& teclas) {
    marco("Cargar datos");
    escribe(teclas);
    estilo_nombre e = estilo();
    memset(&caja, 'Z', sizeof caja);
    return campo_nombre(caja.nombre, CAPACIDAD_NOMBRE_CARGA, &e, 0);
  }
  int rojos_del_aviso() {
    int y = 2 * alto(FUENTE_TITULO) + 100;
    return cuenta_color(150, y, 320, y + alto(FUENTE_CELDAS), 255, 0, 0);
  }
  struct {
    char nombre[CAPACIDAD_NOMBRE_CARGA + 1];
    char guarda[8];  // must stay untouched
  } caja;
};

}  // namespace

TEST_F(CampoNombre, BackspaceRemovesTheLastLetter) {
  EXPECT_EQ(lee("dat\bt.txt\n"), 1);
  EXPECT_STREQ(caja.nombre, "dat.txt");
  EXPECT_EQ(teclas_pendientes(), 0);
  EXPECT_EQ(rojos_del_aviso(), 0);
}

TEST_F(CampoNombre, BackspaceErasesTheEchoedLetter) {
  EXPECT_EQ(lee("dat\b\x1b"), 0);
  EXPECT_EQ(c_esc, TECLA_ESC);
  int x1 = 150 + ancho(FUENTE_TITULO, "Fichero: da"), x2 = 150 + ancho(FUENTE_TITULO, "Fichero: dat");
  EXPECT_EQ(cuenta_color(x1, 100, x2 - 1, 100 + alto(FUENTE_TITULO), 0, 0, 0), 0);
  EXPECT_GT(cuenta_color(150, 100, x1 - 1, 100 + alto(FUENTE_TITULO), 0, 0, 0), 0);
}

TEST_F(CampoNombre, ThirtyLettersKeepTwentyNine) {
  EXPECT_EQ(lee(std::string(30, 'a') + "\n"), 1);
  EXPECT_EQ(std::string(caja.nombre), std::string(29, 'a'));
  for (char c : caja.guarda) EXPECT_EQ(c, 'Z');
}

TEST_F(CampoNombre, EnterAtOnceGivesAnEmptyName) {
  EXPECT_EQ(lee("\n"), 1);
  EXPECT_STREQ(caja.nombre, "");
}

// ---- Refused keys ----

TEST_F(CampoNombre, BackspaceOnAnEmptyNameWarns) {
  EXPECT_EQ(lee("\b\x1b"), 0);
  EXPECT_STREQ(caja.nombre, "");
  EXPECT_GT(rojos_del_aviso(), 0);
}

TEST_F(CampoNombre, HyphenAndBlankAreRefused) {
  for (const char* teclas : {"a-\x1b", "a \x1b"}) {
    EXPECT_EQ(lee(teclas), 0);
    EXPECT_STREQ(caja.nombre, "a") << teclas;
    EXPECT_GT(rojos_del_aviso(), 0) << teclas;
  }
}

TEST_F(CampoNombre, TheWarningGoesAtTheNextKey) {
  EXPECT_EQ(lee("a-b\n"), 1);
  EXPECT_STREQ(caja.nombre, "ab");
  EXPECT_EQ(rojos_del_aviso(), 0);
}
