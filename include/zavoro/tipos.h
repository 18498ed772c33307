// Basic types shared by every module of the core.
#pragma once

#include <cstdint>

// Readers and writers answer TRUE/FALSE; in C++ that is a plain bool.
using BOOL = bool;
#ifndef TRUE
inline constexpr BOOL TRUE = true;
#endif
#ifndef FALSE
inline constexpr BOOL FALSE = false;
#endif
