#include "MSPDeviceLink.h"

namespace {

MSPDeviceLink* registeredLink = nullptr;

} // namespace

MSPDeviceLink::~MSPDeviceLink() {
    if (registeredLink == this)
        registeredLink = nullptr;
}

MSPDeviceLink* MSPDeviceLink::registered() {
    return registeredLink;
}

void MSPDeviceLink::registerLink(MSPDeviceLink* link) {
    registeredLink = link;
}
