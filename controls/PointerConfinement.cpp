#include "PointerConfinement.h"

namespace chromint {

namespace {
PointerConfinement gNoConfinement;
PointerConfinement* gConfinement = &gNoConfinement;
} // namespace

void SetPointerConfinement(PointerConfinement* confinement) {
    gConfinement = confinement ? confinement : &gNoConfinement;
}

PointerConfinement& GetPointerConfinement() {
    return *gConfinement;
}

} // namespace chromint
