// Small helpers shared by every module: string checks, the decimal comma, Windows-1252 <-> UTF-8,
// pauses and the one allocation that must never fail quietly.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <system_error>

#include "zavoro/tipos.h"

// TRUE when a zero byte occurs among the first iTamanho bytes (a fixed-size text field is terminated
// inside its field); FALSE otherwise, also for a size of 0 or less.
BOOL funcAux_VerificarValidadeString(const unsigned char* pucTexto, int iTamanho);

// In place: every '.' with an ASCII digit directly before and after it becomes ','.
// "1.5 ha. 2.75" becomes "1,5 ha. 2,75".
void funcAux_SubstituirPontoPorVirgula(std::string& szTexto);

// A name or message for one line of output: control characters (a newline in a file name, say) are
// written as "\n", "\r", "\t" or "\xNN", so that no name can forge a line.
std::string funcAux_EscaparControles(std::string_view szTexto);

// A text for XML. Element text (D_FUNCAUX_XML_TEXTO): '&', '<' and '>' as entities, everything else as
// it is. Attribute values (D_FUNCAUX_XML_ATRIBUTO): '"' too, tab, line feed and carriage return as
// character references (a reader would fold them into spaces), and the other control characters, which
// XML 1.0 cannot carry at all, as '?'.
inline constexpr int D_FUNCAUX_XML_TEXTO = 0;
inline constexpr int D_FUNCAUX_XML_ATRIBUTO = 1;
std::string funcAux_EscaparXml(std::string_view szUtf8, int iModo = D_FUNCAUX_XML_TEXTO);

// Pause of n units between files. The unit is chosen by the caller (the desktop app uses a short
// wall-clock unit, the command and the tests zero); it sleeps and never spins.
void funcAux_Delay(int n, std::chrono::nanoseconds unidade);

// Callback that tells the user an allocation failed, with text and caption. The command sets one that
// prints; without one (the desktop app sets none) the text goes to standard error. Whatever the
// callback does, the process then ends with exit code 1.
using FuncAux_AvisoFalhaAlocacao = void (*)(const char* pcTexto, const char* pcTitulo);
void funcAux_DefinirAvisoFalhaAlocacao(FuncAux_AvisoFalhaAlocacao pfAviso);
inline constexpr const char* D_FUNCAUX_TEXTO_ERRO_ALOCACAO = "Erro de alocação de memória!";
inline constexpr const char* D_FUNCAUX_TITULO_ERRO_ALOCACAO = "Erro Fatal";

// A new raw block of n bytes (release with std::free); never returns null: on failure it reports
// through the callback above and ends the process with exit code 1.
void* funcAux_MallocCustom(int n);

// Windows-1252 <-> UTF-8. Decoding is lossless: the five bytes that Windows-1252 leaves undefined
// (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the C1 controls of the same value, so encoding gives back
// the original bytes. Encoding replaces what Windows-1252 cannot hold (and malformed UTF-8) by '?'
// and, when asked, says so through pbPerda.
std::string funcAux_Cp1252ParaUtf8(std::string_view szCp1252);
std::string funcAux_Utf8ParaCp1252(std::string_view szUtf8, BOOL* pbPerda = nullptr);

// The system's reason for a failure in Portuguese: the errno value, or an error code of the standard
// library ("sem espaço no disco", "permissão negada"...).
std::string funcAux_DescreverErro(int iErro);
std::string funcAux_DescreverErro(const std::error_code& ec);

// Paths are UTF-8 inside; the file system's own form (UTF-16 on Windows) is made here only. A
// Windows path too long for the classic API gets the "\\?\" prefix.
std::filesystem::path funcAux_Caminho(std::string_view szUtf8);
// A path made from UTF-8 text and its text back, to take paths apart (folder, name, extension) with no
// prefix added: a narrow path is the ANSI code page's on Windows, not UTF-8.
inline std::filesystem::path funcAux_CaminhoUtf8(std::string_view szUtf8)
{
    return std::filesystem::path(std::u8string(szUtf8.begin(), szUtf8.end()));
}
inline std::string funcAux_TextoCaminho(const std::filesystem::path& caminho)
{
    const std::u8string sz = caminho.u8string();
    return std::string(sz.begin(), sz.end());
}
// The file name of a UTF-8 path, and that name in the folder szPasta; UTF-8 in and out.
inline std::string funcAux_NomeArquivo(std::string_view szCaminho)
{
    return funcAux_TextoCaminho(funcAux_CaminhoUtf8(szCaminho).filename());
}
inline std::string funcAux_NaPasta(std::string_view szPasta, std::string_view szCaminho)
{
    return funcAux_TextoCaminho(funcAux_CaminhoUtf8(szPasta) / funcAux_CaminhoUtf8(szCaminho).filename());
}
// fopen of a path in the file system's form; "x" in the mode: only when no file has that name yet.
std::FILE* funcAux_AbrirArquivo(const std::filesystem::path& caminho, const char* pcModo);
// Why Windows refuses the last name of the path (a device name such as CON or aux.txt, a final dot or
// space, one of <>:"|?* or a control character), in Portuguese; empty when it accepts it. Checked by
// the Windows build only: Linux takes such names.
std::string funcAux_MotivoNomeProibidoWindows(std::string_view szCaminho);

// Output files that replace their target atomically: the text is written to a temporary file with a
// short fixed-length name (".zvr" + process id + counter + ".tmp") in the target's folder, and only a
// complete file is renamed over the target. A failed output leaves no temporary behind and an earlier
// file of the same name untouched. The first output into a folder removes what ended runs of this
// system left there (temporaries, backups) and finishes their interrupted publications.
// Large enough that a map's hundreds of megabytes take a few thousand writes.
inline constexpr std::size_t D_FUNCAUX_TAMANHO_BUFFER_SAIDA = 256 * 1024;
struct ST_ArquivoSaida
{
    std::FILE* pfArquivo = nullptr; // write here (binary mode, D_FUNCAUX_TAMANHO_BUFFER_SAIDA buffer)
    // The stream's buffer: the C library would give it only one disk block without one of ours.
    // Released when the stream is closed.
    std::unique_ptr<char[]> pBuffer;
    std::string szTemporario;
    std::string szDestino;
    bool bGravadoPorOutro = false; // the stream was let go: another writer fills szTemporario by name
};

// Opens the temporary file for szDestino. FALSE (with the reason in pszErro) when it cannot be created.
BOOL funcAux_AbrirArquivoSaida(const std::string& szDestino, ST_ArquivoSaida* pstSaida, std::string* pszErro = nullptr);
// Closes the stream of an opened output and keeps its temporary reserved for a writer that works by
// path (a library that creates its own files): publication then renames whatever that writer left at
// szTemporario. FALSE when the output was never opened or its stream did not close cleanly.
BOOL funcAux_LiberarArquivoSaida(ST_ArquivoSaida* pstSaida, std::string* pszErro = nullptr);
// Flushes, closes and renames over the target. FALSE when any step fails; the temporary is then removed.
BOOL funcAux_ConcluirArquivoSaida(ST_ArquivoSaida* pstSaida, std::string* pszErro = nullptr);
// Publishes the files of one set (all in one folder) as a unit: either every target is replaced, or
// (FALSE, with the reason) every earlier target stays as it was and no temporary is left. A process
// killed during the renames leaves a journal from which the next run finishes them.
BOOL funcAux_PublicarArquivosSaida(std::span<ST_ArquivoSaida* const> vSaidas, std::string* pszErro = nullptr);
// Closes and removes the temporary; the target is not touched. Safe to call on a closed record.
void funcAux_DescartarArquivoSaida(ST_ArquivoSaida* pstSaida);
// For a process about to end on a signal: waits for a publication in progress, removes every temporary
// of this process and keeps any other output from starting or being published. Does not return control
// of outputs: the caller exits right after.
void funcAux_EncerrarSaidas();
