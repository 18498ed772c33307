#!/usr/bin/env python3
"""Checks the help PDF's text layer: a line that straddles a page break must be on one page only, or a
search finds it twice. Each page's first text line is compared with the lines that close the page
before it (header and footer apart). Usage: verificar_quebras.py PDFTOTEXT PDF"""
import re
import subprocess
import sys

MOLDURA = re.compile(r"^(Quibar Zavoro - Ajuda|Versão \S+|Página \d+ de \d+)$")


def linhas(pdftotext, pdf, pagina):
    texto = subprocess.run([pdftotext, "-enc", "UTF-8", "-f", str(pagina), "-l", str(pagina), pdf, "-"],
                           check=True, capture_output=True, text=True).stdout
    saida = []
    for linha in texto.replace("\f", "\n").splitlines():
        linha = linha.strip()
        # Header and footer sit on every page; both can share a line in the text layer.
        for pedaco in ("Quibar Zavoro - Ajuda",):
            if linha.startswith(pedaco) and linha != pedaco:
                linha = linha[len(pedaco):].strip()
        if linha and not MOLDURA.match(linha):
            saida.append(linha)
    return saida


def main():
    pdftotext, pdf = sys.argv[1], sys.argv[2]
    info = subprocess.run(["pdfinfo", pdf], capture_output=True, text=True).stdout
    paginas = int(re.search(r"Pages:\s+(\d+)", info).group(1))
    repetidas = []
    anterior = linhas(pdftotext, pdf, 2)
    for pagina in range(3, paginas + 1):
        atual = linhas(pdftotext, pdf, pagina)
        fim, inicio = anterior[-3:], atual[:3]
        for linha in inicio:
            if len(linha) > 3 and linha in fim:
                repetidas.append(f"páginas {pagina - 1} e {pagina}: {linha!r}")
        anterior = atual
    if repetidas:
        print("linhas repetidas na quebra de página:\n" + "\n".join(repetidas))
        return 1
    print(f"{paginas} páginas, nenhuma linha repetida numa quebra")
    return 0


if __name__ == "__main__":
    sys.exit(main())
