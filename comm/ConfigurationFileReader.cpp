#include "ConfigurationFileReader.h"

#include "ConnectionState.h"
#include "MSPComm.h"

MSPDocument::ReadResult ConfigurationFileReader::read(QIODevice* device, bool sendToDevice) {
    if (!device)
        return MSPDocument::ReadResult();
    MSPComm* comm = MSPComm::instance();
    comm->setLoadingFile(true);
    const MSPDocument::ReadResult result = MSPDocument::read(device, sendToDevice);
    comm->setLoadingFile(false);
    return result;
}

MSPDocument::ReadResult ConfigurationFileReader::readForCurrentConnection(QIODevice* device) {
    return read(device, ConnectionState::instance()->state() == ConnectionState::Connected);
}
