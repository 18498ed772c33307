#include "rc/recursos.h"

#include <QtGlobal>

// Q_INIT_RESOURCE declares the generated initialiser in the enclosing namespace, so this must stay in the
// global one, where rcc defined it.
void principal_IniciarRecursos()
{
    Q_INIT_RESOURCE(zavoro_rc);
}
