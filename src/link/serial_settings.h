#pragma once

namespace quarvel {

// What a port is opened with. Parity and stop bits are carried only: the line is always
// set to no parity and one stop bit.
struct SerialSettings {
    int portNumber = 1;
    int baudRate = 19200;
    char parity = 'n';
    int dataBits = 8;
    int stopBits = 1;
};

} // namespace quarvel
