// The application's built-in pictures, compiled into the zavoro_rc library.
#pragma once

// Registers the pictures under ":/rc/" (icoQuibar_16.png, _32, _48, _64 and logoMorvel.bmp). A resource
// in a static library is dropped by the linker unless something refers to it: call this once at start-up,
// before the first use. Calling it again does no harm.
void principal_IniciarRecursos();
