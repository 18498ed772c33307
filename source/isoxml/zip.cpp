// The zip library writes through our stream: its file functions are handed the caller's FILE*
// instead of opening a file by name, and closing the zip leaves that stream open.
#include "isoxml/zip.h"

#include <zip.h>

#include "zavoro/zavoro.h"

namespace
{
voidpf Abrir(voidpf pOpaco, const void*, int)
{
    return pOpaco;
}

uLong Ler(voidpf, voidpf, void*, uLong)
{
    return 0; // a zip being written is never read back
}

uLong Gravar(voidpf, voidpf pStream, const void* pBuffer, uLong ulTamanho)
{
    return static_cast<uLong>(std::fwrite(pBuffer, 1, ulTamanho, static_cast<std::FILE*>(pStream)));
}

ZPOS64_T Posicao(voidpf, voidpf pStream)
{
    const long long ll = ftello(static_cast<std::FILE*>(pStream));
    return ll < 0 ? static_cast<ZPOS64_T>(-1) : static_cast<ZPOS64_T>(ll);
}

long Buscar(voidpf, voidpf pStream, ZPOS64_T ullPosicao, int iOrigem)
{
    int iDe = SEEK_SET;
    if (iOrigem == ZLIB_FILEFUNC_SEEK_CUR)
        iDe = SEEK_CUR;
    else if (iOrigem == ZLIB_FILEFUNC_SEEK_END)
        iDe = SEEK_END;
    return fseeko(static_cast<std::FILE*>(pStream), static_cast<off_t>(ullPosicao), iDe) == 0 ? 0 : -1;
}

int Fechar(voidpf, voidpf)
{
    return 0; // the caller closes and publishes the stream
}

int Erro(voidpf, voidpf pStream)
{
    return std::ferror(static_cast<std::FILE*>(pStream));
}

// A console time as a DOS date and time (years before 1980 cannot be told).
tm_zip DataZip(std::uint32_t ulDataHora)
{
    tm_zip st{};
    st.tm_year = 1980;
    st.tm_mday = 1;
    if (ulDataHora == 0)
        return st;
    long lDia, lMes, lAno, lHora, lMinuto, lSegundo;
    zavoro_CalcularDataHoraSegundos(ulDataHora, &lDia, &lMes, &lAno, &lHora, &lMinuto, &lSegundo);
    if (lAno < 0 || lAno > 107 || lMes < 1 || lMes > 12 || lDia < 1 || lDia > 31)
        return st;
    st.tm_year = static_cast<uInt>(lAno + 2000);
    st.tm_mon = static_cast<uInt>(lMes - 1);
    st.tm_mday = static_cast<uInt>(lDia);
    st.tm_hour = static_cast<uInt>(lHora);
    st.tm_min = static_cast<uInt>(lMinuto);
    st.tm_sec = static_cast<uInt>(lSegundo);
    return st;
}

bool Falha(ST_ZipIsoxml* pstZip, const char* pcOque)
{
    if (pstZip->szErro.empty())
        pstZip->szErro = std::string("erro de compactação (") + pcOque + ")";
    return false;
}
} // namespace

bool isoxml_AbrirZip(std::FILE* pfSaida, std::uint32_t ulDataHoraConsole, ST_ZipIsoxml* pstZip)
{
    zlib_filefunc64_def stFuncoes{};
    stFuncoes.zopen64_file = Abrir;
    stFuncoes.zread_file = Ler;
    stFuncoes.zwrite_file = Gravar;
    stFuncoes.ztell64_file = Posicao;
    stFuncoes.zseek64_file = Buscar;
    stFuncoes.zclose_file = Fechar;
    stFuncoes.zerror_file = Erro;
    stFuncoes.opaque = pfSaida;
    const tm_zip stData = DataZip(ulDataHoraConsole);
    pstZip->ulDataDos = static_cast<std::uint32_t>(
        ((stData.tm_year - 1980) << 25) | ((stData.tm_mon + 1) << 21) | (stData.tm_mday << 16) |
        (stData.tm_hour << 11) | (stData.tm_min << 5) | (stData.tm_sec / 2));
    pstZip->pZip = zipOpen2_64("", APPEND_STATUS_CREATE, nullptr, &stFuncoes);
    return pstZip->pZip != nullptr || Falha(pstZip, "início");
}

bool isoxml_IniciarEntrada(ST_ZipIsoxml* pstZip, const std::string& szNome)
{
    zip_fileinfo stInfo{};
    stInfo.dosDate = pstZip->ulDataDos;
    if (zipOpenNewFileInZip64(pstZip->pZip, szNome.c_str(), &stInfo, nullptr, 0, nullptr, 0, nullptr,
                              Z_DEFLATED, Z_DEFAULT_COMPRESSION, 0) != ZIP_OK)
        return Falha(pstZip, szNome.c_str());
    pstZip->bEntradaAberta = true;
    return true;
}

bool isoxml_GravarEntrada(ST_ZipIsoxml* pstZip, std::string_view szDados)
{
    // The library takes at most 4 GiB a call; our pieces are far smaller.
    return zipWriteInFileInZip(pstZip->pZip, szDados.data(), static_cast<unsigned>(szDados.size())) ==
               ZIP_OK ||
           Falha(pstZip, "gravação");
}

bool isoxml_ConcluirEntrada(ST_ZipIsoxml* pstZip)
{
    pstZip->bEntradaAberta = false;
    return zipCloseFileInZip(pstZip->pZip) == ZIP_OK || Falha(pstZip, "fim da entrada");
}

bool isoxml_FecharZip(ST_ZipIsoxml* pstZip, bool bConfirmar)
{
    if (pstZip->pZip == nullptr)
        return false;
    bool bOk = true;
    if (pstZip->bEntradaAberta)
        bOk = isoxml_ConcluirEntrada(pstZip);
    bOk = zipClose(pstZip->pZip, nullptr) == ZIP_OK && bOk;
    pstZip->pZip = nullptr;
    return (bOk || Falha(pstZip, "diretório")) && bConfirmar;
}
