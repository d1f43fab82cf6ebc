#!/usr/bin/env python3
"""The layering of src/, read from the tree and the built libraries.

Every floor is a folder of src/ that sees itself and the floors it names.
Two readings must agree with that:
  - every #include "..." of every file, resolved as the compiler would
    (beside the file first, ../ paths included, then in the floors' folders),
    lands in the file's own floor or one it names, and a floor's internal
    header (NAME_interna.h) only in its own floor;
  - every symbol a floor's library leaves undefined (nm) is defined, if in
    any of the floors' libraries, in one it names.
The floors marked "calculo" form the core that runs without a window: they
name only core floors, include no Allegro header, and their libraries need
no symbol from Allegro's library. The floor marked "sistema" is the
operating system's: it needs no window either, names no floor, and is the
only one to include a header that only one system has.

  capas.py --src DIR [--allegro LIB] --piso NAME:LIB:BELOW,..:calculo|ventana|sistema ...
  capas.py --prueba     checks the checker on a small tree with four faults
LIB is "-" for a floor without its own library (a program's folder).
"""
import os
import subprocess
import sys
import tempfile

CABECERAS_VENTANA = ("allegro.h", "allegro/", "loadpng.h", "X11/", "alleggl.h")
CABECERAS_SISTEMA = ("unistd.h", "fcntl.h", "signal.h", "sys/", "pthread.h", "windows.h",
                     "io.h", "dirent.h", "shellapi.h")


def lee_pisos(args):
    pisos = {}
    for a in args:
        nombre, lib, abajo, clase = a.split(":")
        pisos[nombre] = {"lib": None if lib == "-" else lib,
                         "abajo": set(x for x in abajo.split(",") if x),
                         "calculo": clase in ("calculo", "sistema"),
                         "sistema": clase == "sistema"}
    return pisos


def piso_de(ruta, src):
    rel = os.path.relpath(ruta, src)
    return None if rel.startswith("..") else rel.split(os.sep)[0]


def includes(ruta):
    with open(ruta, encoding="latin-1") as f:
        for n, linea in enumerate(f, 1):
            t = linea.strip()
            if not t.startswith("#"):
                continue
            t = t[1:].strip()
            if not t.startswith("include"):
                continue
            t = t[len("include"):].strip()
            if t[:1] in ('"', "<"):
                cierre = '"' if t[0] == '"' else ">"
                fin = t.find(cierre, 1)
                if fin > 0:
                    yield n, t[0], t[1:fin]


def resuelve(nombre, ruta, src, pisos):
    """Floors the header may come from: beside the file, else any floor's folder."""
    junto = os.path.normpath(os.path.join(os.path.dirname(ruta), nombre))
    if os.path.isfile(junto):
        return [piso_de(junto, src)]
    return [p for p in pisos if os.path.isfile(os.path.join(src, p, nombre))]


def revisa_includes(src, pisos):
    faltas = []
    for piso, d in sorted(pisos.items()):
        visibles = d["abajo"] | {piso}
        carpeta = os.path.join(src, piso)
        for raiz, _, ficheros in os.walk(carpeta):
            for f in sorted(ficheros):
                if not f.endswith((".h", ".cpp")):
                    continue
                ruta = os.path.join(raiz, f)
                rel = os.path.relpath(ruta, src)
                for n, tipo, nombre in includes(ruta):
                    if tipo == "<":
                        if d["calculo"] and nombre.startswith(CABECERAS_VENTANA):
                            faltas.append(f"{rel}:{n}: the core includes <{nombre}>")
                        if not d["sistema"] and nombre.startswith(CABECERAS_SISTEMA):
                            faltas.append(f"{rel}:{n}: {piso} includes the system's <{nombre}>")
                        continue
                    origen = resuelve(nombre, ruta, src, pisos)
                    if not origen:
                        faltas.append(f"{rel}:{n}: \"{nombre}\" is in no floor of src/")
                    elif not visibles & set(origen):
                        faltas.append(f"{rel}:{n}: {piso} includes \"{nombre}\" of {', '.join(origen)}")
                    elif nombre.endswith("_interna.h") and piso not in origen:
                        faltas.append(f"{rel}:{n}: {piso} includes {', '.join(origen)}'s internal \"{nombre}\"")
    return faltas


def simbolos(lib, *opciones):
    salida = subprocess.run(["nm", "-g", *opciones, lib], check=True,
                            capture_output=True, text=True).stdout
    fuertes, indefinidos = set(), set()
    for linea in salida.splitlines():
        partes = linea.split()
        if len(partes) == 2 and partes[0] == "U":
            indefinidos.add(partes[1])
        elif len(partes) == 3 and partes[1] in "TDBR":
            fuertes.add(partes[2])
    return fuertes, indefinidos


def revisa_simbolos(pisos, allegro):
    faltas = []
    definidos = {p: simbolos(d["lib"])[0] for p, d in pisos.items() if d["lib"]}
    de_allegro = simbolos(allegro, "-D")[0] if allegro else set()
    for piso, d in sorted(pisos.items()):
        if not d["lib"]:
            continue
        visibles = d["abajo"] | {piso}
        for s in sorted(simbolos(d["lib"])[1]):
            duenos = {p for p, defs in definidos.items() if s in defs}
            if duenos and not visibles & duenos:
                faltas.append(f"{piso} uses {s} of {', '.join(sorted(duenos))}")
            if d["calculo"] and s in de_allegro:
                faltas.append(f"{piso}, a core floor, uses Allegro's {s}")
    return faltas


def revisa_nucleo(pisos):
    return [f"{p}, a core floor, names {a}, which needs a window"
            for p, d in sorted(pisos.items()) for a in sorted(d["abajo"])
            if d["calculo"] and not pisos.get(a, {}).get("calculo")] + \
           [f"{p}, the system's floor, names {a}"
            for p, d in sorted(pisos.items()) if d["sistema"] for a in sorted(d["abajo"])]


def revisa(src, pisos, allegro):
    return revisa_nucleo(pisos) + revisa_includes(src, pisos) + revisa_simbolos(pisos, allegro)


def prueba():
    """A core header reaching up and for Allegro, a floor reaching for
    another's internal header, and a floor above the system's including a
    system header must give exactly four faults."""
    with tempfile.TemporaryDirectory() as d:
        for ruta, texto in {"bajo/bajo.h": '#include "../alto/alto.h"\n#include <allegro.h>\n',
                            "bajo/bajo.cpp": '#include "bajo.h"\n#include <sys/stat.h>\n',
                            "so/so.cpp": '#include <unistd.h>\n',
                            "bajo/bajo_interna.h": '',
                            "alto/alto.h": '#include "bajo.h"\n#include "../bajo/bajo_interna.h"\n'}.items():
            os.makedirs(os.path.join(d, os.path.dirname(ruta)), exist_ok=True)
            with open(os.path.join(d, ruta), "w") as f:
                f.write(texto)
        faltas = revisa(d, lee_pisos(["so:-::sistema", "bajo:-:so:calculo", "alto:-:bajo,so:ventana"]), None)
    esperadas = ["alto/alto.h:2: alto includes bajo's internal \"../bajo/bajo_interna.h\"",
                 "bajo/bajo.cpp:2: bajo includes the system's <sys/stat.h>",
                 "bajo/bajo.h:1: bajo includes \"../alto/alto.h\" of alto",
                 "bajo/bajo.h:2: the core includes <allegro.h>"]
    if faltas != esperadas:
        print("the layering check misses or invents faults:", *faltas, sep="\n  ", file=sys.stderr)
        return 1
    return 0


def main(argv):
    if argv == ["--prueba"]:
        return prueba()
    src, allegro, pisos = None, None, []
    i = 0
    while i < len(argv):
        if argv[i] == "--src":
            src = argv[i + 1]
        elif argv[i] == "--allegro":
            allegro = argv[i + 1]
        elif argv[i] == "--piso":
            pisos.append(argv[i + 1])
        else:
            print(f"capas.py: unknown argument {argv[i]}", file=sys.stderr)
            return 2
        i += 2
    pisos = lee_pisos(pisos)
    sin_piso = sorted(set(os.listdir(src)) - set(pisos))
    faltas = [f"src/{c} is no floor of the build" for c in sin_piso] + revisa(src, pisos, allegro)
    for f in faltas:
        print(f, file=sys.stderr)
    print(f"{len(pisos)} floors, {len(faltas)} faults")
    return 1 if faltas else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
