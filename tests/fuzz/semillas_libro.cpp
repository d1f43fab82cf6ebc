// The workbook fuzzer's seeds, made at build time from the example's data:
// its workbooks whole (the .ods's entries stored, so that mutations hit its
// XML), and the XML alone that the fuzzer puts in a zip of its own ('o':
// an .ods's content, 'x': an .xlsx's sheet, 's': its shared strings).
//   semillas_libro EJEMPLO CARPETA
#include <fstream>
#include <string>

#include "libros.h"

static bool escribe(const std::string& ruta, const std::string& texto) {
  std::ofstream f(ruta, std::ios::binary);
  f << texto;
  return bool(f);
}

int main(int argc, char** argv) {
  if (argc != 3) return 2;
  std::string carpeta = std::string(argv[2]) + "/";
  std::vector<hoja_libro> hojas = hojas_de_peces(peces_de(argv[1]));
  const char* const NS = "xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\"";
  std::string hoja = std::string("<worksheet ") + NS +
                     "><sheetData><row r=\"1\"><c r=\"A1\" t=\"s\"><v>0</v></c><c r=\"B1\" t=\"s\"><v>1</v></c>"
                     "<c r=\"C1\" t=\"s\"><v>2</v></c><c r=\"D1\" t=\"inlineStr\"><is><t>Clase</t></is></c></row>"
                     "<row r=\"3\"><c r=\"A3\"><v>1</v></c><c r=\"B3\" s=\"1\"><v>29.6</v></c><c r=\"C3\">"
                     "<f>ROUND(103.41,2)</f><v>103.41</v></c><c r=\"D3\" t=\"str\"><v>4</v></c>"
                     "<c r=\"F3\" t=\"b\"><v>1</v></c><c r=\"G3\" t=\"e\"><v>#N/A</v></c></row></sheetData></worksheet>";
  std::string textos = std::string("<sst ") + NS +
                       "><si><t>Pasada</t></si><si><r><t>Longitud</t></r><r><t xml:space=\"preserve\"> (cm)</t>"
                       "</r><rPh><t>x</t></rPh></si><si><t>Peso (g)</t></si></sst>";
  bool bien = escribe_xlsx(carpeta + "peces.xlsx", hojas, false) &&
              escribe_xlsx(carpeta + "peces_en_linea.xlsx", hojas, true) &&
              escribe_ods(carpeta + "peces.ods", hojas, true) &&
              escribe(carpeta + "contenido_ods", "o" + contenido_ods({hojas[1]})) &&
              escribe(carpeta + "hoja_xlsx", "x" + hoja) && escribe(carpeta + "textos_xlsx", "s" + textos);
  return bien ? 0 : 1;
}
