"""One page of the documentation as HTML, for the package: the Markdown
through Debian's python3-markdown, its links to the other pages made to
point at their HTML, its headings given the anchors the forges give them.

  python3 pagina_html.py PAGINA.md PAGINA.html
"""
import re
import sys

import markdown
from markdown.extensions.toc import slugify_unicode

CABECERA = """<!DOCTYPE html>
<html lang="es">
<head>
<meta charset="utf-8">
<meta name="viewport" content="width=device-width, initial-scale=1">
<title>{titulo}</title>
<style>
body {{ font-family: sans-serif; max-width: 60em; margin: 1em auto; padding: 0 1em; line-height: 1.45; }}
table {{ border-collapse: collapse; margin: 1em 0; }}
th, td {{ border: 1px solid #bbb; padding: 0.25em 0.5em; vertical-align: top; text-align: left; }}
th {{ background: #d9d9d9; }}
code, pre {{ background: #f2f2f2; }}
pre {{ padding: 0.5em; overflow-x: auto; }}
img {{ max-width: 100%; }}
</style>
</head>
<body>
"""


def main(entrada, salida):
    texto = open(entrada, encoding="utf-8").read()
    m = re.search(r"^# (.+)$", texto, re.M)
    titulo = m.group(1).strip() if m else "Pasadas"
    cuerpo = markdown.markdown(texto, extensions=["tables", "fenced_code", "sane_lists", "toc"],
                               extension_configs={"toc": {"slugify": slugify_unicode}},
                               output_format="html")
    # the other pages are installed beside this one as HTML too
    cuerpo = re.sub(r'href="([^":#]+)\.md(#[^"]*)?"', lambda l: f'href="{l.group(1)}.html{l.group(2) or ""}"',
                    cuerpo)
    with open(salida, "w", encoding="utf-8") as f:
        f.write(CABECERA.format(titulo=titulo.replace("&", "&amp;").replace("<", "&lt;")))
        f.write(cuerpo)
        f.write("\n</body>\n</html>\n")


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2])
