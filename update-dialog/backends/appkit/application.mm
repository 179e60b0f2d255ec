#include "application.h"

namespace tessary::update::appkit {

static_assert(static_cast<NSApplicationActivationPolicy>(ActivationPolicy::regular) ==
              NSApplicationActivationPolicyRegular);
static_assert(static_cast<NSApplicationActivationPolicy>(ActivationPolicy::accessory) ==
              NSApplicationActivationPolicyAccessory);
static_assert(static_cast<NSApplicationActivationPolicy>(ActivationPolicy::prohibited) ==
              NSApplicationActivationPolicyProhibited);

bool AppKitApplication::setActivationPolicy(ActivationPolicy policy) {
    return [application_ setActivationPolicy:static_cast<NSApplicationActivationPolicy>(policy)];
}

void AppKitApplication::activateIgnoringOtherApps(bool flag) {
    [application_ activateIgnoringOtherApps:flag ? YES : NO];
}

}  // namespace tessary::update::appkit
