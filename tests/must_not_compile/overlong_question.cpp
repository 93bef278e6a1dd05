// A question that would not fit the box's 255 characters after the banner:
// the build must stop here rather than show a cut text.
#include "toggle.h"

constexpr auto kOverlong = Lit(
    "Ajout Imprimante possible. Voulez-vous vraiment, tout de suite et pour cet utilisateur, desactiver ?");
bool Ask() { return AskConfirmation(kOverlong); }
