#!/usr/bin/env python3
"""Writes the results report that Pasadas should produce for a sample, worked
out apart from the program, to check the golden reports in tests/export/.

Every figure follows the program's documented formulas and summation orders.
Single precision is emulated by rounding to a 32-bit float after every
operation (f32); powers, logarithms, exponentials and square roots are taken
in double precision and then rounded, as the program does.

    python3 tools/informe_esperado.py [--datos FICHERO] [--superficie M2]
        [--volumen M3] [--metros M] [--linf CM] [--meses M]
        [--hasta 4|8] > informe.txt

Without --datos the built-in example of 38 fish is used; a data file has a header
of four words and then one fish a line: pass, length, weight, class. Without --linf, or with one below
the longest fish, the von Bertalanffy fit is not made: its rows and parameters are "-".
"""
import argparse
import math
import struct
import sys


def f32(x):
    return struct.unpack('f', struct.pack('f', x))[0]


def ceil(x):
    return float(math.ceil(x))


EJEMPLO = [  # pass, length, weight, class
    (1, 27.4, 103.41, 4), (1, 27.2, 112.11, 4), (1, 22.0, 66.52, 3), (1, 21.7, 70.02, 3),
    (1, 15.4, 27.90, 2), (1, 15.0, 28.00, 2), (1, 14.5, 27.39, 2), (1, 10.8, 8.21, 1),
    (1, 10.2, 7.60, 1), (1, 9.8, 7.36, 1), (1, 9.6, 7.52, 1), (1, 9.4, 7.64, 1),
    (1, 5.2, 1.38, 0), (1, 5.1, 1.39, 0), (1, 4.9, 0.88, 0), (1, 4.6, 0.79, 0),
    (1, 4.1, 0.60, 0), (2, 28.5, 148.77, 4), (2, 22.0, 70.35, 3), (2, 18.0, 42.71, 2),
    (2, 17.8, 44.79, 2), (2, 12.0, 10.16, 1), (2, 11.6, 10.11, 1), (2, 11.2, 9.96, 1),
    (2, 11.0, 10.28, 1), (2, 5.9, 1.75, 0), (2, 5.8, 1.79, 0), (2, 5.6, 1.73, 0),
    (2, 5.5, 1.16, 0), (2, 5.2, 1.07, 0), (3, 29.5, 150.76, 4), (3, 23.0, 113.62, 3),
    (3, 18.5, 64.04, 2), (3, 13.5, 26.62, 1), (3, 12.4, 22.18, 1), (3, 7.7, 3.69, 0),
    (3, 6.8, 2.27, 0), (3, 6.2, 1.87, 0)]

FALLIDA_J = 'Estimaci\xf3n fallida Nj=Cj'
FALLIDA_T = 'Estimaci\xf3n fallida Nt=Ct'
Z = f32(1.96)


class Salida:
    def __init__(self):
        self.partes = []

    def __call__(self, texto):
        self.partes.append(texto)

    def cifra(self, formato, v, definida=True, fin=''):
        ok = definida and math.isfinite(v)
        self.partes.append((formato % v if ok else '-') + fin)


# ---- the sample's own figures ----

def resumen(peces, nclases):
    n = len(peces)
    r = {'C': [], 'L': [], 'W': [], 'sL': [], 'sW': []}
    sumaL = sumaW = 0.0
    for j in range(nclases):
        de_j = [p for p in reversed(peces) if p[3] == j]  # last fish first
        sl = sw = 0.0
        for p in de_j:
            sl = f32(sl + p[1]); sw = f32(sw + p[2])
            sumaL = f32(sumaL + p[1]); sumaW = f32(sumaW + p[2])
        c = len(de_j)
        L = f32(sl / c) if c else 0.0
        W = f32(sw / c) if c else 0.0
        r['C'].append(c); r['L'].append(L); r['W'].append(W)
        r['sL'].append(dispersion([p[1] for p in de_j], L))
        r['sW'].append(dispersion([p[2] for p in de_j], W))
    r['sumaL'], r['sumaW'] = sumaL, sumaW
    r['mL'] = f32(sumaL / n); r['mW'] = f32(sumaW / n)
    r['sTL'] = dispersion([p[1] for p in reversed(peces)], r['mL'])
    r['sTW'] = dispersion([p[2] for p in reversed(peces)], r['mW'])
    return r


def dispersion(valores, media):
    if len(valores) < 2:
        return 0.0
    s = 0.0
    for v in valores:
        d = f32(v - media)
        s = f32(s + f32(d * d))
    return f32(math.sqrt(f32(s / (len(valores) - 1))))


# ---- removal estimator ----

def grupo(capturas, k):
    """capturas[j] for passes 1..k. Returns dict with R and, when valid, q, N, Var, ES, sup."""
    T = sum(capturas[1:])
    g = {'R': 0.0, 'valida': False}
    if T == 0:
        return g
    inv = f32(1.0 / T)
    R = 0.0
    for j in range(1, k + 1):
        R = f32(R + f32(f32((j - 1) * inv) * capturas[j]))
    g['R'] = R
    cota = f32((k - 1) / 2.0)
    if not (R > 0 and R < cota):
        return g

    def curva(q, qk):
        return f32(f32(q / f32(1 - q)) - f32(f32(k * qk) / f32(1 - qk)))
    q = f32(0.001)
    qk = f32(math.pow(q, k))
    f = curva(q, qk)
    while f32(f / R) < 0.9999:
        q = f32(q + 0.00005)
        qk = f32(math.pow(q, k))
        f = curva(q, qk)
    N = f32(T / f32(1 - qk))
    kp = f32(k * f32(1 - q))
    num = f32(f32(N * qk) * f32(1 - qk))
    den = f32(f32(math.pow(f32(1 - qk), 2)) - f32(f32(f32(math.pow(kp, 2)) * qk) / q))
    Var = f32(num / den)
    ES = f32(math.sqrt(Var))
    g.update(valida=True, q=q, N=N, Var=Var, ES=ES, sup=f32(N + f32(Z * ES)))
    return g


def conserva_suma(x, incluida, objetivo, descendente):
    """Rounded-up values, whole units taken off the smallest fractions first
    until they add up to objetivo; ties go to the last class scanned."""
    m = len(x)
    v = [ceil(x[i]) if incluida[i] else 0.0 for i in range(m)]
    clave = [f32(x[i] - f32(ceil(x[i]) - 1)) if incluida[i] else 0.0 for i in range(m)]
    orden = list(range(m - 1, -1, -1)) if descendente else list(range(m))
    while sum(v[i] for i in range(m) if incluida[i]) != objetivo:
        minimo, elegida = 1.0, 0
        for i in orden:
            if clave[i] != 0 and clave[i] <= minimo:
                minimo, elegida = clave[i], i
        v[elegida] -= 1
        clave[elegida] = 0.0
    return v


def estimador(peces, nclases, k):
    grupos = []
    for j in list(range(nclases)) + [None]:
        c = [0] * (k + 1)
        for p in peces:
            if (j is None or p[3] == j) and 1 <= p[0] <= k:
                c[p[0]] += 1
        grupos.append(grupo(c, k))
    valida = [g['valida'] for g in grupos[:nclases]]
    red = {}
    for col, desc in (('N', False), ('Var', True), ('ES', True), ('sup', True)):
        x = [g.get(col, 0.0) for g in grupos[:nclases]]
        total = 0.0
        for i in range(nclases):
            if valida[i]:
                total = f32(total + x[i])
        red[col] = conserva_suma(x, valida, ceil(total), desc)
    t = grupos[nclases]
    if t['valida']:
        n = len(peces)
        C = [sum(1 for p in peces if p[3] == j) for j in range(nclases)]
        cN = ceil(t['N'])
        cE = ceil(f32(Z * t['ES']))
        nclas = reparte([f32(f32(cN * C[j]) / n) for j in range(nclases)], cN, False)
        esclas = reparte([f32(f32(cE * C[j]) / n) for j in range(nclases)], cE, True)
        t.update(cN=cN, cE=cE, Nclas=nclas, ESclas=esclas)
    return grupos, red


def reparte(x, objetivo, descendente):
    """The by-frequency split: every class takes part; a unit comes off the floating value."""
    m = len(x)
    v = list(x)
    clave = [f32(x[i] - f32(ceil(x[i]) - 1)) for i in range(m)]
    orden = list(range(m - 1, -1, -1)) if descendente else list(range(m))
    while sum(ceil(a) for a in v) != objetivo:
        minimo, elegida = 1.0, 0
        for i in orden:
            if clave[i] != 0 and clave[i] <= minimo:
                minimo, elegida = clave[i], i
        v[elegida] = f32(v[elegida] - 1)
        clave[elegida] = 0.0
    return v


# ---- fits ----

def biometria(peces):
    n = len(peces)
    sw = sl3 = sxy = sx = sy = sxx = 0.0
    xs, ys = [], []
    for p in peces:
        x, y = f32(math.log10(p[1])), f32(math.log10(p[2]))
        xs.append(x); ys.append(y)
        sw = f32(sw + p[2]); sl3 = f32(sl3 + f32(math.pow(p[1], 3)))
        sxy = f32(sxy + f32(x * y)); sx = f32(sx + x); sy = f32(sy + y); sxx = f32(sxx + f32(x * x))
    fc = f32(sw / sl3)
    b = f32(f32(f32(n * sxy) - f32(sx * sy)) / f32(f32(n * sxx) - f32(sx * sx)))
    mx, my = f32(sx / n), f32(sy / n)
    c = f32(my - f32(b * mx))
    sse = sst = 0.0
    for x, y in zip(xs, ys):
        e = f32(y - f32(c + f32(b * x)))
        d = f32(y - my)
        sse = f32(sse + f32(e * e)); sst = f32(sst + f32(d * d))
    return f32(math.pow(10.0, c)), b, f32(1 - f32(sse / sst)), fc


def medias_clases(peces, nclases, edad0):
    """(age, mean length) of every class with fish; sums from the first fish."""
    puntos = []
    for j in range(nclases):
        s, c = 0.0, 0
        for p in peces:
            if p[3] == j:
                s = f32(s + p[1]); c += 1
        if c and f32(s / c) != 0:
            puntos.append((f32(j + edad0), f32(s / c)))
    return puntos


def bertalanffy(peces, nclases, linf, edad0):
    puntos = medias_clases(peces, nclases, edad0)
    xs = [x for x, _ in puntos]
    ys = [f32(math.log(f32(f32(linf - m) / linf))) for _, m in puntos]
    m = float(len(puntos))
    sx = sy = sxy = sx2 = 0.0
    for x, y in zip(xs, ys):
        sx = f32(sx + x); sy = f32(sy + y); sxy = f32(sxy + f32(x * y)); sx2 = f32(sx2 + f32(x * x))
    b = f32(f32(f32(m * sxy) - f32(sx * sy)) / f32(f32(m * sx2) - f32(sx * sx)))
    ym = f32(sy / m)
    a = f32(ym - f32(b * f32(sx / m)))
    t0 = f32(-a / b)
    res = tot = 0.0
    for x, y in zip(xs, ys):
        e = f32(y - f32(a + f32(b * x))); d = f32(y - ym)
        res = f32(res + f32(e * e)); tot = f32(tot + f32(d * d))
    r2 = f32(1 - f32(res / tot))
    pred = [f32(linf * f32(1 - f32(math.exp(f32(f32(i - t0) * b))))) for i in range(10)]
    return pred, -b, t0, r2


def polinomio(peces, nclases, edad0):
    puntos = medias_clases(peces, nclases, edad0)
    m = float(len(puntos))
    sq = lambda v: f32(math.pow(v, 2))
    cu = lambda v: f32(math.pow(v, 3))
    sx = sx2 = sx3 = sx4 = sy = sxy = sx2y = 0.0
    for x, y in puntos:
        x2 = sq(x)
        sx = f32(sx + x); sx2 = f32(sx2 + x2); sx3 = f32(sx3 + cu(x))
        sx4 = f32(sx4 + f32(math.pow(x, 4))); sy = f32(sy + y)
        sxy = f32(sxy + f32(x * y)); sx2y = f32(sx2y + f32(x2 * y))
    d = f32(f32(m * sx2) * sx4)
    d = f32(d + f32(f32(f32(2 * sx) * sx2) * sx3))
    d = f32(d - cu(sx2)); d = f32(d - f32(m * sq(sx3))); d = f32(d - f32(sx4 * sq(sx)))
    c11 = f32(f32(sx2 * sx4) - sq(sx3))
    c12 = -f32(f32(sx * sx4) - f32(sx2 * sx3))
    c13 = f32(f32(sx * sx3) - sq(sx2))
    c22 = f32(f32(m * sx4) - sq(sx2))
    c23 = -f32(f32(m * sx3) - f32(sx * sx2))
    c33 = f32(f32(m * sx2) - sq(sx))

    def fila(p, q, r):
        return f32(f32(f32(f32(p * sy) + f32(q * sxy)) + f32(r * sx2y)) / d)
    a0, a1, a2 = fila(c11, c12, c13), fila(c12, c22, c23), fila(c13, c23, c33)
    curva = lambda t: f32(f32(a0 + f32(a1 * t)) + f32(a2 * sq(t)))
    ym = f32(sy / m)
    res = tot = 0.0
    for x, y in puntos:
        res = f32(res + sq(f32(y - curva(x)))); tot = f32(tot + sq(f32(y - ym)))
    return [curva(float(i)) for i in range(10)], a0, a1, a2, f32(1 - f32(res / tot))


# ---- the report ----

def celdas(o, medidas, cuenta, biomasa, fin):
    for d in medidas:
        o.cifra('%.2f', f32(cuenta / d) if d else 0.0, d != 0, '\t')
    for i, d in enumerate(medidas):
        o.cifra('%.2f', f32(biomasa / d) if d else 0.0, d != 0, fin if i == 2 else '\t')


def fallidas(o, antes, cuantas):
    if cuantas == 1:
        o(antes + '1 estimaci\xf3n fallida\n')
    elif cuantas > 1:
        o('%s%d estimaciones fallidas\n' % (antes, cuantas))
    else:
        o('\n')


def informe(peces, a):
    n = len(peces)
    nclases = max([0] + [p[3] for p in peces]) + 1
    k = max([0] + [p[0] for p in peces])
    r = resumen(peces, nclases)
    C, W = r['C'], r['W']
    o = Salida()
    o('En orden descendente se exponen los siguientes resultados:\n\n1. Datos introducidos\n'
      '2. Medias y frecuencias sin estimaci\xf3n (CPUE)\n'
      '3. C\xe1lculo poblacional por clases (con y sin redondeo)\n'
      '4. C\xe1lculo poblacional por frecuencias (con y sin redondeo)\n'
      '5. Biomasa y densidades capturadas (CPUE)\n6. Biomasa y densidades estimadas por clases\n'
      '7. Biomasa y densidades estimadas por frecuencias\n8. Relaciones biom\xe9tricas\n'
      '9. Relaciones de crecimiento\n\n\n')
    o('1. Datos introducidos\n\nPasada\tLongitud\tPeso\tClases de edad\t\n')
    for p in peces:
        o('%d\t%2.2f\t%2.2f\t%d\t\n' % p)
    o('\n\n')
    o('2. Medias y frecuencias sin estimaci\xf3n (CPUE)\n\nClase\tLong med.(cm)\tEs(cm)\t'
      'Peso med.(g)\tEs(g)\tIndividuos(Cj)\tFrecuencia relativa(Cj/C)\n')
    for j in range(nclases):
        o('%d+\t%.2f\t%.2f\t%.2f\t%.2f\t%d\t' % (j, r['L'][j], r['sL'][j], W[j], r['sW'][j], C[j]))
        o('0.00\n' if C[j] == 0 else '%.3f\n' % f32(C[j] / n))
    o('\nTotal\t%.2f\t%.2f\t%.2f\t%.2f\t%d\t1.00\n\n\n' % (r['mL'], r['sTL'], r['mW'], r['sTW'], n))

    g, red = estimador(peces, nclases, k)
    seccion3(o, g, red, C, n, nclases)
    seccion4(o, g, C, n, nclases)
    if a.hasta == 4:
        return o
    medidas = (f32(a.volumen), f32(a.superficie), f32(a.metros))
    seccion5a7(o, g, red, C, W, r['sumaW'], n, nclases, medidas)

    ax, bx, r2, fc = biometria(peces)
    o('8. Relaciones biom\xe9tricas\n\na:\t%.4f\nb:\t%.4f\nr^2:\t%.3f\nFC:\t%.4f\n\n\n' % (ax, bx, r2, fc))
    if a.hasta == 8:
        return o
    edad0 = f32(f32(a.meses) / 12)
    o('9. Relaciones de crecimiento\n\n9.1. Von Bertalanffy:\n\nClase\tLongitud (cm)\n')
    if a.linf is None or f32(a.linf) < max(lo for _, lo, _, _ in peces):
        for j in range(10):
            o('%d+\t-\t\n' % j)
        o('\nPar\xe1metros:\nLinf:\t-\nk:\t-\nt0:\t-\nr^2:\t-\n')
    else:
        linf = f32(a.linf)
        pred, kk, t0, r2 = bertalanffy(peces, nclases, linf, edad0)
        for j in range(10):
            o('%d+\t%.2f\t\n' % (j, pred[j]))
        o('\nPar\xe1metros:\nLinf:\t%.3f\nk:\t%.3f\nt0:\t%.3f\nr^2:\t%.3f\n' % (linf, kk, t0, r2))
    pred, b0, b1, b2, r2 = polinomio(peces, nclases, edad0)
    o('\n9.2. Ajuste Polinomial:\n\nClase\tLongitud (cm)\n')
    for j in range(10):
        o('%d+\t%.2f\t\n' % (j, pred[j]))
    o('\nPar\xe1metros:\nB0:\t%.3f\nB1:\t%.3f\nB2:\t%.3f\nr^2:\t%.3f\n' % (b0, b1, b2, r2))
    return o


def seccion3(o, g, red, C, n, nclases):
    o('3. C\xe1lculo poblacional por clases (con y sin redondeo)\n\n'
      '\t\t\tSin redondeo:\t\t\t\t\t\t\tCon redondeo:\n'
      'Clases\tR\tp\tNj\tFr(Nj/N)\tVar(Nj)\tEs\tLimite Inf.\tL\xedmite Sup.\t\t'
      'Nj(ind)\tFr(Nj/N)\tVar(Nj)\tEs\tL\xedmite Inf.\tL\xedmite Sup.\n')
    Nsum = Usum = 0.0
    Nround = Uround = 0
    for j in range(nclases):
        if g[j]['valida']:
            Nsum = f32(Nsum + g[j]['N']); Nround += int(red['N'][j])
            Usum = f32(Usum + g[j]['sup']); Uround += int(red['sup'][j])
        else:
            Nsum = f32(Nsum + C[j]); Nround += C[j]
    F3 = 0
    for j in range(nclases):
        gj = g[j]
        if gj['valida']:
            o('%d+\t%.2f\t%.2f\t%.2f\t%.3f\t%.2f\t%.2f\t%d\t%.2f\t\t' % (
                j, gj['R'], f32(1 - gj['q']), gj['N'], f32(gj['N'] / Nsum), gj['Var'], gj['ES'],
                C[j], gj['sup']))
            o('%d\t%.3f\t%.2f\t%.2f\t%d\t%d\n' % (
                red['N'][j], f32(red['N'][j] / Nround), red['Var'][j], red['ES'][j], C[j],
                red['sup'][j]))
        else:
            o('%d+\t%.2f\t-\t%d\t-\t-\t-\t%d\t-%s' % (j, gj['R'], C[j], C[j], '\t*\t' if C[j] else '\t\t'))
            o('%d\t-\t-\t-\t%d\t-\t' % (C[j], C[j]))
            if C[j]:
                o('*\t%s\t\n' % FALLIDA_J); F3 += 1
            else:
                o('\t\n')
    hay = Nround != 0
    o('\nTotal\t-\t-\t')
    o('%.2f\t1.00\t' % Nsum if hay else '%d\t-\t' % n)
    o('-\t-\t%d\t' % n)
    o('%.2f\t' % Usum if hay and Usum != 0 else '-\t')
    o('*\t' if F3 else '\t')
    o('%d\t' % (Nround if hay else n))
    o('1.00\t' if hay else '-\t')
    o('-\t-\t%d\t' % n)
    o('%d\t' % Uround if hay and Uround else '-\t')
    fallidas(o, '*\t', F3)
    o('\n\n')


def seccion4(o, g, C, n, nclases):
    o('4. C\xe1lculo poblacional por frecuencias (con y sin redondeo)\n\n'
      '\t\t\tSin redondeo:\t\t\t\t\t\t\tCon redondeo:\n'
      'Clases\tR\tp\tNj\tFr(Cj/C)\tVar(Nj)\tEs\tL\xedmite Inf.\tL\xedmite Sup.\t\t'
      'Nj (ind)\tFr(Nj/N)\tVar(Nj)\tEs\tL\xedmite Inf.\tL\xedmite Sup.\n')
    t = g[nclases]
    if t['valida']:
        cN, cE = t['cN'], t['cE']
        o('Total\t%.2f\t%.2f\t%.2f\t1.00\t%.2f\t%.2f\t%d\t%.2f\t\t%d\t1.00\t%.2f\t%.2f\t%d\t%d\n' % (
            t['R'], f32(1 - t['q']), t['N'], t['Var'], t['ES'], n, f32(cN + f32(Z * t['ES'])),
            cN, ceil(t['Var']), ceil(t['ES']), n, int(cE + cN)))
        o('\n')
        for j in range(nclases):
            nj = ceil(t['Nclas'][j])
            o('%d+\t-\t-\t%.2f\t%.3f\t-\t-\t%d\t%.2f\t\t%d\t%.3f\t-\t-\t%d\t%d\n' % (
                j, f32(f32(cN * C[j]) / n), f32(C[j] / n), C[j],
                f32(f32(f32(cE * C[j]) / n) + nj), nj, f32(nj / cN), C[j],
                int(ceil(t['ESclas'][j]) + nj)))
    else:
        o('Total\t%.2f\t-\t%d\t1.00\t-\t-\t%d\t-\t*\t%d\t-\t-\t-\t%d\t-\t*\t%s\n' % (
            t['R'], n, n, n, n, FALLIDA_T))
        o('\n')
        for j in range(nclases):
            o('%d+\t-\t-\t%d\t%.3f\t-\t-\t%d\t-\t*\t%d\t-\t-\t-\t%d\t-\t*\t%s \t\n' % (
                j, C[j], f32(C[j] / n), C[j], C[j], C[j], FALLIDA_J))
    o('\n\n')


def seccion5a7(o, g, red, C, W, sumaW, n, nclases, medidas):
    cab = ('Clase\tNj\tDen. pob.(Nj/m^3)\tDen. pob.(Nj/m^2)\tDen. pob.(Nj/m)\t'
           'Biomasa(g/m^3)\tBiomasa(g/m^2)\tBiomasa(g/m)\n')
    o('5. Biomasa y densidades capturadas (CPUE)\n\nClase\tCj\tDen. pob.(Cj/m^3)\t'
      'Den. pob.(Cj/m^2)\tDen. pob.(Cj/m)\tBiomasa(g/m^3)\tBiomasa(g/m^2)\tBiomasa(g/m)\n')
    for j in range(nclases):
        o('%d+\t%d\t' % (j, C[j]))
        celdas(o, medidas, C[j], f32(C[j] * W[j]), '\t\n')
    o('\nTotal\t%d\t' % n)
    celdas(o, medidas, n, sumaW, '\t\n')
    o('\n\n')

    def capturada(j):
        o('%d+\t%d\t' % (j, C[j]))
        celdas(o, medidas, C[j], f32(C[j] * W[j]), '\t')
        o(FALLIDA_J + '\n' if C[j] else '\n')
        return 1 if C[j] else 0

    o('6. Biomasa y densidades estimadas por clases\n\n' + cab)
    Nround, F6, B6 = 0, 0, 0.0
    for j in range(nclases):
        if g[j]['valida']:
            nj = int(red['N'][j])
            o('%d+\t%d\t' % (j, nj))
            celdas(o, medidas, nj, f32(nj * W[j]), '\t\n')
            Nround += nj; B6 = f32(B6 + f32(nj * W[j]))
        else:
            F6 += capturada(j)
            Nround += C[j]; B6 = f32(B6 + f32(C[j] * W[j]))
    o('\nTotal\t%d\t' % Nround if Nround else '\nTotal\t-\t')
    celdas(o, medidas, Nround, B6, '\t')
    fallidas(o, ' ' if F6 == 1 else '', F6)
    o('\n\n')

    o('7. Biomasa y densidades estimadas por frecuencias\n\n' + cab)
    t = g[nclases]
    B = 0.0
    if t['valida']:
        for j in range(nclases):
            B = f32(B + f32(ceil(t['Nclas'][j]) * W[j]))
        o('Total\t%d\t' % t['cN'])
        celdas(o, medidas, t['cN'], B, '\t\n')
        o('\n')
        for j in range(nclases):
            nj = ceil(t['Nclas'][j])
            o('%d+\t%d\t' % (j, nj))
            celdas(o, medidas, nj, f32(nj * W[j]), '\t\n')
    else:
        for j in range(nclases):
            B = f32(B + f32(C[j] * W[j]))
        o('Total\t%d\t' % n)
        celdas(o, medidas, n, B, '\t%s\n' % FALLIDA_T)
        o('\n')
        for j in range(nclases):
            capturada(j)
    o('\n\n')


def main():
    p = argparse.ArgumentParser(description=__doc__.split('\n')[0])
    p.add_argument('--datos')
    p.add_argument('--superficie', type=float, default=0.0)
    p.add_argument('--volumen', type=float, default=0.0)
    p.add_argument('--metros', type=float, default=0.0)
    p.add_argument('--linf', type=float)
    p.add_argument('--meses', type=float, default=0.0)
    p.add_argument('--hasta', type=int, choices=(4, 8))
    a = p.parse_args()
    if a.datos:
        peces = []
        with open(a.datos) as f:
            campos = f.read().split()[4:]  # after the header "Pasada Longitud Peso Clase"
        for i in range(0, len(campos), 4):
            peces.append((int(campos[i]), f32(float(campos[i + 1])), f32(float(campos[i + 2])),
                          int(campos[i + 3])))
    else:
        peces = [(pa, f32(lo), f32(pe), cl) for pa, lo, pe, cl in EJEMPLO]
    sys.stdout.buffer.write(''.join(informe(peces, a).partes).encode('latin-1'))


if __name__ == '__main__':
    main()
