// zavoro_icone SAIDA.ico IMAGEM.png...: packs the icon pictures the Linux build drew into one Windows
// icon file (PNG entries, as Windows Vista and later read them). Runs during the Windows build.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace
{
void Le16(std::vector<unsigned char>& v, std::uint32_t ul)
{
    v.push_back(static_cast<unsigned char>(ul));
    v.push_back(static_cast<unsigned char>(ul >> 8));
}

void Le32(std::vector<unsigned char>& v, std::uint32_t ul)
{
    Le16(v, ul & 0xFFFF);
    Le16(v, ul >> 16);
}

// Width and height from the PNG's IHDR; 0 when the bytes are no PNG.
std::uint32_t Lado(const std::vector<unsigned char>& vPng)
{
    static constexpr unsigned char kAssinatura[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (vPng.size() < 24 || !std::equal(std::begin(kAssinatura), std::end(kAssinatura), vPng.begin()))
        return 0;
    return std::uint32_t{vPng[16]} << 24 | std::uint32_t{vPng[17]} << 16 | std::uint32_t{vPng[18]} << 8 | vPng[19];
}
} // namespace

int main(int argc, char** argv)
{
    if (argc < 3)
    {
        std::fputs("uso: zavoro_icone SAIDA.ico IMAGEM.png...\n", stderr);
        return 2;
    }
    std::vector<std::vector<unsigned char>> vImagens;
    for (int i = 2; i < argc; i++)
    {
        std::ifstream arquivo(argv[i], std::ios::binary);
        vImagens.emplace_back(std::istreambuf_iterator<char>(arquivo), std::istreambuf_iterator<char>());
        const std::uint32_t ulLado = Lado(vImagens.back());
        if (ulLado == 0 || ulLado > 256)
        {
            std::fprintf(stderr, "zavoro_icone: %s: não é uma imagem PNG de até 256 pixels\n", argv[i]);
            return 1;
        }
    }
    std::vector<unsigned char> v;
    Le16(v, 0);
    Le16(v, 1); // icon
    Le16(v, static_cast<std::uint32_t>(vImagens.size()));
    std::uint32_t ulPosicao = static_cast<std::uint32_t>(6 + 16 * vImagens.size());
    for (const std::vector<unsigned char>& vPng : vImagens)
    {
        const std::uint32_t ulLado = Lado(vPng);
        v.push_back(static_cast<unsigned char>(ulLado & 0xFF)); // 256 is written as 0
        v.push_back(static_cast<unsigned char>(ulLado & 0xFF));
        v.push_back(0); // no palette
        v.push_back(0);
        Le16(v, 1);  // planes
        Le16(v, 32); // bits per pixel
        Le32(v, static_cast<std::uint32_t>(vPng.size()));
        Le32(v, ulPosicao);
        ulPosicao += static_cast<std::uint32_t>(vPng.size());
    }
    for (const std::vector<unsigned char>& vPng : vImagens)
        v.insert(v.end(), vPng.begin(), vPng.end());
    std::ofstream saida(argv[1], std::ios::binary);
    saida.write(reinterpret_cast<const char*>(v.data()), static_cast<std::streamsize>(v.size()));
    return saida.good() ? 0 : 1;
}
