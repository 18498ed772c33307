# Checks the help PDF: a complete PDF file, A4, several pages, and text that a reader can extract
# (proof that the fonts were embedded with their character maps and the accents survived).
# Usage: cmake -DPDF=... -DVERSAO=03.02 [-DPDFINFO=...] [-DPDFTOTEXT=...] -P verificar_ajuda.cmake
cmake_minimum_required(VERSION 3.25)

if(NOT EXISTS "${PDF}")
    message(FATAL_ERROR "PDF da ajuda ausente: ${PDF}")
endif()
file(SIZE "${PDF}" tamanho)
if(tamanho LESS 20000)
    message(FATAL_ERROR "PDF da ajuda pequeno demais: ${tamanho} bytes")
endif()
# Compared as hex: a text read of a few bytes is not cut exactly at LIMIT.
file(READ "${PDF}" inicio LIMIT 5 HEX)
if(NOT inicio STREQUAL "255044462d")
    message(FATAL_ERROR "o arquivo não começa com %PDF-: ${inicio}")
endif()
math(EXPR posicao_fim "${tamanho} - 16")
file(READ "${PDF}" fim OFFSET ${posicao_fim})
if(NOT fim MATCHES "%%EOF")
    message(FATAL_ERROR "o arquivo não termina com %%EOF (gravação incompleta?)")
endif()

set(minimo_paginas 6)
if(PDFINFO)
    execute_process(COMMAND "${PDFINFO}" "${PDF}" OUTPUT_VARIABLE info RESULT_VARIABLE rc ERROR_VARIABLE erro)
    if(NOT rc EQUAL 0 OR erro MATCHES "Syntax Error")
        message(FATAL_ERROR "pdfinfo recusou o arquivo (${rc}): ${erro}")
    endif()
    if(NOT info MATCHES "Pages: +([0-9]+)")
        message(FATAL_ERROR "pdfinfo não informou o número de páginas:\n${info}")
    endif()
    set(paginas ${CMAKE_MATCH_1})
    if(NOT info MATCHES "Page size: +[0-9.]+ x [0-9.]+ pts \\(A4\\)")
        message(FATAL_ERROR "as páginas não são A4:\n${info}")
    endif()
    if(NOT info MATCHES "Title: +Quibar Zavoro - Ajuda")
        message(FATAL_ERROR "título do documento incorreto:\n${info}")
    endif()
else()
    # Without poppler: every page object carries "/Type /Page", the page tree "/Type /Pages".
    file(STRINGS "${PDF}" objetos REGEX "/Type */Page([^s]|$)")
    list(LENGTH objetos paginas)
endif()
if(paginas LESS minimo_paginas)
    message(FATAL_ERROR "a ajuda tem ${paginas} páginas; esperadas ao menos ${minimo_paginas}")
endif()

if(PDFTOTEXT)
    execute_process(COMMAND "${PDFTOTEXT}" -enc UTF-8 "${PDF}" - OUTPUT_VARIABLE texto RESULT_VARIABLE rc)
    if(NOT rc EQUAL 0)
        message(FATAL_ERROR "pdftotext falhou (${rc})")
    endif()
    # Phrases wrap inside table cells: compare with the line breaks as plain spaces.
    string(REGEX REPLACE "[ \t\r\n]+" " " texto "${texto}")
    foreach(trecho IN ITEMS
            "Quibar Zavoro - Ajuda"
            "Versão ${VERSAO}"
            "Página 2 de ${paginas}"
            "Conversor de Arquivo(s) - Padrão"
            "Selecione Diretório..."
            "Muitos arquivos de navegação foram encontrados."
            "Ajuste os valores em ordem crescente."
            "Cobertura inteira (sem controlador Zavoro)"
            "Mapa Gerado com erros na impressão de guias"
            "Converter e Desenhar Mapa"
            "zavoro procurar PASTA"
            "Solução de problemas")
        string(FIND "${texto}" "${trecho}" achado)
        if(achado EQUAL -1)
            message(FATAL_ERROR "texto ausente no PDF: \"${trecho}\"")
        endif()
    endforeach()
endif()
message(STATUS "Ajuda: ${paginas} páginas")
