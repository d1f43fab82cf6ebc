#!/usr/bin/env python3
"""Writes what `pasadas-informe --diagnostico` should print for the example, or
for the sample of groups near the limit that --cerca-del-limite writes, worked
out apart from the program, to check the golden files tests/datos/diagnostico_*.txt.

The program solves each likelihood's equations in double precision with its
own series for the gamma functions; this script only evaluates the
likelihoods themselves with mpmath at 40 digits (log-gamma, beta,
regularized incomplete gamma) and maximises them by golden-section search
and bisection, so that the two share no step but the methods' definitions:

  Zippin    the root q of R = q/(1-q) - k q^k/(1-q^k) by bisection, N = T/(1-q^k).
  Moran     L(N, p) = N!/(N-T)! p^T q^(X + k(N-T)),  X = sum (i-1) c_i,
            maximised over continuous N >= T; 95 % interval where ln L has
            fallen by half the chi-square(1) 95 % point, found here from the
            incomplete gamma; "sin limite" when it has not by N = 1e15.
  Schnute   the first pass with p1 = c1/N, the later ones with their own p;
            no maximum when the profile's best on a grid up to 2^50 fish is
            not above its value at 1e30 fish (its limit without end).
  Carle-Strub  the mode over whole N >= T of N!/(N-T)! B(T+1, X + k(N-T) + 1).
  ES        sqrt(N q^k (1-q^k) / ((1-q^k)^2 - (kp)^2 q^(k-1))).
  Tests     Moran against Schnute (1 df), Pearson's fit to T p q^(i-1)/(1-q^k)
            (k-2 df), one p for the classes against one each (classes-1 df).
The Zippin columns are the report's, from tools/informe_esperado.py.

    python3 tools/diagnostico_esperado.py > tests/datos/diagnostico_ejemplo.txt
    python3 tools/diagnostico_esperado.py --cerca-del-limite > tests/datos/cerca_del_limite.txt
    python3 tools/diagnostico_esperado.py tests/datos/cerca_del_limite.txt \
        > tests/datos/diagnostico_cerca_del_limite.txt
"""
import os
import sys

import mpmath as mp

from informe_esperado import EJEMPLO, grupo

mp.mp.dps = 40
ORO = (mp.sqrt(5) - 1) / 2
CHI2_95 = mp.findroot(lambda x: mp.gammainc(0.5, 0, x / 2, regularized=True) - mp.mpf('0.95'), 3.8)
SIN_LIMITE = mp.mpf('1e15')

PALABRAS = [
    ('sin peces', 'El grupo no tiene peces: no hay nada que estimar.'),
    ('un solo pez', 'Un pez no dice nada de la capturabilidad: la cifra es la captura, un m\u00ednimo.'),
    ('todos en la primera pasada (recuento completo, no estimaci\u00f3n)',
     'Las pasadas siguientes no capturaron ninguno: la captura se toma como recuento completo, '
     'sin intervalo.'),
    ('menos de 2 pasadas con peces',
     'Con peces en una sola pasada no hay descenso que medir: la cifra es la captura, un m\u00ednimo.'),
    ('capturas que no decrecen',
     'R >= (k-1)/2: Zippin no tiene soluci\u00f3n; la cifra es la captura, un m\u00ednimo.'),
    ('v\u00e1lida', 'Las capturas bajan de una pasada a otra: Zippin y Moran dan una estimaci\u00f3n.'),
    ('cerca del l\u00edmite',
     'R >= 0,9\u00b7(k-1)/2: las capturas apenas bajan; N y su intervalo son muy inciertos.'),
    ('Zippin impreciso cerca del l\u00edmite',
     'La N del informe, hallada por pasos de q, se aparta m\u00e1s de un 1 % de la ra\u00edz exacta de '
     'la ecuaci\u00f3n de Zippin (columna Zippin N exacto): c\u00edtese esa.'),
    ('p < 0,2', 'Cada pasada captura menos de la quinta parte de los peces: N depende mucho del '
     'modelo y su intervalo es ancho.'),
    ('ES/N > 0,5', 'El error t\u00edpico pasa de la mitad de N, o no existe: la cifra apenas informa.'),
    ('capturabilidad decreciente',
     'La primera pasada captur\u00f3 una parte mayor que las siguientes (Moran frente a Schnute, '
     'p < 0,05): con p constante N queda por debajo del real.'),
    ('capturabilidad creciente',
     'La primera pasada captur\u00f3 una parte menor que las siguientes (Moran frente a Schnute, '
     'p < 0,05): el supuesto de p constante no se cumple.'),
    ('mal ajuste a p constante',
     'Las capturas por pasada se apartan de las que da una p constante (ji cuadrado, p < 0,05).'),
    ('Schnute sin m\u00e1ximo',
     'Con la primera pasada aparte la verosimilitud sigue subiendo sin fin con N: Schnute no da '
     'estimaci\u00f3n, y la prueba Moran frente a Schnute usa su l\u00edmite.'),
    ('capturabilidad desigual entre clases',
     'Las clases no se capturan con la misma p (p < 0,05): el reparto por frecuencias de la '
     'muestra completa no es fiable; mejor las estimaciones por clases.'),
    ('Carle-Strub dudoso',
     'La alternativa de Carle y Strub da N/T > 3 o ES/N > 0,5, o no tiene ES: tampoco es fiable.'),
]
(SIN_PECES, UN_SOLO_PEZ, TODOS_PRIMERA, MENOS_DE_DOS, NO_DECRECEN, VALIDA, CERCA, IMPRECISO,
 P_BAJA, ES_GRANDE, BAJA, SUBE, AJUSTE, SIN_MAXIMO, DESIGUAL, CS_DUDOSO) = range(16)

CABECERA = ('Grupo\tPasadas\tCapturas por pasada\tT\tZippin N\tES Zippin\tZippin N exacto\tMoran N\tLI\tLS\tp\t'
            'Schnute N\tp Moran\u2013Schnute\tCarle\u2013Strub N\tES Carle\u2013Strub\t\u03c7\u00b2 p\tEstado\tAvisos\n')
NOTAS = (
    'Zippin N y ES Zippin: los del informe, sin redondeo; "-" donde la estimaci\u00f3n falla y el '
    'informe da la captura, que es solo un m\u00ednimo.\n'
    'Zippin N exacto: la ra\u00edz de la ecuaci\u00f3n de Zippin en doble precisi\u00f3n; '
    'cerca del l\u00edmite la b\u00fasqueda por pasos del informe puede quedarse lejos de ella.\n'
    'Moran: m\u00e1xima verosimilitud exacta con p constante (Moran 1951), sobre N continuo '
    'como Schnute (1983); LI y LS, intervalo del 95 % por verosimilitud perfil, nunca por debajo '
    'de T.\n'
    'Schnute: la primera pasada con su propia p (Schnute 1983); p Moran\u2013Schnute, '
    'raz\u00f3n de verosimilitudes entre ambos (1 gl): si la capturabilidad cambia tras la '
    'primera pasada.\n'
    'Carle\u2013Strub: la alternativa habitual cuando Zippin falla (verosimilitud ponderada, '
    'Carle y Strub 1978), con su ES (ES Carle\u2013Strub).\n'
    '\u03c7\u00b2 p: ajuste de las capturas por pasada a las que espera la p de Moran dados los '
    'peces capturados (k \u2212 2 gl).\n')


def xlogy(x, y):
    return x * mp.log(y) if x > 0 else mp.mpf(0)


def ln_L(c, N, p1, p):
    """ln L of the catches with p1 for the first pass and p for the later ones."""
    k, T = len(c), sum(c)
    v = mp.loggamma(N + 1) - mp.loggamma(N - T + 1) + xlogy(c[0], p1) + xlogy(N - c[0], 1 - p1)
    despues = sum(c[1:])
    escapes = sum((i - 1) * c[i] for i in range(1, k)) + (k - 1) * (N - T)
    return v + xlogy(despues, p) + xlogy(escapes, 1 - p)


def p_de(c, N):
    k, T = len(c), sum(c)
    return T / (T + sum(i * c[i] for i in range(k)) + k * (N - T))


def moran(c, N):
    p = p_de(c, N)
    return ln_L(c, N, p, p)


def schnute(c, N):
    k, T = len(c), sum(c)
    despues = sum(c[1:])
    p = despues / (despues + sum((i - 1) * c[i] for i in range(1, k)) + (k - 1) * (N - T))
    return ln_L(c, N, c[0] / N, p)


def maximo(f, a, b, pasos=160):
    """Golden-section search of f's maximum on [a, b]."""
    x1, x2 = b - ORO * (b - a), a + ORO * (b - a)
    f1, f2 = f(x1), f(x2)
    for _ in range(pasos):
        if f1 < f2:
            a, x1, f1 = x1, x2, f2
            x2 = a + ORO * (b - a)
            f2 = f(x2)
        else:
            b, x2, f2 = x2, x1, f1
            x1 = b - ORO * (b - a)
            f1 = f(x1)
    return (a + b) / 2


def corte(f, a, b):
    """Bisection for f = 0 between a and b, f(a) and f(b) of opposite signs."""
    fa = f(a)
    for _ in range(200):
        m = (a + b) / 2
        if (f(m) > 0) == (fa > 0):
            a, fa = m, f(m)
        else:
            b = m
    return (a + b) / 2


def perfil(c, f):
    """N, LI, LS (None: no limit) and ln L of the profile f's maximum over N >= T;
    N is None when no N on the grid beats the profile far beyond it."""
    T = mp.mpf(sum(c))
    rejilla = [T + mp.mpf(2) ** (e / 4) - 1 for e in range(0, 4 * 50)]
    mejor = max(range(len(rejilla)), key=lambda i: f(rejilla[i]))
    lejos = f(mp.mpf('1e30'))
    if mejor == len(rejilla) - 1 or f(rejilla[mejor]) <= lejos:
        return None, None, None, lejos
    N = maximo(f, rejilla[max(mejor - 1, 0)], rejilla[min(mejor + 1, len(rejilla) - 1)])
    if f(T) >= f(N):
        N = T
    tope = f(N)
    h = lambda x: f(x) - (tope - CHI2_95 / 2)
    li = T if h(T) >= 0 else corte(h, T, N)
    fuera = [x for x in rejilla if x > N and h(x) < 0 and x <= SIN_LIMITE]
    ls = corte(h, N, fuera[0]) if fuera else None
    return N, li, ls, tope


def error_tipico(N, p, k):
    """None where the variance is not positive: no ES, and none of 0 for a p of 1."""
    q = 1 - p
    den = (1 - q ** k) ** 2 - (k * p) ** 2 * q ** (k - 1)
    var = N * q ** k * (1 - q ** k) / den if den > 0 else 0
    return mp.sqrt(var) if var > 0 else None


def raiz_zippin(c):
    """N from the root of Zippin's equation, by bisection on q in (0, 1)."""
    k, T = len(c), sum(c)
    R = mp.mpf(sum(i * c[i] for i in range(k))) / T
    f = lambda q: q / (1 - q) - k * q ** k / (1 - q ** k) - R
    a, b = mp.mpf('1e-30'), 1 - mp.mpf('1e-30')
    for _ in range(200):
        m = (a + b) / 2
        a, b = (m, b) if f(m) < 0 else (a, m)
    return T / (1 - ((a + b) / 2) ** k)


def carle_strub(c):
    k, T = len(c), sum(c)
    X = sum(i * c[i] for i in range(k))
    W = lambda N: mp.loggamma(N + 1) - mp.loggamma(N - T + 1) + mp.log(mp.beta(T + 1, X + k * (N - T) + 1))
    N = T
    while W(N + 1) > W(N):
        N += 1
    return N, error_tipico(mp.mpf(N), p_de(c, mp.mpf(N)), k)


def cola(x, gl):
    return mp.gammainc(mp.mpf(gl) / 2, x / 2, mp.inf, regularized=True)


def estado(c):
    k, T = len(c), sum(c)
    X = sum(i * c[i] for i in range(k))
    if T == 0:
        return SIN_PECES
    if T == 1:
        return UN_SOLO_PEZ
    if k >= 2 and c[0] == T:
        return TODOS_PRIMERA
    if sum(1 for x in c if x > 0) < 2:
        return MENOS_DE_DOS
    if 2 * X >= (k - 1) * T:
        return NO_DECRECEN
    return VALIDA


def diagnostico(c, z):
    """The diagnosis of catches c; the warnings on p and ES/N judge Zippin's z when it exists."""
    k, T = len(c), sum(c)
    X = sum(i * c[i] for i in range(k))
    d = {'estado': estado(c), 'avisos': set(), 'moran': None, 'schnute': None, 'ms': None,
         'chi': None, 'raiz': None}
    d['cs'] = carle_strub(c) if T >= 1 and k >= 2 else None
    if d['estado'] == VALIDA:
        d['raiz'] = raiz_zippin(c)
        N, li, ls, l_m = perfil(c, lambda n: moran(c, n))
        p = p_de(c, N)
        d['moran'] = (N, li, ls, p)
        if k >= 3:
            Ns, _, _, l_s = perfil(c, lambda n: schnute(c, n))
            d['schnute'] = Ns
            d['ms'] = cola(max(0, 2 * (l_s - l_m)), 1)
            esperadas = [T * p * (1 - p) ** i / (1 - (1 - p) ** k) for i in range(k)]
            d['chi'] = cola(sum((o - e) ** 2 / e for o, e in zip(c, esperadas)), k - 2)
        if z['valida']:
            N_i, p_i, es_i = z['N'], 1 - z['q'], z['ES']
        else:
            N_i, p_i, es_i = N, p, error_tipico(N, p, k)
        avisos = d['avisos']
        if 20 * X >= 9 * (k - 1) * T:
            avisos.add(CERCA)
        if z['valida'] and abs(z['N'] - d['raiz']) > d['raiz'] / 100:
            avisos.add(IMPRECISO)
        if k >= 3 and d['schnute'] is None:
            avisos.add(SIN_MAXIMO)
        if p_i < 0.2:
            avisos.add(P_BAJA)
        if es_i is None or es_i > N_i / 2:
            avisos.add(ES_GRANDE)
        if d['ms'] is not None and d['ms'] < 0.05:
            avisos.add(BAJA if c[0] > N * p else SUBE)
        if d['chi'] is not None and d['chi'] < 0.05:
            avisos.add(AJUSTE)
    if d['cs']:
        N, es = d['cs']
        if N > 3 * T or es is None or es > N / 2:
            d['avisos'].add(CS_DUDOSO)
    return d


def entre_clases(capturas):
    """ln L with one p per valid class against one p for all, each class with its own N."""
    validas = [c for c in capturas if estado(c) == VALIDA]
    if len(validas) < 2:
        return None

    def con_p(c, p):
        T, k = sum(c), len(c)
        f = lambda N: ln_L(c, N, p, p)
        return f(maximo(f, mp.mpf(T), T + 20 * T / p + 20, 200))

    libre = sum(perfil(c, lambda n, c=c: moran(c, n))[3] for c in validas)
    p = maximo(lambda p: sum(con_p(c, p) for c in validas), mp.mpf('1e-6'), 1 - mp.mpf('1e-6'), 120)
    x = max(0, 2 * (libre - sum(con_p(c, p) for c in validas)))
    return x, len(validas) - 1, cola(x, len(validas) - 1)


def cifra(formato, x):
    return '\t-' if x is None else '\t' + formato % float(x)


def probabilidad(p):
    return '\t<0.001' if p is not None and p < 0.001 else cifra('%.3f', p)


def fila(nombre, c, z, d):
    s = '%s\t%d\t%s\t%d' % (nombre, len(c), ' '.join(str(x) for x in c), sum(c))
    s += cifra('%.2f', z['N'] if z['valida'] else None) + cifra('%.2f', z['ES'] if z['valida'] else None)
    s += cifra('%.2f', d['raiz'])
    m = d['moran']
    if m:
        s += cifra('%.1f', m[0]) + cifra('%.1f', m[1])
        s += '\tsin l\u00edmite' if m[2] is None else cifra('%.1f', m[2])
        s += cifra('%.3f', m[3])
    else:
        s += '\t-' * 4
    s += cifra('%.1f', d['schnute']) + probabilidad(d['ms'])
    s += cifra('%.0f', d['cs'][0] if d['cs'] else None) + cifra('%.2f', d['cs'][1] if d['cs'] else None)
    s += probabilidad(d['chi'])
    avisos = '; '.join(PALABRAS[w][0] for w in sorted(d['avisos'])) or '-'
    return s + '\t' + PALABRAS[d['estado']][0] + '\t' + avisos + '\n'


# Groups whose figures a search could not stand behind: Schnute profiles that
# rise for ever (the first four), catches that are all or nearly all in the
# first pass, and large catches that hardly fall (the report's Zippin far from
# its root). One class each, three passes.
CERCA_DEL_LIMITE = [(17, 11, 15), (21, 1, 12), (47, 29, 33), (54, 24, 29), (2, 5, 1), (1, 0, 0),
                    (38, 0, 0), (300, 299, 298)]


def muestra_cerca_del_limite():
    o = 'Pasada Longitud Peso Clase\n'
    for clase, c in enumerate(CERCA_DEL_LIMITE):
        for pasada, n in enumerate(c):
            o += '%d 12.0 20.0 %d\n' % (pasada + 1, clase) * n
    sys.stdout.write(o)


def lee_peces(nombre):
    with open(nombre) as f:
        filas = [l.split() for l in f.read().splitlines()[1:] if l.strip()]
    return [(int(pa), float(lo), float(pe), int(cl)) for pa, lo, pe, cl in filas]


def main():
    if sys.argv[1:] == ['--cerca-del-limite']:
        return muestra_cerca_del_limite()
    nombre = sys.argv[1] if len(sys.argv) > 1 else None
    peces = lee_peces(nombre) if nombre else EJEMPLO
    k = max(pa for pa, _, _, _ in peces)
    nclases = max(cl for _, _, _, cl in peces) + 1
    capturas = [[sum(1 for pa, _, _, cl in peces if pa == i + 1 and (g == nclases or cl == g))
                 for i in range(k)] for g in range(nclases + 1)]
    zippin = [grupo([0] + c, k) for c in capturas]
    diagnosticos = [diagnostico(c, z) for c, z in zip(capturas, zippin)]
    prueba = entre_clases(capturas[:nclases])
    if prueba and prueba[2] < 0.05:
        diagnosticos[nclases]['avisos'].add(DESIGUAL)
    o = 'Fichero: %s\n' % (os.path.basename(nombre) if nombre else 'ejemplo') + CABECERA
    for g, c in enumerate(capturas):
        o += fila('%d+' % g if g < nclases else 'Total', c, zippin[g], diagnosticos[g])
    o += '\nIgual capturabilidad entre clases'
    if prueba:
        x, gl, p = prueba
        o += (' (raz\u00f3n de verosimilitudes, %d clases v\u00e1lidas): \u03c7\u00b2 = %.2f con %d gl, p '
              % (gl + 1, float(x), gl))
        o += '< 0.001\n' if p < 0.001 else '= %.3f\n' % float(p)
    else:
        o += ': no se puede contrastar (hacen falta 2 clases v\u00e1lidas)\n'
    o += NOTAS + 'Estados y avisos:\n'
    for w, (palabra, sentido) in enumerate(PALABRAS):
        if any(d['estado'] == w or w in d['avisos'] for d in diagnosticos):
            o += '  %s: %s\n' % (palabra, sentido)
    sys.stdout.buffer.write(o.encode('utf-8'))


if __name__ == '__main__':
    main()
