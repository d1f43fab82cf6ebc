#!/usr/bin/env python3
"""Keeps the user's documentation true to the programs.

  guia.py --raiz R --informe PROGRAMA ayuda   every option of --help is in the guide (the man
                                              page's entries are checked by the end-to-end tests)
  guia.py --raiz R mensajes                   every message of the sources is in the guide's list
  guia.py --raiz R enlaces                    every link and image of README and guide resolves
  guia.py --raiz R --listar                   prints the messages read from the sources
  guia.py --prueba                            the checker finds the faults of a small tree of its own

A message is read from the sources, not kept in a list here: every red text
of the window (between angle brackets) and every text handed to a call that
refuses or warns. Its parts (%s, %d...) may be anything in the guide, so the
guide gives it with an example or with words for the parts.
"""
import argparse
import os
import re
import subprocess
import sys
import tempfile
from collections import namedtuple

GUIA = "docs/guia.md"
TITULO_MENSAJES = "Mensajes"

# Calls whose texts a user reads as a refusal, a warning or a notice.
LLAMADA_QUE_AVISA = re.compile(r"^(rechaz\w*|allegro_message|mensaje_\w+|avisa\w*)$")
# snprintf into one of these builds a message, or a piece of one.
DESTINO_DE_MENSAJE = re.compile(r"mensaje|motivo|aviso|error|fallid|ahora|despues|esperad|\bfmt\b",
                                re.I)
# The second opinion's words for a group's state and warnings: the guide explains each.
PALABRAS = ("src/analysis/remocion_estado.cpp", "PALABRAS")


# --- reading C++ ---------------------------------------------------------

def texto_de_literal(crudo):
    """The bytes of a C string literal's body, escapes resolved, as text."""
    b = bytearray()
    i = 0
    simples = {"n": 10, "t": 9, "r": 13, "0": 0, "\\": 92, '"': 34, "'": 39, "a": 7, "b": 8, "f": 12,
               "v": 11, "?": 63}
    while i < len(crudo):
        c = crudo[i]
        if c != "\\":
            b += c.encode("latin-1")
            i += 1
            continue
        e = crudo[i + 1]
        if e == "x":
            j = i + 2
            while j < len(crudo) and crudo[j] in "0123456789abcdefABCDEF":
                j += 1
            b.append(int(crudo[i + 2:j], 16) & 0xFF)
            i = j
        elif e in "01234567" and e != "0" or (e == "0" and i + 2 < len(crudo) and crudo[i + 2] in "01234567"):
            j = i + 1
            while j < len(crudo) and j < i + 4 and crudo[j] in "01234567":
                j += 1
            b.append(int(crudo[i + 1:j], 8) & 0xFF)
            i = j
        else:
            b.append(simples.get(e, ord(e)))
            i += 2
    try:
        return b.decode("utf-8")
    except UnicodeDecodeError:
        return b.decode("latin-1")


# A string literal where it stands: the calls around it, outermost first, each
# with its first argument's text, and the constant it initialises, if any.
Literal = namedtuple("Literal", "fichero linea texto llamadas constante")


def lee_fuente(ruta, nombre):
    """Every string literal of a C++ file with the calls around it."""
    t = open(ruta, encoding="latin-1").read()
    n = len(t)
    i = 0
    pila = []           # open brackets: [name before "(", start of its arguments]
    literales = []
    usos = []           # (function, argument text) of every call, for the constants
    constante = None
    inicio_linea = True
    while i < n:
        c = t[i]
        if inicio_linea and c == "#":
            while i < n and t[i] != "\n":
                i += 2 if t[i] == "\\" else 1
            continue
        if c == "\n":
            inicio_linea = True
            i += 1
            continue
        if not c.isspace():
            inicio_linea = False
        if t.startswith("//", i):
            i = t.find("\n", i)
            i = n if i < 0 else i
            continue
        if t.startswith("/*", i):
            j = t.find("*/", i + 2)
            i = n if j < 0 else j + 2
            continue
        if c == "'":
            j = i + 1
            while t[j] != "'":
                j += 2 if t[j] == "\\" else 1
            i = j + 1
            continue
        if c == '"':
            if re.search(r"(?<!\w)(u8|u|U|L)?R$", t[max(0, i - 3):i]):  # raw strings hold no messages here
                j = t.find(')"', i)
                i = j + 2
                continue
            linea = t.count("\n", 0, i) + 1
            partes = []
            while True:
                j = i + 1
                while t[j] != '"':
                    j += 2 if t[j] == "\\" else 1
                partes.append(t[i + 1:j])
                i = j + 1
                k = i
                while k < n and t[k].isspace():
                    k += 1
                if k < n and t[k] == '"':
                    i = k
                    continue
                break
            llamadas = [(f, primer_argumento(t, a)) for f, a in pila if f]
            literales.append(Literal(nombre, linea, texto_de_literal("".join(partes)), llamadas, constante))
            continue
        if c == "(":
            m = re.search(r"([A-Za-z_]\w*)\s*$", t[max(0, i - 80):i])
            pila.append([m.group(1) if m else None, i + 1])
        elif c in "{[":
            pila.append([None, i + 1])
        elif c in ")}]":
            if pila:
                f, a = pila.pop()
                if f:
                    usos.append((f, primer_argumento(t, a), t[a:i]))
        elif c == ";":
            constante = None
        elif c == "=" and t[i + 1] != "=" and t[i - 1] not in "=!<>":
            m = re.search(r"\bconst\s+char\s*\*?\s*(?:const\s+)?([A-Z][A-Z0-9_]*)\s*(\[[^\]]*\])*\s*$",
                          t[max(0, i - 120):i])
            constante = m.group(1) if m else None
        i += 1
    return literales, usos


def primer_argumento(t, a):
    """The text of a call's first argument, its list starting at t[a]."""
    profundidad = 0
    for j in range(a, min(len(t), a + 200)):
        if t[j] in "([{":
            profundidad += 1
        elif t[j] in ")]}":
            if profundidad == 0:
                return t[a:j].strip()
            profundidad -= 1
        elif t[j] == "," and profundidad == 0:
            return t[a:j].strip()
    return t[a:a + 200].strip()


def avisa(funcion, primero):
    """Whether what a call of funcion, with that first argument, is handed reaches the user as a message."""
    if LLAMADA_QUE_AVISA.match(funcion):
        return True
    if funcion == "fprintf":
        return primero == "stderr"
    if funcion in ("snprintf", "vsnprintf"):
        return bool(DESTINO_DE_MENSAJE.search(primero))
    return False


def mensajes_de(raiz):
    """The messages of the programs: (file, line, text), from every source under src/."""
    literales, usos = [], []
    for carpeta, _, ficheros in sorted(os.walk(os.path.join(raiz, "src"))):
        for f in sorted(ficheros):
            if f.endswith((".cpp", ".h", ".c")):
                ruta = os.path.join(carpeta, f)
                l, u = lee_fuente(ruta, os.path.relpath(ruta, raiz))
                literales += l
                usos += u
    # constants named in a call that warns hold messages too
    nombradas = set()
    for f, primero, argumentos in usos:
        if avisa(f, primero):
            nombradas.update(re.findall(r"\b[A-Z][A-Z0-9_]+\b", argumentos))
    mensajes = []
    for l in literales:
        plano = l.texto.strip()
        # the page's markup (an attribute, a tag of its own) is no red text of the window
        ventana = (plano.startswith("<") or plano.endswith(">")) and "</" not in plano and '="' not in plano \
            and not re.fullmatch(r"(<[a-z0-9]+>)+", plano)
        llamada = any(avisa(f, p) for f, p in l.llamadas)
        if (ventana or llamada or (l.constante in nombradas and not l.llamadas)) and \
                hay_que_documentar(l.texto, ventana):
            mensajes.append((l.fichero, l.linea, l.texto))
    return mensajes


def palabras_de(raiz):
    """The words of a group's state and warnings, first of each pair of their table."""
    fichero, tabla = PALABRAS
    literales, _ = lee_fuente(os.path.join(raiz, fichero), fichero)
    suyos = [l for l in literales if l.constante == tabla]
    return [(l.fichero, l.linea, l.texto) for l in suyos[0::2]]


CONVERSION = re.compile(r"%%?[-+ #0]*(\*|\d+)?(\.(\*|\d+))?(hh|h|ll|l|z|j|t|L)?[diouxXeEfgGcsp]")


def piezas(texto):
    """The fixed pieces of a message, between its parts."""
    trozos, actual, i = [], "", 0
    while i < len(texto):
        m = CONVERSION.match(texto, i) if texto[i] == "%" else None
        if m:
            trozos.append(actual)
            actual = ""
            i = m.end()
        elif texto.startswith("%%", i):
            actual += "%"
            i += 2
        else:
            actual += texto[i]
            i += 1
    trozos.append(actual)
    trozos = [" ".join(p.split()) for p in trozos]
    return [p for p in trozos if p.strip()]


def hay_que_documentar(texto, ventana):
    """A whole message, or a piece that says something by itself; not the
    words that only fill a part of one ("la pasada", "Tramo")."""
    p = piezas(texto)
    if not any(re.search(r"[^\W\d_]{3}", x) for x in p):
        return False
    return ventana or len(p) > 1 or p[0] != " ".join(texto.split()) or len(p[0].split()) >= 3


# --- reading the guide ---------------------------------------------------

def seccion(md, titulo):
    """The text of the level-2 section with that title, to the next one."""
    m = re.search(r"^## " + re.escape(titulo) + r"\s*$", md, re.M)
    if not m:
        return None
    fin = re.search(r"^## ", md[m.end():], re.M)
    return md[m.end():m.end() + fin.start()] if fin else md[m.end():]


def trozos_de_codigo(md):
    """Every code span and every line of a code block, blanks collapsed."""
    r = []
    en_bloque = False
    resto = []
    for linea in md.split("\n"):
        if linea.strip().startswith("```"):
            en_bloque = not en_bloque
            continue
        if en_bloque or linea.startswith("    "):
            r.append(linea.strip())
        else:
            resto.append(linea)
    texto = "\n".join(resto)
    for m in re.finditer(r"(`+)(.+?)\1", texto, re.S):
        r.append(m.group(2).replace("\\|", "|"))
    return [" ".join(x.split()) for x in r]


def aparece(p, trozos):
    for t in trozos:
        desde = 0
        for x in p:
            k = t.find(x, desde)
            if k < 0:
                break
            desde = k + len(x)
        else:
            return True
    return False


# --- the checks ----------------------------------------------------------

def comprueba_mensajes(raiz):
    md = open(os.path.join(raiz, GUIA), encoding="utf-8").read()
    lista = seccion(md, TITULO_MENSAJES)
    if lista is None:
        return [f"{GUIA} no tiene la seccion \"## {TITULO_MENSAJES}\""]
    trozos = trozos_de_codigo(lista)
    faltan = []
    vistos = set()
    for fichero, linea, texto in mensajes_de(raiz):
        p = piezas(texto)
        if tuple(p) in vistos:
            continue
        vistos.add(tuple(p))
        if not aparece(p, trozos):
            faltan.append(f"{fichero}:{linea}: {texto.strip()!r}")
    if faltan:
        faltan.insert(0, f"{len(faltan)} mensajes de los programas no estan en la lista de "
                      f"\"## {TITULO_MENSAJES}\" de {GUIA}. Anada cada uno, entre `comillas "
                      "invertidas`, en el grupo donde lo buscaria quien lo ve, con un ejemplo o "
                      "una palabra en lugar de cada %s/%d, y diga que hacer:")
    todo = trozos_de_codigo(md)
    for fichero, linea, palabra in palabras_de(raiz):
        if not aparece([palabra], todo):
            faltan.append(f"{fichero}:{linea}: la palabra {palabra!r} de la segunda opinion "
                          f"no esta en {GUIA}: expliquela entre `comillas invertidas`")
    return faltan


def opciones_de_ayuda(programa):
    salida = subprocess.run([programa, "--help"], capture_output=True, timeout=60, check=True).stdout
    return sorted(set(re.findall(r"(?<![\w-])--[a-z][a-z-]*", salida.decode("utf-8", "replace"))))


def comprueba_ayuda(raiz, programa):
    opciones = opciones_de_ayuda(programa)
    if len(opciones) < 5:
        return [f"{programa} --help no nombra opciones: {opciones}"]
    guia = open(os.path.join(raiz, GUIA), encoding="utf-8").read()
    return [f"la opcion {o} de --help no esta en {GUIA}: anadala a la tabla de opciones"
            for o in opciones if not re.search(re.escape(o) + r"(?![\w-])", guia)]


def ancla(titulo):
    """A heading's anchor as the forges and the HTML of the package make it."""
    t = re.sub(r"<[^>]+>|[`*_]", "", titulo).strip().lower()
    t = re.sub(r"[^\w\- ]", "", t)
    return t.replace(" ", "-")


def anclas_de(md):
    r = set()
    en_bloque = False
    for linea in md.split("\n"):
        if linea.strip().startswith("```"):
            en_bloque = not en_bloque
        m = re.match(r"^#{1,6}\s+(.*?)\s*#*\s*$", linea)
        if m and not en_bloque:
            r.add(ancla(m.group(1)))
    return r


def comprueba_enlaces(raiz, paginas=("README.md", GUIA)):
    faltan = []
    for pagina in paginas:
        ruta = os.path.join(raiz, pagina)
        md = open(ruta, encoding="utf-8").read()
        sin_codigo = re.sub(r"```.*?```", "", md, flags=re.S)
        sin_codigo = re.sub(r"(`+).+?\1", "", sin_codigo)
        for m in re.finditer(r"!?\[[^\]]*\]\(([^)\s]+)(?:\s+\"[^\"]*\")?\)", sin_codigo):
            destino = m.group(1)
            if re.match(r"^[a-z]+:", destino):
                continue  # another site: not fetched
            fichero, _, fragmento = destino.partition("#")
            objetivo = os.path.normpath(os.path.join(os.path.dirname(ruta), fichero)) if fichero else ruta
            if not os.path.exists(objetivo):
                faltan.append(f"{pagina}: {destino} no existe")
                continue
            if fragmento:
                if not objetivo.endswith(".md"):
                    faltan.append(f"{pagina}: {destino}: solo una pagina .md tiene apartados")
                elif fragmento not in anclas_de(open(objetivo, encoding="utf-8").read()):
                    faltan.append(f"{pagina}: {destino}: no hay ningun apartado con ese nombre")
    return faltan


# --- the checker's own check ---------------------------------------------

ARBOL_DE_PRUEBA = {
    "src/a/uno.cpp": '''
static const char AJENO[] = "<Ese fichero no es suyo>";
static const char* const OTRO = "texto de una etiqueta de pantalla";
void f(char* mensaje, int n) {
  snprintf(mensaje, n, "<Linea %lld: \\xab%s\\xbb no vale>", 3LL);  // a note "<no es un mensaje>"
  rechaza("%s: no se puede abrir (%s)", "a", "b");
  snprintf(texto, n, "una cifra %d", 2);
  muestra(AJENO);
  rechazo_pon(r, "%s", AJENO);
  fprintf(stderr, "aviso: %s sin peces\\n", "x");
  fprintf(stdout, "peces leidos: %d\\n", 2);
}
''',
    "src/analysis/remocion_estado.cpp": '''
static const char* const PALABRAS[2][2] = {{"sin peces", "Frase."}, {"cerca del l\\xedmite", "Frase."}};
''',
}
GUIA_DE_PRUEBA = '''# Guia
[metodos](metodos.md#formulas) y [nada](nada.md) y ![img](falta.png)
## Mensajes
| `<Ese fichero no es suyo>` | |
| `<Linea 12: «T\\|1» no vale>` | |
`sin peces`
## Otra
`pasadas-informe: datos.csv: no se puede abrir (No such file)` fuera de la lista
'''


def prueba():
    with tempfile.TemporaryDirectory() as raiz:
        for ruta, texto in list(ARBOL_DE_PRUEBA.items()) + [(GUIA, GUIA_DE_PRUEBA),
                                                              ("docs/metodos.md", "# M\n## Otra cosa\n"),
                                                              ("README.md", "[g](docs/guia.md#mensajes)\n")]:
            os.makedirs(os.path.dirname(os.path.join(raiz, ruta)), exist_ok=True)
            open(os.path.join(raiz, ruta), "w", encoding="utf-8").write(texto)
        leidos = sorted(t for _, _, t in mensajes_de(raiz))
        esperados = sorted(["<Ese fichero no es suyo>", "<Linea %lld: «%s» no vale>",
                            "%s: no se puede abrir (%s)", "aviso: %s sin peces\n"])
        faltan = comprueba_mensajes(raiz)
        enlaces = comprueba_enlaces(raiz)
    fallos = []
    if leidos != esperados:
        fallos.append(f"mensajes leidos {leidos}, se esperaban {esperados}")
    if not (len(faltan) == 4 and "no se puede abrir" in faltan[1] and "sin peces" in faltan[2]
            and "cerca del l" in faltan[3]):
        fallos.append(f"faltan {faltan}")
    if not (len(enlaces) == 3 and "#formulas" in enlaces[0] and "nada.md" in enlaces[1]
            and "falta.png" in enlaces[2]):
        fallos.append(f"enlaces {enlaces}")
    return fallos


def main():
    a = argparse.ArgumentParser()
    a.add_argument("--raiz", default=os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", ".."))
    a.add_argument("--informe")
    a.add_argument("--listar", action="store_true")
    a.add_argument("--prueba", action="store_true")
    a.add_argument("que", nargs="?", choices=["ayuda", "mensajes", "enlaces"])
    args = a.parse_args()
    if args.listar:
        for f, l, t in mensajes_de(args.raiz):
            print(f"{f}:{l}: {t.strip()!r}")
        return 0
    if args.prueba:
        fallos = prueba()
    elif args.que == "ayuda":
        fallos = comprueba_ayuda(args.raiz, args.informe)
    elif args.que == "mensajes":
        fallos = comprueba_mensajes(args.raiz)
    elif args.que == "enlaces":
        fallos = comprueba_enlaces(args.raiz)
    else:
        a.error("diga que comprobar")
    for f in fallos:
        print(f)
    return 1 if fallos else 0


if __name__ == "__main__":
    sys.exit(main())
