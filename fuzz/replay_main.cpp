// Runs a fuzz target over saved inputs without libFuzzer, so any compiler can replay a corpus.
// Usage: <target>_replay PATH...   (a PATH is a file or a folder of files)
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pucDados, size_t ulTamanho);
// Optional in a target; the weak reference stays null when the target does not define it.
extern "C" __attribute__((weak)) int LLVMFuzzerInitialize(int* piArgc, char*** pppszArgv);

namespace fs = std::filesystem;

static bool replay_ExecutarArquivo(const fs::path& caminho)
{
    std::ifstream entrada(caminho, std::ios::binary);
    if (!entrada)
    {
        std::fprintf(stderr, "nao foi possivel abrir %s\n", caminho.string().c_str());
        return false;
    }
    std::vector<char> dados((std::istreambuf_iterator<char>(entrada)), std::istreambuf_iterator<char>());

    // An exact-size heap copy, so a sanitizer sees any read past the end of the input.
    std::unique_ptr<uint8_t[]> pucCopia(new uint8_t[dados.size()]);
    std::copy(dados.begin(), dados.end(), pucCopia.get());
    std::fprintf(stderr, "executando %s (%zu bytes)\n", caminho.string().c_str(), dados.size());
    LLVMFuzzerTestOneInput(pucCopia.get(), dados.size());
    return true;
}

int main(int iArgc, char** ppszArgv)
{
    if (LLVMFuzzerInitialize)
    {
        LLVMFuzzerInitialize(&iArgc, &ppszArgv);
    }

    size_t ulExecutadas = 0;
    bool bErro = false;
    for (int i = 1; i < iArgc; ++i)
    {
        const fs::path caminho(ppszArgv[i]);
        std::error_code erro;
        std::vector<fs::path> arquivos;
        if (fs::is_directory(caminho, erro))
        {
            for (const fs::directory_entry& item : fs::directory_iterator(caminho, erro))
            {
                if (item.is_regular_file())
                {
                    arquivos.push_back(item.path());
                }
            }
            std::sort(arquivos.begin(), arquivos.end()); // same order on every run
        }
        else if (fs::is_regular_file(caminho, erro))
        {
            arquivos.push_back(caminho);
        }
        else
        {
            std::fprintf(stderr, "caminho inexistente: %s\n", caminho.string().c_str());
            bErro = true;
            continue;
        }

        for (const fs::path& arquivo : arquivos)
        {
            if (replay_ExecutarArquivo(arquivo))
            {
                ++ulExecutadas;
            }
            else
            {
                bErro = true;
            }
        }
    }

    std::printf("%zu entradas executadas\n", ulExecutadas);
    return bErro ? 1 : 0;
}
