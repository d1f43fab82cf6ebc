#!/usr/bin/python3
"""The season's HTML page as a reader gets it: opened, measured and printed
in Debian's Chromium (headless, through chromedriver), and parsed as HTML5.

Seasons are made here at run time: one of 12 reaches with two species, a
reach without data file, a reach whose catches do not fall and a reach
named <script>alert(1)</script>; one of 60 reaches, whose reaches get
pages of their own. Every summary cell is compared with resumen.csv and
every data file's SHA-256 with Python's own.

  navegador.py PASADAS_INFORME CARPETA_DE_TRABAJO [--captura PNG]
"""
import base64
import csv
import hashlib
import os
import random
import shutil
import subprocess
import sys
import tempfile

import html5lib
from selenium import webdriver
from selenium.common.exceptions import NoAlertPresentException
from selenium.webdriver.chrome.service import Service

LIMITE_PAGINA = 2 * 1024 * 1024
ARGUMENTOS_CHROMIUM = ["--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
                       "--disable-background-networking", "--disable-component-update", "--disable-sync",
                       "--disable-dev-shm-usage"]
SCRIPT = "<script>alert(1)</script>"
fallos = []


def comprueba(cierto, mensaje):
    if not cierto:
        fallos.append(mensaje)
        print("FALLO:", mensaje, file=sys.stderr)


# ---- Seasons ----

def peces(azar, tramo, especie, capturas_por_clase):
    """Rows Tramo;Especie;Pasada;Longitud;Peso;Clase for the catches [(class, [c1, c2, ...])]."""
    filas = []
    for clase, capturas in capturas_por_clase:
        for pasada, c in enumerate(capturas, 1):
            for _ in range(c):
                longitud = round(6 + 5.5 * clase + azar.uniform(0, 4), 1)
                peso = round(0.0105 * longitud ** 3.02 * azar.uniform(0.85, 1.15), 2)
                filas.append(f"{tramo};{especie};{pasada};{longitud:.1f};{peso:.2f};{clase}".replace(".", ","))
    return filas


def escribe_temporada(carpeta, especies, ntramos, semilla):
    """A table of reaches and one data file per reach; the rows it has."""
    azar = random.Random(semilla)
    os.makedirs(carpeta, exist_ok=True)
    tabla = ["Tramo;Especie;Fichero;Superficie;Metros;Linf;Meses"]
    for i in range(ntramos):
        especie = especies[i % len(especies)]
        nombre = f"T{i // len(especies) + 1:02d}"
        if i == 3:
            nombre = SCRIPT
        capturas = [(c, [max(1, int(n * azar.uniform(0.8, 1.2) * 0.45 ** k)) for k in range(3)])
                    for c, n in enumerate([30, 22, 12, 5])]
        if i == 5:  # catches that do not fall: no estimate, the catch stands for N
            capturas = [(c, [5, 6, 7]) for c in range(3)]
        fichero = f"datos_{i:03d}.csv"
        if i == 7:
            fichero = "no_existe.csv"
        else:
            with open(os.path.join(carpeta, fichero), "w", encoding="utf-8") as f:
                f.write("Tramo;Especie;Pasada;Longitud (cm);Peso (g);Clase de edad\n" +
                        "\n".join(peces(azar, nombre, especie, capturas)) + "\n")
        superficie = "" if i == 9 else f"{azar.randint(150, 900)},5"
        tabla.append(f"{nombre};{especie};{fichero};{superficie};{azar.randint(40, 120)};32;6")
    with open(os.path.join(carpeta, "tramos.csv"), "w", encoding="utf-8") as f:
        f.write("\n".join(tabla) + "\n")


def campana(programa, carpeta):
    salida = os.path.join(carpeta, "salida")
    r = subprocess.run([programa, "--tramos", os.path.join(carpeta, "tramos.csv"), "--carpeta", salida,
                        "--hilos", "2"], capture_output=True, text=True, timeout=600,
                       env=dict(os.environ, SOURCE_DATE_EPOCH="1780000000"))
    comprueba(r.returncode == 1, f"la campana con un tramo sin datos sale con 1, no {r.returncode}: {r.stderr}")
    return salida


# ---- The browser ----

def navegador(perfil):
    o = webdriver.ChromeOptions()
    o.binary_location = "/usr/bin/chromium"
    for a in ARGUMENTOS_CHROMIUM + [f"--user-data-dir={perfil}"]:
        o.add_argument(a)
    o.set_capability("goog:loggingPrefs", {"browser": "ALL"})
    return webdriver.Chrome(options=o, service=Service(executable_path="/usr/bin/chromedriver"))


def abre(d, ruta):
    d.get("file://" + os.path.abspath(ruta))
    for e in d.get_log("browser"):  # a load the policy blocks is an error here too
        comprueba(e["level"] not in ("SEVERE", "WARNING"), f"{ruta}: la consola dice {e['message']}")
    try:
        d.switch_to.alert
        comprueba(False, f"{ruta}: se ha abierto una alerta")
    except NoAlertPresentException:
        pass
    comprueba(d.execute_script("return document.scripts.length") == 0, f"{ruta}: tiene un script")


def sin_desborde(d, ruta):
    for ancho in (1280, 800):
        d.set_window_size(ancho, 1000)
        total, visible = d.execute_script("return [document.documentElement.scrollWidth, window.innerWidth]")
        comprueba(total <= visible, f"{ruta}: a {ancho} px mide {total} de ancho y la ventana {visible}")


def svg_con_titulo(d, ruta):
    sin = d.execute_script(
        "return Array.from(document.querySelectorAll('svg')).filter(s => {"
        " const t = s.querySelector(':scope > title'); return !t || !t.textContent.trim(); }).length")
    comprueba(sin == 0, f"{ruta}: {sin} graficos sin titulo")
    return d.execute_script("return document.querySelectorAll('svg').length")


def paginas_pdf(d, destino):
    pdf = d.execute_cdp_cmd("Page.printToPDF", {"printBackground": True, "preferCSSPageSize": True})
    with open(destino, "wb") as f:
        f.write(base64.b64decode(pdf["data"]))
    info = subprocess.run(["pdfinfo", destino], capture_output=True, text=True, check=True).stdout
    return int(next(l.split()[-1] for l in info.splitlines() if l.startswith("Pages:")))


def texto_de_pagina(pdf, n):
    return subprocess.run(["pdftotext", "-layout", "-f", str(n), "-l", str(n), pdf, "-"],
                          capture_output=True, text=True, check=True).stdout


def bien_formada(ruta):
    with open(ruta, "rb") as f:
        datos = f.read()
    comprueba(len(datos) < LIMITE_PAGINA, f"{ruta}: {len(datos)} bytes, no menos de 2 MB")
    try:
        html5lib.HTMLParser(strict=True).parse(datos)
    except Exception as e:
        comprueba(False, f"{ruta}: no es HTML5 bien formado: {e}")
    return len(datos)


# ---- What the page must show ----

def celdas_como_resumen(d, carpeta):
    with open(os.path.join(carpeta, "resumen.csv"), encoding="utf-8-sig", newline="") as f:
        filas = list(csv.reader(f, delimiter=";"))
    cabecera, filas = filas[0], filas[1:]
    titulos, cuerpo = d.execute_script(
        "const t = document.querySelector('table.resumen');"
        "return [Array.from(t.tHead.rows[0].cells, c => c.textContent),"
        " Array.from(t.tBodies[0].rows, r => Array.from(r.cells, c => c.textContent))]")
    comprueba(len(cuerpo) == len(filas), f"el resumen de la pagina tiene {len(cuerpo)} filas y resumen.csv {len(filas)}")
    comunes = [t for t in titulos if t in cabecera]
    comprueba(len(comunes) >= len(titulos) - 1, f"columnas de la pagina que resumen.csv no tiene: {titulos}")
    for i, (pagina, tabla) in enumerate(zip(cuerpo, filas)):
        for t in comunes:
            a, b = pagina[titulos.index(t)], tabla[cabecera.index(t)]
            comprueba(a == b, f"fila {i + 1}, {t}: la pagina dice {a!r} y resumen.csv {b!r}")
    return filas, cabecera


def huellas_como_ficheros(d):
    filas = d.execute_script(
        "return Array.from(document.querySelectorAll('table.ficheros tbody tr'), r => Array.from(r.cells, c => c.textContent))")
    vistas = 0
    for ruta, bytes_, huella in filas:
        if not os.path.exists(ruta):
            continue
        with open(ruta, "rb") as f:
            datos = f.read()
        comprueba(huella == hashlib.sha256(datos).hexdigest(), f"{ruta}: SHA-256 {huella}")
        comprueba(bytes_ == str(len(datos)), f"{ruta}: {bytes_} bytes")
        vistas += 1
    comprueba(vistas > 0, "la pagina no da la huella de ningun fichero")


def reach_visible(d):
    texto = d.execute_script("return document.body.innerText")
    comprueba(SCRIPT in texto, "el tramo <script> no se ve como esos caracteres")


def doce_tramos(programa, trabajo, d, captura):
    carpeta = os.path.join(trabajo, "doce")
    escribe_temporada(carpeta, ["trucha", "barbo"], 12, 12)
    salida = campana(programa, carpeta)
    pagina = os.path.join(salida, "informe.html")
    tam = bien_formada(pagina)
    abre(d, pagina)
    sin_desborde(d, pagina)
    print(f"12 tramos: informe.html {tam} bytes, {svg_con_titulo(d, pagina)} graficos")
    filas, cabecera = celdas_como_resumen(d, salida)
    con_error = sum(1 for f in filas if f[cabecera.index("Error")])
    comprueba(con_error == 1, f"{con_error} tramos sin informe, y solo le faltan los datos a uno")
    reach_visible(d)
    huellas_como_ficheros(d)
    # print: the head, then each reach on a page of its own, whole
    pdf = os.path.join(salida, "informe.pdf")
    n = paginas_pdf(d, pdf)
    nombres = [f"Tramo {r[0]} / {r[1]}" for r in filas]
    primera = next(p for p in range(1, n + 1) if nombres[0] in texto_de_pagina(pdf, p))
    comprueba(n == primera - 1 + len(filas), f"el PDF tiene {n} paginas: la cabeza ocupa {primera - 1} y hay {len(filas)} tramos")
    for i, nombre in enumerate(nombres):
        comprueba(nombre in texto_de_pagina(pdf, primera + i), f"la pagina {primera + i} del PDF no es la de {nombre}")
    print(f"12 tramos: PDF de {n} paginas, la cabeza en {primera - 1}")
    if captura:  # the head, the summary and the chart, as the guide shows them
        d.set_window_size(1280, 1700)
        d.get("file://" + os.path.abspath(pagina))
        d.save_screenshot(captura)


def sesenta_tramos(programa, trabajo, d):
    carpeta = os.path.join(trabajo, "sesenta")
    escribe_temporada(carpeta, ["trucha"], 60, 60)
    salida = campana(programa, carpeta)
    pagina = os.path.join(salida, "informe.html")
    tam = bien_formada(pagina)
    abre(d, pagina)
    sin_desborde(d, pagina)
    svg_con_titulo(d, pagina)
    filas, _ = celdas_como_resumen(d, salida)
    reach_visible(d)
    enlaces = d.execute_script("return Array.from(document.querySelectorAll('table.resumen a'), a => a.href)")
    comprueba(len(enlaces) == len(filas) - 1, f"{len(enlaces)} enlaces a paginas de tramo para {len(filas) - 1} tramos con informe")
    mayor = 0
    for i, enlace in enumerate(enlaces):
        ruta = enlace[len("file://"):].replace("%3C", "<").replace("%3E", ">")
        ruta = subprocess.run([sys.executable, "-c", "import sys, urllib.parse; print(urllib.parse.unquote(sys.argv[1]))", ruta],
                              capture_output=True, text=True).stdout.rstrip("\n")
        comprueba(os.path.isfile(ruta), f"el enlace {enlace} no lleva a una pagina")
        if not os.path.isfile(ruta):
            continue
        mayor = max(mayor, bien_formada(ruta))
        abre(d, ruta)
        if i < 3 or SCRIPT in ruta or "_script_" in ruta:
            sin_desborde(d, ruta)
            svg_con_titulo(d, ruta)
            n = paginas_pdf(d, os.path.join(salida, f"tramo_{i}.pdf"))
            comprueba(n == 1, f"{ruta}: se imprime en {n} paginas, no en una")
    print(f"60 tramos: informe.html {tam} bytes, la mayor pagina de tramo {mayor} bytes")


def un_informe(programa, trabajo, d):
    """--html beside one report: the same checks; a file there that is no page stays as it was."""
    carpeta = os.path.join(trabajo, "uno")
    os.makedirs(carpeta)
    informe = os.path.join(carpeta, "ejemplo.txt")
    r = subprocess.run([programa, "--html", "--superficie", "250", "--linf", "32", "--meses", "6", "ejemplo", informe],
                       capture_output=True, text=True, timeout=120)
    pagina = os.path.join(carpeta, "ejemplo.html")
    comprueba(r.returncode == 0 and os.path.isfile(pagina), f"--html no escribe ejemplo.html: {r.stderr}")
    bien_formada(pagina)
    abre(d, pagina)
    sin_desborde(d, pagina)
    comprueba(svg_con_titulo(d, pagina) == 4, f"{pagina}: no tiene los cuatro graficos del tramo")
    ajeno = os.path.join(carpeta, "ajeno.html")
    with open(ajeno, "w") as f:
        f.write("<p>mi pagina</p>\n")
    r = subprocess.run([programa, "--html", "ejemplo", os.path.join(carpeta, "ajeno.txt")], capture_output=True,
                       text=True, timeout=120)
    comprueba(r.returncode == 1 and "no es una pagina de Pasadas" in r.stderr, f"una pagina ajena: {r.stderr}")
    comprueba(open(ajeno).read() == "<p>mi pagina</p>\n" and not os.path.exists(os.path.join(carpeta, "ajeno.txt")),
              "una pagina ajena se ha sustituido, o se ha escrito su informe")


def main():
    programa, trabajo = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2])
    captura = sys.argv[sys.argv.index("--captura") + 1] if "--captura" in sys.argv else None
    shutil.rmtree(trabajo, ignore_errors=True)
    os.makedirs(trabajo)
    perfil = tempfile.mkdtemp(prefix="perfil_", dir=trabajo)  # a fresh profile each run
    d = navegador(perfil)
    try:
        doce_tramos(programa, trabajo, d, captura)
        if not captura:
            un_informe(programa, trabajo, d)
            sesenta_tramos(programa, trabajo, d)
    finally:
        d.quit()
    if fallos:
        print(f"{len(fallos)} fallos", file=sys.stderr)
        return 1
    print("la pagina se abre, se mide y se imprime bien")
    return 0


if __name__ == "__main__":
    sys.exit(main())
