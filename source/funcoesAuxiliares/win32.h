// <windows.h> for the files that call the Win32 API. Win32 declares BOOL as int, the system's BOOL
// is bool: the Win32 headers get their own name for theirs (WINBOOL), whatever was included before.
#pragma once

#if defined(_WIN32)
#ifndef _NO_BOOL_TYPEDEF
#define _NO_BOOL_TYPEDEF
#endif
#pragma push_macro("BOOL")
#undef BOOL
#define BOOL WINBOOL
#include <windows.h>
#pragma pop_macro("BOOL")
#endif

#if defined(_WIN32)
#include <string>
#include <string_view>

// UTF-8 inside, UTF-16 at the Win32 API.
inline std::wstring funcAux_Utf16(std::string_view szUtf8)
{
    if (szUtf8.empty())
        return {};
    const int iTamanho = MultiByteToWideChar(CP_UTF8, 0, szUtf8.data(), static_cast<int>(szUtf8.size()), nullptr, 0);
    std::wstring sz(static_cast<std::size_t>(iTamanho), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, szUtf8.data(), static_cast<int>(szUtf8.size()), sz.data(), iTamanho);
    return sz;
}

inline std::string funcAux_Utf8(std::wstring_view szUtf16)
{
    if (szUtf16.empty())
        return {};
    const int iTamanho = WideCharToMultiByte(CP_UTF8, 0, szUtf16.data(), static_cast<int>(szUtf16.size()), nullptr, 0,
                                             nullptr, nullptr);
    std::string sz(static_cast<std::size_t>(iTamanho), '\0');
    WideCharToMultiByte(CP_UTF8, 0, szUtf16.data(), static_cast<int>(szUtf16.size()), sz.data(), iTamanho, nullptr,
                        nullptr);
    return sz;
}
#endif
