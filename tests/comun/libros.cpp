// The test workbooks: see libros.h.
#include "libros.h"

#include <minizip/zip.h>
#include <xlsxwriter.h>

#include <charconv>
#include <cmath>
#include <fstream>

const char* const TRAMO_LIBRO = "T01 R\xc3\xado Esla";

static celda_libro celda_de(celda_libro::clase_celda clase, const std::string& texto, bool redondeada = false,
                            const std::string& formula = "") {
  celda_libro c;
  c.clase = clase;
  c.texto = texto;
  c.redondeada = redondeada;
  c.formula = formula;
  return c;
}

celda_libro texto_libro(const std::string& t) { return celda_de(celda_libro::TEXTO, t); }
celda_libro numero_libro(const std::string& valor, bool redondeada) {
  return celda_de(celda_libro::NUMERO, valor, redondeada);
}
static celda_libro fecha_libro(const std::string& iso) { return celda_de(celda_libro::FECHA, iso); }
static celda_libro formula_libro(const std::string& formula, const std::string& valor) {
  return celda_de(celda_libro::FORMULA, valor, false, formula);
}

static double doble(const std::string& t) {
  double v = 0;
  std::from_chars(t.data(), t.data() + t.size(), v);  // not strtod: no locale
  return v;
}

/* ---- .xlsx ---- */

static void escribe_celda_xlsx(lxw_worksheet* h, int f, int c, const celda_libro& celda, lxw_format* redondo,
                               lxw_format* fecha) {
  switch (celda.clase) {
    case celda_libro::VACIA:
      break;
    case celda_libro::TEXTO:
      worksheet_write_string(h, f, c, celda.texto.c_str(), nullptr);
      break;
    case celda_libro::NUMERO:
      worksheet_write_number(h, f, c, doble(celda.texto), celda.redondeada ? redondo : nullptr);
      break;
    case celda_libro::FECHA: {
      lxw_datetime d = {std::stoi(celda.texto.substr(0, 4)), std::stoi(celda.texto.substr(5, 2)),
                        std::stoi(celda.texto.substr(8, 2)), 0, 0, 0};
      worksheet_write_datetime(h, f, c, &d, fecha);
      break;
    }
    case celda_libro::FORMULA:
      worksheet_write_formula_num(h, f, c, ("=" + celda.formula).c_str(), nullptr, doble(celda.texto));
      break;
  }
}

bool escribe_xlsx(const std::string& ruta, const std::vector<hoja_libro>& hojas, bool en_linea) {
  lxw_workbook_options opciones = {};
  opciones.constant_memory = en_linea;
  lxw_workbook* libro = workbook_new_opt(ruta.c_str(), &opciones);
  if (!libro) return false;
  lxw_format* redondo = workbook_add_format(libro);
  format_set_num_format(redondo, "0");
  lxw_format* fecha = workbook_add_format(libro);
  format_set_num_format(fecha, "dd/mm/yyyy");
  for (const hoja_libro& hoja : hojas) {
    lxw_worksheet* h = workbook_add_worksheet(libro, hoja.nombre.c_str());
    for (size_t f = 0; f < hoja.filas.size(); f++)
      for (size_t c = 0; c < hoja.filas[f].size(); c++)
        escribe_celda_xlsx(h, (int)f, (int)c, hoja.filas[f][c], redondo, fecha);
  }
  return workbook_close(libro) == LXW_NO_ERROR;
}

/* ---- .ods ---- */

static std::string escapa(const std::string& t) {
  std::string x;
  for (char c : t) {
    if (c == '<') x += "&lt;";
    else if (c == '&') x += "&amp;";
    else if (c == '"') x += "&quot;";
    else if (c == ' ') x += "<text:s/>";  // a space as LibreOffice may keep it
    else x += c;
  }
  return x;
}

static std::string celda_ods(const celda_libro& c, bool anotada) {
  std::string nota = anotada ? "<office:annotation><text:p>Anotada por el equipo</text:p></office:annotation>" : "";
  switch (c.clase) {
    case celda_libro::VACIA:
      return "";
    case celda_libro::TEXTO:
      return "<table:table-cell office:value-type=\"string\">" + nota + "<text:p>" + escapa(c.texto) +
             "</text:p></table:table-cell>";
    case celda_libro::NUMERO: {
      std::string visto = c.redondeada ? std::to_string(std::lround(doble(c.texto))) : c.texto;
      return "<table:table-cell office:value-type=\"float\" office:value=\"" + c.texto + "\">" + nota +
             "<text:p>" + visto + "</text:p></table:table-cell>";
    }
    case celda_libro::FECHA:
      return "<table:table-cell office:value-type=\"date\" office:date-value=\"" + c.texto + "\"><text:p>" +
             c.texto.substr(8, 2) + "/" + c.texto.substr(5, 2) + "/" + c.texto.substr(0, 4) +
             "</text:p></table:table-cell>";
    case celda_libro::FORMULA: {
      std::string f = c.formula;
      for (char& letra : f)
        if (letra == ',') letra = ';';
      return "<table:table-cell table:formula=\"of:=" + f + "\" office:value-type=\"float\" office:value=\"" +
             c.texto + "\"><text:p>" + c.texto + "</text:p></table:table-cell>";
    }
  }
  return "";
}

/* A row as LibreOffice writes it: a run of empty cells as one repeated cell. */
static std::string fila_ods(const std::vector<celda_libro>& fila, bool anotada, size_t columnas) {
  std::string x = "<table:table-row>";
  size_t vacias = 0;
  for (size_t c = 0; c <= columnas; c++) {
    bool vacia = c == columnas || c >= fila.size() || fila[c].clase == celda_libro::VACIA;
    if (vacia && c < columnas) {
      vacias++;
      continue;
    }
    if (vacias)
      x += "<table:table-cell table:number-columns-repeated=\"" + std::to_string(vacias) + "\"/>";
    vacias = 0;
    if (c < columnas) x += celda_ods(fila[c], anotada && c == 0);
  }
  return x + "</table:table-row>";
}

std::string contenido_ods(const std::vector<hoja_libro>& hojas) {
  std::string x =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<office:document-content xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\" "
      "xmlns:table=\"urn:oasis:names:tc:opendocument:xmlns:table:1.0\" "
      "xmlns:text=\"urn:oasis:names:tc:opendocument:xmlns:text:1.0\" "
      "xmlns:of=\"urn:oasis:names:tc:opendocument:xmlns:of:1.2\" office:version=\"1.2\">"
      "<office:body><office:spreadsheet>";
  for (const hoja_libro& hoja : hojas) {
    size_t columnas = 0;
    for (const auto& f : hoja.filas) columnas = f.size() > columnas ? f.size() : columnas;
    x += "<table:table table:name=\"" + hoja.nombre + "\"><table:table-column table:number-columns-repeated=\"" +
         std::to_string(columnas) + "\"/>";
    // equal rows one after another are one row repeated, as LibreOffice keeps them
    for (size_t f = 0; f < hoja.filas.size();) {
      std::string fila = fila_ods(hoja.filas[f], f == 0, columnas);
      size_t veces = 1;
      while (f + veces < hoja.filas.size() && fila_ods(hoja.filas[f + veces], false, columnas) == fila) veces++;
      if (veces > 1)
        fila.insert(fila.find('>'), " table:number-rows-repeated=\"" + std::to_string(veces) + "\"");
      x += fila;
      f += veces;
    }
    // the rest of the sheet, empty, as LibreOffice ends every sheet
    x += "<table:table-row table:number-rows-repeated=\"" + std::to_string(1048576 - hoja.filas.size()) +
         "\"><table:table-cell table:number-columns-repeated=\"16384\"/></table:table-row></table:table>";
  }
  return x + "</office:spreadsheet></office:body></office:document-content>\n";
}

bool escribe_ods(const std::string& ruta, const std::vector<hoja_libro>& hojas, bool guardado) {
  const char* manifiesto =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<manifest:manifest xmlns:manifest=\"urn:oasis:names:tc:opendocument:xmlns:manifest:1.0\" "
      "manifest:version=\"1.2\">"
      "<manifest:file-entry manifest:full-path=\"/\" manifest:version=\"1.2\" "
      "manifest:media-type=\"application/vnd.oasis.opendocument.spreadsheet\"/>"
      "<manifest:file-entry manifest:full-path=\"content.xml\" manifest:media-type=\"text/xml\"/>"
      "</manifest:manifest>\n";
  return escribe_zip(ruta,
                     {{"mimetype", "application/vnd.oasis.opendocument.spreadsheet"},
                      {"META-INF/manifest.xml", manifiesto},
                      {"content.xml", contenido_ods(hojas)}},
                     guardado);
}

bool escribe_zip(const std::string& ruta, const std::vector<entrada_zip>& entradas, bool guardado) {
  zipFile z = zipOpen64(ruta.c_str(), 0);
  if (!z) return false;
  bool bien = true;
  for (const entrada_zip& e : entradas) {
    zip_fileinfo info = {};
    // an .ods's type is its first entry, stored as it is, where a reader looks for it
    bool guarda = guardado || e.nombre == "mimetype";
    bien = bien &&
           zipOpenNewFileInZip(z, e.nombre.c_str(), &info, nullptr, 0, nullptr, 0, nullptr, guarda ? 0 : Z_DEFLATED,
                               guarda ? 0 : Z_DEFAULT_COMPRESSION) == ZIP_OK &&
           zipWriteInFileInZip(z, e.texto.data(), (unsigned)e.texto.size()) == ZIP_OK &&
           zipCloseFileInZip(z) == ZIP_OK;
  }
  return zipClose(z, nullptr) == ZIP_OK && bien;
}

/* ---- The example as a workbook ---- */

std::vector<pez_libro> peces_de(const std::string& ruta) {
  std::ifstream f(ruta);
  std::string cabecera[4];
  for (std::string& palabra : cabecera) f >> palabra;
  std::vector<pez_libro> peces;
  pez_libro p;
  while (f >> p.pasada >> p.longitud >> p.peso >> p.clase) peces.push_back(p);
  return peces;
}

static std::vector<celda_libro> fila_de_pez(const char* tramo, const char* especie, const pez_libro& p,
                                            bool con_formula) {
  return {texto_libro(tramo),
          texto_libro(especie),
          fecha_libro("2024-06-12"),
          numero_libro(p.pasada),
          numero_libro(p.longitud, true),
          con_formula ? formula_libro("ROUND(" + p.peso + ",2)", p.peso) : numero_libro(p.peso),
          numero_libro(p.clase)};
}

std::vector<hoja_libro> hojas_de_peces(const std::vector<pez_libro>& peces) {
  hoja_libro todos{"Peces", {}}, solo{"Solo", {}};
  todos.filas.push_back({texto_libro("Tramo"), texto_libro("Especie"), texto_libro("Fecha"), texto_libro("Pasada"),
                         texto_libro("Longitud (cm)"), texto_libro("Peso (g)"), texto_libro("Clase"), celda_libro(),
                         texto_libro("Notas")});
  todos.filas.push_back({});  // a gap: the fish start on row 3
  solo.filas.push_back({texto_libro("Pasada"), texto_libro("Longitud"), texto_libro("Peso"), texto_libro("Clase")});
  for (size_t i = 0; i < peces.size(); i++) {
    if (i % 9 == 4)  // barbel caught twice alike: two equal rows
      for (int k = 0; k < 2; k++)
        todos.filas.push_back(fila_de_pez(TRAMO_LIBRO, "barbo", {i < 20 ? "1" : "2", "20.5", "90.25", "2"}, false));
    todos.filas.push_back(fila_de_pez(TRAMO_LIBRO, "trucha", peces[i], i == 0));
    if (i == 1) {
      todos.filas.back().push_back(celda_libro());
      todos.filas.back().push_back(texto_libro("aleta \"cortada\" & marcada"));
    }
    solo.filas.push_back({numero_libro(peces[i].pasada), numero_libro(peces[i].longitud),
                          numero_libro(peces[i].peso), numero_libro(peces[i].clase)});
  }
  for (const char* pasada : {"1", "1", "2"})
    todos.filas.push_back(fila_de_pez("T02", "trucha", {pasada, "18", "60", "1"}, false));
  return {todos, solo};
}
