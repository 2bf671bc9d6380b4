#include "cli/serial_line.h"
#include "link/qt_serial_channel.h"

#include <QCoreApplication>
#include <utility>

namespace quarvel {

std::shared_ptr<void> serialLineSupport() {
    // Qt keeps references to the arguments for the application object's life.
    static int argc = 1;
    static char name[] = "quarvel-cli";
    static char* argv[] = {name, nullptr};
    return std::make_shared<QCoreApplication>(argc, argv);
}

ChannelOpener serialLineOpener(std::function<std::string(int portNumber)> deviceName,
                               OpenFailureSink onFailure) {
    return qtSerialOpener(std::move(deviceName), std::move(onFailure));
}

} // namespace quarvel
